// Words of scripts and command lines: whole numbers in range, and text made
// safe for a terminal.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The whole word as an unsigned number in `base` (10 or 16) of at most
// `most`: no sign, no blanks, no prefix, nothing after the digits.
std::optional<std::uint64_t> WholeNumber(const std::string& word, int base, std::uint64_t most);

// Text as a terminal may show it: control characters and bytes that are not
// UTF-8 become \xNN escapes (tabs stay).
std::string Printable(const std::string& text);
