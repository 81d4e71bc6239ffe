// Key task (task 3): debounced key scan, press reports with repeat and
// acceleration, delayed combinations, release reports.
#pragma once

#include <cstdint>

#include "core/SM.h"

// Logical key numbers.
enum KEY_Number : std::uint8_t {
    KEY_UP,
    KEY_OK,
    KEY_DOWN,
    KEY_BACK,
    KEY_MENU,
    KEY_LEFT,
    KEY_RIGHT,
    KEY_HELP,
    KEY_OK_UP,
    KEY_OK_DOWN,
    KEY_MENU_OK,
    KEY_MENU_DOWN,
    KEY_OK_BACK,
    KEY_NONE,
    KEY_INVALID,
};
inline constexpr std::uint8_t KEY_COUNT = 13; // keys with a raw pattern

// Raw bit pattern of a key in the key byte.
std::uint8_t KEY_RawBits(std::uint8_t key);
// Key for a raw key byte (KEY_NONE for 0, KEY_INVALID for no known pattern).
std::uint8_t KEY_Decode(std::uint8_t raw);

// Initial state of the key task.
SM_State KEY_Top(SM_Hsm* me, const SM_Event* e);
SM_State KEY_Idle(SM_Hsm* me, const SM_Event* e);
SM_State KEY_Pressed(SM_Hsm* me, const SM_Event* e);
SM_State KEY_RepeatWait(SM_Hsm* me, const SM_Event* e);
SM_State KEY_Repeating(SM_Hsm* me, const SM_Event* e);
SM_State KEY_FastRepeat(SM_Hsm* me, const SM_Event* e);
SM_State KEY_Hold(SM_Hsm* me, const SM_Event* e);

// The 20 ms scan; runs in the tick routine with the interrupt lock held.
void KEY_Scan();

// Key port, provided by the host's key driver.
void KEY_Init();
void KEY_SetReadEnable(std::uint8_t flags);
std::uint8_t KEY_ReadPort();

// Static memory as at power-on (hosts that run several panels in one process).
void KEY_PowerOn();
