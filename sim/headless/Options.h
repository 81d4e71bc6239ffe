// Command line of panel-headless.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/headless/Runner.h"

struct HeadlessCommandLine {
    RunOptions run;
    std::string script;
    std::string plant; // --plant: a plant file the control unit starts with
};

enum class HeadlessParse { Run, Help, Bad };

// Parses argv[1..]. Run: `line` is complete. Help: `message` is the usage
// text for standard output. Bad: `message` says what is wrong (exit 2).
HeadlessParse ParseHeadlessOptions(const std::vector<std::string>& args, HeadlessCommandLine& line,
                                   std::string& message);
std::string HeadlessUsage();

// "YYYY-MM-DDTHH:MM:SS", a real date from 1970 to 2105, as seconds since 1970.
std::optional<std::int64_t> ParseClock(const std::string& text);
