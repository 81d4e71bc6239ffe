// Base display: the plant at a glance, message overlays, screensaver.
#pragma once

#include <cstdint>

#include "core/SM.h"

SM_State BGA_Grundanzeige(SM_Hsm* me, const SM_Event* e);
SM_State BGA_GrundanzeigeMenue(SM_Hsm* me, const SM_Event* e);
SM_State BGA_GrundanzeigeMenueGesperrt(SM_Hsm* me, const SM_Event* e);

// The lock setting forbids operation, and service mode is off.
bool BGA_OperationLocked();
// Service mode, or no lock at all.
bool BGA_MenuAllowed();

// What the base display shows next: the first row of its choice that holds.
struct BGA_Choice {
    SM_Handler target;
    std::uint32_t par;
    std::uint16_t light; // signal to the backlight task
};
BGA_Choice BGA_Choose(std::uint32_t par);

// Bit i set: entry i of the list ("Störung" .. "Hilfe") is visible.
std::uint8_t BGA_VisibleEntries();

// Static memory as at power-on (hosts that run several panels in one process).
void BGA_PowerOn();
