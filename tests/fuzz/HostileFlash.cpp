#include "HostileFlash.h"

#include <algorithm>
#include <cstring>

#include "data/FLS_Layout.h"
#include "data/TXT_Generated.h"

namespace hostile {

namespace {

void PutU32(std::vector<std::uint8_t>& image, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) {
        image[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

} // namespace

std::vector<std::string> Texts(const std::uint8_t* recipes, std::size_t size)
{
    std::vector<std::string> made;
    for (std::size_t i = 0; i + 2 <= size;) {
        const std::size_t length = std::min<std::size_t>(recipes[i], size - i - 2);
        const std::size_t repeat = recipes[i + 1] + 1U;
        const std::string piece(reinterpret_cast<const char*>(recipes + i + 2), length);
        std::string text;
        for (std::size_t r = 0; r < repeat && text.size() < kLongestText; ++r) {
            text += piece;
        }
        text.resize(std::min(text.size(), kLongestText));
        made.push_back(text);
        i += 2 + length;
    }
    std::vector<std::string> texts(FLS_TEXT_COUNT);
    for (std::size_t id = 0; id < texts.size() && !made.empty(); ++id) {
        texts[id] = made[id % made.size()];
    }
    return texts;
}

std::vector<std::uint8_t> Image(const std::uint8_t (&settings)[kSettingBytes], const std::vector<std::string>& texts)
{
    constexpr std::uint32_t kTable = FLS_DIRECTORY_OFFSET + FLS_DIR_TABLES + 4U * FLS_LANGUAGE_COUNT;
    constexpr std::uint32_t kPool = kTable + 4U * (FLS_TEXT_COUNT + 1U);
    std::vector<std::uint8_t> image(FLS_DEFAULT_IMAGE, FLS_DEFAULT_IMAGE + FLS_DIRECTORY_OFFSET);
    const std::uint32_t fields[kSettingBytes] = {FLS_SET_FACTORY,    FLS_SET_CONTRAST,       FLS_SET_BRIGHT_MIN,
                                                 FLS_SET_BRIGHT_MAX, FLS_SET_BRIGHT_DEFAULT, FLS_SET_SAVER_MIN,
                                                 FLS_SET_SAVER_MAX,  FLS_SET_SAVER_DEFAULT};
    for (std::size_t i = 0; i < kSettingBytes; ++i) {
        image[FLS_SETTINGS_OFFSET + fields[i]] = settings[i];
    }
    image.resize(kPool);
    PutU32(image, FLS_DIRECTORY_OFFSET + FLS_DIR_LANGUAGES, FLS_LANGUAGE_COUNT);
    PutU32(image, FLS_DIRECTORY_OFFSET + FLS_DIR_TEXTS, FLS_TEXT_COUNT);
    for (std::uint32_t l = 0; l < FLS_LANGUAGE_COUNT; ++l) {
        PutU32(image, FLS_DIRECTORY_OFFSET + FLS_DIR_TABLES + 4 * l, kTable);
    }
    for (std::uint32_t id = 0; id < FLS_TEXT_COUNT; ++id) {
        PutU32(image, kTable + 4 * id, static_cast<std::uint32_t>(image.size()));
        const std::string& t = id < texts.size() ? texts[id] : std::string();
        image.insert(image.end(), t.begin(), t.end());
    }
    PutU32(image, kTable + 4 * FLS_TEXT_COUNT, static_cast<std::uint32_t>(image.size()));
    return image;
}

} // namespace hostile
