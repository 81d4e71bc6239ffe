// Actor test: a wait screen until the control unit has sent the actors it
// offers, the list of them, and the screen of the actor switched on. The
// control unit may end the test itself; the screens notice within 5 s.
#include "screens/service/BAT.h"

#include <array>
#include <utility>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BSVM.h"

namespace {

constexpr std::uint32_t kHelpPage = 98; // the service pages share one
constexpr std::uint32_t kHelpOpen = 14;
constexpr std::uint16_t kTitle = 13;
constexpr std::uint8_t kStartOrEnd = 0;
constexpr std::uint8_t kAllOff = 1;
constexpr std::uint16_t kWaitTicks = 100;   // the request again after 10 s
constexpr std::uint16_t kGiveUpTicks = 300; // no answer in 30 s: back
constexpr std::uint8_t kFrameTicks = 3;     // hourglass frames
constexpr std::uint8_t kStage = 0xC0;       // descriptor bits of the burner stages and solar pump
constexpr GUI_BOX kActorArea{1, 28, 238, 131};
constexpr GUI_BOX kHourglass{101, 61, 137, 97}; // around (119, 79)

struct Actor {
    std::uint16_t left;
    std::uint16_t right;
    std::uint8_t number; // sent to switch it on
};

const Actor kActors[BAT_ACTORS] = {
    {112, 76, 2},  {52, 76, 194}, {276, 76, 3},   {51, 76, 195},  {136, 76, 4},   {275, 126, 5}, {275, 172, 6},
    {275, 253, 7}, {125, 76, 40}, {169, 23, 41},  {169, 310, 42}, {25, 76, 11},   {124, 76, 12}, {250, 76, 13},
    {309, 76, 14}, {223, 76, 15}, {240, 76, 196}, {239, 76, 197}, {238, 76, 198},
};

// Entries of descriptors with the stage bits, by low nibble 2..6.
constexpr std::uint8_t kStageEntries[] = {1, 3, 16, 17, 18};

const GUI_PICTURE* const kFrames[] = {
    &bmHourglass00, &bmHourglass01, &bmHourglass02, &bmHourglass03, &bmHourglass04, &bmHourglass05,
    &bmHourglass06, &bmHourglass07, &bmHourglass08, &bmHourglass09, &bmHourglass10, &bmHourglass11,
    &bmHourglass12, &bmHourglass13, &bmHourglass14, &bmHourglass15, &bmHourglass16,
};
constexpr std::uint8_t kFrameCount = sizeof kFrames / sizeof kFrames[0];

struct ActorTest {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    std::uint8_t actor = 0; // entry of the actor switched on
    std::uint8_t frame = 0;
};

ActorTest bat;

template <std::uint8_t I> void Row(const GUI_BOX* row)
{
    ML_DrawName(row, kActors[I].left);
    ML_DrawValue(row, TXT_GetText(kActors[I].right));
}

template <std::size_t... I> constexpr auto MakeRows(std::index_sequence<I...>)
{
    return std::array<ML_DrawFn, sizeof...(I)>{Row<I>...};
}
constexpr auto kRows = MakeRows(std::make_index_sequence<BAT_ACTORS>{});

void SetActorTestFlag(bool on)
{
    DAT_SetStatusFlag(DAT_STATUS_CONTROLLER, DAT_CTRL_ACTOR_TEST, on);
}

bool ActorTestRunning()
{
    return (DAT_StatusByte(DAT_STATUS_CONTROLLER) & DAT_CTRL_ACTOR_TEST) != 0;
}

void EndActorTest()
{
    DIS_UO_ActorTest(kStartOrEnd);
    SetActorTestFlag(false);
}

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

void DrawFrame()
{
    const GUI_PICTURE* p = kFrames[bat.frame % kFrameCount];
    GUI_EraseBox(&kHourglass);
    GUI_PutBitmap(p, 119 - p->width / 2, 79 - p->height / 2);
}

void BackToServiceMenu(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BSVM_Servicemenue, SCR_FROM_CHILD);
}

// What every actor-test screen does: the keys that leave service screens
// end the test first; the operation and service timeouts count as a key, so
// that neither leaves a running test; HELP opens the service page.
bool Common(SM_Hsm* me, const SM_Event* e)
{
    switch (e->sig) {
    case SIG_KEY_MENU:
    case SIG_KEY_MENU_OK:
    case SIG_KEY_OK_BACK:
    case SIG_PARTICIPANT_WINK:
        EndActorTest();
        return false; // and passed on
    case SIG_TMR_LIGHT_TIMEOUT:
    case SIG_TMR_SERVICE_TIMEOUT:
        SM_DispatchSignal(me, SIG_KEY_ANY, 0);
        return true;
    case SIG_HELP:
        if (e->par == kHelpOpen) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        }
        return true;
    default:
        return false;
    }
}

// The control unit has ended the test by itself.
bool EndedByControlUnit(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig != SIG_TICK_5S || ActorTestRunning()) {
        return false;
    }
    BackToServiceMenu(me);
    return true;
}

} // namespace

std::uint32_t BAT_VisibleActors(const std::uint8_t* descriptors, std::size_t count)
{
    std::uint32_t shown = 0;
    for (std::size_t i = 0; i < count && descriptors[i] != 0; ++i) {
        const std::uint8_t b = descriptors[i];
        const std::uint8_t nibble = b & 0x0F;
        if ((b & kStage) != 0) {
            if (nibble >= 2 && nibble <= 6) {
                shown |= 1U << kStageEntries[nibble - 2];
            }
        } else if (nibble == 2 || nibble == 3) {
            shown |= 1U << (nibble == 2 ? 0 : 2);
        } else if (nibble >= 4) {
            shown |= 1U << nibble;
        }
    }
    return shown;
}

SM_State BAT_AktorenTest(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BAT_AktorenTest", e)) {
        if (e->sig == SIG_ENTRY) {
            DIS_UO_ActorTest(kStartOrEnd);
            SM_Post(DTM_Task, SIG_TMR_WAIT_SET, kWaitTicks);
        } else if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            DrawTitle();
            bat.frame = 0;
            DrawFrame();
            HINT_SetText(HINT_PLEASE_WAIT);
            SM_Post(DTM_Task, SIG_TMR_HINT_SET, kGiveUpTicks);
            SM_Post(DTM_Task, SIG_TMR_DATA_SET, kFrameTicks);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SM_Post(DTM_Task, SIG_TMR_WAIT_SET, 0);
            SM_Post(DTM_Task, SIG_TMR_DATA_SET, 0);
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_TMR_DATA_TIMEOUT:
        ++bat.frame;
        DrawFrame();
        LCD_RefreshBox(&kHourglass);
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, kFrameTicks);
        return nullptr;
    case SIG_TMR_WAIT_TIMEOUT:
        DIS_UO_ActorTest(kStartOrEnd);
        SM_Post(DTM_Task, SIG_TMR_WAIT_SET, kWaitTicks);
        return nullptr;
    case SIG_DATA_TYPE_13:
        SetActorTestFlag(true);
        SM_TranParam(me, BKE_Kontrasteinstellung, BAT_AktorenMenue, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        EndActorTest();
        BackToServiceMenu(me);
        return nullptr;
    default:
        return Common(me, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BAT_AktorenMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BAT_AktorenMenue", e);
    switch (e->sig) {
    case SIG_ENTRY: {
        DIS_UO_ActorTest(kAllOff);
        const std::uint32_t shown = BAT_VisibleActors(DAT_image.messages, sizeof DAT_image.messages);
        for (std::uint8_t i = 0; i < BAT_ACTORS; ++i) {
            ML_SetEntry(i, kRows[i]);
            ML_SetEntryVisibleRaw(i, (shown >> i) & 1U);
        }
        ML_SetCount(BAT_ACTORS);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    }
    case SIG_INIT:
        if (SCR_MenuInit(bat.menu, e->par)) {
            ML_RestorePosition(bat.menu.firstRow, bat.menu.cursor);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(bat.menu.hint);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bat.menu);
        return nullptr;
    case SIG_KEY_OK:
        if (ML_VisibleCount() != 0 && ML_IsEntryVisible(ML_GetCursor() % BAT_ACTORS)) {
            bat.actor = ML_GetCursor() % BAT_ACTORS;
            SM_TranParam(me, BKE_Kontrasteinstellung, BAT_TestAktor, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_KEY_BACK:
        EndActorTest();
        BackToServiceMenu(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bat.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    default:
        if (EndedByControlUnit(me, e) || Common(me, e)) {
            return nullptr;
        }
        return SCR_MenuCursorKeys(bat.menu, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

SM_State BAT_TestAktor(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BAT_TestAktor", e)) {
        if (e->sig == SIG_INIT) {
            const Actor& a = kActors[bat.actor % BAT_ACTORS];
            DIS_UO_ActorTest(a.number);
            GUI_EraseScreen();
            DrawTitle();
            const GUI_BOX upper{kActorArea.x0, kActorArea.y0, kActorArea.x1, 79};
            const GUI_BOX lower{kActorArea.x0, 80, kActorArea.x1, kActorArea.y1};
            GUI_TextInBox(TXT_GetText(a.left), &upper, GUI_ALIGN_HCENTER | GUI_ALIGN_BOTTOM);
            GUI_TextInBox(TXT_GetText(a.right), &lower, GUI_ALIGN_HCENTER | GUI_ALIGN_TOP);
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
        // The list's entry switches every actor off.
        SM_TranParam(me, BKE_Kontrasteinstellung, BAT_AktorenMenue, SCR_FROM_CHILD);
        return nullptr;
    default:
        if (EndedByControlUnit(me, e) || Common(me, e)) {
            return nullptr;
        }
        return BMM_Menuemonitor;
    }
}

void BAT_PowerOn()
{
    bat = ActorTest{};
}
