// panel-headless: runs the panel without a display, driven by a scenario.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "data/FLS.h"
#include "sim/headless/Runner.h"

namespace {

void Usage(std::FILE* to)
{
    std::fputs("usage: panel-headless [options] SCENARIO\n"
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
               "  --flash FILE       data-flash image to start with (default: the delivered\n"
               "                     image built into the panel); writes stay in memory\n"
               "  -h, --help         this text\n"
               "\n"
               "exit status: 0 scenario passed, 1 an expectation failed, 2 bad usage, script\n"
               "or data-flash image, 3 the panel did not run (another simulation is active)\n",
               to);
}

// Local wall time as seconds since 1970 (the panel's own clock format).
bool ParseClock(const char* text, std::int64_t& seconds)
{
    std::tm t{};
    int n = 0;
    if (std::sscanf(text, "%4d-%2d-%2dT%2d:%2d:%2d%n", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour, &t.tm_min,
                    &t.tm_sec, &n) != 6 ||
        text[n] != '\0' || t.tm_mon < 1 || t.tm_mon > 12 || t.tm_mday < 1 || t.tm_mday > 31 || t.tm_hour > 23 ||
        t.tm_min > 59 || t.tm_sec > 59 || t.tm_year < 1970 || t.tm_year > 2105) {
        return false;
    }
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    seconds = static_cast<std::int64_t>(timegm(&t));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    RunOptions options;
    std::int64_t clock = 0;
    ParseClock("2026-01-05T08:00:00", clock);
    bool clockGiven = false;
    bool serialGiven = false;
    const char* script = nullptr;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "panel-headless: %s needs a value\n", a);
                return nullptr;
            }
            return argv[++i];
        };
        if (std::strcmp(a, "--trace") == 0) {
            options.host.echoTrace = true;
        } else if (std::strcmp(a, "--realtime") == 0) {
            options.realTime = true;
        } else if (std::strcmp(a, "--clock") == 0) {
            const char* v = value();
            if (v == nullptr) {
                return RUN_BAD_SCRIPT;
            }
            if (!ParseClock(v, clock)) {
                std::fprintf(stderr, "panel-headless: --clock wants YYYY-MM-DDTHH:MM:SS, got '%s'\n", v);
                return RUN_BAD_SCRIPT;
            }
            clockGiven = true;
        } else if (std::strcmp(a, "--serial") == 0) {
            const char* v = value();
            if (v == nullptr) {
                return RUN_BAD_SCRIPT;
            }
            options.host.serial = std::strcmp(v, "none") == 0 ? "" : v;
            serialGiven = true;
        } else if (std::strcmp(a, "--lock-dir") == 0) {
            const char* v = value();
            if (v == nullptr) {
                return RUN_BAD_SCRIPT;
            }
            options.host.lockDirectory = v;
        } else if (std::strcmp(a, "--flash") == 0) {
            const char* v = value();
            if (v == nullptr) {
                return RUN_BAD_SCRIPT;
            }
            std::vector<std::uint8_t> image;
            std::string error;
            if (!HeadlessHost::readFlashFile(v, FLS_CAPACITY, image, error)) {
                std::fprintf(stderr, "panel-headless: %s\n", error.c_str());
                return RUN_BAD_SCRIPT;
            }
            options.host.flash = std::move(image);
        } else if (std::strcmp(a, "-h") == 0 || std::strcmp(a, "--help") == 0) {
            Usage(stdout);
            return RUN_OK;
        } else if (a[0] == '-' && a[1] != '\0') {
            std::fprintf(stderr, "panel-headless: unknown option '%s'\n", a);
            Usage(stderr);
            return RUN_BAD_SCRIPT;
        } else if (script != nullptr) {
            std::fprintf(stderr, "panel-headless: one scenario at a time ('%s' and '%s')\n", script, a);
            return RUN_BAD_SCRIPT;
        } else {
            script = a;
        }
    }
    if (script == nullptr) {
        Usage(stderr);
        return RUN_BAD_SCRIPT;
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
    std::string error;
    auto scenario = Scenario::load(script, error);
    if (!scenario) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return RUN_BAD_SCRIPT;
    }
    return RunScenario(std::move(*scenario), options);
}
