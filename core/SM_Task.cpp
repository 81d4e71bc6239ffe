// Tasks: one machine and one event queue each, served highest number first.
#include <array>
#include <atomic>
#include <limits>

#include "core/SM.h"
#include "hal/HAL.h"

namespace {

struct Task {
    SM_Hsm machine;
    SM_Event queue[SM_QUEUE_CAPACITY];
    std::uint8_t head;
    std::uint8_t tail;
    std::uint8_t count;
    std::uint8_t highWater;
};

constexpr std::uint8_t kCapacity[SM_TASK_COUNT] = {
    SM_QUEUE_CAPACITY, SM_QUEUE_CAPACITY, SM_QUEUE_CAPACITY, SM_QUEUE_CAPACITY,
    SM_QUEUE_CAPACITY, SM_QUEUE_CAPACITY, SM_QUEUE_CAPACITY, SM_QUEUE_CAPACITY,
};

const char* const kLabel[SM_TASK_COUNT] = {
    "DataFlash", "Bedienung",     "Displaybeleuchtung", "Tastatur",
    "Timer",     "Kommunikation", "Nicht definiert",    "Nicht definiert",
};

// Highest set bit of a ready set, -1 for none.
constexpr std::array<std::int8_t, 256> MakeHighestBit()
{
    std::array<std::int8_t, 256> t{};
    t[0] = -1;
    for (int i = 1; i < 256; ++i) {
        std::int8_t b = 0;
        for (int v = i; v > 1; v >>= 1) {
            ++b;
        }
        t[static_cast<std::size_t>(i)] = b;
    }
    return t;
}
constexpr std::array<std::int8_t, 256> kHighestBit = MakeHighestBit();

struct Tasks {
    Task task[SM_TASK_COUNT];
    std::uint8_t ready;
    // Posts lost to a full queue since power-on. Written under the lock;
    // atomic so that a host may read them from its own thread.
    std::atomic<std::uint32_t> dropped[SM_TASK_COUNT];
};

Tasks tasks;

std::uint8_t Next(std::uint8_t task, std::uint8_t index)
{
    ++index;
    return index == kCapacity[task] ? 0 : index;
}

} // namespace

void SM_TaskCtor(std::uint8_t task)
{
    Task& t = tasks.task[task];
    SM_Ctor(&t.machine);
    t.head = t.tail = t.count = t.highWater = 0;
}

void SM_PowerOn()
{
    for (std::uint8_t task = 0; task < SM_TASK_COUNT; ++task) {
        SM_TaskCtor(task);
        tasks.dropped[task].store(0, std::memory_order_relaxed);
    }
    tasks.ready = 0;
}

void SM_TaskStart(std::uint8_t task, SM_Handler initial, std::uint32_t par)
{
    SM_InitParam(&tasks.task[task].machine, initial, par);
}

namespace {

// Queues the event while more than `room` places are free; a refusal of a
// full queue is counted, one that only keeps the room is not.
bool Post(std::uint8_t task, std::uint16_t sig, std::uint32_t par, std::uint8_t room)
{
    Task& t = tasks.task[task];
    bool posted = false;
    __disable_interrupt();
    if (t.count + room < kCapacity[task]) {
        t.queue[t.head] = SM_Event{sig, par};
        t.head = Next(task, t.head);
        if (++t.count == 1) {
            tasks.ready = static_cast<std::uint8_t>(tasks.ready | (1U << task));
        }
        if (t.count > t.highWater) {
            t.highWater = t.count;
        }
        posted = true;
    } else if (t.count >= kCapacity[task]) {
        // Counted only: a flood must not flood the trace as well.
        const std::uint32_t n = tasks.dropped[task].load(std::memory_order_relaxed);
        if (n != std::numeric_limits<std::uint32_t>::max()) {
            tasks.dropped[task].store(n + 1, std::memory_order_relaxed);
        }
    }
    __enable_interrupt();
    return posted;
}

} // namespace

bool SM_Post(std::uint8_t task, std::uint16_t sig, std::uint32_t par)
{
    return Post(task, sig, par, 0);
}

bool SM_PostLeavingRoom(std::uint8_t task, std::uint16_t sig, std::uint32_t par, std::uint8_t room)
{
    return Post(task, sig, par, room);
}

void SM_RunQueued()
{
    __disable_interrupt();
    for (;;) {
        const std::int8_t n = kHighestBit[tasks.ready];
        if (n < 0) {
            break;
        }
        const auto task = static_cast<std::uint8_t>(n);
        Task& t = tasks.task[task];
        const SM_Event e = t.queue[t.tail];
        t.tail = Next(task, t.tail);
        if (--t.count == 0) {
            tasks.ready = static_cast<std::uint8_t>(tasks.ready & ~(1U << task));
        }
        __enable_interrupt();
        SM_Dispatch(&t.machine, &e);
        __disable_interrupt();
    }
    __enable_interrupt();
}

void SM_Purge(std::uint8_t task, std::uint16_t lo, std::uint16_t hi)
{
    Task& t = tasks.task[task];
    __disable_interrupt();
    std::uint8_t i = t.tail;
    for (std::uint8_t k = 0; k < t.count; ++k) {
        SM_Event& e = t.queue[i];
        if (e.sig >= lo && e.sig <= hi) {
            e.sig = SIG_NONE;
        }
        i = Next(task, i);
    }
    __enable_interrupt();
}

void SM_PurgeSignal(std::uint8_t task, std::uint16_t sig)
{
    SM_Purge(task, sig, sig);
}

SM_Hsm* SM_TaskHsm(std::uint8_t task)
{
    return &tasks.task[task].machine;
}

SM_Handler SM_TaskState(std::uint8_t task)
{
    return tasks.task[task].machine.state;
}

std::uint8_t SM_QueueHighWater(std::uint8_t task)
{
    return tasks.task[task].highWater;
}

std::uint32_t SM_DroppedEvents(std::uint8_t task)
{
    return task < SM_TASK_COUNT ? tasks.dropped[task].load(std::memory_order_relaxed) : 0;
}

std::uint8_t SM_QueueSize(std::uint8_t task)
{
    return kCapacity[task];
}

void SM_ClearReady()
{
    tasks.ready = 0;
}

const char* SM_TaskLabel(std::uint8_t task)
{
    return task < SM_TASK_COUNT ? kLabel[task] : "Nicht definiert";
}

void SM_Deferred::Add(std::uint8_t toTask, std::uint16_t sig, std::uint32_t par)
{
    if (count < SM_DEFERRED_CAPACITY) {
        event[count] = SM_Event{sig, par};
        task[count] = toTask;
        ++count;
    }
}

void SM_Deferred::PostAll()
{
    if (count == 0) {
        return;
    }
    __enable_interrupt();
    for (std::uint8_t i = 0; i < count; ++i) {
        SM_Post(task[i], event[i].sig, event[i].par);
    }
    count = 0;
    __disable_interrupt();
}
