// Base display: chooses between overlays, screensaver and the list of the
// plant's areas, and the list itself in its two variants.
#include "screens/base/BGA.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Bitmap.h"
#include "gui/LCD.h"
#include "screens/base/BAP.h"
#include "screens/base/BEE.h"
#include "screens/base/BHA.h"
#include "screens/base/BMA.h"
#include "screens/base/BMM.h"
#include "screens/base/BRA.h"
#include "screens/base/BSD.h"
#include "screens/base/BWD.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/PNL.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIA.h"
#include "screens/user/BIM.h"
#include "screens/user/BSE.h"
#include "screens/user/BWW.h"

namespace {

constexpr std::uint16_t kIdleTicks = 3000;
constexpr std::uint8_t kEntryCount = 8;
constexpr std::uint8_t kHeating = 2;
constexpr std::uint16_t kTitleText = 150;
constexpr GUI_BOX kRightPart{159, 28, 239, 131};
constexpr GUI_BOX kBurnerArea{159, 100, 239, 131};

struct Entry {
    std::uint16_t text;
    const GUI_PICTURE* picture;
    bool burner; // the burner symbol goes below the picture
    SM_Handler target;
    std::uint8_t okPar;
    std::uint8_t help;
};

const Entry kEntries[kEntryCount] = {
    {259, &bmFault45, false, BSD_Stoerungsdialog, SCR_FROM_PARENT, 18},
    {291, &bmMaintenance45, false, BWD_WartungsDialog, SCR_FROM_PARENT, 19},
    {126, &bmHeating45, true, BEE_Endbenutzermenue, SCR_FROM_PARENT, 20},
    {285, &bmHotWater45, true, BWW_Warmwasser, SCR_FROM_PARENT, 21},
    {237, &bmSolar45, false, BSE_Solarenergie, SCR_FROM_PARENT, 22},
    {135, &bmInfo45, false, BIM_InformationMenue, SCR_FROM_PARENT, 23},
    {201, &bmFlueGasTest45, true, BAP_Abgaspruefung, SCR_FROM_PARENT, 24},
    {129, &bmHelp45, false, BHA_Hilfeanzeige, 17, 17}, // OK opens the help page on the keys
};

struct BaseDisplay {
    std::uint8_t savedCursor = 0;
    std::uint8_t savedFirstRow = 0;
    std::uint32_t hint = HINT_CHOOSE;
    bool hintTimer = false; // running for the hint; stopped when the base display is left
};

BaseDisplay bga;

void DrawEntry(std::uint8_t index, const GUI_BOX* row)
{
    const Entry& entry = kEntries[index];
    ML_DrawName(row, entry.text);
    if (index != ML_GetCursor()) {
        return;
    }
    GUI_EraseBox(&kRightPart);
    GUI_PutBitmap(entry.picture, 176, 57);
    if (entry.burner) {
        GUI_EraseBox(&kBurnerArea);
        if (DAT_BurnerOn() || DAT_BurnerStage2()) {
            GUI_PutBitmap(&bmBurner28, 185, 104);
        }
    }
    GUI_LineV(160, 29, 130); // last: the burner area's erase starts left of it
}

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    DrawEntry(I, row);
}

constexpr ML_DrawFn kDraw[kEntryCount] = {Draw<0>, Draw<1>, Draw<2>, Draw<3>, Draw<4>, Draw<5>, Draw<6>, Draw<7>};

void SetHint(std::uint32_t index)
{
    bga.hint = index;
    bga.hintTimer = index == HINT_CONTINUE_OK;
    SCR_Hint(static_cast<std::uint8_t>(index), bga.hintTimer);
}

void DrawScreen()
{
    GUI_EraseScreen();
    // Formatted first: the formatting overwrites the text buffer.
    char temperature[8];
    FMT_TemperatureText(temperature, sizeof temperature,
                        TMP_ToDisplay(static_cast<std::int16_t>(DAT_BoilerTemperature())), DAT_BoilerSensorFault());
    TITLE_SetTextAndRight(TXT_GetText(kTitleText), temperature);
    TITLE_DrawLine();
    ML_Draw();
    HINT_SetText(static_cast<std::uint8_t>(bga.hint)); // a running hint timer is left as it is
    LCD_Refresh();
}

void Rechoose(SM_Hsm* me)
{
    SM_TranParam(me, BGA_Grundanzeige, BGA_Grundanzeige, SCR_REFRESH);
}

// The two list variants differ in a few keys only.
SM_State List(SM_Hsm* me, const SM_Event* e, const char* name, bool locked)
{
    SCR_Trace(name, e);
    switch (e->sig) {
    case SIG_ENTRY: {
        const std::uint8_t visible = BGA_VisibleEntries();
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kDraw[i]);
            ML_SetEntryVisibleRaw(i, (visible >> i) & 1U);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 158, 29, 24, 2, 4);
        return nullptr;
    }
    case SIG_INIT:
        if (e->par == SCR_FROM_CHILD || e->par == SCR_REFRESH) {
            ML_RestorePosition(bga.savedFirstRow, bga.savedCursor);
        }
        if (e->par != SCR_REFRESH) {
            bga.hint = HINT_CHOOSE;
        } else if (bga.hint == HINT_CONTINUE_OK && !bga.hintTimer) {
            SetHint(HINT_CONTINUE_OK); // back in place after the locked message: the hint runs out again
        }
        DrawScreen();
        return nullptr;
    case SIG_EXIT:
        bga.savedCursor = ML_GetCursor();
        bga.savedFirstRow = ML_GetFirstRow();
        SM_Post(KEY_Task, SIG_KEY_FLUSH, 0);
        return nullptr;
    case SIG_KEY_ANY:
        if (locked) {
            break;
        }
        SM_Post(DTM_Task, SIG_TMR_IDLE_SET, kIdleTicks);
        return BGA_Grundanzeige; // the root records the key as well
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        if (e->sig == SIG_KEY_UP) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        SetHint(HINT_CONTINUE_OK);
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_BACK:
        if (!locked) {
            break; // nobody handles it
        }
        SM_TranParam(me, BKE_Kontrasteinstellung, BMA_BedienungGesperrt, SCR_PLAIN);
        return nullptr;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        if (locked) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BMA_BedienungGesperrt, SCR_PLAIN);
        }
        return nullptr;
    case SIG_KEY_OK: {
        const std::uint8_t i = ML_GetCursor();
        if (i == kHeating) {
            DAT_SelectCircuit(DAT_FirstCircuit());
        }
        SM_TranParam(me, BKE_Kontrasteinstellung, kEntries[i].target,
                     locked ? std::uint32_t{SCR_FROM_PARENT} : kEntries[i].okPar);
        return nullptr;
    }
    case SIG_TMR_HINT_TIMEOUT:
        SetHint(HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TMR_IDLE_TIMEOUT:
        if (locked || !PNL_flags.serviceMode) {
            PNL_flags.screensaver = true;
            Rechoose(me);
        } else {
            SM_TranParam(me, BMM_Menuemonitor, BGA_Grundanzeige, SCR_REFRESH);
        }
        return nullptr;
    case SIG_TICK_5S:
        Rechoose(me);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
        return nullptr;
    default:
        break;
    }
    return BGA_Grundanzeige;
}

} // namespace

bool BGA_OperationLocked()
{
    return DAT_LockSetting() == 1 && !PNL_flags.serviceMode;
}

bool BGA_MenuAllowed()
{
    return PNL_flags.serviceMode || DAT_LockSetting() == 0;
}

std::uint8_t BGA_VisibleEntries()
{
    const bool open = !BGA_OperationLocked();
    const bool shown[kEntryCount] = {
        DAT_FaultPresent(),
        DAT_MaintenanceDue(),
        open,
        open && DAT_HasHotWaterOption(),
        open && DAT_HasSolarOption(),
        open,
        true,
        true,
    };
    std::uint8_t bits = 0;
    for (std::uint8_t i = 0; i < kEntryCount; ++i) {
        bits = static_cast<std::uint8_t>(bits | (shown[i] ? 1U << i : 0U));
    }
    return bits;
}

BGA_Choice BGA_Choose(std::uint32_t par)
{
    struct Row {
        bool holds;
        bool skippedBySaver;
        SM_Handler target;
        std::uint32_t par;
    };
    const Row rows[] = {
        {DAT_CommissioningRequested(), true, BIA_InbetriebnahmeAssistent, SCR_ASSISTANT},
        {DAT_FaultMessageFlag(), false, BMA_Stoerung, 0},
        {DAT_BurnerControlLocked(), false, BMA_Feuerungsautomat, 0},
        {DAT_CalibrationActive(), true, BMA_KalibrationAktiv, 0},
        {DAT_FaParametrisationActive(), true, BMA_ParametrierungFaAktiv, 0},
        {DAT_FillingActive(), true, BMA_BefuellungAktiv, 0},
        {DAT_VentingActive(), true, BMA_EntlueftungAktiv, 0},
        {DAT_FlueGasTestActive(), true, BAP_Abgaspruefung, 0},
        {DAT_ClockMustBeSet(), true, BMA_UhrzeitStellen, SCR_CLOCK_MESSAGE},
        {DAT_MaintenanceMessageFlag(), false, BMA_Wartung, 0},
    };
    const bool saver = PNL_flags.screensaver;
    for (const Row& row : rows) {
        if (row.holds && !(saver && row.skippedBySaver)) {
            return {row.target, row.par, SIG_LIGHT_ON};
        }
    }
    if (!saver) {
        return {BGA_OperationLocked() ? BGA_GrundanzeigeMenueGesperrt : BGA_GrundanzeigeMenue, par, SIG_LIGHT_ON};
    }
    return {BRA_RuheAnimation, 0, SIG_LIGHT_DIM};
}

SM_State BGA_Grundanzeige(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BGA_Grundanzeige", e);
    switch (e->sig) {
    case SIG_ENTRY:
        SM_Post(DTM_Task, SIG_TMR_IDLE_SET, kIdleTicks);
        DIS_UO_Request(15, 0);
        return nullptr;
    case SIG_INIT: {
        const BGA_Choice choice = BGA_Choose(e->par);
        SM_Post(BKL_Task, choice.light, 0);
        SM_InitParam(me, choice.target, choice.par);
        return nullptr;
    }
    case SIG_EXIT:
        SM_Post(DTM_Task, SIG_TMR_HINT_SET, 0);
        bga.hintTimer = false;
        return nullptr;
    case SIG_STATUS_UPDATED:
        Rechoose(me);
        return nullptr;
    case SIG_TMR_LIGHT_TIMEOUT:
        PNL_flags.keyActivity = false;
        return nullptr;
    case SIG_SERVICE_END:
        PNL_flags.serviceMode = false;
        PNL_flags.codingLevel2 = false;
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

SM_State BGA_GrundanzeigeMenue(SM_Hsm* me, const SM_Event* e)
{
    return List(me, e, "BGA_GrundanzeigeMenue", false);
}

SM_State BGA_GrundanzeigeMenueGesperrt(SM_Hsm* me, const SM_Event* e)
{
    return List(me, e, "BGA_GrundanzeigeMenueGesperrt", true);
}

void BGA_PowerOn()
{
    bga = BaseDisplay{};
}
