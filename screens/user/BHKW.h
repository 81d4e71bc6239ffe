// Circuit choice before a setting that belongs to one heating circuit.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BHKW_HKWahl(SM_Hsm* me, const SM_Event* e);

// The screens the choice opens, by number: SIG_SET_NEXT_STATE's parameter
// is 32 bits, too small for a handler's address on every host.
enum BHKW_Target : std::uint32_t {
    BHKW_TO_ROOM_TEMPERATURE = 1, // BRT_RaumtemperaturTag
    BHKW_TO_RESET = 2,            // BHKG_HKGrundeinstellung
    BHKW_TO_HEATING_CURVE = 3,    // BHKH_NeigungNiveauMenue
    BHKW_TO_LABEL = 4,            // BBHK_BeschriftungDialog
};

// Opens the choice, then the target for the circuit chosen (at once with
// one circuit).
void BHKW_Open(SM_Hsm* me, BHKW_Target target);

// Static memory as at power-on (hosts that run several panels in one process).
void BHKW_PowerOn();
