// What the state view shows of the running panel: each task's state path,
// its queue's figures and the operating data image. Taken on the
// application thread between two of its steps (or while it does not run),
// where nothing else writes them; the queue figures and the image are
// read under the interrupt lock as well, as the bus driver writes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/SM.h"
#include "data/DAT.h"

struct PanelTaskState {
    std::uint8_t task = 0;
    std::string label;
    std::vector<std::string> path; // outermost state first
    std::uint8_t highWater = 0;
    std::uint8_t queueSize = 0;
    std::uint32_t dropped = 0;
};

struct PanelState {
    std::vector<PanelTaskState> tasks; // those that run a state machine
    DAT_Image image{};
};

PanelState PanelStateNow();

// A state's name as its source gives it (the host's symbol table);
// its address when the name cannot be had.
std::string PanelStateName(SM_Handler state);
