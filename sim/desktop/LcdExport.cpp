#include "sim/desktop/LcdExport.h"

namespace {
void PutLe(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}
} // namespace

std::vector<std::uint8_t> LcdDib555(const std::uint32_t* rgb, int width, int height)
{
    const std::size_t stride = (static_cast<std::size_t>(width) * 2 + 3) & ~std::size_t{3};
    std::vector<std::uint8_t> out;
    out.reserve(40 + stride * height);
    PutLe(out, 40, 4);
    PutLe(out, static_cast<std::uint32_t>(width), 4);
    PutLe(out, static_cast<std::uint32_t>(height), 4); // positive: bottom-up
    PutLe(out, 1, 2);
    PutLe(out, 16, 2);
    PutLe(out, 0, 4); // plain RGB: 5-5-5
    PutLe(out, static_cast<std::uint32_t>(stride * height), 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    PutLe(out, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t start = out.size();
        for (int x = 0; x < width; ++x) {
            PutLe(out, Rgb555(rgb[static_cast<std::size_t>(y) * width + x]), 2);
        }
        out.resize(start + stride, 0);
    }
    return out;
}
