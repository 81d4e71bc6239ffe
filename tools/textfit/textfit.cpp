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
#include <string>
#include <vector>

#include "Fit.h"
#include "Texts.h"
#include "gui/GUI_Font.h"

// The fonts' draw operation belongs to the drawing layer, not linked here.
void GUI_FontDrawChar(const GUI_FONTDEF*, std::uint16_t) {}

using namespace textfit;

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
