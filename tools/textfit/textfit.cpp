// Checks that every text of every language fits where the panel draws it,
// with the real fonts' advances, and that the fonts have all its characters.
// German is the baseline: a translation may not overflow a place that the
// German text fits.
//
//   textfit --po assets/po --places tools/textfit/places.txt [--verbose]
//
// Exit status 0 when no translation overflows beyond German and no glyph is
// missing, 1 otherwise, 2 on bad input.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "Texts.h"
#include "gui/GUI_Font.h"

// The fonts' draw operation belongs to the drawing layer, not linked here.
void GUI_FontDrawChar(const GUI_FONTDEF*, std::uint16_t) {}

namespace {

struct Place {
    std::uint16_t first;
    std::uint16_t last;
    const GUI_FONTDEF* font;
    const char* fontName;
    int width;
    int wrapLines; // 0: every line must fit
};

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

// How much the text exceeds the place: 0 when it fits.
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

// A text's places: every explicit one naming it, else the first default range.
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

} // namespace

int main(int argc, char** argv)
{
    std::string poDir;
    std::string placesPath;
    bool verbose = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--po") == 0 && i + 1 < argc) {
            poDir = argv[++i];
        } else if (std::strcmp(argv[i], "--places") == 0 && i + 1 < argc) {
            placesPath = argv[++i];
        } else if (std::strcmp(argv[i], "--verbose") == 0) {
            verbose = true;
        } else {
            std::fprintf(stderr, "usage: textfit --po DIR --places FILE [--verbose]\n");
            return 2;
        }
    }
    std::string error;
    std::vector<Place> places;
    flashgen::Database db;
    if (poDir.empty() || placesPath.empty() || !ReadPlaces(placesPath, places, error) ||
        !flashgen::LoadDirectory(poDir, db, error)) {
        std::fprintf(stderr, "textfit: %s\n", error.empty() ? "--po and --places are needed" : error.c_str());
        return 2;
    }
    int failures = 0;
    std::printf("%-4s %-5s %6s %10s %12s %15s\n", "lang", "code", "texts", "overflows", "beyond German",
                "glyph faults");
    for (std::size_t lang = 0; lang < db.languages.size(); ++lang) {
        if (lang != 0 && !db.translated[lang]) {
            continue;
        }
        int overflows = 0;
        int beyond = 0;
        int missing = 0;
        const flashgen::Texts& texts = db.languages[lang];
        for (std::uint16_t id = 0; id < texts.size(); ++id) {
            const auto codes = Decode(texts[id]);
            const auto german = Decode(db.german[id]);
            // A hint that ends in a key pictogram still ends in it: the eye looks there.
            const auto isPictogram = [](std::uint16_t c) { return c >= 0x266C && c <= 0x2674; };
            if (lang != 0 && !german.empty() && isPictogram(german.back()) &&
                (codes.empty() || codes.back() != german.back())) {
                ++missing;
                std::printf("  %s %u: does not end in the pictogram German ends in: \"%s\"\n",
                            flashgen::kLanguages[lang].code, id, texts[id].c_str());
            }
            for (const Place* p : PlacesOf(places, id)) {
                for (std::uint16_t c : codes) {
                    if (c != '\n' && !GUI_FontHasGlyph(p->font, c)) {
                        ++missing;
                        std::printf("  %s %u: U+%04X not in the %s font\n", flashgen::kLanguages[lang].code, id, c,
                                    p->fontName);
                    }
                }
                const int over = Overflow(*p, codes);
                if (over == 0) {
                    continue;
                }
                ++overflows;
                const bool germanFits = Overflow(*p, german) == 0;
                if (germanFits) {
                    ++beyond;
                }
                if (germanFits || verbose) {
                    std::printf("  %s %u: %s %d %s in the %s font, %d px%s: \"%s\"\n", flashgen::kLanguages[lang].code,
                                id, p->wrapLines > 0 ? "takes" : "over by", over,
                                p->wrapLines > 0 ? "lines more" : "px", p->fontName, p->width,
                                germanFits ? "" : " (German too)", texts[id].c_str());
                }
            }
        }
        std::printf("%-4zu %-5s %6zu %10d %12d %15d\n", lang, flashgen::kLanguages[lang].code, texts.size(), overflows,
                    beyond, missing);
        failures += beyond + missing;
    }
    return failures == 0 ? 0 : 1;
}
