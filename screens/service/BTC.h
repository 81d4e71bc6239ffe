// Participant check: the list of the bus participants the control unit
// knows, the check of one of them, the deletion of the list, and the wink
// with which the panel shows itself when asked to.
#pragma once

#include <cstdint>

#include "core/SM.h"

// The list screen has 32 participant rows beside its delete row.
inline constexpr std::uint8_t BTC_MAX_PARTICIPANTS = 32;

SM_State BTC_AufbauTeilnehmerListe(SM_Hsm* me, const SM_Event* e);
SM_State BTC_TeilnehmerCheckMenue(SM_Hsm* me, const SM_Event* e);
SM_State BTC_Teilnehmercheck(SM_Hsm* me, const SM_Event* e);
SM_State BTC_TeilnehmercheckFeedback(SM_Hsm* me, const SM_Event* e);
SM_State BTC_FeedbackLoeschen(SM_Hsm* me, const SM_Event* e);
SM_State BTC_FeedbackListeLeer(SM_Hsm* me, const SM_Event* e);
SM_State BTC_TeilnehmerWink(SM_Hsm* me, const SM_Event* e);

// The list as built: entries, and the participant number of one.
std::uint8_t BTC_ParticipantCount();
std::uint8_t BTC_ParticipantNumber(std::uint8_t index);

// Static memory as at power-on (hosts that run several panels in one process).
void BTC_PowerOn();
