#include "Paths.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "sim/headless/Scenario.h"

namespace atlas {

namespace {

std::string Trim(const std::string& s)
{
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b])) != 0) {
        ++b;
    }
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1])) != 0) {
        --e;
    }
    return s.substr(b, e - b);
}

bool StartsWith(const std::string& s, const char* prefix)
{
    return s.rfind(prefix, 0) == 0;
}

bool IsName(const std::string& s)
{
    if (s.empty() || std::isdigit(static_cast<unsigned char>(s[0])) != 0) {
        return false;
    }
    for (char c : s) {
        if (std::isalnum(static_cast<unsigned char>(c)) == 0 && c != '_' && c != '-') {
            return false;
        }
    }
    return true;
}

// "NAME" or "NAME (variant words)".
bool SplitName(const std::string& text, std::string& name, std::string& variant)
{
    const std::size_t open = text.find('(');
    name = Trim(text.substr(0, open));
    variant.clear();
    if (open != std::string::npos) {
        const std::string rest = Trim(text.substr(open + 1));
        if (rest.size() < 2 || rest.back() != ')') {
            return false;
        }
        variant = Trim(rest.substr(0, rest.size() - 1));
        if (variant.empty() || variant.find_first_of("()") != std::string::npos) {
            return false;
        }
    }
    return IsName(name);
}

std::string Where(const std::string& file, int line)
{
    return file + ":" + std::to_string(line) + ": ";
}

void AppendSteps(const Table& table, const Block& block, std::uint8_t language, std::string& out)
{
    if (!block.from.empty()) {
        std::string name;
        std::string variant;
        SplitName(block.from, name, variant);
        if (const Block* first = table.find(name, variant)) {
            AppendSteps(table, *first, language, out);
        }
    }
    for (const Step& s : block.steps) {
        if (s.text == "language") {
            char line[64];
            std::snprintf(line, sizeof line, "set-image system 5 %02X\ncontrol-unit on\n", language);
            out += line;
        } else {
            out += s.text + "\n";
        }
    }
}

int CountLanguageSteps(const Table& table, const Block& block)
{
    int n = 0;
    for (const Step& s : block.steps) {
        n += s.text == "language" ? 1 : 0;
    }
    if (!block.from.empty()) {
        std::string name;
        std::string variant;
        SplitName(block.from, name, variant);
        if (const Block* first = table.find(name, variant)) {
            n += CountLanguageSteps(table, *first);
        }
    }
    return n;
}

// The block's last scenario command, its own or its `from` block's.
std::string LastCommand(const Table& table, const Block& block)
{
    for (auto s = block.steps.rbegin(); s != block.steps.rend(); ++s) {
        if (s->text != "language") {
            return s->text;
        }
    }
    std::string name;
    std::string variant;
    if (block.from.empty() || !SplitName(block.from, name, variant) || table.find(name, variant) == nullptr) {
        return {};
    }
    return LastCommand(table, *table.find(name, variant));
}

bool LetsTimePass(const std::string& command)
{
    return StartsWith(command, "wait ") || StartsWith(command, "click ") || StartsWith(command, "hold ");
}

} // namespace

std::string Block::id() const
{
    if (variant.empty()) {
        return name;
    }
    std::string slug;
    for (char c : variant) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0) {
            slug += static_cast<char>(std::tolower(u));
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') {
        slug.pop_back();
    }
    return name + "." + slug;
}

std::string Block::title() const
{
    return variant.empty() ? name : name + " (" + variant + ")";
}

const Block* Table::find(const std::string& name, const std::string& variant) const
{
    for (const Block& b : blocks) {
        if (b.name == name && b.variant == variant) {
            return &b;
        }
    }
    return nullptr;
}

std::vector<const Block*> Table::walks() const
{
    std::vector<const Block*> out;
    for (const Block& b : blocks) {
        if (b.isWalk()) {
            out.push_back(&b);
        }
    }
    return out;
}

bool ParseTable(const std::string& file, const std::string& text, Table& table, std::string& error)
{
    table = Table{};
    table.file = file;
    // Scenario commands are checked by the scenario parser, each on its own line number.
    std::vector<std::string> commands;
    std::istringstream in(text);
    std::string raw;
    int n = 0;
    Block* current = nullptr;
    while (std::getline(in, raw)) {
        ++n;
        commands.emplace_back();
        const std::string line = Trim(raw);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const bool header = std::isspace(static_cast<unsigned char>(raw[0])) == 0;
        if (header) {
            Block b;
            b.line = n;
            std::string rest;
            if (StartsWith(line, "state ")) {
                b.kind = Block::Kind::State;
                rest = line.substr(6);
            } else if (StartsWith(line, "prelude ")) {
                b.kind = Block::Kind::Prelude;
                rest = line.substr(8);
            } else {
                error = Where(file, n) + "a block starts with 'state NAME [(variant)]' or 'prelude NAME' at the "
                                         "start of the line; its lines are indented";
                return false;
            }
            if (!SplitName(Trim(rest), b.name, b.variant) || (b.kind == Block::Kind::Prelude && !b.variant.empty())) {
                error = Where(file, n) + "not a name: '" + Trim(rest) + "'";
                return false;
            }
            if (const Block* twin = table.find(b.name, b.variant)) {
                error = Where(file, n) + "'" + b.title() + "' is already defined on line " + std::to_string(twin->line);
                return false;
            }
            table.blocks.push_back(b);
            current = &table.blocks.back();
            continue;
        }
        if (current == nullptr) {
            error = Where(file, n) + "a step outside any block";
            return false;
        }
        Block& b = *current;
        const auto directive = [&](const char* word, std::string& field) {
            const std::string prefix = std::string(word) + ":";
            if (!StartsWith(line, prefix.c_str())) {
                return false;
            }
            field = Trim(line.substr(prefix.size()));
            return true;
        };
        std::string value;
        if (directive("in", value)) {
            b.where = value;
        } else if (directive("unreachable", value)) {
            if (value.empty()) {
                error = Where(file, n) + "unreachable: needs the reason";
                return false;
            }
            b.unreachable = value;
        } else if (directive("from", value)) {
            std::string name;
            std::string variant;
            if (!b.steps.empty() || !b.from.empty()) {
                error = Where(file, n) + "from: comes before the block's own steps, once";
                return false;
            }
            if (!SplitName(value, name, variant) || table.find(name, variant) == nullptr ||
                table.find(name, variant) == &b) {
                error = Where(file, n) + "from: names a block defined above, not '" + value + "'";
                return false;
            }
            if (!table.find(name, variant)->unreachable.empty()) {
                error = Where(file, n) + "from: '" + value + "' has no path";
                return false;
            }
            b.from = value;
        } else if (line == "language") {
            b.steps.push_back({n, line});
        } else {
            b.steps.push_back({n, line});
            commands.back() = line;
        }
    }
    std::string script;
    for (const std::string& c : commands) {
        script += c + "\n";
    }
    std::string scenarioError;
    if (!Scenario::parse(file, script, scenarioError)) {
        error = scenarioError;
        return false;
    }
    for (const Block& b : table.blocks) {
        const std::string at = Where(file, b.line) + "'" + b.title() + "' ";
        if (b.kind == Block::Kind::Prelude) {
            continue;
        }
        if (!b.unreachable.empty()) {
            if (!b.steps.empty() || !b.from.empty() || !b.variant.empty()) {
                error = at + "is unreachable: it has no steps and no variant";
                return false;
            }
            continue;
        }
        if (b.where.empty()) {
            error = at + "needs 'in:', its place in the menu tree";
            return false;
        }
        if (const int languages = CountLanguageSteps(table, b); languages != 1) {
            error = at + "sets the language " + std::to_string(languages) + " times; once is right";
            return false;
        }
        if (!LetsTimePass(LastCommand(table, b))) {
            error = at + "ends without letting time pass (wait, click or hold): its screen would not have settled";
            return false;
        }
    }
    return true;
}

bool LoadTable(const std::string& file, Table& table, std::string& error)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = file + ": cannot read";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return ParseTable(file, text.str(), table, error);
}

std::string ExpandPath(const Table& table, const Block& block, std::uint8_t language)
{
    std::string out;
    AppendSteps(table, block, language, out);
    return out;
}

} // namespace atlas
