#include "sim/PanelState.h"

#include <cstdio>
#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <map>
#include <mutex>

#include "hal/HAL.h"

namespace {

// Deeper than any screen's nesting: a cycle stops here instead of hanging.
constexpr int kMostDepth = 32;

} // namespace

std::string PanelStateName(SM_Handler state)
{
    // Symbol look-ups are slow and the set of states is fixed.
    static std::mutex mutex;
    static std::map<SM_Handler, std::string> names;
    std::lock_guard<std::mutex> guard(mutex);
    const auto known = names.find(state);
    if (known != names.end()) {
        return known->second;
    }
    std::string name;
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(state), &info) != 0 && info.dli_sname != nullptr &&
        info.dli_saddr == reinterpret_cast<void*>(state)) {
        int status = 0;
        char* plain = abi::__cxa_demangle(info.dli_sname, nullptr, nullptr, &status);
        name = status == 0 && plain != nullptr ? plain : info.dli_sname;
        std::free(plain);
        name = name.substr(0, name.find('('));
    } else {
        char address[32];
        std::snprintf(address, sizeof address, "%p", reinterpret_cast<void*>(state));
        name = address;
    }
    names.emplace(state, name);
    return name;
}

PanelState PanelStateNow()
{
    PanelState now;
    for (std::uint8_t t = 0; t < SM_TASK_COUNT; ++t) {
        SM_Hsm* hsm = SM_TaskHsm(t);
        if (hsm->state == nullptr) {
            continue;
        }
        PanelTaskState task;
        task.task = t;
        task.label = SM_TaskLabel(t);
        std::vector<std::string> path;
        SM_Handler s = hsm->state;
        for (int depth = 0; s != nullptr && s != &SM_Top && depth < kMostDepth; ++depth) {
            path.insert(path.begin(), PanelStateName(s));
            s = SM_Super(hsm, s);
        }
        task.path = std::move(path);
        now.tasks.push_back(std::move(task));
    }
    HAL_IsrEnter();
    for (PanelTaskState& task : now.tasks) {
        task.highWater = SM_QueueHighWater(task.task);
        task.queueSize = SM_QueueSize(task.task);
        task.dropped = SM_DroppedEvents(task.task);
    }
    now.image = DAT_image;
    HAL_IsrLeave();
    return now;
}
