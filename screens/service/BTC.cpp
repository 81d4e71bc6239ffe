// Participant check. Every exchange with the control unit is a record of
// code 243 whose function says what is wanted; the answers come as the
// participant block (the list) and the service block (a check).
#include "screens/service/BTC.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <utility>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIF.h"

namespace {

constexpr std::uint16_t kTitle = 265;
constexpr std::uint16_t kPleaseWait = 49;
constexpr std::uint16_t kCheck = 56;
constexpr std::uint16_t kActive = 139;
constexpr std::uint16_t kNoParticipant = 145;
constexpr std::uint16_t kListDeleted = 157;
constexpr std::uint16_t kDeleteList = 158;
constexpr std::uint16_t kNotOk = 188;
constexpr std::uint16_t kOk = 194;
constexpr std::uint16_t kNumber = 266;
constexpr std::uint16_t kWinkText = 297;
constexpr std::uint32_t kHelpPage = 98; // as the service functions'

// Functions of code 243.
constexpr std::uint32_t kStartList = 1;
constexpr std::uint32_t kNextEntry = 3;
constexpr std::uint32_t kCheckParticipant = 4;
constexpr std::uint32_t kDeleteListFunction = 5;
constexpr std::uint32_t kWinkFunction = 6;

constexpr std::uint8_t kParticipantCode = 0; // participant block
constexpr std::uint8_t kParticipantNumber = 5;
constexpr std::uint8_t kEndOfList = 255;
constexpr std::uint8_t kOwnNumber = 2; // service block
constexpr std::uint8_t kCheckAnswer = 3;
constexpr std::uint8_t kNoAnswer = 254; // and above

constexpr std::uint8_t kAnswerTicks = 40;
constexpr std::uint8_t kWinkTicks = 5;
constexpr std::uint8_t kWinkSteps = 121;
constexpr std::uint8_t kRetries = 10;
constexpr std::uint8_t kDeleteRow = BTC_MAX_PARTICIPANTS;
constexpr std::uint8_t kRows = BTC_MAX_PARTICIPANTS + 1;

constexpr GUI_BOX kBody{1, 28, 238, 131};
constexpr GUI_BOX kDetailNumber{1, 29, 238, 52};
constexpr GUI_BOX kDetailCheck{1, 55, 238, 78};

enum CheckState : std::uint8_t { kNone, kChecking, kPassed, kFailed };

struct Participant {
    std::uint8_t number;
    std::uint8_t code;
    CheckState state;
};

struct Check {
    Participant list[BTC_MAX_PARTICIPANTS];
    std::uint8_t count = 0;
    std::uint8_t selected = 0;
    std::uint8_t retries = 0;
    std::uint8_t wink = 0;
    SCR_Menu menu{0, 0, HINT_CHOOSE};
};

Check btc;

void ArmTimer(std::uint8_t ticks)
{
    SM_Post(DTM_Task, SIG_TMR_HINT_SET, ticks);
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

void NumberText(char* buf, std::size_t size, std::uint8_t number)
{
    std::snprintf(buf, size, "%s %u", TXT_GetText(kNumber), unsigned{number});
}

// A whole screen of one message in the large font.
void DrawMessage(std::uint16_t text, std::uint8_t hint)
{
    GUI_EraseScreen();
    DrawTitle();
    const GUI_FONTDEF* old = TXT_UseFontLarge();
    GUI_TextInBoxWrapped(TXT_GetText(text), &kBody, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
    GUI_SelectFont(old);
    HINT_SetText(hint);
    LCD_Refresh();
}

std::uint16_t RowStateText(CheckState s)
{
    switch (s) {
    case kChecking:
        return kCheck;
    case kPassed:
        return kOk;
    case kFailed:
        return kNotOk;
    default:
        return ML_NO_TEXT;
    }
}

template <std::uint8_t I> void Row(const GUI_BOX* row)
{
    if constexpr (I == kDeleteRow) {
        ML_DrawName(row, kDeleteList);
    } else {
        char text[48];
        NumberText(text, sizeof text, btc.list[I].number);
        GUI_TextInBox(text, row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
        const std::uint16_t state = RowStateText(btc.list[I].state);
        if (state != ML_NO_TEXT) {
            ML_DrawValue(row, TXT_GetText(state));
        }
    }
}

template <std::size_t... I> constexpr auto MakeRows(std::index_sequence<I...>)
{
    return std::array<ML_DrawFn, sizeof...(I)>{Row<static_cast<std::uint8_t>(I)>...};
}

constexpr auto kRowDraw = MakeRows(std::make_index_sequence<kRows>{});

void DrawDetail()
{
    const Participant& p = btc.list[btc.selected];
    GUI_EraseScreen();
    DrawTitle();
    char text[64];
    NumberText(text, sizeof text, p.number);
    GUI_TextInBox(text, &kDetailNumber, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    const std::uint16_t state = p.state == kChecking ? kActive : p.state == kPassed ? kOk : kNotOk;
    // One text at a time: they share one buffer.
    std::snprintf(text, sizeof text, "%s: ", TXT_GetText(kCheck));
    const std::size_t n = std::strlen(text);
    std::snprintf(text + n, sizeof text - n, "%s", TXT_GetText(state));
    GUI_TextInBox(text, &kDetailCheck, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    HINT_SetText(HINT_BACK);
    LCD_Refresh();
}

bool Listed(std::uint8_t number, std::uint8_t code)
{
    for (std::uint8_t i = 0; i < btc.count; ++i) {
        if (btc.list[i].number == number && btc.list[i].code == code) {
            return true;
        }
    }
    return false;
}

void ListDone(SM_Hsm* me)
{
    if (btc.count > 0) {
        SM_TranParam(me, BMM_Menuemonitor, BTC_TeilnehmerCheckMenue, SCR_FROM_PARENT);
    } else {
        SM_TranParam(me, BMM_Menuemonitor, BTC_FeedbackListeLeer, SCR_FROM_PARENT);
    }
}

void AskCheck()
{
    DIS_UO_Participant(btc.list[btc.selected].code, kCheckParticipant);
    DIS_UO_Request(15, 0);
    ArmTimer(kAnswerTicks);
}

bool Help(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig != SIG_HELP) {
        return false;
    }
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
    return true;
}

void ToServiceFunctions(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, BIF_InbetriebnahmeMenue, SCR_FROM_CHILD);
}

void ToList(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, BTC_TeilnehmerCheckMenue, SCR_FROM_CHILD);
}

// The two closing screens: a message, left by any key or after 4 s.
SM_State ClosingScreen(SM_Hsm* me, const SM_Event* e, const char* name, std::uint16_t text)
{
    SCR_Trace(name, e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        DrawMessage(text, HINT_BACK);
        ArmTimer(kAnswerTicks);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        ToServiceFunctions(me);
        return nullptr;
    default:
        if (SCR_IsKey(e->sig)) {
            ToServiceFunctions(me);
            return nullptr;
        }
        return BMM_Menuemonitor;
    }
}

} // namespace

SM_State BTC_AufbauTeilnehmerListe(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BTC_AufbauTeilnehmerListe", e);
    switch (e->sig) {
    case SIG_ENTRY:
        btc.count = 0;
        btc.menu = SCR_Menu{0, 0, HINT_CHOOSE};
        return nullptr;
    case SIG_INIT:
        DrawMessage(kPleaseWait, HINT_BACK);
        DIS_UO_Participant(0, kStartList);
        ArmTimer(kAnswerTicks);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_DATA_TYPE_16: {
        ArmTimer(0);
        const std::uint8_t number = DAT_image.participants[kParticipantNumber];
        const std::uint8_t code = DAT_image.participants[kParticipantCode];
        // The end mark, a participant named twice or a full list end it.
        if (number >= kEndOfList || Listed(number, code) || btc.count >= BTC_MAX_PARTICIPANTS) {
            ListDone(me);
            return nullptr;
        }
        btc.list[btc.count++] = Participant{number, code, kNone};
        DIS_UO_Participant(code, kNextEntry);
        ArmTimer(kAnswerTicks);
        return nullptr;
    }
    case SIG_TMR_HINT_TIMEOUT:
        ListDone(me);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
        ToServiceFunctions(me);
        return nullptr;
    default:
        return Help(me, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BTC_TeilnehmerCheckMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BTC_TeilnehmerCheckMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kRows; ++i) {
            ML_SetEntry(i, kRowDraw[i]);
            ML_SetEntryVisibleRaw(i, i < btc.count || i == kDeleteRow ? 1 : 0);
        }
        ML_SetCount(kRows);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(btc.menu, e->par)) {
            ML_RestorePosition(btc.menu.firstRow, btc.menu.cursor);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(btc.menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(btc.menu);
        return nullptr;
    case SIG_TICK_5S: // the check states as they are now
        ML_Draw();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_OK: {
        const std::uint8_t row = ML_GetCursor();
        if (row == kDeleteRow) {
            SM_TranParam(me, BMM_Menuemonitor, BTC_FeedbackLoeschen, SCR_FROM_PARENT);
        } else if (row < btc.count) {
            btc.selected = row;
            SM_TranParam(me, BMM_Menuemonitor, BTC_Teilnehmercheck, SCR_FROM_PARENT);
        }
        return nullptr;
    }
    case SIG_KEY_BACK:
        ToServiceFunctions(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(btc.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    default:
        if (Help(me, e)) {
            return nullptr;
        }
        return SCR_MenuCursorKeys(btc.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BTC_Teilnehmercheck(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BTC_Teilnehmercheck", e);
    Participant& p = btc.list[btc.selected];
    switch (e->sig) {
    case SIG_ENTRY:
        p.state = kChecking;
        btc.retries = 0;
        AskCheck();
        return nullptr;
    case SIG_INIT:
        DrawDetail();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_DATA_TYPE_15:
        if (DAT_image.service[kCheckAnswer] < kNoAnswer) {
            p.state = kPassed;
        } else {
            p.state = kFailed;
            if (btc.retries < kRetries) {
                ++btc.retries;
                AskCheck();
                DrawDetail();
                return nullptr;
            }
        }
        SM_TranParam(me, BMM_Menuemonitor, BTC_TeilnehmercheckFeedback, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        p.state = kFailed;
        SM_TranParam(me, BMM_Menuemonitor, BTC_TeilnehmercheckFeedback, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
        p.state = kNone;
        ToList(me);
        return nullptr;
    default:
        return Help(me, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BTC_TeilnehmercheckFeedback(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BTC_TeilnehmercheckFeedback", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        DrawDetail();
        ArmTimer(kAnswerTicks);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        ToList(me);
        return nullptr;
    default:
        if (SCR_IsKey(e->sig)) {
            ToList(me);
            return nullptr;
        }
        return BMM_Menuemonitor;
    }
}

SM_State BTC_FeedbackLoeschen(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_ENTRY) {
        DIS_UO_Participant(0, kDeleteListFunction);
        btc.count = 0;
    }
    return ClosingScreen(me, e, "BTC_FeedbackLoeschen", kListDeleted);
}

SM_State BTC_FeedbackListeLeer(SM_Hsm* me, const SM_Event* e)
{
    return ClosingScreen(me, e, "BTC_FeedbackListeLeer", kNoParticipant);
}

SM_State BTC_TeilnehmerWink(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BTC_TeilnehmerWink", e);
    switch (e->sig) {
    case SIG_ENTRY:
        btc.wink = 0;
        return nullptr;
    case SIG_INIT: {
        // As a key would: the panel is lit and stays out of its time-outs.
        SM_DispatchSignal(me, SIG_KEY_ANY, 0);
        GUI_EraseScreen();
        DrawTitle();
        char text[48];
        NumberText(text, sizeof text, DAT_image.service[kOwnNumber]);
        GUI_TextInBox(text, &kDetailNumber, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
        const GUI_FONTDEF* old = TXT_UseFontLarge();
        static constexpr GUI_BOX kWinkBox{1, 56, 238, 131};
        GUI_TextInBox(TXT_GetText(kWinkText), &kWinkBox, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
        GUI_SelectFont(old);
        HINT_SetText(HINT_BACK);
        LCD_Refresh();
        DIS_UO_Participant(0, kWinkFunction);
        ArmTimer(kWinkTicks);
        return nullptr;
    }
    case SIG_EXIT:
        SCR_ExitCommon();
        SM_Post(BKL_Task, SIG_LIGHT_ON_NOW, 0); // never left dimmed
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        if (btc.wink >= kWinkSteps) {
            SM_DispatchSignal(me, SIG_KEY_ANY, 0);
            SM_TranParam(me, BKE_Kontrasteinstellung, BGA_Grundanzeige, SCR_FROM_PARENT);
            return nullptr;
        }
        SM_Post(BKL_Task, btc.wink % 2 == 0 ? SIG_LIGHT_ON_NOW : SIG_LIGHT_DIM_NOW, 0);
        ++btc.wink;
        ArmTimer(kWinkTicks);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    default:
        return Help(me, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

std::uint8_t BTC_ParticipantCount()
{
    return btc.count;
}

std::uint8_t BTC_ParticipantNumber(std::uint8_t index)
{
    return index < btc.count ? btc.list[index].number : kEndOfList;
}

void BTC_PowerOn()
{
    btc = Check{};
}
