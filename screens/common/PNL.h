// Panel flags shared by the screens.
#pragma once

struct PNL_Flags {
    bool screensaver;  // the screensaver is showing
    bool keyActivity;  // a key was pressed since the operation timeout was armed
    bool serviceMode;  // the contractor's service mode is on
    bool codingLevel2; // coding level 2 is enabled
    bool longTimeout;  // operation timeout of 30 minutes instead of 2
};

extern PNL_Flags PNL_flags;

// All flags off, as at power-on.
void PNL_PowerOn();
