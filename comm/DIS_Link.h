// The bus link to the control unit: slot table, byte handlers of master
// writes and reads, the outgoing queue of user-operation records with its
// sequence handshake, and the per-type request states.
#pragma once

#include <cstdint>

inline constexpr std::uint8_t DIS_SLOT_FIRST = 16;
inline constexpr std::uint8_t DIS_SLOT_LAST = 35;
inline constexpr std::uint8_t DIS_SLOT_SHORT = 20;
inline constexpr std::uint8_t DIS_SLOT_LONG = 35;
inline constexpr std::uint8_t DIS_QUEUE_SIZE = 32;
inline constexpr std::uint8_t DIS_RECORD_SIZE = 30;
inline constexpr std::uint8_t DIS_TYPES = 36; // 27 types, then types 0..2 per circuit
inline constexpr std::uint8_t DIS_PER_CIRCUIT = 27;

// Request states.
inline constexpr std::uint8_t DIS_DUE = 1;
inline constexpr std::uint8_t DIS_CURRENT = 2;
inline constexpr std::uint8_t DIS_REQUESTED = 3;
inline constexpr std::uint8_t DIS_QUEUED = 4;

// Byte handlers, called by the bus driver in interrupt context.
bool DIS_RxByte(std::uint8_t byte);
void DIS_TxStart(bool firstTransfer);
std::uint8_t DIS_TxByte();
void DIS_TxDone(bool success);
bool DIS_TxComplete();

void DIS_LinkInit();
// Link reset after silence: disarm, clear receive and transmit state; no
// type stays waiting for an answer that will not come.
void DIS_LinkReset();

// Per communication cycle.
void DIS_ProcessChangeMask();
bool DIS_ProcessStatus();
// Accepts a received data telegram; on acceptance copies it to `out` (32 bytes).
bool DIS_TakeDataTelegram(std::uint8_t* out);
bool DIS_OfferNext();

// Request states: index = type, or 27 + 3 x (circuit - 1) + type for types 0..2.
std::uint8_t DIS_RequestState(std::uint8_t index);
void DIS_SetRequestState(std::uint8_t index, std::uint8_t state);
std::uint8_t DIS_CircuitIndex(std::uint8_t type, std::uint8_t circuit);

// User-operation records. The record buffer's bytes 3..12 are written by
// the builders (comm/DIS_UserOps.h), then the record is filed.
std::uint8_t* DIS_RecordBuffer();
void DIS_FileUserOp(std::uint8_t type);
void DIS_FileUserOpCircuit(std::uint8_t type, std::uint8_t circuit);
void DIS_FileUserOpLong(const std::uint8_t* telegram); // 30 bytes, byte 0 '#'
std::uint8_t DIS_QueueCount();
std::uint8_t DIS_SequenceNumber(); // of the record buffer
std::uint8_t DIS_LastReceivedSequence();
const std::uint8_t* DIS_ShortBuffer(); // 9 bytes offered in slot 20
const std::uint8_t* DIS_LongBuffer();  // 30 bytes offered in slot 35
std::uint8_t DIS_ArmedSlot();          // 0 when nothing is armed

// Static memory as at power-on (hosts that run several panels in one process).
void DIS_LinkPowerOn();
