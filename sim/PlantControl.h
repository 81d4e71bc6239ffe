// The plant values a trainer or a scenario sets on the test control unit,
// and how each reaches the panel: a changed status is sent as the status
// telegram, a changed data block is announced with the change mask, so the
// panel asks for it and the next bus rounds answer from the plant. Nothing
// here writes the panel's memory.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "data/DAT.h"

class ControlUnit;

// When a host's control unit takes a start plant (--plant): the panel
// writes its defaults after its first 250 ms, and the plant starts from them.
inline constexpr std::uint32_t kPlantStartMs = 300;

enum class PlantKind : std::uint8_t {
    Celsius, // whole degrees; half-kelvin steps in the plant
    Flag,    // 0 or 1
    Number,  // a plain value from min to max
    Choice,  // one of the field's choices, from 0
};

struct PlantField {
    const char* name;  // the scenario's word
    const char* label; // what the window shows
    PlantKind kind;
    int min;
    int max;
    int (*get)(const DAT_Image& plant);
    void (*set)(DAT_Image& plant, int value);
    // The data telegram type that carries the value; -1: the status telegram.
    int type;
    const char* choices = nullptr; // Choice: the names, separated by '|'
};

std::span<const PlantField> PlantFields();
const PlantField* PlantFieldNamed(std::string_view name);

// The value in the field's range, from the scenario's or window's text
// (decimal, or hexadecimal after 0x); nothing when it is not one.
std::optional<int> PlantValueOf(const PlantField& field, const std::string& text);

// Sets the value in the control unit's plant and tells the panel.
void PlantSet(ControlUnit& unit, const PlantField& field, int value);
// The 20 status bytes as the plant has them now, sent again.
void PlantSendStatus(ControlUnit& unit);

// Components of a fault with a text of their own (0 is the plain "Störung").
inline constexpr int kPlantFaultComponents = 49;
