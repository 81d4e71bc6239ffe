// Time programs: phase arithmetic, day groups, time bar, store, and the
// screens the three program modules share.
#include "screens/user/TP.h"

#include <cstdio>
#include <cstring>

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI_Bitmap.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "screens/base/BFA.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BHKM.h"
#include "screens/user/BWWM.h"

TimeProgramEdit TP_edit;

namespace {

constexpr std::uint8_t kKinds = 3;
constexpr std::uint8_t kDays = 7;
constexpr std::uint8_t kPhaseBytes = 2 * TP_PHASES;
constexpr std::uint8_t kUserOpType = 1;  // the circuit's settings, as the other programme choices
constexpr std::uint8_t kUnsetText = 2;   // "--:--"
constexpr std::uint8_t kNoPhaseText = 0; // "---"
constexpr GUI_BOX kBarArea{0, 43, 239, 55};
constexpr int kBarX0 = 10;
constexpr int kBarX1 = 226;
constexpr int kBarTop = 46;
constexpr int kBarBase = 54;

struct DayEntry {
    std::uint8_t code;
    std::uint16_t text;
    std::uint16_t shortText;
};

const DayEntry kDayEntries[TP_DAY_ENTRIES] = {
    {0, 179, 180}, {8, 178, 175}, {9, 225, 226}, {1, 177, 174}, {2, 68, 66},
    {3, 173, 167}, {4, 72, 71},   {5, 101, 99},  {6, 224, 222}, {7, 248, 234},
};

struct Core {
    std::uint8_t kind;
    std::uint8_t dayIndex;
    std::uint16_t status; // status text of the phase rows
    SCR_Menu dayMenu[kKinds];
    SCR_Menu phaseMenu[kKinds];
};

Core tp{};

enum class Field : std::uint8_t { On, Off };

std::uint8_t* Days(std::uint8_t day)
{
    return DAT_image.switching[DAT_CurrentCircuit() - 1][tp.kind][day];
}

bool SameDays(std::uint8_t a, std::uint8_t b)
{
    return std::memcmp(Days(a), Days(b), kPhaseBytes) == 0;
}

bool AllLike(std::uint8_t first, std::uint8_t last)
{
    for (std::uint8_t d = first + 1; d <= last; ++d) {
        if (!SameDays(first, d)) {
            return false;
        }
    }
    return true;
}

// First and last day (0 = Monday) a day code writes.
void DaysOf(std::uint8_t code, std::uint8_t& first, std::uint8_t& last)
{
    switch (code) {
    case 0:
        first = 0;
        last = kDays - 1;
        break;
    case 8:
        first = 0;
        last = 4;
        break;
    case 9:
        first = 5;
        last = 6;
        break;
    default:
        first = last = static_cast<std::uint8_t>(code >= 1 && code <= kDays ? code - 1 : 0);
        break;
    }
}

bool IsSet(std::uint8_t p)
{
    return TP_edit.onTime[p] != TP_UNSET;
}

void Delete(std::uint8_t p)
{
    TP_edit.onTime[p] = TP_UNSET;
    TP_edit.offTime[p] = TP_UNSET;
}

void Create(std::uint8_t p)
{
    TP_edit.onTime[p] = TP_edit.suggestOn;
    TP_edit.offTime[p] = TP_edit.suggestOff;
}

void FieldBoxes(const GUI_BOX* row, GUI_BOX& on, GUI_BOX& dash, GUI_BOX& off)
{
    const int x0 = row->x0;
    const int dashWidth = GUI_TextWidth("-");
    on = GUI_BOX{static_cast<std::int16_t>(x0 + 25), row->y0, static_cast<std::int16_t>(x0 + 82), row->y1};
    dash =
        GUI_BOX{static_cast<std::int16_t>(x0 + 83), row->y0, static_cast<std::int16_t>(x0 + 82 + dashWidth), row->y1};
    off = GUI_BOX{static_cast<std::int16_t>(dash.x1 + 1), row->y0, static_cast<std::int16_t>(dash.x1 + 59), row->y1};
}

void InvertField(const GUI_BOX* row, Field field)
{
    GUI_BOX on{}, dash{}, off{};
    FieldBoxes(row, on, dash, off);
    const GUI_BOX& b = field == Field::On ? on : off;
    GUI_InvertArea(b.x0, b.y0, b.x1, b.y1);
}

void Redraw(const GUI_BOX* row, std::uint8_t p, Field field)
{
    if (row == nullptr) {
        return;
    }
    GUI_EraseBox(row);
    TP_DrawPhaseRow(row, p, true, tp.status);
    InvertField(row, field);
}

bool Done(const GUI_BOX* row, std::uint8_t p, Field field, bool changed)
{
    if (changed) {
        Redraw(row, p, field);
    }
    return changed;
}

} // namespace

void TP_SetKind(std::uint8_t kind)
{
    tp.kind = kind < kKinds ? kind : 0;
    DAT_SelectProgram(tp.kind);
}

std::uint8_t TP_Kind()
{
    return tp.kind;
}

void TP_SetDayByMenuIndex(std::uint8_t index)
{
    tp.dayIndex = index < TP_DAY_ENTRIES ? index : 0;
    DAT_SelectDay(TP_DayCode());
}

std::uint8_t TP_DayCode()
{
    return kDayEntries[tp.dayIndex].code;
}

std::uint8_t TP_DayCodeOfMenuIndex(std::uint8_t index)
{
    return kDayEntries[index < TP_DAY_ENTRIES ? index : 0].code;
}

std::uint16_t TP_DayText(std::uint8_t menuIndex)
{
    return kDayEntries[menuIndex < TP_DAY_ENTRIES ? menuIndex : 0].text;
}

std::uint16_t TP_DayShortText(std::uint8_t menuIndex)
{
    return kDayEntries[menuIndex < TP_DAY_ENTRIES ? menuIndex : 0].shortText;
}

void TP_Load()
{
    DAT_SelectProgram(tp.kind);
    DAT_SelectDay(TP_DayCode());
    const std::uint8_t* phases = DAT_Phases();
    for (std::uint8_t p = 0; p < TP_PHASES; ++p) {
        std::uint8_t on = phases[2 * p];
        std::uint8_t off = phases[2 * p + 1];
        // What the control unit sent is taken only when it is a phase.
        if (on > TP_LAST_ON || off > TP_DAY_END || on >= off) {
            on = off = TP_UNSET;
        }
        TP_edit.onTime[p] = on;
        TP_edit.offTime[p] = off;
    }
}

void TP_Store()
{
    const std::uint8_t code = TP_DayCode();
    for (std::uint8_t p = 0; p < TP_PHASES; ++p) {
        DIS_UO_SwitchingTime(kUserOpType, 0, p, tp.kind, code, TP_edit.onTime[p]);
        DIS_UO_SwitchingTime(kUserOpType, 1, p, tp.kind, code, TP_edit.offTime[p]);
    }
    std::uint8_t first = 0;
    std::uint8_t last = 0;
    DaysOf(code, first, last);
    for (std::uint8_t d = first; d <= last; ++d) {
        std::uint8_t* phases = Days(d);
        for (std::uint8_t p = 0; p < TP_PHASES; ++p) {
            phases[2 * p] = TP_edit.onTime[p];
            phases[2 * p + 1] = TP_edit.offTime[p];
        }
    }
}

void TP_SaveCopy()
{
    std::memcpy(TP_edit.savedOn, TP_edit.onTime, TP_PHASES);
    std::memcpy(TP_edit.savedOff, TP_edit.offTime, TP_PHASES);
}

void TP_RestoreCopy()
{
    std::memcpy(TP_edit.onTime, TP_edit.savedOn, TP_PHASES);
    std::memcpy(TP_edit.offTime, TP_edit.savedOff, TP_PHASES);
}

bool TP_PhaseChanged(std::uint8_t p)
{
    return p < TP_PHASES && (TP_edit.onTime[p] != TP_edit.savedOn[p] || TP_edit.offTime[p] != TP_edit.savedOff[p]);
}

void TP_Suggest(std::uint8_t p, std::uint8_t defOn, std::uint8_t defOff)
{
    if (p >= TP_PHASES) {
        return;
    }
    bool found = false;
    TP_edit.suggestOn = 0;
    for (int i = p; i >= 0; --i) {
        if (TP_edit.offTime[i] < TP_LAST_ON) {
            TP_edit.suggestOn = static_cast<std::uint8_t>(TP_edit.offTime[i] + 1);
            found = true;
            break;
        }
    }
    TP_edit.suggestOff = TP_DAY_END;
    for (int i = p; i < TP_PHASES; ++i) {
        if (TP_edit.onTime[i] > 1 && TP_edit.onTime[i] != TP_UNSET) {
            TP_edit.suggestOff = static_cast<std::uint8_t>(TP_edit.onTime[i] - 1);
            found = true;
            break;
        }
    }
    if (!found || TP_edit.suggestOn >= TP_edit.suggestOff) {
        TP_edit.suggestOn = defOn;
        TP_edit.suggestOff = defOff;
    }
}

bool TP_OnUp(const GUI_BOX* row, std::uint8_t p)
{
    if (p >= TP_PHASES) {
        return false;
    }
    bool changed = true;
    if (!IsSet(p)) {
        Create(p);
    } else if (TP_edit.onTime[p] < TP_LAST_ON) {
        ++TP_edit.onTime[p];
        if (TP_edit.onTime[p] >= TP_edit.offTime[p]) {
            TP_edit.offTime[p] = static_cast<std::uint8_t>(TP_edit.onTime[p] + 1);
        }
    } else {
        changed = false;
    }
    return Done(row, p, Field::On, changed);
}

bool TP_OnDown(const GUI_BOX* row, std::uint8_t p)
{
    if (p >= TP_PHASES || !IsSet(p)) {
        return false;
    }
    if (TP_edit.onTime[p] > 0) {
        --TP_edit.onTime[p];
    } else {
        TP_edit.suggestOn = 0;
        TP_edit.suggestOff = TP_edit.offTime[p];
        Delete(p);
    }
    return Done(row, p, Field::On, true);
}

bool TP_OffUp(const GUI_BOX* row, std::uint8_t p)
{
    if (p >= TP_PHASES) {
        return false;
    }
    bool changed = true;
    if (!IsSet(p)) {
        Create(p);
    } else if (TP_edit.offTime[p] < TP_DAY_END) {
        ++TP_edit.offTime[p];
    } else {
        changed = false;
    }
    return Done(row, p, Field::Off, changed);
}

bool TP_OffDown(const GUI_BOX* row, std::uint8_t p)
{
    if (p >= TP_PHASES || !IsSet(p)) {
        return false;
    }
    if (TP_edit.offTime[p] < 2 || TP_edit.offTime[p] - TP_edit.onTime[p] < 2) {
        TP_edit.suggestOn = TP_edit.onTime[p];
        TP_edit.suggestOff = TP_edit.offTime[p];
        Delete(p);
    } else {
        --TP_edit.offTime[p];
    }
    return Done(row, p, Field::Off, true);
}

bool TP_GroupMark(std::uint8_t dayCode)
{
    const bool week = AllLike(0, kDays - 1);
    switch (dayCode) {
    case 0:
        return week;
    case 8:
        return !week && AllLike(0, 4);
    case 9:
        return !week && SameDays(5, 6);
    default:
        return false;
    }
}

int TP_BarX(std::uint8_t t)
{
    return t * (kBarX1 - kBarX0) / TP_DAY_END + kBarX0;
}

void TP_DrawScale()
{
    const GUI_FONTDEF* old = TXT_UseFontSmall();
    for (int h = 0; h <= 24; ++h) {
        const int x = kBarX0 + 9 * h;
        GUI_LineV(x, 55, h % 2 == 0 ? 64 : 60);
        if (h % 2 == 0) {
            char label[12];
            std::snprintf(label, sizeof label, "%d", h);
            GUI_TextAt(label, h >= 10 ? 5 + 9 * h : 8 + 9 * h, 69);
        }
    }
    GUI_SelectFont(old);
}

void TP_DrawBar(int highlighted)
{
    GUI_EraseArea(kBarX0, kBarTop, kBarX1, kBarBase);
    for (std::uint8_t p = 0; p < TP_PHASES; ++p) {
        if (!IsSet(p)) {
            continue;
        }
        const int x0 = TP_BarX(TP_edit.onTime[p]);
        const int x1 = TP_BarX(TP_edit.offTime[p]);
        if (p == highlighted) {
            GUI_FillArea(x0, kBarTop, x1, kBarBase);
            continue;
        }
        for (int y = kBarTop; y < kBarBase; ++y) {
            for (int x = x0 + y % 2; x <= x1; x += 2) {
                GUI_Pixel(x, y);
            }
        }
    }
    GUI_LineH(kBarBase, kBarX0, kBarX1);
}

void TP_DrawTime(const GUI_BOX* box, std::uint8_t value)
{
    if (value > TP_DAY_END) {
        GUI_TextInBox(TXT_GetText(kUnsetText), box, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u", static_cast<unsigned>(value / 6),
                  static_cast<unsigned>(value % 6 * 10));
    GUI_TextInBox(text, box, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
}

void TP_DrawPhaseRow(const GUI_BOX* row, std::uint8_t p, bool isCursor, std::uint16_t statusText)
{
    static const GUI_PICTURE* const kSymbols[TP_PHASES] = {&bmPhase1_18, &bmPhase2_18, &bmPhase3_18, &bmPhase4_18};
    if (p >= TP_PHASES) {
        return;
    }
    GUI_BOX on{}, dash{}, off{};
    FieldBoxes(row, on, dash, off);
    GUI_PutBitmap(kSymbols[p], row->x0, row->y0 + 3);
    TP_DrawTime(&on, TP_edit.onTime[p]);
    GUI_TextInBox("-", &dash, GUI_ALIGN_HCENTER | GUI_ALIGN_VCENTER);
    TP_DrawTime(&off, TP_edit.offTime[p]);
    const char* status = TXT_GetText(IsSet(p) ? statusText : kNoPhaseText);
    // The end symbol makes room for a status text too long beside it.
    constexpr int kSymbolWidth = 17;
    if (GUI_TextWidth(status) < row->x1 - off.x1 - kSymbolWidth) {
        GUI_PutBitmap(&bmPhaseEnd17, off.x1 + 1, row->y0 + 3);
    }
    ML_DrawValue(row, status);
    if (isCursor) {
        TP_DrawBar(p);
    }
}

void TP_RefreshBar()
{
    LCD_RefreshBox(&kBarArea);
}

// ---------------------------------------------------------------------------
// The screens.

namespace {

template <std::uint8_t I> void DrawDayEntry(const GUI_BOX* row)
{
    ML_DrawName(row, kDayEntries[I].text);
    if (I < 3) {
        ML_DrawChoiceMark(row, TP_GroupMark(kDayEntries[I].code));
    }
}

constexpr ML_DrawFn kDayDraw[TP_DAY_ENTRIES] = {
    DrawDayEntry<0>, DrawDayEntry<1>, DrawDayEntry<2>, DrawDayEntry<3>, DrawDayEntry<4>,
    DrawDayEntry<5>, DrawDayEntry<6>, DrawDayEntry<7>, DrawDayEntry<8>, DrawDayEntry<9>,
};

template <std::uint8_t P> void DrawPhaseEntry(const GUI_BOX* row)
{
    TP_DrawPhaseRow(row, P, ML_GetCursor() == P, tp.status);
}

constexpr ML_DrawFn kPhaseDraw[TP_PHASES] = {DrawPhaseEntry<0>, DrawPhaseEntry<1>, DrawPhaseEntry<2>,
                                             DrawPhaseEntry<3>};

SCR_Menu& PhaseMenu(const TP_Module& m)
{
    return tp.phaseMenu[m.kind < kKinds ? m.kind : 0];
}

SCR_Menu& DayMenu(const TP_Module& m)
{
    return tp.dayMenu[m.kind < kKinds ? m.kind : 0];
}

std::uint8_t Phase(const TP_Module& m)
{
    const std::uint8_t p = PhaseMenu(m).cursor;
    return p < TP_PHASES ? p : 0;
}

void PhaseTitle(const TP_Module& m)
{
    const std::uint16_t day = TP_DayShortText(tp.dayIndex);
    if (m.phaseTitleLabel()) {
        TITLE_SetTwoTexts(m.phaseTitle, day);
    } else {
        TITLE_SetText(TXT_GetText(m.phaseTitle));
        TITLE_DrawRight(TXT_GetText(day));
    }
    TITLE_DrawLine();
}

// The phase screen without its rows: title, scale, the list set up.
void DrawPhaseFrame(const TP_Module& m)
{
    tp.status = m.statusText;
    GUI_EraseScreen();
    PhaseTitle(m);
    TP_DrawScale();
    TP_DrawBar(-1);
    for (std::uint8_t p = 0; p < TP_PHASES; ++p) {
        ML_SetEntry(p, kPhaseDraw[p]);
    }
    ML_SetCount(TP_PHASES);
    ML_Init(0, 239, 81, 24, 2, 2);
}

// The phase screen at the list's saved position, the cursor row plain.
void DrawPhaseScreenPlain(const TP_Module& m)
{
    DrawPhaseFrame(m);
    ML_RestorePosition(PhaseMenu(m).firstRow, PhaseMenu(m).cursor);
    ML_SetHighlight(0);
    ML_Draw();
}

void Help(SM_Hsm* me, std::uint8_t page)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, page);
}

SM_State EditState(SM_Hsm* me, const SM_Event* e, const TP_Module& m, Field field)
{
    const std::uint8_t p = Phase(m);
    const char* name = m.names[field == Field::On ? 2 : 3];
    if (SCR_Trace(name, e)) {
        if (e->sig == SIG_ENTRY) {
            DrawPhaseScreenPlain(m);
            if (field == Field::On) {
                TP_Suggest(p, m.defOn, m.defOff);
            }
            GUI_BOX row{};
            ML_CursorRowRect(&row);
            InvertField(&row, field);
            SCR_Hint(HINT_CHANGE, false);
            SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, 15);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    GUI_BOX row{};
    ML_CursorRowRect(&row);
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT: {
        const bool up = e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT;
        if (field == Field::On) {
            up ? TP_OnUp(&row, p) : TP_OnDown(&row, p);
        } else {
            up ? TP_OffUp(&row, p) : TP_OffDown(&row, p);
        }
        SCR_Hint(field == Field::On ? HINT_CONTINUE_OK : HINT_TAKE_OVER_OK, true);
        LCD_Refresh();
        return nullptr;
    }
    case SIG_KEY_OK:
        if (field == Field::On) {
            SM_Tran(me, m.parent, m.editOff);
        } else {
            TP_Store();
            if (TP_PhaseChanged(p)) {
                SM_Tran(me, m.parent, m.feedback);
            } else {
                SM_TranParam(me, m.parent, m.phaseMenu, SCR_FROM_CHILD);
            }
        }
        return nullptr;
    case SIG_KEY_BACK:
        if (field == Field::On) {
            TP_RestoreCopy(); // the phase as it was
            SM_TranParam(me, m.parent, m.phaseMenu, SCR_FROM_CHILD);
        } else {
            SM_Tran(me, m.parent, m.editOn); // the edited times stay
        }
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHANGE, false);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me, m.editHelp);
        return nullptr;
    default:
        return m.parent;
    }
}

// The day and phase menus open at the top from their parent and come back
// in place from everywhere else.
void ShowMenu(SCR_Menu& menu, std::uint32_t par)
{
    if (SCR_MenuInit(menu, par) || par != SCR_FROM_PARENT) {
        ML_RestorePosition(menu.firstRow, menu.cursor);
    }
    ML_Draw();
    HINT_SetText(menu.hint);
    LCD_Refresh();
}

} // namespace

SM_State TP_DayMenuState(SM_Hsm* me, const SM_Event* e, const TP_Module& m)
{
    SCR_Menu& menu = DayMenu(m);
    if (SCR_Trace(m.names[0], e)) {
        switch (e->sig) {
        case SIG_ENTRY:
            GUI_EraseScreen();
            m.dayMenuTitle();
            for (std::uint8_t i = 0; i < TP_DAY_ENTRIES; ++i) {
                ML_SetEntry(i, kDayDraw[i]);
            }
            ML_SetCount(TP_DAY_ENTRIES);
            ML_Init(0, 239, 29, 24, 2, 4);
            break;
        case SIG_INIT:
            ShowMenu(menu, e->par);
            break;
        default:
            SCR_MenuExit(menu);
            break;
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_OK:
        TP_SetDayByMenuIndex(ML_GetCursor());
        SM_TranParam(me, m.parent, m.phaseMenu, SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, m.backFromDayMenu(), SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me, static_cast<std::uint8_t>(m.dayHelp + ML_GetCursor()));
        return nullptr;
    case SIG_DATA_TYPE_3:
    case SIG_DATA_TYPE_4:
    case SIG_DATA_TYPE_5:
    case SIG_DATA_TYPE_6:
    case SIG_DATA_TYPE_7:
    case SIG_DATA_TYPE_8:
    case SIG_DATA_TYPE_9: {
        ML_Draw(); // the marks follow the data
        constexpr GUI_BOX kList{0, 28, 239, 159};
        LCD_RefreshBox(&kList);
        return nullptr;
    }
    default:
        return SCR_MenuCursorKeys(menu, e) ? nullptr : SM_State(m.parent);
    }
}

SM_State TP_PhaseMenuState(SM_Hsm* me, const SM_Event* e, const TP_Module& m)
{
    SCR_Menu& menu = PhaseMenu(m);
    if (SCR_Trace(m.names[1], e)) {
        switch (e->sig) {
        case SIG_ENTRY:
            TP_Load();
            DrawPhaseFrame(m);
            break;
        case SIG_INIT:
            ShowMenu(menu, e->par);
            break;
        default:
            SCR_MenuExit(menu);
            break;
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_OK:
        TP_SaveCopy();
        SM_Tran(me, m.parent, m.editOn);
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, m.parent, m.dayMenu, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me, m.editHelp);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(menu, e) ? nullptr : SM_State(m.parent);
    }
}

SM_State TP_EditOnState(SM_Hsm* me, const SM_Event* e, const TP_Module& m)
{
    return EditState(me, e, m, Field::On);
}

SM_State TP_EditOffState(SM_Hsm* me, const SM_Event* e, const TP_Module& m)
{
    return EditState(me, e, m, Field::Off);
}

SM_State TP_FeedbackState(SM_Hsm* me, const SM_Event* e, const TP_Module& m)
{
    if (SCR_Trace(m.names[4], e)) {
        if (e->sig == SIG_ENTRY) {
            DrawPhaseScreenPlain(m);
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        // The list opens on the next phase.
        SM_TranParam(me, m.parent, m.phaseMenu, SCR_FROM_CHILD);
        SM_DispatchSignal(me, SIG_KEY_DOWN, 0);
        return nullptr;
    default:
        return m.parent;
    }
}

// ---------------------------------------------------------------------------
// Automatic program or a time program of their own.

namespace {

constexpr std::uint16_t kAutomatic = 30;
constexpr std::uint16_t kIndividual = 134;
constexpr std::uint8_t kChoiceCircuits = 24; // plant configuration byte
constexpr std::uint8_t kChoiceBit = 0x40;

SCR_Menu automaticMenu[kKinds];
const TP_Automatic* shown; // whose marks the list draws

bool Automatic(const TP_Automatic& a)
{
    return (DAT_ModeWord() & a.flag) != 0;
}

void SetAutomatic(const TP_Automatic& a, bool on)
{
    const std::uint16_t w = DAT_ModeWord();
    DAT_SetModeWord(static_cast<std::uint16_t>(on ? w | a.flag : w & ~a.flag));
    a.file(on);
}

void DrawAutomaticEntry(const GUI_BOX* row)
{
    ML_DrawName(row, kAutomatic);
    ML_DrawChoiceMark(row, shown != nullptr && Automatic(*shown));
}

void DrawIndividualEntry(const GUI_BOX* row)
{
    ML_DrawName(row, kIndividual);
    ML_DrawChoiceMark(row, shown != nullptr && !Automatic(*shown));
}

void DrawAutomaticList(const TP_Automatic& a)
{
    shown = &a;
    GUI_EraseScreen();
    a.title();
    ML_SetEntry(0, DrawAutomaticEntry);
    ML_SetEntry(1, DrawIndividualEntry);
    ML_SetCount(2);
    ML_Init(0, 239, 29, 24, 2, 2);
}

SCR_Menu& AutomaticMenu(const TP_Automatic& a)
{
    return automaticMenu[a.flag == TP_CIRCULATION_AUTOMATIC ? 2 : 1];
}

// The neighbouring circuit the plant has; false when there is none to change to.
bool ChangeCircuit(int direction)
{
    if (DAT_CircuitCount() < 2 || !TP_CircuitChoice()) {
        return false;
    }
    std::uint8_t c = DAT_CurrentCircuit();
    for (std::uint8_t tries = 2; tries > 0; --tries) {
        c = static_cast<std::uint8_t>(direction < 0 ? (c == 1 ? 2 : c - 1) : (c == 2 ? 1 : c + 1));
        if (DAT_CircuitPresent(c)) {
            DAT_SelectCircuit(c);
            return true;
        }
    }
    return false;
}

} // namespace

bool TP_CircuitChoice()
{
    return (DAT_image.plant[kChoiceCircuits] & kChoiceBit) != 0;
}

void TP_OpenForHotWater(std::uint32_t par)
{
    if (par == SCR_FROM_PARENT) {
        DAT_SelectCircuit(DAT_FirstCircuit());
    }
}

SM_State TP_AutomaticMenuState(SM_Hsm* me, const SM_Event* e, const TP_Automatic& a)
{
    SCR_Menu& menu = AutomaticMenu(a);
    if (SCR_Trace(a.names[0], e)) {
        if (e->sig == SIG_INIT) {
            DrawAutomaticList(a);
            SCR_MenuInit(menu, e->par);
            if (e->par == SCR_FROM_PARENT) {
                ML_SetCursor(Automatic(a) ? 0 : 1);
            } else {
                ML_RestorePosition(menu.firstRow, menu.cursor);
            }
            ML_Draw();
            HINT_SetText(menu.hint);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_MenuExit(menu);
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_OK:
        if (ML_GetCursor() == 0) {
            if (Automatic(a)) {
                SM_TranParam(me, BMM_Menuemonitor, BWWM_WWMenue, SCR_FROM_CHILD);
            } else {
                SetAutomatic(a, true);
                SM_Tran(me, a.parent, a.feedback);
            }
        } else {
            if (Automatic(a)) {
                SetAutomatic(a, false);
            }
            SM_TranParam(me, a.parent, a.dayMenu, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_KEY_LEFT:
    case SIG_KEY_RIGHT:
        if (ChangeCircuit(e->sig == SIG_KEY_LEFT ? -1 : +1)) {
            SM_TranParam(me, BKE_Kontrasteinstellung, BFA_Feedbackanzeige, SCR_FROM_PARENT);
        }
        return nullptr;
    case SIG_KEY_BACK:
        SM_TranParam(me, BMM_Menuemonitor, BWWM_WWMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_DATA_TYPE_1:
        ML_Draw(); // the marks follow the data
        LCD_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me, static_cast<std::uint8_t>(a.help + ML_GetCursor()));
        return nullptr;
    default:
        return SCR_MenuCursorKeys(menu, e) ? nullptr : SM_State(a.parent);
    }
}

SM_State TP_AutomaticFeedbackState(SM_Hsm* me, const SM_Event* e, const TP_Automatic& a)
{
    if (SCR_Trace(a.names[1], e)) {
        if (e->sig == SIG_ENTRY) {
            DrawAutomaticList(a);
            ML_RestorePosition(AutomaticMenu(a).firstRow, AutomaticMenu(a).cursor);
            ML_SetHighlight(0);
            ML_Draw();
            SCR_Hint(HINT_TAKEN_OVER, true);
            LCD_Refresh();
        } else if (e->sig == SIG_EXIT) {
            SCR_ExitCommon();
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_TMR_HINT_TIMEOUT:
        SM_TranParam(me, BMM_Menuemonitor, BWWM_WWMenue, SCR_FROM_CHILD);
        return nullptr;
    default:
        return a.parent;
    }
}

void TP_PowerOn()
{
    TP_edit = TimeProgramEdit{};
    tp = Core{};
    for (SCR_Menu& m : automaticMenu) {
        m = SCR_Menu{};
    }
    shown = nullptr;
}
