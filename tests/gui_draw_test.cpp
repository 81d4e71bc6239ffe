// Primitives, modes, clipping, the panel driver, and goldens of lines and arcs.
#include <gtest/gtest.h>

#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "support/Golden.h"
#include "support/Screen.h"

namespace {

TEST(Draw, EraseScreenShowsAllOffAndHomesTheTextPosition)
{
    Screen s;
    GUI_FillArea(0, 0, 239, 159);
    GUI_SetTextPos(50, 60);
    GUI_EraseScreen();
    LCD_Refresh();
    EXPECT_EQ(Screen::countAll(), 0);
    EXPECT_EQ(s.host().lcdPixel(120, 80), HAL_LcdOffColor());
    EXPECT_EQ(GUI_Context.textX, 0);
    EXPECT_EQ(GUI_Context.textY, 0);
}

TEST(Draw, InvertTwiceRestoresAndReverseModeFillsWithBackground)
{
    Screen s;
    GUI_FillArea(10, 10, 20, 20);
    GUI_InvertArea(5, 5, 15, 15);
    EXPECT_FALSE(Screen::on(12, 12));
    EXPECT_TRUE(Screen::on(7, 7));
    GUI_InvertArea(5, 5, 15, 15);
    EXPECT_TRUE(Screen::on(12, 12));
    EXPECT_FALSE(Screen::on(7, 7));
    EXPECT_EQ(Screen::countAll(), 121);

    GUI_SelectDrawMode(GUI_MODE_REV);
    GUI_FillArea(10, 10, 20, 10);
    GUI_SelectDrawMode(GUI_MODE_NORMAL);
    EXPECT_EQ(Screen::countRow(10, 0, 239), 0);
    EXPECT_EQ(GUI_Context.foreground, 0xFFFFFFU); // swapped back
}

TEST(Draw, EverythingIsClippedAndReversedCornersDrawNothing)
{
    Screen s;
    GUI_FillArea(-100, -100, 300, 300);
    EXPECT_EQ(Screen::countAll(), 240 * 160);
    GUI_EraseScreen();
    GUI_Pixel(-1, 5);
    GUI_Pixel(240, 5);
    GUI_FillArea(20, 20, 10, 30);
    GUI_Line(-50, -50, -10, -10);
    EXPECT_EQ(Screen::countAll(), 0);
    const GUI_BOX clip{10, 10, 19, 19};
    GUI_SetClip(&clip);
    GUI_FillArea(0, 0, 239, 159);
    GUI_SetClip(nullptr);
    EXPECT_EQ(Screen::countAll(), 100);
}

TEST(Draw, LinesFramesAndDashes)
{
    Screen s;
    GUI_Line(10, 10, 10, 10);
    EXPECT_EQ(Screen::countAll(), 1);
    EXPECT_TRUE(Screen::on(10, 10));
    GUI_EraseScreen();

    GUI_FrameArea(0, 0, 9, 4);
    EXPECT_EQ(Screen::countAll(), 10 + 10 + 3 + 3);
    GUI_EraseScreen();

    GUI_SelectLineStyle(2); // positions 2 and 3 of every 4
    GUI_Line(0, 0, 11, 0);
    EXPECT_EQ(Screen::countRow(0, 0, 11), 6);
    EXPECT_FALSE(Screen::on(0, 0));
    EXPECT_TRUE(Screen::on(2, 0));
    EXPECT_TRUE(Screen::on(3, 0));
    EXPECT_FALSE(Screen::on(4, 0));
    GUI_SelectLineStyle(0);

    // A diagonal steps one pixel per column; drawn either way it is the same.
    GUI_EraseScreen();
    GUI_Line(0, 20, 9, 29);
    GUI_Line(19, 29, 10, 20);
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(Screen::on(i, 20 + i));
        EXPECT_TRUE(Screen::on(10 + i, 20 + i));
    }
    EXPECT_EQ(Screen::countAll(), 20);

    // A wide pen draws nothing for a zero-length line.
    GUI_EraseScreen();
    GUI_SelectPenWidth(5);
    GUI_Line(50, 50, 50, 50);
    GUI_SelectPenWidth(1);
    EXPECT_EQ(Screen::countAll(), 0);
}

TEST(Draw, BitmapsFollowTheDrawMode)
{
    Screen s;
    GUI_PutBitmap(&bmFault22, 0, 0);
    const int set = Screen::countAll();
    ASSERT_GT(set, 0);
    GUI_SelectDrawMode(GUI_MODE_XOR);
    GUI_PutBitmap(&bmFault22, 0, 0); // XOR again: gone
    GUI_SelectDrawMode(GUI_MODE_NORMAL);
    EXPECT_EQ(Screen::countAll(), 0);

    GUI_FillArea(100, 0, 121, 21);
    GUI_PutBitmap(&bmFault22, 100, 0); // normal: clear bits paint the background
    EXPECT_EQ(Screen::countAll(), set);
    GUI_FillArea(100, 0, 121, 21);
    GUI_SelectDrawMode(GUI_MODE_TRANS);
    GUI_PutBitmap(&bmFault22, 100, 0); // the palette has no transparency: mode cleared for the call
    GUI_SelectDrawMode(GUI_MODE_NORMAL);
    EXPECT_EQ(Screen::countAll(), set);

    GUI_EraseScreen();
    GUI_PutBitmap(&bmFault22, 230, 150); // cut at the screen's edge
    GUI_PutBitmap(&bmFault22, -11, -11);
    EXPECT_LT(Screen::countAll(), set);
}

TEST(PanelDriver, ContrastWrapsAndClamps)
{
    Screen s;
    LCD_SetContrast(150);
    EXPECT_EQ(LCD_GetContrast(), 99);
    EXPECT_EQ(HAL_LcdOnColor(), 0xFFFFFFU);
    EXPECT_EQ(LCD_ContrastUp(), 0);
    EXPECT_EQ(HAL_LcdOnColor(), 0x9C9C9CU);
    EXPECT_EQ(LCD_ContrastDown(), 99);
    LCD_SetContrast(LCD_ContrastDefault());
    EXPECT_EQ(HAL_LcdOnColor(), 0xCECECEU);
}

TEST(PanelDriver, CacheBytesAndTestPatterns)
{
    Screen s;
    LCD_TestAllOn();
    LCD_WriteCacheByte(30, 0x80);
    EXPECT_TRUE(Screen::on(0, 1));
    for (int x = 1; x < 8; ++x) {
        EXPECT_FALSE(Screen::on(x, 1));
    }
    EXPECT_EQ(LCD_ReadCacheByte(30), 0x80);
    EXPECT_EQ(LCD_ReadCacheByte(31), 0xFF);
    const int before = Screen::countAll();
    LCD_WriteCacheByte(4800, 0x00);
    EXPECT_EQ(Screen::countAll(), before);
    EXPECT_EQ(LCD_ReadCacheByte(4800), 0);

    LCD_TestChecker();
    EXPECT_TRUE(Screen::on(0, 0));
    EXPECT_FALSE(Screen::on(8, 0));
    EXPECT_TRUE(Screen::on(8, 8));
    LCD_TestColumnsInv();
    EXPECT_TRUE(Screen::on(0, 5));
    EXPECT_FALSE(Screen::on(1, 5));
    EXPECT_EQ(LCD_GetProperty(1), 240U);
    EXPECT_EQ(LCD_GetProperty(4), 160U);
    EXPECT_EQ(LCD_GetProperty(4096 + 0x123456), 0x123456U);
    EXPECT_EQ(LCD_GetProperty(5), 0U);
}

TEST(Goldens, ThickLinesAndDashStyles)
{
    Screen s;
    GUI_SelectPenWidth(5);
    GUI_Line(20, 20, 100, 20);
    GUI_Line(20, 40, 100, 70);
    GUI_Line(130, 20, 150, 120);
    GUI_Context.penEnd = 1;
    GUI_Line(170, 20, 220, 60);
    GUI_Context.penEnd = 0;
    GUI_SelectPenWidth(1);
    for (std::uint8_t style = 1; style <= 4; ++style) {
        GUI_SelectLineStyle(style);
        GUI_Line(10, 90 + style * 12, 120, 90 + style * 12);
        GUI_Line(160 + style * 15, 80, 200 + style * 8, 150);
    }
    GUI_SelectLineStyle(0);
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "thick_lines"));
}

TEST(Goldens, ScreensaverRingSegment)
{
    Screen s;
    GUI_SelectPenWidth(7);
    GUI_Arc(119, 79, 30, 30, 30, 150);
    GUI_Arc(119, 79, 30, 30, 560, 610); // 200..250 once whole turns are taken off
    GUI_SelectPenWidth(1);
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "ring_segment"));
}

} // namespace
