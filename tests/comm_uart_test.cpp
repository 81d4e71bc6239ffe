// The test serial port keeps received bytes until the screen task takes them.
#include <condition_variable>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <mutex>
#include <unistd.h>

#include "comm/UART.h"
#include "core/SM.h"
#include "sim/SerialPort.h"
#include "support/Harness.h"

namespace {

std::vector<std::uint8_t> Received(const Harness& h)
{
    std::vector<std::uint8_t> bytes;
    for (const Recorded& r : h.events()) {
        if (r.sig == SIG_UART_RX) {
            bytes.push_back(static_cast<std::uint8_t>(r.par));
        }
    }
    return bytes;
}

TEST(Uart, SixtyBytesAtOnceArriveInOrderWithoutLoss)
{
    Harness h;
    UART_Open(UART_TEST_PORT);
    ASSERT_TRUE(UART_IsOpen(UART_TEST_PORT));
    std::vector<std::uint8_t> sent;
    for (int i = 0; i < 60; ++i) {
        sent.push_back(static_cast<std::uint8_t>(i * 7));
    }
    h.clearEvents();
    h.host().serialInject(sent); // faster than the screen task's queue can take them
    h.advance(200);
    EXPECT_EQ(Received(h), sent);
    EXPECT_EQ(UART_Overflows(), 0U);

    UART_Send(UART_TEST_PORT, 0x42);
    SM_RunQueued();
    EXPECT_EQ(h.host().serialSent(), std::vector<std::uint8_t>{0x42});
    EXPECT_EQ(h.timesOf(SIG_UART_TX_DONE).size(), 1U);
}

TEST(Uart, EachBurstOfLostBytesIsOneTraceLine)
{
    Harness h;
    UART_Open(UART_TEST_PORT);
    auto overflowLines = [&] {
        std::vector<std::string> lines;
        for (const std::string& t : h.trace()) {
            if (t.rfind("Uart_0: receive ring overflow", 0) == 0) {
                lines.push_back(t);
            }
        }
        return lines;
    };
    // A flood: the queue takes all but the places it keeps, the ring 256, the rest is lost.
    constexpr std::size_t kQueued = SM_QUEUE_CAPACITY - UART_QUEUE_ROOM;
    h.host().serialInject(std::vector<std::uint8_t>(UART_RING_SIZE + kQueued + 5000, 0x55));
    EXPECT_EQ(UART_Overflows(), 5000U);
    h.advance(1000); // the screen task takes bytes: the ring has room, the burst is over
    EXPECT_EQ(overflowLines(), std::vector<std::string>{"Uart_0: receive ring overflow, 5000 bytes lost"});
    h.host().serialInject(std::vector<std::uint8_t>(UART_RING_SIZE + kQueued + 1, 0x55));
    h.advance(1000);
    EXPECT_EQ(overflowLines(), (std::vector<std::string>{"Uart_0: receive ring overflow, 5000 bytes lost",
                                                         "Uart_0: receive ring overflow, 1 byte lost"}));
    EXPECT_EQ(UART_Overflows(), 5001U);
}

// A burst must not take the places of the screens' timers: a lost expiry
// left the start-up screen waiting for ever.
TEST(Uart, ABurstLeavesPlacesForTimersAndIsNoDrop)
{
    Harness h;
    UART_Open(UART_TEST_PORT);
    h.clearEvents();
    std::vector<std::uint8_t> sent(100);
    for (std::size_t i = 0; i < sent.size(); ++i) {
        sent[i] = static_cast<std::uint8_t>(i);
    }
    h.host().serialInject(sent);
    for (int i = 0; i < UART_QUEUE_ROOM; ++i) {
        EXPECT_TRUE(SM_Post(BED_Task, SIG_TMR_HINT_TIMEOUT, 0)) << "place " << i;
    }
    EXPECT_FALSE(SM_Post(BED_Task, SIG_TMR_HINT_TIMEOUT, 0));
    EXPECT_EQ(SM_DroppedEvents(BED_Task), 1U); // only that post: waiting bytes are not lost
    h.advance(1000);
    EXPECT_EQ(Received(h), sent);
    EXPECT_EQ(h.timesOf(SIG_TMR_HINT_TIMEOUT).size(), static_cast<std::size_t>(UART_QUEUE_ROOM));
}

// The host side: a pseudo-terminal carries bytes both ways at the line settings.
std::mutex gotLock;
std::condition_variable gotSignal;
std::vector<std::uint8_t> got;
int sentCount = 0;

TEST(SerialPort, PseudoTerminalCarriesBytesBothWays)
{
    got.clear();
    sentCount = 0;
    SerialPort port;
    ASSERT_EQ(port.open(
                  0, "pty",
                  [](std::uint8_t, std::uint8_t b) {
                      std::lock_guard<std::mutex> g(gotLock);
                      got.push_back(b);
                      gotSignal.notify_all();
                  },
                  [](std::uint8_t) {
                      std::lock_guard<std::mutex> g(gotLock);
                      ++sentCount;
                      gotSignal.notify_all();
                  }),
              nullptr);
    const int tester = ::open(port.peerPath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(tester, 0) << port.peerPath();
    const std::uint8_t hello[3] = {5, 0xA5, 0};
    ASSERT_EQ(::write(tester, hello, 3), 3);
    port.send(0x7E);
    {
        std::unique_lock<std::mutex> lock(gotLock);
        gotSignal.wait_for(lock, std::chrono::seconds(5), [] { return got.size() == 3 && sentCount == 1; });
    }
    EXPECT_EQ(got, (std::vector<std::uint8_t>{5, 0xA5, 0}));
    std::uint8_t back = 0;
    EXPECT_EQ(::read(tester, &back, 1), 1);
    EXPECT_EQ(back, 0x7E);
    ::close(tester);
    port.close();
    EXPECT_EQ(SerialPort{}.open(0, "/nonexistent/tty", nullptr, nullptr), std::string("open()"));
}

} // namespace
