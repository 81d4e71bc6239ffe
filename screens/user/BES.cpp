// Language selection: every language names itself in its own words; the
// commissioning assistant uses the same screens.
#include "screens/user/BES.h"

#include <array>
#include <utility>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/service/BIA.h"
#include "screens/user/BEM.h"

namespace {

constexpr std::uint8_t kVisibleRows = 4;
constexpr std::uint8_t kLastFirstRow = TXT_LANGUAGES - kVisibleRows;
constexpr std::uint16_t kTitle = 255;
constexpr std::uint16_t kCode = 393;
constexpr std::uint16_t kName = 394;
constexpr std::int16_t kMarkWidth = 30;
constexpr GUI_BOX kNameArea{0, 28, 239, 131};

struct Languages {
    SCR_Menu menu{0, 0, HINT_CHOOSE};
    bool assistant = false; // entered from the commissioning assistant
    bool changed = false;   // the last OK chose another language than the stored one
};

Languages bes;

// Texts of another language: the active language is switched for the fetch
// only; the image keeps the stored index (switching mirrors into it).
void CopyIn(std::uint8_t language, std::uint16_t id, char* out, std::uint16_t size)
{
    const std::uint8_t active = TXT_GetLanguage();
    const std::uint8_t stored = DAT_GetLanguageByte();
    TXT_SetLanguage(language);
    TXT_CopyText(id, out, size);
    TXT_SetLanguage(active);
    DAT_SetLanguageByte(stored);
}

template <std::uint8_t I> void DrawRow(const GUI_BOX* row)
{
    char name[64];
    char code[16];
    CopyIn(I, kName, name, sizeof name);
    CopyIn(I, kCode, code, sizeof code);
    GUI_TextInBox(name, row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    const GUI_BOX codeBox{row->x0, row->y0, static_cast<std::int16_t>(row->x1 - kMarkWidth), row->y1};
    ML_DrawValue(&codeBox, code);
    ML_DrawChoiceMark(row, I == TXT_GetLanguage());
}

template <std::size_t... I> constexpr auto MakeRows(std::index_sequence<I...>)
{
    return std::array<ML_DrawFn, sizeof...(I)>{DrawRow<static_cast<std::uint8_t>(I)>...};
}
constexpr auto kRows = MakeRows(std::make_index_sequence<TXT_LANGUAGES>{});

void DrawTitle()
{
    TITLE_SetText(TXT_GetText(kTitle));
    TITLE_DrawLine();
}

// The way back, as BACK, the feedback's keys and its timeout take it.
void Return(SM_Hsm* me, bool confirmed)
{
    if (bes.assistant) {
        SM_TranParam(me, BKE_Kontrasteinstellung, BIA_InbetriebnahmeAssistent,
                     confirmed ? SCR_ASSISTANT_CONFIRMED : SCR_ASSISTANT_LEFT);
    } else {
        SM_TranParam(me, BKE_Kontrasteinstellung, BEM_EinstellungenMenue, SCR_FROM_CHILD);
    }
}

void Choose(std::uint8_t language)
{
    bes.changed = language != DAT_GetLanguageByte();
    DAT_SetLanguageByte(language);
    TXT_SetLanguage(language);
    DIS_UO_DisplaySettings(DAT_Contrast(), language, DAT_DisplayFlag());
}

} // namespace

SM_State BES_EinstellungSprache(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BES_EinstellungSprache", e);
    switch (e->sig) {
    case SIG_ENTRY:
        for (std::uint8_t i = 0; i < TXT_LANGUAGES; ++i) {
            ML_SetEntry(i, kRows[i]);
        }
        ML_SetCount(TXT_LANGUAGES);
        ML_Init(0, 239, 29, 24, 2, kVisibleRows);
        return nullptr;
    case SIG_INIT: {
        if (e->par == SCR_ASSISTANT || e->par == SCR_FROM_PARENT) {
            bes.assistant = e->par == SCR_ASSISTANT;
        }
        // The list opens on the stored language, but comes back in place after the locked message.
        if (SCR_MenuInit(bes.menu, e->par) && e->par == SCR_REFRESH) {
            ML_RestorePosition(bes.menu.firstRow, bes.menu.cursor);
        } else {
            // The stored index comes from the control unit and may be anything.
            const std::uint8_t stored = DAT_GetLanguageByte();
            const std::uint8_t cursor = stored < TXT_LANGUAGES ? stored : TXT_LANGUAGES - 1;
            const std::uint8_t first = cursor == 0 ? 0 : cursor - 1;
            ML_SetCursor(cursor);
            ML_SetFirstRow(first < kLastFirstRow ? first : kLastFirstRow);
        }
        GUI_EraseScreen();
        DrawTitle();
        ML_Draw();
        HINT_SetText(bes.menu.hint);
        LCD_Refresh();
        return nullptr;
    }
    case SIG_EXIT:
        SCR_MenuExit(bes.menu);
        return nullptr;
    case SIG_KEY_OK:
        Choose(ML_GetCursor());
        SM_Tran(me, BMM_Menuemonitor, BES_EinstellungSpracheFeedback);
        return nullptr;
    case SIG_KEY_BACK:
        Return(me, false);
        return nullptr;
    case SIG_KEY_MENU:
        if (bes.assistant) {
            return nullptr;
        }
        break;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(bes.menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    default:
        if (SCR_MenuCursorKeys(bes.menu, e)) {
            return nullptr;
        }
        break;
    }
    return BMM_Menuemonitor;
}

SM_State BES_EinstellungSpracheFeedback(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BES_EinstellungSpracheFeedback", e);
    switch (e->sig) {
    case SIG_ENTRY:
        return nullptr;
    case SIG_INIT: {
        GUI_EraseScreen();
        DrawTitle();
        const GUI_FONTDEF* old = TXT_UseFontLarge();
        GUI_TextInBoxWrapped(TXT_GetText(kName), &kNameArea, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
        GUI_SelectFont(old);
        SCR_Hint(bes.changed ? HINT_TAKEN_OVER : HINT_IS_SET, true);
        LCD_Refresh();
        return nullptr;
    }
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    default:
        // Any key returns, MENU and HELP as well.
        if (SCR_IsKey(e->sig) || e->sig == SIG_TMR_HINT_TIMEOUT) {
            Return(me, true);
            return nullptr;
        }
        break;
    }
    return BMM_Menuemonitor;
}

void BES_PowerOn()
{
    bes = Languages{};
}
