#include "sim/headless/Words.h"

#include <charconv>
#include <cstdio>

std::optional<std::uint64_t> WholeNumber(const std::string& word, int base, std::uint64_t most)
{
    std::uint64_t value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value, base);
    if (word.empty() || error != std::errc{} || stop != end || value > most) {
        return std::nullopt;
    }
    return value;
}

namespace {

// Length of the well-formed UTF-8 sequence of a printable character at `i`; 0 if none.
std::size_t PrintableAt(const std::string& s, std::size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
        return c >= 0x20 && c != 0x7F ? 1 : c == '\t' ? 1 : 0;
    }
    const std::size_t n = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (n == 0 || i + n > s.size()) {
        return 0;
    }
    std::uint32_t cp = c & (0x7F >> n);
    for (std::size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            return 0;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    constexpr std::uint32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    // Overlong forms, surrogates and the C1 controls are no text.
    if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp < 0xA0) {
        return 0;
    }
    return n;
}

} // namespace

std::string Printable(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (const std::size_t n = PrintableAt(text, i); n > 0) {
            out.append(text, i, n);
            i += n;
            continue;
        }
        char escape[5];
        std::snprintf(escape, sizeof escape, "\\x%02X", static_cast<unsigned char>(text[i]));
        out += escape;
        ++i;
    }
    return out;
}
