// Coding menus and the basic-settings question. Both menus share one
// position; the coding screens return to whichever was shown last.
#include "screens/service/BCPM.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/BCP.h"
#include "screens/service/BSVM.h"

namespace {

constexpr std::uint32_t kHelpPage = 98; // the service pages share one
constexpr std::uint32_t kHelpOpen = 14;
constexpr std::uint8_t kEntryCount = 7;
constexpr std::uint8_t kBasicSettings = 6;
constexpr std::uint16_t kTitles[2] = {61, 62};
constexpr std::uint16_t kCod[2] = {59, 60};
constexpr std::uint16_t kBasicTitle = 111;
constexpr std::uint16_t kActivate = 12;
constexpr std::uint8_t kResetCoding = 2;

struct Entry {
    std::uint16_t text;
    std::uint8_t group;
    std::uint16_t label; // right, where the plant has two circuits
};

const Entry kEntries[kEntryCount] = {
    {15, BCP_GROUP_GENERAL, ML_NO_TEXT}, {147, BCP_GROUP_BOILER, ML_NO_TEXT}, {285, BCP_GROUP_HOT_WATER, ML_NO_TEXT},
    {235, BCP_GROUP_SOLAR, ML_NO_TEXT},  {116, BCP_GROUP_CIRCUIT1, 130},      {117, BCP_GROUP_CIRCUIT2, 131},
    {kBasicTitle, 0, ML_NO_TEXT},
};

struct Menus {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    std::uint8_t level = 1;
    std::uint8_t answer = 0;
};

Menus bcpm;

template <std::uint8_t I> void Row(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
    if (kEntries[I].label != ML_NO_TEXT && DAT_CircuitCount() > 1) {
        ML_DrawValue(row, TXT_GetText(kEntries[I].label));
    }
}

constexpr ML_DrawFn kRows[kEntryCount] = {Row<0>, Row<1>, Row<2>, Row<3>, Row<4>, Row<5>, Row<6>};

bool Visible(std::uint8_t entry)
{
    switch (kEntries[entry].group) {
    case BCP_GROUP_HOT_WATER:
        return DAT_HasHotWaterOption();
    case BCP_GROUP_SOLAR:
        return DAT_HasSolarOption();
    case BCP_GROUP_CIRCUIT1:
        return DAT_CircuitPresent(1);
    case BCP_GROUP_CIRCUIT2:
        return DAT_CircuitPresent(2);
    default:
        return true;
    }
}

std::uint8_t LevelIndex()
{
    return bcpm.level == 2 ? 1 : 0;
}

void DrawMenu()
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(kTitles[LevelIndex()]));
    TITLE_DrawLine();
    ML_Draw();
    HINT_SetText(bcpm.menu.hint);
    LCD_Refresh();
}

SM_State MenuState(SM_Hsm* me, const SM_Event* e, const char* name, std::uint8_t level)
{
    SCR_Trace(name, e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kRows[i]);
            ML_SetEntryVisibleRaw(i, Visible(i) ? 1 : 0);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        bcpm.level = level;
        if (SCR_MenuInit(bcpm.menu, e->par)) {
            ML_RestorePosition(bcpm.menu.firstRow, bcpm.menu.cursor);
        }
        DrawMenu();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bcpm.menu);
        return nullptr;
    case SIG_TICK_5S:
        SCR_MenuInit(bcpm.menu, SCR_REFRESH);
        DrawMenu();
        return nullptr;
    case SIG_KEY_OK: {
        const std::uint8_t entry = ML_GetCursor() % kEntryCount;
        if (!ML_IsEntryVisible(entry)) {
            return nullptr;
        }
        if (entry == kBasicSettings) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BCPM_Grundeinstellung, SCR_FROM_PARENT);
            return nullptr;
        }
        BCP_Select(level, kEntries[entry].group);
        SM_TranParam(me, BKE_Kontrasteinstellung, level == 2 ? SM_Handler(BCP_Codierung_2) : BCP_Codierung_1,
                     SCR_FROM_PARENT);
        return nullptr;
    }
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BSVM_Servicemenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bcpm.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        if (e->par == kHelpOpen) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        }
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bcpm.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void DrawBasicTitle()
{
    // One text at a time: a language from the flash is read into one buffer.
    TITLE_SetText(TXT_GetText(kBasicTitle));
    TITLE_DrawRight(TXT_GetText(kCod[LevelIndex()]));
    TITLE_DrawLine();
}

void ResetLevel()
{
    DIS_UO_Reset(kResetCoding);
}

const SCR_Question kQuestions[2] = {
    {"BCPM_Grundeinstellung", DrawBasicTitle, kActivate, &bcpm.answer, HINT_CONTINUE_OK, ResetLevel, BCPM_Feedback,
     BCPM_Codierung_1_Menue, BKE_Kontrasteinstellung, BMM_Menuemonitor},
    {"BCPM_Grundeinstellung", DrawBasicTitle, kActivate, &bcpm.answer, HINT_CONTINUE_OK, ResetLevel, BCPM_Feedback,
     BCPM_Codierung_2_Menue, BKE_Kontrasteinstellung, BMM_Menuemonitor},
};

const SCR_QuestionFeedback kFeedback{"BCPM_Feedback", DrawBasicTitle,          kActivate,       &bcpm.answer, BCPM_Menu,
                                     SCR_FROM_CHILD,  BKE_Kontrasteinstellung, BMM_Menuemonitor};

bool Help(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig != SIG_HELP || e->par != kHelpOpen) {
        return false;
    }
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
    return true;
}

} // namespace

SM_Handler BCPM_Menu()
{
    return bcpm.level == 2 ? SM_Handler(BCPM_Codierung_2_Menue) : SM_Handler(BCPM_Codierung_1_Menue);
}

SM_State BCPM_Codierung_1_Menue(SM_Hsm* me, const SM_Event* e)
{
    return MenuState(me, e, "BCPM_Codierung_1_Menue", 1);
}

SM_State BCPM_Codierung_2_Menue(SM_Hsm* me, const SM_Event* e)
{
    return MenuState(me, e, "BCPM_Codierung_2_Menue", 2);
}

SM_State BCPM_Grundeinstellung(SM_Hsm* me, const SM_Event* e)
{
    return Help(me, e) ? nullptr : SCR_QuestionState(me, e, kQuestions[LevelIndex()]);
}

SM_State BCPM_Feedback(SM_Hsm* me, const SM_Event* e)
{
    return Help(me, e) ? nullptr : SCR_QuestionFeedbackState(me, e, kFeedback);
}

void BCPM_PowerOn()
{
    bcpm = Menus{};
}
