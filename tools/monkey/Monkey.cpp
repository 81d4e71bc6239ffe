#include "tools/monkey/Monkey.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <malloc.h>
#include <mutex>
#include <optional>
#include <sstream>
#include <sys/resource.h>
#include <thread>
#include <unistd.h>

#include "app/MainTask.h"
#include "core/SM.h"
#include "sim/PowerOn.h"
#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"
#include "sim/headless/Options.h"
#include "sim/headless/Scenario.h"

#if defined(__SANITIZE_ADDRESS__)
#define MONKEY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MONKEY_ASAN 1
#endif
#endif
#ifdef MONKEY_ASAN
#include <sanitizer/common_interface_defs.h>
// The sanitizer runtime has it; not every compiler ships its header.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {

using Clock = std::chrono::steady_clock;

// The panel-headless default, so that its replay of a written script is this run.
constexpr char kClock[] = "2026-01-05T08:00:00";
// The monkey reads the trace every simulated second; the host need keep little.
constexpr std::size_t kTraceKept = std::size_t{1} << 20;

std::size_t HeapInUse()
{
#ifdef MONKEY_ASAN
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
#endif
}

std::string Time(std::uint64_t ms)
{
    char text[48];
    std::snprintf(text, sizeof text, "day %llu %02llu:%02llu:%02llu.%03llu (%llu ms)",
                  static_cast<unsigned long long>(ms / 86'400'000),
                  static_cast<unsigned long long>(ms / 3'600'000 % 24),
                  static_cast<unsigned long long>(ms / 60'000 % 60), static_cast<unsigned long long>(ms / 1000 % 60),
                  static_cast<unsigned long long>(ms % 1000), static_cast<unsigned long long>(ms));
    return text;
}

// The script as it runs, for the replay; every part is on disk before it runs.
class ReplayFile {
  public:
    explicit ReplayFile(const std::string& path) : path_(path)
    {
        if (!path.empty()) {
            file_ = std::fopen(path.c_str(), "w");
        }
    }
    ~ReplayFile()
    {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    bool open() const { return file_ != nullptr; }
    void write(const std::string& text)
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (file_ != nullptr) {
            std::fputs(text.c_str(), file_);
            std::fflush(file_);
        }
    }
    // The run was clean: nothing to replay.
    void discard()
    {
        std::lock_guard<std::mutex> guard(lock_);
        if (file_ != nullptr) {
            std::fclose(file_);
            file_ = nullptr;
            std::remove(path_.c_str());
        }
    }

  private:
    std::string path_;
    std::FILE* file_ = nullptr;
    std::mutex lock_;
};

// Where a dying process (a sanitizer's report) notes the time in the replay.
ReplayFile* dyingReplay = nullptr;
std::atomic<std::uint64_t> dyingAt{0};

#ifdef MONKEY_ASAN
void OnSanitizerDeath()
{
    if (dyingReplay != nullptr) {
        dyingReplay->write("# panel-monkey: a sanitizer stopped the run at " + Time(dyingAt.load()) + "\n");
    }
}
#endif

// The control unit's switches in a part of the script starting at `from`;
// returns where the part ends.
std::uint64_t ScheduleSwitches(const Scenario& part, std::uint64_t from, MonkeyWatch& watch)
{
    std::uint64_t t = from;
    for (const ScenarioCommand& c : part.commands()) {
        if (const auto* w = std::get_if<ScenarioCommand::Wait>(&c.action)) {
            t += w->ms;
        } else if (const auto* s = std::get_if<ScenarioCommand::ControlUnitSwitch>(&c.action)) {
            watch.controlUnit(t, s->on);
        }
    }
    return t;
}

bool ReadAll(const std::string& path, std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    return !in.bad();
}

// A text in parts of some hundred lines, each ending after a wait: a
// script that has run up to a part's end has run out of commands.
class TextParts {
  public:
    explicit TextParts(const std::string& text) : text_(text) {}
    bool next(std::string& part)
    {
        if (at_ >= text_.size()) {
            return false;
        }
        std::size_t end = at_;
        for (int lines = 1; end < text_.size(); ++lines) {
            const std::size_t from = text_.find_first_not_of(" \t", end);
            const std::size_t eol = text_.find('\n', end);
            end = eol == std::string::npos ? text_.size() : eol + 1;
            if (lines >= kLines && from < end && text_.compare(from, 4, "wait") == 0) {
                break;
            }
        }
        part = text_.substr(at_, end - at_);
        at_ = end;
        return true;
    }

  private:
    static constexpr int kLines = 256;
    const std::string& text_;
    std::size_t at_ = 0;
};

// A trace line's millisecond is 32 bits; the run may be longer.
std::uint64_t Widen(std::uint64_t now, std::uint32_t ms)
{
    return now - static_cast<std::uint32_t>(static_cast<std::uint32_t>(now) - ms);
}

} // namespace

MonkeyReport MonkeyRun(const MonkeyOptions& o)
{
    const auto start = Clock::now();
    MonkeyReport report;
    MonkeyWatch watch;
    const bool replaying = !o.replay.empty();
    const std::string name = replaying ? o.replay : "seed-" + std::to_string(o.seed) + ".scn";
    // The script comes in parts, each added as the run reaches the end of
    // the last: the prelude, then the seed's episodes; or a replay's lines.
    std::string text = o.prelude;
    if (replaying && !ReadAll(o.replay, text)) {
        report.failure = {MonkeyFailure::Kind::Script, 0, "cannot read " + o.replay, {}};
        return report;
    }
    std::string error;
    if (!Scenario::parse(name, text, error)) { // every line, before anything runs
        report.failure = {MonkeyFailure::Kind::Script, 0, error, {}};
        return report;
    }
    std::optional<MonkeyScript> script;
    if (!replaying) {
        script.emplace(o.seed);
    }
    TextParts parts(text);
    auto nextPart = [&](std::string& part) {
        if (parts.next(part)) {
            return true;
        }
        if (script) {
            part = script->next();
            return true;
        }
        return false;
    };
    std::optional<Scenario> scenario = Scenario::parse(name, "", error);
    ReplayFile replay(replaying ? std::string{} : o.replayOut);
    if (!replaying && !o.replayOut.empty() && !replay.open()) {
        report.failure = {MonkeyFailure::Kind::Script, 0, "cannot write " + o.replayOut, {}};
        return report;
    }
    replay.write("# panel-monkey --seed " + std::to_string(o.seed) +
                 ": the script as it ran (replay with\n"
                 "# panel-monkey --replay FILE; panel-headless runs it too, up to 1 MiB)\n");
    dyingReplay = &replay;
#ifdef MONKEY_ASAN
    __sanitizer_set_death_callback(OnSanitizerDeath);
#endif

    SIM_PowerOn();
    VirtualTime time;
    HeadlessHost::Options hostOptions;
    hostOptions.lockDirectory = o.lockDirectory.empty() ? hostOptions.lockDirectory : o.lockDirectory;
    hostOptions.fixedClock = true;
    hostOptions.clock = HOST_LocalTime{*ParseClock(kClock), 0, false};
    hostOptions.traceLimit = kTraceKept;
    hostOptions.err = o.err;
    HeadlessHost host(time, hostOptions);

    std::atomic<std::uint64_t> progress{0};
    std::uint64_t nextCommand = 0; // when the script runs again
    std::uint64_t fed = 0;         // where the parts added so far end
    std::uint64_t nextSecond = 0;
    std::uint64_t nextMinute = 0;
    std::uint64_t traceCursor = 0;
    std::vector<TraceLine> lines;
    const std::uint64_t end = o.durationMs == 0 ? VirtualTime::kNever : o.durationMs;
    auto drive = [&] {
        const std::uint64_t now = time.now();
        progress = now;
        dyingAt = now;
        traceCursor = host.traceSince(traceCursor, lines);
        for (const TraceLine& l : lines) {
            watch.line(Widen(now, l.ms), l.text);
        }
        traceCursor += lines.size();
        watch.errors(now, host.errors());
        if (now >= nextSecond) {
            std::array<std::uint32_t, SM_TASK_COUNT> dropped{};
            for (std::uint8_t t = 0; t < SM_TASK_COUNT; ++t) {
                dropped[t] = SM_DroppedEvents(t);
            }
            watch.second(now, dropped);
            nextSecond = (now / 1000 + 1) * 1000;
        }
        if (now >= nextMinute) {
            watch.heap(now, HeapInUse());
            nextMinute += 60'000;
        }
        if (watch.failed() || now >= end) {
            host.requestStop();
            return;
        }
        if (now >= nextCommand) {
            // The next part joins before the script runs out, so the run is
            // the one a file of all the parts gives.
            std::string part;
            while (fed <= now && nextPart(part)) {
                std::string partError;
                const auto parsed = Scenario::parse(name, part, partError);
                if (!parsed || !scenario->append(part, error)) {
                    watch.fail(MonkeyFailure::Kind::Script, now, "a bad line: " + error + partError);
                    host.requestStop();
                    return;
                }
                fed = ScheduleSwitches(*parsed, fed, watch);
                replay.write(part.empty() || part.back() == '\n' ? part : part + "\n");
            }
            std::uint64_t waitMs = 0;
            switch (scenario->run(host, waitMs)) {
            case Scenario::Step::Wait:
                nextCommand = now + waitMs;
                break;
            case Scenario::Step::Failed:
                watch.fail(MonkeyFailure::Kind::Script, now, scenario->failure());
                host.requestStop();
                return;
            case Scenario::Step::End:
                host.requestStop();
                return;
            }
        }
        time.setWake(std::min({nextCommand, nextSecond, end}));
    };
    bool returned = false;
    {
        MonkeyHangWatch hang(
            o.hangSeconds,
            [&](const std::string& what) {
                replay.write("# panel-monkey: " + what + "\n");
                std::fprintf(o.err, "panel-monkey: %s\n", what.c_str());
                std::fflush(o.err);
            },
            progress);
        time.setHook(drive);
        drive();
        try {
            MainTask();
            returned = true;
        } catch (const AppStop&) {
        }
        time.setHook(nullptr);
    }
    report.lcdWrites = host.lcdModifications();
    if (returned) {
        watch.fail(MonkeyFailure::Kind::NotRun, time.now(), "another simulation holds the single-instance lock");
    }

    report.failure = watch.failure();
    report.simulatedMs = time.now();
    report.tally = script ? script->tally() : MonkeyTally{};
    report.restarts = watch.restarts();
    for (std::uint8_t t = 0; t < SM_TASK_COUNT; ++t) {
        report.dropped[t] = SM_DroppedEvents(t);
    }
    report.traceLines = watch.traceLines();
    report.traceHash = watch.traceHash();
    report.busiestMinute = watch.busiestMinute();
    report.heapPeak = watch.heapPeak();
    report.heapSettled = watch.heapSettled();
    const MonkeyFailure& f = report.failure;
    if (f.kind == MonkeyFailure::Kind::None || f.kind == MonkeyFailure::Kind::NotRun) {
        replay.discard();
    } else if (replay.open()) {
        std::string tail =
            "# panel-monkey: " + std::string(MonkeyFailureName(f.kind)) + " at " + Time(f.ms) + ": " + f.what + "\n";
        if (!f.expectNot.empty()) {
            tail += "expect-not " + f.expectNot + "\n";
        }
        replay.write(tail);
        report.replayWritten = true;
    }
    dyingReplay = nullptr;
    report.wallSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    report.peakResidentKiB = usage.ru_maxrss;
    return report;
}

MonkeyHangWatch::MonkeyHangWatch(unsigned seconds, std::function<void(const std::string&)> note,
                                 const std::atomic<std::uint64_t>& progress)
    : thread_([this, seconds, note, &progress] {
          std::unique_lock<std::mutex> lock(lock_);
          std::uint64_t seen = progress.load();
          auto since = Clock::now();
          while (!stop_) {
              wake_.wait_for(lock, std::chrono::milliseconds(100));
              if (progress.load() != seen) {
                  seen = progress.load();
                  since = Clock::now();
              } else if (Clock::now() - since > std::chrono::seconds(seconds)) {
                  note("hang: virtual time stood still at " + Time(seen) + " for " + std::to_string(seconds) +
                       " s of wall time");
                  std::_Exit(4); // the application thread is stuck: no way back to main
              }
          }
      })
{
}

MonkeyHangWatch::~MonkeyHangWatch()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

bool MonkeySameFailure(const MonkeyFailure& a, const MonkeyFailure& b)
{
    return a.kind == b.kind && a.ms == b.ms && a.what == b.what;
}

std::string MonkeyDescribe(const MonkeyOptions& o, const MonkeyReport& r)
{
    char line[512];
    std::string out;
    const double days = static_cast<double>(r.simulatedMs) / 86'400'000.0;
    if (o.replay.empty()) {
        std::snprintf(line, sizeof line, "seed %llu: %.2f simulated days (%.1f h) in %.1f s wall\n",
                      static_cast<unsigned long long>(o.seed), days, days * 24, r.wallSeconds);
    } else {
        std::snprintf(line, sizeof line, "replay of %s: %.2f simulated days (%.1f h) in %.1f s wall\n",
                      o.replay.c_str(), days, days * 24, r.wallSeconds);
    }
    out += line;
    if (r.failure.kind == MonkeyFailure::Kind::None) {
        out += "result: clean\n";
    } else {
        out += "result: FAILED, " + std::string(MonkeyFailureName(r.failure.kind)) + " at " + Time(r.failure.ms) +
               ": " + r.failure.what + "\n";
    }
    std::snprintf(line, sizeof line,
                  "peak resident memory: %.1f MiB; heap in use: at most %.1f MiB (%.1f MiB in the first hour)\n",
                  static_cast<double>(r.peakResidentKiB) / 1024.0, static_cast<double>(r.heapPeak) / 1048576.0,
                  static_cast<double>(r.heapSettled) / 1048576.0);
    out += line;
    std::uint64_t restarts = 0;
    std::string reasons;
    for (const auto& [reason, count] : r.restarts) {
        restarts += count;
        reasons += (reasons.empty() ? "" : ", ") +
                   std::string(reason == 1    ? "3 o'clock (1) "
                               : reason == 2  ? "control unit (2) "
                               : reason == 32 ? "link lost (32) "
                                              : "reason ") +
                   (reason == 1 || reason == 2 || reason == 32 ? "" : std::to_string(reason) + " ") +
                   std::to_string(count);
    }
    out += "restarts: " + std::to_string(restarts) + (reasons.empty() ? "" : " (" + reasons + ")") + "\n";
    out += "events dropped on full queues:";
    for (std::uint8_t t = 1; t <= 5; ++t) {
        out += " task " + std::to_string(t) + " (" + SM_TaskLabel(t) + ") " + std::to_string(r.dropped[t]) +
               (t < 5 ? "," : "\n");
    }
    std::snprintf(line, sizeof line, "trace: %llu lines, at most %llu in one simulated minute\n",
                  static_cast<unsigned long long>(r.traceLines), static_cast<unsigned long long>(r.busiestMinute));
    out += line;
    if (o.replay.empty()) {
        const MonkeyTally& t = r.tally;
        std::snprintf(line, sizeof line,
                      "input: %llu episodes, %llu key actions (%llu combinations, %llu holds of 1 s to 10 min), "
                      "%llu test buttons, %llu 3 o'clock restarts asked for, %llu telegrams, %llu control-unit "
                      "switches, %llu serial bytes\n",
                      static_cast<unsigned long long>(t.episodes), static_cast<unsigned long long>(t.keyActions),
                      static_cast<unsigned long long>(t.combinations), static_cast<unsigned long long>(t.longHolds),
                      static_cast<unsigned long long>(t.buttons), static_cast<unsigned long long>(t.restarts3am),
                      static_cast<unsigned long long>(t.telegrams),
                      static_cast<unsigned long long>(t.controlUnitSwitches),
                      static_cast<unsigned long long>(t.serialBytes));
        out += line;
    }
    return out;
}
