// Filling, and the program venting shares with it.
#include "screens/service/BBF.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/BSD.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIF.h"

namespace {

constexpr std::uint16_t kMenuTitle = 229; // "Servicefunktionen"
constexpr std::uint16_t kActive = 11;     // "Aktiv"
constexpr std::uint8_t kStatusType = 15;  // the service block tells whether a function runs
constexpr std::uint8_t kStart = 255;
constexpr std::uint8_t kStop = 0;
constexpr std::uint32_t kRequestTicks = 100;  // asked again every 10 s while waiting
constexpr std::uint32_t kWaitHintTicks = 300; // and given up after 30 s
constexpr std::uint32_t kFrameTicks = 3;
constexpr std::uint32_t kActiveTicks = 200; // asked again every 20 s while it runs
constexpr std::uint32_t kHelpPage = 98;     // as the service functions'
constexpr GUI_BOX kAnswerBox{74, 64, 164, 114};
constexpr GUI_BOX kMessageArea{0, 28, 239, 131};

struct Filling {
    std::uint8_t answer = 0;
    std::uint8_t frame = 0;
    const BBF_Function* current = nullptr; // the function the question starts
};

Filling bbf;

bool Running(const BBF_Function& f)
{
    return (DAT_image.service[DAT_SERVICE_FUNCTIONS] & f.flag) != 0;
}

void SetRunning(const BBF_Function& f, bool on)
{
    std::uint8_t& functions = DAT_image.service[DAT_SERVICE_FUNCTIONS];
    functions = static_cast<std::uint8_t>(on ? functions | f.flag : functions & ~f.flag);
}

void DrawTitle(std::uint16_t text)
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(text));
    TITLE_DrawLine();
}

void DrawMenuTitle()
{
    TITLE_SetText(TXT_GetText(kMenuTitle));
    TITLE_DrawLine();
}

void Start()
{
    if (bbf.current != nullptr) {
        DIS_UO_Function(bbf.current->function, kStart);
        SetRunning(*bbf.current, true); // shown at once; the control unit's reports keep it
    }
}

void StopWaiting()
{
    SM_Post(DTM_Task, SIG_TMR_WAIT_SET, 0);
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, 0);
}

void BackToMenu(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BIF_InbetriebnahmeMenue, SCR_FROM_CHILD);
}

void DrawWait(const BBF_Function& f)
{
    DrawTitle(f.title);
    bbf.frame = 0;
    BSD_DrawHourglass(0);
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, kFrameTicks);
    HINT_SetText(HINT_PLEASE_WAIT);
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, kWaitHintTicks);
    LCD_Refresh();
}

// The wait's own signals, once the answer is there or the wait is over.
SM_State Waiting(SM_Hsm* me, const SM_Event* e, const BBF_Function& f)
{
    switch (e->sig) {
    case SIG_DATA_TYPE_15:
        StopWaiting();
        SM_TranParam(me, f.wait, Running(f) ? f.active : f.question_, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TMR_WAIT_TIMEOUT:
        DIS_UO_Request(kStatusType, 0);
        SM_Post(DTM_Task, SIG_TMR_WAIT_SET, kRequestTicks);
        return nullptr;
    case SIG_TMR_DATA_TIMEOUT:
        bbf.frame = static_cast<std::uint8_t>((bbf.frame + 1) % BSD_HOURGLASS_FRAMES);
        BSD_DrawHourglass(bbf.frame);
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, kFrameTicks);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        BackToMenu(me);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

} // namespace

SM_State BBF_WaitState(SM_Hsm* me, const SM_Event* e, const BBF_Function& f)
{
    if (SCR_Trace(f.names[0], e)) {
        if (e->sig == SIG_ENTRY) {
            bbf.current = &f;
            DIS_UO_Request(kStatusType, 0);
            SM_Post(DTM_Task, SIG_TMR_WAIT_SET, kRequestTicks);
        } else if (e->sig == SIG_INIT) {
            if (Running(f)) {
                StopWaiting();
                SM_InitParam(me, f.active, SCR_FROM_PARENT);
            } else {
                DrawWait(f);
            }
        } else {
            StopWaiting();
            SCR_ExitCommon();
        }
        return nullptr;
    }
    if (e->sig == SIG_HELP) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    }
    if (SM_GetState(me) == f.wait) {
        return Waiting(me, e, f);
    }
    switch (e->sig) {
    case SIG_DATA_TYPE_15: // a late answer to the wait
    case SIG_TMR_WAIT_TIMEOUT:
    case SIG_TMR_DATA_TIMEOUT:
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BBF_QuestionState(SM_Hsm* me, const SM_Event* e, const BBF_Function& f)
{
    const SCR_Question question{f.names[1],
                                DrawMenuTitle,
                                f.question,
                                f.answer,
                                HINT_CONTINUE_OK,
                                Start,
                                f.active,
                                BIF_InbetriebnahmeMenue,
                                BKE_Kontrasteinstellung,
                                f.wait,
                                &kAnswerBox};
    return SCR_QuestionState(me, e, question);
}

SM_State BBF_ActiveState(SM_Hsm* me, const SM_Event* e, const BBF_Function& f)
{
    if (SCR_Trace(f.names[2], e)) {
        if (e->sig == SIG_INIT) {
            DIS_UO_Request(kStatusType, 0);
            SM_Post(DTM_Task, SIG_TMR_HINT_SET, kActiveTicks);
            DrawTitle(f.title);
            const GUI_FONTDEF* old = TXT_UseFontLarge();
            GUI_TextInBoxWrapped(TXT_GetText(kActive), &kMessageArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER,
                                 GUI_WRAP_WORD);
            GUI_SelectFont(old);
            HINT_SetText(HINT_END_OK);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
        DIS_UO_Function(f.function, kStop);
        SetRunning(f, false);
        BackToMenu(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        DIS_UO_Request(kStatusType, 0);
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, kActiveTicks);
        return nullptr;
    case SIG_DATA_TYPE_15:
        if (!Running(f)) { // the control unit has ended it
            BackToMenu(me);
        }
        return nullptr;
    case SIG_TMR_LIGHT_TIMEOUT:
    case SIG_TMR_SERVICE_TIMEOUT:
        // Neither timeout may leave a running function: taken as a key.
        SM_DispatchSignal(me, SIG_KEY_ANY, 0);
        return nullptr;
    case SIG_KEY_MENU:
    case SIG_KEY_MENU_OK:
    case SIG_KEY_OK_BACK:
    case SIG_PARTICIPANT_WINK:
        return nullptr;
    default:
        return f.wait;
    }
}

namespace {

const BBF_Function kFilling{{"BBF_Befuellung", "BBF_BefuellungAbfrage", "BBF_BefuellungAktiv"},
                            36,
                            38,
                            13,
                            DAT_SVC13_FILLING,
                            BBF_Befuellung,
                            BBF_BefuellungAbfrage,
                            BBF_BefuellungAktiv,
                            &bbf.answer};

} // namespace

SM_State BBF_Befuellung(SM_Hsm* me, const SM_Event* e)
{
    return BBF_WaitState(me, e, kFilling);
}

SM_State BBF_BefuellungAbfrage(SM_Hsm* me, const SM_Event* e)
{
    return BBF_QuestionState(me, e, kFilling);
}

SM_State BBF_BefuellungAktiv(SM_Hsm* me, const SM_Event* e)
{
    return BBF_ActiveState(me, e, kFilling);
}

void BBF_PowerOn()
{
    bbf = Filling{};
}
