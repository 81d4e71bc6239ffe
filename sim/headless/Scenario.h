// Scenario scripts: a small line-oriented language that drives the panel
// (time, keys, test buttons) and checks its trace. See docs/scenarios.md.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ControlUnit;
class HeadlessHost;

struct ScenarioCommand {
    enum class Kind {
        Wait,
        Keys,
        Button,
        Expect,
        ExpectNot,
        PrintTrace,
        Snapshot,
        ExpectLcd,
        ControlUnitOn,
        ControlUnitOff,
        SendData,
        SendStatus,
        SendMask,
        ExpectRecord,
        Post,
        SerialSend,
        ExpectSerial,
        SetImage,
    };
    Kind kind;
    int line;
    std::uint64_t ms = 0;            // Wait
    std::uint8_t raw = 0;            // Keys: the key byte (0 = all up)
    int button = 0;                  // Button: region index of a test button; Post: the task
    std::uint16_t signal = 0;        // Post
    std::uint32_t par = 0;           // Post
    std::string text;                // Expect, ExpectNot; the file of Snapshot and ExpectLcd
    std::vector<std::uint8_t> bytes; // SendData, SendStatus, SendMask; ExpectRecord: code, then leading parameters
};

class Scenario {
  public:
    // Parses a script; on error returns nothing and sets "file:line: message".
    static std::optional<Scenario> parse(const std::string& file, const std::string& source, std::string& error);
    static std::optional<Scenario> load(const std::string& file, std::string& error);

    enum class Step { Wait, End, Failed };
    // Runs commands up to the next wait (whose length it stores in waitMs).
    Step run(HeadlessHost& host, std::uint64_t& waitMs);
    const std::string& failure() const { return failure_; }
    const std::vector<ScenarioCommand>& commands() const { return commands_; }

  private:
    bool expect(HeadlessHost& host, const ScenarioCommand& c);
    bool expectNot(HeadlessHost& host, const ScenarioCommand& c);
    bool snapshot(HeadlessHost& host, const ScenarioCommand& c);
    bool expectLcd(HeadlessHost& host, const ScenarioCommand& c);
    bool expectRecord(const ScenarioCommand& c);
    bool expectSerial(HeadlessHost& host, const ScenarioCommand& c);
    ControlUnit& controlUnit();

    std::string file_;
    std::vector<ScenarioCommand> commands_;
    std::size_t pc_ = 0;
    std::size_t traceCursor_ = 0;
    std::string failure_;
    std::shared_ptr<ControlUnit> controlUnit_;
    bool busRounds_ = false;        // the control unit answers every 100 ms
    std::uint64_t pendingWait_ = 0; // of a wait cut into bus rounds
    std::size_t recordCursor_ = 0;
    std::size_t serialCursor_ = 0;
};
