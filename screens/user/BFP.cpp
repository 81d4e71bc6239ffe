// Holiday program: departure and return day, at most a year apart, never in
// the past; changing or ending a stored program.
#include "screens/user/BFP.h"

#include "comm/DIS_UserOps.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BHA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/FMT_Date.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"
#include "screens/user/BHKM.h"
#include "screens/user/TP.h"

namespace {

constexpr std::uint32_t kDaySeconds = 86400;
constexpr int kLongestStay = 365;
constexpr std::uint16_t kTitle = 95;
constexpr std::uint16_t kDepartureLabel = 8; // "Abreisetag"
constexpr std::uint16_t kReturnLabel = 220;  // "Rückreisetag"
constexpr std::uint16_t kDepartureRow = 9;   // "Abreisetag:"
constexpr std::uint16_t kReturnRow = 221;    // "Rückreisetag:"
constexpr std::uint16_t kDate = 65;          // "Datum"
constexpr std::uint16_t kDelete = 200;
constexpr std::uint16_t kChange = 199;
constexpr std::uint16_t kDeleteQuestion = 161;
constexpr std::uint16_t kShortWeekday[7] = {174, 66, 167, 71, 99, 222, 234};
constexpr std::uint16_t kLongWeekday[7] = {177, 68, 173, 72, 101, 224, 248};
constexpr GUI_BOX kLine1{1, 29, 238, 52};
constexpr GUI_BOX kLine2{1, 55, 238, 78};
constexpr GUI_BOX kLine3{1, 81, 238, 104};
constexpr GUI_BOX kLine4{1, 107, 238, 130};

struct Module {
    BFP_Dates dates;
    bool active;
    std::uint8_t answer;
    int dateWidth;
    SCR_Menu programMenu;
    SCR_Menu datesMenu;
};

Module bfp{};

bool IsLeap(std::uint32_t year)
{
    return year % 4 == 0;
}

bool NotSet(const DTM_Clock& c)
{
    return c.year == 1970 && c.month == 1 && c.day == 1;
}

std::uint16_t Clamp(long day, long low, long high)
{
    return static_cast<std::uint16_t>(day < low ? low : (day > high ? high : day));
}

void Title()
{
    TITLE_Draw(kTitle);
}

// A label row and a date row below it: `left` left, the date right.
void DrawDate(const GUI_BOX* labelBox, std::uint16_t label, const GUI_BOX* dateBox, std::uint16_t left,
              std::uint16_t day, std::uint8_t format)
{
    GUI_TextInBox(TXT_GetText(label), labelBox, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    const DTM_Clock c = BFP_DateOfDay(day);
    GUI_TextInBox(TXT_GetText(left == 0 ? kLongWeekday[c.weekday - 1] : left), dateBox,
                  GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    char text[32];
    FMT_DateTime(c, format, text, sizeof text);
    GUI_TextInBox(text, dateBox, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
}

void DrawDatesRow(const GUI_BOX* row, std::uint16_t label, std::uint16_t day)
{
    const GUI_BOX top{row->x0, row->y0, row->x1, static_cast<std::int16_t>(row->y0 + 23)};
    const GUI_BOX bottom{row->x0, static_cast<std::int16_t>(row->y0 + 26), row->x1, row->y1};
    DrawDate(&top, label, &bottom, 0, day, 3);
}

void DrawDepartureRow(const GUI_BOX* row)
{
    DrawDatesRow(row, kDepartureRow, bfp.dates.departure);
}

void DrawReturnRow(const GUI_BOX* row)
{
    DrawDatesRow(row, kReturnRow, bfp.dates.ret);
}

void DrawDeleteEntry(const GUI_BOX* row)
{
    ML_DrawName(row, kDelete);
}

void DrawChangeEntry(const GUI_BOX* row)
{
    ML_DrawName(row, kChange);
}

void SetUpDatesList()
{
    ML_SetEntry(0, DrawDepartureRow);
    ML_SetEntry(1, DrawReturnRow);
    ML_SetCount(2);
    ML_Init(0, 239, 29, 50, 2, 2);
}

void DrawProgramDates()
{
    GUI_EraseArea(0, 29, 239, 78);
    GUI_TextInBox(TXT_GetText(kDepartureLabel), &kLine1, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    GUI_TextInBox(TXT_GetText(kReturnLabel), &kLine2, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    char text[32];
    FMT_DateTime(BFP_DateOfDay(bfp.dates.departure), 3, text, sizeof text);
    GUI_TextInBox(text, &kLine1, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
    FMT_DateTime(BFP_DateOfDay(bfp.dates.ret), 3, text, sizeof text);
    GUI_TextInBox(text, &kLine2, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
}

int DateWidth()
{
    int widest = 0;
    for (std::uint16_t id : kShortWeekday) {
        const int w = GUI_TextWidth(TXT_GetText(id));
        widest = w > widest ? w : widest;
    }
    return widest + 8 * GUI_TextWidth("0") + 2 * GUI_TextWidth(".") + GUI_TextWidth(" ") + 1;
}

void Help(SM_Hsm* me, std::uint8_t page)
{
    SM_TranParam(me, BKE_Kontrasteinstellung, BHA_Hilfeanzeige, page);
}

void BackToHeatingMenu(SM_Hsm* me)
{
    SM_TranParam(me, BMM_Menuemonitor, BHKM_HKMenue, SCR_FROM_CHILD);
}

void DrawEditor(bool departure)
{
    GUI_EraseArea(0, 29, 239, 130);
    DrawDate(&kLine1, kDepartureRow, &kLine2, kDate, bfp.dates.departure, 0);
    DrawDate(&kLine3, kReturnRow, &kLine4, kDate, bfp.dates.ret, 0);
    const GUI_BOX& edited = departure ? kLine2 : kLine4;
    GUI_InvertArea(239 - bfp.dateWidth, edited.y0, 239, edited.y1);
}

SM_State EditState(SM_Hsm* me, const SM_Event* e, bool departure)
{
    const char* name = departure ? "BFP_EditVon" : "BFP_EditBis";
    if (SCR_Trace(name, e)) {
        switch (e->sig) {
        case SIG_ENTRY:
            GUI_EraseScreen();
            Title();
            SM_Post(KEY_Task, SIG_KEY_REPEAT_RATE, 15);
            if (!departure) {
                DrawEditor(departure);
                SCR_Hint(HINT_CHANGE, false);
                LCD_Refresh();
            }
            break;
        case SIG_INIT:
            if (departure) {
                if (e->par == SCR_FROM_PARENT) {
                    BFP_ReadDates();
                }
                DrawEditor(departure);
                SCR_Hint(HINT_CHANGE, false);
                LCD_Refresh();
            }
            break;
        default:
            SCR_ExitCommon();
            break;
        }
        return nullptr;
    }
    switch (e->sig) {
    case SIG_KEY_UP:
    case SIG_KEY_RIGHT:
    case SIG_KEY_DOWN:
    case SIG_KEY_LEFT: {
        const int step = e->sig == SIG_KEY_UP || e->sig == SIG_KEY_RIGHT ? +1 : -1;
        departure ? BFP_StepDeparture(step) : BFP_StepReturn(step);
        DrawEditor(departure);
        SCR_Hint(HINT_TAKE_OVER_OK, true);
        constexpr GUI_BOX kChanged{0, 29, 239, 159};
        LCD_RefreshBox(&kChanged);
        return nullptr;
    }
    case SIG_KEY_UP_RELEASE:
    case SIG_KEY_RIGHT_RELEASE:
    case SIG_KEY_DOWN_RELEASE:
    case SIG_KEY_LEFT_RELEASE:
        SM_Post(KEY_Task, SIG_KEY_FLUSH, 0); // repeats still queued move the date no further
        return nullptr;
    case SIG_KEY_OK: {
        const bool changed = BFP_DatesChanged();
        BFP_StoreDates(); // stored again even when unchanged
        if (changed) {
            SM_Tran(me, BFP_FerienProgramm, BFP_FerienFeedback);
        } else if (departure) {
            SM_TranParam(me, BFP_FerienProgramm, BFP_AbreiseRueckreiseMenue, SCR_FROM_CHILD);
        } else {
            BackToHeatingMenu(me);
        }
        return nullptr;
    }
    case SIG_KEY_BACK:
        BFP_ReadDates(); // the list shows what is stored, not the dropped edit
        SM_TranParam(me, BFP_FerienProgramm, BFP_AbreiseRueckreiseMenue, SCR_FROM_CHILD);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_Hint(HINT_CHANGE, false);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me, departure ? 59 : 60);
        return nullptr;
    default:
        return BFP_FerienProgramm;
    }
}

void EndProgram()
{
    DIS_UO_HolidayEnded();
}

SM_Handler HeatingMenu()
{
    return BHKM_HKMenue;
}

const SCR_Question kDeleteQ{"BFP_FerienLoeschen", Title,
                            kDeleteQuestion,      &bfp.answer,
                            HINT_TAKE_OVER_OK,    EndProgram,
                            BFP_JaNeinFeedback,   BFP_FerienProgrammMenue,
                            BFP_FerienProgramm,   BFP_FerienProgramm};

const SCR_QuestionFeedback kDeleteFeedback{"BFP_JaNeinFeedback", Title,          kDeleteQuestion,  &bfp.answer,
                                           HeatingMenu,          SCR_FROM_CHILD, BMM_Menuemonitor, BFP_FerienProgramm};

} // namespace

std::uint16_t BFP_DayNumber(const DTM_Clock& date)
{
    static constexpr std::uint8_t kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (date.year < 1970) {
        return 0;
    }
    const std::uint8_t month = date.month < 1 ? 1 : (date.month > 12 ? 12 : date.month);
    long n = (date.day < 1 ? 0 : date.day - 1);
    for (std::uint8_t m = 1; m < month; ++m) {
        n += kMonthDays[m - 1];
    }
    if (month > 2 && IsLeap(date.year)) {
        ++n;
    }
    for (std::uint32_t y = 1970; y < date.year && n <= BFP_LAST_DAY; ++y) {
        n += IsLeap(y) ? 366 : 365;
    }
    return Clamp(n, 0, BFP_LAST_DAY);
}

DTM_Clock BFP_DateOfDay(std::uint16_t day)
{
    const std::uint16_t d = day > BFP_LAST_DAY ? BFP_LAST_DAY : day;
    DTM_Clock c = DTM_SecondsToRecord(d * kDaySeconds);
    c.weekday = static_cast<std::uint8_t>((d + 3) % 7 + 1);
    return c;
}

void BFP_ReadDates()
{
    // Today is never day 0: a departure on it could not be told from "not set".
    const long today = BFP_DayNumber(DTM_GetClock());
    BFP_Dates& w = bfp.dates;
    w.today = Clamp(today, 1, BFP_LAST_DAY - 1);
    const DTM_Clock departure = DAT_HolidayDeparture();
    if (NotSet(departure)) {
        w.departure = w.today;
        w.ret = static_cast<std::uint16_t>(w.today + 1);
        return;
    }
    w.departure = Clamp(BFP_DayNumber(departure), 1, BFP_LAST_DAY - 1);
    const DTM_Clock ret = DAT_HolidayReturn();
    w.ret = NotSet(ret) ? static_cast<std::uint16_t>(w.departure + 1) : BFP_DayNumber(ret);
    if (w.ret <= w.departure) {
        w.ret = static_cast<std::uint16_t>(w.departure + 1);
    }
}

const BFP_Dates& BFP_WorkingDates()
{
    return bfp.dates;
}

void BFP_SetWorkingDates(const BFP_Dates& dates)
{
    bfp.dates = dates;
}

void BFP_StepDeparture(int days)
{
    BFP_Dates& w = bfp.dates;
    if (days > 0) {
        // A stored departure that has passed moves to today, not to another past day.
        const long d = w.departure + 1L < w.today ? w.today : w.departure + 1L;
        if (d >= BFP_LAST_DAY) {
            w.departure = BFP_LAST_DAY - 1;
            w.ret = BFP_LAST_DAY;
            return;
        }
        w.departure = static_cast<std::uint16_t>(d);
        if (d >= w.ret) {
            w.ret = static_cast<std::uint16_t>(d + 1);
        }
        return;
    }
    const long d = w.departure - 1L; // signed: day 0 has no day before it
    if (d < w.today) {
        return;
    }
    w.departure = static_cast<std::uint16_t>(d);
    if (w.ret - d > kLongestStay) {
        --w.ret;
    }
}

void BFP_StepReturn(int days)
{
    BFP_Dates& w = bfp.dates;
    if (days > 0) {
        const long r = w.ret + 1L;
        if (r - w.departure < kLongestStay + 1 && r <= BFP_LAST_DAY) {
            w.ret = static_cast<std::uint16_t>(r);
        }
        return;
    }
    const long r = w.ret - 1L;
    if (r > w.departure) {
        w.ret = static_cast<std::uint16_t>(r);
    } else if (w.departure > w.today && r >= 1) {
        w.ret = static_cast<std::uint16_t>(r);
        w.departure = static_cast<std::uint16_t>(r - 1);
    }
}

bool BFP_ProgramSet()
{
    return !NotSet(DAT_HolidayDeparture());
}

bool BFP_DatesChanged()
{
    const DTM_Clock departure = DAT_HolidayDeparture();
    const DTM_Clock ret = DAT_HolidayReturn();
    return NotSet(departure) || NotSet(ret) || BFP_DayNumber(departure) != bfp.dates.departure ||
           BFP_DayNumber(ret) != bfp.dates.ret;
}

void BFP_StoreDates()
{
    // The departure day counts to its end, the return day from its start.
    DIS_UO_HolidayDeparture(bfp.dates.departure * kDaySeconds + kDaySeconds - 1);
    DIS_UO_HolidayReturn(bfp.dates.ret * kDaySeconds);
}

SM_State BFP_FerienProgramm(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BFP_FerienProgramm", e)) {
        if (e->sig == SIG_INIT) {
            bfp.dateWidth = DateWidth();
            bfp.active = BFP_ProgramSet();
            if (bfp.active) {
                SM_InitParam(me, BFP_FerienProgrammMenue, e->par);
            } else {
                SM_InitParam(me, BFP_AbreiseRueckreiseMenue, SCR_FROM_PARENT);
            }
        }
        return nullptr;
    }
    return BMM_Menuemonitor;
}

SM_State BFP_FerienProgrammMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Menu& menu = bfp.programMenu;
    if (SCR_Trace("BFP_FerienProgrammMenue", e)) {
        if (e->sig == SIG_INIT) {
            const bool restore = SCR_MenuInit(menu, e->par);
            ML_SetEntry(0, DrawDeleteEntry);
            ML_SetEntry(1, DrawChangeEntry);
            ML_SetCount(2);
            ML_Init(0, 239, 81, 24, 2, 2);
            if (e->par == SCR_FROM_PARENT) {
                BFP_ReadDates();
            } else if (restore || e->par != SCR_PLAIN) {
                ML_RestorePosition(menu.firstRow, menu.cursor);
            }
            GUI_EraseScreen();
            Title();
            DrawProgramDates();
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
        SM_TranParam(me, BFP_FerienProgramm, ML_GetCursor() == 0 ? BFP_FerienLoeschen : BFP_AbreiseRueckreiseMenue,
                     SCR_FROM_PARENT);
        return nullptr;
    case SIG_KEY_BACK:
        BackToHeatingMenu(me);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me, 46);
        return nullptr;
    case SIG_DATA_TYPE_1: {
        // Dates the control unit changed are taken when they make a program.
        const DTM_Clock departure = DAT_HolidayDeparture();
        const DTM_Clock ret = DAT_HolidayReturn();
        if (!NotSet(departure) && !NotSet(ret) && BFP_DayNumber(ret) > BFP_DayNumber(departure) && BFP_DatesChanged()) {
            bfp.dates.departure = BFP_DayNumber(departure);
            bfp.dates.ret = BFP_DayNumber(ret);
            DrawProgramDates();
            LCD_Refresh();
        }
        return nullptr;
    }
    default:
        return SCR_MenuCursorKeys(menu, e) ? nullptr : SM_State(BFP_FerienProgramm);
    }
}

SM_State BFP_AbreiseRueckreiseMenue(SM_Hsm* me, const SM_Event* e)
{
    SCR_Menu& menu = bfp.datesMenu;
    if (SCR_Trace("BFP_AbreiseRueckreiseMenue", e)) {
        if (e->sig == SIG_INIT) {
            const bool restore = SCR_MenuInit(menu, e->par);
            SetUpDatesList();
            if (e->par == SCR_FROM_PARENT) {
                BFP_ReadDates();
            } else if (restore || e->par != SCR_PLAIN) {
                ML_RestorePosition(menu.firstRow, menu.cursor);
            }
            GUI_EraseScreen();
            Title();
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
        SM_Tran(me, BFP_FerienProgramm, ML_GetCursor() == 0 ? BFP_EditVon : BFP_EditBis);
        return nullptr;
    case SIG_KEY_BACK:
        if (bfp.active) {
            SM_TranParam(me, BFP_FerienProgramm, BFP_FerienProgrammMenue, SCR_FROM_CHILD);
        } else {
            BackToHeatingMenu(me);
        }
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        SCR_MenuHint(menu, HINT_CHOOSE);
        HINT_Refresh();
        return nullptr;
    case SIG_HELP:
        Help(me, ML_GetCursor() == 0 ? 59 : 60);
        return nullptr;
    default:
        return SCR_MenuCursorKeys(menu, e) ? nullptr : SM_State(BFP_FerienProgramm);
    }
}

SM_State BFP_EditVon(SM_Hsm* me, const SM_Event* e)
{
    return EditState(me, e, true);
}

SM_State BFP_EditBis(SM_Hsm* me, const SM_Event* e)
{
    return EditState(me, e, false);
}

SM_State BFP_FerienFeedback(SM_Hsm* me, const SM_Event* e)
{
    if (SCR_Trace("BFP_FerienFeedback", e)) {
        if (e->sig == SIG_ENTRY) {
            SetUpDatesList();
            ML_RestorePosition(bfp.datesMenu.firstRow, bfp.datesMenu.cursor);
            ML_SetHighlight(0);
            GUI_EraseScreen();
            Title();
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
        if (bfp.datesMenu.cursor != 1) {
            // From the departure on to the return.
            bfp.datesMenu.cursor = 1;
            bfp.datesMenu.firstRow = 0;
            SM_TranParam(me, BFP_FerienProgramm, BFP_AbreiseRueckreiseMenue, SCR_FROM_CHILD);
        } else {
            BackToHeatingMenu(me);
        }
        return nullptr;
    default:
        return BFP_FerienProgramm;
    }
}

SM_State BFP_FerienLoeschen(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionState(me, e, kDeleteQ);
}

SM_State BFP_JaNeinFeedback(SM_Hsm* me, const SM_Event* e)
{
    return SCR_QuestionFeedbackState(me, e, kDeleteFeedback);
}

void BFP_PowerOn()
{
    bfp = Module{};
}
