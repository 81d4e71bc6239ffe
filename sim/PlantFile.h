// Plant files: what the test control unit keeps (settings, language,
// commissioning, switching times, labels) and its plant values, as text a
// person can read and diff: one line per 16 bytes of a block,
//
//     system 0: 00 00 4B 2E ...
//
// the block's name, the offset of the first byte, and the bytes in
// hexadecimal. Blocks and bytes not named keep the simulation defaults.
#pragma once

#include <optional>
#include <string>

#include "data/DAT.h"

// The whole image as a plant file.
std::string PlantFileText(const DAT_Image& image);
// Applies a plant file's lines to `image`; on error returns false, leaves
// `image` as it was, and sets "file:line: message".
bool PlantFileApply(const std::string& file, const std::string& text, DAT_Image& image, std::string& error);
// Reads a plant file's text (a regular file of at most 1 MiB).
bool PlantFileRead(const std::string& path, std::string& text, std::string& error);
// Reads and applies a file.
bool PlantFileLoad(const std::string& path, DAT_Image& image, std::string& error);
