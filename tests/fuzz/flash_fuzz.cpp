// The data-flash reader on arbitrary images: every text, setting and string
// lookup stays inside the image (the sanitizers see the exact-size copy).
#include <cstdint>
#include <cstring>
#include <vector>

#include "data/FLS.h"
#include "data/TXT.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 4 || size > FLS_CAPACITY) {
        return 0;
    }
    // The first bytes choose what to look up; the rest is the image.
    const std::uint8_t language = data[0];
    const auto id = static_cast<std::uint16_t>(data[1] | (data[2] << 8));
    const std::uint8_t bufferSize = data[3];
    std::vector<std::uint8_t> image(data + 4, data + size);
    FLS_Attach(image.data(), static_cast<std::uint32_t>(image.size()));

    std::vector<char> buffer(bufferSize + 1U, 'x');
    const std::uint16_t n = FLS_GetText(language, id, buffer.data(), bufferSize);
    if (bufferSize == 0 ? (n != 0 || buffer[0] != 'x') : (n >= bufferSize || buffer[n] != '\0')) {
        __builtin_trap();
    }
    for (std::uint16_t text : {std::uint16_t{0}, std::uint16_t{116}, std::uint16_t{394}, id}) {
        for (std::uint8_t l : {std::uint8_t{1}, language}) {
            char small[8];
            FLS_GetText(l, text, small, sizeof small);
        }
    }
    (void)FLS_TextsValid();
    for (std::uint8_t s = 0; s < FLS_SETTING_COUNT; ++s) {
        (void)FLS_GetSetting(static_cast<FLS_Setting>(s));
    }
    char ident[16];
    (void)FLS_GetString(FLS_IDENTIFICATION, ident, 255);
    (void)FLS_SetString(FLS_IDENTIFICATION_3, "1234567", 7);
    FLS_Attach(nullptr, 0);
    return 0;
}
