// Time programs: the core the heating, hot-water and circulation programs
// share (phase arithmetic, day groups, the time bar, the store) and their
// common screens. A module names its states and differences in a TP_Module
// and each of its states is one call.
#pragma once

#include <cstdint>

#include "core/SM.h"
#include "gui/GUI.h"

inline constexpr std::uint8_t TP_PHASES = 4;
inline constexpr std::uint8_t TP_UNSET = 255;
inline constexpr std::uint8_t TP_LAST_ON = 143; // 23:50
inline constexpr std::uint8_t TP_DAY_END = 144; // 24:00
inline constexpr std::uint8_t TP_DAY_ENTRIES = 10;
// Bits of the operating-mode word: hot water, circulation by the automatic program.
inline constexpr std::uint16_t TP_HOT_WATER_AUTOMATIC = 0x0040;
inline constexpr std::uint16_t TP_CIRCULATION_AUTOMATIC = 0x0080;

// Times in ten-minute steps since midnight; both TP_UNSET when a phase is unset.
struct TimeProgramEdit {
    std::uint8_t onTime[TP_PHASES];
    std::uint8_t offTime[TP_PHASES];
    std::uint8_t savedOn[TP_PHASES];
    std::uint8_t savedOff[TP_PHASES];
    std::uint8_t suggestOn;
    std::uint8_t suggestOff;
};

extern TimeProgramEdit TP_edit;

// Program kind 0 heating, 1 hot water, 2 circulation.
void TP_SetKind(std::uint8_t kind);
std::uint8_t TP_Kind();
// Menu index of the day-group menu -> day code (0 Mon-Sun, 8 Mon-Fri, 9 Sat-Sun, 1..7 a day).
void TP_SetDayByMenuIndex(std::uint8_t index);
std::uint8_t TP_DayCode();
std::uint8_t TP_DayCodeOfMenuIndex(std::uint8_t index);
std::uint16_t TP_DayText(std::uint8_t menuIndex);
std::uint16_t TP_DayShortText(std::uint8_t menuIndex);

// The selected day's phases from the image (current circuit, kind, day code).
void TP_Load();
// Files the eight records, then writes the phases to every day of the day code.
void TP_Store();
void TP_SaveCopy();
void TP_RestoreCopy();
bool TP_PhaseChanged(std::uint8_t p);

void TP_Suggest(std::uint8_t p, std::uint8_t defOn, std::uint8_t defOff);
// One edit step of phase p; true when something changed. With a row box the
// row, its edited field (inverted) and the bar are drawn again.
bool TP_OnUp(const GUI_BOX* row, std::uint8_t p);
bool TP_OnDown(const GUI_BOX* row, std::uint8_t p);
bool TP_OffUp(const GUI_BOX* row, std::uint8_t p);
bool TP_OffDown(const GUI_BOX* row, std::uint8_t p);

// A group entry's mark: its days are alike (Mon-Fri and Sat-Sun only while
// the whole week is not). False for a single day.
bool TP_GroupMark(std::uint8_t dayCode);

// Drawing.
void TP_DrawScale();
void TP_DrawBar(int highlighted); // -1: no phase highlighted
void TP_DrawPhaseRow(const GUI_BOX* row, std::uint8_t p, bool isCursor, std::uint16_t statusText);
void TP_DrawTime(const GUI_BOX* box, std::uint8_t value);
void TP_RefreshBar();
// x of a time on the bar.
int TP_BarX(std::uint8_t t);

// A time program module: its states, where it differs.
struct TP_Module {
    const char* names[5]; // of the five states below, for their trace lines
    std::uint8_t kind;
    SM_Handler parent;
    SM_Handler dayMenu;
    SM_Handler phaseMenu;
    SM_Handler editOn;
    SM_Handler editOff;
    SM_Handler feedback;
    SM_Handler (*backFromDayMenu)();
    void (*dayMenuTitle)();
    std::uint16_t phaseTitle;  // text left in the phase screen's title
    bool (*phaseTitleLabel)(); // the circuit label in the phase screen's title
    std::uint16_t statusText;
    std::uint8_t defOn;
    std::uint8_t defOff;
    std::uint8_t dayHelp; // help page of "Montag-Sonntag"; the others follow
    std::uint8_t editHelp;
};

SM_State TP_DayMenuState(SM_Hsm* me, const SM_Event* e, const TP_Module& m);
SM_State TP_PhaseMenuState(SM_Hsm* me, const SM_Event* e, const TP_Module& m);
SM_State TP_EditOnState(SM_Hsm* me, const SM_Event* e, const TP_Module& m);
SM_State TP_EditOffState(SM_Hsm* me, const SM_Event* e, const TP_Module& m);
SM_State TP_FeedbackState(SM_Hsm* me, const SM_Event* e, const TP_Module& m);

// The choice of hot water and circulation between the automatic program
// and a time program of their own.
struct TP_Automatic {
    const char* names[2]; // of the menu and its feedback
    SM_Handler parent;
    SM_Handler menu;
    SM_Handler feedback;
    SM_Handler dayMenu;
    std::uint16_t flag;           // bit of the operating-mode word: set while automatic
    void (*file)(bool automatic); // the record of the choice
    void (*title)();
    std::uint8_t help; // page of "Automatik"; "Individuell" follows
};

SM_State TP_AutomaticMenuState(SM_Hsm* me, const SM_Event* e, const TP_Automatic& a);
SM_State TP_AutomaticFeedbackState(SM_Hsm* me, const SM_Event* e, const TP_Automatic& a);
// The first circuit becomes current when a hot-water program is opened afresh.
void TP_OpenForHotWater(std::uint32_t par);
// The plant lets hot water and circulation be chosen per circuit.
bool TP_CircuitChoice();

// Static memory as at power-on (hosts that run several panels in one process).
void TP_PowerOn();
