// The monkey's input: from a seed, an endless scenario script of keys,
// combinations and holds, test buttons, telegrams, the control unit going
// on and off and bytes on the test serial port, one episode at a time.
#pragma once

#include <cstdint>
#include <string>

#include "tools/monkey/Rng.h"

// What the script has written so far.
struct MonkeyTally {
    std::uint64_t episodes = 0;
    std::uint64_t keyActions = 0; // clicks, presses and holds
    std::uint64_t combinations = 0;
    std::uint64_t longHolds = 0; // a second or more
    std::uint64_t buttons = 0;
    std::uint64_t restarts3am = 0; // asked for after a long pause
    std::uint64_t telegrams = 0;   // data, status and change masks
    std::uint64_t controlUnitSwitches = 0;
    std::uint64_t serialBytes = 0;
};

class MonkeyScript {
  public:
    static constexpr std::uint64_t kShortestHold = 1;            // ms
    static constexpr std::uint64_t kLongestHold = 10 * 60'000;   // ms
    static constexpr std::uint64_t kLongestIdle = 3 * 3'600'000; // ms

    explicit MonkeyScript(std::uint64_t seed) : rng_(seed) {}

    // The next episode: scenario lines ending with a wait.
    std::string next();
    // Milliseconds of all waits written so far: where the script has got to.
    std::uint64_t horizon() const { return horizon_; }
    const MonkeyTally& tally() const { return tally_; }

    // "250ms", "4s", "5min", "1h": the largest unit that is exact.
    static std::string Duration(std::uint64_t ms);

  private:
    void wait(std::uint64_t ms);
    void keys();
    void confirm();
    void longHold();
    void button();
    void data();
    void status();
    void mask();
    void controlUnit();
    void serial();
    std::string someKeys(bool& combination);
    void bytes(const char* verb, const std::uint8_t* b, std::size_t n);

    MonkeyRng rng_;
    std::string out_;
    std::uint64_t horizon_ = 0;
    bool controlUnitOn_ = false;
    bool longPause_ = false; // the last pause was long enough for the screensaver
    MonkeyTally tally_;
};
