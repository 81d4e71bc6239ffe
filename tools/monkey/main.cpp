// panel-monkey: a seeded monkey on the whole panel in virtual time.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "sim/headless/Words.h"
#include "tools/monkey/Monkey.h"

namespace {

const char kUsage[] = "usage: panel-monkey [--seed N] [--hours N | --days N] [--replay-out FILE] [--lock-dir DIR]\n"
                      "       panel-monkey --replay FILE [--lock-dir DIR]\n"
                      "Runs the panel in virtual time on a seed's random input: keys, combinations and\n"
                      "holds from 1 ms to 10 minutes, test buttons, telegrams, the control unit going on\n"
                      "and off, bytes on the test serial port. It stops at the first failure: a FATAL\n"
                      "trace line, a restart for an internal error, an error the panel reports, a queue\n"
                      "nothing serves, a heap that keeps growing, a trace flood or a hang (virtual time\n"
                      "standing still for --hang-seconds of wall time, default 60).\n"
                      "\n"
                      "  --seed N           the seed (default 1); the same seed gives the same run\n"
                      "  --hours N, --days N  simulated time (default 2 hours; at most 100 days)\n"
                      "  --replay-out FILE  write the script there as it runs; kept only when the run\n"
                      "                     fails, and then replayed once to check that it reproduces\n"
                      "  --replay FILE      run a written script instead of a seed's, with the same checks\n"
                      "  --prelude FILE     scenario lines to run before the seed's script\n"
                      "  --print-script     print the seed's script for the time given and run nothing\n"
                      "  --lock-dir DIR     directory of the single-instance lock file\n"
                      "\n"
                      "exit status: 0 clean, 1 a failure (the replay file names it), 2 bad usage,\n"
                      "3 another simulation is running, 4 a hang\n";

// A script must be a regular file: a FIFO would block the run and a directory read as empty.
std::string NotAScript(const std::string& path)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        return std::strerror(errno);
    }
    if (S_ISDIR(st.st_mode)) {
        return "a directory, not a script";
    }
    return S_ISREG(st.st_mode) ? std::string{} : "not a regular file";
}

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return in.good() || in.eof();
}

int Bad(const std::string& why)
{
    std::fprintf(stderr, "panel-monkey: %s\n", why.c_str());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    MonkeyOptions options;
    bool printOnly = false;
    bool durationGiven = false;
    const std::vector<std::string> args(argv + 1, argv + argc);
    constexpr std::uint64_t kDay = 86'400'000;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "-h" || a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--print-script") {
            printOnly = true;
            continue;
        }
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            return Bad(a.size() > 1 && a[0] == '-' ? a + " needs a value" : "unknown argument '" + Printable(a) + "'");
        }
        const std::string& v = args[++i];
        if (a == "--seed") {
            const auto n = WholeNumber(v, 10, ~std::uint64_t{0});
            if (!n) {
                return Bad("--seed takes a whole number, not '" + Printable(v) + "'");
            }
            options.seed = *n;
        } else if (a == "--hours" || a == "--days") {
            const std::uint64_t unit = a == "--hours" ? 3'600'000 : kDay;
            const auto n = WholeNumber(v, 10, 100 * kDay / unit);
            if (!n || *n == 0) {
                return Bad(a + " takes a whole number from 1 to 100 days, not '" + Printable(v) + "'");
            }
            options.durationMs = *n * unit;
            durationGiven = true;
        } else if (a == "--hang-seconds") {
            const auto n = WholeNumber(v, 10, 3600);
            if (!n || *n == 0) {
                return Bad("--hang-seconds takes 1 to 3600, not '" + Printable(v) + "'");
            }
            options.hangSeconds = static_cast<unsigned>(*n);
        } else if (a == "--replay" || a == "--prelude") {
            if (const std::string why = NotAScript(v); !why.empty()) {
                return Bad("cannot read " + Printable(v) + ": " + why);
            }
            if (a == "--replay") {
                options.replay = v;
            } else if (!ReadText(v, options.prelude)) {
                return Bad("cannot read the prelude '" + Printable(v) + "'");
            }
        } else if (a == "--replay-out") {
            options.replayOut = v;
        } else if (a == "--lock-dir") {
            options.lockDirectory = v;
        } else {
            return Bad("unknown option '" + Printable(a) + "'\n" + kUsage);
        }
    }
    if (!options.replay.empty() && !durationGiven) {
        options.durationMs = 0; // the whole script
    }
    if (printOnly) {
        MonkeyScript script(options.seed);
        while (script.horizon() < options.durationMs) {
            std::fputs(script.next().c_str(), stdout);
        }
        return 0;
    }
    const MonkeyReport report = MonkeyRun(options);
    std::fputs(MonkeyDescribe(options, report).c_str(), stdout);
    std::fflush(stdout);
    switch (report.failure.kind) {
    case MonkeyFailure::Kind::None:
        return 0;
    case MonkeyFailure::Kind::NotRun:
        return 3;
    default:
        break;
    }
    if (report.replayWritten) {
        std::printf("replay written to %s\n", options.replayOut.c_str());
        MonkeyOptions again = options;
        again.replay = options.replayOut;
        const MonkeyReport second = MonkeyRun(again);
        std::printf("its replay %s\n",
                    MonkeySameFailure(report.failure, second.failure)
                        ? "reproduces the failure"
                        : ("does not reproduce it: " + std::string(MonkeyFailureName(second.failure.kind)) + ", " +
                           second.failure.what)
                              .c_str());
    }
    return 1;
}
