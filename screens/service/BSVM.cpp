// Service menu and the end-of-service question. Every entry is always
// shown; screens not built yet are placeholders.
#include "screens/service/BSVM.h"

#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BFH.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/service/BAT.h"
#include "screens/service/BCPM.h"
#include "screens/service/BDM.h"
#include "screens/service/BIF.h"

namespace {

constexpr std::uint16_t kTitle = 227;
constexpr std::uint16_t kEndTitle = 228;
constexpr std::uint8_t kEntryCount = 7;
// The service pages have no text of their own yet: the main menu's page
// for its "Service" entry.
constexpr std::uint32_t kHelpPage = 98;
constexpr GUI_BOX kEndAnswer{74, 54, 164, 104};

struct Entry {
    std::uint16_t text;
    SM_Handler target;
};

const Entry kEntries[kEntryCount] = {
    {67, BDM_DiagnoseMenue}, {13, BAT_AktorenTest},          {61, BCPM_Codierung_1_Menue}, {62, BCPM_Codierung_2_Menue},
    {94, BFH_Wahlmenue},     {229, BIF_InbetriebnahmeMenue}, {228, BSVM_BeendenAbfrage},
};

struct Service {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    std::uint8_t endAnswer = 0;
};

Service bsvm;

template <std::uint8_t I> void Row(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
}

constexpr ML_DrawFn kRows[kEntryCount] = {Row<0>, Row<1>, Row<2>, Row<3>, Row<4>, Row<5>, Row<6>};

void DrawTitle(std::uint16_t text)
{
    TITLE_SetText(TXT_GetText(text));
    TITLE_DrawLine();
}

void DrawEndTitle()
{
    DrawTitle(kEndTitle);
}

// The answer is acted on by the feedback screen: it ends service mode.
void NoAction() {}

bool Help(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig != SIG_HELP) {
        return false;
    }
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
    return true;
}

const SCR_Question kEndQuestion{"BSVM_BeendenAbfrage",
                                DrawEndTitle,
                                ML_NO_TEXT,
                                &bsvm.endAnswer,
                                HINT_CONTINUE_OK,
                                NoAction,
                                BSVM_ServiceBeendenFeedback,
                                BSVM_Servicemenue,
                                BKE_Kontrasteinstellung,
                                BMM_Menuemonitor,
                                &kEndAnswer};

SM_Handler ServiceMenu()
{
    return BSVM_Servicemenue;
}

const SCR_QuestionFeedback kEndFeedback{
    "BSVM_ServiceBeendenFeedback", DrawEndTitle,     ML_NO_TEXT, &bsvm.endAnswer, ServiceMenu, SCR_FROM_CHILD,
    BKE_Kontrasteinstellung,       BMM_Menuemonitor, &kEndAnswer};

} // namespace

SM_State BSVM_Servicemenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BSVM_Servicemenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kRows[i]);
            ML_SetEntryVisibleRaw(i, 1);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bsvm.menu, e->par)) {
            ML_RestorePosition(bsvm.menu.firstRow, bsvm.menu.cursor);
        }
        GUI_EraseScreen();
        DrawTitle(kTitle);
        ML_Draw();
        HINT_SetText(bsvm.menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bsvm.menu);
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, kEntries[ML_GetCursor() % kEntryCount].target, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bsvm.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    default:
        if (Help(me, e)) {
            return nullptr;
        }
        return SCR_MenuCursorKeys(bsvm.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BSVM_BeendenAbfrage(SM_Hsm* me, const SM_Event* e)
{
    return Help(me, e) ? nullptr : SCR_QuestionState(me, e, kEndQuestion);
}

// Any key, HELP too, or the hint timeout ends service mode at once; the
// menu monitor then leaves for the base display.
SM_State BSVM_ServiceBeendenFeedback(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_IsKey(e->sig) || e->sig == SIG_TMR_HINT_TIMEOUT) {
        SM_DispatchSignal(me, SIG_SERVICE_END, 0);
        return nullptr;
    }
    return SCR_QuestionFeedbackState(me, e, kEndFeedback);
}

void BSVM_PowerOn()
{
    bsvm = Service{};
}
