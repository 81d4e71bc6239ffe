// Help display: headline and body of a help page; for a fault also its code,
// time and the control unit's advice. Bodies longer than the screen scroll.
#include "screens/base/BHA.h"

#include <cstdio>

#include "core/DTM.h"
#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "screens/base/BGA.h"
#include "screens/base/BMM.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "screens/common/VD.h"

namespace {

struct Page {
    std::uint16_t headline;
    std::uint16_t body;
};

constexpr std::uint32_t kFirstPage = 16;
constexpr std::uint32_t kLastPage = 140;
constexpr std::uint32_t kFaultPages = 119;   // current faults 0..9
constexpr std::uint32_t kHistoryPages = 130; // fault history 0..9

constexpr Page kPages[kLastPage - kFirstPage + 1] = {
    {129, 390}, {129, 313}, {259, 369}, {291, 365}, {126, 317}, // 16
    {285, 325}, {237, 323}, {135, 318}, {201, 326}, {132, 390}, // 21
    {259, 367}, {259, 370}, {143, 388}, {195, 389}, {201, 326}, // 26
    {273, 351}, {291, 361}, {210, 322}, {40, 315},  {197, 320}, // 31
    {249, 324}, {114, 316}, {193, 319}, {10, 314},  {210, 321}, // 36
    {214, 327}, {40, 315},  {197, 320}, {249, 324}, {305, 328}, // 41
    {95, 334},  {115, 337}, {179, 329}, {178, 330}, {225, 331}, // 46
    {177, 332}, {68, 332},  {173, 332}, {72, 332},  {101, 332}, // 51
    {224, 332}, {248, 332}, {126, 333}, {8, 335},   {220, 336}, // 56
    {183, 338}, {190, 339}, {289, 340}, {306, 342}, {307, 345}, // 61
    {30, 343},  {134, 344}, {179, 329}, {178, 330}, {225, 331}, // 66
    {177, 332}, {68, 332},  {173, 332}, {72, 332},  {101, 332}, // 71
    {224, 332}, {248, 332}, {285, 333}, {30, 346},  {134, 347}, // 76
    {179, 329}, {178, 330}, {225, 331}, {177, 332}, {68, 332},  // 81
    {173, 332}, {72, 332},  {101, 332}, {224, 332}, {248, 332}, // 86
    {308, 333}, {259, 366}, {291, 360}, {126, 317}, {285, 325}, // 91
    {135, 348}, {79, 350},  {227, 390}, {15, 348},  {116, 348}, // 96
    {117, 348}, {285, 348}, {235, 348}, {64, 349},  {273, 351}, // 101
    {255, 352}, {154, 353}, {128, 354}, {268, 357}, {119, 358}, // 106
    {111, 359}, {32, 355},  {70, 356},  {119, 358}, {291, 362}, // 111
    {291, 362}, {205, 363}, {218, 364}, {259, 391}, {259, 391}, // 116
    {259, 391}, {259, 391}, {259, 391}, {259, 391}, {259, 391}, // 121
    {259, 391}, {259, 391}, {259, 391}, {205, 368}, {259, 391}, // 126
    {259, 391}, {259, 391}, {259, 391}, {259, 391}, {259, 391}, // 131
    {259, 391}, {259, 391}, {259, 391}, {259, 391}, {160, 391}, // 136
};

// Body text by the control unit's advice number (below 18).
constexpr std::uint16_t kAdvice[] = {391, 371, 372, 373, 374, 375, 376, 377, 378,
                                     379, 380, 381, 382, 383, 384, 385, 386, 387};

// Indexed by the BHA_RETURN_* numbers.
constexpr SM_Handler kReturnStates[] = {nullptr, BGA_Grundanzeige};

constexpr GUI_BOX kHeadline{1, 0, 238, 26};
constexpr GUI_BOX kFaultHeader{1, 30, 238, 50};
constexpr std::int16_t kLineTop = 30;
constexpr std::int16_t kLineStep = 20;
constexpr std::int16_t kBodyBottom = 131;
constexpr std::uint16_t kTextNoTime = 2;
constexpr std::uint16_t kTextCode = 58;
constexpr std::uint16_t kTextOClock = 271;

struct Module {
    SM_Handler returnState;
    bool faultHeader;
    std::uint8_t totalLines;
    std::uint8_t offset;
    std::uint16_t body;
};

Module bha;

std::uint8_t VisibleLines()
{
    return bha.faultHeader ? 4 : 5;
}

bool BodyFits()
{
    return bha.totalLines <= VisibleLines();
}

std::int16_t FirstLineTop()
{
    return static_cast<std::int16_t>(kLineTop + (bha.faultHeader ? kLineStep : 0));
}

// The area the scrolled lines occupy (the fault header stays untouched).
GUI_BOX LinesBox()
{
    return GUI_BOX{1, FirstLineTop(), 238, kBodyBottom};
}

std::uint8_t CountLines(const char* text)
{
    std::uint8_t n = 1;
    for (const char* p = text; *p != '\0'; ++p) {
        n = static_cast<std::uint8_t>(n + (*p == '\n' ? 1 : 0));
    }
    return n;
}

void DrawPageOfLines()
{
    const GUI_BOX area = LinesBox();
    GUI_EraseBox(&area);
    const char* p = TXT_GetText(bha.body);
    for (std::uint8_t skip = bha.offset; skip > 0 && *p != '\0'; ++p) {
        skip = static_cast<std::uint8_t>(skip - (*p == '\n' ? 1 : 0));
    }
    for (std::uint8_t i = 0; i < VisibleLines() && *p != '\0'; ++i) {
        int chars = 0;
        const char* end = p;
        for (; *end != '\0' && *end != '\n'; ++end) {
            chars += (static_cast<unsigned char>(*end) & 0xC0) != 0x80 ? 1 : 0; // UTF-8 lead bytes
        }
        const auto y0 = static_cast<std::int16_t>(area.y0 + i * kLineStep);
        const GUI_BOX line{1, y0, 238, static_cast<std::int16_t>(y0 + kLineStep)};
        GUI_TextInBoxN(p, &line, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER, chars);
        p = *end == '\n' ? end + 1 : end;
    }
}

void DrawFaultHeader(const std::uint8_t* fault, std::uint32_t time)
{
    char oClock[16];
    TXT_CopyText(kTextOClock, oClock, sizeof oClock);
    char right[48];
    if (time != 0) {
        const DTM_Clock c = DTM_SecondsToRecord(time);
        char date[16];
        std::snprintf(date, sizeof date, "%02u.%02u.%04u", c.day, c.month, c.year);
        GUI_TextInBox(date, &kFaultHeader, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
        std::snprintf(right, sizeof right, "%02u:%02u:%02u %s", c.hour, c.minute, c.second, oClock);
    } else {
        std::snprintf(right, sizeof right, "%s %s", TXT_GetText(kTextNoTime), oClock);
    }
    GUI_TextInBox(right, &kFaultHeader, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
    char code[24];
    std::snprintf(code, sizeof code, "%s %02X", TXT_GetText(kTextCode), fault[0]);
    GUI_TextInBox(code, &kHeadline, GUI_ALIGN_RIGHT | GUI_ALIGN_VCENTER);
}

void DrawHelp(std::uint32_t p)
{
    GUI_EraseScreen();
    if (p < kFirstPage || p > kLastPage) {
        p = kFirstPage;
    }
    const Page page = kPages[p - kFirstPage];
    bha.body = page.body;
    const bool history = p >= kHistoryPages && p < kHistoryPages + DAT_FAULT_ENTRIES;
    bha.faultHeader = history || (p >= kFaultPages && p < kFaultPages + DAT_FAULT_ENTRIES);
    if (bha.faultHeader) {
        DAT_SelectFault(history, static_cast<std::uint8_t>(p - (history ? kHistoryPages : kFaultPages)));
        const std::uint16_t advice = DAT_FaultAdvice(history);
        if (advice < sizeof kAdvice / sizeof kAdvice[0]) {
            bha.body = kAdvice[advice];
        }
        DrawFaultHeader(DAT_Fault(history), DAT_FaultTime(history));
    }
    GUI_TextInBox(TXT_GetText(page.headline), &kHeadline, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER);
    TITLE_DrawLine();

    const char* body = TXT_GetText(bha.body);
    bha.totalLines = CountLines(body);
    bha.offset = 0;
    if (BodyFits()) {
        const GUI_BOX box{1, static_cast<std::int16_t>(bha.faultHeader ? 48 : 28), 238, kBodyBottom};
        GUI_TextInBoxWrapped(body, &box, GUI_ALIGN_LEFT | GUI_ALIGN_VCENTER, GUI_WRAP_WORD);
        HINT_SetText(HINT_END_OK);
    } else {
        DrawPageOfLines();
        SCR_Hint(HINT_CONTINUE, true);
    }
    LCD_Refresh();
}

void Scroll(int delta)
{
    if (BodyFits()) {
        return;
    }
    if (delta < 0 && bha.offset > 0) {
        --bha.offset;
    } else if (delta > 0 && bha.offset + VisibleLines() < bha.totalLines) {
        ++bha.offset;
    }
    DrawPageOfLines();
    const GUI_BOX area = LinesBox();
    LCD_RefreshBox(&area);
    SCR_Hint(HINT_END_OK, true);
    HINT_Refresh();
}

} // namespace

SM_State BHA_Hilfeanzeige(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHA_Hilfeanzeige", e);
    switch (e->sig) {
    case SIG_ENTRY:
        bha.returnState = BMM_ReturnState();
        return nullptr;
    case SIG_INIT:
        DrawHelp(e->par);
        return nullptr;
    case SIG_EXIT:
        SCR_ExitCommon();
        return nullptr;
    case SIG_SET_RETURN_STATE:
        if (e->par != 0 && e->par < sizeof kReturnStates / sizeof kReturnStates[0]) {
            bha.returnState = kReturnStates[e->par];
        }
        return nullptr;
    case SIG_KEY_BACK:
    case SIG_KEY_OK:
    case SIG_HELP:
        SM_TranParam(me, BMM_Menuemonitor, bha.returnState != nullptr ? bha.returnState : BGA_Grundanzeige,
                     SCR_FROM_CHILD);
        return nullptr;
    case SIG_KEY_UP:
        Scroll(-1);
        return nullptr;
    case SIG_KEY_DOWN:
        Scroll(+1);
        return nullptr;
    case SIG_TMR_HINT_TIMEOUT:
        HINT_SetText(HINT_CONTINUE);
        HINT_Refresh();
        return nullptr;
    case SIG_KEY_MENU:
    case SIG_KEY_MENU_OK:
    case SIG_KEY_OK_BACK:
    case SIG_PARTICIPANT_WINK:
        return nullptr;
    default:
        return BMM_Menuemonitor;
    }
}

void BHA_PowerOn()
{
    bha = Module{};
}
