// The headless host on hostile input: scenario lines, command-line options,
// data-flash files and scripts that are no files, and a flood of trace lines.
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "core/SM.h"
#include "data/FLS.h"
#include "sim/VirtualTime.h"
#include "sim/headless/Options.h"
#include "sim/headless/Words.h"

namespace {

using Command = ScenarioCommand;

std::string ParseError(const std::string& source)
{
    std::string error;
    EXPECT_FALSE(Scenario::parse("s.scn", source, error).has_value()) << source;
    return error;
}

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.rfind(prefix, 0) == 0;
}

class ScratchDir {
  public:
    ScratchDir()
    {
        char pattern[] = "/tmp/panel-headless-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
};

TEST(ScenarioLanguage, GarbageIsRefusedWithFileLineAndWhatWasExpected)
{
    const std::pair<const char*, const char*> cases[] = {
        {"wait 1s\n\nfrobnicate\n", "s.scn:3: unknown command 'frobnicate'"},
        {"# c\nwait soon\n", "s.scn:2: wait takes one duration such as 500, 250ms, 4s, 5min or 1h (at most 100 days), "
                             "not 'soon'"},
        {"wait 2401h\n", "s.scn:1: wait takes one duration"},
        {"wait 99999999999999999999\n", "s.scn:1: wait takes one duration"},
        {"press OK+SPACE\n", "s.scn:1: press takes one key or keys joined by '+'"},
        {"press OK+\n", "s.scn:1: press takes one key"},
        {"click +OK\n", "s.scn:1: click takes keys joined by '+'"},
        {"hold UP\n", "s.scn:1: hold takes keys joined by '+' (UP OK DOWN BACK MENU LEFT RIGHT HELP) and a duration, "
                      "not 'UP'"},
        {"release OK\n", "s.scn:1: release takes no argument: it lets go of every key, not 'OK'"},
        {"button 12\n", "s.scn:1: button takes a test button number from 13 to 33, not '12'"},
        {"button 13abc\n", "s.scn:1: button takes a test button number from 13 to 33, not '13abc'"},
        {"button +14\n", "s.scn:1: button takes a test button number"},
        {"calibration maybe\n", "s.scn:1: calibration takes on or off, not 'maybe'"},
        {"restart-3am now\n", "s.scn:1: restart-3am takes no argument, not 'now'"},
        {"print-trace all\n", "s.scn:1: print-trace takes no argument, not 'all'"},
        {"expect\n", "s.scn:1: expect takes the trace line to look for"},
        {"snapshot shot.jpg\n", "s.scn:1: snapshot takes one file name ending in .png, not 'shot.jpg'"},
        {"post 9 SIG_COMM_START\n", "s.scn:1: post takes a task from 1 to 5"},
        {"post 1x 5x\n",
         "s.scn:1: post takes a task from 1 to 5, a signal (a name such as SIG_STATUS_UPDATED, or a "
         "number from 5 to 255) and an optional parameter (decimal, or hexadecimal after 0x), not '1x'"},
        {"post 1 5x\n", "s.scn:1: post takes a task"},
        {"post 1 SIG_?\n", "s.scn:1: post takes a task"}, // the name of no signal
        {"post 1 4\n", "s.scn:1: post takes a task"},
        {"post 1 SIG_STATUS_UPDATED 0x100000000\n", "s.scn:1: post takes a task"},
        {"post 1 SIG_STATUS_UPDATED -1\n", "s.scn:1: post takes a task"},
        {"send-data 08 1FF\n", "s.scn:1: send-data takes 1 to 32 hexadecimal bytes, not '1FF'"},
        {"send-data +1 +f\n", "s.scn:1: send-data takes 1 to 32 hexadecimal bytes, not '+1'"},
        {"send-status 0 1 2 3 4 5 6 7 8 9 a b c d e f 10 11 12 13 14\n", "s.scn:1: send-status takes 1 to 20"},
        {"send-mask 0x10\n", "s.scn:1: send-mask takes one hexadecimal 16-bit mask, not '0x10'"},
        {"send-mask 10000\n", "s.scn:1: send-mask takes one hexadecimal 16-bit mask"},
        {"serial-send\n", "s.scn:1: serial-send takes hexadecimal bytes such as 07 00 FF"},
        {"expect-record 12\n", "s.scn:1: expect-record takes a user-operation code from 200 to 252"},
        {"expect-record 253\n", "s.scn:1: expect-record takes a user-operation code from 200 to 252 and optional "
                                "hexadecimal bytes, not '253'"},
        {"set-image status 4294967296 01\n", "s.scn:1: set-image takes a block (status, service, plant, system, "
                                             "display, counters, solar, circuit1, circuit2, messages, messages2, "
                                             "faults, history), a decimal offset inside it and hexadecimal bytes that "
                                             "fit, not '4294967296'"},
        {"set-image status -1 01\n", "s.scn:1: set-image takes a block"},
        {"set-image pantry 0 01\n", "s.scn:1: set-image takes a block"},
        {"control-unit maybe\n", "s.scn:1: control-unit takes on or off, not 'maybe'"},
        {"coding-value 3 1 01 5\n", "s.scn:1: coding-value takes a coding level (1 or 2), a group from 0 to 15, a "
                                    "hexadecimal address and a decimal value from -32768 to 32767, not '3'"},
        {"coding-value 1 16 01 5\n", "s.scn:1: coding-value takes a coding level"},
        {"coding-value 1 1 100 5\n", "s.scn:1: coding-value takes a coding level"},
        {"coding-value 1 1 01 -32769\n", "s.scn:1: coding-value takes a coding level"},
        {"coding-value 1 1 01 +5\n", "s.scn:1: coding-value takes a coding level"},
        {"coding-value 1 1 01 --5\n", "s.scn:1: coding-value takes a coding level"},
        {"coding-value 1 1 01\n", "s.scn:1: coding-value takes a coding level"},
        // Control bytes are refused and never echoed raw.
        {"expect BGA\x1b[2J\n", "s.scn:1: a control character or a byte that is not UTF-8 in the line: "
                                "expect BGA\\x1B[2J"},
        {"\xc2\x9b"
         "31m\n",
         "s.scn:1: a control character or a byte that is not UTF-8 in the line: \\xC2\\x9B31m"},
        {"expect \xff\n", "s.scn:1: a control character or a byte that is not UTF-8 in the line: expect \\xFF"},
    };
    for (const auto& [source, expected] : cases) {
        const std::string error = ParseError(source);
        EXPECT_TRUE(StartsWith(error, expected)) << "script: " << source << "\n  got: " << error;
    }
}

TEST(ScenarioLanguage, EachVerbBecomesItsOwnCommands)
{
    std::string error;
    const auto s = Scenario::parse("dir/s.scn",
                                   "click menu+ok 4s\n"
                                   "hold UP 2min\n"
                                   "fa-parametrisation on\n"
                                   "post 1 SIG_STATUS_UPDATED 0x1F\n"
                                   "post 5 130 7\n"
                                   "set-image status 7 C3\n"
                                   "expect-record 234 03 1A\n"
                                   "send-mask fffF\n"
                                   "expect-lcd golden.png\n"
                                   "expect   BGA_Grundanzeige Entry  \r\n",
                                   error);
    ASSERT_TRUE(s.has_value()) << error;
    const auto& c = s->commands();
    ASSERT_EQ(c.size(), 14U);
    EXPECT_EQ(std::get<Command::Keys>(c[0].action).raw, 0xA0);
    EXPECT_EQ(std::get<Command::Wait>(c[1].action).ms, 4000U);
    EXPECT_EQ(std::get<Command::Keys>(c[2].action).raw, 0);
    EXPECT_EQ(c[4].line, 2);
    EXPECT_EQ(std::get<Command::Wait>(c[4].action).ms, 120000U);
    EXPECT_EQ(std::get<Command::Button>(c[6].action).index, 15);
    const auto& post = std::get<Command::Post>(c[7].action);
    EXPECT_EQ(post.task, 1);
    EXPECT_EQ(post.signal, SIG_STATUS_UPDATED);
    EXPECT_EQ(post.par, 0x1FU);
    EXPECT_EQ(std::get<Command::Post>(c[8].action).signal, 130);
    const auto& image = std::get<Command::SetImage>(c[9].action);
    EXPECT_EQ(image.block, "status");
    EXPECT_EQ(image.offset, 7U);
    EXPECT_EQ(image.bytes, std::vector<std::uint8_t>{0xC3});
    const auto& record = std::get<Command::ExpectRecord>(c[10].action);
    EXPECT_EQ(record.code, 234);
    EXPECT_EQ(record.leading, (std::vector<std::uint8_t>{0x03, 0x1A}));
    EXPECT_EQ(std::get<Command::SendMask>(c[11].action).mask, 0xFFFF);
    EXPECT_EQ(std::get<Command::ExpectLcd>(c[12].action).golden, "dir/golden.png");
    EXPECT_EQ(std::get<Command::Expect>(c[13].action).line, "BGA_Grundanzeige Entry");
    // The last byte of a block is still inside it; one more is not.
    EXPECT_TRUE(Scenario::parse("s.scn", "set-image status 19 01\n", error).has_value()) << error;
    EXPECT_TRUE(StartsWith(ParseError("set-image status 19 01 02\n"), "s.scn:1: set-image takes"));
    // The ends of a coding value's range, its address in hexadecimal.
    const auto coding = Scenario::parse("s.scn", "coding-value 2 15 fF -32768\ncoding-value 1 0 0 32767\n", error);
    ASSERT_TRUE(coding.has_value()) << error;
    const auto& low = std::get<Command::CodingValue>(coding->commands()[0].action);
    EXPECT_EQ(low.level, 2);
    EXPECT_EQ(low.group, 15);
    EXPECT_EQ(low.address, 0xFF);
    EXPECT_EQ(low.value, -32768);
    EXPECT_EQ(std::get<Command::CodingValue>(coding->commands()[1].action).value, 32767);
}

TEST(ScenarioFile, OnlyAFileOfTextIsAScenario)
{
    ScratchDir dir;
    std::string error;
    EXPECT_FALSE(Scenario::load(dir.path(), error).has_value());
    EXPECT_EQ(error, dir.path() + ": a directory, not a scenario");
    EXPECT_FALSE(Scenario::load("/dev/zero", error).has_value());
    EXPECT_EQ(error, "/dev/zero: longer than 1 MiB; a scenario is a text of commands");
    EXPECT_FALSE(Scenario::load(dir / "missing.scn", error).has_value());
    EXPECT_TRUE(StartsWith(error, dir / "missing.scn: cannot read the scenario: ")) << error;
    std::ofstream(dir / "ok.scn") << "wait 1s\n";
    EXPECT_TRUE(Scenario::load(dir / "ok.scn", error).has_value()) << error;
}

HeadlessParse Parse(std::vector<std::string> args, HeadlessCommandLine& line, std::string& message)
{
    line = HeadlessCommandLine{};
    return ParseHeadlessOptions(args, line, message);
}

TEST(HeadlessOptions, ValuesAreTakenWholeOrRefused)
{
    EXPECT_EQ(ParseClock("2026-01-05T08:00:00"), 1767600000);
    EXPECT_EQ(ParseClock("2024-02-29T23:59:59"), 1709251199); // a leap day
    for (const char* bad : {"2026-02-30T08:00:00", "2025-02-29T08:00:00", "2026-04-31T08:00:00", "2026-01-05T24:00:00",
                            "2026-01-05T08:00:60", "2026-1-05T08:00:00", "2026-01-05T08:00:00Z", "+026-01-05T08:00:00",
                            "1969-12-31T23:59:59", "2106-01-01T00:00:00"}) {
        EXPECT_FALSE(ParseClock(bad).has_value()) << bad;
    }
    HeadlessCommandLine line;
    std::string message;
    ASSERT_EQ(Parse({"--clock", "2026-03-01T00:00:00", "s.scn"}, line, message), HeadlessParse::Run) << message;
    EXPECT_TRUE(line.run.host.fixedClock);
    EXPECT_EQ(line.run.host.clock.utcSeconds, 1772323200);
    EXPECT_EQ(Parse({"--clock", "2026-02-30T08:00:00", "s.scn"}, line, message), HeadlessParse::Bad);
    EXPECT_TRUE(StartsWith(message, "panel-headless: --clock wants a real date and time")) << message;
    EXPECT_EQ(Parse({"--lock-dir", "", "s.scn"}, line, message), HeadlessParse::Bad);
    EXPECT_EQ(message, "panel-headless: --lock-dir needs a value, not an empty word");
    EXPECT_EQ(Parse({"--serial", "", "s.scn"}, line, message), HeadlessParse::Bad);
    EXPECT_EQ(Parse({"s.scn", "--lock-dir"}, line, message), HeadlessParse::Bad);
    EXPECT_EQ(message, "panel-headless: --lock-dir needs a value");
    EXPECT_EQ(Parse({"--\x1b]0;owned\x07", "s.scn"}, line, message), HeadlessParse::Bad);
    EXPECT_TRUE(StartsWith(message, "panel-headless: unknown option '--\\x1B]0;owned\\x07'")) << message;
    EXPECT_EQ(Parse({"a.scn", "b.scn"}, line, message), HeadlessParse::Bad);
    EXPECT_EQ(Parse({}, line, message), HeadlessParse::Bad);
    ASSERT_EQ(Parse({"--realtime", "s.scn"}, line, message), HeadlessParse::Run);
    EXPECT_EQ(line.run.host.serial, "pty");
    EXPECT_FALSE(line.run.host.fixedClock);

    EXPECT_EQ(Printable("Übernommen\tok"), "Übernommen\tok");
    EXPECT_EQ(Printable("\x1b[31m\x7f\xc2\x9b\xff\xc3"), "\\x1B[31m\\x7F\\xC2\\x9B\\xFF\\xC3");
    EXPECT_EQ(Printable("\xc0\xaf\xed\xa0\x80"), "\\xC0\\xAF\\xED\\xA0\\x80"); // overlong, surrogate
    EXPECT_EQ(WholeNumber("0255", 10, 255), 255U);
    EXPECT_FALSE(WholeNumber("256", 10, 255));
    EXPECT_FALSE(WholeNumber(" 1", 10, 255));
    EXPECT_FALSE(WholeNumber("18446744073709551616", 10, ~0ULL));
}

TEST(FlashFile, OnlyARegularFileNoLargerThanTheFlash)
{
    ScratchDir dir;
    std::vector<std::uint8_t> image;
    std::string error;
    EXPECT_FALSE(HeadlessHost::readFlashFile(dir.path(), FLS_CAPACITY, image, error));
    EXPECT_EQ(error, "cannot read the data-flash image '" + dir.path() + "': a directory");
    EXPECT_FALSE(HeadlessHost::readFlashFile("/dev/zero", FLS_CAPACITY, image, error));
    EXPECT_EQ(error, "cannot read the data-flash image '/dev/zero': not a regular file");
    EXPECT_TRUE(image.size() <= FLS_CAPACITY);

    // A FIFO without a writer: refused at once, not waited on.
    const std::string fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reading = std::async(std::launch::async, [&] {
        std::vector<std::uint8_t> i;
        std::string e;
        return HeadlessHost::readFlashFile(fifo, FLS_CAPACITY, i, e) ? std::string("read") : e;
    });
    if (reading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK)); // let it go
        FAIL() << "reading a FIFO blocked";
    }
    EXPECT_EQ(reading.get(), "cannot read the data-flash image '" + fifo + "': not a regular file");

    std::vector<char> bytes(FLS_CAPACITY + 1, 'x');
    std::ofstream(dir / "big.bin", std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    EXPECT_FALSE(HeadlessHost::readFlashFile(dir / "big.bin", FLS_CAPACITY, image, error));
    EXPECT_EQ(error, "the data-flash image '" + dir / "big.bin" + "' has " + std::to_string(FLS_CAPACITY + 1) +
                         " bytes; the panel's flash holds " + std::to_string(FLS_CAPACITY));
    std::filesystem::resize_file(dir / "big.bin", FLS_CAPACITY);
    EXPECT_TRUE(HeadlessHost::readFlashFile(dir / "big.bin", FLS_CAPACITY, image, error)) << error;
    EXPECT_EQ(image.size(), FLS_CAPACITY);

    // On the command line: the same refusal, as bad usage.
    HeadlessCommandLine line;
    std::string message;
    EXPECT_EQ(Parse({"--flash", dir.path(), "s.scn"}, line, message), HeadlessParse::Bad);
    EXPECT_EQ(message, "panel-headless: cannot read the data-flash image '" + dir.path() + "': a directory");
}

TEST(HeadlessTrace, AFloodKeepsTheNewestLinesWithinTheLimit)
{
    VirtualTime time;
    HeadlessHost::Options o;
    o.traceLimit = 64 * 1024;
    o.out = std::tmpfile();
    HeadlessHost host(time, o);
    for (int i = 0; i < 100000; ++i) {
        host.trace(("\nUart_0: line " + std::to_string(i)).c_str());
    }
    const std::vector<TraceLine> kept = host.traceLines();
    ASSERT_FALSE(kept.empty());
    EXPECT_LT(kept.size(), 2000U);
    EXPECT_EQ(kept.back().text, "Uart_0: line 99999");
    std::size_t bytes = 0;
    for (const TraceLine& l : kept) {
        bytes += l.text.size();
    }
    EXPECT_LE(bytes, o.traceLimit);
    // Lines keep their numbers: asking from the start gives the oldest kept.
    std::vector<TraceLine> since;
    const std::uint64_t first = host.traceSince(0, since);
    EXPECT_EQ(first + since.size(), 100000U);
    EXPECT_EQ(since.front().text, kept.front().text);
    EXPECT_EQ(host.traceSince(99999, since), 99999U);
    ASSERT_EQ(since.size(), 1U);
    EXPECT_EQ(host.traceSince(100000, since), 100000U);
    EXPECT_TRUE(since.empty());
    // Printing says how many went unprinted.
    host.printTrace();
    std::rewind(o.out);
    char head[64] = {};
    ASSERT_NE(std::fgets(head, sizeof head, o.out), nullptr);
    EXPECT_EQ(std::string(head), "(" + std::to_string(first) + " trace lines not kept)\n");
    // One endless line is cut, not grown.
    host.trace(("\n" + std::string(100000, 'x')).c_str());
    EXPECT_EQ(host.traceLines().back().text.size(), HeadlessHost::kLongestTraceLine);
    std::fclose(o.out);
}

} // namespace
