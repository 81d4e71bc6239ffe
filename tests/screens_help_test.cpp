// Help pages of fault entries: the header with time and code, the advice
// table, four lines per page. No screen opens them yet, so the test drives
// the help display directly below the menu monitor.
#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <vector>

#include "core/SM.h"
#include "data/DAT.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "support/Golden.h"
#include "support/Screen.h"

namespace {

void SetFault(bool history, std::uint8_t index, std::uint8_t code, std::uint16_t advice, std::uint32_t time)
{
    std::uint8_t* f = history ? DAT_image.history[index] : DAT_image.faults[index];
    std::memset(f, 0, DAT_FAULT_SIZE);
    f[0] = code;
    f[1] = 2;
    f[5] = static_cast<std::uint8_t>(advice);
    f[6] = static_cast<std::uint8_t>(advice >> 8);
    for (int i = 0; i < 4; ++i) {
        f[7 + i] = static_cast<std::uint8_t>(time >> (8 * i));
    }
}

struct Help {
    SM_Hsm hsm{};
    explicit Help(std::uint32_t page)
    {
        SM_Ctor(&hsm);
        hsm.state = BMM_Menuemonitor; // as if the monitor had just been entered
        SM_TranParam(&hsm, BMM_Menuemonitor, BHA_Hilfeanzeige, page);
    }
    void key(std::uint16_t sig) { SM_DispatchSignal(&hsm, sig, 0); }
};

std::vector<std::uint32_t> Frame()
{
    return {std::begin(LCD_FRAMEBUFFER), std::end(LCD_FRAMEBUFFER)};
}

TEST(HelpDisplay, FaultWithTimeShowsDateTimeCodeAndTheAdvice)
{
    Screen s;
    // 2026-01-05 08:03:09; advice 7 gives text 377 (four lines: they fit).
    SetFault(false, 1, 0x2A, 7, 1'767'600'189);
    Help h(120);
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "help_fault_time"));
}

TEST(HelpDisplay, FaultWithoutTimeScrollsFourLinesAtATime)
{
    Screen s;
    // Advice 14 gives text 384: seven lines, four visible below the header.
    SetFault(true, 0, 0x05, 14, 0);
    Help h(130);
    EXPECT_TRUE(LcdMatchesGolden(s.host(), "help_fault_no_time"));
    std::vector<std::vector<std::uint32_t>> pages{Frame()};
    for (int i = 0; i < 4; ++i) {
        h.key(SIG_KEY_DOWN);
        pages.push_back(Frame());
    }
    EXPECT_NE(pages[1], pages[2]);
    EXPECT_NE(pages[2], pages[3]);
    EXPECT_EQ(pages[3], pages[4]); // lines 4 to 7 are the last page
    std::vector<std::vector<std::uint32_t>> back;
    for (int i = 0; i < 4; ++i) {
        h.key(SIG_KEY_UP);
        back.push_back(Frame());
    }
    EXPECT_EQ(back[0], pages[2]);
    EXPECT_EQ(back[1], pages[1]);
    EXPECT_NE(back[2], pages[1]);
    EXPECT_EQ(back[2], back[3]); // the first line is the top
}

TEST(HelpDisplay, AdviceFromEighteenOnKeepsThePageBodyAndPagesOutsideTheTableShowPageSixteen)
{
    Screen s;
    SetFault(false, 9, 0x10, 18, 0);
    Help fault(128);
    const std::uint32_t withPageBody = Screen::countAll();
    SetFault(false, 9, 0x10, 0, 0); // advice 0 is text 391 too, the page's own body
    Help same(128);
    EXPECT_EQ(Screen::countAll(), withPageBody);

    Help general(16);
    const std::uint32_t page16 = Screen::countAll();
    Help below(3);
    EXPECT_EQ(Screen::countAll(), page16);
    Help above(141);
    EXPECT_EQ(Screen::countAll(), page16);
}

} // namespace
