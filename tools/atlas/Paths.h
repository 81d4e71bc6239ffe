// The table of state paths (tools/atlas/paths.txt): for every screen state
// the steps that reach it from power-on, as scenario commands. The screen
// atlas draws every path in every language, its coverage check holds the
// table against the states the screen sources define, and the screens
// fuzzer walks the same paths on hostile data-flash images.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace atlas {

// One line of a path: a scenario command, or the word "language", where
// the control unit tells the panel its language (as at a real start).
struct Step {
    int line;
    std::string text;
};

struct Block {
    enum class Kind { Prelude, State };
    Kind kind = Kind::State;
    int line = 0;
    std::string name;        // a state handler's name, or a prelude's name
    std::string variant;     // a state's second path: "boiler sensor fault"; "" for its plain path
    std::string where;       // its place in the menu tree: "Main menu / Heating"
    std::string unreachable; // why nobody can get there (then no steps)
    std::string from;        // the prelude or state whose steps come first
    std::vector<Step> steps; // its own steps, after those of `from`

    bool isWalk() const { return kind == Kind::State && unreachable.empty(); }
    // "BGA_GrundanzeigeMenue" or "BGA_GrundanzeigeMenue.boiler-sensor-fault": file names, fuzzer ids.
    std::string id() const;
    std::string title() const; // "BGA_GrundanzeigeMenue (boiler sensor fault)"
};

struct Table {
    std::string file;
    std::vector<Block> blocks;

    const Block* find(const std::string& name, const std::string& variant = {}) const;
    std::vector<const Block*> walks() const;
};

// Parses and checks the table: every scenario command valid, `from` naming
// an earlier-defined block without a cycle, every walk setting the language
// once, names unique. On error returns false with "file:line: message".
bool ParseTable(const std::string& file, const std::string& text, Table& table, std::string& error);
bool LoadTable(const std::string& file, Table& table, std::string& error);

// The whole scenario of a block for a language index (0 German ... 18).
std::string ExpandPath(const Table& table, const Block& block, std::uint8_t language);

} // namespace atlas
