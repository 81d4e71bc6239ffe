// The state-machine engine on a small hierarchy:
//   SM_Top > A > { A1 > A11, A2 }
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "core/SM.h"

namespace {

std::vector<std::string> log;
std::uint32_t a11InitPar = 0;
bool a2OnInitDispatchesNested = false;

std::string Name(std::uint16_t sig)
{
    switch (sig) {
    case SIG_ENTRY:
        return "Entry";
    case SIG_EXIT:
        return "Exit";
    case SIG_INIT:
        return "Init";
    default:
        return std::to_string(sig);
    }
}

SM_State A(SM_Hsm* me, const SM_Event* e);
SM_State A1(SM_Hsm* me, const SM_Event* e);
SM_State A11(SM_Hsm* me, const SM_Event* e);
SM_State A2(SM_Hsm* me, const SM_Event* e);

// Trace ENTRY/INIT/EXIT like the panel's states; a few signals do more.
bool Logged(const char* name, const SM_Event* e)
{
    if (e->sig == SIG_ENTRY || e->sig == SIG_EXIT || e->sig == SIG_INIT) {
        log.push_back(std::string(name) + " " + Name(e->sig));
        return true;
    }
    return false;
}

constexpr std::uint16_t kGoA2 = 50;    // handled by A: to A2 (anchor A)
constexpr std::uint16_t kRefresh = 51; // handled by A: self-transition with par 5
constexpr std::uint16_t kSeen = 52;    // A11 notes it and passes it on
constexpr std::uint16_t kPing = 53;    // only A2 answers

SM_State A(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_INIT) {
        Logged("A", e);
        SM_InitParam(me, A11, e->par);
        return nullptr;
    }
    if (Logged("A", e)) {
        return nullptr;
    }
    switch (e->sig) {
    case kGoA2:
        SM_Tran(me, A, A2);
        if (a2OnInitDispatchesNested) {
            SM_DispatchSignal(me, kPing, 0);
        }
        return nullptr;
    case kRefresh:
        SM_TranParam(me, A, A, 5);
        return nullptr;
    case kSeen:
        log.push_back("A saw it");
        return nullptr;
    default:
        return SM_Top;
    }
}

SM_State A1(SM_Hsm*, const SM_Event* e)
{
    return Logged("A1", e) ? nullptr : SM_State(A);
}

SM_State A11(SM_Hsm*, const SM_Event* e)
{
    if (e->sig == SIG_INIT) {
        a11InitPar = e->par;
    }
    if (Logged("A11", e)) {
        return nullptr;
    }
    if (e->sig == kSeen) {
        log.push_back("A11 saw it");
    }
    return A1;
}

SM_State A2(SM_Hsm*, const SM_Event* e)
{
    if (Logged("A2", e)) {
        return nullptr;
    }
    if (e->sig == kPing) {
        log.push_back("A2 ping");
        return nullptr;
    }
    return A;
}

// A state whose EXIT is not handled: the engine takes the answer as its superstate.
SM_State Quiet(SM_Hsm*, const SM_Event*)
{
    return A;
}

class Engine : public ::testing::Test {
  protected:
    void SetUp() override
    {
        log.clear();
        a2OnInitDispatchesNested = false;
        SM_Ctor(&hsm);
        SM_InitParam(&hsm, A, 1);
        log.clear();
    }
    SM_Hsm hsm{};
};

TEST_F(Engine, MachineStartEntersOuterToInnerWithEachEntryBeforeTheNext)
{
    log.clear();
    SM_Ctor(&hsm);
    SM_InitParam(&hsm, A, 7);
    EXPECT_EQ(log, (std::vector<std::string>{"A Entry", "A Init", "A1 Entry", "A11 Entry", "A11 Init"}));
    EXPECT_EQ(SM_GetState(&hsm), SM_Handler(A11));
    EXPECT_EQ(a11InitPar, 7U);
}

TEST_F(Engine, UnhandledEventEndsAtTopAndHandlersCanWorkAndPassOn)
{
    SM_DispatchSignal(&hsm, 99, 0);
    EXPECT_TRUE(log.empty());
    SM_DispatchSignal(&hsm, kSeen, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A11 saw it", "A saw it"}));
}

TEST_F(Engine, AncestorTransitionExitsInnermostFirstAndStopsBelowAnchor)
{
    SM_DispatchSignal(&hsm, kGoA2, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A11 Exit", "A1 Exit", "A2 Entry", "A2 Init"}));
    EXPECT_EQ(SM_GetState(&hsm), SM_Handler(A2));
    EXPECT_EQ(SM_GetLastExited(&hsm), SM_Handler(A1)); // the anchor's child on the old path
}

TEST_F(Engine, SelfTransitionOfAncestorReinitialisesWithoutExitingIt)
{
    SM_DispatchSignal(&hsm, kRefresh, 0);
    EXPECT_EQ(log, (std::vector<std::string>{"A11 Exit", "A1 Exit", "A Init", "A1 Entry", "A11 Entry", "A11 Init"}));
    EXPECT_EQ(a11InitPar, 5U);
}

TEST_F(Engine, TransitionOntoTheCurrentStateRunsOnlyInit)
{
    SM_TranParam(&hsm, A11, A11, 42);
    EXPECT_EQ(log, (std::vector<std::string>{"A11 Init"}));
    EXPECT_EQ(a11InitPar, 42U);
    EXPECT_EQ(SM_GetLastExited(&hsm), SM_Handler(A11));
}

TEST_F(Engine, NestedDispatchAfterTransitionReachesTheNewState)
{
    a2OnInitDispatchesNested = true;
    SM_DispatchSignal(&hsm, kGoA2, 0);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "A2 ping");
}

TEST_F(Engine, ExitAnsweredWithSuperstateIsAccepted)
{
    SM_Tran(&hsm, A, Quiet);
    log.clear();
    SM_Tran(&hsm, A, A2);
    EXPECT_EQ(log, (std::vector<std::string>{"A2 Entry", "A2 Init"}));
    EXPECT_EQ(SM_GetLastExited(&hsm), SM_Handler(Quiet));
}

#ifndef NDEBUG
TEST_F(Engine, WrongAnchorIsCaughtInDebugBuilds)
{
    // A2 is not above A11.
    EXPECT_DEATH(SM_Tran(&hsm, A2, A11), "anchor");
}
#endif

} // namespace
