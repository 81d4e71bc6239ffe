// State-machine engine: dispatch, exit and entry chains.
#include "core/SM.h"

#include <cassert>

namespace {

constexpr SM_Event kEmpty{SIG_EMPTY, 0};
constexpr SM_Event kEntry{SIG_ENTRY, 0};
constexpr SM_Event kExit{SIG_EXIT, 0};

// Deeper hierarchies than this are a programming error (a superstate loop).
constexpr int kMaxDepth = 32;

#ifndef NDEBUG
bool IsSelfOrAncestor(SM_Hsm* me, SM_Handler anchor, SM_Handler s)
{
    for (int depth = 0; depth < kMaxDepth && s != nullptr; ++depth) {
        if (s == anchor) {
            return true;
        }
        if (s == SM_Top) {
            return false;
        }
        s = SM_Super(me, s);
    }
    return false;
}
#endif

} // namespace

SM_State SM_Top(SM_Hsm*, const SM_Event*)
{
    return nullptr;
}

void SM_Ctor(SM_Hsm* me)
{
    me->state = SM_Top;
    me->lastExited = SM_Top;
}

SM_Handler SM_Super(SM_Hsm* me, SM_Handler s)
{
    return s(me, &kEmpty);
}

void SM_Dispatch(SM_Hsm* me, const SM_Event* e)
{
    SM_Handler s = me->state;
    while (s != nullptr) {
        s = s(me, e);
    }
}

void SM_DispatchSignal(SM_Hsm* me, std::uint16_t sig, std::uint32_t par)
{
    const SM_Event e{sig, par};
    SM_Dispatch(me, &e);
}

void SM_Init(SM_Hsm* me, SM_Handler target)
{
    SM_InitParam(me, target, 0);
}

void SM_InitParam(SM_Hsm* me, SM_Handler target, std::uint32_t par)
{
    SM_EnterAndInit(me, me->state, target, par);
}

void SM_Tran(SM_Hsm* me, SM_Handler anchor, SM_Handler target)
{
    SM_TranParam(me, anchor, target, 0);
}

void SM_TranParam(SM_Hsm* me, SM_Handler anchor, SM_Handler target, std::uint32_t par)
{
    // A wrong anchor silently corrupts the hierarchy, so catch it where we can.
    assert(IsSelfOrAncestor(me, anchor, me->state) && "anchor is not above the current state");
    SM_ExitTo(me, anchor);
    SM_EnterAndInit(me, anchor, target, par);
}

void SM_ExitTo(SM_Hsm* me, SM_Handler anchor)
{
    SM_Handler s = me->state;
    me->lastExited = s;
    while (s != anchor && s != nullptr) {
        SM_Handler r = s(me, &kExit);
        if (r == nullptr) {
            r = SM_Super(me, s);
        }
        me->lastExited = s;
        s = r;
    }
}

SM_Handler SM_EnterAndInit(SM_Hsm* me, SM_Handler anchor, SM_Handler target, std::uint32_t par)
{
    assert(IsSelfOrAncestor(me, anchor, target) && "anchor is not above the target");
    if (anchor != target) {
        SM_EnterPath(me, anchor, target);
    }
    me->state = target;
    const SM_Event init{SIG_INIT, par};
    return target(me, &init);
}

void SM_EnterPath(SM_Hsm* me, SM_Handler anchor, SM_Handler target)
{
    SM_Handler sup = SM_Super(me, target);
    if (sup != anchor && sup != nullptr) {
        SM_EnterPath(me, anchor, sup);
    }
    (void)target(me, &kEntry);
}

SM_Handler SM_GetState(const SM_Hsm* me)
{
    return me->state;
}

SM_Handler SM_GetLastExited(const SM_Hsm* me)
{
    return me->lastExited;
}
