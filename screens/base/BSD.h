// Fault dialog: the faults the control unit reports now, and their
// acknowledgement. The waiting, the list and "Keine Störung" are written for
// both fault lists: the fault history (BFH) uses them too.
#pragma once

#include <cstdint>

#include "core/SM.h"

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

// What the states of one fault list need to know about it.
struct BSD_List {
    bool history;
    std::uint16_t title;   // text id
    std::uint16_t arrived; // the list's data signal
    SM_Handler dialog;     // the superstate that waits and leaves
    SM_Handler menu;       // the list
    SM_Handler none;       // "Keine Störung"
    std::uint8_t* frame;   // the hourglass frame shown
};
// Screen frame: erased, the list's title with its line.
void BSD_Frame(const BSD_List& l);
// Marks the entries with a fault code in the menu list; how many there are.
std::uint8_t BSD_Count(const BSD_List& l);
// The states the two lists share: the wait for the list and "Keine Störung".
// `name` is the trace name; the wait's exit line has a name of its own.
SM_State BSD_WaitState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name, const char* exitName);
SM_State BSD_NoneState(SM_Hsm* me, const SM_Event* e, const BSD_List& l, const char* name);

// Static memory as at power-on (hosts that run several panels in one process).
void BSD_PowerOn();
