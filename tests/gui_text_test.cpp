// Text: alignment arithmetic on a font of solid blocks (so positions can be
// read off the frame buffer), encoding, the real fonts, and goldens.
#include <gtest/gtest.h>

#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "screens/common/ML.h"
#include "support/Golden.h"
#include "support/Screen.h"

namespace {

// 'A' is a 5 x 4 block, 'B' a 3 x 4 block, space 2 wide and empty.
constexpr std::uint8_t kBlock5[4] = {0xF8, 0xF8, 0xF8, 0xF8};
constexpr std::uint8_t kBlock3[4] = {0xE0, 0xE0, 0xE0, 0xE0};
constexpr std::uint8_t kEmpty[4] = {0, 0, 0, 0};
constexpr GUI_GLYPH kLetters[2] = {{5, 5, 1, kBlock5}, {3, 3, 1, kBlock3}};
constexpr GUI_GLYPH kSpace[1] = {{2, 2, 1, kEmpty}};
constexpr GUI_GLYPH_RANGE kLetterRange{'A', 'B', kLetters, nullptr};
constexpr GUI_GLYPH_RANGE kSpaceRange{' ', ' ', kSpace, &kLetterRange};
constexpr GUI_FONTDEF kBlocks{
    GUI_FontDrawChar, GUI_FontAdvance, GUI_FontInfo, GUI_FontHasGlyph, nullptr, 4, 4, 1, 1, &kSpaceRange, 3, 2, 4};

class Text : public ::testing::Test {
  protected:
    void SetUp() override { GUI_SelectFont(&kBlocks); }
    // First and last column with ink in row y, -1 if none.
    static std::pair<int, int> inkColumns(int y)
    {
        int first = -1;
        int last = -1;
        for (int x = 0; x < 240; ++x) {
            if (Screen::on(x, y)) {
                first = first < 0 ? x : first;
                last = x;
            }
        }
        return {first, last};
    }
    static int firstInkRow(int x)
    {
        for (int y = 0; y < 160; ++y) {
            if (Screen::on(x, y)) {
                return y;
            }
        }
        return -1;
    }
    Screen s;
};

TEST_F(Text, HorizontalAlignmentInABox)
{
    const GUI_BOX box{0, 0, 9, 3};
    GUI_TextInBox("A", &box, GUI_ALIGN_HCENTER); // x0 + (x1 - x0 - w) / 2 = (9 - 5) / 2
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{2, 6}));
    GUI_EraseScreen();
    GUI_TextInBox("A", &box, GUI_ALIGN_RIGHT);
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{5, 9}));
    GUI_EraseScreen();
    // Wider than the box: starts left of x0 and is cut there.
    const GUI_BOX narrow{20, 0, 26, 3};
    GUI_TextInBox("AA", &narrow, GUI_ALIGN_RIGHT);
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{20, 26}));
}

TEST_F(Text, VerticalAlignmentAndLineCounting)
{
    const GUI_BOX box{0, 10, 39, 29}; // 20 rows
    GUI_TextInBox("A\nB", &box, GUI_ALIGN_VCENTER);
    EXPECT_EQ(firstInkRow(0), 10 + (29 - 10 + 1 - 2 * 4) / 2);
    EXPECT_EQ(inkColumns(16 + 4), (std::pair<int, int>{0, 2})); // second line, left-aligned
    GUI_EraseScreen();
    GUI_TextInBox("A\n", &box, GUI_ALIGN_BOTTOM); // a trailing line feed adds no line
    EXPECT_EQ(firstInkRow(0), 29 - 4 + 1);
    GUI_EraseScreen();
    GUI_TextInBox("A", &box, 4); // 4 acts as bottom
    EXPECT_EQ(firstInkRow(0), 26);
}

TEST_F(Text, MaxCharsLimitsWhatIsDrawn)
{
    const GUI_BOX box{0, 0, 239, 3};
    GUI_TextInBoxN("AAAAAA", &box, GUI_ALIGN_LEFT, 3);
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{0, 14}));
}

TEST_F(Text, WholeCharactersThatFitAWidth)
{
    EXPECT_EQ(GUI_CharsThatFit("AAB", 13), 3); // exactly its width
    EXPECT_EQ(GUI_CharsThatFit("AAB", 12), 2); // one pixel short loses the whole B
    EXPECT_EQ(GUI_CharsThatFit("AAB", 5), 1);
    EXPECT_EQ(GUI_CharsThatFit("AAB", 4), 0);
    EXPECT_EQ(GUI_CharsThatFit("AAB", -3), 0);
    EXPECT_EQ(GUI_CharsThatFit("", 100), 0);
    EXPECT_EQ(GUI_CharsThatFit(nullptr, 100), 0);
}

// The left text of a row or title stops at a whole character with a gap of
// four before the right text, however wide it is.
TEST_F(Text, LeftTextEndsBeforeTheRightText)
{
    // 20 wide, a gap of 4, "B" 3 wide: exactly 27.
    const GUI_BOX exact{0, 0, 26, 3};
    ML_DrawLeftRight(&exact, "AAAA", "B");
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{0, 26}));
    EXPECT_EQ(Screen::countRow(0, 20, 23), 0);
    GUI_EraseScreen();
    // One pixel less: the last A goes whole.
    const GUI_BOX narrow{0, 0, 25, 3};
    ML_DrawLeftRight(&narrow, "AAAA", "B");
    EXPECT_EQ(Screen::countRow(0, 0, 25), 15 + 3);
    EXPECT_EQ(Screen::countRow(0, 15, 22), 0);
    GUI_EraseScreen();
    // Without a right text the whole box is the left text's.
    ML_DrawLeftRight(&narrow, "AAAAAB", nullptr);
    EXPECT_EQ(Screen::countRow(0, 0, 25), 25);
    GUI_EraseScreen();
    ML_DrawLeftRight(&narrow, "", "B");
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{23, 25}));
    GUI_EraseScreen();
    // A right text wider than the box leaves nothing of the left one.
    ML_DrawLeftBeside(&narrow, "AAAA", 30);
    EXPECT_EQ(Screen::countAll(), 0);
}

TEST_F(Text, WordWrapBreaksAfterSpacesAndAlignsEachLine)
{
    const GUI_BOX box{0, 0, 15, 39}; // 16 pixels: "AA " is 12, "AA AA" 22
    GUI_TextInBoxWrapped("AA AA BB", &box, GUI_ALIGN_RIGHT, GUI_WRAP_WORD);
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{4, 13})); // "AA " right-aligned: the space is part of the line
    EXPECT_EQ(inkColumns(4), (std::pair<int, int>{4, 13}));
    EXPECT_EQ(inkColumns(8), (std::pair<int, int>{10, 15}));
    EXPECT_EQ(inkColumns(12), (std::pair<int, int>{-1, -1}));
    EXPECT_EQ(GUI_Context.clip.x1, 239); // the clip is the whole screen afterwards
    GUI_EraseScreen();
    GUI_TextInBoxWrapped("AAAA", &box, GUI_ALIGN_LEFT, GUI_WRAP_CHAR);
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{0, 14}));
    EXPECT_EQ(inkColumns(4), (std::pair<int, int>{0, 4}));
    GUI_EraseScreen();
    const GUI_BOX tiny{0, 0, 2, 39}; // narrower than one character: still one per line
    GUI_TextInBoxWrapped("AA", &tiny, GUI_ALIGN_LEFT, GUI_WRAP_WORD);
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{0, 2}));
    EXPECT_EQ(inkColumns(4), (std::pair<int, int>{0, 2}));
}

TEST_F(Text, PositionedTextAndTextModes)
{
    GUI_SelectTextAlign(GUI_ALIGN_RIGHT);
    GUI_TextAt("AB", 50, 0);
    EXPECT_EQ(inkColumns(0), (std::pair<int, int>{42, 49}));
    EXPECT_EQ(GUI_Context.textAlign & GUI_ALIGN_HORIZONTAL, 0); // cleared afterwards
    GUI_TextCenteredAt("A\nB", 100, 10);
    EXPECT_EQ(inkColumns(10), (std::pair<int, int>{98, 102}));
    EXPECT_EQ(inkColumns(14), (std::pair<int, int>{99, 101}));
    GUI_EraseScreen();

    GUI_FillArea(0, 20, 20, 23);
    GUI_SelectTextMode(GUI_MODE_REV);
    GUI_CharAt('A', 0, 20); // inverse: the block erases
    GUI_SelectTextMode(GUI_MODE_TRANS);
    GUI_CharAt(' ', 10, 20); // transparent: an empty glyph changes nothing
    GUI_SelectTextMode(GUI_MODE_NORMAL);
    GUI_CharAt(' ', 15, 20); // normal: the empty cell erases
    EXPECT_EQ(inkColumns(20), (std::pair<int, int>{5, 20}));
    EXPECT_FALSE(Screen::on(15, 20));
    EXPECT_FALSE(Screen::on(16, 20));
    EXPECT_EQ(GUI_Context.textX, 17);
}

TEST_F(Text, CodesWithoutGlyphDrawNothingAndDoNotAdvance)
{
    GUI_CharAt('Z', 5, 5);
    EXPECT_EQ(Screen::countAll(), 0);
    EXPECT_EQ(GUI_Context.textX, 5);
    EXPECT_EQ(GUI_TextWidth("AZB"), 8);
}

TEST(Encoding, Utf8DecodeEncodeAndBadInput)
{
    Screen s;
    std::uint16_t codes[8];
    EXPECT_EQ(GUI_Utf8ToCodes("\xC3\x84", 2, codes, 8), 1);
    EXPECT_EQ(codes[0], 0x00C4);
    char out[8];
    const std::uint16_t sym = 0x266F;
    ASSERT_EQ(GUI_CodesToUtf8(&sym, 1, out, 8), 3);
    EXPECT_EQ(std::string(out, 3), "\xE2\x99\xAF");
    const std::uint16_t pair[2] = {0x41, 0x20AC};
    EXPECT_EQ(GUI_CodesToUtf8(pair, 2, out, 3), 1);
    EXPECT_EQ(out[0], 'A');

    // A stray continuation byte: reported (decode and length each), skipped.
    EXPECT_EQ(GUI_Utf8ToCodes("a\x80"
                              "b",
                              3, codes, 8),
              3);
    EXPECT_EQ(codes[1], 1);
    EXPECT_EQ(codes[2], 'b');
    EXPECT_EQ(s.host().errors(), 2);
    // A sequence cut short by the end of the bytes allowed is not read past.
    EXPECT_EQ(GUI_Utf8ToCodes("\xE2\x99\xAF", 2, codes, 8), 2);
    EXPECT_EQ(codes[0], 1);
    // ... nor past the terminating zero of a text.
    const char cut[] = {'A', '\xE2', '\0', 'X', 'X', '\0'};
    EXPECT_EQ(GUI_TextWidth(cut), GUI_CharWidth('A'));
    EXPECT_EQ(GUI_Utf8ToCodes("abc", 3, codes, 2), 2);
}

TEST(Fonts, WidthsOfTheRealFonts)
{
    Screen s;
    EXPECT_EQ(GUI_CharWidth(0x266C), 8);
    EXPECT_EQ(GUI_TextWidth("12"), 22);
    TXT_UseFontLarge();
    EXPECT_EQ(GUI_CharWidth(0x266C), 0);
    EXPECT_EQ(GUI_TextWidth("12"), 30);
    EXPECT_TRUE(GUI_FontHasChar(nullptr, 0x00ED));
    EXPECT_EQ(TXT_UseFontSmall(), TXT_FontLarge());
    EXPECT_EQ(GUI_TextWidth("12"), 12);
    EXPECT_EQ(GUI_CharWidth(0x00ED), 0);
    EXPECT_EQ(GUI_FontHeight(), 8);
    EXPECT_FALSE(GUI_FontHasChar(TXT_FontSmall(), 0x00ED));
}

TEST(Goldens, BoxAlignments)
{
    Screen s;
    const int aligns[9] = {0, 1, 2, 12, 13, 14, 8, 9, 10};
    for (int i = 0; i < 9; ++i) {
        const std::int16_t x0 = static_cast<std::int16_t>((i % 3) * 80);
        const std::int16_t y0 = static_cast<std::int16_t>((i / 3) * 53);
        const GUI_BOX box{x0, y0, static_cast<std::int16_t>(x0 + 79), static_cast<std::int16_t>(y0 + 52)};
        GUI_FrameArea(box.x0, box.y0, box.x1, box.y1);
        const GUI_BOX inner{static_cast<std::int16_t>(box.x0 + 2), static_cast<std::int16_t>(box.y0 + 2),
                            static_cast<std::int16_t>(box.x1 - 2), static_cast<std::int16_t>(box.y1 - 2)};
        GUI_TextInBox(i % 2 == 0 ? "Übern.\n°C ♯" : "Ä 12,5", &inner, aligns[i]);
    }
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "box_alignments"));
}

TEST(Goldens, WrappedTextInThreeFonts)
{
    Screen s;
    const GUI_BOX top{4, 2, 235, 61};
    GUI_TextInBoxWrapped("Die Warmwassertemperatur wird über die Tasten ♯ eingestellt.", &top,
                         GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
    TXT_UseFontSmall();
    const GUI_BOX middle{4, 64, 235, 95};
    GUI_TextInBoxWrapped("Отопление и горячая вода; Ūdens sildīšana; Łódź, Şişli, čeština 0123456789", &middle,
                         GUI_ALIGN_LEFT, GUI_WRAP_WORD);
    TXT_UseFontLarge();
    const GUI_BOX bottom{4, 98, 235, 159};
    GUI_TextInBoxWrapped("55,5 °C\n12:30", &bottom, GUI_ALIGN_RIGHT | GUI_ALIGN_BOTTOM, GUI_WRAP_WORD);
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "wrapped_text"));
}

} // namespace

namespace {

TEST(Encoding, OverlongZeroNeitherHangsNorEndsTheWalkEarly)
{
    Screen s;
    const GUI_BOX box{0, 0, 239, 159};
    // An image from elsewhere may encode a zero as C0 80: it is an illegal
    // character here, drawn as nothing, and the text goes on.
    GUI_TextInBoxWrapped("AB\xC0\x80"
                         "CD\xE0\x80\x80",
                         &box, GUI_ALIGN_LEFT, GUI_WRAP_WORD);
    EXPECT_EQ(GUI_TextWidth("AB\xC0\x80"
                            "CD"),
              GUI_TextWidth("ABCD"));
    EXPECT_GT(s.host().errors(), 0);
}

TEST(TextAt, LinesAfterALineFeedStartAtTheLeftMargin)
{
    Screen s;
    GUI_SelectFont(TXT_FontNormal());
    GUI_TextAt("I\nI", 50, 10);
    int firstInk = -1;
    for (int x = 0; x < 240 && firstInk < 0; ++x) {
        for (int y = 30; y < 50; ++y) {
            if (Screen::on(x, y)) {
                firstInk = x;
                break;
            }
        }
    }
    EXPECT_LT(firstInk, 20); // the margin is 0, not the 50 of the first line
}

} // namespace
