#include "Atlas.h"

#include <cctype>
#include <sstream>

#include "Texts.h"

namespace atlas {

namespace {

std::string Escape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string Unescape(const std::string& s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            const char c = s[++i];
            out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
        } else {
            out += s[i];
        }
    }
    return out;
}

std::vector<std::string> Fields(const std::string& line)
{
    std::vector<std::string> f;
    std::size_t from = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', from);
        f.push_back(Unescape(line.substr(from, tab - from)));
        if (tab == std::string::npos) {
            return f;
        }
        from = tab + 1;
    }
}

} // namespace

std::vector<LanguageInfo> AllLanguages()
{
    std::vector<LanguageInfo> out;
    for (std::uint8_t i = 0; i < FLS_LANGUAGE_COUNT; ++i) {
        std::string code = flashgen::kLanguages[i].code;
        for (char& c : code) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        out.push_back({i, code, flashgen::kLanguages[i].name});
    }
    return out;
}

// One shot: a line "S", then one line per overflow "O"; fields apart by tabs.
std::string Serialise(const Shot& s)
{
    std::ostringstream out;
    out << "S\t" << Escape(s.language) << '\t' << Escape(s.block) << '\t' << (s.reached ? 1 : 0) << '\t'
        << Escape(s.shown) << '\t' << Escape(s.failure) << '\t' << (s.hasHelp ? 1 : 0) << '\t' << Escape(s.helpTitle)
        << '\t' << Escape(s.helpBody) << '\n';
    for (const OverflowMark& m : s.overflows) {
        out << "O\t" << m.id << '\t' << m.over << '\t' << (m.lines ? 1 : 0) << '\t' << (m.germanToo ? 1 : 0) << '\t'
            << m.box.x0 << '\t' << m.box.y0 << '\t' << m.box.x1 << '\t' << m.box.y1 << '\t' << Escape(m.text) << '\n';
    }
    return out.str();
}

std::vector<Shot> Deserialise(const std::string& text)
{
    std::vector<Shot> shots;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> f = Fields(line);
        if (f[0] == "S" && f.size() == 9) {
            Shot s;
            s.language = f[1];
            s.block = f[2];
            s.reached = f[3] == "1";
            s.shown = f[4];
            s.failure = f[5];
            s.hasHelp = f[6] == "1";
            s.helpTitle = f[7];
            s.helpBody = f[8];
            shots.push_back(s);
        } else if (f[0] == "O" && f.size() == 10 && !shots.empty()) {
            const auto n = [&](std::size_t i) { return std::stoi(f[i]); };
            const auto b = [&](std::size_t i) { return static_cast<std::int16_t>(n(i)); };
            shots.back().overflows.push_back({static_cast<std::uint16_t>(n(1)), n(2), f[3] == "1", f[4] == "1",
                                              GUI_BOX{b(5), b(6), b(7), b(8)}, f[9]});
        }
    }
    return shots;
}

} // namespace atlas
