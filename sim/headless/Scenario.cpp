#include "sim/headless/Scenario.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <iterator>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/KEY.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "hal/HAL.h"
#include "sim/ControlUnit.h"
#include "sim/PlantControl.h"
#include "sim/PlantFile.h"
#include "sim/headless/HeadlessHost.h"
#include "sim/headless/Words.h"

namespace {

using Command = ScenarioCommand;
constexpr std::uint8_t kLabelCode = 245;

struct KeyName {
    const char* name;
    std::uint8_t key;
};

constexpr KeyName kKeyNames[] = {
    {"UP", KEY_UP},     {"OK", KEY_OK},     {"DOWN", KEY_DOWN},   {"BACK", KEY_BACK},
    {"MENU", KEY_MENU}, {"LEFT", KEY_LEFT}, {"RIGHT", KEY_RIGHT}, {"HELP", KEY_HELP},
};

constexpr std::uint64_t kLongestWait = 100ULL * 24 * 3600 * 1000;

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

// "250", "250ms", "4s", "5min", "1h", up to 100 days.
std::optional<std::uint64_t> Duration(const std::string& word)
{
    std::size_t digits = 0;
    while (digits < word.size() && std::isdigit(static_cast<unsigned char>(word[digits])) != 0) {
        ++digits;
    }
    const std::string unit = word.substr(digits);
    const std::uint64_t scale = unit.empty() || unit == "ms" ? 1
                                : unit == "s"                ? 1000
                                : unit == "min"              ? 60'000
                                : unit == "h"                ? 3'600'000
                                                             : 0;
    const auto n = WholeNumber(word.substr(0, digits), 10, kLongestWait);
    if (scale == 0 || !n || *n > kLongestWait / scale) {
        return std::nullopt;
    }
    return *n * scale;
}

// "OK", "MENU+OK", "UP+DOWN": the key byte of those keys held together.
std::optional<std::uint8_t> KeyByte(const std::string& word)
{
    std::uint8_t raw = 0;
    std::size_t from = 0;
    for (;;) {
        const std::size_t plus = word.find('+', from);
        std::string part = word.substr(from, plus == std::string::npos ? std::string::npos : plus - from);
        std::transform(part.begin(), part.end(), part.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        const auto k =
            std::find_if(std::begin(kKeyNames), std::end(kKeyNames), [&](const KeyName& n) { return part == n.name; });
        if (k == std::end(kKeyNames)) {
            return std::nullopt;
        }
        raw = static_cast<std::uint8_t>(raw | KEY_RawBits(k->key));
        if (plus == std::string::npos) {
            return raw;
        }
        from = plus + 1;
    }
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

// One line as a verb's parser sees it. A parser returns false to refuse the
// line; `bad` then names the word it could not take, when there is one.
struct Line {
    std::vector<std::string> args;
    std::string rest; // the arguments as written
    std::string script;
    std::vector<Command::Action> out;
    std::string bad;

    bool refuse(const std::string& word)
    {
        bad = word;
        return false;
    }
    bool add(Command::Action a)
    {
        out.push_back(std::move(a));
        return true;
    }
    // Hexadecimal bytes from args[from] on, one or two digits each.
    bool bytes(std::size_t from, std::size_t least, std::size_t most, std::vector<std::uint8_t>& to)
    {
        for (std::size_t i = from; i < args.size(); ++i) {
            const auto v = args[i].size() <= 2 ? WholeNumber(args[i], 16, 0xFF) : std::nullopt;
            if (!v) {
                return refuse(args[i]);
            }
            to.push_back(static_cast<std::uint8_t>(*v));
        }
        return to.size() >= least && to.size() <= most;
    }
};

bool ParseWait(Line& l)
{
    const auto ms = l.args.size() == 1 ? Duration(l.args[0]) : std::nullopt;
    return ms && l.add(Command::Wait{*ms});
}

bool ParsePress(Line& l)
{
    const auto raw = l.args.size() == 1 ? KeyByte(l.args[0]) : std::nullopt;
    return raw && l.add(Command::Keys{*raw});
}

bool ParseRelease(Line& l)
{
    return l.args.empty() && l.add(Command::Keys{0});
}

// Keys down, a wait, keys up.
bool Held(Line& l, const std::string& keys, std::optional<std::uint64_t> ms)
{
    const auto raw = KeyByte(keys);
    if (!raw) {
        return l.refuse(keys);
    }
    return ms && l.add(Command::Keys{*raw}) && l.add(Command::Wait{*ms}) && l.add(Command::Keys{0});
}

bool ParseClick(Line& l)
{
    if (l.args.empty() || l.args.size() > 2) {
        return false;
    }
    return Held(l, l.args[0], l.args.size() == 2 ? Duration(l.args[1]) : std::optional<std::uint64_t>(100));
}

bool ParseHold(Line& l)
{
    return l.args.size() == 2 && Held(l, l.args[0], Duration(l.args[1]));
}

bool ParseButton(Line& l)
{
    const auto n = l.args.size() == 1 ? WholeNumber(l.args[0], 10, 33) : std::nullopt;
    return n && *n >= KeyDriver::kTestButtonFirst && l.add(Command::Button{static_cast<int>(*n)});
}

template <int index> bool ParseFixedButton(Line& l)
{
    return l.args.empty() && l.add(Command::Button{index});
}

template <int on, int off> bool ParseSwitchButton(Line& l)
{
    if (l.args.size() != 1 || (l.args[0] != "on" && l.args[0] != "off")) {
        return false;
    }
    return l.add(Command::Button{l.args[0] == "on" ? on : off});
}

template <typename C> bool ParseTraceLine(Line& l)
{
    return !l.rest.empty() && l.add(C{l.rest});
}

// Commands of hexadecimal bytes alone.
template <typename C, std::size_t most> bool ParseBytes(Line& l)
{
    std::vector<std::uint8_t> b;
    return l.bytes(0, 1, most, b) && l.add(C{b});
}

bool ParsePrintTrace(Line& l)
{
    return l.args.empty() && l.add(Command::PrintTrace{});
}

bool IsPng(const std::vector<std::string>& args)
{
    return args.size() == 1 && args[0].size() > 4 && args[0].compare(args[0].size() - 4, 4, ".png") == 0;
}

bool ParseSnapshot(Line& l)
{
    return IsPng(l.args) && l.add(Command::Snapshot{l.args[0]}); // where the host runs
}

bool ParseExpectLcd(Line& l)
{
    if (!IsPng(l.args)) {
        return false;
    }
    // Goldens live beside the script.
    std::string path = l.args[0];
    if (path[0] != '/') {
        const std::size_t slash = l.script.find_last_of('/');
        path = (slash == std::string::npos ? std::string{} : l.script.substr(0, slash + 1)) + path;
    }
    return l.add(Command::ExpectLcd{path});
}

// plant-file FILE: beside the script, read and checked before the run.
bool ParsePlantFile(Line& l)
{
    if (l.args.size() != 1) {
        return false;
    }
    std::string path = l.args[0];
    if (path[0] != '/') {
        const std::size_t slash = l.script.find_last_of('/');
        path = (slash == std::string::npos ? std::string{} : l.script.substr(0, slash + 1)) + path;
    }
    std::string text;
    std::string error;
    DAT_Image check{};
    if (!PlantFileRead(path, text, error) || !PlantFileApply(path, text, check, error)) {
        return l.refuse(error);
    }
    return l.add(Command::PlantFile{path, text});
}

// plant-set NAME VALUE: a value of the control unit's plant.
bool ParsePlantSet(Line& l)
{
    if (l.args.size() != 2) {
        return false;
    }
    const PlantField* field = PlantFieldNamed(l.args[0]);
    if (field == nullptr) {
        return l.refuse(l.args[0]);
    }
    const auto value = PlantValueOf(*field, l.args[1]);
    if (!value) {
        return l.refuse(l.args[1]);
    }
    return l.add(Command::PlantSet{field, *value});
}

// post TASK SIGNAL [PAR], as a task of the panel would.
bool ParsePost(Line& l)
{
    if (l.args.size() < 2 || l.args.size() > 3) {
        return false;
    }
    const auto task = WholeNumber(l.args[0], 10, 5);
    if (!task || *task < 1) {
        return l.refuse(l.args[0]);
    }
    std::optional<std::uint64_t> signal = WholeNumber(l.args[1], 10, 255);
    for (std::uint16_t n = 0; n < 256 && !signal; ++n) {
        const char* name = SIG_Name(n);
        if (l.args[1] == name && std::strcmp(name, "SIG_?") != 0) {
            signal = n;
        }
    }
    if (!signal || *signal < 5) {
        return l.refuse(l.args[1]);
    }
    std::optional<std::uint64_t> par = 0;
    if (l.args.size() == 3) {
        const std::string& p = l.args[2];
        const bool hex = p.size() > 2 && p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
        par = hex ? WholeNumber(p.substr(2), 16, 0xFFFFFFFF) : WholeNumber(p, 10, 0xFFFFFFFF);
        if (!par) {
            return l.refuse(p);
        }
    }
    return l.add(Command::Post{static_cast<std::uint8_t>(*task), static_cast<std::uint16_t>(*signal),
                               static_cast<std::uint32_t>(*par)});
}

bool ParseSetImage(Line& l)
{
    if (l.args.size() < 3) {
        return false;
    }
    const auto block = BlockNamed(l.args[0]);
    if (!block) {
        return l.refuse(l.args[0]);
    }
    const auto offset = WholeNumber(l.args[1], 10, block->size - 1);
    if (!offset) {
        return l.refuse(l.args[1]);
    }
    std::vector<std::uint8_t> b;
    return l.bytes(2, 1, block->size - *offset, b) && l.add(Command::SetImage{l.args[0], *offset, b});
}

bool ParseControlUnit(Line& l)
{
    if (l.args.size() != 1 || (l.args[0] != "on" && l.args[0] != "off")) {
        return false;
    }
    return l.add(Command::ControlUnitSwitch{l.args[0] == "on"});
}

bool ParseSendMask(Line& l)
{
    const auto mask = l.args.size() == 1 ? WholeNumber(l.args[0], 16, 0xFFFF) : std::nullopt;
    return mask && l.add(Command::SendMask{static_cast<std::uint16_t>(*mask)});
}

bool ParseExpectRecord(Line& l)
{
    if (l.args.empty()) {
        return false;
    }
    const auto code = WholeNumber(l.args[0], 10, 252);
    if (!code || *code < 200) {
        return l.refuse(l.args[0]);
    }
    std::vector<std::uint8_t> b;
    return l.bytes(1, 0, SIZE_MAX, b) && l.add(Command::ExpectRecord{static_cast<std::uint8_t>(*code), b});
}

// LEVEL GROUP ADDRESS VALUE: decimal level and group, hexadecimal address as
// the panel shows it, a decimal value that may carry a minus sign.
bool ParseCodingValue(Line& l)
{
    if (l.args.size() != 4) {
        return false;
    }
    const auto level = WholeNumber(l.args[0], 10, 2);
    if (!level || *level < 1) {
        return l.refuse(l.args[0]);
    }
    const auto group = WholeNumber(l.args[1], 10, 15);
    if (!group) {
        return l.refuse(l.args[1]);
    }
    const auto address = l.args[2].size() <= 2 ? WholeNumber(l.args[2], 16, 0xFF) : std::nullopt;
    if (!address) {
        return l.refuse(l.args[2]);
    }
    const std::string& v = l.args[3];
    const bool negative = !v.empty() && v[0] == '-';
    const auto magnitude = WholeNumber(negative ? v.substr(1) : v, 10, negative ? 32768 : 32767);
    if (!magnitude) {
        return l.refuse(v);
    }
    const auto value = static_cast<std::int16_t>(negative ? -static_cast<std::int32_t>(*magnitude)
                                                          : static_cast<std::int32_t>(*magnitude));
    return l.add(Command::CodingValue{static_cast<std::uint8_t>(*level), static_cast<std::uint8_t>(*group),
                                      static_cast<std::uint8_t>(*address), value});
}

struct Verb {
    const char* name;
    const char* takes; // what its arguments must be
    bool (*parse)(Line&);
};

constexpr Verb kVerbs[] = {
    {"wait", "one duration such as 500, 250ms, 4s, 5min or 1h (at most 100 days)", ParseWait},
    {"press", "one key or keys joined by '+' (UP OK DOWN BACK MENU LEFT RIGHT HELP)", ParsePress},
    {"release", "no argument: it lets go of every key", ParseRelease},
    {"click", "keys joined by '+' (UP OK DOWN BACK MENU LEFT RIGHT HELP) and an optional duration (default 100ms)",
     ParseClick},
    {"hold", "keys joined by '+' (UP OK DOWN BACK MENU LEFT RIGHT HELP) and a duration", ParseHold},
    {"button", "a test button number from 13 to 33", ParseButton},
    {"restart-3am", "no argument", ParseFixedButton<13>},
    {"controller-reset", "no argument", ParseFixedButton<14>},
    {"fa-parametrisation", "on or off", ParseSwitchButton<15, 16>},
    {"calibration", "on or off", ParseSwitchButton<17, 18>},
    {"expect", "the trace line to look for", ParseTraceLine<Command::Expect>},
    {"expect-not", "the trace line to look for", ParseTraceLine<Command::ExpectNot>},
    {"print-trace", "no argument", ParsePrintTrace},
    {"snapshot", "one file name ending in .png", ParseSnapshot},
    {"expect-lcd", "one file name ending in .png", ParseExpectLcd},
    {"post",
     "a task from 1 to 5, a signal (a name such as SIG_STATUS_UPDATED, or a number from 5 to 255) and an optional "
     "parameter (decimal, or hexadecimal after 0x)",
     ParsePost},
    {"serial-send", "hexadecimal bytes such as 07 00 FF", ParseBytes<Command::SerialSend, SIZE_MAX>},
    {"expect-serial", "hexadecimal bytes such as 07 00 FF", ParseBytes<Command::ExpectSerial, SIZE_MAX>},
    {"set-image",
     "a block (status, service, plant, system, display, counters, solar, circuit1, circuit2, messages, messages2, "
     "faults, history), a decimal offset inside it and hexadecimal bytes that fit",
     ParseSetImage},
    {"control-unit", "on or off", ParseControlUnit},
    {"plant-file", "one plant file (see docs/scenarios.md)", ParsePlantFile},
    {"plant-set", "a plant value's name (see docs/scenarios.md) and a value in its range", ParsePlantSet},
    {"send-data", "1 to 32 hexadecimal bytes", ParseBytes<Command::SendData, 32>},
    {"send-status", "1 to 20 hexadecimal bytes", ParseBytes<Command::SendStatus, 20>},
    {"send-mask", "one hexadecimal 16-bit mask", ParseSendMask},
    {"coding-value",
     "a coding level (1 or 2), a group from 0 to 15, a hexadecimal address and a decimal value from -32768 to 32767",
     ParseCodingValue},
    {"expect-record", "a user-operation code from 200 to 252 and optional hexadecimal bytes", ParseExpectRecord},
};

std::string Hex(const std::vector<std::uint8_t>& bytes)
{
    std::string out;
    for (std::uint8_t b : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, " %02x", b);
        out += hex;
    }
    return out;
}

} // namespace

std::optional<Scenario> Scenario::load(const std::string& file, std::string& error)
{
    const std::string name = Printable(file);
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = name + ": cannot read the scenario: " + std::strerror(errno);
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = name + ": a directory, not a scenario";
        return std::nullopt;
    }
    // Reading stops one buffer beyond the limit: enough to know it is exceeded.
    std::string source;
    char buffer[4096];
    while (source.size() <= kMaxBytes) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            source.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0) {
            break;
        } else if (errno != EINTR) {
            error = name + ": cannot read the scenario: " + std::strerror(errno);
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    if (source.size() > kMaxBytes) {
        error = name + ": longer than " + std::to_string(kMaxBytes >> 20) + " MiB; a scenario is a text of commands";
        return std::nullopt;
    }
    return parse(file, source, error);
}

std::optional<Scenario> Scenario::parse(const std::string& file, const std::string& source, std::string& error)
{
    Scenario s;
    s.file_ = file;
    if (!s.append(source, error)) {
        return std::nullopt;
    }
    return s;
}

bool Scenario::append(const std::string& source, std::string& error)
{
    const std::string& file = file_;
    std::vector<ScenarioCommand> added;
    std::istringstream in(source);
    std::string raw;
    int number = lines_;
    auto fail = [&](const std::string& message) {
        error = Printable(file) + ":" + std::to_string(number) + ": " + message;
        return false;
    };
    while (std::getline(in, raw)) {
        ++number;
        const std::string text = Trim(raw);
        if (text.empty() || text[0] == '#') {
            continue;
        }
        // Past this check the line is text that a terminal shows as it is.
        if (Printable(text) != text) {
            return fail("a control character or a byte that is not UTF-8 in the line: " + Printable(text));
        }
        const std::size_t space = text.find_first_of(" \t");
        const std::string name = text.substr(0, space);
        const auto verb =
            std::find_if(std::begin(kVerbs), std::end(kVerbs), [&](const Verb& v) { return name == v.name; });
        if (verb == std::end(kVerbs)) {
            return fail("unknown command '" + name + "'");
        }
        Line line;
        line.rest = space == std::string::npos ? "" : Trim(text.substr(space));
        line.args = Words(line.rest);
        line.script = file;
        if (!verb->parse(line)) {
            std::string message = name + " takes " + verb->takes;
            const std::string& bad = line.bad.empty() ? line.rest : line.bad;
            return fail(bad.empty() ? message : message + ", not '" + bad + "'");
        }
        for (Command::Action& a : line.out) {
            added.push_back(Command{number, std::move(a)});
        }
    }
    lines_ = number;
    commands_.erase(commands_.begin(), commands_.begin() + static_cast<std::ptrdiff_t>(pc_));
    pc_ = 0;
    std::move(added.begin(), added.end(), std::back_inserter(commands_));
    return true;
}

bool Scenario::startWithPlant(const std::string& path, std::string& error)
{
    std::string text;
    DAT_Image check{};
    if (!PlantFileRead(path, text, error) || !PlantFileApply(path, text, check, error)) {
        return false;
    }
    // At the same panel time as the desktop host takes it, the waits around it cut there.
    const ScenarioCommand plant[] = {{0, Command::PlantFile{path, text}}, {0, Command::ControlUnitSwitch{true}}};
    std::uint64_t at = 0;
    auto c = commands_.begin() + static_cast<std::ptrdiff_t>(pc_);
    for (; c != commands_.end(); ++c) {
        auto* wait = std::get_if<Command::Wait>(&c->action);
        if (wait == nullptr) {
            continue;
        }
        if (at + wait->ms > kPlantStartMs) {
            const std::uint64_t before = kPlantStartMs - at;
            wait->ms -= before;
            c = commands_.insert(c, {c->line, Command::Wait{before}}) + 1;
            break;
        }
        at += wait->ms;
        if (at == kPlantStartMs) {
            ++c;
            break;
        }
    }
    if (c == commands_.end() && at < kPlantStartMs) {
        c = commands_.insert(c, {0, Command::Wait{kPlantStartMs - at}}) + 1;
    }
    commands_.insert(c, std::begin(plant), std::end(plant));
    return true;
}

// Runs one command other than a wait; false when an expectation failed.
struct Scenario::Exec {
    Scenario& s;
    HeadlessHost& host;
    int line;

    bool operator()(const Command::Wait&) const { return true; } // run() handles waits
    bool operator()(const Command::Keys& c) const
    {
        host.keys().setRaw(c.raw);
        return true;
    }
    bool operator()(const Command::Button& c) const
    {
        host.keys().onHardkey(c.index, true);
        host.keys().onHardkey(c.index, false);
        return true;
    }
    bool operator()(const Command::Expect& c) const
    {
        std::vector<TraceLine> lines;
        const std::uint64_t first = host.traceSince(s.traceCursor_, lines);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (Trim(lines[i].text) == c.line) {
                s.traceCursor_ = first + i + 1;
                return true;
            }
        }
        std::string why = "expected the trace line \"" + c.line + "\"; came instead:";
        if (first > s.traceCursor_) {
            why += " (" + std::to_string(first - s.traceCursor_) + " older lines no longer kept)";
        }
        if (lines.empty()) {
            why += " nothing";
        }
        for (const TraceLine& t : lines) {
            why += "\n    " + std::to_string(t.ms) + " ms  " + Printable(Trim(t.text));
        }
        return s.fail(line, why);
    }
    bool operator()(const Command::ExpectNot& c) const
    {
        std::vector<TraceLine> lines;
        host.traceSince(s.traceCursor_, lines);
        for (const TraceLine& t : lines) {
            if (Trim(t.text) == c.line) {
                return s.fail(line, "the trace line \"" + c.line + "\" came at " + std::to_string(t.ms) +
                                        " ms, but it should not have");
            }
        }
        return true;
    }
    bool operator()(const Command::PrintTrace&) const
    {
        host.printTrace();
        return true;
    }
    bool operator()(const Command::Snapshot& c) const
    {
        return LcdPngWrite(c.file, host.lcdPicture()) ||
               s.fail(line, "cannot write " + Printable(c.file) + ": " + std::strerror(errno));
    }
    bool operator()(const Command::ExpectLcd& c) const
    {
        const std::size_t slash = c.golden.find_last_of('/');
        const std::string name = c.golden.substr(slash == std::string::npos ? 0 : slash + 1);
        std::string message;
        return LcdMatchesGolden(host.lcdPicture(), c.golden, name.substr(0, name.size() - 4), message) ||
               s.fail(line, "the LCD does not match: " + message);
    }
    bool operator()(const Command::ControlUnitSwitch& c) const
    {
        if (c.on && !s.busRounds_) {
            s.sinceRound_ = 0; // the first round 100 ms from now
        }
        s.busRounds_ = c.on;
        s.controlUnit();
        return true;
    }
    bool operator()(const Command::SendData& c) const
    {
        s.controlUnit().sendData(c.telegram);
        return true;
    }
    bool operator()(const Command::SendStatus& c) const
    {
        s.controlUnit().sendStatus(c.telegram);
        return true;
    }
    bool operator()(const Command::SendMask& c) const
    {
        s.controlUnit().sendChangeMask(c.mask);
        return true;
    }
    bool operator()(const Command::ExpectRecord& c) const
    {
        const auto& records = s.controlUnit().records();
        // Records are numbered from the first read; the oldest are no longer kept.
        const std::uint64_t before = s.controlUnit().recordsBefore();
        const std::uint64_t first = std::max(s.recordCursor_, before);
        const std::uint64_t end = before + records.size();
        for (std::uint64_t n = first; n < end; ++n) {
            const auto& r = records[n - before];
            // A record: three bytes of frame, the code, then its parameters. The
            // one long record, a circuit label's half, is code 245 by its mark.
            const bool isLong = r[0] == '#';
            const std::size_t at = isLong ? 3 : 4;
            if (r.size() < at + c.leading.size() || (isLong ? kLabelCode : r[3]) != c.code) {
                continue;
            }
            if (std::equal(c.leading.begin(), c.leading.end(), r.begin() + static_cast<std::ptrdiff_t>(at))) {
                s.recordCursor_ = n + 1;
                return true;
            }
        }
        std::string why = "expected a user-operation record with code " + std::to_string(c.code) +
                          (c.leading.empty() ? "" : " and" + Hex(c.leading)) + "; the control unit read:";
        if (first > s.recordCursor_) {
            why += " (" + std::to_string(first - s.recordCursor_) + " older records no longer kept)";
        }
        if (first >= end) {
            why += " nothing";
        }
        for (std::uint64_t n = first; n < end; ++n) {
            why += "\n   " + Hex(records[n - before]);
        }
        return s.fail(line, why);
    }
    bool operator()(const Command::Post& c) const
    {
        SM_Post(c.task, c.signal, c.par);
        return true;
    }
    bool operator()(const Command::SerialSend& c) const
    {
        host.serialInject(c.bytes);
        return true;
    }
    bool operator()(const Command::ExpectSerial& c) const
    {
        const std::vector<std::uint8_t> sent = host.serialSent();
        const auto from = sent.begin() + static_cast<std::ptrdiff_t>(std::min(s.serialCursor_, sent.size()));
        const auto at = std::search(from, sent.end(), c.bytes.begin(), c.bytes.end());
        if (at != sent.end()) {
            s.serialCursor_ = static_cast<std::size_t>(at - sent.begin()) + c.bytes.size();
            return true;
        }
        const std::vector<std::uint8_t> rest(from, sent.end());
        return s.fail(line, "the panel did not send those bytes on the test port; it sent:" +
                                (rest.empty() ? std::string(" nothing") : Hex(rest)));
    }
    bool operator()(const Command::PlantFile& c) const
    {
        // The control unit takes the plant and tells the panel that everything changed.
        ControlUnit& unit = s.controlUnit();
        std::string error;
        if (!PlantFileApply(c.path, c.text, unit.model(), error)) {
            return s.fail(line, error);
        }
        unit.sendStatus(std::vector<std::uint8_t>(std::begin(unit.model().status), std::end(unit.model().status)));
        unit.announce(0x7FFF);
        return true;
    }
    bool operator()(const Command::PlantSet& c) const
    {
        PlantSet(s.controlUnit(), *c.field, c.value);
        return true;
    }
    bool operator()(const Command::CodingValue& c) const
    {
        s.controlUnit().setCodingValue(c.level, c.group, c.address, c.value);
        return true;
    }
    bool operator()(const Command::SetImage& c) const
    {
        const auto block = BlockNamed(c.block);
        HAL_IsrEnter(); // the image is the panel's: written as the bus driver would
        std::copy(c.bytes.begin(), c.bytes.end(), block->bytes + c.offset);
        HAL_IsrLeave();
        return true;
    }
};

Scenario::Step Scenario::run(HeadlessHost& host, std::uint64_t& waitMs)
{
    // While the control unit takes part, it does a bus round every 100 ms of
    // the script's time, however the waits fall; waits are cut at the rounds.
    constexpr std::uint64_t kRound = 100;
    if (busRounds_ && sinceRound_ >= kRound) {
        controlUnit().round();
        sinceRound_ = 0;
    }
    const auto cut = [&](std::uint64_t ms) {
        waitMs = busRounds_ ? std::min(ms, kRound - sinceRound_) : ms;
        sinceRound_ += waitMs;
    };
    if (pendingWait_ > 0) {
        cut(pendingWait_);
        pendingWait_ -= waitMs;
        return Step::Wait;
    }
    while (pc_ < commands_.size()) {
        const ScenarioCommand& c = commands_[pc_++];
        if (const auto* wait = std::get_if<Command::Wait>(&c.action)) {
            cut(wait->ms);
            pendingWait_ = wait->ms - waitMs;
            return Step::Wait;
        }
        if (!std::visit(Exec{*this, host, c.line}, c.action)) {
            return Step::Failed;
        }
    }
    return Step::End;
}

bool Scenario::fail(int line, const std::string& why)
{
    failure_ = Printable(file_) + ":" + std::to_string(line) + ": " + why;
    return false;
}

ControlUnit& Scenario::controlUnit()
{
    if (!controlUnit_) {
        controlUnit_ = std::make_shared<ControlUnit>();
    }
    return *controlUnit_;
}
