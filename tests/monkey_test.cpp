// The seeded monkey: a seed is one script on every platform, the script is
// what the scenario language runs, the watch tells failures from the
// panel's ordinary restarts, and a failing run's written script replays it.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "core/KEY.h"
#include "sim/ControlUnit.h"
#include "sim/headless/Runner.h"
#include "sim/headless/Scenario.h"
#include "support/PanelRun.h"
#include "tools/monkey/Monkey.h"
#include "tools/monkey/Rng.h"
#include "tools/monkey/Script.h"
#include "tools/monkey/Watch.h"

namespace {

using Command = ScenarioCommand;
using Kind = MonkeyFailure::Kind;

std::string ScriptText(std::uint64_t seed, std::uint64_t ms)
{
    MonkeyScript script(seed);
    std::string text;
    while (script.horizon() < ms) {
        text += script.next();
    }
    return text;
}

std::vector<Command> Parsed(const std::string& text)
{
    std::string error;
    const auto s = Scenario::parse("m.scn", text, error);
    EXPECT_TRUE(s.has_value()) << error;
    return s ? s->commands() : std::vector<Command>{};
}

class Scratch {
  public:
    Scratch()
    {
        char pattern[] = "/tmp/panel-monkey-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~Scratch() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

TEST(MonkeyRng, ASeedGivesTheSameNumbersEverywhere)
{
    // SplitMix64's published stream for seed 0.
    MonkeyRng zero(0);
    EXPECT_EQ(zero.next(), 0xE220A8397B1DCDAFULL);
    EXPECT_EQ(zero.next(), 0x6E789E6AA1B965F4ULL);
    EXPECT_EQ(zero.next(), 0x06C45D188009454FULL);
    // below() takes the high half of the product, not a remainder.
    MonkeyRng r(12345);
    EXPECT_EQ(r.below(1000), 133U);
    EXPECT_EQ(r.below(1000), 204U);
    EXPECT_EQ(r.below(1000), 119U);
    EXPECT_EQ(MonkeyRng::HighProduct(~0ULL, ~0ULL), ~0ULL - 1);
}

TEST(MonkeyRng, SpreadReachesBothEndsAndEveryPowerOfTwoBetween)
{
    MonkeyRng r(7);
    std::uint64_t least = ~0ULL;
    std::uint64_t most = 0;
    std::vector<int> widths(21, 0);
    for (int i = 0; i < 20000; ++i) {
        const std::uint64_t v = r.spread(1, 600'000);
        ASSERT_GE(v, 1U);
        ASSERT_LE(v, 600'000U);
        least = std::min(least, v);
        most = std::max(most, v);
        ++widths[64 - __builtin_clzll(v)];
        ASSERT_LT(r.below(3), 3U);
    }
    EXPECT_EQ(least, 1U);
    EXPECT_GT(most, 500'000U);
    for (int w = 1; w <= 20; ++w) {
        EXPECT_GT(widths[w], 500) << "values of " << w << " bits";
    }
    EXPECT_EQ(r.spread(5, 5), 5U);
}

TEST(MonkeyScript, ASeedIsOneScriptAndTheNextSeedAnother)
{
    EXPECT_EQ(ScriptText(42, 86'400'000), ScriptText(42, 86'400'000));
    EXPECT_NE(ScriptText(42, 3'600'000), ScriptText(43, 3'600'000));
}

TEST(MonkeyScript, DurationsAreWrittenInTheLargestExactUnitAndReadBack)
{
    EXPECT_EQ(MonkeyScript::Duration(7'200'000), "2h");
    EXPECT_EQ(MonkeyScript::Duration(90'000), "90s");
    EXPECT_EQ(MonkeyScript::Duration(120'000), "2min");
    EXPECT_EQ(MonkeyScript::Duration(1500), "1500ms");
    for (std::uint64_t ms : {1ULL, 999ULL, 1000ULL, 59'999ULL, 3'600'000ULL, 10'800'000ULL, 8'640'000'000ULL}) {
        const auto c = Parsed("wait " + MonkeyScript::Duration(ms) + "\n");
        ASSERT_EQ(c.size(), 1U);
        EXPECT_EQ(std::get<Command::Wait>(c[0].action).ms, ms);
    }
}

// Every episode parses, ends with a wait, and its waits are where the
// script says it has got to: the run appends episodes by that clock.
TEST(MonkeyScript, EpisodesParseEndInAWaitAndKeepTheirClock)
{
    for (std::uint64_t seed = 1; seed <= 4; ++seed) {
        MonkeyScript script(seed);
        std::uint64_t waited = 0;
        while (script.horizon() < 86'400'000) {
            const std::string episode = script.next();
            const auto c = Parsed(episode);
            ASSERT_FALSE(c.empty());
            ASSERT_TRUE(std::holds_alternative<Command::Wait>(c.back().action)) << episode;
            for (const Command& cmd : c) {
                if (const auto* w = std::get_if<Command::Wait>(&cmd.action)) {
                    waited += w->ms;
                }
            }
            ASSERT_EQ(waited, script.horizon()) << "seed " << seed << " after\n" << episode;
        }
    }
}

// Three simulated days of one seed hold every kind of input the monkey
// promises, with holds from a millisecond to ten minutes.
TEST(MonkeyScript, ThreeDaysHoldEveryKindOfInput)
{
    const auto c = Parsed(ScriptText(1, 3 * 86'400'000ULL));
    std::uint64_t shortest = ~0ULL;
    std::uint64_t longest = 0;
    std::uint8_t held = 0;
    std::uint64_t heldFor = 0;
    bool menuOk = false;
    bool otherSet = false;
    std::vector<int> buttons;
    int data = 0;
    int status = 0;
    int masks = 0;
    int serial = 0;
    std::vector<bool> unit;
    const std::uint8_t menuOkBits = KEY_RawBits(KEY_MENU) | KEY_RawBits(KEY_OK);
    for (const Command& cmd : c) {
        if (const auto* k = std::get_if<Command::Keys>(&cmd.action)) {
            if (held != 0 && k->raw == 0) {
                shortest = std::min(shortest, heldFor);
                longest = std::max(longest, heldFor);
            }
            if (k->raw != 0 && held == 0) {
                heldFor = 0;
            }
            held = k->raw;
            menuOk = menuOk || k->raw == menuOkBits;
            otherSet = otherSet || (__builtin_popcount(k->raw) >= 2 && k->raw != menuOkBits);
        } else if (const auto* w = std::get_if<Command::Wait>(&cmd.action)) {
            heldFor += held != 0 ? w->ms : 0;
        } else if (const auto* b = std::get_if<Command::Button>(&cmd.action)) {
            buttons.push_back(b->index);
        } else if (const auto* u = std::get_if<Command::ControlUnitSwitch>(&cmd.action)) {
            unit.push_back(u->on);
        }
        data += std::holds_alternative<Command::SendData>(cmd.action) ? 1 : 0;
        status += std::holds_alternative<Command::SendStatus>(cmd.action) ? 1 : 0;
        masks += std::holds_alternative<Command::SendMask>(cmd.action) ? 1 : 0;
        serial += std::holds_alternative<Command::SerialSend>(cmd.action) ? 1 : 0;
    }
    EXPECT_EQ(shortest, MonkeyScript::kShortestHold);
    EXPECT_LE(longest, MonkeyScript::kLongestHold);
    EXPECT_GT(longest, MonkeyScript::kLongestHold / 2);
    EXPECT_TRUE(menuOk);
    EXPECT_TRUE(otherSet);
    for (int n : {13, 14, 15, 17, 31, 33}) {
        EXPECT_NE(std::find(buttons.begin(), buttons.end(), n), buttons.end()) << "button " << n;
    }
    EXPECT_GT(data, 50);
    EXPECT_GT(status, 20);
    EXPECT_GT(masks, 20);
    EXPECT_GT(serial, 50);
    ASSERT_GT(unit.size(), 4U);
    for (std::size_t i = 0; i < unit.size(); ++i) {
        EXPECT_EQ(unit[i], i % 2 == 0) << "switch " << i << ": on and off take turns, on first";
    }
}

TEST(MonkeyWatch, FatalLinesFailAndAreWhatTheReplayMustNotSee)
{
    MonkeyWatch w;
    w.line(10, " BSM_Systemmonitor Entry");
    EXPECT_FALSE(w.failed());
    w.line(20, "FATAL ERROR: CPU_Timer tim_disableTimer10ms() -1");
    ASSERT_TRUE(w.failed());
    EXPECT_EQ(w.failure().kind, Kind::Fatal);
    EXPECT_EQ(w.failure().ms, 20U);
    EXPECT_EQ(w.failure().expectNot, "FATAL ERROR: CPU_Timer tim_disableTimer10ms() -1");
    // The first failure is the one kept.
    w.line(30, "FATAL ERROR: IAR_Intrinsics __enable_interrupt() -1");
    EXPECT_EQ(w.failure().ms, 20U);
}

TEST(MonkeyWatch, RestartsAtThreeAndForTheControlUnitAreCountedNotFailures)
{
    MonkeyWatch w;
    for (const char* line : {"*SIG_REG_RESET", " BSM_SystemReset Entry", "*RESTARTING",
                             // ignored while somebody uses the panel: no restart follows
                             "*SIG_3UHR_RESTART", " BGA_Grundanzeige Init", "*SIG_3UHR_RESTART", "*RESTARTING",
                             "*SIG_REG_RESET", "*RESTARTING"}) {
        w.line(1000, line);
    }
    EXPECT_FALSE(w.failed()) << w.failure().what;
    EXPECT_EQ(w.restarts(), (std::map<int, std::uint64_t>{{1, 1}, {2, 2}}));

    MonkeyWatch internal;
    internal.line(5000, "*SIG_BED_ERROR_RESET: 136");
    EXPECT_EQ(internal.failure().kind, Kind::Restart);
    EXPECT_EQ(internal.failure().expectNot, "*SIG_BED_ERROR_RESET: 136");

    MonkeyWatch marker;
    marker.line(5000, "*SIG_BED_ERROR_RESET: 35");
    EXPECT_EQ(marker.failure().kind, Kind::Restart);

    MonkeyWatch unexplained;
    unexplained.line(5000, "*RESTARTING");
    EXPECT_EQ(unexplained.failure().kind, Kind::Restart);
}

// Link lost (32) is the panel's answer to a control unit that went away,
// and nothing else.
TEST(MonkeyWatch, LinkLostIsExpectedOnlyWhenTheControlUnitWentAway)
{
    struct Case {
        std::vector<std::pair<std::uint64_t, bool>> switches;
        std::uint64_t lostAt;
        bool expected;
    };
    const Case cases[] = {
        {{}, 80'000, false},                                                // never on: no link to lose
        {{{1000, true}}, 80'000, false},                                    // on all along
        {{{1000, true}, {10'000, false}}, 80'000, true},                    // gone
        {{{1000, true}, {10'000, false}, {100'000, true}}, 100'500, true},  // back a moment ago
        {{{1000, true}, {10'000, false}, {100'000, true}}, 105'000, false}, // back long since
    };
    for (const Case& c : cases) {
        MonkeyWatch w;
        w.line(10'250, "BMM_Menuemonitor Entry");
        for (const auto& [ms, on] : c.switches) {
            w.controlUnit(ms, on);
        }
        for (std::uint64_t s = 0; s < c.lostAt; s += 1000) {
            w.second(s, {});
        }
        w.line(c.lostAt, "*SIG_BED_ERROR_RESET: 32");
        w.line(c.lostAt + 100, "*RESTARTING");
        EXPECT_EQ(w.failed(), !c.expected)
            << "link lost at " << c.lostAt << " ms after " << c.switches.size() << " switches";
        if (c.expected) {
            EXPECT_EQ(w.restarts().at(32), 1U);
        }
    }
}

TEST(MonkeyWatch, AQueueRefusingPostsForAMinuteOnEndIsAStall)
{
    MonkeyWatch w;
    w.line(10'250, "BMM_Menuemonitor Entry");
    std::array<std::uint32_t, SM_TASK_COUNT> dropped{};
    std::uint64_t ms = 0;
    auto seconds = [&](std::uint64_t n, bool refusing) {
        for (std::uint64_t i = 0; i < n; ++i, ms += 1000) {
            dropped[1] += refusing ? 16 : 0;
            w.second(ms, dropped);
        }
    };
    // A flood of the test port: refusals for a while, then the queue drains.
    seconds(MonkeyWatch::kStallSeconds - 1, true);
    seconds(1, false);
    seconds(MonkeyWatch::kStallSeconds - 1, true);
    EXPECT_FALSE(w.failed());
    seconds(1, true);
    ASSERT_TRUE(w.failed());
    EXPECT_EQ(w.failure().kind, Kind::Stall);
    EXPECT_NE(w.failure().what.find("task 1"), std::string::npos);
}

// A start-up screen that waits for ever fails nothing else: the menus must come.
TEST(MonkeyWatch, AStartThatDoesNotReachTheMenusFails)
{
    MonkeyWatch w;
    auto seconds = [&](std::uint64_t from, std::uint64_t to) {
        for (std::uint64_t ms = from; ms <= to; ms += 1000) {
            w.second(ms, {});
        }
    };
    seconds(0, 10'000);
    w.line(10'250, "BMM_Menuemonitor Entry");
    seconds(11'000, 200'000);
    w.line(200'100, "*SIG_REG_RESET");
    w.line(200'200, "*RESTARTING");
    seconds(201'000, 230'000);
    w.line(230'100, "BHQ_HardwareQualityCheck Entry"); // a test program instead
    seconds(231'000, 400'000);
    w.line(400'200, "*SIG_REG_RESET");
    w.line(400'300, "*RESTARTING");
    seconds(401'000, 430'000);
    EXPECT_FALSE(w.failed()) << w.failure().what;
    seconds(431'000, 431'000);
    ASSERT_TRUE(w.failed());
    EXPECT_EQ(w.failure().kind, Kind::StartUp);
    EXPECT_EQ(w.failure().ms, 431'000U);

    MonkeyWatch never;
    never.second(MonkeyWatch::kStartUpMs + 1000, {});
    EXPECT_EQ(never.failure().kind, Kind::StartUp);
}

TEST(MonkeyWatch, HeapGrowthAfterTheFirstHourAndTraceFloodsFail)
{
    MonkeyWatch heap;
    heap.heap(0, 1 << 20);
    heap.heap(MonkeyWatch::kHeapSettleMs, 3 << 20); // settling: the trace store fills
    heap.heap(MonkeyWatch::kHeapSettleMs + 60'000, (3 << 20) + MonkeyWatch::kHeapGrowth);
    EXPECT_FALSE(heap.failed());
    heap.heap(MonkeyWatch::kHeapSettleMs + 120'000, (3 << 20) + MonkeyWatch::kHeapGrowth + 1);
    EXPECT_EQ(heap.failure().kind, Kind::Memory);

    MonkeyWatch trace;
    for (std::uint64_t i = 0; i < MonkeyWatch::kFloodLinesPerMinute; ++i) {
        trace.line(60'000 + i % 60'000, " BRA_RuheAnimation Init");
    }
    trace.line(130'000, "next minute");
    EXPECT_FALSE(trace.failed());
    for (std::uint64_t i = 0; i <= MonkeyWatch::kFloodLinesPerMinute; ++i) {
        trace.line(180'000, "x");
    }
    EXPECT_EQ(trace.failure().kind, Kind::TraceFlood);

    MonkeyWatch errors;
    errors.errors(10, 0);
    EXPECT_FALSE(errors.failed());
    errors.errors(20, 1);
    EXPECT_EQ(errors.failure().kind, Kind::Error);
}

// The run appends the seed's episodes as it goes; the file of all of them,
// replayed, is the same run.
TEST(MonkeyRun, ASeedRunsAsTheFileOfItsScriptDoes)
{
    Scratch dir;
    MonkeyOptions seeded;
    seeded.seed = 11;
    seeded.durationMs = 3'600'000;
    seeded.lockDirectory = dir.path();
    const MonkeyReport a = MonkeyRun(seeded);
    ASSERT_EQ(a.failure.kind, Kind::None) << a.failure.what;
    ASSERT_GT(a.tally.controlUnitSwitches, 0U);

    std::ofstream(dir / "all.scn") << ScriptText(11, seeded.durationMs);
    MonkeyOptions replay = seeded;
    replay.replay = dir / "all.scn";
    const MonkeyReport b = MonkeyRun(replay);
    ASSERT_EQ(b.failure.kind, Kind::None) << b.failure.what;
    EXPECT_EQ(a.simulatedMs, b.simulatedMs);
    EXPECT_EQ(a.traceLines, b.traceLines);
    EXPECT_GT(a.traceLines, 100U);
    EXPECT_EQ(a.traceHash, b.traceHash);
    EXPECT_EQ(a.lcdWrites, b.lcdWrites);
    EXPECT_EQ(a.busiestMinute, b.busiestMinute);
    EXPECT_EQ(a.restarts, b.restarts);
    EXPECT_EQ(a.dropped, b.dropped);
}

TEST(MonkeyRun, AFailureLeavesAScriptThatReplaysItAndACleanRunNone)
{
    Scratch dir;
    MonkeyOptions o;
    o.seed = 3;
    o.lockDirectory = dir.path();
    o.replayOut = dir / "clean.scn";
    o.durationMs = 600'000;
    EXPECT_EQ(MonkeyRun(o).failure.kind, Kind::None);
    EXPECT_FALSE(std::filesystem::exists(o.replayOut));

    // An internal error reset, as a task of the panel would raise it.
    o.prelude = "wait 1s\npost 1 SIG_BED_ERROR_RESET 136\n";
    o.replayOut = dir / "failed.scn";
    const MonkeyReport failed = MonkeyRun(o);
    ASSERT_EQ(failed.failure.kind, Kind::Restart);
    EXPECT_TRUE(failed.replayWritten);
    std::ifstream in(o.replayOut);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("post 1 SIG_BED_ERROR_RESET 136\n"), std::string::npos);
    EXPECT_NE(text.str().rfind("expect-not *SIG_BED_ERROR_RESET: 136\n"), std::string::npos);

    MonkeyOptions again = o;
    again.replay = o.replayOut;
    again.durationMs = 0;
    const MonkeyReport replayed = MonkeyRun(again);
    EXPECT_TRUE(MonkeySameFailure(failed.failure, replayed.failure))
        << MonkeyFailureName(replayed.failure.kind) << ": " << replayed.failure.what;
}

// A panel stuck in a loop never sleeps, so virtual time stands still; only
// the wall clock can tell.
TEST(MonkeyHangWatchDeathTest, VirtualTimeStandingStillEndsTheRunWithStatusFour)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            std::atomic<std::uint64_t> progress{86'400'042};
            MonkeyHangWatch watch(
                1, [](const std::string& what) { std::fprintf(stderr, "%s\n", what.c_str()); }, progress);
            std::this_thread::sleep_for(std::chrono::seconds(5));
            std::exit(0);
        },
        testing::ExitedWithCode(4), "hang: virtual time stood still at day 1 00:00:00.042");
}

TEST(MonkeyHangWatch, TimeThatMovesIsNoHang)
{
    std::atomic<std::uint64_t> progress{0};
    bool noted = false;
    {
        MonkeyHangWatch watch(
            1, [&](const std::string&) { noted = true; }, progress);
        for (int i = 0; i < 15; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            ++progress;
        }
    }
    EXPECT_FALSE(noted);
}

// Found by a 60-day soak: the test control unit kept every record it read,
// some 1500 an hour, and the host's heap grew without bound.
TEST(SoakFindings, TheControlUnitKeepsOnlyItsNewestRecords)
{
    PanelRun run;
    std::optional<ControlUnit> unit;
    std::vector<std::vector<std::uint8_t>> read;
    std::vector<PanelStep> steps{{1000, [&] { unit.emplace(16); }}};
    for (std::uint64_t t = 1100; t < 75'000; t += 100) {
        steps.push_back({t, [&] {
                             auto r = unit->round();
                             if (!r.empty()) {
                                 read.push_back(std::move(r));
                             }
                         }});
    }
    ASSERT_TRUE(run.run(std::move(steps), 75'000));
    ASSERT_GT(read.size(), 40U);
    ASSERT_EQ(unit->records().size(), 16U);
    EXPECT_EQ(unit->recordsBefore(), read.size() - 16);
    EXPECT_TRUE(std::equal(unit->records().begin(), unit->records().end(), read.end() - 16));
}

// And a scenario still finds the records it waits for among the newest.
TEST(SoakFindings, ExpectRecordLooksAtTheNewestRecords)
{
    Scratch dir;
    std::string error;
    auto scenario = Scenario::parse("r.scn",
                                    "wait 1s\ncontrol-unit on\nwait 4h\nexpect-record 231\nexpect-record 231\n"
                                    "wait 2min\nexpect-record 231\n",
                                    error);
    ASSERT_TRUE(scenario.has_value()) << error;
    RunOptions options;
    options.host.lockDirectory = dir.path();
    options.host.fixedClock = true;
    options.host.err = std::tmpfile();
    EXPECT_EQ(RunScenario(std::move(*scenario), options), RUN_OK);
    std::fclose(options.host.err);
}

// Found by the 24-hour soaks: the control unit did a bus round at every
// wake-up of the script, so a burst of keys a few milliseconds apart had it
// poll far faster than every 100 ms, and the communication task's queue
// overflowed.
TEST(SoakFindings, TheControlUnitPollsEvery100MsHoweverTheWaitsFall)
{
    Scratch dir;
    std::string script = "wait 1s\ncontrol-unit on\nwait 15s\n";
    for (int i = 0; i < 500; ++i) {
        script += "wait 3\n";
    }
    script += "wait 1s\n";
    std::ofstream(dir / "fast.scn") << script;
    MonkeyOptions o;
    o.replay = dir / "fast.scn";
    o.durationMs = 0;
    o.lockDirectory = dir.path();
    const MonkeyReport r = MonkeyRun(o);
    EXPECT_EQ(r.failure.kind, Kind::None) << r.failure.what;
    EXPECT_EQ(r.simulatedMs, 18'500U);
    EXPECT_EQ(r.dropped[DIS_Task], 0U);
}

} // namespace
