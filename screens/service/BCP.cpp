// Coding list, value editor and feedback of both coding levels. Level 1
// names the well-known addresses; level 2 shows every address bare, and its
// title tells the contractor when the control unit is calibrating.
#include "screens/service/BCP.h"

#include <cstdio>

#include "comm/DIS_Link.h"
#include "comm/DIS_UserOps.h"
#include "core/KEY.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BCPM.h"

namespace {

constexpr std::uint32_t kHelpPage = 98; // the service pages share one
constexpr std::uint32_t kHelpOpen = 14;
constexpr std::uint8_t kRepeatRate = 15;
constexpr std::uint8_t kBlinkOn = 8; // animation ticks of 100 ms
constexpr std::uint8_t kBlinkOff = 4;
constexpr std::uint16_t kCod1 = 59;
constexpr std::uint16_t kCod2 = 60;
constexpr std::uint8_t kTypeCoding = 14;
constexpr std::uint8_t kTypePlant = 10;
constexpr std::uint8_t kTypeSolar = 17;
constexpr GUI_BOX kBelowTitle{0, 28, 239, 159};
constexpr GUI_BOX kDescription{1, 29, 238, 78};

// The line of address, colon and value; level 2 has no description above it.
struct Line {
    GUI_BOX area;
    GUI_BOX address;
    GUI_BOX value;
    GUI_BOX valueMarked; // the value box and 10 pixels more, inverted while editing
};
constexpr Line kLines[2] = {
    {{0, 81, 239, 130}, {49, 81, 109, 130}, {129, 81, 199, 130}, {129, 81, 209, 130}},
    {{0, 55, 239, 104}, {49, 55, 109, 104}, {129, 55, 199, 104}, {129, 55, 209, 104}},
};

struct Description {
    std::uint8_t group;
    std::uint8_t address;
    std::uint16_t text;
};
// Groups 4 and 5 (the two heating circuits) share their descriptions.
constexpr Description kDescriptions[] = {
    {1, 0x01, 77},  {1, 0x07, 148}, {1, 0x21, 292}, {1, 0x23, 294}, {1, 0x24, 258}, {1, 0x2F, 37},  {1, 0x32, 90},
    {1, 0x34, 89},  {2, 0x67, 288}, {2, 0x73, 100}, {3, 0x00, 21},  {3, 0x51, 102}, {3, 0x77, 266}, {3, 0x7F, 78},
    {3, 0x8F, 34},  {3, 0x91, 88},  {3, 0x9B, 280}, {4, 0xA2, 290}, {4, 0xA5, 246}, {4, 0xA6, 245}, {4, 0xA7, 171},
    {4, 0xA9, 204}, {4, 0xB0, 298}, {4, 0xB5, 247}, {4, 0xC5, 278}, {4, 0xC6, 277}, {4, 0xD5, 42},  {4, 0xE6, 165},
    {4, 0xE7, 168}, {4, 0xF1, 85},  {4, 0xF2, 198}, {4, 0xF6, 203}, {4, 0xF7, 202}, {4, 0xF8, 39},  {4, 0xF9, 80},
    {4, 0xFA, 84},  {4, 0xFB, 300}, {9, 0x08, 251}, {9, 0x0A, 257}, {9, 0x0F, 185},
};

struct GroupTitle {
    std::uint8_t group;
    std::uint16_t text;
};
constexpr GroupTitle kTitles[] = {{BCP_GROUP_BOILER, 147},   {BCP_GROUP_HOT_WATER, 285}, {BCP_GROUP_GENERAL, 15},
                                  {BCP_GROUP_CIRCUIT1, 116}, {BCP_GROUP_CIRCUIT2, 117},  {BCP_GROUP_SOLAR, 235}};

struct Coding {
    std::uint8_t level = 1;
    std::uint8_t group = BCP_GROUP_GENERAL;
    std::uint8_t address = 0;
    std::int16_t value = 0;
    std::int16_t min = 0;
    std::int16_t max = 0;
    bool valid = false;    // the value belongs to the address shown
    bool scrolled = false; // an arrow moved the address: ask on release
    bool up = true;        // the direction the addresses last moved
    bool wait = true;      // blink phase of the level-2 title icon
};

Coding bcp;

std::int16_t I16(const std::uint8_t* p)
{
    return static_cast<std::int16_t>(p[0] | p[1] << 8);
}

std::uint8_t Selectors()
{
    return static_cast<std::uint8_t>(bcp.level << 4 | (bcp.group & 0x0F));
}

const Line& CurrentLine()
{
    return kLines[bcp.level == 2 ? 1 : 0];
}

void ArmAnimation(std::uint8_t ticks)
{
    SM_Post(DTM_Task, SIG_TMR_DATA_SET, ticks);
}

void Due(std::uint8_t type)
{
    if (DIS_RequestState(type) == DIS_CURRENT) {
        DIS_SetRequestState(type, DIS_DUE);
    }
}

// What the control unit derives from its coding (the plant's circuits and
// options, the solar data) may have changed.
void MarkPlantDue()
{
    Due(kTypePlant);
    if (DAT_HasSolar()) {
        Due(kTypeSolar);
    }
}

void RequestValue()
{
    bcp.valid = false;
    bcp.scrolled = false;
    DIS_UO_CodingRead(Selectors(), bcp.address, bcp.level == 2 ? 0xFF : 1);
}

void DrawTitle()
{
    std::uint16_t text = ML_NO_TEXT;
    for (const GroupTitle& t : kTitles) {
        if (t.group == bcp.group) {
            text = t.text;
        }
    }
    TITLE_SetText(text == ML_NO_TEXT ? "" : TXT_GetText(text));
    if (bcp.level != 2) {
        TITLE_DrawRight(TXT_GetText(kCod1));
    } else if (DAT_FaParametrisationActive() || (DAT_CalibrationActive() && bcp.wait)) {
        GUI_PutBitmap(&bmCalibration22, 238 - bmCalibration22.width, 2);
    } else if (!DAT_CalibrationActive()) {
        TITLE_DrawRight(TXT_GetText(kCod2));
    }
    TITLE_DrawLine();
}

void DrawDescription()
{
    if (bcp.level == 2) {
        return;
    }
    GUI_EraseBox(&kDescription);
    const std::uint16_t text = BCP_Description(bcp.group, bcp.address);
    if (text != ML_NO_TEXT) {
        GUI_TextInBoxWrapped(TXT_GetText(text), &kDescription, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
    }
}

void FormatValue(const GUI_BOX* box, std::int16_t value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%d", value);
    const GUI_BOX right{box->x0, box->y0, CurrentLine().value.x1, box->y1};
    GUI_TextInBox(text, &right, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
}

// The address marked on the list; the value shown only once it has come.
void DrawLine(bool markAddress, bool showValue)
{
    const Line& l = CurrentLine();
    GUI_EraseBox(&l.area);
    const GUI_FONTDEF* old = TXT_UseFontLarge();
    GUI_TextInBox(":", &l.area, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    char address[4];
    std::snprintf(address, sizeof address, "%02X", bcp.address);
    GUI_TextInBox(address, &l.address, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    if (showValue) {
        FormatValue(&l.value, bcp.value);
    }
    GUI_SelectFont(old);
    if (markAddress) {
        GUI_InvertArea(l.address.x0, l.address.y0, l.address.x1, l.address.y1);
    }
}

void RefreshBelowTitle()
{
    LCD_RefreshBox(&kBelowTitle);
}

// A coding value from the control unit; one for another address (an answer
// overtaken by scrolling) is not shown.
bool TakeValue()
{
    const std::uint8_t* m = DAT_image.messages2;
    if (m[DAT_CODING_SELECTORS] != Selectors() || m[DAT_CODING_ADDRESS] != bcp.address) {
        return false;
    }
    bcp.value = I16(m + DAT_CODING_VALUE);
    bcp.min = I16(m + DAT_CODING_MIN);
    bcp.max = I16(m + DAT_CODING_MAX);
    if (bcp.min > bcp.max) {
        bcp.max = bcp.min; // limits the wrong way round: the value cannot move
    }
    bcp.valid = true;
    return true;
}

// The level-2 title blinks its icon while the control unit calibrates.
bool Animation(const SM_Event* e)
{
    if (e->sig != SIG_TMR_DATA_TIMEOUT || bcp.level != 2) {
        return false;
    }
    bcp.wait = DAT_CalibrationActive() ? !bcp.wait : true;
    DrawTitle();
    TITLE_Refresh();
    ArmAnimation(bcp.wait ? kBlinkOn : kBlinkOff);
    return true;
}

bool Help(SM_Hsm* me, const SM_Event* e)
{
    if (e->sig == SIG_KEY_HELP || e->sig == SIG_KEY_MENU) {
        ArmAnimation(0); // the key is passed on
        return false;
    }
    if (e->sig != SIG_HELP || e->par != kHelpOpen) {
        return false;
    }
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
    return true;
}

SM_Handler List()
{
    return bcp.level == 2 ? SM_Handler(BCP_Codierung_2) : SM_Handler(BCP_Codierung_1);
}

// Back from the editor: level 1 draws the list afresh, level 2 keeps its title.
void BackToList(SM_Hsm* me)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, List(),
                 bcp.level == 2 ? BCP_PAR_INIT_CODIERUNG : std::uint32_t{SCR_FROM_CHILD});
}

void StepAddress(bool up)
{
    bcp.address = static_cast<std::uint8_t>(up ? bcp.address + 1 : bcp.address - 1);
    bcp.up = up;
    bcp.valid = false;
    bcp.scrolled = true;
    DrawDescription();
    DrawLine(true, false);
    SCR_Hint(HINT_CONTINUE_OK, true);
    RefreshBelowTitle();
}

SM_State ListState(SM_Hsm* me, const SM_Event* e, const char* name)
{
    if (SCR_Trace(name, e)) {
        if (e->sig == SIG_INIT) {
            if (e->par == SCR_FROM_PARENT) {
                bcp.up = true;
                bcp.address = 0;
                bcp.value = 0;
                bcp.wait = true;
                SM_Post(DIS_Task, SIG_DIS_POLL_OFF, 0);
                RequestValue();
            }
            SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, kRepeatRate);
            if (bcp.level == 2 && e->par == BCP_PAR_INIT_CODIERUNG) {
                GUI_EraseBox(&kBelowTitle);
            } else {
                GUI_EraseScreen();
                if (bcp.level == 2) {
                    bcp.wait = true;
                    ArmAnimation(kBlinkOn);
                }
                DrawTitle();
            }
            DrawDescription();
            DrawLine(true, bcp.valid);
            SCR_Hint(HINT_CHOOSE, false);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
            MarkPlantDue();
            SM_Post(DIS_Task, SIG_DIS_POLL_ON, 0);
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
        StepAddress(true);
        return nullptr;
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        StepAddress(false);
        return nullptr;
    case SIG_KEY_RELEASED:
        // Holding an arrow scrolls without asking; the address shown at the end is asked for.
        if (bcp.scrolled) {
            RequestValue();
            DrawLine(true, false);
            RefreshBelowTitle();
        }
        return nullptr;
    case SIG_DATA_TYPE_14:
        if (TakeValue()) {
            if (bcp.level != 2) {
                DrawTitle();
            }
            DrawDescription();
            DrawLine(true, true);
            LCD_Refresh();
        }
        return nullptr;
    case SIG_KEY_OK:
        SM_Post(KEY_Task, SIG_KEY_FLUSH, 0);
        if (bcp.valid && DIS_RequestState(kTypeCoding) == DIS_CURRENT) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BCP_EditValue, BCP_PAR_INIT_CODIERUNG);
        }
        return nullptr;
    case SIG_KEY_BACK:
        if (bcp.level == 2) {
            ArmAnimation(0);
        }
        SM_TranParam(me, BKE_Kontrasteinstellung, BCPM_Menu(), SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHOOSE, false);
        HINT_Refresh();
        return nullptr;
    default:
        if (Animation(e) || Help(me, e)) {
            return nullptr;
        }
        return BMM_Menuemonitor;
    }
}

// The editor's and feedback's picture below the title.
void DrawBody(bool edit)
{
    DrawDescription();
    DrawLine(false, !edit);
    if (edit) {
        VD_Draw(GUI_MODE_REV);
    }
}

} // namespace

void BCP_Select(std::uint8_t level, std::uint8_t group)
{
    bcp.level = level == 2 ? 2 : 1;
    bcp.group = group;
}

std::uint16_t BCP_Description(std::uint8_t group, std::uint8_t address)
{
    const std::uint8_t g = group == BCP_GROUP_CIRCUIT2 ? std::uint8_t{BCP_GROUP_CIRCUIT1} : group;
    for (const Description& d : kDescriptions) {
        if (d.group == g && d.address == address) {
            return d.text;
        }
    }
    return ML_NO_TEXT;
}

SM_State BCP_Codierung_1(SM_Hsm* me, const SM_Event* e)
{
    return ListState(me, e, "BCP_Codierung_1");
}

SM_State BCP_Codierung_2(SM_Hsm* me, const SM_Event* e)
{
    return ListState(me, e, "BCP_Codierung_2");
}

SM_State BCP_EditValue(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BCP_EditValue", e)) {
        if (e->sig == SIG_INIT) {
            const ValueLimits limits{bcp.value, 1, bcp.min, bcp.max};
            VD_Setup(&limits, FormatValue, &CurrentLine().valueMarked, TXT_FontLarge());
            if (e->par == BCP_PAR_INIT_CODIERUNG) {
                GUI_EraseBox(&kBelowTitle);
            } else {
                GUI_EraseScreen();
                if (bcp.level == 2) {
                    bcp.wait = true;
                    ArmAnimation(kBlinkOn);
                }
            }
            DrawTitle();
            DrawBody(true);
            SCR_Hint(HINT_CHANGE, false);
            SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, kRepeatRate);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT:
        if (e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT) {
            VD_Increment();
        } else {
            VD_Decrement();
        }
        SCR_Hint(HINT_CONTINUE_OK, true);
        RefreshBelowTitle();
        return nullptr;
    case SIG_KEY_OK:
        SM_Post(KEY_Task, SIG_KEY_FLUSH, 0);
        bcp.value = VD_GetValue();
        DIS_UO_CodingValue(Selectors(), bcp.address, static_cast<std::uint16_t>(bcp.value), bcp.level == 2 ? 0xFF : 1);
        MarkPlantDue();
        SM_TranParam(me, BKE_Kontrasteinstellung, BCP_EditFeedback, BCP_PAR_INIT_CODIERUNG);
        return nullptr;
    case SIG_KEY_BACK:
        BackToList(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHANGE, false);
        HINT_Refresh();
        return nullptr;
    default:
        if (Animation(e) || Help(me, e)) {
            return nullptr;
        }
        return BMM_Menuemonitor;
    }
}

SM_State BCP_EditFeedback(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BCP_EditFeedback", e)) {
        if (e->sig == SIG_INIT) {
            GUI_EraseBox(&kBelowTitle);
            DrawBody(false);
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_DATA_TYPE_14:
        // The control unit's answer to the write: the value it keeps.
        if (TakeValue()) {
            DrawBody(false);
            RefreshBelowTitle();
        }
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        BackToList(me);
        return nullptr;
    default:
        if (Animation(e) || Help(me, e)) {
            return nullptr;
        }
        return BMM_Menuemonitor;
    }
}

void BCP_PowerOn()
{
    bcp = Coding{};
}
