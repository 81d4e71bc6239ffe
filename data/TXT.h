// Text database: every text of the panel by id, in the active language.
#pragma once

#include <cstdint>

inline constexpr std::uint16_t TXT_NONE = 0xFFFF;

// The text as NUL-terminated UTF-8; valid until the next call.
const char* TXT_GetText(std::uint16_t id);
