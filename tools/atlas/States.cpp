#include "States.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

namespace atlas {

std::vector<DefinedState> FindStates(const std::string& file, const std::string& text)
{
    static const std::regex handler(
        R"(^\s*SM_State\s+([A-Za-z_]\w*)\s*\(\s*SM_Hsm\s*\*\s*\w*\s*,\s*const\s+SM_Event\s*\*\s*\w*\s*\)\s*(\{\s*)?$)");
    static const std::regex listMacro(R"(^\s*#\s*define\s+\w+_STATES\s*\(\s*X\s*\))");
    static const std::regex listEntry(R"(\bX\s*\(\s*([A-Za-z_]\w*)\s*,\s*[A-Za-z_]\w*\s*\))");
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
        if (!inMacro && std::regex_search(line, listMacro)) {
            inList = true;
        }
        if (inList) {
            for (std::sregex_iterator m(line.begin(), line.end(), listEntry), end; m != end; ++m) {
                found.push_back({(*m)[1].str(), file, n});
            }
        } else if (!inMacro && !continues && line.find(';') == std::string::npos) {
            std::smatch m;
            if (std::regex_match(line, m, handler)) {
                found.push_back({m[1].str(), file, n});
            }
        }
        inMacro = continues && (inMacro || line.find("#define") != std::string::npos || inList);
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
