// Bus link: byte handlers, slots, outgoing queue, request states.
//
// The byte handlers run in interrupt context; the communication cycle
// touches what they share only under the interrupt lock.
#include "comm/DIS_Link.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "core/SM.h"
#include "data/DAT.h"
#include "data/DAT_Telegrams.h"
#include "hal/HAL.h"

namespace {

constexpr std::uint8_t kIdentification[4] = {0x11, 0x21, 0x00, 0x01};
constexpr std::uint8_t kReReads = 8;
constexpr std::uint8_t kLongMark = '#';
constexpr std::uint8_t kCodeRequest = 231;
constexpr std::uint8_t kCodeSwitchingTime = 214;
constexpr std::uint8_t kShortOffered = 9; // bytes of a short record the master reads

struct Slot {
    std::uint8_t* buffer;
    std::uint8_t length;
    std::uint8_t flags;
};

struct Receive {
    std::uint16_t counter;
    std::uint8_t length; // L: bytes after it, checksum excluded
    std::uint8_t slot;
    std::uint8_t* destination;
    std::uint8_t capacity;
    std::uint8_t index;
    std::uint8_t checksum;
    std::uint8_t firstByte;
    bool dataReceived;
    bool statusReceived;
};

struct Transmit {
    const std::uint8_t* armed;
    std::uint8_t armedLength;
    std::uint8_t armedSlot;
    std::uint8_t reReads;
    const std::uint8_t* response;
    std::uint8_t responseLength;
    std::uint16_t counter;
    std::uint8_t checksum;
};

struct Link {
    std::uint8_t data[32];
    std::uint8_t shortOut[13];
    std::uint8_t changeMask[2];
    std::uint8_t status[21];
    std::uint8_t longOut[DIS_RECORD_SIZE];
    std::uint8_t record[13];
    std::uint8_t queue[DIS_QUEUE_SIZE][DIS_RECORD_SIZE];
    std::uint8_t queueIndex[DIS_QUEUE_SIZE]; // request-state index each record was filed under
    std::uint8_t write;
    std::uint8_t read;
    std::uint8_t count;
    std::uint8_t states[DIS_TYPES];
    std::uint8_t lastSequence;
    Receive rx;
    Transmit tx;
};

Link link;

Slot SlotOf(std::uint8_t s)
{
    if (s >= 16 && s <= 19) {
        return {link.data, 32, 0x10};
    }
    if (s == 20) {
        return {link.shortOut, 9, 0x89};
    }
    if (s >= 21 && s <= 23) {
        return {link.shortOut, 9, 0x8A};
    }
    if (s >= 24 && s <= 27) {
        return {link.changeMask, 2, 0x10};
    }
    if (s == 28) {
        return {link.status, 21, 0x10};
    }
    if (s >= 29 && s <= 31) {
        return {link.status, 13, 0x10};
    }
    if (s >= 32 && s <= 34) {
        return {link.longOut, 4, 0x10};
    }
    if (s == 35) {
        return {link.longOut, DIS_RECORD_SIZE, 0x89};
    }
    return {nullptr, 0, 0};
}

std::uint8_t Sequence(std::uint8_t byte)
{
    return byte & 0x07;
}

void Arm(const std::uint8_t* telegram, std::uint8_t length, std::uint8_t slot)
{
    link.tx.armed = telegram;
    link.tx.armedLength = length;
    link.tx.armedSlot = slot;
    link.tx.reReads = kReReads;
}

void Disarm()
{
    link.tx.armed = nullptr;
    link.tx.armedLength = 0;
    link.tx.armedSlot = 0;
}

// The request-state index a record of this type and circuit belongs to.
std::uint8_t IndexOf(std::uint8_t type, std::uint8_t circuit)
{
    return type <= 2 && (circuit == 1 || circuit == 2) ? DIS_CircuitIndex(type, circuit) : type;
}

void MarkQueued(std::uint8_t index)
{
    std::uint8_t& s = link.states[index];
    s = s >= DIS_QUEUED ? static_cast<std::uint8_t>(std::min(s + 1, 255)) : DIS_QUEUED;
}

bool Enqueue(const std::uint8_t* bytes, std::uint8_t size, std::uint8_t index)
{
    if (link.count >= DIS_QUEUE_SIZE) {
        return false; // dropped: its type's state stays as it was
    }
    std::memset(link.queue[link.write], 0, DIS_RECORD_SIZE);
    std::memcpy(link.queue[link.write], bytes, size);
    link.queueIndex[link.write] = index;
    link.write = static_cast<std::uint8_t>((link.write + 1) % DIS_QUEUE_SIZE);
    ++link.count;
    MarkQueued(index);
    return true;
}

std::uint8_t AdvanceSequence()
{
    const std::uint8_t next =
        Sequence(link.record[1]) >= 7 ? 1 : static_cast<std::uint8_t>(Sequence(link.record[1]) + 1);
    return next;
}

} // namespace

std::uint8_t DIS_CircuitIndex(std::uint8_t type, std::uint8_t circuit)
{
    return static_cast<std::uint8_t>(DIS_PER_CIRCUIT + 3 * (circuit - 1) + type);
}

void DIS_LinkInit()
{
    link = Link{};
    link.data[0] = static_cast<std::uint8_t>(0 << 3 | 1);
    link.lastSequence = 1;
    link.shortOut[0] = DIS_SLOT_SHORT;
    link.shortOut[1] = static_cast<std::uint8_t>(0 << 3 | 1);
    link.shortOut[2] = 1;
    link.record[0] = DIS_SLOT_SHORT;
    link.record[1] = static_cast<std::uint8_t>(10 << 3 | 2);
    link.record[2] = 1;
    link.record[3] = kCodeRequest;
    std::fill(std::begin(link.states), std::end(link.states), DIS_CURRENT);
    link.shortOut[1] = static_cast<std::uint8_t>((link.shortOut[1] & 0xF8) | link.lastSequence);
}

void DIS_LinkReset()
{
    __disable_interrupt();
    Disarm();
    link.rx = Receive{};
    link.tx = Transmit{};
    __enable_interrupt();
    // An answer that never came is asked for again.
    for (std::uint8_t& s : link.states) {
        if (s >= DIS_REQUESTED) {
            s = DIS_DUE;
        }
    }
}

bool DIS_RxByte(std::uint8_t byte)
{
    Receive& rx = link.rx;
    bool accepted = true;
    if (rx.counter == 0) {
        rx.length = byte;
        rx.firstByte = byte;
    } else if (rx.counter == 1) {
        rx.slot = byte;
        const Slot s = SlotOf(byte);
        rx.destination = s.buffer;
        rx.capacity = s.length;
        rx.index = 0;
        if (s.buffer != nullptr) {
            std::memset(s.buffer, 0, s.length);
        }
        rx.checksum = byte;
    } else if (rx.counter <= rx.length) {
        if (rx.destination != nullptr && rx.index < rx.capacity) {
            rx.destination[rx.index] = byte;
        }
        ++rx.index;
        rx.checksum = static_cast<std::uint8_t>(rx.checksum + byte);
    } else {
        if (byte != rx.checksum) {
            accepted = false;
        } else if (rx.slot >= 16 && rx.slot <= 19) {
            rx.dataReceived = true;
        } else if (rx.slot >= 28 && rx.slot <= 31) {
            rx.statusReceived = true;
        }
        rx.counter = 0; // the frame is over: the next byte starts a new one
        return accepted;
    }
    ++rx.counter;
    return accepted;
}

void DIS_TxStart(bool firstTransfer)
{
    Transmit& tx = link.tx;
    if (firstTransfer) {
        tx.response = nullptr;
        tx.responseLength = 0;
        if (link.rx.counter == 1) {
            const std::uint8_t r = link.rx.firstByte;
            if (r <= 63) {
                tx.response = tx.armed;
                tx.responseLength = tx.armed != nullptr ? tx.armedLength : 0;
            } else if (r <= 127) {
                tx.response = kIdentification;
                tx.responseLength = sizeof kIdentification;
            }
        }
    }
    tx.counter = 0;
    tx.checksum = tx.responseLength;
    link.rx.counter = 0; // the next master write starts a new frame
}

std::uint8_t DIS_TxByte()
{
    Transmit& tx = link.tx;
    std::uint8_t byte = 0;
    if (tx.counter == 0) {
        byte = tx.responseLength;
    } else if (tx.counter <= tx.responseLength) {
        byte = tx.response != nullptr ? tx.response[tx.counter - 1] : 0;
        tx.checksum = static_cast<std::uint8_t>(tx.checksum + byte);
    } else {
        byte = tx.checksum;
    }
    if (tx.counter < 0xFFFF) {
        ++tx.counter;
    }
    return byte;
}

void DIS_TxDone(bool success)
{
    Transmit& tx = link.tx;
    if (tx.response == nullptr || tx.response == kIdentification) {
        return;
    }
    if (success) {
        Disarm();
    } else if (tx.reReads > 0) {
        --tx.reReads;
    } else {
        Disarm();
    }
}

bool DIS_TxComplete()
{
    return link.tx.counter > link.tx.responseLength + 1;
}

void DIS_ProcessChangeMask()
{
    __disable_interrupt();
    const std::uint16_t mask = static_cast<std::uint16_t>(link.changeMask[0] | link.changeMask[1] << 8);
    link.changeMask[0] = link.changeMask[1] = 0;
    __enable_interrupt();
    for (std::uint8_t n = 0; n < 15; ++n) {
        if ((mask & (1U << n)) != 0) {
            if (link.states[n] == DIS_CURRENT) {
                link.states[n] = DIS_DUE;
            }
            for (std::uint8_t c = 1; n <= 2 && c <= 2; ++c) {
                std::uint8_t& s = link.states[DIS_CircuitIndex(n, c)];
                if (DAT_CircuitPresent(c) && s == DIS_CURRENT) {
                    s = DIS_DUE;
                }
            }
        }
    }
}

bool DIS_ProcessStatus()
{
    std::uint8_t raw[DAT_STATUS_BLOCK_SIZE];
    __disable_interrupt();
    const bool arrived = link.rx.statusReceived;
    link.rx.statusReceived = false;
    std::memcpy(raw, link.status, sizeof raw);
    __enable_interrupt();
    if (arrived) {
        DAT_StoreStatus(raw);
    }
    return arrived;
}

bool DIS_TakeDataTelegram(std::uint8_t* out)
{
    std::uint8_t t[32];
    __disable_interrupt();
    const bool arrived = link.rx.dataReceived;
    link.rx.dataReceived = false;
    std::memcpy(t, link.data, sizeof t);
    const std::uint8_t offered = Sequence(link.shortOut[1]);
    __enable_interrupt();
    if (!arrived) {
        return false;
    }
    link.lastSequence = Sequence(t[0]);
    const std::uint8_t type = t[0] >> 3;
    // Types kept per circuit take only circuits 1 and 2: 0 would index before their tables.
    if (type >= DAT_TYPES || t[1] > 2 || (DAT_TelegramPerCircuit(type) && t[1] == 0)) {
        return false;
    }
    const std::uint8_t index = IndexOf(type, t[1]);
    if (link.states[index] != DIS_REQUESTED || link.lastSequence != offered) {
        return false;
    }
    link.states[index] = DIS_CURRENT;
    SM_Post(BED_Task, SIG_TELEGRAM_ACK, 0);
    std::memcpy(out, t, sizeof t);
    return true;
}

bool DIS_OfferNext()
{
    if (link.count == 0) {
        return false;
    }
    __disable_interrupt();
    const bool answered = Sequence(link.shortOut[1]) == link.lastSequence;
    __enable_interrupt();
    if (!answered) {
        return false;
    }
    const std::uint8_t* head = link.queue[link.read];
    const std::uint8_t index = link.queueIndex[link.read];
    __disable_interrupt();
    if (head[0] == kLongMark) {
        std::memcpy(link.longOut, head, DIS_RECORD_SIZE);
        link.shortOut[1] = head[1];
        link.shortOut[2] = head[2];
        Arm(link.longOut, DIS_RECORD_SIZE, DIS_SLOT_LONG);
    } else {
        // A switching time carries its day and time past the ninth byte: offered
        // short, the control unit would never learn the time and send the old
        // one back with its next time-program telegram.
        const std::uint8_t length = head[3] == kCodeSwitchingTime ? sizeof link.shortOut : kShortOffered;
        std::memcpy(link.shortOut, head, length);
        Arm(link.shortOut, length, DIS_SLOT_SHORT);
    }
    __enable_interrupt();
    link.read = static_cast<std::uint8_t>((link.read + 1) % DIS_QUEUE_SIZE);
    --link.count;
    std::uint8_t& s = link.states[index];
    s = s < DIS_QUEUED ? DIS_REQUESTED : static_cast<std::uint8_t>(s - 1);
    return true;
}

std::uint8_t DIS_RequestState(std::uint8_t index)
{
    return index < DIS_TYPES ? link.states[index] : 0;
}

void DIS_SetRequestState(std::uint8_t index, std::uint8_t state)
{
    if (index < DIS_TYPES) {
        link.states[index] = state;
    }
}

std::uint8_t* DIS_RecordBuffer()
{
    return link.record;
}

void DIS_FileUserOp(std::uint8_t type)
{
    const std::uint8_t selected = DAT_SelectedCircuit();
    if (type >= DIS_PER_CIRCUIT) {
        DIS_FileUserOpCircuit(static_cast<std::uint8_t>((type - DIS_PER_CIRCUIT) % 3),
                              static_cast<std::uint8_t>((type - DIS_PER_CIRCUIT) / 3 + 1));
        return;
    }
    DIS_FileUserOpCircuit(type, selected == 1 || selected == 2 ? selected : DAT_FirstCircuit());
}

void DIS_FileUserOpCircuit(std::uint8_t type, std::uint8_t circuit)
{
    if (type >= DIS_TYPES || (circuit != 1 && circuit != 2)) {
        return;
    }
    link.record[0] = DIS_SLOT_SHORT;
    link.record[1] = static_cast<std::uint8_t>(type << 3 | AdvanceSequence());
    link.record[2] = circuit;
    Enqueue(link.record, sizeof link.record, IndexOf(type, circuit));
}

void DIS_FileUserOpLong(const std::uint8_t* telegram)
{
    std::uint8_t t[DIS_RECORD_SIZE];
    std::memcpy(t, telegram, sizeof t);
    const std::uint8_t type = t[1] >> 3;
    const std::uint8_t circuit = t[2] == 2 ? 2 : 1;
    link.record[1] = static_cast<std::uint8_t>(type << 3 | AdvanceSequence());
    t[0] = kLongMark;
    t[1] = link.record[1];
    t[2] = circuit;
    Enqueue(t, sizeof t, IndexOf(type, circuit));
}

std::uint8_t DIS_QueueCount()
{
    return link.count;
}

std::uint8_t DIS_SequenceNumber()
{
    return Sequence(link.record[1]);
}

std::uint8_t DIS_LastReceivedSequence()
{
    return link.lastSequence;
}

const std::uint8_t* DIS_ShortBuffer()
{
    return link.shortOut;
}

const std::uint8_t* DIS_LongBuffer()
{
    return link.longOut;
}

std::uint8_t DIS_ArmedSlot()
{
    __disable_interrupt();
    const std::uint8_t s = link.tx.armedSlot;
    __enable_interrupt();
    return s;
}

void DIS_LinkPowerOn()
{
    link = Link{};
}
