// The plant-file reader on arbitrary text: a file is refused with its name,
// an existing line and a message safe for a terminal, leaving the plant as
// it was; or applied, and then the plant's own text reads back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "sim/PlantFile.h"
#include "sim/headless/Words.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    DAT_Image image{};
    const std::string before = PlantFileText(image);
    std::string error;
    if (!PlantFileApply("f.plant", text, image, error)) {
        std::size_t lines = 1;
        for (char c : text) {
            lines += c == '\n' ? 1 : 0;
        }
        const std::size_t colon = error.find(':', 8);
        const std::size_t line = error.rfind("f.plant:", 0) == 0 && colon != std::string::npos
                                     ? std::strtoul(error.c_str() + 8, nullptr, 10)
                                     : 0;
        if (line < 1 || line > lines || Printable(error) != error || PlantFileText(image) != before) {
            std::abort();
        }
        return 0;
    }
    const std::string after = PlantFileText(image);
    DAT_Image again{};
    if (!PlantFileApply("g.plant", after, again, error) || PlantFileText(again) != after) {
        std::abort();
    }
    return 0;
}
