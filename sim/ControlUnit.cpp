#include "sim/ControlUnit.h"

#include <algorithm>
#include <cstring>

#include "comm/DIS_Link.h"
#include "core/DTM.h"
#include "core/SM.h"
#include "data/DAT_Telegrams.h"
#include "hal/HAL.h"
#include "hal/host.h"

namespace {

constexpr std::uint8_t kRequest = 231;
constexpr std::uint8_t kLabelType = 25;
constexpr std::uint8_t kLabelSecondPart = 3; // of a long record: units 10 to 19
constexpr std::uint8_t kAcknowledge = 0x55;  // functions of codes 235 and 242
constexpr std::uint8_t kReset = 0xAA;
constexpr std::uint8_t kCelsius = 11; // functions of code 247
constexpr std::uint8_t kFahrenheit = 12;
constexpr std::uint8_t kFlueGasTest = 1;
// A boiler holds its flue-gas output for a quarter of an hour, then goes back
// to normal operation by itself.
constexpr std::uint32_t kFlueGasTestMs = 15 * 60 * 1000;
constexpr std::uint8_t kFilling = 13;
constexpr std::uint8_t kVenting = 14;
constexpr std::uint8_t kStore = 0xAA;            // codes 248 and 250
constexpr std::uint8_t kStartOrEndActorTest = 0; // byte 4 of code 222
constexpr std::uint8_t kResetCoding = 2;         // selector of code 229
constexpr std::uint16_t kCodingChanged = 1U << 14;

// Limits of the coding values: level 2 also takes negative ones.
constexpr std::int16_t CodingMin(std::uint8_t level)
{
    return level == 2 ? -50 : 0;
}
constexpr std::int16_t CodingMax(std::uint8_t level)
{
    return level == 2 ? 50 : 99;
}
// Basic settings: small numbers that differ from address to address.
constexpr std::int16_t CodingDefault(std::uint8_t group, std::uint8_t address)
{
    return static_cast<std::int16_t>((address + group) % 10);
}

void PutI16(std::uint8_t* p, std::int16_t v)
{
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(static_cast<std::uint16_t>(v) >> 8);
}

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

std::uint32_t ModelClock(const DAT_Image& model)
{
    const std::uint8_t* c = &model.system[DAT_SYSTEM_CLOCK];
    return c[0] | c[1] << 8 | c[2] << 16 | static_cast<std::uint32_t>(c[3]) << 24;
}

} // namespace

ControlUnit::ControlUnit(std::size_t kept)
    : model_(DAT_image), kept_(kept), clockAt_(DTM_GetSeconds()), startedMs_(HOST().milliseconds()),
      lastClock_(ModelClock(model_))
{
    resetCoding();
}

void ControlUnit::resetCoding()
{
    for (std::uint8_t group = 0; group < 16; ++group) {
        for (int address = 0; address < 256; ++address) {
            const std::int16_t v = CodingDefault(group, static_cast<std::uint8_t>(address));
            coding_[0][group][address] = v;
            coding_[1][group][address] = v;
        }
    }
}

void ControlUnit::answerCoding(std::uint8_t selectors, std::uint8_t address)
{
    const std::uint8_t level = (selectors >> 4) == 2 ? 2 : 1;
    std::uint8_t* m = model_.messages2;
    m[DAT_CODING_SELECTORS] = selectors;
    m[DAT_CODING_ADDRESS] = address;
    PutI16(m + DAT_CODING_VALUE, coding_[level - 1][selectors & 0x0F][address]);
    PutI16(m + DAT_CODING_MIN, CodingMin(level));
    PutI16(m + DAT_CODING_MAX, CodingMax(level));
}

void ControlUnit::setCodingValue(std::uint8_t level, std::uint8_t group, std::uint8_t address, std::int16_t value)
{
    const std::uint8_t l = level == 2 ? 2 : 1;
    coding_[l - 1][group & 0x0F][address] = value;
    const std::uint8_t selectors = static_cast<std::uint8_t>(l << 4 | (group & 0x0F));
    const std::uint8_t* m = model_.messages2;
    if (m[DAT_CODING_SELECTORS] == selectors && m[DAT_CODING_ADDRESS] == address) {
        answerCoding(selectors, address);
        sendChangeMask(kCodingChanged);
    }
}

std::int16_t ControlUnit::codingValue(std::uint8_t level, std::uint8_t group, std::uint8_t address) const
{
    return coding_[level == 2 ? 1 : 0][group & 0x0F][address];
}

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
    std::copy(bytes.begin(), bytes.end(), model_.status); // what it reported is its state
    write(28, bytes);
}

void ControlUnit::clearStatus(std::uint16_t wordBits, std::uint8_t plantBits)
{
    model_.status[0] = static_cast<std::uint8_t>(model_.status[0] & ~wordBits);
    model_.status[1] = static_cast<std::uint8_t>(model_.status[1] & ~(wordBits >> 8));
    model_.status[DAT_STATUS_PLANT] = static_cast<std::uint8_t>(model_.status[DAT_STATUS_PLANT] & ~plantBits);
    sendStatus(std::vector<std::uint8_t>(model_.status, model_.status + DAT_STATUS_BLOCK_SIZE));
}

void ControlUnit::setStatusWord(std::uint16_t bits, bool on)
{
    if (!on) {
        clearStatus(bits, 0);
        return;
    }
    model_.status[0] = static_cast<std::uint8_t>(model_.status[0] | bits);
    model_.status[1] = static_cast<std::uint8_t>(model_.status[1] | (bits >> 8));
    sendStatus(std::vector<std::uint8_t>(model_.status, model_.status + DAT_STATUS_BLOCK_SIZE));
}

void ControlUnit::sendChangeMask(std::uint16_t mask)
{
    write(24, {static_cast<std::uint8_t>(mask), static_cast<std::uint8_t>(mask >> 8)});
}

void ControlUnit::announce(std::uint16_t mask)
{
    changed_ = static_cast<std::uint16_t>(changed_ | mask);
    sendChangeMask(changed_);
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
    std::uint8_t& plant = model_.status[DAT_STATUS_PLANT];
    if (flueGasRunning_ && HOST().milliseconds() - flueGasSinceMs_ >= kFlueGasTestMs) {
        flueGasRunning_ = false;
        if ((plant & DAT_PLANT_FLUE_GAS_TEST) != 0) {
            plant = static_cast<std::uint8_t>(plant & ~DAT_PLANT_FLUE_GAS_TEST);
            sendStatus(std::vector<std::uint8_t>(model_.status, model_.status + DAT_STATUS_BLOCK_SIZE));
        }
    }
    std::vector<std::uint8_t> response = read(DIS_SLOT_SHORT);
    if (response.size() < 2) {
        return {};
    }
    std::vector<std::uint8_t> record(response.begin() + 1, response.end());
    records_.push_back(record);
    if (records_.size() > kept_) {
        records_.pop_front();
        ++recordsBefore_;
    }
    apply(record);
    // The plant's clock runs (it sets the panel's with every system telegram),
    // from where it was last set by whoever drives the model.
    if (ModelClock(model_) != lastClock_) {
        clockAt_ = ModelClock(model_);
        startedMs_ = HOST().milliseconds();
    }
    lastClock_ = clockAt_ + (HOST().milliseconds() - startedMs_) / 1000;
    for (int i = 0; i < 4; ++i) {
        model_.system[DAT_SYSTEM_CLOCK + i] = static_cast<std::uint8_t>(lastClock_ >> (8 * i));
    }
    // Every record is answered with a data telegram of its type and sequence.
    const std::uint8_t type = record[1] >> 3;
    const std::uint8_t sequence = record[1] & 0x07;
    if (type < 16) {
        changed_ = static_cast<std::uint16_t>(changed_ & ~(1U << type));
    }
    const std::uint8_t circuit = record[2];
    const bool isLong = record[0] == '#';
    std::uint8_t part = !isLong && record.size() > 4 && record[3] == kRequest ? record[4] : 0;
    if (isLong && record.size() > 3) {
        part = record[3] == kLabelSecondPart ? 2 : 1; // the label half it brought back
    }
    sendData(telegram(type, sequence, circuit, part));
    return record;
}

void ControlUnit::applyLabel(const std::vector<std::uint8_t>& record)
{
    constexpr std::uint8_t kUnits = DAT_LABEL_UNITS / 2;
    if (record.size() < DIS_RECORD_SIZE || (record[1] >> 3) != kLabelType) {
        return;
    }
    const std::uint8_t circuit = record[2] == 2 ? 2 : 1;
    std::uint16_t* label = model_.labels[circuit - 1] + (record[3] == kLabelSecondPart ? kUnits : 0);
    const std::uint8_t count = std::min<std::uint8_t>(record[4], kUnits);
    std::fill_n(label, kUnits, std::uint16_t{0});
    for (std::uint8_t i = 0; i < count; ++i) {
        label[i] = static_cast<std::uint16_t>(record[5 + 2 * i] | record[6 + 2 * i] << 8);
    }
    model_.labelLanguage[circuit - 1] = record[29];
}

void ControlUnit::apply(const std::vector<std::uint8_t>& record)
{
    if (!record.empty() && record[0] == '#') {
        applyLabel(record);
        return;
    }
    if (record.size() < 5) {
        return;
    }
    const std::uint8_t circuit = record[2] == 2 ? 2 : 1;
    std::uint8_t* block = model_.circuit[circuit - 1];
    const std::uint8_t value = record[4];
    switch (record[3]) {
    case 200:
    case 201:
    case 202: {
        const std::uint8_t program = record[3] == 200   ? DAT_PROGRAM_SHUT_DOWN
                                     : record[3] == 201 ? DAT_PROGRAM_HOT_WATER_ONLY
                                                        : DAT_PROGRAM_HEATING;
        std::uint8_t& mode = block[DAT_CIRCUIT_MODE];
        mode = static_cast<std::uint8_t>((mode & ~DAT_MODE_PROGRAM) | program);
        break;
    }
    case 203:
    case 204:
    case 219:
    case 220:
    case 221: {
        // Mode bits as the record says; the holiday program's end clears its dates too.
        const std::uint8_t bit = record[3] <= 204   ? DAT_MODE_PARTY
                                 : record[3] == 219 ? DAT_MODE_HOLIDAY
                                                    : DAT_MODE_ECONOMY;
        const bool on = record[3] == 203 || record[3] == 220;
        std::uint8_t& mode = block[DAT_CIRCUIT_MODE];
        mode = static_cast<std::uint8_t>(on ? mode | bit : mode & ~bit);
        if (record[3] == 219) {
            std::fill_n(block + DAT_CIRCUIT_DEPARTURE, 8, 0);
        }
        break;
    }
    case 205:
        block[DAT_CIRCUIT_ROOM_SET] = value;
        break;
    case 206:
        block[DAT_CIRCUIT_REDUCED_SET] = value;
        break;
    case 207:
        block[DAT_CIRCUIT_PARTY_SET] = value;
        break;
    case 208:
        block[DAT_CIRCUIT_HOT_WATER_SET] = value;
        break;
    case 210:
        block[DAT_CIRCUIT_SLOPE] = value;
        break;
    case 211:
        block[DAT_CIRCUIT_LEVEL] = value;
        break;
    case 214: { // a switching time, for each day of its day code
        if (record.size() < 13 || record[4] > 1 || record[5] > 3 || (record[6] & 0x0F) > 2) {
            break;
        }
        const std::uint8_t coded = record[12];
        const std::uint8_t steps = coded == 255 ? 255 : static_cast<std::uint8_t>((coded >> 3) * 6 + (coded & 7));
        const std::uint8_t code = record[8];
        const std::uint8_t first = code == 0 || code == 8 ? 0 : code == 9 ? 5 : static_cast<std::uint8_t>(code - 1);
        const std::uint8_t last = code == 0 ? 6 : code == 8 ? 4 : code == 9 ? 6 : first;
        for (std::uint8_t d = first; d <= last && d < 7; ++d) {
            model_.switching[circuit - 1][record[6] & 0x0F][d][2 * record[5] + record[4]] = steps;
        }
        break;
    }
    case 215: // hot water and circulation by the automatic program, or by their own
    case 216:
    case 237:
    case 238: {
        const std::uint8_t bit = record[3] == 215 || record[3] == 237 ? 0x40 : 0x80;
        const bool automatic = record[3] == 215 || record[3] == 216;
        block[DAT_CIRCUIT_MODE] =
            static_cast<std::uint8_t>(automatic ? block[DAT_CIRCUIT_MODE] | bit : block[DAT_CIRCUIT_MODE] & ~bit);
        break;
    }
    case 217: // holiday departure and return days
    case 218:
        if (record.size() < 8) {
            break;
        }
        std::copy_n(record.begin() + 4, 4, block + (record[3] == 217 ? DAT_CIRCUIT_DEPARTURE : DAT_CIRCUIT_RETURN));
        break;
    case 222: // the actor test starts, or ends when it runs
        if (value == kStartOrEndActorTest) {
            model_.status[DAT_STATUS_CONTROLLER] ^= DAT_CTRL_ACTOR_TEST;
            sendStatus(std::vector<std::uint8_t>(model_.status, model_.status + DAT_STATUS_BLOCK_SIZE));
        }
        break;
    case 228: { // a coding value, held in its limits
        if (record.size() < 8) {
            break;
        }
        const std::uint8_t level = (value >> 4) == 2 ? 2 : 1;
        const auto v = static_cast<std::int16_t>(record[6] | record[7] << 8);
        coding_[level - 1][value & 0x0F][record[5]] = std::clamp(v, CodingMin(level), CodingMax(level));
        answerCoding(value, record[5]);
        break;
    }
    case 230:
        if (record.size() > 5) {
            answerCoding(value, record[5]);
        }
        break;
    case 229:
        if (value == kResetCoding) {
            resetCoding();
        }
        break;
    case 234:
        model_.system[DAT_SYSTEM_CONTRAST] = record[5];
        model_.system[DAT_SYSTEM_LANGUAGE] = record[6];
        break;
    case 243:
        participantRecord(record);
        break;
    case 252:
        model_.displayTail[value == 1 ? DAT_TAIL_OPERATING_BRIGHTNESS : DAT_TAIL_SAVER_BRIGHTNESS] = record[5];
        break;
    case 247: // the temperature unit, and the tests it runs until told to stop
        if (record[4] == kCelsius || record[4] == kFahrenheit) {
            setStatusWord(DAT_SW_FAHRENHEIT, record[4] == kFahrenheit);
        } else if (record[4] == kFlueGasTest && record.size() > 5) {
            std::uint8_t& plant = model_.status[DAT_STATUS_PLANT];
            plant = static_cast<std::uint8_t>(record[5] != 0 ? plant | DAT_PLANT_FLUE_GAS_TEST
                                                             : plant & ~DAT_PLANT_FLUE_GAS_TEST);
            flueGasRunning_ = record[5] != 0;
            flueGasSinceMs_ = HOST().milliseconds();
            sendStatus(std::vector<std::uint8_t>(model_.status, model_.status + DAT_STATUS_BLOCK_SIZE));
        } else if ((record[4] == kFilling || record[4] == kVenting) && record.size() > 5) {
            const std::uint8_t bit = record[4] == kFilling ? DAT_SVC13_FILLING : DAT_SVC13_VENTING;
            std::uint8_t& functions = model_.service[DAT_SERVICE_FUNCTIONS];
            functions = static_cast<std::uint8_t>(record[5] != 0 ? functions | bit : functions & ~bit);
        }
        break;
    case 248: // trial values change nothing it keeps
        if (record.size() > 5 && record[5] == kStore) {
            model_.service[DAT_SERVICE_MAX_POWER] = value;
        }
        break;
    case 250:
        if (record.size() > 6 && record[6] == kStore && value <= 1) {
            model_.fanSpeed[value] = record[5];
        }
        break;
    case 235: // acknowledged faults are gone
        if (value == kAcknowledge) {
            std::memset(model_.faults, 0, sizeof model_.faults);
            clearStatus(DAT_SW_FAULT_MESSAGE, DAT_PLANT_FAULT);
        }
        break;
    case 239:
        std::memset(model_.history, 0, sizeof model_.history);
        break;
    case 242:
        if (value == kAcknowledge) {
            clearStatus(DAT_SW_MAINTENANCE_MESSAGE, 0);
        } else if (value == kReset) {
            clearStatus(DAT_SW_MAINTENANCE_HOURS | DAT_SW_MAINTENANCE_INTERVAL | DAT_SW_MAINTENANCE_MESSAGE, 0);
        }
        break;
    default:
        break;
    }
}

// Code 243: the list one entry at a time (the participant block carries it),
// a check's answer in the service block, the list deleted.
void ControlUnit::participantRecord(const std::vector<std::uint8_t>& record)
{
    constexpr std::uint8_t kEnd = 255;
    if (record.size() < 9) {
        return;
    }
    const std::uint32_t function = record[4] | record[5] << 8 | record[6] << 16 | std::uint32_t{record[7]} << 24;
    const std::uint8_t code = record[8];
    const auto named = std::find_if(participants_.begin(), participants_.end(),
                                    [code](const Participant& p) { return p.code == code; });
    auto show = [this](auto it) {
        model_.participants[0] = it == participants_.end() ? 0 : it->code;
        model_.participants[5] = it == participants_.end() ? kEnd : it->number;
    };
    switch (function) {
    case 1:
        show(participants_.begin());
        break;
    case 3:
        show(named == participants_.end() ? named : std::next(named));
        break;
    case 4:
        model_.service[3] = named != participants_.end() && named->answers ? named->number : kEnd;
        break;
    case 5:
        participants_.clear();
        show(participants_.end());
        break;
    default: // 6, the wink, asks nothing of the plant
        break;
    }
}

std::vector<std::uint8_t> ControlUnit::telegram(std::uint8_t type, std::uint8_t sequence, std::uint8_t circuit,
                                                std::uint8_t part) const
{
    std::vector<std::uint8_t> t(32, 0);
    t[0] = static_cast<std::uint8_t>(type << 3 | (sequence & 0x07));
    const std::uint8_t c = circuit == 2 ? 2 : 1;
    t[1] = DAT_TelegramPerCircuit(type) ? c : 0;
    std::uint8_t* p = t.data() + 2;
    const DAT_Layout& layout = DAT_LayoutOf(type);
    switch (layout.form) {
    case DAT_Form::Plain:
        for (std::uint8_t i = 0; i < layout.pieces; ++i) {
            const DAT_Piece& piece = layout.piece[i];
            const auto block = DAT_BlockBytes(model_, piece.block, c);
            std::copy_n(block.data() + piece.at, piece.length, p + piece.from);
        }
        break;
    case DAT_Form::FaultPart: {
        const DAT_Piece& piece = layout.piece[0];
        const std::uint8_t k = std::min<std::uint8_t>(part, DAT_FAULT_PARTS - 1);
        p[0] = k;
        std::copy_n(DAT_BlockBytes(model_, piece.block, c).data() + piece.at + k * piece.length, piece.length,
                    p + piece.from);
        break;
    }
    case DAT_Form::LabelPart: {
        const DAT_Piece& piece = layout.piece[0];
        constexpr std::uint8_t kUnits = DAT_LABEL_UNITS / 2;
        p[0] = part == 2 ? 2 : 1;
        p[1] = kUnits;
        const std::uint16_t* units = model_.labels[c - 1] + (part == 2 ? kUnits : 0);
        for (std::size_t i = 0; i < kUnits; ++i) {
            p[piece.from + 2 * i] = static_cast<std::uint8_t>(units[i]);
            p[piece.from + 2 * i + 1] = static_cast<std::uint8_t>(units[i] >> 8);
        }
        p[piece.from + piece.length] = model_.labelLanguage[c - 1];
        break;
    }
    case DAT_Form::None:
        break;
    }
    return t;
}
