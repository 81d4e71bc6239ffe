#include "tools/monkey/Script.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr const char* kKeys[] = {"UP", "OK", "DOWN", "BACK", "MENU", "LEFT", "RIGHT", "HELP"};
constexpr const char* kCombinations[] = {"MENU+OK", "OK+UP", "OK+BACK"};

// Status word bits of the control unit's restart requests (byte 1 of the
// status telegram): each ends in a restart, so they come seldom.
constexpr std::uint8_t kRestartBits = 0x20 | 0x80;

// Commands and registers of the test serial protocol, so that random bytes
// now and then form something the panel answers.
constexpr std::uint8_t kSerialCommands[] = {0x04, 0x05, 0x31, 0x32, 0x3E, 0xF4, 0xF7};
constexpr std::uint8_t kRegisters[] = {0x50, 0x51, 0x52, 0x53, 0x54, 0x55, 0x56, 0x57,
                                       0x58, 0x59, 0x5A, 0xE0, 0xF0, 0xF8, 0xF9, 0xFA};

} // namespace

std::string MonkeyScript::Duration(std::uint64_t ms)
{
    struct Unit {
        std::uint64_t ms;
        const char* name;
    };
    static constexpr Unit kUnits[] = {{3'600'000, "h"}, {60'000, "min"}, {1000, "s"}};
    for (const Unit& u : kUnits) {
        if (ms >= u.ms && ms % u.ms == 0) {
            return std::to_string(ms / u.ms) + u.name;
        }
    }
    return std::to_string(ms) + "ms";
}

std::string MonkeyScript::next()
{
    out_.clear();
    if (tally_.episodes++ == 0) {
        // The control unit's model starts from the panel's defaults, which
        // exist once the panel has run a moment.
        wait(1000);
        if (rng_.chance(70)) {
            controlUnit();
        }
    }
    // After a long pause the screensaver shows: the time for the control
    // unit's restart at 3 o'clock, by its test button or its status word.
    if (longPause_ && rng_.chance(35)) {
        out_ += controlUnitOn_ && rng_.chance(50) ? "send-status 00 20\n" : "button 13\n";
        ++tally_.restarts3am;
    }
    const std::uint64_t kind = rng_.below(100);
    if (kind < 40) {
        keys();
    } else if (kind < 45) {
        confirm();
    } else if (kind < 51) {
        longHold();
    } else if (kind < 59) {
        button();
    } else if (kind < 69) {
        data();
    } else if (kind < 75) {
        status();
    } else if (kind < 79) {
        mask();
    } else if (kind < 82) {
        controlUnit();
    } else if (kind < 90) {
        serial();
    } // else nothing happens but the pause
    // A pause: mostly short, now and then long enough for the screensaver,
    // seldom hours.
    const std::uint64_t pause = rng_.below(100);
    longPause_ = pause >= 95;
    wait(pause < 75   ? rng_.spread(1, 4000)
         : pause < 95 ? rng_.spread(4000, 400'000)
                      : rng_.spread(400'000, kLongestIdle));
    return out_;
}

void MonkeyScript::wait(std::uint64_t ms)
{
    out_ += "wait " + Duration(ms) + "\n";
    horizon_ += ms;
}

std::string MonkeyScript::someKeys(bool& combination)
{
    combination = rng_.chance(25);
    if (!combination) {
        return kKeys[rng_.below(8)];
    }
    if (rng_.chance(50)) {
        return kCombinations[rng_.below(3)];
    }
    // Two or three keys that form no combination, or do by chance.
    std::uint64_t set = 0;
    const std::uint64_t count = rng_.between(2, 3);
    while (static_cast<std::uint64_t>(__builtin_popcountll(set)) < count) {
        set |= std::uint64_t{1} << rng_.below(8);
    }
    std::string keys;
    for (int k = 0; k < 8; ++k) {
        if ((set >> k & 1U) != 0) {
            keys += (keys.empty() ? "" : "+") + std::string(kKeys[k]);
        }
    }
    return keys;
}

void MonkeyScript::keys()
{
    const std::uint64_t actions = rng_.between(1, 12);
    for (std::uint64_t i = 0; i < actions; ++i) {
        bool combination = false;
        const std::string k = someKeys(combination);
        tally_.combinations += combination ? 1 : 0;
        ++tally_.keyActions;
        const std::uint64_t form = rng_.below(100);
        if (form < 30) {
            out_ += "click " + k + "\n";
            horizon_ += 100;
        } else if (form < 75) {
            const std::uint64_t held = rng_.spread(kShortestHold, 3000);
            out_ += "click " + k + " " + Duration(held) + "\n";
            horizon_ += held;
        } else {
            // Keys pressed, others taken over without letting go, released.
            out_ += "press " + k + "\n";
            wait(rng_.spread(kShortestHold, 3000));
            if (rng_.chance(50)) {
                bool more = false;
                out_ += "press " + someKeys(more) + "\n";
                wait(rng_.spread(kShortestHold, 3000));
            }
            out_ += "release\n";
        }
        wait(rng_.spread(1, 2000));
    }
}

// Somebody who says yes to everything: OK after OK, with the pauses the
// feedback screens take, which walks through commissioning.
void MonkeyScript::confirm()
{
    const std::uint64_t n = rng_.between(4, 10);
    for (std::uint64_t i = 0; i < n; ++i) {
        ++tally_.keyActions;
        out_ += "click OK\n";
        horizon_ += 100;
        wait(rng_.chance(25) ? rng_.between(4000, 5000) : rng_.between(200, 600));
    }
}

void MonkeyScript::longHold()
{
    bool combination = false;
    const std::string k = someKeys(combination);
    tally_.combinations += combination ? 1 : 0;
    ++tally_.keyActions;
    ++tally_.longHolds;
    const std::uint64_t held = rng_.spread(1000, kLongestHold);
    out_ += "hold " + k + " " + Duration(held) + "\n";
    horizon_ += held;
}

void MonkeyScript::button()
{
    ++tally_.buttons;
    const std::uint64_t which = rng_.below(100);
    // 13: the 3 o'clock restart, 14: the control unit's reset; seldom.
    const std::uint64_t n = which < 10 ? 13 : which < 15 ? 14 : rng_.between(15, 33);
    out_ += "button " + std::to_string(n) + "\n";
}

void MonkeyScript::bytes(const char* verb, const std::uint8_t* b, std::size_t n)
{
    out_ += verb;
    char hex[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(hex, sizeof hex, " %02X", b[i]);
        out_ += hex;
    }
    out_ += "\n";
}

// A byte of a payload: any value, but small ones and the ends more often.
static std::uint8_t PayloadByte(MonkeyRng& rng)
{
    const std::uint64_t k = rng.below(10);
    return static_cast<std::uint8_t>(k < 5 ? rng.below(256) : k < 8 ? rng.below(11) : (rng.chance(50) ? 0 : 0xFF));
}

void MonkeyScript::data()
{
    ++tally_.telegrams;
    std::uint8_t t[32];
    // Mostly types the panel knows, now and then one it must ignore.
    const std::uint64_t type = rng_.chance(85) ? rng_.below(27) : rng_.between(27, 31);
    t[0] = static_cast<std::uint8_t>(type << 3 | rng_.below(8));
    const std::uint64_t c = rng_.below(100);
    t[1] = static_cast<std::uint8_t>(c < 45 ? 1 : c < 70 ? 2 : c < 90 ? 0 : rng_.between(3, 255));
    const std::size_t n = rng_.chance(70) ? 32 : static_cast<std::size_t>(rng_.between(1, 31));
    for (std::size_t i = 2; i < n; ++i) {
        t[i] = PayloadByte(rng_);
    }
    bytes("send-data", t, n);
}

void MonkeyScript::status()
{
    ++tally_.telegrams;
    std::uint8_t s[20];
    const std::size_t n = rng_.chance(80) ? 20 : static_cast<std::size_t>(rng_.between(1, 19));
    for (std::size_t i = 0; i < n; ++i) {
        s[i] = PayloadByte(rng_);
    }
    if (n > 1 && !rng_.chance(4)) {
        s[1] = static_cast<std::uint8_t>(s[1] & ~kRestartBits);
    }
    bytes("send-status", s, n);
}

void MonkeyScript::mask()
{
    ++tally_.telegrams;
    char line[32];
    std::snprintf(line, sizeof line, "send-mask %04X\n", static_cast<unsigned>(rng_.below(0x10000)));
    out_ += line;
}

void MonkeyScript::controlUnit()
{
    ++tally_.controlUnitSwitches;
    controlUnitOn_ = !controlUnitOn_;
    out_ += controlUnitOn_ ? "control-unit on\n" : "control-unit off\n";
}

void MonkeyScript::serial()
{
    std::vector<std::uint8_t> b;
    const std::uint64_t form = rng_.below(100);
    if (form < 50) {
        // A frame of the test protocol, sometimes cut short.
        b.push_back(kSerialCommands[rng_.below(sizeof kSerialCommands)]);
        const bool known = rng_.chance(70);
        b.push_back(known ? 0x08 : static_cast<std::uint8_t>(rng_.below(256)));
        b.push_back(known ? kRegisters[rng_.below(sizeof kRegisters)] : static_cast<std::uint8_t>(rng_.below(256)));
        const std::uint64_t count = rng_.spread(0, 70);
        b.push_back(static_cast<std::uint8_t>(count));
        const std::uint64_t data = rng_.chance(80) ? count : rng_.below(count + 1);
        for (std::uint64_t i = 0; i < data; ++i) {
            b.push_back(static_cast<std::uint8_t>(rng_.below(256)));
        }
    } else {
        // Noise; a flood overruns the panel's receive ring.
        const std::uint64_t n = form < 85 ? rng_.between(1, 64) : rng_.between(200, 1200);
        for (std::uint64_t i = 0; i < n; ++i) {
            b.push_back(static_cast<std::uint8_t>(rng_.below(256)));
        }
    }
    tally_.serialBytes += b.size();
    // At most 64 bytes a line; lines without a wait between arrive as one burst.
    for (std::size_t at = 0; at < b.size(); at += 64) {
        bytes("serial-send", b.data() + at, std::min<std::size_t>(64, b.size() - at));
    }
}
