// Text database: every text of the panel by id, in the active language.
// German is built in; languages 1 to 18 come from the data flash (FLS).
#pragma once

#include <cstdint>

inline constexpr std::uint16_t TXT_NONE = 0xFFFF; // no text: empty
inline constexpr std::uint16_t TXT_COUNT = 395;   // ids 0 to 394
inline constexpr std::uint8_t TXT_LANGUAGES = 19; // indexes 0 (German) to 18
inline constexpr std::uint16_t TXT_BUFFER_SIZE = 1212;

// Heating-circuit labels: UTF-16 units per circuit, and their UTF-8 bound.
inline constexpr std::uint8_t TXT_LABEL_UNITS = 20;
inline constexpr std::uint8_t TXT_LABEL_UTF8 = 60;

// The text as NUL-terminated UTF-8 in a static buffer of TXT_BUFFER_SIZE
// bytes; valid until the next call.
const char* TXT_GetText(std::uint16_t id);
// Copies the text into buffer (size bytes, cut to size - 1 and terminated;
// size 0 writes nothing) and returns the bytes copied without the NUL.
// An id of TXT_COUNT or more is an error report to the screen task.
std::uint16_t TXT_CopyText(std::uint16_t id, char* buffer, std::uint16_t size);

std::uint8_t TXT_GetLanguage();
// An index above 18 selects German. Mirrored into the operating data image.
void TXT_SetLanguage(std::uint8_t index);
// Separator of one-decimal values in the active language.
char TXT_GetDecimalSeparator();
// Start-up: empty buffer, German.
void TXT_ClearBuffer();

// Static memory as at power-on (hosts that run several panels in one process).
void TXT_PowerOn();
