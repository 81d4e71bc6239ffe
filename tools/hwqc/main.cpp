// panel-hwqc: the factory tester of the hardware quality check, on a serial
// device or the simulator's pseudo-terminal.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "sim/headless/Words.h"
#include "tools/hwqc/Tester.h"

namespace {

const char kUsage[] = "usage: panel-hwqc [--no-pace] PORT STEP...\n"
                      "Speaks the hardware quality check protocol on PORT (a serial device, or the\n"
                      "pseudo-terminal that panel-headless --serial pty prints) at 4800 baud, 8E1.\n"
                      "Steps run in order, with less than the panel's 1 s of silence between them:\n"
                      "  enter                  send 05 until the panel answers (start it just before)\n"
                      "  start | stop           the start and stop commands\n"
                      "  read-cache ADDR N      N bytes of the display cache from ADDR (hexadecimal)\n"
                      "  write-cache ADDR HEX   bytes such as F00FAA into the display cache\n"
                      "  read-register ADDR N   a virtual register\n"
                      "  write-register ADDR HEX\n"
                      "  special N              special function N (decimal)\n"
                      "  send HEX               raw bytes; prints what comes back within 300 ms\n"
                      "  wait MS                silence (1000 or more ends the test on the panel)\n"
                      "  check                  the whole check: registers, the full display cache\n"
                      "                         written and read back, malformed frames; prints figures\n"
                      "--no-pace sends as fast as the line takes bytes (a pseudo-terminal has no baud\n"
                      "rate; by default bytes leave no faster than 4800 baud would carry them).\n"
                      "exit status: 0 every step as the protocol says, 1 a step failed, 2 bad usage\n";

int Bad(const std::string& why)
{
    std::fprintf(stderr, "panel-hwqc: %s\n", why.c_str());
    return 2;
}

std::optional<Bytes> ParseHex(const std::string& s)
{
    if (s.empty() || s.size() % 2 != 0 || s.size() > 2 * 255) {
        return std::nullopt;
    }
    Bytes out;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        const auto v = WholeNumber(s.substr(i, 2), 16, 0xFF);
        if (!v) {
            return std::nullopt;
        }
        out.push_back(static_cast<std::uint8_t>(*v));
    }
    return out;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The factory's whole check; prints each finding and the figures.
bool Check(TesterLine& line, Tester& t)
{
    bool ok = true;
    auto verify = [&ok, &t](bool good, const std::string& what) {
        std::printf("%s %s%s\n", good ? "ok  " : "FAIL", what.c_str(),
                    good || t.error().empty() ? "" : (" (" + t.error() + ")").c_str());
        ok = ok && good;
    };
    auto reg = [&](std::uint16_t address, std::uint8_t count) { return t.readRegister(address, count); };

    const auto part = reg(0x08E0, 7);
    verify(part && *part == Bytes{'5', '1', '7', '0', '7', '9', '0'}, "part number 5170790");
    const auto ident = reg(0x08F8, 4);
    verify(ident && *ident == Bytes{0x11, 0x21, 0x00, 0x01}, "identification 11 21 00 01");
    const auto markerBefore = reg(0x08F0, 2);
    verify(t.special(32), "special function 32 answered");
    const auto markerAfter = reg(0x08F0, 2);
    verify(markerBefore && markerAfter && *markerBefore == Bytes{0xFF, 0xFF} && *markerAfter == Bytes{0x34, 0x12},
           "test marker FFFF, then 1234");

    // A register written past its field: the next field stays.
    const auto factory = reg(0x0853, 1);
    verify(t.writeRegister(0x0852, {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}), "8 bytes into a 7-character field");
    const auto ident3 = reg(0x0852, 8);
    const auto factoryAfter = reg(0x0853, 1);
    verify(ident3 && *ident3 == Bytes{'A', 'B', 'C', 'D', 'E', 'F', 'G', 0}, "the field holds its 7 characters");
    verify(factory && factoryAfter && *factory == *factoryAfter, "the factory byte after it is untouched");
    verify(t.writeRegister(0x0853, {0x5A}) && reg(0x0853, 1) == Bytes{0x5A}, "factory byte written and read back");
    verify(t.writeRegister(0x1234, {1, 2, 3}) && reg(0x1234, 3) == Bytes{0, 0, 0}, "an unknown register reads zeros");
    verify(reg(0x08FA, 9).has_value() && line.drain(200).empty(), "a register count above 8 sends 8 bytes");

    // The whole display cache, written and read back in frames of 60.
    constexpr std::uint16_t kCache = 4800;
    Bytes pattern(kCache);
    std::uint32_t seed = 12345;
    for (auto& b : pattern) {
        seed = seed * 1103515245U + 12345U;
        b = static_cast<std::uint8_t>(seed >> 16);
    }
    const std::uint64_t sent0 = line.sent();
    const std::uint64_t received0 = line.received();
    auto start = std::chrono::steady_clock::now();
    bool written = true;
    for (std::uint16_t a = 0; a < kCache && written; a += 60) {
        written = t.writeCache(a, Bytes(pattern.begin() + a, pattern.begin() + a + 60));
    }
    const double writeSeconds = Seconds(start);
    const std::uint64_t writeBytes = line.sent() - sent0 + line.received() - received0;
    verify(written, "4800 bytes written to the display cache in 80 frames");
    start = std::chrono::steady_clock::now();
    Bytes back;
    for (std::uint16_t a = 0; a < kCache; a += 60) {
        const auto part60 = t.readCache(a, 60);
        if (!part60) {
            break;
        }
        back.insert(back.end(), part60->begin(), part60->end());
    }
    const double readSeconds = Seconds(start);
    const std::uint64_t readBytes = line.sent() - sent0 + line.received() - received0 - writeBytes;
    verify(back == pattern && line.drain(200).empty(), "4800 bytes read back, none lost, none extra");
    std::printf("figure: full cache write: %llu bytes on the line in %.2f s = %.0f bytes/s\n",
                static_cast<unsigned long long>(writeBytes), writeSeconds, writeBytes / writeSeconds);
    std::printf("figure: full cache read: %llu bytes on the line in %.2f s = %.0f bytes/s\n",
                static_cast<unsigned long long>(readBytes), readSeconds, readBytes / readSeconds);

    // Malformed frames.
    Bytes frame{0x31, 0x00, 0x00, 61};
    frame.insert(frame.end(), 60, 0xFF);
    verify(line.send(frame) && line.receive(1, Tester::kAnswerMs) == Bytes{0x00}, "a cache count of 61 is taken as 60");
    const auto after60 = t.readCache(60, 1);
    verify(after60 && *after60 == Bytes{pattern[60]}, "the byte after those 60 is untouched");
    verify(t.writeCache(0x12BF, {0xFF, 0xFF, 0xFF}) && t.readCache(0x12BE, 4) == Bytes{pattern[0x12BE], 0xFF, 0, 0},
           "bytes past the cache's end are neither written nor read");
    verify(line.send({0x99, 0x00, 0x42}) && line.drain(300).empty() && t.startCommand(),
           "bytes that are no command are ignored");
    verify(line.send({0x32, 0x00, 0x00, 0x00}) && line.drain(300).empty() && t.startCommand(),
           "a read of 0 bytes sends nothing");
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    bool pace = true;
    if (!args.empty() && (args[0] == "-h" || args[0] == "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (!args.empty() && args[0] == "--no-pace") {
        pace = false;
        args.erase(args.begin());
    }
    if (args.size() < 2) {
        return Bad(std::string("a port and at least one step are needed\n") + kUsage);
    }
    // Every step is checked before the line is opened: a typo must not
    // leave the panel waiting half-way through the test.
    struct Step {
        std::string name;
        std::uint64_t a = 0;
        std::uint64_t n = 0;
        Bytes bytes;
    };
    std::vector<Step> steps;
    for (std::size_t i = 1; i < args.size(); ++i) {
        Step s{args[i], 0, 0, {}};
        auto value = [&](const char* what) -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                Bad(s.name + " needs " + what);
                return std::nullopt;
            }
            return args[++i];
        };
        auto address = [&]() {
            const auto v = value("an address");
            const auto n = v ? WholeNumber(*v, 16, 0xFFFF) : std::nullopt;
            if (v && !n) {
                Bad(s.name + " takes an address of 0000 to FFFF, not '" + Printable(*v) + "'");
            }
            return n;
        };
        if (s.name == "enter" || s.name == "start" || s.name == "stop" || s.name == "check") {
        } else if (s.name == "read-cache" || s.name == "read-register" || s.name == "write-cache" ||
                   s.name == "write-register") {
            const auto a = address();
            if (!a) {
                return 2;
            }
            s.a = *a;
            const auto v = value(s.name.rfind("read", 0) == 0 ? "a count" : "bytes");
            if (!v) {
                return 2;
            }
            if (s.name.rfind("read", 0) == 0) {
                const auto n = WholeNumber(*v, 10, 255);
                if (!n) {
                    return Bad(s.name + " takes a count of 0 to 255, not '" + Printable(*v) + "'");
                }
                s.n = *n;
            } else {
                const auto b = ParseHex(*v);
                if (!b) {
                    return Bad(s.name + " takes 1 to 255 hexadecimal bytes such as F00FAA, not '" + Printable(*v) +
                               "'");
                }
                s.bytes = *b;
            }
        } else if (s.name == "special" || s.name == "wait") {
            const auto v = value(s.name == "wait" ? "milliseconds" : "a function number");
            if (!v) {
                return 2;
            }
            const auto n = WholeNumber(*v, 10, s.name == "wait" ? 60000 : 255);
            if (!n) {
                return Bad(s.name + (s.name == "wait" ? " takes 0 to 60000 ms" : " takes 0 to 255") + ", not '" +
                           Printable(*v) + "'");
            }
            s.n = *n;
        } else if (s.name == "send") {
            const auto v = value("bytes");
            const auto b = v ? ParseHex(*v) : std::nullopt;
            if (!b) {
                return v ? Bad("send takes 1 to 255 hexadecimal bytes such as F708E007, not '" + Printable(*v) + "'")
                         : 2;
            }
            s.bytes = *b;
        } else {
            return Bad("unknown step '" + Printable(s.name) + "'\n" + kUsage);
        }
        steps.push_back(s);
    }

    TesterLine line;
    if (const std::string why = line.open(args[0]); !why.empty()) {
        return Bad("cannot open " + Printable(args[0]) + ": " + why);
    }
    line.pace(pace);
    Tester t(line);
    for (const Step& s : steps) {
        bool ok = true;
        if (s.name == "enter") {
            ok = t.enter(4000);
        } else if (s.name == "start") {
            ok = t.startCommand();
        } else if (s.name == "stop") {
            ok = t.stop();
        } else if (s.name == "read-cache" || s.name == "read-register") {
            const auto got = s.name == "read-cache"
                                 ? t.readCache(static_cast<std::uint16_t>(s.a), static_cast<std::uint8_t>(s.n))
                                 : t.readRegister(static_cast<std::uint16_t>(s.a), static_cast<std::uint8_t>(s.n));
            ok = got.has_value();
            if (ok) {
                std::printf("%s %04X:%s\n", s.name.c_str(), static_cast<unsigned>(s.a), Hex(*got).c_str());
            }
        } else if (s.name == "write-cache") {
            ok = t.writeCache(static_cast<std::uint16_t>(s.a), s.bytes);
        } else if (s.name == "write-register") {
            ok = t.writeRegister(static_cast<std::uint16_t>(s.a), s.bytes);
        } else if (s.name == "special") {
            ok = t.special(static_cast<std::uint8_t>(s.n));
        } else if (s.name == "send") {
            ok = line.send(s.bytes);
            std::printf("send%s:%s\n", Hex(s.bytes).c_str(), Hex(line.drain(300)).c_str());
        } else if (s.name == "wait") {
            std::this_thread::sleep_for(std::chrono::milliseconds(s.n));
        } else if (s.name == "check") {
            if (!Check(line, t)) {
                std::printf("check: FAILED\n");
                return 1;
            }
            std::printf("check: passed\n");
            continue;
        }
        if (!ok) {
            std::fprintf(stderr, "panel-hwqc: %s failed: %s\n", s.name.c_str(),
                         t.error().empty() ? "the line refused the bytes" : t.error().c_str());
            return 1;
        }
    }
    return 0;
}
