// The manufacturer's end test, the character-set view and the menu test,
// driven below their superstates without the tasks running.
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "core/MAIN_Record.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BMM.h"
#include "screens/common/ML.h"
#include "screens/service/BHE.h"
#include "screens/service/BMNT.h"
#include "screens/service/BZA.h"
#include "support/Screen.h"

namespace {

struct Driven {
    SM_Hsm hsm{};
    Driven(SM_Handler parent, SM_Handler target, std::uint32_t par)
    {
        SM_Ctor(&hsm);
        hsm.state = parent;
        SM_TranParam(&hsm, parent, target, par);
    }
    void key(std::uint16_t sig) { SM_DispatchSignal(&hsm, sig, 0); }
    SM_Handler state() const { return SM_GetState(&hsm); }
};

std::vector<std::uint32_t> Frame()
{
    return {std::begin(LCD_FRAMEBUFFER), std::end(LCD_FRAMEBUFFER)};
}

std::set<std::uint16_t> Codes(const GUI_FONTDEF& font)
{
    std::set<std::uint16_t> codes;
    for (const GUI_GLYPH_RANGE* r = font.firstRange; r != nullptr; r = r->next) {
        for (unsigned c = r->first; c <= r->last; ++c) {
            codes.insert(static_cast<std::uint16_t>(c));
        }
    }
    return codes;
}

// Anything drawn in the right third of the bottom row, where the large
// font's height stands.
bool LargeLabelShown()
{
    for (int x = 200; x < 240; ++x) {
        if (Screen::countRow(145, x, x) != 0 || Screen::countRow(140, x, x) != 0 || Screen::countRow(150, x, x) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

TEST(EndTest, ChecksumIsTheCrcOfTheFontTablesAndIsKeptForTheLink)
{
    static constexpr std::uint8_t kCheck[] = {'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(BHE_Crc16(0xFFFF, kCheck, sizeof kCheck), 0x29B1);
    // Continued in parts, the same.
    EXPECT_EQ(BHE_Crc16(BHE_Crc16(0xFFFF, kCheck, 4), kCheck + 4, 5), 0x29B1);

    Screen s;
    MAIN_SetRomChecksum(0xFFFF);
    Driven d(BHE_HerstellerEndkontrolle, BHE_RomChecksum, 0);
    EXPECT_EQ(MAIN_RomChecksum(), BHE_ProgramChecksum());
    EXPECT_NE(MAIN_RomChecksum(), 0xFFFF);
    EXPECT_EQ(BHE_ProgramChecksum(), BHE_ProgramChecksum());
    // Any result fits its box (74..164) in the large font.
    TXT_UseFontLarge();
    for (const char* digit : {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "A", "B", "C", "D", "E", "F"}) {
        const std::string text = std::string("0x") + digit + digit + digit + digit;
        EXPECT_LE(GUI_TextWidth(text.c_str()), 91) << text;
    }
    TXT_UseFontNormal();
}

TEST(EndTest, EveryTestKeyShowsItsOwnNumberAndContrastIsNotStored)
{
    Screen s;
    Driven d(BHE_HerstellerEndkontrolle, BHE_Keyboardtest, 0);
    std::vector<std::vector<std::uint32_t>> pictures{Frame()};
    for (std::uint16_t sig : {SIG_KEY_BACK, SIG_KEY_LEFT, SIG_KEY_OK, SIG_KEY_RIGHT, SIG_KEY_MENU, SIG_KEY_HELP}) {
        d.key(sig);
        EXPECT_EQ(d.state(), BHE_Keyboardtest) << sig;
        for (const auto& before : pictures) {
            EXPECT_NE(Frame(), before) << sig;
        }
        pictures.push_back(Frame());
    }
    // The box stays inverted around the number: its corners are lit.
    EXPECT_TRUE(Screen::on(74, 54));
    EXPECT_TRUE(Screen::on(164, 104));

    const std::uint8_t stored = DAT_Contrast();
    LCD_SetContrast(LCD_ContrastMax());
    d.key(SIG_KEY_OK_UP);
    EXPECT_EQ(LCD_GetContrast(), 0); // wraps round
    d.key(SIG_KEY_OK_DOWN);
    d.key(SIG_KEY_OK_DOWN);
    EXPECT_EQ(LCD_GetContrast(), LCD_ContrastMax() - 1);
    EXPECT_EQ(DAT_Contrast(), stored);
}

TEST(CharacterSetView, WalksEveryGlyphOfTheThreeFontsBothWays)
{
    Screen s;
    const std::set<std::uint16_t> normal = Codes(GUI_Font20);
    const std::set<std::uint16_t> large = Codes(GUI_Font32);
    for (const GUI_FONTDEF* font : {&GUI_Font8, &GUI_Font32}) {
        const std::set<std::uint16_t> codes = Codes(*font);
        EXPECT_TRUE(std::includes(normal.begin(), normal.end(), codes.begin(), codes.end()));
    }

    Driven d(BMM_Menuemonitor, BZA_ZeichensatzAnzeige, 3);
    EXPECT_EQ(BZA_Code(), 0x001B); // started at 0
    std::vector<std::uint16_t> up{BZA_Code()};
    for (std::size_t i = 1; i < normal.size() + 1; ++i) {
        d.key(SIG_KEY_UP);
        EXPECT_EQ(LargeLabelShown(), large.count(BZA_Code()) != 0) << BZA_Code();
        up.push_back(BZA_Code());
    }
    EXPECT_EQ(up.back(), 0x001B); // round the 16 bits and back to the start
    up.pop_back();
    EXPECT_TRUE(std::is_sorted(up.begin(), up.end()));
    EXPECT_EQ(std::set<std::uint16_t>(up.begin(), up.end()), normal);
    const auto tilde = std::find(up.begin(), up.end(), 0x007E);
    ASSERT_NE(tilde, up.end());
    EXPECT_EQ(*(tilde + 1), 0x00A0);

    std::vector<std::uint16_t> down;
    for (std::size_t i = 0; i < normal.size(); ++i) {
        d.key(SIG_KEY_DOWN);
        down.push_back(BZA_Code());
    }
    std::reverse(down.begin(), down.end());
    EXPECT_EQ(down, up);
    // Only the normal font has the key symbols: no large glyph, no "32".
    EXPECT_EQ(BZA_Code(), 0x001B);
    d.key(SIG_KEY_DOWN);
    EXPECT_EQ(BZA_Code(), 0x2674);
    EXPECT_FALSE(LargeLabelShown());
}

TEST(MenuTest, HiddenRowsAreSkippedAndAnEmptyMenuStillLeadsToTheSubmenu)
{
    Screen s;
    Driven d(BMM_Menuemonitor, BMNT_MenuTest, 3);
    const std::uint8_t* flags = BMNT_RowFlags();
    for (int i = 0; i < BMNT_ROWS; ++i) {
        EXPECT_EQ(flags[i], 1);
    }
    // Untick every row.
    d.key(SIG_KEY_OK);
    ASSERT_EQ(d.state(), BMNT_SubmenuTest);
    for (int i = 0; i < BMNT_ROWS; ++i) {
        d.key(SIG_KEY_OK);
        d.key(SIG_KEY_DOWN);
    }
    EXPECT_EQ(std::count(flags, flags + BMNT_ROWS, 0), BMNT_ROWS);
    SM_TranParam(&d.hsm, BMM_Menuemonitor, BMNT_MenuTest, 4);
    EXPECT_EQ(ML_VisibleCount(), 0);
    const std::vector<std::uint32_t> empty = Frame();
    d.key(SIG_KEY_DOWN);
    d.key(SIG_KEY_UP);
    EXPECT_EQ(d.state(), BMNT_MenuTest);
    d.key(SIG_KEY_OK);
    ASSERT_EQ(d.state(), BMNT_SubmenuTest);
    // Rows 3 and 7 back; the cursor walks 3, 7 and stops.
    d.key(SIG_KEY_DOWN);
    d.key(SIG_KEY_DOWN);
    d.key(SIG_KEY_OK);
    for (int i = 0; i < 4; ++i) {
        d.key(SIG_KEY_DOWN);
    }
    d.key(SIG_KEY_OK);
    SM_TranParam(&d.hsm, BMM_Menuemonitor, BMNT_MenuTest, 4);
    EXPECT_EQ(ML_VisibleCount(), 2);
    EXPECT_NE(Frame(), empty);
    EXPECT_EQ(ML_GetCursor(), 2);
    d.key(SIG_KEY_DOWN);
    EXPECT_EQ(ML_GetCursor(), 6);
    d.key(SIG_KEY_DOWN);
    EXPECT_EQ(ML_GetCursor(), 6);
    // A fresh start shows every row again.
    SM_TranParam(&d.hsm, BMM_Menuemonitor, BMNT_MenuTest, 3);
    EXPECT_EQ(ML_VisibleCount(), BMNT_ROWS);
    EXPECT_EQ(std::count(flags, flags + BMNT_ROWS, 1), BMNT_ROWS);
}
