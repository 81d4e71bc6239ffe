// Settings menu. The language row names the language in force by its code;
// the two circuit entries go through the circuit choice.
#include "screens/user/BEM.h"

#include <cstdio>
#include <cstring>

#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGM.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/base/PLH.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/user/BEK.h"
#include "screens/user/BES.h"
#include "screens/user/BHKW.h"
#include "screens/user/BHM.h"
#include "screens/user/BTE.h"
#include "screens/user/BUD.h"

namespace {

constexpr std::uint16_t kTitle = 79;
constexpr std::uint16_t kLanguage = 255;
constexpr std::uint16_t kLanguageCode = 393;
constexpr std::uint8_t kEntryCount = 7;
constexpr GUI_BOX kListArea{0, 28, 239, 131};

struct Entry {
    std::uint16_t text;
    SM_Handler target; // null: through the circuit choice
    std::uint32_t par; // INIT parameter, or the choice's target
    std::uint8_t help;
};

const Entry kEntries[kEntryCount] = {
    {273, BUD_DatumUhrzeitMenue, SCR_FROM_SETTINGS, 105},
    {kLanguage, BES_EinstellungSprache, SCR_FROM_PARENT, 106},
    {154, BEK_EinstellungKontrast, SCR_FROM_PARENT, 107},
    {128, BHM_HelligkeitMenue, SCR_FROM_PARENT, 108},
    {268, BTE_TemperatureinheitEinstellen, SCR_FROM_PARENT, 109},
    {119, nullptr, BHKW_TO_LABEL, 110},
    {111, nullptr, BHKW_TO_RESET, 111},
};

SCR_Menu bem{0, 0, HINT_CHOOSE};

void DrawLanguage(const GUI_BOX* row)
{
    // One text at a time: the text database hands out one buffer.
    char text[96]; // a row holds far less
    std::snprintf(text, sizeof text, "%s ", TXT_GetText(kLanguage));
    const std::size_t n = std::strlen(text);
    std::snprintf(text + n, sizeof text - n, "%s", TXT_GetText(kLanguageCode));
    GUI_TextInBox(text, row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

template <std::uint8_t I> void Draw(const GUI_BOX* row)
{
    ML_DrawName(row, kEntries[I].text);
}

constexpr ML_DrawFn kDraw[kEntryCount] = {Draw<0>, DrawLanguage, Draw<2>, Draw<3>, Draw<4>, Draw<5>, Draw<6>};

void DrawScreen()
{
    GUI_EraseScreen();
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
    ML_Draw();
    HINT_SetText(bem.hint);
    LCD_Refresh();
}

} // namespace

SM_State BEM_EinstellungenMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BEM_EinstellungenMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < kEntryCount; ++i) {
            ML_SetEntry(i, kDraw[i]);
        }
        ML_SetCount(kEntryCount);
        ML_Init(0, 239, 29, 24, 2, 4);
        return nullptr;
    case SIG_INIT:
        if (SCR_MenuInit(bem, e->par)) {
            ML_RestorePosition(bem.firstRow, bem.cursor);
        }
        DrawScreen();
        return nullptr;
    case SIG_EXIT:
        SCR_MenuExit(bem);
        return nullptr;
    case SIG_KEY_OK: {
        const Entry& entry = kEntries[ML_GetCursor()];
        if (entry.target == nullptr) {
            BHKW_Open(me, static_cast<BHKW_Target>(entry.par));
        } else {
            SM_TranParam(me, BKE_Kontrasteinstellung, entry.target, entry.par);
        }
        return nullptr;
    }
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bem, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_TICK_5S:
        ML_Draw();
        LCD_RefreshBox(&kListArea);
        return nullptr;
    case SIG_HELP:
        SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, kEntries[ML_GetCursor()].help);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(bem, e) ? nullptr : SM_State(BMM_Menuemonitor);
    }
}

void BEM_PowerOn()
{
    bem = SCR_Menu{0, 0, HINT_CHOOSE};
}
