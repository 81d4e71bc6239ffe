// Data flash. The image is plain memory here; every access still goes
// through FLS_Read/FLS_Write byte copies, as on a flash behind a read call.
#include "data/FLS.h"

#include <algorithm>
#include <cstring>

#include "data/TXT_Generated.h"
#include "hal/HAL.h"
#include "hal/host.h"

namespace {

struct Flash {
    std::uint8_t* image = nullptr;
    std::uint32_t size = 0; // 0 until loaded: every access is refused
    bool loaded = false;
};

std::uint8_t storage[FLS_CAPACITY];
Flash fls;

// Offsets come from the image itself, so sums are formed wide and an
// offset beyond 32 bits counts as outside.
bool ReadU32(std::uint64_t offset, std::uint32_t& value)
{
    std::uint8_t b[4];
    if (offset > UINT32_MAX || FLS_Read(static_cast<std::uint32_t>(offset), b, 4) != 4) {
        return false;
    }
    value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
    return true;
}

struct SettingField {
    std::uint8_t offset;
    std::uint8_t missing; // value while the valid mark is missing
    bool display;         // a display setting: falls back without the mark
};

constexpr SettingField kSettings[FLS_SETTING_COUNT] = {
    {FLS_SET_FACTORY, 0, false},    {FLS_SET_CONTRAST, 0, true}, // the display driver's own default, see Missing
    {FLS_SET_BRIGHT_MIN, 48, true}, {FLS_SET_BRIGHT_MAX, 216, true}, {FLS_SET_BRIGHT_DEFAULT, 168, true},
    {FLS_SET_SAVER_MIN, 1, true},   {FLS_SET_SAVER_MAX, 36, true},   {FLS_SET_SAVER_DEFAULT, 24, true},
};

struct StringField {
    std::uint8_t offset;
    std::uint8_t width;
};

constexpr StringField kStrings[] = {{FLS_SET_IDENT, 16}, {FLS_SET_IDENT2, 7}, {FLS_SET_IDENT3, 7}};

std::uint8_t Missing(FLS_Setting which)
{
    return which == FLS_CONTRAST ? HAL_LCD_CONTRAST_DEFAULT : kSettings[which].missing;
}

} // namespace

void FLS_Init()
{
    if (fls.loaded) {
        return;
    }
    fls.image = storage;
    std::size_t size = 0;
    if (HOST().loadDataFlash(storage, FLS_CAPACITY, size) && size <= FLS_CAPACITY) {
        fls.size = static_cast<std::uint32_t>(size);
    } else {
        fls.size = std::min(FLS_DEFAULT_IMAGE_SIZE, FLS_CAPACITY);
        std::memcpy(storage, FLS_DEFAULT_IMAGE, fls.size);
    }
    fls.loaded = true;
}

void FLS_PowerOn()
{
    fls = Flash{};
}

void FLS_Attach(std::uint8_t* image, std::uint32_t size)
{
    fls.image = image;
    fls.size = image != nullptr ? size : 0;
    fls.loaded = true;
}

std::uint32_t FLS_Size()
{
    return fls.size;
}

std::uint32_t FLS_Read(std::uint32_t offset, void* destination, std::uint32_t length)
{
    if (offset > fls.size || length > fls.size - offset || length == 0) {
        return 0;
    }
    std::memcpy(destination, fls.image + offset, length);
    return length;
}

std::uint32_t FLS_Write(const void* source, std::uint32_t offset, std::uint32_t length)
{
    if (offset > fls.size || length > fls.size - offset || length == 0) {
        return 0;
    }
    std::memcpy(fls.image + offset, source, length);
    return length;
}

bool FLS_TextsValid()
{
    std::uint32_t mark = 0;
    return ReadU32(FLS_AT_VALID, mark) && mark == FLS_VALID_MARK;
}

std::uint16_t FLS_GetText(std::uint8_t language, std::uint16_t id, char* buffer, std::uint16_t size)
{
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    buffer[0] = '\0';
    std::uint32_t dir = 0, languages = 0, texts = 0, table = 0, from = 0, to = 0;
    if (!ReadU32(FLS_AT_DIRECTORY, dir) || !ReadU32(std::uint64_t{dir} + FLS_DIR_LANGUAGES, languages) ||
        !ReadU32(std::uint64_t{dir} + FLS_DIR_TEXTS, texts) || language >= languages || id >= texts) {
        return 0;
    }
    if (!ReadU32(std::uint64_t{dir} + FLS_DIR_TABLES + 4U * language, table) ||
        !ReadU32(std::uint64_t{table} + 4U * id, from) || !ReadU32(std::uint64_t{table} + 4U * id + 4U, to) ||
        from >= to || to > fls.size) {
        return 0;
    }
    const std::uint32_t length = std::min<std::uint32_t>(to - from, size - 1U);
    if (FLS_Read(from, buffer, length) != length) {
        return 0;
    }
    buffer[length] = '\0';
    return static_cast<std::uint16_t>(length);
}

std::uint32_t FLS_SettingsBase()
{
    std::uint32_t base = 0;
    return ReadU32(FLS_AT_SETTINGS, base) ? base : UINT32_MAX;
}

std::uint8_t FLS_GetSetting(FLS_Setting which)
{
    if (which >= FLS_SETTING_COUNT) {
        return 0;
    }
    const SettingField& f = kSettings[which];
    const std::uint64_t at = std::uint64_t{FLS_SettingsBase()} + f.offset;
    std::uint8_t value = 0;
    if ((f.display && !FLS_TextsValid()) || at > UINT32_MAX ||
        FLS_Read(static_cast<std::uint32_t>(at), &value, 1) != 1) {
        return Missing(which);
    }
    return value;
}

bool FLS_SetSetting(FLS_Setting which, std::uint8_t value)
{
    if (which >= FLS_SETTING_COUNT) {
        return false;
    }
    const std::uint64_t at = std::uint64_t{FLS_SettingsBase()} + kSettings[which].offset;
    return at <= UINT32_MAX && FLS_Write(&value, static_cast<std::uint32_t>(at), 1) == 1;
}

std::uint8_t FLS_GetString(FLS_String which, char* destination, std::uint8_t length)
{
    if (which > FLS_IDENTIFICATION_3 || destination == nullptr) {
        return 0;
    }
    const StringField& f = kStrings[which];
    const std::uint8_t n = std::min(length, f.width);
    const std::uint64_t at = std::uint64_t{FLS_SettingsBase()} + f.offset;
    return at <= UINT32_MAX ? static_cast<std::uint8_t>(FLS_Read(static_cast<std::uint32_t>(at), destination, n)) : 0;
}

std::uint8_t FLS_SetString(FLS_String which, const char* source, std::uint8_t length)
{
    if (which > FLS_IDENTIFICATION_3 || source == nullptr) {
        return 0;
    }
    const StringField& f = kStrings[which];
    const std::uint8_t n = std::min(length, f.width);
    const std::uint64_t at = std::uint64_t{FLS_SettingsBase()} + f.offset;
    return at <= UINT32_MAX ? static_cast<std::uint8_t>(FLS_Write(source, static_cast<std::uint32_t>(at), n)) : 0;
}
