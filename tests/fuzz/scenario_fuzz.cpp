// The scenario parser on arbitrary text: a script is either refused with
// its file, a line that exists and a message safe for a terminal, or every
// command it yields is within the ranges its verb allows.
#include <cstdint>
#include <string>
#include <type_traits>
#include <variant>

#include "sim/headless/Scenario.h"
#include "sim/headless/Words.h"

namespace {

bool InRange(const ScenarioCommand::Action& action)
{
    using C = ScenarioCommand;
    return std::visit(
        [](const auto& c) {
            using T = std::decay_t<decltype(c)>;
            if constexpr (std::is_same_v<T, C::Wait>) {
                return c.ms <= 100ULL * 24 * 3600 * 1000;
            } else if constexpr (std::is_same_v<T, C::Button>) {
                return c.index >= 13 && c.index <= 33;
            } else if constexpr (std::is_same_v<T, C::Post>) {
                return c.task >= 1 && c.task <= 5 && c.signal >= 5 && c.signal <= 255;
            } else if constexpr (std::is_same_v<T, C::ExpectRecord>) {
                return c.code >= 200 && c.code <= 252;
            } else if constexpr (std::is_same_v<T, C::SendData>) {
                return !c.telegram.empty() && c.telegram.size() <= 32;
            } else if constexpr (std::is_same_v<T, C::SendStatus>) {
                return !c.telegram.empty() && c.telegram.size() <= 20;
            } else if constexpr (std::is_same_v<T, C::Expect> || std::is_same_v<T, C::ExpectNot>) {
                return !c.line.empty() && Printable(c.line) == c.line;
            } else if constexpr (std::is_same_v<T, C::SetImage>) {
                return !c.bytes.empty();
            } else {
                return true;
            }
        },
        action);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string source(reinterpret_cast<const char*>(data), size);
    int lines = 1;
    for (char c : source) {
        lines += c == '\n' ? 1 : 0;
    }
    std::string error;
    const auto scenario = Scenario::parse("f.scn", source, error);
    if (!scenario) {
        const std::size_t colon = error.find(':', 6);
        const int line = colon == std::string::npos ? 0 : std::atoi(error.c_str() + 6);
        if (error.rfind("f.scn:", 0) != 0 || line < 1 || line > lines || Printable(error) != error) {
            __builtin_trap();
        }
        return 0;
    }
    for (const ScenarioCommand& c : scenario->commands()) {
        if (c.line < 1 || c.line > lines || !InRange(c.action)) {
            __builtin_trap();
        }
    }
    const std::string shown = Printable(source);
    if (Printable(shown) != shown) {
        __builtin_trap();
    }
    return 0;
}
