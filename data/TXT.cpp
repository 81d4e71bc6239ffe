// Text database: German from the built-in table, languages 1 to 18 from the
// data flash while its valid mark is there, circuit labels from the
// operating data image.
#include "data/TXT.h"

#include <cstring>

#include "core/SM.h"
#include "data/DAT.h"
#include "data/FLS.h"
#include "data/TXT_Generated.h"

static_assert(TXT_COUNT == FLS_TEXT_COUNT && TXT_LANGUAGES == FLS_LANGUAGE_COUNT);
static_assert(TXT_LABEL_UNITS == DAT_LABEL_UNITS);

namespace {

constexpr std::uint16_t kCircuit1 = 116;    // "Heizkreis 1"
constexpr std::uint16_t kCircuit2 = 117;    // "Heizkreis 2"
constexpr std::uint32_t kErrorTextId = 129; // reset reason: text id beyond the table

constexpr char kDecimalSeparator[TXT_LANGUAGES] = {',', ',', '.', '.', '.', ',', '.', '.', '.', '.',
                                                   '.', '.', '.', '.', '.', '.', '.', '.', '.'};

struct Texts {
    char buffer[TXT_BUFFER_SIZE];
    std::uint8_t language;
};

Texts txt;

std::uint16_t Store(const char* text, std::uint32_t length, char* buffer, std::uint16_t size)
{
    if (length >= size) {
        length = size - 1U;
    }
    std::memcpy(buffer, text, length);
    buffer[length] = '\0';
    return static_cast<std::uint16_t>(length);
}

// The circuit's label as UTF-8 when it was entered in the active language;
// its length, 0 when it does not apply.
std::uint8_t Label(std::uint8_t circuit, char (&out)[TXT_LABEL_UTF8])
{
    std::uint16_t units[DAT_LABEL_UNITS] = {};
    std::uint8_t language = 0;
    DAT_GetCircuitLabel(circuit, units, language);
    if (units[0] == 0 || language != txt.language) {
        return 0;
    }
    std::uint8_t n = 0;
    for (std::uint8_t i = 0; i < TXT_LABEL_UNITS && units[i] != 0; ++i) {
        std::uint32_t cp = units[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < TXT_LABEL_UNITS && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (units[++i] - 0xDC00U);
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate
        }
        // Three bytes per unit at most, so 20 units fit the 60 bytes.
        if (cp < 0x80) {
            out[n++] = static_cast<char>(cp);
        } else if (cp < 0x800) {
            out[n++] = static_cast<char>(0xC0 | (cp >> 6));
            out[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out[n++] = static_cast<char>(0xE0 | (cp >> 12));
            out[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out[n++] = static_cast<char>(0xF0 | (cp >> 18));
            out[n++] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out[n++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out[n++] = static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return n;
}

} // namespace

std::uint16_t TXT_CopyText(std::uint16_t id, char* buffer, std::uint16_t size)
{
    if (buffer == nullptr) {
        size = 0;
    }
    if (size > 0) {
        buffer[0] = '\0';
    }
    if (id == TXT_NONE) {
        return 0;
    }
    if (id >= TXT_COUNT) {
        SM_Post(BED_Task, SIG_BED_ERROR_RESET, kErrorTextId);
        return 0;
    }
    if (size == 0) {
        return 0;
    }
    if (id == kCircuit1 || id == kCircuit2) {
        char label[TXT_LABEL_UTF8];
        const std::uint8_t length = Label(id == kCircuit1 ? 1 : 2, label);
        if (length > 0) {
            return Store(label, length, buffer, size);
        }
    }
    if (txt.language != 0 && FLS_TextsValid()) {
        // No German fallback here: a text the language block lacks is empty.
        return FLS_GetText(txt.language, id, buffer, size);
    }
    return Store(TXT_GERMAN[id], static_cast<std::uint32_t>(std::strlen(TXT_GERMAN[id])), buffer, size);
}

const char* TXT_GetText(std::uint16_t id)
{
    TXT_CopyText(id, txt.buffer, sizeof txt.buffer);
    return txt.buffer;
}

std::uint8_t TXT_GetLanguage()
{
    return txt.language;
}

void TXT_SetLanguage(std::uint8_t index)
{
    txt.language = index < TXT_LANGUAGES ? index : 0;
    DAT_SetLanguageByte(txt.language);
}

char TXT_GetDecimalSeparator()
{
    return kDecimalSeparator[txt.language < TXT_LANGUAGES ? txt.language : 0];
}

void TXT_ClearBuffer()
{
    std::memset(txt.buffer, 0, sizeof txt.buffer);
    txt.language = 0;
}

void TXT_PowerOn()
{
    txt = Texts{};
}
