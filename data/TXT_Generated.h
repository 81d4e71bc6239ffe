// Data that tools/flashgen generates from assets/po into the build directory.
#pragma once

#include <cstdint>

#include "data/FLS_Layout.h"

// The built-in language: German UTF-8 texts by text id.
extern const char* const TXT_GERMAN[FLS_TEXT_COUNT];

// The delivered data-flash image, used when the host has none.
extern const std::uint8_t FLS_DEFAULT_IMAGE[];
extern const std::uint32_t FLS_DEFAULT_IMAGE_SIZE;
