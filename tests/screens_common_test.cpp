// The menu list, the hint line and title bar, and the number dialog.
#include <gtest/gtest.h>
#include <random>

#include "data/DAT.h"
#include "data/TXT.h"
#include "screens/common/ML.h"
#include "screens/common/VD.h"
#include "support/Golden.h"
#include "support/Screen.h"

namespace {

void Entry(const GUI_BOX* row)
{
    GUI_TextInBox("Eintrag", row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

void Checked(const GUI_BOX* row)
{
    ML_DrawName(row, 5);
    ML_DrawChoiceMark(row, true);
}

void Unchecked(const GUI_BOX* row)
{
    ML_DrawName(row, 116);
    ML_DrawChoiceMark(row, false);
}

// n entries, all visible, in the standard four-row list.
void Build(std::uint8_t n, std::uint8_t rows = 4)
{
    for (std::uint8_t i = 0; i < n; ++i) {
        ML_SetEntry(i, Entry);
    }
    ML_SetCount(n);
    ML_Init(0, 239, 29, 24, 2, rows);
}

std::pair<int, int> Window()
{
    return {ML_GetFirstRow(), ML_GetCursor()};
}

// firstRow <= cursor, both visible, at most visibleRows visible from one to the other.
::testing::AssertionResult Consistent()
{
    const MenuList* l = ML_GetRecord();
    if (ML_VisibleCount() == 0) {
        return ::testing::AssertionSuccess();
    }
    const int k = ML_CountVisible(l->firstRow, l->cursor);
    if (!ML_IsEntryVisible(l->firstRow) || !ML_IsEntryVisible(l->cursor) || l->firstRow > l->cursor || k < 1 ||
        k > l->visibleRows) {
        return ::testing::AssertionFailure()
               << "first " << int(l->firstRow) << " cursor " << int(l->cursor) << " visible between " << k;
    }
    return ::testing::AssertionSuccess();
}

TEST(MenuList, CursorScrollsOneRowAheadAndStopsAtTheEnds)
{
    Screen s;
    Build(10);
    std::vector<std::pair<int, int>> seen{Window()};
    while (ML_CursorDown()) {
        seen.push_back(Window());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{
                        {0, 0}, {0, 1}, {0, 2}, {1, 3}, {2, 4}, {3, 5}, {4, 6}, {5, 7}, {6, 8}, {6, 9}}));
    // One row ahead all the way: only the last entry sits in the bottom row.
    GUI_EraseScreen();
    EXPECT_FALSE(ML_CursorDown()); // the last entry: nothing changes, nothing is drawn
    EXPECT_EQ(Screen::countAll(), 0);
    EXPECT_EQ(Window(), (std::pair<int, int>{6, 9}));
    while (ML_CursorUp()) {
        EXPECT_TRUE(Consistent());
    }
    EXPECT_EQ(Window(), (std::pair<int, int>{0, 0}));
}

TEST(MenuList, HiddenEntriesTakeNoRowAndAreJumpedOver)
{
    Screen s;
    Build(6);
    ML_SetEntryVisibleRaw(1, 0);
    ML_SetEntryVisibleRaw(2, 0);
    ML_Init(0, 239, 29, 24, 2, 4);
    EXPECT_TRUE(ML_CursorDown());
    EXPECT_EQ(ML_GetCursor(), 3);
    EXPECT_EQ(ML_VisibleCount(), 4);
    EXPECT_TRUE(ML_CursorUp());
    EXPECT_EQ(ML_GetCursor(), 0);
    EXPECT_EQ(ML_NextVisible(5), 5);
    EXPECT_EQ(ML_PrevVisible(0), 0);
}

TEST(MenuList, RestoringAPositionFitsItToWhatIsVisibleNow)
{
    Screen s;
    Build(10);
    ML_SetEntryVisibleRaw(7, 0);
    ML_RestorePosition(5, 7); // the cursor's entry was hidden meanwhile
    EXPECT_EQ(Window(), (std::pair<int, int>{0, 0}));
    Build(6); // the list became shorter: the window is pulled up to fill the rows
    ML_RestorePosition(5, 5);
    EXPECT_EQ(Window(), (std::pair<int, int>{2, 5}));
    Build(10);
    ML_RestorePosition(0, 8); // too far apart for four rows
    EXPECT_EQ(Window(), (std::pair<int, int>{5, 8}));
    ML_SetEntryVisibleRaw(2, 0);
    ML_RestorePosition(2, 4); // the first row's entry is hidden: counted back from the cursor
    EXPECT_EQ(Window(), (std::pair<int, int>{0, 4}));
    EXPECT_TRUE(Consistent());
}

TEST(MenuList, ShowingAndHidingKeepTheListConsistent)
{
    Screen s;
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const auto n = static_cast<std::uint8_t>(1 + random() % 12);
        Build(n, static_cast<std::uint8_t>(1 + random() % 4));
        for (int step = 0; step < 30; ++step) {
            switch (random() % 4) {
            case 0:
                ML_CursorDown();
                break;
            case 1:
                ML_CursorUp();
                break;
            default:
                ML_ShowEntry(static_cast<std::uint8_t>(random() % n), static_cast<std::uint8_t>(random() % 2));
                break;
            }
            ASSERT_TRUE(Consistent()) << "round " << round << " step " << step;
        }
    }
}

TEST(MenuList, RowsCursorRectAndHints)
{
    Screen s;
    Build(10);
    ML_CursorDown();
    ML_CursorDown();
    ML_CursorDown();
    GUI_BOX r{};
    ML_CursorRowRect(&r);
    EXPECT_EQ(r.y0, 29 + 26 * 2);
    EXPECT_EQ(r.y1, r.y0 + 23);
    EXPECT_EQ(HINT_TextId(0), 284);
    EXPECT_EQ(HINT_TextId(19), ML_NO_TEXT);
    HINT_SetText(19); // empty, with its separator
    EXPECT_EQ(Screen::countRow(132, 0, 239), 240);
    EXPECT_EQ(Screen::countRow(140, 0, 239), 0);
}

TEST(Goldens, MenuFrame)
{
    Screen s;
    ML_SetEntry(0, Checked);
    ML_SetEntry(1, Unchecked);
    ML_SetEntry(2, Entry);
    ML_SetCount(3);
    ML_Init(0, 239, 29, 24, 2, 4);
    ML_CursorDown();
    TITLE_Draw(128);
    ML_Draw();
    HINT_SetText(0);
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "menu_frame"));
}

TEST(NumberDialog, LimitsStepsAndDrawing)
{
    Screen s;
    const ValueLimits limits{40, -2, 10, 41};
    VD_Setup(&limits, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
    EXPECT_EQ(VD_GetStep(), 2);
    VD_Increment();
    EXPECT_EQ(VD_GetValue(), 41); // not past max
    VD_Increment();
    EXPECT_EQ(VD_GetValue(), 41);
    const ValueLimits low{11, 2, 10, 41};
    VD_Setup(&low, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
    VD_Decrement();
    EXPECT_EQ(VD_GetValue(), 10); // min + 1 - 2 stops at min
    const ValueLimits outside{99, 1, 10, 41};
    VD_Setup(&outside, FMT_Temperature, &VD_VALUE_BOX, TXT_FontLarge());
    EXPECT_EQ(VD_GetValue(), 41);
    EXPECT_EQ(GUI_Context.font, TXT_FontNormal()); // drawing restores font and mode
    VD_Draw(GUI_MODE_REV);
    EXPECT_EQ(GUI_Context.font, TXT_FontNormal());
    EXPECT_EQ(GUI_Context.textMode, 0);
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "number_dialog"));
}

TEST(NumberDialog, TemperaturesInBothUnits)
{
    Screen s;
    DAT_InitDefaults(0);
    char text[16];
    FMT_TemperatureText(text, sizeof text, -3, false);
    EXPECT_STREQ(text, "-3°C");
    FMT_TemperatureText(text, sizeof text, 0, true);
    EXPECT_STREQ(text, "---°C");
    FMT_TemperatureText(text, 4, 123, false);
    EXPECT_STREQ(text, "123");
    DAT_SetStatusFlag(1, 0x02, true); // the unit flag (bit 9 of the status word)
    EXPECT_EQ(TMP_ToDisplay(20), 68);
    EXPECT_EQ(TMP_ToDisplay(3), 37);
    EXPECT_EQ(TMP_ToDisplay(37), 99);
    EXPECT_EQ(TMP_ToDisplay(-1), 30);
    EXPECT_EQ(TMP_FromDisplay(68), 20);
    FMT_TemperatureText(text, sizeof text, 68, false);
    EXPECT_STREQ(text, "68°F");
    DAT_SetStatusFlag(1, 0x02, false);
    EXPECT_EQ(TMP_ToDisplay(20), 20);
}

} // namespace
