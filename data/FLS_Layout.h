// Byte layout of the data-flash image, shared by the panel and the tool that
// builds the delivered image (tools/flashgen). All numbers little-endian.
#pragma once

#include <cstdint>

inline constexpr char FLS_MAGIC[] = "Flash20090313"; // NUL-padded to 16 bytes
inline constexpr std::uint32_t FLS_MAGIC_SIZE = 16;

inline constexpr std::uint32_t FLS_AT_DIRECTORY = 0x0010; // u32: offset of the language directory
inline constexpr std::uint32_t FLS_AT_SETTINGS = 0x0014;  // u32: offset of the settings block
inline constexpr std::uint32_t FLS_AT_VALID = 0x0018;     // u32: valid mark of the text area
inline constexpr std::uint32_t FLS_VALID_MARK = 0x49BA6CD6;

// Where the delivered image puts its blocks.
inline constexpr std::uint32_t FLS_SETTINGS_OFFSET = 0x001C;
inline constexpr std::uint32_t FLS_DIRECTORY_OFFSET = 0x0420;
inline constexpr std::uint32_t FLS_SETTINGS_LENGTH = 1024; // the block's first u32; the block is 4 + 1024 bytes

// Settings block fields, from the block's start.
inline constexpr std::uint32_t FLS_SET_IDENT = 4;   // 16 chars
inline constexpr std::uint32_t FLS_SET_IDENT2 = 20; // 7 chars
inline constexpr std::uint32_t FLS_SET_IDENT3 = 27; // 7 chars
inline constexpr std::uint32_t FLS_SET_FACTORY = 34;
inline constexpr std::uint32_t FLS_SET_CONTRAST = 37;
inline constexpr std::uint32_t FLS_SET_BRIGHT_MIN = 38;
inline constexpr std::uint32_t FLS_SET_BRIGHT_MAX = 39;
inline constexpr std::uint32_t FLS_SET_BRIGHT_DEFAULT = 40;
inline constexpr std::uint32_t FLS_SET_SAVER_MIN = 41;
inline constexpr std::uint32_t FLS_SET_SAVER_MAX = 42;
inline constexpr std::uint32_t FLS_SET_SAVER_DEFAULT = 43;

// Language directory: u32 language count, u32 text count, then one u32 per
// language: the offset of its table of (text count + 1) u32 text offsets.
inline constexpr std::uint32_t FLS_DIR_LANGUAGES = 0;
inline constexpr std::uint32_t FLS_DIR_TEXTS = 4;
inline constexpr std::uint32_t FLS_DIR_TABLES = 8;

inline constexpr std::uint8_t FLS_LANGUAGE_COUNT = 19;
inline constexpr std::uint16_t FLS_TEXT_COUNT = 395;
