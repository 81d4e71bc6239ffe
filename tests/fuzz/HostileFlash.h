// Data-flash images with hostile texts for the screens fuzzer: the
// delivered image's header and settings, then one text table that every
// language shares, so that every slot of every flash language holds a text
// of the input's making (overlong, no UTF-8, with NULs, cut mid-character).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace hostile {

// Longer than the panel's text buffer (1212 bytes with its NUL): the reader must cut.
inline constexpr std::size_t kLongestText = 1400;
inline constexpr std::size_t kSettingBytes = 8;

// The texts of recipes [length][repeat][length bytes]...: each is its bytes
// repeated repeat + 1 times, at most kLongestText; the 395 slots take them
// in turn. No recipe: every slot empty.
std::vector<std::string> Texts(const std::uint8_t* recipes, std::size_t size);

// The image: factory settings (identification byte, contrast, brightness and
// screensaver limits and defaults, in this order) from `settings`.
std::vector<std::uint8_t> Image(const std::uint8_t (&settings)[kSettingBytes], const std::vector<std::string>& texts);

} // namespace hostile
