#include "sim/desktop/BuiltinPictures.h"

Picture Unpack(const PackedPicture& packed)
{
    Picture p(packed.width, packed.height);
    std::size_t at = 0;
    for (std::size_t i = 0; i + 1 < packed.runValues; i += 2) {
        const std::uint32_t c = packed.runs[i + 1] < packed.colours ? packed.palette[packed.runs[i + 1]] : 0;
        for (std::uint16_t n = 0; n < packed.runs[i] && at < p.rgb.size(); ++n) {
            p.rgb[at++] = c;
        }
    }
    return p;
}
