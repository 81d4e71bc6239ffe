// Filling: the control unit fills the heating system while the panel shows
// it. Venting (BEG) is the same program with its own texts, flag and
// function, so the three states are written here once for both.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BBF_Befuellung(SM_Hsm* me, const SM_Event* e);
SM_State BBF_BefuellungAbfrage(SM_Hsm* me, const SM_Event* e);
SM_State BBF_BefuellungAktiv(SM_Hsm* me, const SM_Event* e);

// One service function the control unit runs: filling or venting.
struct BBF_Function {
    const char* names[3]; // the wait (superstate), the question, the active screen
    std::uint16_t title;  // text id
    std::uint16_t question;
    std::uint8_t function; // of code 247
    std::uint8_t flag;     // its bit in the service block's functions byte
    SM_Handler wait;       // the three states
    SM_Handler question_;
    SM_Handler active;
    std::uint8_t* answer;
};
// The superstate: asks the control unit whether the function runs, waits
// for its answer with the hourglass, gives up after 30 s.
SM_State BBF_WaitState(SM_Hsm* me, const SM_Event* e, const BBF_Function& f);
SM_State BBF_QuestionState(SM_Hsm* me, const SM_Event* e, const BBF_Function& f);
SM_State BBF_ActiveState(SM_Hsm* me, const SM_Event* e, const BBF_Function& f);

// Static memory as at power-on (hosts that run several panels in one process).
void BBF_PowerOn();
