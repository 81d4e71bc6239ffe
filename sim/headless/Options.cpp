#include "sim/headless/Options.h"

#include <ctime>

#include "data/FLS.h"
#include "sim/headless/Words.h"

std::string HeadlessUsage()
{
    return "usage: panel-headless [options] SCENARIO\n"
           "Runs the boiler panel without a display, driven by a scenario script\n"
           "(see docs/scenarios.md).\n"
           "\n"
           "options:\n"
           "  --trace            print the trace lines, stamped with milliseconds\n"
           "  --realtime         run on the wall clock with timer threads\n"
           "                     (default: virtual time, as fast as the CPU allows)\n"
           "  --clock TIME       local time at power-on, YYYY-MM-DDTHH:MM:SS\n"
           "                     (default in virtual time: 2026-01-05T08:00:00;\n"
           "                     in real time: the machine's clock)\n"
           "  --lock-dir DIR     directory of the single-instance lock file\n"
           "  --serial PORT      the test serial port: a device, pty (a new pseudo-terminal,\n"
           "                     whose path is printed) or none (default in virtual time:\n"
           "                     the scenario's serial-send and expect-serial play the tester;\n"
           "                     default in real time: pty)\n"
           "  --flash FILE       data-flash image to start with, a regular file (default: the\n"
           "                     delivered image built into the panel); writes stay in memory\n"
           "  --plant FILE       the control unit takes the bus with this plant file's plant\n"
           "                     300 ms after power-on; a commissioned plant starts at the\n"
           "                     base display\n"
           "  -h, --help         this text\n"
           "\n"
           "exit status: 0 scenario passed, 1 an expectation failed, 2 bad usage, script\n"
           "or data-flash image, 3 the panel did not run (another simulation is active)\n";
}

std::optional<std::int64_t> ParseClock(const std::string& text)
{
    // Fixed widths: every field is its digits, nothing else.
    static constexpr char kForm[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != sizeof kForm - 1) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (kForm[i] == 'd' ? (text[i] < '0' || text[i] > '9') : text[i] != kForm[i]) {
            return std::nullopt;
        }
    }
    auto field = [&](std::size_t at, std::size_t width) { return std::stoi(text.substr(at, width)); };
    std::tm t{};
    t.tm_year = field(0, 4) - 1900;
    t.tm_mon = field(5, 2) - 1;
    t.tm_mday = field(8, 2);
    t.tm_hour = field(11, 2);
    t.tm_min = field(14, 2);
    t.tm_sec = field(17, 2);
    const std::tm asked = t;
    const std::time_t seconds = timegm(&t);
    // timegm carries a 30 February into March: a date that moved did not exist.
    if (t.tm_year != asked.tm_year || t.tm_mon != asked.tm_mon || t.tm_mday != asked.tm_mday ||
        t.tm_hour != asked.tm_hour || t.tm_min != asked.tm_min || t.tm_sec != asked.tm_sec || asked.tm_year < 70 ||
        asked.tm_year > 205) {
        return std::nullopt;
    }
    return static_cast<std::int64_t>(seconds);
}

HeadlessParse ParseHeadlessOptions(const std::vector<std::string>& args, HeadlessCommandLine& line,
                                   std::string& message)
{
    RunOptions& options = line.run;
    std::int64_t clock = *ParseClock("2026-01-05T08:00:00");
    bool clockGiven = false;
    bool serialGiven = false;
    bool scriptGiven = false;
    auto bad = [&](const std::string& why) {
        message = "panel-headless: " + why;
        return HeadlessParse::Bad;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool takesValue =
            a == "--clock" || a == "--serial" || a == "--lock-dir" || a == "--flash" || a == "--plant";
        if (takesValue && i + 1 >= args.size()) {
            return bad(a + " needs a value");
        }
        const std::string value = takesValue ? args[++i] : std::string{};
        if (takesValue && value.empty()) {
            return bad(a + " needs a value, not an empty word");
        }
        if (a == "--trace") {
            options.host.echoTrace = true;
        } else if (a == "--realtime") {
            options.realTime = true;
        } else if (a == "--clock") {
            const auto seconds = ParseClock(value);
            if (!seconds) {
                return bad("--clock wants a real date and time YYYY-MM-DDTHH:MM:SS from 1970 to 2105, not '" +
                           Printable(value) + "'");
            }
            clock = *seconds;
            clockGiven = true;
        } else if (a == "--serial") {
            options.host.serial = value == "none" ? "" : value;
            serialGiven = true;
        } else if (a == "--lock-dir") {
            options.host.lockDirectory = value;
        } else if (a == "--flash") {
            std::vector<std::uint8_t> image;
            std::string error;
            if (!HeadlessHost::readFlashFile(value, FLS_CAPACITY, image, error)) {
                return bad(error);
            }
            options.host.flash = std::move(image);
        } else if (a == "--plant") {
            line.plant = value;
        } else if (a == "-h" || a == "--help") {
            message = HeadlessUsage();
            return HeadlessParse::Help;
        } else if (a.size() > 1 && a[0] == '-') {
            return bad("unknown option '" + Printable(a) + "'\n" + HeadlessUsage());
        } else if (scriptGiven) {
            return bad("one scenario at a time ('" + Printable(line.script) + "' and '" + Printable(a) + "')");
        } else if (a.empty()) {
            return bad("the scenario's name is empty");
        } else {
            line.script = a;
            scriptGiven = true;
        }
    }
    if (!scriptGiven) {
        message = HeadlessUsage();
        return HeadlessParse::Bad;
    }
    // On the wall clock a tester can connect; in virtual time the scenario plays the tester.
    if (!serialGiven && options.realTime) {
        options.host.serial = "pty";
    }
    // A virtual run is repeatable only with a fixed clock.
    if (clockGiven || !options.realTime) {
        options.host.fixedClock = true;
        options.host.clock = HOST_LocalTime{clock, 0, false};
    }
    return HeadlessParse::Run;
}
