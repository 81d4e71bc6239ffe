// Behaviour of the core at its edges: queues across the ring's end, the
// repeat count through a combination, the backlight's fade limits, and
// what a restart loses.
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

#include "core/BKL.h"
#include "core/SM.h"
#include "support/Harness.h"
#include "support/PanelRun.h"

namespace {

std::vector<std::uint32_t> delivered; // pars that reached the sink

SM_State Sink(SM_Hsm*, const SM_Event* e)
{
    if (e->sig > SIG_EXIT) {
        delivered.push_back(e->par);
    }
    return SM_Top;
}

TEST(Queue, PurgeAndOverflowWorkAcrossTheEndOfTheRing)
{
    Harness h; // a host for the interrupt lock
    delivered.clear();
    SM_TaskCtor(6);
    SM_TaskStart(6, Sink, 0);
    // Move the ring's read position to slot 11, so that what follows wraps.
    for (std::uint32_t i = 0; i < 11; ++i) {
        SM_Post(6, 90, 0);
    }
    SM_RunQueued();
    delivered.clear();

    // Ten events in slots 11..15 and 0..4, key signals at both ends of the
    // purge's range and beyond it; six more after the purge fill the ring.
    const std::uint16_t before[10] = {20, 13, 14, 84, 85, 26, 90, 32, 20, 14};
    for (std::uint32_t i = 0; i < 10; ++i) {
        EXPECT_TRUE(SM_Post(6, before[i], i));
    }
    SM_Purge(6, SIG_KEY_FIRST, SIG_KEY_LAST);
    const std::uint16_t after[6] = {20, 84, 13, 85, 38, 90};
    for (std::uint32_t i = 0; i < 6; ++i) {
        EXPECT_TRUE(SM_Post(6, after[i], 10 + i));
    }
    EXPECT_FALSE(SM_Post(6, 20, 99)); // the seventeenth is lost
    SM_RunQueued();
    EXPECT_EQ(delivered, (std::vector<std::uint32_t>{1, 4, 6, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(SM_QueueHighWater(6), 16);
}

TEST(Restart, EventsWaitingAtTheRestartAreLost)
{
    // Learn when the reset screen ends the loop, then post a second reset
    // request in that last wait: it must not outlive the restart.
    std::uint64_t resetAt = 0;
    std::uint64_t restartAt = 0;
    {
        PanelRun probe;
        ASSERT_TRUE(probe.run({{1000, [] { SM_Post(BED_Task, SIG_REG_RESET, 0); }}}, 1500));
        for (const TraceLine& l : probe.host().traceLines()) {
            if (l.text == " BSM_SystemReset Init") {
                resetAt = l.ms;
            } else if (l.text == "*RESTARTING") {
                restartAt = l.ms;
            }
        }
    }
    ASSERT_GT(restartAt, resetAt + 20);
    PanelRun p;
    ASSERT_TRUE(p.run({{1000, [] { SM_Post(BED_Task, SIG_REG_RESET, 0); }},
                       {restartAt - 10, [] { SM_Post(BED_Task, SIG_REG_RESET, 0); }}},
                      4000));
    const auto t = p.trace();
    EXPECT_EQ(std::count(t.begin(), t.end(), "*SIG_REG_RESET"), 1);
    EXPECT_EQ(std::count(t.begin(), t.end(), "*RESTARTING"), 1);
}

class KeyCount : public ::testing::Test {
  protected:
    void press(std::uint8_t raw) { h.host().keys().setRaw(raw); }
    std::vector<std::uint32_t> parsOf(std::uint16_t sig) const
    {
        std::vector<std::uint32_t> p;
        for (const Recorded& r : h.events()) {
            if (r.sig == sig) {
                p.push_back(r.par);
            }
        }
        return p;
    }
    Harness h;
};

// The count runs from the first press to the release of all keys: a key
// added to form a combination does not start it again.
TEST_F(KeyCount, RepeatCountRunsOnThroughACombinationAndStartsAgainAfterRelease)
{
    h.advance(1000);
    h.clearEvents();
    press(0x08); // UP: reports at 0, 800 and 1200 ms
    h.advance(1300);
    press(0x28); // OK joins: OK+UP
    h.advance(1300);
    press(0);
    h.advance(100);
    press(0x10); // DOWN
    h.advance(100);
    EXPECT_EQ(parsOf(SIG_KEY_UP), (std::vector<std::uint32_t>{0, 1, 2}));
    EXPECT_EQ(parsOf(SIG_KEY_OK_UP), (std::vector<std::uint32_t>{2, 3, 4}));
    EXPECT_EQ(parsOf(SIG_KEY_DOWN), (std::vector<std::uint32_t>{0}));
}

TEST(Backlight, FadeStopsAt240UpwardsAndAtOneDownwards)
{
    Harness h;
    auto post = [&](std::uint16_t sig, std::uint32_t par = 0) {
        SM_Post(BKL_Task, sig, par);
        SM_RunQueued();
    };
    auto steps = [](int n) {
        for (int i = 0; i < n; ++i) {
            BKL_Step(0);
        }
    };
    BKL_SetBrightnessSettings(250, 0);
    post(SIG_LIGHT_LEVEL, 230);
    post(SIG_LIGHT_ON);
    steps(5);
    EXPECT_EQ(BKL_CurrentLevel(), 235); // one step per call
    steps(30);
    EXPECT_EQ(BKL_CurrentLevel(), 240);
    post(SIG_LIGHT_LEVEL, 6);
    post(SIG_LIGHT_DIM);
    steps(30);
    EXPECT_EQ(BKL_CurrentLevel(), 1);
    // A fade that reaches its target stops there and regulates from then on.
    BKL_SetBrightnessSettings(100, 0);
    post(SIG_LIGHT_LEVEL, 97);
    post(SIG_LIGHT_ON);
    steps(30);
    EXPECT_EQ(BKL_CurrentLevel(), 100);
    // Hold: no step moves it.
    post(SIG_LIGHT_LEVEL, 50);
    post(SIG_LIGHT_ON);
    post(SIG_LIGHT_HOLD);
    steps(10);
    EXPECT_EQ(BKL_CurrentLevel(), 50);
}

} // namespace
