// Builds the panel's three bitmap fonts as constant C++ data.
//
// The 8-pixel font is drawn by hand in glyphs8.txt; accented letters are
// composed from a base letter and an accent. The 20- and 32-pixel fonts are
// rendered from DejaVu Sans with hinted monochrome rendering, each glyph
// squeezed horizontally until it fits its cell; glyphs20.txt and glyphs32.txt
// replace single renderings that came out badly.
//
// Usage: fontgen FONT.ttf GLYPHDIR OUTDIR

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Bitmap {
    int w = 0;
    int h = 0;
    std::vector<std::uint8_t> px;

    Bitmap() = default;
    Bitmap(int width, int height) : w(width), h(height), px(static_cast<std::size_t>(width * height)) {}

    bool at(int x, int y) const
    {
        return x >= 0 && y >= 0 && x < w && y < h && px[static_cast<std::size_t>(y * w + x)] != 0;
    }
    void set(int x, int y, bool on = true)
    {
        if (x >= 0 && y >= 0 && x < w && y < h) {
            px[static_cast<std::size_t>(y * w + x)] = on ? 1 : 0;
        }
    }
    bool rowEmpty(int y) const
    {
        for (int x = 0; x < w; ++x) {
            if (at(x, y)) {
                return false;
            }
        }
        return true;
    }
    bool colEmpty(int x) const
    {
        for (int y = 0; y < h; ++y) {
            if (at(x, y)) {
                return false;
            }
        }
        return true;
    }
    bool empty() const
    {
        return std::none_of(px.begin(), px.end(), [](std::uint8_t p) { return p != 0; });
    }
    int top() const
    {
        int y = 0;
        while (y < h && rowEmpty(y)) {
            ++y;
        }
        return y;
    }
    int bottom() const
    {
        int y = h - 1;
        while (y >= 0 && rowEmpty(y)) {
            --y;
        }
        return y;
    }
    int left() const
    {
        int x = 0;
        while (x < w && colEmpty(x)) {
            ++x;
        }
        return x;
    }
    int right() const
    {
        int x = w - 1;
        while (x >= 0 && colEmpty(x)) {
            --x;
        }
        return x;
    }
    void eraseRow(int y)
    {
        px.erase(px.begin() + y * w, px.begin() + (y + 1) * w);
        --h;
    }
    void insertRow(int y)
    {
        px.insert(px.begin() + y * w, static_cast<std::size_t>(w), 0);
        ++h;
    }
    bool rowsEqual(int a, int b) const
    {
        for (int x = 0; x < w; ++x) {
            if (at(x, a) != at(x, b)) {
                return false;
            }
        }
        return true;
    }
};

struct Range {
    std::uint16_t first;
    std::uint16_t last;
};

struct FontSpec {
    const char* name;
    const char* file;
    int height;
    int baseline;
    int lowercase;
    int capital;
    std::vector<Range> ranges;
    std::array<int, 95> ascii;
    int gap;  // blank columns a rendered glyph keeps in its cell at least
    int stem; // width of vertical stems in rendered glyphs
};

enum Accent { GRAVE, ACUTE, CIRCUMFLEX, TILDE, MACRON, BREVE, DOT, DIAERESIS, RING, DACUTE, CARON, CEDILLA, OGONEK };

struct Decomposition {
    std::uint16_t code;
    std::uint16_t base;
    Accent accent;
};

// clang-format off
constexpr Decomposition kDecompositions[] = {
{0x00C0,0x0041,GRAVE}, {0x00C1,0x0041,ACUTE}, {0x00C2,0x0041,CIRCUMFLEX}, {0x00C3,0x0041,TILDE},
{0x00C4,0x0041,DIAERESIS}, {0x00C5,0x0041,RING}, {0x00C7,0x0043,CEDILLA}, {0x00C8,0x0045,GRAVE},
{0x00C9,0x0045,ACUTE}, {0x00CA,0x0045,CIRCUMFLEX}, {0x00CB,0x0045,DIAERESIS}, {0x00CC,0x0049,GRAVE},
{0x00CD,0x0049,ACUTE}, {0x00CE,0x0049,CIRCUMFLEX}, {0x00CF,0x0049,DIAERESIS}, {0x00D1,0x004E,TILDE},
{0x00D2,0x004F,GRAVE}, {0x00D3,0x004F,ACUTE}, {0x00D4,0x004F,CIRCUMFLEX}, {0x00D5,0x004F,TILDE},
{0x00D6,0x004F,DIAERESIS}, {0x00D9,0x0055,GRAVE}, {0x00DA,0x0055,ACUTE}, {0x00DB,0x0055,CIRCUMFLEX},
{0x00DC,0x0055,DIAERESIS}, {0x00DD,0x0059,ACUTE}, {0x00E0,0x0061,GRAVE}, {0x00E1,0x0061,ACUTE},
{0x00E2,0x0061,CIRCUMFLEX}, {0x00E3,0x0061,TILDE}, {0x00E4,0x0061,DIAERESIS}, {0x00E5,0x0061,RING},
{0x00E7,0x0063,CEDILLA}, {0x00E8,0x0065,GRAVE}, {0x00E9,0x0065,ACUTE}, {0x00EA,0x0065,CIRCUMFLEX},
{0x00EB,0x0065,DIAERESIS}, {0x00EC,0x0069,GRAVE}, {0x00ED,0x0069,ACUTE}, {0x00EE,0x0069,CIRCUMFLEX},
{0x00EF,0x0069,DIAERESIS}, {0x00F1,0x006E,TILDE}, {0x00F2,0x006F,GRAVE}, {0x00F3,0x006F,ACUTE},
{0x00F4,0x006F,CIRCUMFLEX}, {0x00F5,0x006F,TILDE}, {0x00F6,0x006F,DIAERESIS}, {0x00F9,0x0075,GRAVE},
{0x00FA,0x0075,ACUTE}, {0x00FB,0x0075,CIRCUMFLEX}, {0x00FC,0x0075,DIAERESIS}, {0x00FD,0x0079,ACUTE},
{0x00FF,0x0079,DIAERESIS}, {0x0100,0x0041,MACRON}, {0x0101,0x0061,MACRON}, {0x0102,0x0041,BREVE},
{0x0103,0x0061,BREVE}, {0x0104,0x0041,OGONEK}, {0x0105,0x0061,OGONEK}, {0x0106,0x0043,ACUTE},
{0x0107,0x0063,ACUTE}, {0x0108,0x0043,CIRCUMFLEX}, {0x0109,0x0063,CIRCUMFLEX}, {0x010A,0x0043,DOT},
{0x010B,0x0063,DOT}, {0x010C,0x0043,CARON}, {0x010D,0x0063,CARON}, {0x010E,0x0044,CARON},
{0x010F,0x0064,CARON}, {0x0112,0x0045,MACRON}, {0x0113,0x0065,MACRON}, {0x0114,0x0045,BREVE},
{0x0115,0x0065,BREVE}, {0x0116,0x0045,DOT}, {0x0117,0x0065,DOT}, {0x0118,0x0045,OGONEK},
{0x0119,0x0065,OGONEK}, {0x011A,0x0045,CARON}, {0x011B,0x0065,CARON}, {0x011C,0x0047,CIRCUMFLEX},
{0x011D,0x0067,CIRCUMFLEX}, {0x011E,0x0047,BREVE}, {0x011F,0x0067,BREVE}, {0x0120,0x0047,DOT},
{0x0121,0x0067,DOT}, {0x0122,0x0047,CEDILLA}, {0x0123,0x0067,CEDILLA}, {0x0124,0x0048,CIRCUMFLEX},
{0x0125,0x0068,CIRCUMFLEX}, {0x0128,0x0049,TILDE}, {0x0129,0x0069,TILDE}, {0x012A,0x0049,MACRON},
{0x012B,0x0069,MACRON}, {0x012C,0x0049,BREVE}, {0x012D,0x0069,BREVE}, {0x012E,0x0049,OGONEK},
{0x012F,0x0069,OGONEK}, {0x0130,0x0049,DOT}, {0x0134,0x004A,CIRCUMFLEX}, {0x0135,0x006A,CIRCUMFLEX},
{0x0136,0x004B,CEDILLA}, {0x0137,0x006B,CEDILLA}, {0x0139,0x004C,ACUTE}, {0x013A,0x006C,ACUTE},
{0x013B,0x004C,CEDILLA}, {0x013C,0x006C,CEDILLA}, {0x013D,0x004C,CARON}, {0x013E,0x006C,CARON},
{0x0143,0x004E,ACUTE}, {0x0144,0x006E,ACUTE}, {0x0145,0x004E,CEDILLA}, {0x0146,0x006E,CEDILLA},
{0x0147,0x004E,CARON}, {0x0148,0x006E,CARON}, {0x014C,0x004F,MACRON}, {0x014D,0x006F,MACRON},
{0x014E,0x004F,BREVE}, {0x014F,0x006F,BREVE}, {0x0150,0x004F,DACUTE}, {0x0151,0x006F,DACUTE},
{0x0154,0x0052,ACUTE}, {0x0155,0x0072,ACUTE}, {0x0156,0x0052,CEDILLA}, {0x0157,0x0072,CEDILLA},
{0x0158,0x0052,CARON}, {0x0159,0x0072,CARON}, {0x015A,0x0053,ACUTE}, {0x015B,0x0073,ACUTE},
{0x015C,0x0053,CIRCUMFLEX}, {0x015D,0x0073,CIRCUMFLEX}, {0x015E,0x0053,CEDILLA}, {0x015F,0x0073,CEDILLA},
{0x0160,0x0053,CARON}, {0x0161,0x0073,CARON}, {0x0162,0x0054,CEDILLA}, {0x0163,0x0074,CEDILLA},
{0x0164,0x0054,CARON}, {0x0165,0x0074,CARON}, {0x0168,0x0055,TILDE}, {0x0169,0x0075,TILDE},
{0x016A,0x0055,MACRON}, {0x016B,0x0075,MACRON}, {0x016C,0x0055,BREVE}, {0x016D,0x0075,BREVE},
{0x016E,0x0055,RING}, {0x016F,0x0075,RING}, {0x0170,0x0055,DACUTE}, {0x0171,0x0075,DACUTE},
{0x0172,0x0055,OGONEK}, {0x0173,0x0075,OGONEK}, {0x0174,0x0057,CIRCUMFLEX}, {0x0175,0x0077,CIRCUMFLEX},
{0x0176,0x0059,CIRCUMFLEX}, {0x0177,0x0079,CIRCUMFLEX}, {0x0178,0x0059,DIAERESIS}, {0x0179,0x005A,ACUTE},
{0x017A,0x007A,ACUTE}, {0x017B,0x005A,DOT}, {0x017C,0x007A,DOT}, {0x017D,0x005A,CARON},
{0x017E,0x007A,CARON}, {0x0401,0x0415,DIAERESIS}, {0x0403,0x0413,ACUTE}, {0x0407,0x0406,DIAERESIS},
{0x040C,0x041A,ACUTE}, {0x040D,0x0418,GRAVE}, {0x040E,0x0423,BREVE}, {0x0419,0x0418,BREVE},
{0x0439,0x0438,BREVE}, {0x0450,0x0435,GRAVE}, {0x0451,0x0435,DIAERESIS}, {0x0453,0x0433,ACUTE},
{0x0457,0x0456,DIAERESIS}, {0x045C,0x043A,ACUTE}, {0x045D,0x0438,GRAVE}, {0x045E,0x0443,BREVE},
{0x04C1,0x0416,BREVE}, {0x04C2,0x0436,BREVE}, {0x04D0,0x0410,BREVE}, {0x04D1,0x0430,BREVE},
{0x04D2,0x0410,DIAERESIS}, {0x04D3,0x0430,DIAERESIS}, {0x04D6,0x0415,BREVE}, {0x04D7,0x0435,BREVE},
{0x04DA,0x04D8,DIAERESIS}, {0x04DB,0x04D9,DIAERESIS}, {0x04DC,0x0416,DIAERESIS}, {0x04DD,0x0436,DIAERESIS},
{0x04DE,0x0417,DIAERESIS}, {0x04DF,0x0437,DIAERESIS}, {0x04E2,0x0418,MACRON}, {0x04E3,0x0438,MACRON},
{0x04E4,0x0418,DIAERESIS}, {0x04E5,0x0438,DIAERESIS}, {0x04E6,0x041E,DIAERESIS}, {0x04E7,0x043E,DIAERESIS}
};
// clang-format on

// Cyrillic letters drawn like Latin ones; they share picture and advance.
constexpr std::pair<std::uint16_t, std::uint16_t> kSameAs[] = {
    {0x00A0, 0x0020}, {0x0405, 'S'}, {0x0406, 'I'}, {0x0408, 'J'}, {0x0410, 'A'}, {0x0412, 'B'}, {0x0415, 'E'},
    {0x041A, 'K'},    {0x041C, 'M'}, {0x041D, 'H'}, {0x041E, 'O'}, {0x0420, 'P'}, {0x0421, 'C'}, {0x0422, 'T'},
    {0x0425, 'X'},    {0x0430, 'a'}, {0x0435, 'e'}, {0x043E, 'o'}, {0x0440, 'p'}, {0x0441, 'c'}, {0x0443, 'y'},
    {0x0445, 'x'},    {0x0455, 's'}, {0x0456, 'i'}, {0x0458, 'j'}, {0x04AE, 'Y'},
};

const Decomposition* decomposition(std::uint16_t code)
{
    for (const auto& d : kDecompositions) {
        if (d.code == code) {
            return &d;
        }
    }
    return nullptr;
}

std::uint16_t sameAs(std::uint16_t code)
{
    for (const auto& [c, s] : kSameAs) {
        if (c == code) {
            return s;
        }
    }
    return 0;
}

bool isAsciiLetterOrDigit(std::uint16_t c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// ---------------------------------------------------------------------------
// Hand-drawn glyph files: "U+XXXX" or "= c" on a line, then the rows of the
// glyph in '#' and '.', all of the glyph's advance; '%' starts a comment line.

std::uint16_t firstCodeOf(const std::string& utf8)
{
    const auto b = [&](std::size_t i) { return static_cast<unsigned>(static_cast<unsigned char>(utf8[i])); };
    if (utf8.empty()) {
        return 0;
    }
    if (b(0) < 0x80) {
        return static_cast<std::uint16_t>(b(0));
    }
    if ((b(0) & 0xE0) == 0xC0 && utf8.size() >= 2) {
        return static_cast<std::uint16_t>(((b(0) & 0x1F) << 6) | (b(1) & 0x3F));
    }
    if ((b(0) & 0xF0) == 0xE0 && utf8.size() >= 3) {
        return static_cast<std::uint16_t>(((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F));
    }
    return 0;
}

std::map<std::uint16_t, Bitmap> readGlyphFile(const std::string& path, int height)
{
    std::map<std::uint16_t, Bitmap> glyphs;
    std::ifstream in(path);
    if (!in) {
        return glyphs;
    }
    std::string line;
    int lineNo = 0;
    std::uint16_t code = 0;
    std::vector<std::string> rows;
    const auto fail = [&](const std::string& what) {
        std::fprintf(stderr, "%s:%d: %s\n", path.c_str(), lineNo, what.c_str());
        std::exit(1);
    };
    const auto finish = [&] {
        if (code == 0) {
            return;
        }
        if (static_cast<int>(rows.size()) != height) {
            fail("glyph U+" + std::to_string(code) + " has " + std::to_string(rows.size()) + " rows");
        }
        Bitmap bm(static_cast<int>(rows[0].size()), height);
        for (int y = 0; y < height; ++y) {
            if (rows[static_cast<std::size_t>(y)].size() != rows[0].size()) {
                fail("rows of unequal length in glyph before this line");
            }
            for (int x = 0; x < bm.w; ++x) {
                bm.set(x, y, rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#');
            }
        }
        if (glyphs.count(code) != 0) {
            fail("glyph drawn twice");
        }
        glyphs[code] = bm;
        code = 0;
        rows.clear();
    };
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.rfind('%', 0) == 0) {
            continue;
        }
        while (!line.empty() && (line.back() == ' ' || line.back() == '\r')) {
            line.pop_back();
        }
        if (line.empty()) {
            continue;
        }
        if (line.rfind("U+", 0) == 0) {
            finish();
            code = static_cast<std::uint16_t>(std::stoul(line.substr(2, 4), nullptr, 16));
        } else if (line.rfind("= ", 0) == 0) {
            finish();
            code = firstCodeOf(line.substr(2));
        } else if (line.find_first_not_of("#.") == std::string::npos) {
            if (code == 0) {
                fail("rows without a glyph header");
            }
            rows.push_back(line);
        } else {
            fail("cannot read line");
        }
    }
    finish();
    return glyphs;
}

// ---------------------------------------------------------------------------
// The 8-pixel font: composition of accented letters.

struct AccentArt {
    std::vector<const char*> rows;
    bool below;
};

AccentArt accentArt(Accent a, int baseInkWidth)
{
    switch (a) {
    case GRAVE:
        return {{"#.", ".#"}, false};
    case ACUTE:
        return {{".#", "#."}, false};
    case CIRCUMFLEX:
        return {{".#.", "#.#"}, false};
    case TILDE:
        return {{".#.#", "#.#."}, false};
    case MACRON:
        return {{baseInkWidth >= 5 ? "####" : "###"}, false};
    case BREVE:
        return {{"#..#", ".##."}, false};
    case DOT:
        return {{"#"}, false};
    case DIAERESIS:
        return {{baseInkWidth >= 5 ? "#.#" : baseInkWidth == 4 ? "#..#" : "#.#"}, false};
    case RING:
        return {{".#.", "#.#", ".#."}, false};
    case DACUTE:
        return {{".#..#", "#..#."}, false};
    case CARON:
        return {{"#.#", ".#."}, false};
    case CEDILLA:
        return {{"##"}, true};
    case OGONEK:
        return {{"#"}, true};
    }
    return {{}, false};
}

// Takes rows out of the glyph's body until its top is at row `top`, each time
// the row most like the one above it (nearest the middle on a tie), so that
// strokes keep their shape.
bool squashTo(Bitmap& g, int top, int baseline)
{
    while (g.top() < top) {
        const int t = g.top();
        const int b = std::min(g.bottom(), baseline - 1);
        const double mid = (t + b) / 2.0;
        int best = -1;
        int bestDiff = 0;
        for (int y = t + 1; y < b; ++y) {
            int diff = 0;
            for (int x = 0; x < g.w; ++x) {
                diff += g.at(x, y) != g.at(x, y - 1) ? 1 : 0;
            }
            if (best < 0 || diff < bestDiff || (diff == bestDiff && std::abs(y - mid) < std::abs(best - mid))) {
                best = y;
                bestDiff = diff;
            }
        }
        if (best < 0) {
            return false;
        }
        g.eraseRow(best);
        g.insertRow(0);
    }
    return true;
}

Bitmap compose8(Bitmap base, std::uint16_t baseCode, Accent accent, int baseline, std::uint16_t code)
{
    // i and j lose their dot under an accent.
    if (baseCode == 'i' || baseCode == 'j' || baseCode == 0x456 || baseCode == 0x458) {
        for (int y = 0; y < 2; ++y) {
            for (int x = 0; x < base.w; ++x) {
                base.set(x, y, false);
            }
        }
    }
    const int inkL = base.left();
    const int inkR = base.right();
    AccentArt art = accentArt(accent, inkR - inkL + 1);
    const int aw = static_cast<int>(std::string(art.rows[0]).size());
    const int ah = static_cast<int>(art.rows.size());
    // Centre over the ink; an odd leftover goes to the right as the glyphs
    // lean right of their cell.
    int ax = inkL + (inkR - inkL + 1 - aw + 1) / 2;
    int ay = 0;
    if (art.below) {
        ay = baseline;
        if (accent == OGONEK) {
            ax = inkR - 1;
        } else {
            ax = inkL + (inkR - inkL + 1) / 2 - 1;
        }
    } else {
        int top = base.top();
        if (top < ah) {
            // A 3-row ring does not fit over a capital; a 2-row one does.
            if (ah == 3 && accent == RING) {
                art.rows = {"##", "##"};
            }
            const int need = static_cast<int>(art.rows.size());
            if (!squashTo(base, need, baseline)) {
                std::fprintf(stderr, "warning: U+%04X: base cannot be squashed, draw it in glyphs8.txt\n", code);
            }
            top = base.top();
            ay = top - static_cast<int>(art.rows.size());
        } else {
            ay = top - ah - (top - ah >= 1 ? 1 : 0);
            ay = std::max(0, ay);
        }
    }
    for (std::size_t r = 0; r < art.rows.size(); ++r) {
        const std::string row = art.rows[r];
        const int rx = ax + (aw - static_cast<int>(row.size())) / 2;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (row[c] == '#') {
                base.set(rx + static_cast<int>(c), ay + static_cast<int>(r));
            }
        }
    }
    return base;
}

// ---------------------------------------------------------------------------
// Rendering with FreeType.

struct Rendered {
    Bitmap bm;
    int left = 0; // pen x of the bitmap's column 0
    int top = 0;  // rows of the bitmap above the baseline
    double advance = 0;
};

Rendered render(FT_Face face, std::uint16_t code, int xppem, int yppem)
{
    Rendered r;
    FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(xppem), static_cast<FT_UInt>(yppem));
    if (FT_Load_Char(face, code, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0) {
        std::fprintf(stderr, "cannot render U+%04X\n", code);
        std::exit(1);
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& b = slot->bitmap;
    r.bm = Bitmap(static_cast<int>(b.width), static_cast<int>(b.rows));
    for (int y = 0; y < r.bm.h; ++y) {
        const unsigned char* row = b.buffer + y * b.pitch;
        for (int x = 0; x < r.bm.w; ++x) {
            r.bm.set(x, y, (row[x / 8] & (0x80 >> (x % 8))) != 0);
        }
    }
    r.left = slot->bitmap_left;
    r.top = slot->bitmap_top;
    r.advance = slot->linearHoriAdvance / 65536.0;
    return r;
}

// Marks each pixel with the number of its 8-connected component.
std::vector<int> components(const Bitmap& g, int& count)
{
    std::vector<int> label(g.px.size(), -1);
    count = 0;
    for (int y = 0; y < g.h; ++y) {
        for (int x = 0; x < g.w; ++x) {
            if (!g.at(x, y) || label[static_cast<std::size_t>(y * g.w + x)] >= 0) {
                continue;
            }
            std::vector<std::pair<int, int>> todo = {{x, y}};
            label[static_cast<std::size_t>(y * g.w + x)] = count;
            while (!todo.empty()) {
                const auto [cx, cy] = todo.back();
                todo.pop_back();
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        const int nx = cx + dx;
                        const int ny = cy + dy;
                        if (g.at(nx, ny) && label[static_cast<std::size_t>(ny * g.w + nx)] < 0) {
                            label[static_cast<std::size_t>(ny * g.w + nx)] = count;
                            todo.emplace_back(nx, ny);
                        }
                    }
                }
            }
            ++count;
        }
    }
    return label;
}

// Moves the accents of a glyph that rises above its cell down onto the
// letter, one blank row between, and flattens them to the rows left there.
// Returns false when the glyph has no separate accent.
bool fitAccents(Bitmap& g, int& y0)
{
    int count = 0;
    const std::vector<int> label = components(g, count);
    std::vector<int> size(static_cast<std::size_t>(count), 0);
    std::vector<int> top(static_cast<std::size_t>(count), g.h);
    std::vector<int> bottom(static_cast<std::size_t>(count), -1);
    for (int y = 0; y < g.h; ++y) {
        for (int x = 0; x < g.w; ++x) {
            if (const int l = label[static_cast<std::size_t>(y * g.w + x)]; l >= 0) {
                ++size[static_cast<std::size_t>(l)];
                top[static_cast<std::size_t>(l)] = std::min(top[static_cast<std::size_t>(l)], y);
                bottom[static_cast<std::size_t>(l)] = std::max(bottom[static_cast<std::size_t>(l)], y);
            }
        }
    }
    const auto main = static_cast<std::size_t>(std::max_element(size.begin(), size.end()) - size.begin());
    const int bodyTop = top[main];
    Bitmap accent(g.w, bodyTop);
    for (int y = 0; y < bodyTop; ++y) {
        for (int x = 0; x < g.w; ++x) {
            const int l = label[static_cast<std::size_t>(y * g.w + x)];
            if (l >= 0 && bottom[static_cast<std::size_t>(l)] < bodyTop) {
                accent.set(x, y);
                g.set(x, y, false);
            }
        }
    }
    if (accent.empty()) {
        return false;
    }
    while (accent.rowEmpty(accent.h - 1)) {
        accent.eraseRow(accent.h - 1);
    }
    while (accent.rowEmpty(0)) {
        accent.eraseRow(0);
    }
    const int bodyRow = y0 + bodyTop;
    const int gap = bodyRow >= 3 ? 1 : 0;
    const int room = std::max(1, bodyRow - gap);
    while (accent.h > room) {
        // Drop the row most like its upper neighbour.
        int best = 1;
        int bestDiff = g.w + 1;
        for (int y = 1; y < accent.h; ++y) {
            int diff = 0;
            for (int x = 0; x < accent.w; ++x) {
                diff += accent.at(x, y) != accent.at(x, y - 1) ? 1 : 0;
            }
            if (diff < bestDiff) {
                best = y;
                bestDiff = diff;
            }
        }
        accent.eraseRow(best);
    }
    // Bitmap rows above the body are free now; put the accent right there.
    const int accentTop = bodyTop - gap - accent.h;
    const int shift = accentTop < 0 ? -accentTop : 0;
    for (int i = 0; i < shift; ++i) {
        g.insertRow(0);
    }
    y0 -= shift;
    for (int y = 0; y < accent.h; ++y) {
        for (int x = 0; x < accent.w; ++x) {
            if (accent.at(x, y)) {
                g.set(x, accentTop + shift + y);
            }
        }
    }
    return true;
}

// Crops the rendering to its ink and places it into a cell of the font's
// height: baseline kept, ink centred in the advance. Accents above the cell
// move down onto the letter; ink below the cell first loses blank rows
// between letter and mark, then is cut.
Bitmap place(Rendered r, const FontSpec& f, int advance, std::uint16_t code)
{
    Bitmap cell(advance, f.height);
    if (r.bm.empty()) {
        return cell;
    }
    Bitmap& g = r.bm;
    int y0 = f.baseline - r.top; // cell row of bitmap row 0
    if (y0 + g.top() < 0 && !fitAccents(g, y0)) {
        std::fprintf(stderr, "note: U+%04X cut at the top\n", code);
    }
    while (y0 + g.bottom() >= f.height) {
        int blank = -1;
        for (int y = g.bottom() - 1; y + y0 > f.baseline - 1; --y) {
            if (g.rowEmpty(y)) {
                blank = y;
                break;
            }
        }
        if (blank < 0) {
            std::fprintf(stderr, "note: U+%04X cut at the bottom\n", code);
            break;
        }
        g.eraseRow(blank);
    }
    const int inkL = g.left();
    const int inkW = g.right() - inkL + 1;
    const int x0 = (advance - inkW) / 2 - inkL;
    for (int y = 0; y < g.h; ++y) {
        for (int x = 0; x < g.w; ++x) {
            if (g.at(x, y)) {
                cell.set(x + x0, y + y0);
            }
        }
    }
    return cell;
}

// Widens every stroke from row `first` down by one pixel to the right;
// returns the number of rows in which a one-pixel gap between strokes closed.
int embolden(Bitmap& b, int first)
{
    Bitmap out(b.w + 1, b.h);
    int closed = 0;
    for (int y = 0; y < b.h; ++y) {
        if (y < first) {
            for (int x = 0; x < b.w; ++x) {
                out.set(x, y, b.at(x, y));
            }
            continue;
        }
        bool closedHere = false;
        for (int x = 0; x < b.w; ++x) {
            if (b.at(x, y)) {
                out.set(x, y);
                out.set(x + 1, y);
                closedHere = closedHere || (!b.at(x + 1, y) && b.at(x + 2, y));
            }
        }
        closed += closedHere ? 1 : 0;
    }
    b = out;
    return closed;
}

int inkWidth(const Bitmap& b)
{
    return b.empty() ? 0 : b.right() - b.left() + 1;
}

// ---------------------------------------------------------------------------
// The key and check-box symbols of the 20-pixel font.

void triangle(Bitmap& b, int apexX, int apexY, int length, int dx, int dy)
{
    // Filled isosceles triangle pointing in (dx, dy), base 2 * length - 1.
    for (int i = 0; i < length; ++i) {
        for (int j = -i; j <= i; ++j) {
            if (dx != 0) {
                b.set(apexX - dx * i, apexY + j);
            } else {
                b.set(apexX + j, apexY - dy * i);
            }
        }
    }
}

void box(Bitmap& b, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            b.set(x, y);
        }
    }
}

Bitmap symbol(std::uint16_t code, int height)
{
    static const std::map<std::uint16_t, int> advances = {
        {0x266C, 8},  {0x266D, 8},  {0x266E, 16}, {0x266F, 14}, {0x2670, 23},
        {0x2671, 20}, {0x2672, 20}, {0x2673, 19}, {0x2674, 15},
    };
    Bitmap b(advances.at(code), height);
    switch (code) {
    case 0x266C:
        triangle(b, 1, 9, 6, -1, 0);
        break;
    case 0x266D:
        triangle(b, 6, 9, 6, 1, 0);
        break;
    case 0x266E:
        triangle(b, 1, 9, 6, -1, 0);
        triangle(b, 14, 9, 6, 1, 0);
        break;
    case 0x266F:
        triangle(b, 6, 3, 6, 0, -1);
        triangle(b, 6, 15, 6, 0, 1);
        break;
    case 0x2670:
        triangle(b, 11, 2, 5, 0, -1);
        triangle(b, 11, 16, 5, 0, 1);
        triangle(b, 1, 9, 5, -1, 0);
        triangle(b, 21, 9, 5, 1, 0);
        break;
    case 0x2671:
    case 0x2672:
        box(b, 3, 2, 16, 2);
        box(b, 3, 15, 16, 15);
        box(b, 3, 2, 3, 15);
        box(b, 16, 2, 16, 15);
        if (code == 0x2672) {
            // Tick, two pixels thick: short stroke down-right, long up-right.
            for (int i = 0; i < 4; ++i) {
                box(b, 6 + i, 8 + i, 6 + i, 9 + i);
            }
            for (int i = 0; i < 5; ++i) {
                box(b, 10 + i, 11 - 2 * i - 1, 10 + i, 12 - 2 * i);
            }
        }
        break;
    case 0x2673:
        // Arrow to the left whose shaft bends up at the right end.
        triangle(b, 1, 13, 5, -1, 0);
        box(b, 5, 12, 16, 14);
        box(b, 14, 4, 16, 14);
        break;
    case 0x2674:
        box(b, 1, 4, 13, 5);
        box(b, 1, 9, 13, 10);
        box(b, 1, 14, 13, 15);
        break;
    default:
        break;
    }
    return b;
}

// ---------------------------------------------------------------------------
// Building the fonts.

struct Font {
    const FontSpec* spec;
    std::map<std::uint16_t, Bitmap> glyphs;
};

std::vector<std::uint16_t> codesOf(const FontSpec& f)
{
    std::vector<std::uint16_t> codes;
    for (const Range& r : f.ranges) {
        for (unsigned c = r.first; c <= r.last; ++c) {
            codes.push_back(static_cast<std::uint16_t>(c));
        }
    }
    return codes;
}

Font build8(const FontSpec& f, const std::string& glyphDir, FT_Face face)
{
    Font font{&f, {}};
    const auto drawn = readGlyphFile(glyphDir + "/glyphs8.txt", f.height);
    std::function<Bitmap(std::uint16_t)> get = [&](std::uint16_t code) -> Bitmap {
        if (const auto it = font.glyphs.find(code); it != font.glyphs.end()) {
            return it->second;
        }
        Bitmap g;
        if (const auto it = drawn.find(code); it != drawn.end()) {
            g = it->second;
        } else if (const std::uint16_t s = sameAs(code); s != 0) {
            g = get(s);
        } else if (const Decomposition* d = decomposition(code)) {
            g = compose8(get(d->base), d->base, d->accent, f.baseline, code);
        } else {
            std::fprintf(stderr, "warning: U+%04X not drawn, rendered\n", code);
            const Rendered r = render(face, code, 9, 9);
            g = place(r, f, std::max(3, inkWidth(r.bm) + 1), code);
        }
        if (code >= 0x20 && code <= 0x7E && g.w != f.ascii[code - 0x20]) {
            std::fprintf(stderr, "error: '%c' is %d wide, needs %d\n", code, g.w, f.ascii[code - 0x20]);
            std::exit(1);
        }
        font.glyphs[code] = g;
        return g;
    };
    for (const std::uint16_t code : codesOf(f)) {
        get(code);
    }
    return font;
}

Font buildRendered(const FontSpec& f, const std::string& glyphDir, FT_Face face)
{
    Font font{&f, {}};
    const auto drawn = readGlyphFile(glyphDir + "/glyphs" + std::to_string(f.height) + ".txt", f.height);

    // The pixel size whose hinted capitals and lowercase have the font's heights.
    int ppem = 0;
    for (int p = f.height / 2; p <= f.height * 2 && ppem == 0; ++p) {
        const Rendered h = render(face, 'H', p, p);
        const Rendered x = render(face, 'x', p, p);
        if (h.bm.h == f.capital && x.bm.h == f.lowercase) {
            ppem = p;
        }
    }
    if (ppem == 0) {
        std::fprintf(stderr, "no size gives capitals of %d and lowercase of %d\n", f.capital, f.lowercase);
        std::exit(1);
    }
    std::fprintf(stderr, "%s: %d pixels per em\n", f.name, ppem);

    // Advances of the other glyphs: their own, scaled as the ASCII ones are.
    std::vector<double> ratios;
    for (std::uint16_t c = 0x21; c <= 0x7E; ++c) {
        if (isAsciiLetterOrDigit(c)) {
            ratios.push_back(f.ascii[c - 0x20] / render(face, c, ppem, ppem).advance);
        }
    }
    std::sort(ratios.begin(), ratios.end());
    const double ratio = ratios[ratios.size() / 2];
    const int digit = f.ascii['0' - 0x20];
    std::map<int, int> stems;
    const auto stemAt = [&](int xppem) {
        if (stems.count(xppem) == 0) {
            stems[xppem] = inkWidth(render(face, 'l', xppem, ppem).bm);
        }
        return stems[xppem];
    };

    std::function<int(std::uint16_t)> advanceOf = [&](std::uint16_t code) -> int {
        if (code >= 0x20 && code <= 0x7E) {
            return f.ascii[code - 0x20];
        }
        if (code == 0x1B) {
            return digit;
        }
        if (const std::uint16_t s = sameAs(code); s != 0) {
            return advanceOf(s);
        }
        if (const Decomposition* d = decomposition(code)) {
            return advanceOf(d->base);
        }
        const int natural = static_cast<int>(render(face, code, ppem, ppem).advance * ratio + 0.5);
        return std::max(natural, inkWidth(render(face, code, ppem / 2, ppem).bm) + f.gap);
    };

    for (const std::uint16_t code : codesOf(f)) {
        Bitmap g;
        if (const auto it = drawn.find(code); it != drawn.end()) {
            g = it->second;
        } else if (const auto same = drawn.find(sameAs(code)); sameAs(code) != 0 && same != drawn.end()) {
            g = same->second;
        } else if (code >= 0x266C && code <= 0x2674) {
            g = symbol(code, f.height);
        } else if (code == 0x1B) {
            g = Bitmap(digit, f.height);
        } else {
            const int advance = advanceOf(code);
            // Narrower sizes until the glyph fits; where the hinter's stems
            // drop a pixel below the font's, the glyph is emboldened so
            // that all glyphs keep one stem weight.
            Rendered r;
            for (int xppem = ppem; xppem > ppem / 3; --xppem) {
                if (stemAt(xppem) > f.stem || stemAt(xppem) < f.stem - 1) {
                    continue;
                }
                r = render(face, code, xppem, ppem);
                if (stemAt(xppem) < f.stem) {
                    // Strokes that close up (W, w) stay thin instead, and so
                    // do accents over capitals, which have only a few rows.
                    Rendered bold = r;
                    if (embolden(bold.bm, r.top - f.capital) <= f.height / 6) {
                        r = bold;
                    }
                }
                if (inkWidth(r.bm) <= advance - f.gap) {
                    break;
                }
            }
            g = place(r, f, advance, code);
        }
        font.glyphs[code] = g;
    }
    return font;
}

// ---------------------------------------------------------------------------
// Output.

std::string hex2(unsigned v)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "0x%02X", v);
    return buf;
}

std::string label(std::uint16_t code)
{
    static const std::map<std::uint16_t, const char*> names = {
        {0x1B, "figure space"},   {0x20, "space"},        {0x5C, "backslash"},       {0xA0, "no-break space"},
        {0xAD, "soft hyphen"},    {0x266C, "left key"},   {0x266D, "right key"},     {0x266E, "left/right keys"},
        {0x266F, "up/down keys"}, {0x2670, "arrow keys"}, {0x2671, "check box off"}, {0x2672, "check box on"},
        {0x2673, "back key"},     {0x2674, "menu key"},
    };
    char buf[16];
    std::snprintf(buf, sizeof buf, "U+%04X ", code);
    std::string s = buf;
    if (const auto it = names.find(code); it != names.end()) {
        return s + it->second;
    }
    if (code < 0x80) {
        s += static_cast<char>(code);
    } else if (code < 0x800) {
        s += static_cast<char>(0xC0 | (code >> 6));
        s += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (code >> 12));
        s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (code & 0x3F));
    }
    return s;
}

void write(const Font& font, const std::string& outDir, const std::string& command)
{
    const FontSpec& f = *font.spec;
    std::ostringstream o;
    o << "// " << f.height << "-pixel font: " << font.glyphs.size() << " glyphs, height " << f.height << ", baseline "
      << f.baseline << ".\n"
      << "// Generated data, do not edit; regenerate with\n//   " << command << "\n\n"
      << "#include <cstdint>\n\n#include \"gui/GUI_Font.h\"\n\nnamespace {\n\n";
    for (const auto& [code, g] : font.glyphs) {
        const int bpr = (g.w + 7) / 8;
        o << "// " << label(code) << "\nconstexpr std::uint8_t g" << std::hex << std::uppercase;
        o.width(4);
        o.fill('0');
        o << code << std::dec << "[] = {\n";
        for (int y = 0; y < g.h; ++y) {
            std::string bytes;
            std::string picture;
            for (int b = 0; b < bpr; ++b) {
                unsigned v = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    if (g.at(b * 8 + bit, y)) {
                        v |= 0x80U >> bit;
                    }
                }
                bytes += hex2(v) + ",";
            }
            for (int x = 0; x < g.w; ++x) {
                picture += g.at(x, y) ? '#' : '.';
            }
            o << "    " << bytes << " // " << picture << "\n";
        }
        o << "};\n";
    }
    // Ranges, last first so that each can point to the next.
    const auto name = [](std::uint16_t c) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X", c);
        return std::string(buf);
    };
    for (const Range& r : f.ranges) {
        o << "\nconstexpr GUI_GLYPH glyphs" << name(r.first) << "[] = {\n";
        for (unsigned c = r.first; c <= r.last; ++c) {
            const Bitmap& g = font.glyphs.at(static_cast<std::uint16_t>(c));
            o << "    {" << g.w << ", " << g.w << ", " << (g.w + 7) / 8 << ", g" << name(static_cast<std::uint16_t>(c))
              << "},\n";
        }
        o << "};\n";
    }
    o << "\n";
    for (std::size_t i = f.ranges.size(); i-- > 0;) {
        const Range& r = f.ranges[i];
        o << "constexpr GUI_GLYPH_RANGE range" << name(r.first) << " = {0x" << name(r.first) << ", 0x" << name(r.last)
          << ", glyphs" << name(r.first) << ", "
          << (i + 1 < f.ranges.size() ? "&range" + name(f.ranges[i + 1].first) : std::string("nullptr")) << "};\n";
    }
    o << "\n} // namespace\n\nextern const GUI_FONTDEF " << f.name << " = {\n"
      << "    GUI_FontDrawChar,\n    GUI_FontAdvance,\n    GUI_FontInfo,\n    GUI_FontHasGlyph,\n    nullptr,\n"
      << "    " << f.height << ", // height\n    " << f.height << ", // line distance\n    1,\n    1,\n"
      << "    &range" << name(f.ranges[0].first) << ",\n"
      << "    " << f.baseline << ", // baseline\n    " << f.lowercase << ", // lowercase height\n    " << f.capital
      << ", // capital height\n};\n";
    const std::string path = outDir + "/" + f.file;
    std::ofstream out(path);
    out << o.str();
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::exit(1);
    }
}

// clang-format off
const FontSpec kSmall{"GUI_Font8", "GUI_Font8.cpp", 8, 7, 5, 0,
    {{0x0020, 0x007E}, {0x00A0, 0x00EC}, {0x00EE, 0x017E}, {0x0401, 0x040C}, {0x040E, 0x044F}, {0x0451, 0x045C},
     {0x045E, 0x045F}},
    {3, 2, 4, 5, 6, 6, 6, 3, 4, 4, 5, 6, 3, 6, 3, 6,
     6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
     3, 3, 5, 6, 4, 6, 7,
     6, 6, 6, 6, 6, 6, 6, 6, 4, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
     4, 6, 4, 6, 6, 6,
     6, 6, 5, 6, 6, 5, 6, 6, 5, 4, 5, 4, 6, 5, 5, 5, 5, 4, 5, 4, 5, 6, 6, 6, 5, 5,
     4, 3, 4, 6},
    1, 1};

const std::vector<Range> kCyrillicKazakh = {
    {0x0401, 0x040C}, {0x040E, 0x044F}, {0x0451, 0x045C}, {0x045E, 0x045F}, {0x0490, 0x0493}, {0x0496, 0x0497},
    {0x049A, 0x049D}, {0x04A2, 0x04A3}, {0x04AE, 0x04B3}, {0x04B8, 0x04BB}, {0x04D8, 0x04D9}, {0x04E8, 0x04E9}};

std::vector<Range> normalRanges(bool symbols)
{
    std::vector<Range> r = {{0x001B, 0x001B}, {0x0020, 0x007E}, {0x00A0, 0x017F}};
    r.insert(r.end(), kCyrillicKazakh.begin(), kCyrillicKazakh.end());
    if (symbols) {
        r.push_back({0x266C, 0x2674});
    }
    return r;
}

const FontSpec kNormal{"GUI_Font20", "GUI_Font20.cpp", 20, 16, 10, 13, normalRanges(true),
    {5, 4, 7, 12, 12, 12, 12, 5, 6, 6, 7, 10, 5, 10, 5, 8,
     11, 11, 11, 11, 11, 11, 11, 11, 11, 11,
     5, 5, 12, 11, 12, 10, 18,
     11, 11, 11, 11, 11, 11, 11, 11, 6, 10, 11, 9, 11, 11, 11, 11, 11, 11, 11, 10, 11, 11, 12, 11, 12, 11,
     6, 9, 6, 8, 10, 6,
     9, 9, 9, 9, 9, 7, 9, 9, 6, 6, 9, 6, 12, 9, 9, 9, 9, 8, 9, 8, 9, 9, 10, 9, 9, 9,
     7, 4, 7, 10},
    1, 2};

const FontSpec kLarge{"GUI_Font32", "GUI_Font32.cpp", 32, 26, 15, 20, normalRanges(false),
    {8, 4, 9, 15, 14, 20, 16, 5, 8, 8, 11, 12, 5, 12, 5, 8,
     15, 15, 15, 15, 15, 15, 15, 15, 15, 15,
     5, 5, 14, 12, 14, 14, 24,
     15, 15, 15, 15, 15, 15, 15, 15, 8, 12, 15, 12, 15, 14, 15, 15, 15, 15, 15, 14, 15, 15, 16, 15, 16, 15,
     7, 8, 7, 10, 15, 7,
     12, 12, 12, 12, 14, 8, 12, 11, 8, 6, 11, 8, 16, 11, 13, 12, 12, 9, 12, 9, 11, 13, 14, 13, 11, 11,
     9, 4, 9, 14},
    2, 3};
// clang-format on

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: fontgen FONT.ttf GLYPHDIR OUTDIR COMMAND\n");
        return 2;
    }
    FT_Library lib = nullptr;
    FT_Face face = nullptr;
    if (FT_Init_FreeType(&lib) != 0 || FT_New_Face(lib, argv[1], 0, &face) != 0) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    write(build8(kSmall, argv[2], face), argv[3], argv[4]);
    write(buildRendered(kNormal, argv[2], face), argv[3], argv[4]);
    write(buildRendered(kLarge, argv[2], face), argv[3], argv[4]);
    FT_Done_Face(face);
    FT_Done_FreeType(lib);
    return 0;
}
