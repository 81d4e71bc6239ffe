#include "sim/PlantFile.h"

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <vector>

#include "sim/headless/Words.h"

namespace {

constexpr std::size_t kBytesPerLine = 16;
constexpr std::size_t kMaxBytes = 1 << 20;

struct Block {
    const char* name;
    std::size_t offset; // in DAT_Image
    std::size_t size;
};

// Every byte of the image, by the names scenarios use where they exist.
// The labels are UTF-16 units stored little-endian, as the machine holds them.
#define PLANT_BLOCK(name, member)                                                                                      \
    {                                                                                                                  \
        name, offsetof(DAT_Image, member), sizeof(DAT_Image::member)                                                   \
    }
const Block kBlocks[] = {
    PLANT_BLOCK("counters", counters),
    {"circuit1", offsetof(DAT_Image, circuit), sizeof(DAT_Image::circuit[0])},
    {"circuit2", offsetof(DAT_Image, circuit) + sizeof(DAT_Image::circuit[0]), sizeof(DAT_Image::circuit[0])},
    PLANT_BLOCK("display", displayTail),
    PLANT_BLOCK("system", system),
    {"switching1", offsetof(DAT_Image, switching), sizeof(DAT_Image::switching[0])},
    {"switching2", offsetof(DAT_Image, switching) + sizeof(DAT_Image::switching[0]), sizeof(DAT_Image::switching[0])},
    PLANT_BLOCK("plant", plant),
    PLANT_BLOCK("messages", messages),
    PLANT_BLOCK("messages2", messages2),
    PLANT_BLOCK("service", service),
    PLANT_BLOCK("participants", participants),
    PLANT_BLOCK("solar", solar),
    PLANT_BLOCK("extension", extension),
    PLANT_BLOCK("faults", faults),
    PLANT_BLOCK("history", history),
    PLANT_BLOCK("solar-history", solarHistory),
    PLANT_BLOCK("labels", labels),
    PLANT_BLOCK("label-languages", labelLanguage),
    PLANT_BLOCK("counters2", counters2),
    PLANT_BLOCK("status", status),
    PLANT_BLOCK("fan-speed", fanSpeed),
};
#undef PLANT_BLOCK

const Block* BlockNamed(const std::string& name)
{
    for (const Block& b : kBlocks) {
        if (name == b.name) {
            return &b;
        }
    }
    return nullptr;
}

} // namespace

std::string PlantFileText(const DAT_Image& image)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&image);
    std::string text = "# Plant of the test control unit: block, offset, bytes (hexadecimal).\n";
    char hex[4];
    for (const Block& b : kBlocks) {
        for (std::size_t at = 0; at < b.size; at += kBytesPerLine) {
            text += std::string(b.name) + " " + std::to_string(at) + ":";
            for (std::size_t i = at; i < b.size && i < at + kBytesPerLine; ++i) {
                std::snprintf(hex, sizeof hex, " %02X", bytes[b.offset + i]);
                text += hex;
            }
            text += "\n";
        }
    }
    return text;
}

bool PlantFileApply(const std::string& file, const std::string& text, DAT_Image& image, std::string& error)
{
    DAT_Image result = image;
    auto* bytes = reinterpret_cast<std::uint8_t*>(&result);
    std::istringstream in(text);
    std::string line;
    int number = 0;
    auto fail = [&](const std::string& why) {
        error = Printable(file) + ":" + std::to_string(number) + ": " + why;
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::istringstream words(line);
        std::string name;
        if (!(words >> name) || name[0] == '#') {
            continue;
        }
        const Block* block = BlockNamed(name);
        if (block == nullptr) {
            return fail("no block '" + Printable(name) + "' (a line is: block offset: bytes, as 'system 0: 00 4B')");
        }
        std::string offsetWord;
        words >> offsetWord;
        if (offsetWord.empty() || offsetWord.back() != ':') {
            return fail("the offset of " + name + " ends with ':', as in '" + name + " 16:'");
        }
        offsetWord.pop_back();
        const auto offset = WholeNumber(offsetWord, 10, block->size - 1);
        if (!offset) {
            return fail(name + " has bytes 0 to " + std::to_string(block->size - 1) + ", not '" +
                        Printable(offsetWord) + "'");
        }
        std::size_t at = *offset;
        for (std::string byte; words >> byte; ++at) {
            const auto value = byte.size() <= 2 ? WholeNumber(byte, 16, 0xFF) : std::nullopt;
            if (!value) {
                return fail("a byte is one or two hexadecimal digits, not '" + Printable(byte) + "'");
            }
            if (at >= block->size) {
                return fail(name + " ends after byte " + std::to_string(block->size - 1));
            }
            bytes[block->offset + at] = static_cast<std::uint8_t>(*value);
        }
    }
    image = result;
    return true;
}

bool PlantFileRead(const std::string& path, std::string& text, std::string& error)
{
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        error = "cannot read the plant file '" + Printable(path) + "': " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(st.st_mode) || static_cast<std::size_t>(st.st_size) > kMaxBytes) {
        error = "the plant file '" + Printable(path) + "' is " +
                (S_ISREG(st.st_mode) ? "larger than 1 MiB" : "not a regular file");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    std::stringstream read;
    read << in.rdbuf();
    if (!in) {
        error = "cannot read the plant file '" + Printable(path) + "'";
        return false;
    }
    text = read.str();
    return true;
}

bool PlantFileLoad(const std::string& path, DAT_Image& image, std::string& error)
{
    std::string text;
    return PlantFileRead(path, text, error) && PlantFileApply(path, text, image, error);
}
