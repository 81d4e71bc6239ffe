#include "sim/ControlUnit.h"

#include <algorithm>
#include <cstring>

#include "comm/DIS_Link.h"
#include "core/SM.h"
#include "hal/HAL.h"

namespace {

constexpr std::uint8_t kRequest = 231;

// The byte handlers run in interrupt context on the device.
template <typename F> auto InInterrupt(F f)
{
    HAL_IsrEnter();
    __enable_interrupt();
    auto result = f();
    __disable_interrupt();
    HAL_IsrLeave();
    return result;
}

void Put(std::vector<std::uint8_t>& payload, std::size_t at, const std::uint8_t* from, std::size_t n)
{
    for (std::size_t i = 0; i < n && at + i < payload.size(); ++i) {
        payload[at + i] = from[i];
    }
}

} // namespace

ControlUnit::ControlUnit() : model_(DAT_image) {}

bool ControlUnit::write(std::uint8_t slot, const std::vector<std::uint8_t>& bytes, bool corruptChecksum)
{
    std::uint8_t checksum = slot;
    for (std::uint8_t b : bytes) {
        checksum = static_cast<std::uint8_t>(checksum + b);
    }
    if (corruptChecksum) {
        ++checksum;
    }
    const bool accepted = InInterrupt([&] {
        DIS_RxByte(static_cast<std::uint8_t>(bytes.size() + 1));
        DIS_RxByte(slot);
        for (std::uint8_t b : bytes) {
            DIS_RxByte(b);
        }
        return DIS_RxByte(checksum);
    });
    transferEnded(false);
    return accepted;
}

std::vector<std::uint8_t> ControlUnit::read(std::uint8_t r, bool* checksumOk)
{
    std::vector<std::uint8_t> response = InInterrupt([&] {
        DIS_RxByte(r);
        DIS_TxStart(true);
        std::vector<std::uint8_t> bytes;
        const std::uint8_t n = DIS_TxByte();
        bytes.push_back(n);
        for (std::uint8_t i = 0; i < n; ++i) {
            bytes.push_back(DIS_TxByte());
        }
        bytes.push_back(DIS_TxByte());
        DIS_TxDone(true);
        return bytes;
    });
    std::uint8_t sum = 0;
    for (std::size_t i = 0; i + 1 < response.size(); ++i) {
        sum = static_cast<std::uint8_t>(sum + response[i]);
    }
    if (checksumOk != nullptr) {
        *checksumOk = sum == response.back();
    }
    response.pop_back();
    transferEnded(true);
    return response;
}

void ControlUnit::sendData(const std::vector<std::uint8_t>& t)
{
    write(16, t);
}

void ControlUnit::sendStatus(const std::vector<std::uint8_t>& raw)
{
    std::vector<std::uint8_t> bytes(raw);
    bytes.resize(20, 0);
    write(28, bytes);
}

void ControlUnit::sendChangeMask(std::uint16_t mask)
{
    write(24, {static_cast<std::uint8_t>(mask), static_cast<std::uint8_t>(mask >> 8)});
}

void ControlUnit::transferEnded(bool wasRead)
{
    if (wasRead) {
        SM_Post(DIS_Task, SIG_DIS_MASTER_READ, 0);
    }
    SM_Post(DIS_Task, SIG_DIS_CYCLE, 0);
}

std::vector<std::uint8_t> ControlUnit::round()
{
    std::vector<std::uint8_t> response = read(DIS_SLOT_SHORT);
    if (response.size() < 2) {
        return {};
    }
    std::vector<std::uint8_t> record(response.begin() + 1, response.end());
    records_.push_back(record);
    apply(record);
    // Every record is answered with a data telegram of its type and sequence.
    const std::uint8_t type = record[1] >> 3;
    const std::uint8_t sequence = record[1] & 0x07;
    const std::uint8_t circuit = record[2];
    const bool isLong = record[0] == '#';
    const std::uint8_t part = !isLong && record.size() > 4 && record[3] == kRequest ? record[4] : 0;
    sendData(telegram(type, sequence, circuit, part));
    return record;
}

void ControlUnit::apply(const std::vector<std::uint8_t>& record)
{
    if (record.size() < 5 || record[0] == '#') {
        return;
    }
    const std::uint8_t circuit = record[2] == 2 ? 2 : 1;
    std::uint8_t* block = model_.circuit[circuit - 1];
    const std::uint8_t value = record[4];
    switch (record[3]) {
    case 200:
    case 201:
    case 202:
        block[3] = static_cast<std::uint8_t>((block[3] & ~0x07) | (record[3] == 200 ? 5 : record[3] == 201 ? 0 : 3));
        break;
    case 205:
        block[9] = value;
        break;
    case 234:
        model_.system[4] = record[5];
        model_.system[5] = record[6];
        break;
    default:
        break;
    }
}

std::vector<std::uint8_t> ControlUnit::telegram(std::uint8_t type, std::uint8_t sequence, std::uint8_t circuit,
                                                std::uint8_t part) const
{
    std::vector<std::uint8_t> t(32, 0);
    t[0] = static_cast<std::uint8_t>(type << 3 | (sequence & 0x07));
    const bool perCircuit = type <= 9 || type == 25;
    const std::uint8_t c = circuit == 2 ? 2 : 1;
    t[1] = perCircuit ? c : 0;
    std::vector<std::uint8_t> p(30, 0);
    const std::uint8_t* block = model_.circuit[c - 1];
    switch (type) {
    case 0:
        Put(p, 0, model_.counters, 24);
        Put(p, 24, block, 3);
        break;
    case 1:
        Put(p, 0, block + 3, 20);
        Put(p, 20, model_.displayTail, 7);
        break;
    case 2:
        Put(p, 0, block + 23, 5);
        Put(p, 5, model_.system, 21);
        break;
    case 3:
    case 4:
    case 5:
    case 6:
    case 7:
    case 8:
    case 9:
        for (int program = 0; program < 3; ++program) {
            Put(p, static_cast<std::size_t>(8 * program), model_.switching[c - 1][program][type - 3], 8);
        }
        break;
    case 10:
        Put(p, 0, model_.plant, 30);
        break;
    case 13:
        Put(p, 0, model_.messages, sizeof model_.messages);
        break;
    case 14:
        Put(p, 0, model_.messages2, sizeof model_.messages2);
        break;
    case 15:
        Put(p, 0, model_.service, 30);
        break;
    case 16:
        Put(p, 0, model_.participants, 30);
        break;
    case 17:
        Put(p, 0, model_.solar, sizeof model_.solar);
        break;
    case 18:
        Put(p, 0, model_.extension, sizeof model_.extension);
        break;
    case 22:
    case 23: {
        const auto& list = type == 22 ? model_.faults : model_.history;
        const std::uint8_t k = std::min<std::uint8_t>(part, 4);
        p[0] = k;
        Put(p, 1, list[2 * k], DAT_FAULT_SIZE);
        Put(p, 12, list[2 * k + 1], DAT_FAULT_SIZE);
        break;
    }
    case 24:
        Put(p, 0, model_.solarHistory, 29);
        break;
    case 25: {
        p[0] = part == 2 ? 2 : 1;
        p[1] = 10;
        const std::size_t first = part == 2 ? 10 : 0;
        for (std::size_t i = 0; i < 10; ++i) {
            p[2 + 2 * i] = static_cast<std::uint8_t>(model_.labels[c - 1][first + i]);
            p[3 + 2 * i] = static_cast<std::uint8_t>(model_.labels[c - 1][first + i] >> 8);
        }
        p[22] = model_.labelLanguage[c - 1];
        break;
    }
    case 26:
        Put(p, 0, model_.counters2, 29);
        break;
    default:
        break;
    }
    std::copy(p.begin(), p.end(), t.begin() + 2);
    return t;
}
