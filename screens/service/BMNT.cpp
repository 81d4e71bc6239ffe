// Menu test: seven rows in the standard menu; the sub-menu ticks which of
// them the menu shows, so that scrolling past hidden rows can be tried.
#include "screens/service/BMNT.h"

#include <array>
#include <cstdio>

#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"

namespace {

constexpr const char* kTitle = "Menütest";

struct Module {
    std::array<std::uint8_t, BMNT_ROWS> flags{};
    SM_Handler returnTo = nullptr;
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    SCR_Menu submenu{0, 0, HINT_CHOOSE};
};

Module bmnt;

void Label(const GUI_BOX* row, std::uint8_t i)
{
    char text[12];
    std::snprintf(text, sizeof text, "Zeile %u", static_cast<unsigned>(i + 1));
    GUI_TextInBox(text, row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

template <std::uint8_t I> void MenuRow(const GUI_BOX* row)
{
    Label(row, I);
}

template <std::uint8_t I> void FlagRow(const GUI_BOX* row)
{
    Label(row, I);
    ML_DrawChoiceMark(row, bmnt.flags[I] != 0);
}

constexpr ML_DrawFn kMenuRows[BMNT_ROWS] = {MenuRow<0>, MenuRow<1>, MenuRow<2>, MenuRow<3>,
                                            MenuRow<4>, MenuRow<5>, MenuRow<6>};
constexpr ML_DrawFn kFlagRows[BMNT_ROWS] = {FlagRow<0>, FlagRow<1>, FlagRow<2>, FlagRow<3>,
                                            FlagRow<4>, FlagRow<5>, FlagRow<6>};

void SetUp(const ML_DrawFn* rows)
{
    for (std::uint8_t i = 0; i < BMNT_ROWS; ++i) {
        ML_SetEntry(i, rows[i]);
        ML_SetEntryVisibleRaw(i, 1);
    }
    ML_SetCount(BMNT_ROWS);
    ML_Init(0, 239, 29, 24, 2, 4);
}

void Draw(const SCR_Menu& menu)
{
    GUI_EraseScreen();
    TITLE_SetText(kTitle);
    TITLE_DrawLine();
    ML_Draw();
    HINT_SetText(menu.hint);
    LCD_Refresh();
}

// Opened afresh from the screen the menu monitor was left from; the
// sub-menu and the menu test itself are never that screen.
void RememberReturn()
{
    const SM_Handler from = BMM_ReturnScreen();
    if (from != BMNT_MenuTest && from != BMNT_SubmenuTest) {
        bmnt.returnTo = from;
    }
}

bool MenuHintTimeout(SCR_Menu& menu, const SM_Event* e)
{
    if (e->sig != SIG_TMR_HINT_TIMEOUT) {
        return false;
    }
    SCR_MenuHint(menu, HINT_CHOOSE);
    HINT_Refresh();
    return true;
}

} // namespace

const std::uint8_t* BMNT_RowFlags()
{
    return bmnt.flags.data();
}

SM_State BMNT_MenuTest(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BMNT_MenuTest", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SetUp(kMenuRows);
        return nullptr;
    case SIG_INIT:
        if (e->par == SCR_FROM_PARENT || e->par == SCR_PLAIN) {
            RememberReturn();
            for (std::uint8_t i = 0; i < BMNT_ROWS; ++i) {
                bmnt.flags[i] = ML_IsEntryVisible(i);
            }
        } else {
            for (std::uint8_t i = 0; i < BMNT_ROWS; ++i) {
                ML_ShowEntry(i, bmnt.flags[i]);
            }
        }
        if (SCR_MenuInit(bmnt.menu, e->par)) {
            ML_RestorePosition(bmnt.menu.firstRow, bmnt.menu.cursor);
        } else {
            ML_SetCursor(ML_FirstVisible());
            ML_SetFirstRow(ML_FirstVisible());
        }
        Draw(bmnt.menu);
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bmnt.menu);
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BMNT_SubmenuTest, SCR_PLAIN);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, bmnt.returnTo != nullptr ? bmnt.returnTo : BGA_Grundanzeige,
                     SCR_FROM_CHILD);
        return nullptr;
    case SIG_MENU_TEST:
        Draw(bmnt.menu);
        return nullptr;
    default:
        if (MenuHintTimeout(bmnt.menu, e)) {
            return nullptr;
        }
        return SCR_MenuCursorKeys(bmnt.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BMNT_SubmenuTest(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BMNT_SubmenuTest", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SetUp(kFlagRows);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bmnt.submenu, e->par)) {
            ML_RestorePosition(bmnt.submenu.firstRow, bmnt.submenu.cursor);
        }
        Draw(bmnt.submenu);
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bmnt.submenu);
        return nullptr;
    case SIG_KEY_OK: {
        std::uint8_t& flag = bmnt.flags[ML_GetCursor() % BMNT_ROWS];
        flag = flag != 0 ? 0 : 1;
        ML_Draw();
        LCD_Refresh();
        return nullptr;
    }
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BMNT_MenuTest, SCR_FROM_CHILD);
        return nullptr;
    default:
        if (MenuHintTimeout(bmnt.submenu, e)) {
            return nullptr;
        }
        return SCR_MenuCursorKeys(bmnt.submenu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BMNT_PowerOn()
{
    bmnt = Module{};
}
