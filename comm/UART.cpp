// Test serial port. Bytes that arrive while the screen task's queue is full
// wait in a ring here instead of being lost: a tester writing sixty bytes at
// once would otherwise lose most of them between two main-loop cycles. The
// bytes leave half the queue free, or a burst at the wrong moment
// would push out a timer's expiry, and the screen waiting for it would wait
// for ever.
#include "comm/UART.h"

#include <atomic>

#include "core/SM.h"
#include "hal/HAL.h"
#include "hal/host.h"

namespace {

struct Port {
    bool opened = false;
    bool tried = false;
    std::uint8_t ring[UART_RING_SIZE];
    std::uint16_t head = 0;
    std::uint16_t count = 0;
    std::uint32_t overflows = 0;
    std::uint32_t lostInBurst = 0; // reported once the ring takes bytes again
};

Port port0;
// A byte of the port reached the screen task, or one went out: the main
// loop's wait ends early so that the factory protocol runs at line speed.
std::atomic<bool> activity{false};

// Under the interrupt lock: move bytes from the ring into the queue.
void PumpLocked()
{
    while (port0.count > 0) {
        const std::uint8_t byte = port0.ring[(port0.head + UART_RING_SIZE - port0.count) % UART_RING_SIZE];
        __enable_interrupt();
        const bool posted = SM_PostLeavingRoom(BED_Task, SIG_UART_RX, byte, UART_QUEUE_ROOM);
        if (posted) {
            activity.store(true, std::memory_order_release);
        }
        __disable_interrupt();
        if (!posted) {
            return;
        }
        --port0.count;
        // A flooded port would otherwise write one trace line per lost byte.
        if (port0.lostInBurst > 0) {
            const std::uint32_t lost = port0.lostInBurst;
            port0.lostInBurst = 0;
            __enable_interrupt();
            HAL_Trace("\nUart_%d: receive ring overflow, %lu byte%s lost", static_cast<int>(UART_TEST_PORT),
                      static_cast<unsigned long>(lost), lost == 1 ? "" : "s");
            __disable_interrupt();
        }
    }
}

} // namespace

void UART_Open(std::uint8_t port)
{
    if (port != UART_TEST_PORT || port0.tried) {
        return;
    }
    port0.tried = true;
    const char* failed = HOST().serialOpen(port, UART_OnReceive, UART_OnSent);
    if (failed != nullptr) {
        HAL_Trace("\nUart_%d: %s failed", static_cast<int>(port), failed);
        return;
    }
    port0.opened = true;
}

bool UART_IsOpen(std::uint8_t port)
{
    return port == UART_TEST_PORT && port0.opened;
}

void UART_Send(std::uint8_t port, std::uint8_t byte)
{
    if (UART_IsOpen(port)) {
        HOST().serialSend(port, byte);
    }
}

void UART_OnReceive(std::uint8_t port, std::uint8_t byte)
{
    if (port != UART_TEST_PORT) {
        return;
    }
    HAL_IsrEnter();
    if (port0.count < UART_RING_SIZE) {
        port0.ring[port0.head] = byte;
        port0.head = static_cast<std::uint16_t>((port0.head + 1) % UART_RING_SIZE);
        ++port0.count;
    } else {
        ++port0.overflows;
        ++port0.lostInBurst;
    }
    PumpLocked();
    HAL_IsrLeave();
}

void UART_OnSent(std::uint8_t port)
{
    if (port != UART_TEST_PORT) {
        return;
    }
    HAL_IsrEnter();
    __enable_interrupt();
    SM_Post(BED_Task, SIG_UART_TX_DONE, 0);
    activity.store(true, std::memory_order_release);
    __disable_interrupt();
    HAL_IsrLeave();
}

bool UART_TakeActivity()
{
    return activity.exchange(false, std::memory_order_acq_rel);
}

void UART_Pump()
{
    PumpLocked();
}

std::uint32_t UART_Overflows()
{
    __disable_interrupt();
    const std::uint32_t n = port0.overflows;
    __enable_interrupt();
    return n;
}

void UART_PowerOn()
{
    port0 = Port{};
    activity.store(false);
}
