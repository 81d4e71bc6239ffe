#include "States.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>

namespace atlas {

namespace {

bool IsWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

// Words and single punctuation characters; blanks only separate.
std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> t;
    for (std::size_t i = 0; i < line.size();) {
        if (std::isspace(static_cast<unsigned char>(line[i])) != 0) {
            ++i;
        } else if (IsWordChar(line[i])) {
            std::size_t j = i;
            while (j < line.size() && IsWordChar(line[j])) {
                ++j;
            }
            t.push_back(line.substr(i, j - i));
            i = j;
        } else {
            t.push_back(line.substr(i++, 1));
        }
    }
    return t;
}

bool IsIdentifier(const std::string& t)
{
    return !t.empty() && IsWordChar(t[0]) && std::isdigit(static_cast<unsigned char>(t[0])) == 0;
}

// Matches tokens from `at` against a pattern: "ID" any identifier, "ID?" an
// optional one, anything else itself. True when the pattern ends the line.
bool Matches(const std::vector<std::string>& t, std::size_t at, std::initializer_list<const char*> pattern)
{
    for (const char* p : pattern) {
        const std::string want(p);
        if (want == "ID?") {
            at += at < t.size() && IsIdentifier(t[at]) && t[at] != "const" ? 1 : 0;
        } else if (at < t.size() && (want == "ID" ? IsIdentifier(t[at]) : t[at] == want)) {
            ++at;
        } else {
            return false;
        }
    }
    return at == t.size() || (at + 1 == t.size() && t[at] == "{");
}

// "SM_State NAME(SM_Hsm* [me], const SM_Event* [e])", perhaps with its "{".
bool IsHandler(const std::vector<std::string>& t)
{
    return Matches(t, 0, {"SM_State", "ID", "(", "SM_Hsm", "*", "ID?", ",", "const", "SM_Event", "*", "ID?", ")"});
}

// "#define ..._STATES(X)"
bool IsListMacro(const std::vector<std::string>& t)
{
    const std::string suffix = "_STATES";
    return t.size() >= 6 && t[0] == "#" && t[1] == "define" && t[2].size() > suffix.size() &&
           t[2].compare(t[2].size() - suffix.size(), suffix.size(), suffix) == 0 && t[3] == "(" && t[4] == "X" &&
           t[5] == ")";
}

} // namespace

std::vector<DefinedState> FindStates(const std::string& file, const std::string& text)
{
    std::vector<DefinedState> found;
    std::istringstream in(text);
    std::string line;
    int n = 0;
    bool inMacro = false;
    bool inList = false;
    while (std::getline(in, line)) {
        ++n;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const bool continues = !line.empty() && line.back() == '\\';
        const std::vector<std::string> t = Tokens(line);
        if (!inMacro && IsListMacro(t)) {
            inList = true;
        }
        if (inList) {
            // Entries X(NAME, SUPER).
            for (std::size_t i = 0; i + 5 < t.size(); ++i) {
                if (t[i] == "X" && t[i + 1] == "(" && IsIdentifier(t[i + 2]) && t[i + 3] == "," &&
                    IsIdentifier(t[i + 4]) && t[i + 5] == ")") {
                    found.push_back({t[i + 2], file, n});
                }
            }
        } else if (!inMacro && !continues && IsHandler(t)) {
            found.push_back({t[1], file, n});
        }
        inMacro = continues && (inMacro || (!t.empty() && t[0] == "#") || inList);
        if (!continues) {
            inList = false;
        }
    }
    return found;
}

bool DiscoverStates(const std::string& folder, std::vector<DefinedState>& states, std::string& error)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        error = folder + ": not a folder";
        return false;
    }
    states.clear();
    for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (!it->is_regular_file() || (p.extension() != ".cpp" && p.extension() != ".h")) {
            continue;
        }
        std::ifstream in(p, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string shown = fs::relative(p, fs::path(folder).parent_path()).generic_string();
        for (DefinedState& s : FindStates(shown, text.str())) {
            states.push_back(std::move(s));
        }
    }
    if (ec) {
        error = folder + ": " + ec.message();
        return false;
    }
    std::sort(states.begin(), states.end(), [](const DefinedState& a, const DefinedState& b) {
        return a.name != b.name ? a.name < b.name : a.file < b.file;
    });
    return true;
}

} // namespace atlas
