// Data flash: the factory settings block and the language blocks of the
// languages 1 to 18 (layout in data/FLS_Layout.h). Every read is checked
// against the image's size, so a damaged image yields empty texts and the
// settings' defaults, never a read outside it.
#pragma once

#include <cstdint>

#include "data/FLS_Layout.h"

// Room for the image in memory (the delivered one is well below).
inline constexpr std::uint32_t FLS_CAPACITY = 0x100000;

// Loads the image once per power-on: the host's file if it has one, else
// the delivered image. Writes stay in memory until the next power-on.
void FLS_Init();
// Forgets the image, so that the next FLS_Init loads it again.
void FLS_PowerOn();
// Works directly on the caller's image from now on (tests, fuzzing).
void FLS_Attach(std::uint8_t* image, std::uint32_t size);
std::uint32_t FLS_Size();

// Byte copies out of and into the image. A range not wholly inside it is
// refused: nothing is copied and 0 returned; else the count.
std::uint32_t FLS_Read(std::uint32_t offset, void* destination, std::uint32_t length);
std::uint32_t FLS_Write(const void* source, std::uint32_t offset, std::uint32_t length);

bool FLS_TextsValid();
// Text `id` of a flash language into buffer (cut to size - 1, terminated;
// size 0 writes nothing); returns its length, 0 for an unknown language or
// id or an inconsistent image.
std::uint16_t FLS_GetText(std::uint8_t language, std::uint16_t id, char* buffer, std::uint16_t size);

// Factory settings block. FLS_SettingsBase is the block's offset.
std::uint32_t FLS_SettingsBase();

enum FLS_Setting : std::uint8_t {
    FLS_FACTORY_BYTE,
    FLS_CONTRAST,       // LCD contrast default
    FLS_BRIGHTNESS_MIN, // operating brightness
    FLS_BRIGHTNESS_MAX,
    FLS_BRIGHTNESS_DEFAULT,
    FLS_SCREENSAVER_MIN, // screensaver brightness
    FLS_SCREENSAVER_MAX,
    FLS_SCREENSAVER_DEFAULT,
    FLS_SETTING_COUNT
};
// The stored value; for contrast and brightness the built-in default while
// the valid mark is missing, and every default when the block lies outside
// the image.
std::uint8_t FLS_GetSetting(FLS_Setting which);
bool FLS_SetSetting(FLS_Setting which, std::uint8_t value);

enum FLS_String : std::uint8_t {
    FLS_IDENTIFICATION,   // 16 characters
    FLS_IDENTIFICATION_2, // 7
    FLS_IDENTIFICATION_3, // 7
};
// Moves at most the field's width (no terminator); returns the bytes moved.
std::uint8_t FLS_GetString(FLS_String which, char* destination, std::uint8_t length);
std::uint8_t FLS_SetString(FLS_String which, const char* source, std::uint8_t length);
