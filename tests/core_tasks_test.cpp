// Queues, priorities and purging of the prioritised tasks.
#include <gtest/gtest.h>
#include <vector>

#include "core/SM.h"
#include "support/Harness.h"

namespace {

std::vector<std::pair<int, SM_Event>> seen; // (task, event)

template <int Task> SM_State Sink(SM_Hsm*, const SM_Event* e)
{
    if (e->sig > SIG_EXIT) {
        seen.emplace_back(Task, *e);
        // Task 1 posts to task 4 on its first event: served before task 1's next.
        if (Task == 1 && e->sig == 60) {
            SM_Post(4, 61, 0);
        }
    }
    return SM_Top;
}

class Tasks : public ::testing::Test {
  protected:
    void SetUp() override
    {
        seen.clear();
        for (std::uint8_t t : {1, 4}) {
            SM_TaskCtor(t);
        }
        SM_ClearReady();
        SM_TaskStart(1, Sink<1>, 0);
        SM_TaskStart(4, Sink<4>, 0);
    }
    Harness harness; // a host for the interrupt lock
};

TEST_F(Tasks, SeventeenthEventIsLostAndTheFirstSixteenComeInOrder)
{
    for (std::uint32_t i = 0; i < 16; ++i) {
        EXPECT_TRUE(SM_Post(1, 70, i));
    }
    EXPECT_FALSE(SM_Post(1, 70, 16));
    EXPECT_EQ(SM_QueueHighWater(1), 16);
    EXPECT_EQ(SM_QueueSize(1), 16);
    SM_RunQueued();
    ASSERT_EQ(seen.size(), 16U);
    for (std::uint32_t i = 0; i < 16; ++i) {
        EXPECT_EQ(seen[i].second.par, i);
    }
    // The ring wraps: a second round goes through as well.
    seen.clear();
    for (std::uint32_t i = 0; i < 10; ++i) {
        SM_Post(1, 70, i);
    }
    SM_RunQueued();
    EXPECT_EQ(seen.size(), 10U);
    EXPECT_EQ(SM_QueueHighWater(1), 16);
}

// Lost posts are counted per task, silently, over restarts, until power-on.
TEST_F(Tasks, PostsToAFullQueueAreCountedPerTaskUntilPowerOn)
{
    const std::size_t traced = harness.trace().size();
    for (std::uint32_t i = 0; i < 16 + 3; ++i) {
        SM_Post(1, 70, i);
    }
    SM_Post(4, 71, 0);
    EXPECT_EQ(SM_DroppedEvents(1), 3U);
    EXPECT_EQ(SM_DroppedEvents(4), 0U);
    EXPECT_EQ(harness.trace().size(), traced);

    SM_TaskCtor(1); // a software restart keeps the count
    SM_TaskStart(1, Sink<1>, 0);
    SM_Post(1, 70, 0);
    EXPECT_EQ(SM_DroppedEvents(1), 3U);

    for (std::uint32_t i = 0; i < 16; ++i) {
        SM_Post(4, 71, i);
    }
    SM_PowerOn();
    EXPECT_EQ(SM_DroppedEvents(1), 0U);
    EXPECT_EQ(SM_DroppedEvents(4), 0U);
    EXPECT_EQ(SM_DroppedEvents(SM_TASK_COUNT), 0U);
    // Power-on also empties the queues: nothing is left to dispatch.
    seen.clear();
    SM_TaskStart(1, Sink<1>, 0);
    SM_TaskStart(4, Sink<4>, 0);
    SM_RunQueued();
    EXPECT_TRUE(seen.empty());
    for (std::uint32_t i = 0; i < 16; ++i) {
        EXPECT_TRUE(SM_Post(4, 71, i));
    }
}

TEST_F(Tasks, HigherTaskPostedDuringDispatchIsServedBeforeTheNextLowerEvent)
{
    SM_Post(1, 60, 0);
    SM_Post(1, 62, 0);
    SM_Post(4, 63, 0);
    SM_RunQueued();
    std::vector<std::uint16_t> order;
    for (const auto& [task, e] : seen) {
        order.push_back(e.sig);
    }
    EXPECT_EQ(order, (std::vector<std::uint16_t>{63, 60, 61, 62}));
}

TEST_F(Tasks, PurgedEventsKeepTheirSlotButReachNoHandler)
{
    SM_Post(1, 20, 1);
    SM_Post(1, 90, 2);
    SM_Post(1, 26, 3);
    SM_Purge(1, 14, 84);
    SM_Post(1, 21, 4); // after the purge: kept
    SM_RunQueued();
    std::vector<std::uint32_t> pars;
    for (const auto& [task, e] : seen) {
        pars.push_back(e.par);
    }
    EXPECT_EQ(pars, (std::vector<std::uint32_t>{2, 4}));
}

TEST(TaskLabels, AsTheQueueDiagnosticsShowThem)
{
    EXPECT_STREQ(SM_TaskLabel(0), "DataFlash");
    EXPECT_STREQ(SM_TaskLabel(3), "Tastatur");
    EXPECT_STREQ(SM_TaskLabel(7), "Nicht definiert");
    EXPECT_STREQ(SIG_Name(SIG_TMR_HINT_TIMEOUT), "SIG_TMR_HINT_TIMEOUT");
    EXPECT_STREQ(SIG_Name(5), "SIG_?");
    EXPECT_EQ(SIG_DataTypeSignal(0), SIG_DATA_TYPE_0);
    EXPECT_EQ(SIG_DataTypeSignal(11), SIG_NONE);
    EXPECT_EQ(SIG_DataTypeSignal(26), 197);
}

} // namespace
