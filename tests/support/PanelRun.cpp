#include "support/PanelRun.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "app/MainTask.h"
#include "sim/PowerOn.h"

namespace {

std::string PrivateDirectory()
{
    char pattern[] = "/tmp/panel-run-XXXXXX";
    const char* dir = mkdtemp(pattern);
    return dir != nullptr ? dir : "/tmp";
}

HeadlessHost::Options Options(std::FILE* err, const std::string& lockDirectory)
{
    HeadlessHost::Options o;
    o.lockDirectory = lockDirectory;
    o.fixedClock = true;
    o.clock = HOST_LocalTime{1'767'600'000, 0, false};
    o.err = err;
    return o;
}

} // namespace

PanelRun::PanelRun(const std::string& lockDirectory)
    : lockDirectory_(lockDirectory.empty() ? PrivateDirectory() : lockDirectory),
      ownLockDirectory_(lockDirectory.empty()), err_(std::tmpfile()), host_(time_, Options(err_, lockDirectory_))
{
    SIM_PowerOn();
}

PanelRun::~PanelRun()
{
    std::fclose(err_);
    if (ownLockDirectory_) {
        std::filesystem::remove_all(lockDirectory_);
    }
}

bool PanelRun::run(std::vector<PanelStep> steps, std::uint64_t endMs)
{
    std::sort(steps.begin(), steps.end(), [](const PanelStep& a, const PanelStep& b) { return a.at < b.at; });
    std::size_t next = 0;
    host_.clearStopRequest();
    auto wake = [&] {
        while (next < steps.size() && steps[next].at <= time_.now()) {
            steps[next++].action();
        }
        if (time_.now() >= endMs) {
            host_.requestStop();
            return;
        }
        time_.setWake(next < steps.size() ? std::min(steps[next].at, endMs) : endMs);
    };
    time_.setHook(wake);
    wake();
    bool stopped = false;
    try {
        MainTask();
    } catch (const AppStop&) {
        stopped = true;
    }
    time_.setHook(nullptr);
    return stopped;
}

std::vector<std::string> PanelRun::trace()
{
    std::vector<std::string> lines;
    for (const TraceLine& l : host_.traceLines()) {
        std::string t = l.text;
        t.erase(0, t.find_first_not_of(' '));
        lines.push_back(t);
    }
    return lines;
}

bool PanelRun::traced(const std::string& line)
{
    const auto lines = trace();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

std::string PanelRun::errors()
{
    std::fflush(err_);
    std::rewind(err_);
    std::string text;
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, err_) != nullptr) {
        text += buffer;
    }
    return text;
}
