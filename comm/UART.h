// The test serial port (4800 baud, 8 data bits, even parity, 1 stop bit).
// Received bytes reach the screen task as SIG_UART_RX, one per event, in
// order; a completed transmission as SIG_UART_TX_DONE.
#pragma once

#include <cstdint>

inline constexpr std::uint8_t UART_TEST_PORT = 0;
inline constexpr std::uint16_t UART_RING_SIZE = 256;
// Places of the screen task's queue the port's bytes leave free: between two
// main-loop cycles three ticks, timer expiries, keys and data signals need
// them (with four, keys were still lost under a burst).
inline constexpr std::uint8_t UART_QUEUE_ROOM = 8;

// Opens the port once per process; later calls do nothing.
void UART_Open(std::uint8_t port);
bool UART_IsOpen(std::uint8_t port);
void UART_Send(std::uint8_t port, std::uint8_t byte);
// Posts waiting received bytes while the screen task's queue takes them
// (leaving UART_QUEUE_ROOM places);
// called by the 10 ms tick, with the interrupt lock held.
void UART_Pump();
std::uint32_t UART_Overflows();
// Whether the port posted to the screen task since the last call (any thread).
bool UART_TakeActivity();
void UART_PowerOn();

// The host's callbacks (exposed for tests).
void UART_OnReceive(std::uint8_t port, std::uint8_t byte);
void UART_OnSent(std::uint8_t port);
