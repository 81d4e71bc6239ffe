// Flue-gas test. The control unit runs it; the panel starts and stops it and
// shows the boiler meanwhile.
#include "screens/base/BAP.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

constexpr std::uint16_t kTitle = 201;    // "Prüfbetrieb"
constexpr std::uint16_t kQuestion = 5;   // "Abgasprüfung"
constexpr std::uint16_t kOn = 76;        // "Ein"
constexpr std::uint16_t kOff = 24;       // "Aus"
constexpr std::uint16_t kBoiler = 150;   // "Kesseltemperatur"
constexpr std::uint8_t kFlueGasTest = 1; // function of code 247
constexpr std::uint8_t kStart = 255;
constexpr std::uint8_t kStop = 0;
constexpr std::uint32_t kHelpPage = 24; // as the base display's entry
constexpr GUI_BOX kValueArea{1, 28, 238, 131};
constexpr GUI_BOX kBurnerArea{189, 100, 239, 131};

struct FlueGas {
    std::uint8_t answer = 0; // 1 "Ein"
};

FlueGas bap;

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

void Start()
{
    DIS_UO_Function(kFlueGasTest, kStart);
    // Shown at once; the control unit's status keeps it from then on.
    DAT_SetStatusFlag(DAT_STATUS_PLANT, DAT_PLANT_FLUE_GAS_TEST, true);
}

void DrawBoiler()
{
    char temperature[8];
    FMT_TemperatureText(temperature, sizeof temperature,
                        TMP_ToDisplay(static_cast<std::int16_t>(DAT_BoilerTemperature())), DAT_BoilerSensorFault());
    GUI_EraseBox(&kValueArea);
    GUI_TextInBox(TXT_GetText(kBoiler), &kValueArea, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    GUI_TextInBox(temperature, &kValueArea, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
    GUI_EraseBox(&kBurnerArea);
    if (DAT_BurnerOn() || DAT_BurnerStage2()) {
        GUI_PutBitmap(&bmBurner28, 200, 104);
    }
}

SM_Handler BaseDisplay()
{
    return BGA_Grundanzeige;
}

const SCR_Question kStartQuestion{"BAP_Startabfrage",
                                  DrawTitle,
                                  kQuestion,
                                  &bap.answer,
                                  HINT_CONTINUE_OK,
                                  Start,
                                  BAP_Abgasmessung,
                                  BGA_Grundanzeige,
                                  BMM_Menuemonitor,
                                  BAP_Abgaspruefung,
                                  nullptr,
                                  kOn,
                                  kOff,
                                  SCR_FROM_PARENT};

} // namespace

SM_State BAP_Abgaspruefung(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BAP_Abgaspruefung", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, 0);
        return nullptr;
    case SIG_INIT:
        bap.answer = 0;
        SM_InitParam(me, DAT_FlueGasTestActive() ? BAP_Abgasmessung : BAP_Startabfrage, SCR_FROM_PARENT);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_STATUS_UPDATED: {
        // The base display's choice runs again only for a message that must
        // be seen: a status alone would drop the question.
        const SM_Handler next = BGA_Choose(SCR_REFRESH).target;
        if (next == BGA_GrundanzeigeMenue || next == BGA_GrundanzeigeMenueGesperrt || next == BAP_Abgaspruefung) {
            return nullptr;
        }
        return BGA_Grundanzeige;
    }
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kHelpPage);
        return nullptr;
    default:
        return BGA_Grundanzeige;
    }
}

SM_State BAP_Startabfrage(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionState(me, e, kStartQuestion);
}

SM_State BAP_Abgasmessung(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BAP_Abgasmessung", e)) {
        if (e->sig == SIG_INIT) {
            GUI_EraseScreen();
            DrawTitle();
            DrawBoiler();
            SCR_Hint(HINT_END_OK, false);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_STATUS_UPDATED:
        DrawBoiler();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        DIS_UO_Function(kFlueGasTest, kStop);
        DAT_SetStatusFlag(DAT_STATUS_PLANT, DAT_PLANT_FLUE_GAS_TEST, false);
        SM_TranParam(me, BMM_Menuemonitor, BaseDisplay(), SCR_FROM_CHILD);
        return nullptr;
    case SIG_TICK_5S:
        // The base display chooses again: back here while the test runs.
        SM_TranParam(me, BMM_Menuemonitor, BaseDisplay(), SCR_FROM_CHILD);
        return nullptr;
    default:
        return BAP_Abgaspruefung;
    }
}

void BAP_PowerOn()
{
    bap = FlueGas{};
}
