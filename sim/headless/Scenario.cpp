#include "sim/headless/Scenario.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "core/KEY.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "hal/HAL.h"
#include "sim/ControlUnit.h"
#include "sim/headless/HeadlessHost.h"

namespace {

struct KeyName {
    const char* name;
    std::uint8_t key;
};

constexpr KeyName kKeyNames[] = {
    {"UP", KEY_UP},     {"OK", KEY_OK},     {"DOWN", KEY_DOWN},   {"BACK", KEY_BACK},
    {"MENU", KEY_MENU}, {"LEFT", KEY_LEFT}, {"RIGHT", KEY_RIGHT}, {"HELP", KEY_HELP},
};

struct ButtonName {
    const char* name;
    const char* arg; // nullptr: takes no argument
    int index;
};

constexpr ButtonName kButtons[] = {
    {"restart-3am", nullptr, 13},      {"controller-reset", nullptr, 14}, {"fa-parametrisation", "on", 15},
    {"fa-parametrisation", "off", 16}, {"calibration", "on", 17},         {"calibration", "off", 18},
};

std::string Trim(const std::string& s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])) != 0) {
        ++b;
    }
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])) != 0) {
        --e;
    }
    return s.substr(b, e - b);
}

std::string Upper(std::string s)
{
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

// "250", "250ms", "4s", "5min", "1h".
std::optional<std::uint64_t> ParseDuration(const std::string& word)
{
    std::size_t i = 0;
    std::uint64_t n = 0;
    while (i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])) != 0) {
        n = n * 10 + static_cast<std::uint64_t>(word[i] - '0');
        if (n > 100ULL * 24 * 3600 * 1000) {
            return std::nullopt;
        }
        ++i;
    }
    if (i == 0) {
        return std::nullopt;
    }
    const std::string unit = word.substr(i);
    if (unit.empty() || unit == "ms") {
        return n;
    }
    if (unit == "s") {
        return n * 1000;
    }
    if (unit == "min") {
        return n * 60'000;
    }
    if (unit == "h") {
        return n * 3'600'000;
    }
    return std::nullopt;
}

// "OK", "MENU+OK", "UP+DOWN": the key byte of those keys held together.
std::optional<std::uint8_t> ParseKeys(const std::string& word)
{
    std::uint8_t raw = 0;
    std::stringstream parts(Upper(word));
    std::string part;
    while (std::getline(parts, part, '+')) {
        bool found = false;
        for (const KeyName& k : kKeyNames) {
            if (part == k.name) {
                raw = static_cast<std::uint8_t>(raw | KEY_RawBits(k.key));
                found = true;
            }
        }
        if (!found) {
            return std::nullopt;
        }
    }
    if (raw == 0) {
        return std::nullopt;
    }
    return raw;
}

// Hexadecimal bytes ("08 01 2a"); nothing when a word is not a byte.
std::optional<std::vector<std::uint8_t>> ParseBytes(const std::vector<std::string>& words, std::size_t from)
{
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = from; i < words.size(); ++i) {
        const std::string& w = words[i];
        char* end = nullptr;
        const unsigned long v = std::strtoul(w.c_str(), &end, 16);
        if (w.empty() || w.size() > 2 || *end != '\0' || v > 0xFF) {
            return std::nullopt;
        }
        bytes.push_back(static_cast<std::uint8_t>(v));
    }
    return bytes;
}

struct ImageBlock {
    const char* name;
    std::uint8_t* bytes;
    std::size_t size;
};

// Blocks of the operating data image a scenario may write directly.
std::optional<ImageBlock> BlockNamed(const std::string& name)
{
    DAT_Image& i = DAT_image;
    const ImageBlock blocks[] = {
        {"status", i.status, sizeof i.status},
        {"service", i.service, sizeof i.service},
        {"plant", i.plant, sizeof i.plant},
        {"system", i.system, sizeof i.system},
        {"display", i.displayTail, sizeof i.displayTail},
        {"counters", i.counters, sizeof i.counters},
        {"solar", i.solar, sizeof i.solar},
        {"circuit1", i.circuit[0], sizeof i.circuit[0]},
        {"circuit2", i.circuit[1], sizeof i.circuit[1]},
        {"messages", i.messages, sizeof i.messages},
        {"messages2", i.messages2, sizeof i.messages2},
        {"faults", &i.faults[0][0], sizeof i.faults},
        {"history", &i.history[0][0], sizeof i.history},
    };
    for (const ImageBlock& b : blocks) {
        if (name == b.name) {
            return b;
        }
    }
    return std::nullopt;
}

std::vector<std::string> Words(const std::string& s)
{
    std::vector<std::string> words;
    std::istringstream in(s);
    std::string w;
    while (in >> w) {
        words.push_back(w);
    }
    return words;
}

} // namespace

std::optional<Scenario> Scenario::load(const std::string& file, std::string& error)
{
    std::ifstream in(file);
    if (!in) {
        error = file + ": cannot read the scenario";
        return std::nullopt;
    }
    std::stringstream buffer;
    buffer << in.rdbuf();
    return parse(file, buffer.str(), error);
}

std::optional<Scenario> Scenario::parse(const std::string& file, const std::string& source, std::string& error)
{
    Scenario s;
    s.file_ = file;
    std::istringstream in(source);
    std::string raw;
    int line = 0;
    auto fail = [&](const std::string& message) {
        error = file + ":" + std::to_string(line) + ": " + message;
        return std::nullopt;
    };
    while (std::getline(in, raw)) {
        ++line;
        const std::string text = Trim(raw);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        const std::size_t space = text.find_first_of(" \t");
        const std::string verb = text.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : Trim(text.substr(space));
        const std::vector<std::string> args = Words(rest);
        using K = ScenarioCommand::Kind;
        auto add = [&](K kind, std::uint64_t ms = 0, std::uint8_t keys = 0, int button = 0, std::string what = {},
                       std::vector<std::uint8_t> bytes = {}) {
            ScenarioCommand c{};
            c.kind = kind;
            c.line = line;
            c.ms = ms;
            c.raw = keys;
            c.button = button;
            c.text = std::move(what);
            c.bytes = std::move(bytes);
            s.commands_.push_back(std::move(c));
        };
        if (verb == "wait") {
            const auto ms = args.size() == 1 ? ParseDuration(args[0]) : std::nullopt;
            if (!ms) {
                return fail("wait takes one duration such as 500, 250ms, 4s, 5min or 1h");
            }
            add(K::Wait, *ms);
        } else if (verb == "press") {
            const auto keys = args.size() == 1 ? ParseKeys(args[0]) : std::nullopt;
            if (!keys) {
                return fail("press takes one key or keys joined by '+' (UP OK DOWN BACK MENU LEFT RIGHT HELP)");
            }
            add(K::Keys, 0, *keys);
        } else if (verb == "release") {
            if (!args.empty()) {
                return fail("release takes no argument: it lets go of every key");
            }
            add(K::Keys);
        } else if (verb == "click" || verb == "hold") {
            const bool click = verb == "click";
            const bool arity = click ? (args.size() == 1 || args.size() == 2) : args.size() == 2;
            const auto keys = arity ? ParseKeys(args[0]) : std::nullopt;
            const auto ms = !arity             ? std::nullopt
                            : args.size() == 2 ? ParseDuration(args[1])
                                               : std::optional<std::uint64_t>(100);
            if (!keys || !ms) {
                return fail(click ? "click takes a key and an optional duration (default 100ms)"
                                  : "hold takes a key and a duration");
            }
            add(K::Keys, 0, *keys);
            add(K::Wait, *ms);
            add(K::Keys);
        } else if (verb == "button") {
            int index = -1;
            if (args.size() == 1 && std::isdigit(static_cast<unsigned char>(args[0][0])) != 0) {
                index = std::atoi(args[0].c_str());
            }
            if (index < KeyDriver::kTestButtonFirst || index > 33) {
                return fail("button takes a test button number from 13 to 33");
            }
            add(K::Button, 0, 0, index);
        } else if (verb == "expect" || verb == "expect-not") {
            if (rest.empty()) {
                return fail(verb + " takes the trace line to look for");
            }
            add(verb == "expect" ? K::Expect : K::ExpectNot, 0, 0, 0, rest);
        } else if (verb == "snapshot" || verb == "expect-lcd") {
            if (args.size() != 1 || args[0].size() < 5 || args[0].substr(args[0].size() - 4) != ".png") {
                return fail(verb + " takes one file name ending in .png");
            }
            // Goldens live beside the script; snapshots go where the host runs.
            std::string path = args[0];
            if (verb == "expect-lcd" && path[0] != '/') {
                const std::size_t slash = file.find_last_of('/');
                path = (slash == std::string::npos ? std::string{} : file.substr(0, slash + 1)) + path;
            }
            add(verb == "snapshot" ? K::Snapshot : K::ExpectLcd, 0, 0, 0, path);
        } else if (verb == "post") {
            // post TASK SIGNAL [PAR]: the signal by name or number, as a task of the panel would.
            int signal = -1;
            if (args.size() >= 2) {
                for (int n = 0; n < 256 && signal < 0; ++n) {
                    if (args[1] == SIG_Name(static_cast<std::uint16_t>(n))) {
                        signal = n;
                    }
                }
                if (signal < 0 && std::isdigit(static_cast<unsigned char>(args[1][0])) != 0) {
                    signal = std::atoi(args[1].c_str());
                }
            }
            const int task = args.empty() ? -1 : std::atoi(args[0].c_str());
            if (args.size() < 2 || args.size() > 3 || task < 1 || task > 5 || signal < 5 || signal > 255) {
                return fail("post takes a task (1 to 5), a signal (name or number) and an optional parameter");
            }
            ScenarioCommand c{};
            c.kind = K::Post;
            c.line = line;
            c.button = task;
            c.signal = static_cast<std::uint16_t>(signal);
            c.par = args.size() == 3 ? static_cast<std::uint32_t>(std::strtoul(args[2].c_str(), nullptr, 0)) : 0;
            s.commands_.push_back(c);
        } else if (verb == "serial-send" || verb == "expect-serial") {
            const auto bytes = ParseBytes(args, 0);
            if (!bytes || bytes->empty()) {
                return fail(verb + " takes hexadecimal bytes");
            }
            add(verb == "serial-send" ? K::SerialSend : K::ExpectSerial, 0, 0, 0, {}, *bytes);
        } else if (verb == "set-image") {
            const auto block = args.size() >= 3 ? BlockNamed(args[0]) : std::nullopt;
            const int offset = args.size() >= 3 ? std::atoi(args[1].c_str()) : -1;
            const auto bytes = ParseBytes(args, 2);
            if (!block || offset < 0 || !bytes || bytes->empty() ||
                static_cast<std::size_t>(offset) + bytes->size() > block->size) {
                return fail("set-image takes a block (status, service, plant, system, display, counters, solar, "
                            "circuit1, circuit2, messages, messages2, faults, history), an offset inside it and "
                            "hexadecimal bytes that fit");
            }
            add(K::SetImage, 0, 0, offset, args[0], *bytes);
        } else if (verb == "control-unit") {
            if (args.size() != 1 || (args[0] != "on" && args[0] != "off")) {
                return fail("control-unit takes on or off");
            }
            add(args[0] == "on" ? K::ControlUnitOn : K::ControlUnitOff);
        } else if (verb == "send-data" || verb == "send-status") {
            const auto bytes = ParseBytes(args, 0);
            const std::size_t most = verb == "send-data" ? 32 : 20;
            if (!bytes || bytes->empty() || bytes->size() > most) {
                return fail(verb + " takes 1 to " + std::to_string(most) + " hexadecimal bytes");
            }
            add(verb == "send-data" ? K::SendData : K::SendStatus, 0, 0, 0, {}, *bytes);
        } else if (verb == "send-mask") {
            char* end = nullptr;
            const unsigned long mask = args.size() == 1 ? std::strtoul(args[0].c_str(), &end, 16) : 0x10000;
            if (args.size() != 1 || *end != '\0' || mask > 0xFFFF) {
                return fail("send-mask takes one hexadecimal 16-bit mask");
            }
            add(K::SendMask, 0, 0, 0, {}, {static_cast<std::uint8_t>(mask), static_cast<std::uint8_t>(mask >> 8)});
        } else if (verb == "expect-record") {
            const int code = args.empty() ? -1 : std::atoi(args[0].c_str());
            const auto bytes = ParseBytes(args, 1);
            if (code < 200 || code > 255 || !bytes) {
                return fail("expect-record takes a user-operation code (200 to 252) and optional hexadecimal bytes");
            }
            std::vector<std::uint8_t> want{static_cast<std::uint8_t>(code)};
            want.insert(want.end(), bytes->begin(), bytes->end());
            add(K::ExpectRecord, 0, 0, 0, {}, want);
        } else if (verb == "print-trace") {
            add(K::PrintTrace);
        } else {
            bool known = false;
            for (const ButtonName& b : kButtons) {
                if (verb != b.name) {
                    continue;
                }
                known = true;
                if (b.arg == nullptr ? args.empty() : args.size() == 1 && args[0] == b.arg) {
                    add(K::Button, 0, 0, b.index);
                    break;
                }
            }
            if (!known) {
                return fail("unknown command '" + verb + "'");
            }
            if (s.commands_.empty() || s.commands_.back().line != line) {
                return fail(verb == "restart-3am" || verb == "controller-reset" ? verb + " takes no argument"
                                                                                : verb + " takes on or off");
            }
        }
    }
    return s;
}

Scenario::Step Scenario::run(HeadlessHost& host, std::uint64_t& waitMs)
{
    using K = ScenarioCommand::Kind;
    // While the control unit takes part, waits are cut into 100 ms bus rounds.
    constexpr std::uint64_t kRound = 100;
    if (busRounds_) {
        controlUnit().round();
    }
    if (pendingWait_ > 0) {
        waitMs = busRounds_ ? std::min(pendingWait_, kRound) : pendingWait_;
        pendingWait_ -= waitMs;
        return Step::Wait;
    }
    while (pc_ < commands_.size()) {
        const ScenarioCommand& c = commands_[pc_++];
        switch (c.kind) {
        case K::Wait:
            waitMs = busRounds_ ? std::min(c.ms, kRound) : c.ms;
            pendingWait_ = c.ms - waitMs;
            return Step::Wait;
        case K::SetImage: {
            const auto block = BlockNamed(c.text);
            HAL_IsrEnter(); // the image is the panel's: written as the bus driver would
            std::copy(c.bytes.begin(), c.bytes.end(), block->bytes + c.button);
            HAL_IsrLeave();
            break;
        }
        case K::SerialSend:
            host.serialInject(c.bytes);
            break;
        case K::ExpectSerial:
            if (!expectSerial(host, c)) {
                return Step::Failed;
            }
            break;
        case K::Post:
            SM_Post(static_cast<std::uint8_t>(c.button), c.signal, c.par);
            break;
        case K::ControlUnitOn:
            busRounds_ = true;
            controlUnit();
            break;
        case K::ControlUnitOff:
            busRounds_ = false;
            break;
        case K::SendData:
            controlUnit().sendData(c.bytes);
            break;
        case K::SendStatus:
            controlUnit().sendStatus(c.bytes);
            break;
        case K::SendMask:
            controlUnit().sendChangeMask(static_cast<std::uint16_t>(c.bytes[0] | c.bytes[1] << 8));
            break;
        case K::ExpectRecord:
            if (!expectRecord(c)) {
                return Step::Failed;
            }
            break;
        case K::Keys:
            host.keys().setRaw(c.raw);
            break;
        case K::Button:
            host.keys().onHardkey(c.button, true);
            host.keys().onHardkey(c.button, false);
            break;
        case K::Expect:
            if (!expect(host, c)) {
                return Step::Failed;
            }
            break;
        case K::ExpectNot:
            if (!expectNot(host, c)) {
                return Step::Failed;
            }
            break;
        case K::PrintTrace:
            host.printTrace();
            break;
        case K::Snapshot:
            if (!snapshot(host, c)) {
                return Step::Failed;
            }
            break;
        case K::ExpectLcd:
            if (!expectLcd(host, c)) {
                return Step::Failed;
            }
            break;
        }
    }
    return Step::End;
}

bool Scenario::expect(HeadlessHost& host, const ScenarioCommand& c)
{
    const std::vector<TraceLine> lines = host.traceLines();
    for (std::size_t i = traceCursor_; i < lines.size(); ++i) {
        if (Trim(lines[i].text) == c.text) {
            traceCursor_ = i + 1;
            return true;
        }
    }
    std::ostringstream why;
    why << file_ << ":" << c.line << ": expected the trace line \"" << c.text << "\"; came instead:";
    if (traceCursor_ >= lines.size()) {
        why << " nothing";
    }
    for (std::size_t i = traceCursor_; i < lines.size(); ++i) {
        why << "\n    " << lines[i].ms << " ms  " << Trim(lines[i].text);
    }
    failure_ = why.str();
    return false;
}

bool Scenario::expectNot(HeadlessHost& host, const ScenarioCommand& c)
{
    const std::vector<TraceLine> lines = host.traceLines();
    for (std::size_t i = traceCursor_; i < lines.size(); ++i) {
        if (Trim(lines[i].text) == c.text) {
            failure_ = file_ + ":" + std::to_string(c.line) + ": the trace line \"" + c.text + "\" came at " +
                       std::to_string(lines[i].ms) + " ms, but it should not have";
            return false;
        }
    }
    return true;
}

bool Scenario::snapshot(HeadlessHost& host, const ScenarioCommand& c)
{
    if (LcdPngWrite(c.text, host.lcdPicture())) {
        return true;
    }
    failure_ = file_ + ":" + std::to_string(c.line) + ": cannot write " + c.text + ": " + std::strerror(errno);
    return false;
}

bool Scenario::expectLcd(HeadlessHost& host, const ScenarioCommand& c)
{
    const std::size_t slash = c.text.find_last_of('/');
    const std::string name = c.text.substr(slash == std::string::npos ? 0 : slash + 1);
    std::string message;
    if (LcdMatchesGolden(host.lcdPicture(), c.text, name.substr(0, name.size() - 4), message)) {
        return true;
    }
    failure_ = file_ + ":" + std::to_string(c.line) + ": the LCD does not match: " + message;
    return false;
}

ControlUnit& Scenario::controlUnit()
{
    if (!controlUnit_) {
        controlUnit_ = std::make_shared<ControlUnit>();
    }
    return *controlUnit_;
}

bool Scenario::expectRecord(const ScenarioCommand& c)
{
    const auto& records = controlUnit().records();
    for (std::size_t i = recordCursor_; i < records.size(); ++i) {
        const auto& r = records[i];
        if (r[0] == '#' || r.size() < 4 || r[3] != c.bytes[0]) {
            continue;
        }
        if (std::equal(c.bytes.begin() + 1, c.bytes.end(), r.begin() + 4,
                       r.begin() + std::min<std::size_t>(r.size(), 4 + c.bytes.size() - 1)) &&
            r.size() >= 4 + c.bytes.size() - 1) {
            recordCursor_ = i + 1;
            return true;
        }
    }
    std::ostringstream why;
    why << file_ << ":" << c.line << ": expected a user-operation record with code " << int(c.bytes[0])
        << "; the control unit read:";
    if (recordCursor_ >= records.size()) {
        why << " nothing";
    }
    for (std::size_t i = recordCursor_; i < records.size(); ++i) {
        why << "\n   ";
        for (std::uint8_t b : records[i]) {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02x", b);
            why << hex;
        }
    }
    failure_ = why.str();
    return false;
}

bool Scenario::expectSerial(HeadlessHost& host, const ScenarioCommand& c)
{
    const std::vector<std::uint8_t> sent = host.serialSent();
    const auto from = sent.begin() + static_cast<std::ptrdiff_t>(std::min(serialCursor_, sent.size()));
    const auto at = std::search(from, sent.end(), c.bytes.begin(), c.bytes.end());
    if (at != sent.end()) {
        serialCursor_ = static_cast<std::size_t>(at - sent.begin()) + c.bytes.size();
        return true;
    }
    std::ostringstream why;
    why << file_ << ":" << c.line << ": the panel did not send those bytes on the test port; it sent:";
    if (from == sent.end()) {
        why << " nothing";
    }
    for (auto i = from; i != sent.end(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", *i);
        why << hex;
    }
    failure_ = why.str();
    return false;
}
