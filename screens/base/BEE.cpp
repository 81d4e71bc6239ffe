// End-user heating menu: the current circuit's room set temperature,
// operating program, party and economy modes; LEFT and RIGHT change circuits.
#include "screens/base/BEE.h"

#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/LCD.h"
#include "screens/base/BFA.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BBA.h"
#include "screens/user/BPB.h"
#include "screens/user/BRT.h"
#include "screens/user/BSP.h"

namespace {

constexpr std::uint8_t kEntryCount = 4;
constexpr std::uint16_t kOn = 76;
constexpr std::uint16_t kOff = 24;
constexpr GUI_BOX kRightPart{159, 28, 239, 131};
constexpr GUI_BOX kValueBox{162, 41, 238, 65};
constexpr GUI_BOX kTitleBox{1, 0, 238, 26};
constexpr int kPictureX = 177;
constexpr int kPictureY = 76;

enum Index : std::uint8_t { kRoom, kProgram, kParty, kEconomy };

struct Entry {
    std::uint16_t text;
    SM_Handler target;
    std::uint8_t help;
};

const Entry kEntries[kEntryCount] = {
    {209, BRT_RaumtemperaturTag, 33},
    {40, BetriebsartEinstellen, 34},
    {197, BPB_Partybetrieb, 35},
    {249, BSP_SparbetriebFeedback, 36},
};

SCR_Menu bee{0, 0, HINT_CHOOSE};

std::uint8_t CurrentCircuit()
{
    const std::uint8_t c = DAT_SelectedCircuit();
    return c != 0 ? c : DAT_FirstCircuit();
}

const GUI_PICTURE* ProgramPicture()
{
    switch (DAT_OperatingProgram()) {
    case 5:
        return &bmProgramOff45;
    case 0:
        return &bmHotWater45;
    default:
        return &bmHeatingHotWater45x77;
    }
}

void DrawValue(const char* text)
{
    GUI_TextInBox(text, &kValueBox, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
}

void DrawRightPart(std::uint8_t index)
{
    GUI_EraseBox(&kRightPart);
    GUI_LineV(160, 29, 130);
    switch (index) {
    case kRoom: {
        GUI_PutBitmap(&bmRoomTemp45, kPictureX, kPictureY);
        char text[16];
        FMT_TemperatureText(text, sizeof text, TMP_ToDisplay(DAT_RoomSetTemperature()), false);
        DrawValue(text);
        break;
    }
    case kProgram: {
        const GUI_PICTURE* picture = ProgramPicture();
        GUI_PutBitmap(picture, kPictureX, (159 - picture->height) / 2);
        break;
    }
    case kParty:
        GUI_PutBitmap(&bmParty45, kPictureX, kPictureY);
        DrawValue(TXT_GetText(DAT_PartyOn() ? kOn : kOff));
        break;
    default:
        GUI_PutBitmap(&bmEconomy45, kPictureX, kPictureY);
        DrawValue(TXT_GetText(DAT_EconomyOn() ? kOn : kOff));
        break;
    }
}

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
    if (ML_GetCursor() == I) {
        DrawRightPart(I);
    }
}

constexpr ML_DrawFn kDraw[kEntryCount] = {Draw<0>, Draw<1>, Draw<2>, Draw<3>};

constexpr const char* kMarkLeft = "\u266C";
constexpr const char* kMarkRight = "\u266D";

std::uint16_t MarkLabel()
{
    return CurrentCircuit() == 2 ? 131 : 130;
}

int CircuitMarkWidth()
{
    return GUI_TextWidth(kMarkLeft) + GUI_TextWidth(TXT_GetText(MarkLabel())) + GUI_TextWidth(kMarkRight);
}

// Right end of the title: LEFT pictogram, "HK1"/"HK2" inverted, RIGHT pictogram.
void DrawCircuitMark()
{
    char label[8];
    TXT_CopyText(MarkLabel(), label, sizeof label);
    const char* left = kMarkLeft;
    const char* right = kMarkRight;
    const int wLeft = GUI_TextWidth(left);
    const int wLabel = GUI_TextWidth(label);
    const int wRight = GUI_TextWidth(right);
    int x = kTitleBox.x1 + 1 - wLeft - wLabel - wRight;
    const auto at = [](int x0, int width) {
        return GUI_BOX{static_cast<std::int16_t>(x0), kTitleBox.y0, static_cast<std::int16_t>(x0 + width - 1),
                       kTitleBox.y1};
    };
    const GUI_BOX leftBox = at(x, wLeft);
    GUI_TextInBox(left, &leftBox, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    x += wLeft;
    const GUI_BOX labelBox = at(x, wLabel);
    GUI_TextInBox(label, &labelBox, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    const int top = (kTitleBox.y1 + 1 - GUI_FontHeight()) / 2;
    GUI_InvertArea(labelBox.x0, top, labelBox.x1, top + GUI_FontHeight() - 1);
    x += wLabel;
    const GUI_BOX rightBox = at(x, wRight);
    GUI_TextInBox(right, &rightBox, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

} // namespace

void BEE_DrawTitle()
{
    char name[TXT_LABEL_UTF8 + 4];
    TXT_CopyText(CurrentCircuit() == 2 ? 117 : 116, name, sizeof name);
    const bool mark = DAT_CircuitCount() > 1;
    TITLE_SetTextBeside(name, mark ? CircuitMarkWidth() : 0);
    if (mark) {
        DrawCircuitMark();
    }
    TITLE_DrawLine();
}

namespace {

// With two circuits the previous and the next one are the same: the other.
void SelectOtherCircuit()
{
    std::uint8_t c = CurrentCircuit();
    for (std::uint8_t tries = 0; tries < DAT_CircuitCount(); ++tries) {
        c = c == 1 ? 2 : 1;
        if (DAT_CircuitPresent(c)) {
            break;
        }
    }
    DAT_SelectCircuit(c);
}

} // namespace

SM_State BEE_Endbenutzermenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BEE_Endbenutzermenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kDraw[i]);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 158, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bee, e->par)) {
            ML_RestorePosition(bee.firstRow, bee.cursor);
        }
        GUI_EraseScreen();
        BEE_DrawTitle();
        ML_Draw();
        HINT_SetText(bee.hint); // a running hint timer is left as it is
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bee);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, BGA_Grundanzeige, SCR_FROM_CHILD);
        return nullptr;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        if (DAT_CircuitCount() > 1) {
            SelectOtherCircuit();
            SM_TranParam(me, BKE_Kontrasteinstellung, BFA_Feedbackanzeige, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, kEntries[ML_GetCursor()].target, SCR_FROM_PARENT);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bee, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
        SM_TranParam(me, BEE_Endbenutzermenue, BEE_Endbenutzermenue, SCR_REFRESH);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bee, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BEE_PowerOn()
{
    bee = SCR_Menu{0, 0, HINT_CHOOSE};
}
