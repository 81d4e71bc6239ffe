// Fault dialog: the faults the control unit reports now, and their
// acknowledgement. The waiting, the list and "Keine Störung" are written for
// both fault lists: the fault history (BFH) uses them too.
#pragma once

#include <cstdint>

#include "core/SM.h"
#include "screens/common/ML.h"

SM_State BSD_Stoerungsdialog(SM_Hsm* me, const SM_Event* e);
SM_State BSD_AufStoerungsdatenWarten(SM_Hsm* me, const SM_Event* e);
SM_State BSD_StoerungsdatenMenue(SM_Hsm* me, const SM_Event* e);
SM_State BSD_KeineStoerung(SM_Hsm* me, const SM_Event* e);
SM_State BSD_QuittierungsAbfrage(SM_Hsm* me, const SM_Event* e);
SM_State BSD_QuittierungsFeedback(SM_Hsm* me, const SM_Event* e);

// Text id of a fault by the component number of its entry; "Störung" for
// every number without a text of its own.
std::uint16_t BSD_FaultTextId(std::uint8_t component);

// The hourglass: frame 0 (all sand above) to 16 (all below), in its box
// around the middle of the screen.
inline constexpr std::uint8_t BSD_HOURGLASS_FRAMES = 17;
void BSD_DrawHourglass(std::uint8_t frame);

// What the states of one fault list keep between their visits.
struct BSD_ListMemory {
    std::uint8_t frame; // the hourglass frame shown
    std::uint8_t firstRow;
    std::uint8_t cursor;
};
// What the states of one fault list need to know about it.
struct BSD_List {
    bool history;
    std::uint16_t title;      // text id
    std::uint16_t arrived;    // the list's data signal
    SM_Handler dialog;        // the superstate: asks for the list, waits, leaves
    SM_Handler menu;          // the list
    SM_Handler none;          // "Keine Störung"
    const ML_DrawFn* rows;    // one per entry
    void (*hint)(bool moved); // the list's key hint, after drawing or after a cursor move
    std::uint32_t firstHelp;  // help page of entry 0
    BSD_ListMemory* memory;
};
// Screen frame: erased, the list's title with its line.
void BSD_Frame(const BSD_List& l);
// The dialog's own signals: the list asked for on entry and every 10 s.
// True when the signal was one of them.
bool BSD_DialogSignal(const SM_Event* e, const BSD_List& l);
// The states the two lists share: the wait for the list (`exitName` is the
// name its exit line carries), the list, and "Keine Störung". The list
// passes OK and the hint timer on to its dialog.
SM_State BSD_WaitState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name, const char* exitName);
SM_State BSD_ListState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name);
SM_State BSD_NoneState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name);

// Static memory as at power-on (hosts that run several panels in one process).
void BSD_PowerOn();
