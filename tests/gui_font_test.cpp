// The three panel fonts: ranges, advances and glyph pictures.
#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>
#include <utility>
#include <vector>

#include "gui/GUI_Font.h"

namespace {

using Ranges = std::vector<std::pair<std::uint16_t, std::uint16_t>>;

Ranges rangesOf(const GUI_FONTDEF* font)
{
    Ranges r;
    for (const GUI_GLYPH_RANGE* range = font->firstRange; range != nullptr; range = range->next) {
        r.emplace_back(range->first, range->last);
    }
    return r;
}

int glyphCount(const GUI_FONTDEF* font)
{
    int n = 0;
    for (const auto& [first, last] : rangesOf(font)) {
        n += last - first + 1;
    }
    return n;
}

template <typename F> void forEachGlyph(const GUI_FONTDEF* font, F f)
{
    for (const GUI_GLYPH_RANGE* range = font->firstRange; range != nullptr; range = range->next) {
        for (unsigned c = range->first; c <= range->last; ++c) {
            f(static_cast<std::uint16_t>(c), range->glyphs[c - range->first]);
        }
    }
}

bool pixel(const GUI_GLYPH& g, int x, int y)
{
    return (g.rows[y * g.bytesPerRow + x / 8] & (0x80 >> (x % 8))) != 0;
}

const Ranges kCyrillic = {{0x0401, 0x040C}, {0x040E, 0x044F}, {0x0451, 0x045C}, {0x045E, 0x045F}};
const Ranges kKazakh = {{0x0490, 0x0493}, {0x0496, 0x0497}, {0x049A, 0x049D}, {0x04A2, 0x04A3},
                        {0x04AE, 0x04B3}, {0x04B8, 0x04BB}, {0x04D8, 0x04D9}, {0x04E8, 0x04E9}};

Ranges concat(std::initializer_list<Ranges> parts)
{
    Ranges r;
    for (const Ranges& p : parts) {
        r.insert(r.end(), p.begin(), p.end());
    }
    return r;
}

struct Expected {
    const GUI_FONTDEF* font;
    int height;
    int baseline;
    int lowercase;
    int capital;
    int glyphs;
    Ranges ranges;
    std::array<int, 95> ascii;
};

// clang-format off
const Expected kSmall{TXT_FontSmall(), 8, 7, 5, 0, 409,
    concat({{{0x0020, 0x007E}, {0x00A0, 0x00EC}, {0x00EE, 0x017E}}, kCyrillic}),
    {3, 2, 4, 5, 6, 6, 6, 3, 4, 4, 5, 6, 3, 6, 3, 6,
     6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
     3, 3, 5, 6, 4, 6, 7,
     6, 6, 6, 6, 6, 6, 6, 6, 4, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 6,
     4, 6, 4, 6, 6, 6,
     6, 6, 5, 6, 6, 5, 6, 6, 5, 4, 5, 4, 6, 5, 5, 5, 5, 4, 5, 4, 5, 6, 6, 6, 5, 5,
     4, 3, 4, 6}};

const Expected kNormal{TXT_FontNormal(), 20, 16, 10, 13, 447,
    concat({{{0x001B, 0x001B}, {0x0020, 0x007E}, {0x00A0, 0x017F}}, kCyrillic, kKazakh, {{0x266C, 0x2674}}}),
    {5, 4, 7, 12, 12, 12, 12, 5, 6, 6, 7, 10, 5, 10, 5, 8,
     11, 11, 11, 11, 11, 11, 11, 11, 11, 11,
     5, 5, 12, 11, 12, 10, 18,
     11, 11, 11, 11, 11, 11, 11, 11, 6, 10, 11, 9, 11, 11, 11, 11, 11, 11, 11, 10, 11, 11, 12, 11, 12, 11,
     6, 9, 6, 8, 10, 6,
     9, 9, 9, 9, 9, 7, 9, 9, 6, 6, 9, 6, 12, 9, 9, 9, 9, 8, 9, 8, 9, 9, 10, 9, 9, 9,
     7, 4, 7, 10}};

const Expected kLarge{TXT_FontLarge(), 32, 26, 15, 20, 438,
    concat({{{0x001B, 0x001B}, {0x0020, 0x007E}, {0x00A0, 0x017F}}, kCyrillic, kKazakh}),
    {8, 4, 9, 15, 14, 20, 16, 5, 8, 8, 11, 12, 5, 12, 5, 8,
     15, 15, 15, 15, 15, 15, 15, 15, 15, 15,
     5, 5, 14, 12, 14, 14, 24,
     15, 15, 15, 15, 15, 15, 15, 15, 8, 12, 15, 12, 15, 14, 15, 15, 15, 15, 15, 14, 15, 15, 16, 15, 16, 15,
     7, 8, 7, 10, 15, 7,
     12, 12, 12, 12, 14, 8, 12, 11, 8, 6, 11, 8, 16, 11, 13, 12, 12, 9, 12, 9, 11, 13, 14, 13, 11, 11,
     9, 4, 9, 14}};
// clang-format on

void PrintTo(const Expected* e, std::ostream* os)
{
    *os << e->height << "-pixel font";
}

class FontTest : public testing::TestWithParam<const Expected*> {};

TEST_P(FontTest, MetricsRangesAndCount)
{
    const Expected& e = *GetParam();
    const GUI_FONTDEF* f = e.font;
    EXPECT_EQ(f->height, e.height);
    EXPECT_EQ(f->lineDistance, e.height);
    EXPECT_EQ(f->xMag, 1);
    EXPECT_EQ(f->yMag, 1);
    EXPECT_EQ(f->baseline, e.baseline);
    EXPECT_EQ(f->lowercaseHeight, e.lowercase);
    EXPECT_EQ(f->capitalHeight, e.capital);
    EXPECT_EQ(f->encoding, nullptr);
    EXPECT_EQ(rangesOf(f), e.ranges);
    EXPECT_EQ(glyphCount(f), e.glyphs);
    EXPECT_LE(e.ranges.size(), 16U); // the lookup walks the chain linearly
}

TEST_P(FontTest, AsciiAdvancesAndDigitsShareOneWidth)
{
    const Expected& e = *GetParam();
    for (int c = 0x20; c <= 0x7E; ++c) {
        EXPECT_EQ(GUI_FontAdvance(e.font, static_cast<std::uint16_t>(c)), e.ascii[c - 0x20]) << "char " << char(c);
    }
    const int digit = GUI_FontAdvance(e.font, '0');
    for (char c = '1'; c <= '9'; ++c) {
        EXPECT_EQ(GUI_FontAdvance(e.font, static_cast<std::uint16_t>(c)), digit);
    }
}

TEST_P(FontTest, EveryGlyphIsWellFormed)
{
    const Expected& e = *GetParam();
    forEachGlyph(e.font, [&](std::uint16_t code, const GUI_GLYPH& g) {
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << code);
        ASSERT_NE(g.rows, nullptr);
        EXPECT_GT(g.width, 0);
        EXPECT_EQ(g.width, g.advance);
        EXPECT_EQ(g.bytesPerRow, (g.width + 7) / 8);
        bool ink = false;
        for (int y = 0; y < e.height; ++y) {
            for (int x = 0; x < g.bytesPerRow * 8; ++x) {
                if (pixel(g, x, y)) {
                    EXPECT_LT(x, g.width) << "row " << y;
                    ink = true;
                }
            }
        }
        const bool blank = code == 0x1B || code == 0x20 || code == 0xA0;
        EXPECT_EQ(ink, !blank);
    });
}

TEST_P(FontTest, AccentedLettersKeepTheWidthOfTheirBase)
{
    const Expected& e = *GetParam();
    const std::pair<std::uint16_t, char> pairs[] = {
        {0x00C4, 'A'}, {0x00D6, 'O'}, {0x00DC, 'U'}, {0x00E4, 'a'}, {0x00F6, 'o'},
        {0x00FC, 'u'}, {0x00E9, 'e'}, {0x010D, 'c'}, {0x0160, 'S'}, {0x017E, 'z'},
    };
    for (const auto& [accented, base] : pairs) {
        EXPECT_EQ(GUI_FontAdvance(e.font, accented), GUI_FontAdvance(e.font, static_cast<std::uint16_t>(base)))
            << "U+" << std::hex << accented;
    }
}

TEST_P(FontTest, CodesOutsideTheRangesHaveNoGlyph)
{
    const GUI_FONTDEF* f = GetParam()->font;
    for (const std::uint16_t code : {0x0000, 0x000A, 0x001F, 0x007F, 0x009F, 0x0180, 0x0400, 0x040D, 0x0450, 0x045D,
                                     0x0460, 0x04EA, 0x266B, 0x2675, 0xFFFF}) {
        EXPECT_EQ(GUI_FontGlyph(f, code), nullptr) << "U+" << std::hex << code;
        EXPECT_EQ(GUI_FontAdvance(f, code), 0);
        EXPECT_FALSE(GUI_FontHasGlyph(f, code));
        EXPECT_EQ(f->charAdvance(f, code), 0);
        EXPECT_FALSE(f->hasChar(f, code));
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, FontTest, testing::Values(&kSmall, &kNormal, &kLarge),
                         [](const testing::TestParamInfo<const Expected*>& p) {
                             return "H" + std::to_string(p.param->height);
                         });

TEST(FontLookup, OperationsOfTheFontDefinition)
{
    const GUI_FONTDEF* f = TXT_FontNormal();
    EXPECT_EQ(f->charAdvance(f, 'W'), 12);
    EXPECT_TRUE(f->hasChar(f, 0x266F));
    GUI_FONTINFO info{0};
    f->fontInfo(f, &info);
    EXPECT_EQ(info.flags, GUI_FONTINFO_PROP);
    // The glyph comes from the range holding the code, at its offset.
    const GUI_GLYPH* k = GUI_FontGlyph(f, 0x049A);
    ASSERT_NE(k, nullptr);
    const GUI_GLYPH_RANGE* r = f->firstRange;
    while (r != nullptr && r->first != 0x049A) {
        r = r->next;
    }
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(k, &r->glyphs[0]);
    EXPECT_EQ(GUI_FontGlyph(f, 0x049D), &r->glyphs[3]);
}

TEST(FontLookup, AdvanceScalesWithXMagnification)
{
    GUI_FONTDEF doubled = *TXT_FontSmall();
    doubled.xMag = 2;
    EXPECT_EQ(GUI_FontAdvance(&doubled, 'A'), 12);
    EXPECT_EQ(GUI_FontAdvance(&doubled, 0x266C), 0);
}

TEST(FontLookup, TwoDigitsAreAsWideAsTwoDigitCells)
{
    const auto width = [](const GUI_FONTDEF* f) { return GUI_FontAdvance(f, '1') + GUI_FontAdvance(f, '2'); };
    EXPECT_EQ(width(TXT_FontNormal()), 22);
    EXPECT_EQ(width(TXT_FontLarge()), 30);
    EXPECT_EQ(width(TXT_FontSmall()), 12);
}

TEST(FontLookup, FigureSpaceIsOneDigitWideAndOnlyInTheLargerFonts)
{
    EXPECT_EQ(GUI_FontAdvance(TXT_FontNormal(), 0x1B), 11);
    EXPECT_EQ(GUI_FontAdvance(TXT_FontLarge(), 0x1B), 15);
    EXPECT_FALSE(GUI_FontHasGlyph(TXT_FontSmall(), 0x1B));
}

TEST(FontLookup, KeySymbolsOnlyInTheNormalFont)
{
    const int advances[] = {8, 8, 16, 14, 23, 20, 20, 19, 15};
    for (std::uint16_t code = 0x266C; code <= 0x2674; ++code) {
        EXPECT_EQ(GUI_FontAdvance(TXT_FontNormal(), code), advances[code - 0x266C]) << "U+" << std::hex << code;
        EXPECT_FALSE(GUI_FontHasGlyph(TXT_FontSmall(), code));
        EXPECT_FALSE(GUI_FontHasGlyph(TXT_FontLarge(), code));
    }
}

TEST(FontLookup, SmallFontLacksTwoLatinLetters)
{
    for (const std::uint16_t code : {0x00ED, 0x017F}) {
        EXPECT_EQ(GUI_FontGlyph(TXT_FontSmall(), code), nullptr);
        EXPECT_EQ(GUI_FontAdvance(TXT_FontSmall(), code), 0);
        EXPECT_TRUE(GUI_FontHasGlyph(TXT_FontNormal(), code));
        EXPECT_TRUE(GUI_FontHasGlyph(TXT_FontLarge(), code));
    }
    EXPECT_TRUE(GUI_FontHasGlyph(TXT_FontSmall(), 0x00EC));
    EXPECT_TRUE(GUI_FontHasGlyph(TXT_FontSmall(), 0x00EE));
}

} // namespace
