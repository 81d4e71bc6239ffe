// Message overlays of the base display, and the message that operation is
// locked. The overlays hand control back to the base display regularly so
// that its choice runs again.
#include "screens/base/BMA.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/BSD.h"
#include "screens/base/BWD.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/PNL.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BUD.h"

namespace {

constexpr GUI_BOX kMessageArea{0, 0, 239, 131};
constexpr GUI_BOX kHeadline{0, 22, 239, 45};
constexpr int kPictureX = 90;
constexpr int kPictureY = 55;
constexpr std::uint16_t kBlinkOffTicks = 4;
constexpr std::uint16_t kBlinkOnTicks = 8;
constexpr std::uint16_t kLockedTicks = 40;
constexpr std::uint8_t kFunctionFilling = 13;
constexpr std::uint8_t kFunctionVenting = 14;

enum class Look : std::uint8_t { Blink, Large, Normal };
// What OK does in a message.
enum class Ok : std::uint8_t { None, Fault, Maintenance, EndFilling, EndVenting, Clock };

struct Message {
    const char* name;
    Look look;
    std::uint16_t text;
    const GUI_PICTURE* picture; // blinking messages only
    std::uint8_t hint;
    Ok ok;
    bool menu;         // MENU opens the main menu from here
    bool leavesOnTick; // else the tick only allows the blink rule to leave
    std::uint8_t help; // 0: HELP only wakes the display
};

constexpr Message kFault{"BMA_Stoerung", Look::Blink, 259, &bmFault58, HINT_CONTINUE_OK, Ok::Fault, true, false, 26};
constexpr Message kBurnerControl{
    "BMA_Feuerungsautomat", Look::Large, 98, nullptr, HINT_UNLOCK_RESET, Ok::Fault, true, true, 27};
constexpr Message kCalibration{
    "BMA_KalibrationAktiv", Look::Large, 143, nullptr, HINT_PLEASE_WAIT, Ok::None, false, true, 28};
constexpr Message kParametrisation{
    "BMA_ParametrierungFaAktiv", Look::Normal, 196, nullptr, HINT_PLEASE_WAIT, Ok::None, false, true, 29};
constexpr Message kFilling{"BMA_BefuellungAktiv", Look::Large, 36,   nullptr, HINT_END_OK,
                           Ok::EndFilling,        true,        true, 16};
constexpr Message kVenting{"BMA_EntlueftungAktiv", Look::Large, 81,   nullptr, HINT_END_OK,
                           Ok::EndVenting,         true,        true, 16};
constexpr Message kClock{"BMA_UhrzeitStellen", Look::Large, 274, nullptr, HINT_CONTINUE_OK, Ok::Clock, true, true, 0};
constexpr Message kMaintenance{"BMA_Wartung", Look::Blink, 291, &bmMaintenance58, HINT_CONTINUE_OK, Ok::Maintenance,
                               true,          false,       32};

struct Messages {
    std::uint8_t blink = 0;    // the picture is shown
    std::uint8_t tickSeen = 0; // a 5-second tick came since the message started
    SM_Handler lockedReturn = nullptr;
};

Messages bma;

void DrawWrapped(std::uint16_t text, bool large)
{
    const GUI_FONTDEF* before = large ? TXT_UseFontLarge() : nullptr;
    GUI_TextInBoxWrapped(TXT_GetText(text), &kMessageArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
    if (before != nullptr) {
        GUI_SelectFont(before);
    }
}

// Picture 800 ms on, 400 ms off.
void BlinkStep(const Message& m)
{
    GUI_EraseScreen();
    GUI_TextInBox(TXT_GetText(m.text), &kHeadline, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    if (bma.blink != 0) {
        bma.blink = 0;
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, kBlinkOffTicks);
    } else {
        bma.blink = 1;
        GUI_PutBitmap(m.picture, kPictureX, kPictureY);
        SM_Post(DTM_Task, SIG_TMR_DATA_SET, kBlinkOnTicks);
    }
    HINT_SetText(m.hint);
}

void Draw(const Message& m)
{
    if (m.look == Look::Blink) {
        BlinkStep(m);
    } else {
        GUI_EraseScreen();
        DrawWrapped(m.text, m.look == Look::Large);
        HINT_SetText(m.hint);
    }
    LCD_Refresh();
}

void BackToBaseDisplay(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, BGA_Grundanzeige, SCR_FROM_PARENT);
}

bool OnOk(SM_Hsm* me, const Message& m)
{
    if (m.ok == Ok::None) {
        return false;
    }
    PNL_flags.screensaver = false;
    switch (m.ok) {
    case Ok::Fault:
        SM_TranParam(me, BKE_Kontrasteinstellung, BSD_Stoerungsdialog, SCR_FROM_PARENT);
        break;
    case Ok::Maintenance:
        SM_TranParam(me, BKE_Kontrasteinstellung, BWD_WartungsDialog, SCR_FROM_PARENT);
        break;
    case Ok::EndFilling:
        DIS_UO_Function(kFunctionFilling, 0);
        DAT_EndFilling();
        BackToBaseDisplay(me);
        break;
    case Ok::EndVenting:
        DIS_UO_Function(kFunctionVenting, 0);
        DAT_EndVenting();
        BackToBaseDisplay(me);
        break;
    default:
        SM_TranParam(me, BMM_Menuemonitor, BUD_UhrzeitDialog, SCR_CLOCK_MESSAGE);
        break;
    }
    return true;
}

SM_State Overlay(SM_Hsm* me, const SM_Event* e, const Message& m)
{
    SCR_Trace(m.name, e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, 0);
        if (m.look == Look::Blink) {
            bma.blink = 0;
            bma.tickSeen = 0;
        }
        return nullptr;
    case SIG_INIT:
        Draw(m);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        if (&m == &kFault) {
            SM_Post(DTM_Task, SIG_TMR_DATA_SET, 0);
        }
        return nullptr;
    case SIG_KEY_OK:
        if (OnOk(me, m)) {
            return nullptr;
        }
        break;
    case SIG_KEY_MENU:
        // Where the menu is not allowed, the monitor shows the locked message, as on the base display.
        if (m.menu && BGA_MenuAllowed()) {
            PNL_flags.screensaver = false;
            SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_PARENT);
            return nullptr;
        }
        break;
    case SIG_TICK_5S:
        if (m.leavesOnTick) {
            BackToBaseDisplay(me);
        } else {
            bma.tickSeen = 1;
        }
        return nullptr;
    case SIG_TMR_DATA_TIMEOUT:
        if (m.look != Look::Blink) {
            break;
        }
        BlinkStep(m);
        // Leaves only as the picture comes on, and not before a tick has come.
        if (bma.blink != 0 && bma.tickSeen != 0) {
            BackToBaseDisplay(me);
        } else {
            LCD_Refresh();
        }
        return nullptr;
    case SIG_HELP:
        PNL_flags.screensaver = false;
        if (m.help != 0) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, m.help);
        }
        return nullptr;
    default:
        break;
    }
    return BGA_Grundanzeige;
}

} // namespace

SM_State BMA_Stoerung(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kFault);
}

SM_State BMA_Feuerungsautomat(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kBurnerControl);
}

SM_State BMA_KalibrationAktiv(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kCalibration);
}

SM_State BMA_ParametrierungFaAktiv(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kParametrisation);
}

SM_State BMA_BefuellungAktiv(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kFilling);
}

SM_State BMA_EntlueftungAktiv(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kVenting);
}

SM_State BMA_UhrzeitStellen(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kClock);
}

SM_State BMA_Wartung(SM_Hsm* me, const SM_Event* e)
{
    return Overlay(me, e, kMaintenance);
}

SM_State BMA_BedienungGesperrt(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BMA_BedienungGesperrt", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT:
        // The monitor has just been left on the way here: its return screen is the interrupted one.
        bma.lockedReturn = BMM_ReturnScreen();
        SM_InitParam(me, BMA_BedienungGesperrtAnzeige, SCR_PLAIN);
        return nullptr;
    case SIG_EXIT:
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BMA_BedienungGesperrtAnzeige(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BMA_BedienungGesperrtAnzeige", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, kLockedTicks);
        return nullptr;
    case SIG_INIT:
        GUI_EraseScreen();
        DrawWrapped(33, true);
        HINT_SetText(HINT_BACK);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_UP:
    case SIG_KEY_LEFT:
    case SIG_KEY_DOWN:
    case SIG_KEY_RIGHT:
    case SIG_KEY_OK:
    case SIG_KEY_MENU:
    case SIG_TMR_HINT_TIMEOUT:
        SM_TranParam(me, BMM_Menuemonitor, bma.lockedReturn, SCR_REFRESH);
        return nullptr;
    default:
        return BMA_BedienungGesperrt;
    }
}

void BMA_PowerOn()
{
    bma = Messages{};
}
