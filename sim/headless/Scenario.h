// Scenario scripts: a small line-oriented language that drives the panel
// (time, keys, test buttons) and checks its trace. See docs/scenarios.md.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

class ControlUnit;
class HeadlessHost;
struct PlantField;

// One command of a script: its line and what it does.
struct ScenarioCommand {
    struct Wait {
        std::uint64_t ms;
    };
    struct Keys {
        std::uint8_t raw; // the key byte; 0: all up
    };
    struct Button {
        int index; // region index of a test button
    };
    struct Expect {
        std::string line;
    };
    struct ExpectNot {
        std::string line;
    };
    struct PrintTrace {};
    struct Snapshot {
        std::string file;
    };
    struct ExpectLcd {
        std::string golden;
    };
    struct ControlUnitSwitch {
        bool on;
    };
    struct SendData {
        std::vector<std::uint8_t> telegram;
    };
    struct SendStatus {
        std::vector<std::uint8_t> telegram;
    };
    struct SendMask {
        std::uint16_t mask;
    };
    struct ExpectRecord {
        std::uint8_t code;
        std::vector<std::uint8_t> leading; // first parameter bytes
    };
    struct Post {
        std::uint8_t task;
        std::uint16_t signal;
        std::uint32_t par;
    };
    struct SerialSend {
        std::vector<std::uint8_t> bytes;
    };
    struct ExpectSerial {
        std::vector<std::uint8_t> bytes;
    };
    struct SetImage {
        std::string block;
        std::size_t offset;
        std::vector<std::uint8_t> bytes;
    };
    struct CodingValue {
        std::uint8_t level;
        std::uint8_t group;
        std::uint8_t address;
        std::int16_t value;
    };
    struct PlantFile {
        std::string path;
        std::string text; // checked when the script was read
    };
    struct PlantSet {
        const PlantField* field;
        int value;
    };
    using Action = std::variant<Wait, Keys, Button, Expect, ExpectNot, PrintTrace, Snapshot, ExpectLcd,
                                ControlUnitSwitch, SendData, SendStatus, SendMask, ExpectRecord, Post, SerialSend,
                                ExpectSerial, SetImage, PlantFile, CodingValue, PlantSet>;

    int line;
    Action action;
};

class Scenario {
  public:
    // Scripts longer than this are refused: a scenario is a hand-written text.
    static constexpr std::size_t kMaxBytes = 1 << 20;

    // Parses a script; on error returns nothing and sets "file:line: message".
    static std::optional<Scenario> parse(const std::string& file, const std::string& source, std::string& error);
    // Reads and parses a script file (no directory, at most kMaxBytes).
    static std::optional<Scenario> load(const std::string& file, std::string& error);
    // Parses more lines onto the end, numbered on from the last; commands
    // already run are let go. For a script written while it runs: what
    // runs is what a file of all the parts together would run, as long as
    // each part is added before run() has come to the end of the last.
    bool append(const std::string& source, std::string& error);
    // The control unit connects with this plant file's plant at
    // kPlantStartMs of the script's time, once the panel has its defaults.
    bool startWithPlant(const std::string& path, std::string& error);

    enum class Step { Wait, End, Failed };
    // Runs commands up to the next wait (whose length it stores in waitMs).
    Step run(HeadlessHost& host, std::uint64_t& waitMs);
    const std::string& failure() const { return failure_; }
    const std::vector<ScenarioCommand>& commands() const { return commands_; }

  private:
    struct Exec; // runs one command; defined with the commands
    bool fail(int line, const std::string& why);
    ControlUnit& controlUnit();

    std::string file_;
    int lines_ = 0; // lines parsed so far
    std::vector<ScenarioCommand> commands_;
    std::size_t pc_ = 0;
    std::uint64_t traceCursor_ = 0; // number of the next trace line to look at
    std::string failure_;
    std::shared_ptr<ControlUnit> controlUnit_;
    bool busRounds_ = false;         // the control unit answers every 100 ms
    std::uint64_t pendingWait_ = 0;  // of a wait cut into bus rounds
    std::uint64_t sinceRound_ = 0;   // ms of waits since the last bus round
    std::uint64_t recordCursor_ = 0; // number of the next record to look at
    std::size_t serialCursor_ = 0;
};
