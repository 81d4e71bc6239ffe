// Event-queue view. Its texts are the kernel's task labels, untranslated:
// the screen is for the developers, like the character-set view.
#include "screens/service/BTR.h"

#include <array>
#include <cstdio>
#include <utility>

#include "core/SM_Config.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGM.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

template <std::uint8_t T> void Row(const GUI_BOX* box)
{
    char value[12];
    BTR_ValueText(T, value, sizeof value);
    GUI_TextInBox(SM_TaskLabel(T), box, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    ML_DrawValue(box, value);
}

template <std::size_t... I> constexpr auto MakeRows(std::index_sequence<I...>)
{
    return std::array<ML_DrawFn, sizeof...(I)>{Row<static_cast<std::uint8_t>(I)>...};
}

constexpr auto kRows = MakeRows(std::make_index_sequence<SM_TASK_COUNT>{});

void Build()
{
    for (std::uint8_t i = 0; i < kRows.size(); ++i) {
        ML_SetEntry(i, kRows[i]);
        ML_SetEntryVisibleRaw(i, 1);
    }
    ML_SetCount(static_cast<std::uint8_t>(kRows.size()));
    ML_Init(0, 239, 29, 24, 2, 4);
}

} // namespace

void BTR_ValueText(std::uint8_t task, char* out, std::uint8_t size)
{
    if (task >= SM_TASK_COUNT) {
        std::snprintf(out, size, "-");
        return;
    }
    std::snprintf(out, size, "%u/%u", static_cast<unsigned>(SM_QueueHighWater(task)),
                  static_cast<unsigned>(SM_QueueSize(task)));
}

SM_State BTR_FifoBufferMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BTR_FifoBufferMenue", e);
    switch (e->sig) {
    case SIG_ENTRY:
        Build();
        return nullptr;
    case SIG_INIT:
        GUI_EraseScreen();
        TITLE_SetText("Event-Fifopuffer");
        TITLE_DrawLine();
        ML_Draw();
        HINT_SetText(HINT_BACK);
        LCD_Refresh();
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_TICK_5S: // the levels climb while it is open
        ML_Draw();
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_UP:
    case SIG_KEY_DOWN:
        if (e->sig == SIG_KEY_UP) {
            ML_CursorUp();
        } else {
            ML_CursorDown();
        }
        LCD_Refresh();
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
        SM_TranParam(me, BKE_Kontrasteinstellung, BGM_Grundmenue, SCR_FROM_CHILD);
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

// The view keeps nothing between visits: it opens at the first queue.
void BTR_PowerOn() {}
