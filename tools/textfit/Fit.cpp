#include "Fit.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace textfit {

namespace {

int Width(const GUI_FONTDEF* font, const std::vector<std::uint16_t>& line)
{
    int w = 0;
    for (std::uint16_t c : line) {
        w += GUI_FontAdvance(font, c);
    }
    return w;
}

std::vector<std::vector<std::uint16_t>> Lines(const std::vector<std::uint16_t>& codes)
{
    std::vector<std::vector<std::uint16_t>> lines(1);
    for (std::uint16_t c : codes) {
        if (c == '\n') {
            lines.emplace_back();
        } else {
            lines.back().push_back(c);
        }
    }
    return lines;
}

// Lines the panel's word wrap makes of the text in this width.

int WrappedLines(const GUI_FONTDEF* font, const std::vector<std::uint16_t>& codes, int width)
{
    int lines = 0;
    for (const auto& para : Lines(codes)) {
        std::size_t i = 0;
        do {
            int w = 0;
            std::size_t lastBreak = 0;
            std::size_t j = i;
            bool lastWasSpace = true;
            while (j < para.size()) {
                const int adv = GUI_FontAdvance(font, para[j]);
                if (j != i && w + adv > width) {
                    break;
                }
                w += adv;
                if (para[j] == ' ' && !lastWasSpace) {
                    lastBreak = j + 1;
                }
                lastWasSpace = para[j] == ' ';
                ++j;
            }
            if (j < para.size() && lastBreak > i) {
                j = lastBreak;
            }
            while (j < para.size() && para[j] == ' ') {
                ++j;
            }
            ++lines;
            i = j;
        } while (i < para.size());
    }
    return lines;
}

} // namespace

std::vector<std::uint16_t> Decode(const std::string& s)
{
    std::vector<std::uint16_t> codes;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<std::uint8_t>(s[i]);
        if (b < 0x80) {
            codes.push_back(b);
            i += 1;
        } else if ((b & 0xE0) == 0xC0 && i + 1 < s.size()) {
            codes.push_back(static_cast<std::uint16_t>((b & 0x1F) << 6 | (s[i + 1] & 0x3F)));
            i += 2;
        } else if ((b & 0xF0) == 0xE0 && i + 2 < s.size()) {
            codes.push_back(static_cast<std::uint16_t>((b & 0x0F) << 12 | (s[i + 1] & 0x3F) << 6 | (s[i + 2] & 0x3F)));
            i += 3;
        } else {
            codes.push_back(0xFFFF); // no glyph anywhere
            i += 1;
        }
    }
    return codes;
}

int Overflow(const Place& p, const std::vector<std::uint16_t>& codes)
{
    if (p.wrapLines > 0) {
        const int n = WrappedLines(p.font, codes, p.width);
        return n > p.wrapLines ? n - p.wrapLines : 0;
    }
    int worst = 0;
    for (const auto& line : Lines(codes)) {
        worst = std::max(worst, Width(p.font, line) - p.width);
    }
    return worst;
}

bool ReadPlaces(const std::string& path, std::vector<Place>& places, std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot read";
        return false;
    }
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
        ++n;
        const std::size_t hash = line.find('#');
        std::istringstream words(line.substr(0, hash));
        std::string ids;
        std::string font;
        std::string how;
        int width = 0;
        if (!(words >> ids)) {
            continue;
        }
        words >> font >> width >> how;
        Place p{};
        const std::size_t dash = ids.find('-');
        p.first = static_cast<std::uint16_t>(std::stoi(ids.substr(0, dash)));
        p.last = dash == std::string::npos ? p.first : static_cast<std::uint16_t>(std::stoi(ids.substr(dash + 1)));
        p.font = font == "small" ? TXT_FontSmall() : font == "large" ? TXT_FontLarge() : TXT_FontNormal();
        p.fontName = font == "small" ? "small" : font == "large" ? "large" : "normal";
        p.width = width;
        if (how == "wrap") {
            words >> p.wrapLines;
        }
        if ((font != "small" && font != "normal" && font != "large") || width <= 0 ||
            (how != "line" && how != "wrap") || (how == "wrap" && p.wrapLines <= 0) || p.last < p.first) {
            error = path + ":" + std::to_string(n) + ": want IDS FONT WIDTH line|wrap N";
            return false;
        }
        places.push_back(p);
    }
    return true;
}

std::vector<const Place*> PlacesOf(const std::vector<Place>& places, std::uint16_t id)
{
    std::vector<const Place*> found;
    for (const Place& p : places) {
        if (p.first == p.last && p.first == id) {
            found.push_back(&p);
        }
    }
    if (found.empty()) {
        for (const Place& p : places) {
            if (p.first != p.last && id >= p.first && id <= p.last) {
                found.push_back(&p);
                break;
            }
        }
    }
    return found;
}

} // namespace textfit
