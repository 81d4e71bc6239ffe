#include "support/Harness.h"

#include "app/APP.h"
#include "hal/HAL.h"
#include "sim/PowerOn.h"

namespace {

std::vector<Recorded> recorded;
const VirtualTime* recordClock = nullptr;

HeadlessHost::Options Quiet()
{
    HeadlessHost::Options o;
    o.fixedClock = true;
    o.clock = HOST_LocalTime{1'767'600'000, 0, false};
    return o;
}

SM_State Recorder(SM_Hsm*, const SM_Event* e)
{
    if (e->sig > SIG_EXIT) {
        recorded.push_back(Recorded{recordClock->now(), e->sig, e->par});
    }
    return SM_Top;
}

} // namespace

Harness::Harness(std::uint32_t startMode) : host_(time_, Quiet())
{
    SIM_PowerOn();
    recorded.clear();
    recordClock = &time_;
    HAL_InitInterrupts();
    __disable_interrupt();
    APP_InstallHooks();
    for (const APP_Task& t : APP_TASKS) {
        SM_TaskCtor(t.task);
    }
    SM_ClearReady();
    SM_TaskCtor(BED_Task);
    for (const APP_Task& t : APP_TASKS) {
        SM_TaskStart(t.task, t.initial, startMode);
    }
    __enable_interrupt();
    SM_TaskStart(BED_Task, Recorder, startMode);
    SM_Post(DTM_Task, SIG_TIMERS_ON, 0);
    SM_RunQueued();
}

Harness::~Harness()
{
    recordClock = nullptr;
}

void Harness::advance(std::uint64_t ms)
{
    for (std::uint64_t i = 0; i < ms; ++i) {
        time_.advance(1);
        SM_RunQueued();
    }
}

const std::vector<Recorded>& Harness::events() const
{
    return recorded;
}

void Harness::clearEvents()
{
    recorded.clear();
}

std::vector<std::uint64_t> Harness::timesOf(std::uint16_t sig) const
{
    std::vector<std::uint64_t> t;
    for (const Recorded& r : recorded) {
        if (r.sig == sig) {
            t.push_back(r.ms);
        }
    }
    return t;
}

std::vector<std::string> Harness::trace()
{
    std::vector<std::string> lines;
    for (const TraceLine& l : host_.traceLines()) {
        lines.push_back(l.text);
    }
    return lines;
}
