// Hierarchical state-machine engine and the prioritised tasks that run it.
//
// A state is its handler: it answers signals it does not handle (and always
// SIG_EMPTY) with its superstate. Transitions run at once inside the handler
// that takes them, and the caller names the common ancestor (the anchor).
#pragma once

#include <cstdint>

#include "core/SM_Config.h"
#include "core/SM_Signals.h"

struct SM_Event {
    std::uint16_t sig;
    std::uint32_t par;
};

struct SM_Hsm;

// A handler returns nullptr when it handled the event, else its superstate.
// The state type is a wrapper so that a handler can return its own type.
struct SM_State;
using SM_Handler = SM_State (*)(SM_Hsm* me, const SM_Event* e);
struct SM_State {
    SM_Handler fn;
    constexpr SM_State(SM_Handler f) : fn(f) {}          // NOLINT: implicit by design
    constexpr SM_State(std::nullptr_t) : fn(nullptr) {}  // NOLINT
    constexpr operator SM_Handler() const { return fn; } // NOLINT
};

struct SM_Hsm {
    SM_Handler state;
    SM_Handler lastExited;
};

// The engine's top state: handles nothing, so unhandled events end here.
SM_State SM_Top(SM_Hsm* me, const SM_Event* e);

void SM_Ctor(SM_Hsm* me);
void SM_Dispatch(SM_Hsm* me, const SM_Event* e);
void SM_DispatchSignal(SM_Hsm* me, std::uint16_t sig, std::uint32_t par);
void SM_Init(SM_Hsm* me, SM_Handler target);
void SM_InitParam(SM_Hsm* me, SM_Handler target, std::uint32_t par);
void SM_Tran(SM_Hsm* me, SM_Handler anchor, SM_Handler target);
void SM_TranParam(SM_Hsm* me, SM_Handler anchor, SM_Handler target, std::uint32_t par);
void SM_ExitTo(SM_Hsm* me, SM_Handler anchor);
SM_Handler SM_EnterAndInit(SM_Hsm* me, SM_Handler anchor, SM_Handler target, std::uint32_t par);
void SM_EnterPath(SM_Hsm* me, SM_Handler anchor, SM_Handler target);
SM_Handler SM_GetState(const SM_Hsm* me);
SM_Handler SM_GetLastExited(const SM_Hsm* me);

// Superstate of a state (its answer to SIG_EMPTY).
SM_Handler SM_Super(SM_Hsm* me, SM_Handler s);

// Tasks and queues. Post and purge may be called from any thread.
// Every task's queue empty and its counters zero, as at power-on.
void SM_PowerOn();
void SM_TaskCtor(std::uint8_t task);
void SM_TaskStart(std::uint8_t task, SM_Handler initial, std::uint32_t par);
bool SM_Post(std::uint8_t task, std::uint16_t sig, std::uint32_t par);
// Posts only while `room` places of the queue stay free after it, for a
// source that can keep its events and try again (the test port's ring): it
// must not take the places of timer expiries and keys. Such a refusal is no
// drop and is not counted.
bool SM_PostLeavingRoom(std::uint8_t task, std::uint16_t sig, std::uint32_t par, std::uint8_t room);
void SM_RunQueued();
void SM_Purge(std::uint8_t task, std::uint16_t lo, std::uint16_t hi);
void SM_PurgeSignal(std::uint8_t task, std::uint16_t sig);
SM_Hsm* SM_TaskHsm(std::uint8_t task);
SM_Handler SM_TaskState(std::uint8_t task);
std::uint8_t SM_QueueHighWater(std::uint8_t task);
// Posts a full queue of `task` refused since power-on (kept over software
// restarts; stops at the largest u32). Any thread may read it.
std::uint32_t SM_DroppedEvents(std::uint8_t task);
std::uint8_t SM_QueueSize(std::uint8_t task);
void SM_ClearReady();

// Events that tick routines collect while they hold the interrupt lock and
// post once it is released, so that counter updates and posts do not race.
struct SM_Deferred {
    SM_Event event[SM_DEFERRED_CAPACITY];
    std::uint8_t task[SM_DEFERRED_CAPACITY];
    std::uint8_t count = 0;

    void Add(std::uint8_t toTask, std::uint16_t sig, std::uint32_t par);
    // Releases the interrupt lock, posts everything, takes the lock again.
    void PostAll();
};

// Label of a task as the queue diagnostics show it.
const char* SM_TaskLabel(std::uint8_t task);
