// Placeholder screens: the state's name, and BACK to the base display.
#include "screens/base/PLH.h"

#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BMM.h"
#include "screens/base/BWD.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

// Screens already built below a placeholder: it lists them, and OK opens the
// one chosen as the real menu will (entered afresh).
struct Exit {
    SM_Handler from;
    SM_Handler to;
    const char* name;
};
const Exit kExits[] = {
    {BIF_InbetriebnahmeMenue, BWD_WartungsReset, "BWD_WartungsReset"},
};
constexpr std::uint8_t kMaxExits = 4;

struct Shown {
    const Exit* exits[kMaxExits];
    std::uint8_t count;
};
Shown plh;

void DrawExit(const GUI_BOX* row, std::uint8_t i)
{
    GUI_TextInBox(plh.exits[i]->name, row, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
}

template <std::uint8_t I> void Row(const GUI_BOX* row)
{
    DrawExit(row, I);
}
constexpr ML_DrawFn kRows[kMaxExits] = {Row<0>, Row<1>, Row<2>, Row<3>};

void ListExits(SM_Handler self)
{
    plh.count = 0;
    for (const Exit& x : kExits) {
        if (x.from == self && plh.count < kMaxExits) {
            ML_SetEntry(plh.count, kRows[plh.count]);
            ML_SetEntryVisibleRaw(plh.count, 1);
            plh.exits[plh.count++] = &x;
        }
    }
    ML_SetCount(plh.count);
    ML_Init(0, 239, 29, 24, 2, 4);
}

SM_State Placeholder(SM_Hsm* me, const SM_Event* e, const char* name, SM_Handler parent, SM_Handler self)
{
    SCR_Trace(name, e);
    switch (e->sig) {
    case SIG_ENTRY:
        ListExits(self);
        return nullptr;
    case SIG_INIT: {
        GUI_EraseScreen();
        TITLE_SetTextCentred(name);
        TITLE_DrawLine();
        if (plh.count > 0) {
            ML_Draw();
        } else {
            static constexpr GUI_BOX kBody{1, 28, 238, 131};
            GUI_TextInBoxWrapped("(placeholder)", &kBody, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
        }
        HINT_SetText(HINT_BACK);
        LCD_Refresh();
        return nullptr;
    }
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGA_Grundanzeige, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        if (plh.count == 0) {
            break;
        }
        if (e->sig == SIG_KEY_UP) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_OK:
        if (plh.count == 0) {
            break;
        }
        SM_TranParam(me, BKE_Kontrasteinstellung, plh.exits[ML_GetCursor()]->to, SCR_FROM_PARENT);
        return nullptr;
    default:
        break;
    }
    return parent;
}

} // namespace

#define PLH_DEFINE(name, parent)                                                                                       \
    SM_State name(SM_Hsm* me, const SM_Event* e)                                                                       \
    {                                                                                                                  \
        return Placeholder(me, e, #name, parent, name);                                                                \
    }
PLH_STATES(PLH_DEFINE)
#undef PLH_DEFINE

void PLH_PowerOn()
{
    plh = Shown{};
}
