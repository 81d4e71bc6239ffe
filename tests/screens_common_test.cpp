// The menu list, the hint line and title bar, and the number dialog.
#include <gtest/gtest.h>
#include <random>

#include "data/DAT.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "data/TXT_Generated.h"
#include "screens/base/BGA.h"
#include "screens/common/ML.h"
#include "screens/common/VD.h"
#include "screens/user/BEK.h"
#include "support/Golden.h"
#include "support/PanelRun.h"
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

// The delivered image with text 0 of one language made long, as a catalogue
// or any --flash image may have it: a "no sensor data" of 37 bytes.
constexpr std::uint8_t kLongLanguage = 3;
const std::string kLongText = "Нет данных с датчика";

std::vector<std::uint8_t> ImageWithLongTextZero()
{
    std::vector<std::uint8_t> img(FLS_DEFAULT_IMAGE, FLS_DEFAULT_IMAGE + FLS_DEFAULT_IMAGE_SIZE);
    const auto u32 = [&](std::uint32_t at) {
        return img[at] | img[at + 1] << 8 | img[at + 2] << 16 | std::uint32_t{img[at + 3]} << 24;
    };
    const auto put = [&](std::uint32_t at, std::uint32_t v) {
        for (int k = 0; k < 4; ++k) {
            img[at + k] = static_cast<std::uint8_t>(v >> (8 * k));
        }
    };
    const std::uint32_t table = u32(FLS_DIRECTORY_OFFSET + FLS_DIR_TABLES + 4U * kLongLanguage);
    const auto at = static_cast<std::uint32_t>(img.size());
    img.insert(img.end(), kLongText.begin(), kLongText.end());
    put(table, at); // text 0 is now the appended one (text 1 comes out empty)
    put(table + 4, at + static_cast<std::uint32_t>(kLongText.size()));
    return img;
}

TEST(NumberDialog, LongTextsFromTheFlashAreCutNeverWrittenPastTheBuffer)
{
    Screen s;
    std::vector<std::uint8_t> img = ImageWithLongTextZero();
    FLS_Attach(img.data(), static_cast<std::uint32_t>(img.size()));
    TXT_SetLanguage(kLongLanguage);
    ASSERT_EQ(std::string(TXT_GetText(0)), kLongText);
    const std::string unit = TXT_GetText(3);
    char text[64];
    EXPECT_EQ(FMT_TemperatureText(text, sizeof text, 0, true), static_cast<int>(kLongText.size() + unit.size()));
    EXPECT_EQ(text, kLongText + unit);
    char title[8]; // as the base display's title has it
    EXPECT_EQ(FMT_TemperatureText(title, sizeof title, 0, true), 7);
    EXPECT_EQ(std::string(title), kLongText.substr(0, 7));
    FLS_PowerOn();
}

TEST(NumberDialog, BaseDisplayShowsABoilerSensorFaultInALanguageWithALongText)
{
    PanelRun p;
    std::vector<std::uint8_t> img = ImageWithLongTextZero();
    FLS_Attach(img.data(), static_cast<std::uint32_t>(img.size()));
    ASSERT_TRUE(p.run({{1000,
                        [] {
                            DAT_image.service[1] = 0x03;
                            TXT_SetLanguage(kLongLanguage); // as the start of communication takes it
                            DAT_image.system[1] |= 0x02;    // no boiler sensor
                        }},
                       {12000, [] { EXPECT_EQ(SM_TaskState(BED_Task), BGA_GrundanzeigeMenue); }}},
                      12100));
    FLS_PowerOn();
}

// The setting bars: limits that the factory test may have written equal
// draw a full or empty bar; values outside the limits stay in the frame.
TEST(SettingBar, EndFollowsTheValueAndNeverDividesByZero)
{
    EXPECT_EQ(BEK_BarEnd(20, 199, 0, 0, 99), 20);
    EXPECT_EQ(BEK_BarEnd(20, 199, 99, 0, 99), 219);
    EXPECT_EQ(BEK_BarEnd(20, 199, 26, 0, 99), 20 + 199 * 26 / 99);
    EXPECT_EQ(BEK_BarEnd(20, 199, 48, 48, 216), 20);
    EXPECT_EQ(BEK_BarEnd(20, 199, 5, 48, 216), 20);
    EXPECT_EQ(BEK_BarEnd(20, 199, 250, 48, 216), 219);
    EXPECT_EQ(BEK_BarEnd(20, 199, 36, 36, 36), 219);
    EXPECT_EQ(BEK_BarEnd(20, 199, 35, 36, 36), 20);
    EXPECT_EQ(BEK_BarEnd(20, 199, 10, 200, 1), 219); // crossed: full at or above the upper one
}

} // namespace
