// Holiday program: the departure and return days between which the control
// unit runs the plant in holiday operation, and its end.
#pragma once

#include <cstdint>

#include "core/DTM.h"
#include "core/SM.h"

SM_State BFP_FerienProgramm(SM_Hsm* me, const SM_Event* e);
SM_State BFP_FerienProgrammMenue(SM_Hsm* me, const SM_Event* e);
SM_State BFP_AbreiseRueckreiseMenue(SM_Hsm* me, const SM_Event* e);
SM_State BFP_EditVon(SM_Hsm* me, const SM_Event* e);
SM_State BFP_EditBis(SM_Hsm* me, const SM_Event* e);
SM_State BFP_FerienFeedback(SM_Hsm* me, const SM_Event* e);
SM_State BFP_FerienLoeschen(SM_Hsm* me, const SM_Event* e);
SM_State BFP_JaNeinFeedback(SM_Hsm* me, const SM_Event* e);

// Days since 1970-01-01 (day 0). The last day is the last whose 23:59:59
// a u32 count of seconds still holds (2106-02-06).
inline constexpr std::uint16_t BFP_LAST_DAY = 49709;
std::uint16_t BFP_DayNumber(const DTM_Clock& date); // clamped to 0 .. BFP_LAST_DAY
DTM_Clock BFP_DateOfDay(std::uint16_t day);         // with its weekday

struct BFP_Dates {
    std::uint16_t today;
    std::uint16_t departure;
    std::uint16_t ret;
};
// The working dates: from the image and the clock, and as the keys move them.
void BFP_ReadDates();
const BFP_Dates& BFP_WorkingDates();
void BFP_SetWorkingDates(const BFP_Dates& dates);
void BFP_StepDeparture(int days); // +1 or -1
void BFP_StepReturn(int days);
bool BFP_DatesChanged();
void BFP_StoreDates();
bool BFP_ProgramSet(); // a departure day is stored

// Static memory as at power-on (hosts that run several panels in one process).
void BFP_PowerOn();
