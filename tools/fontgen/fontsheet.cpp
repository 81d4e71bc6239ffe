// Character sheet of the panel fonts for review: every glyph in its cell,
// cells shaded alternately so the advances show, and a few sample lines.
//
// Usage: fontsheet OUT.png [8|20|32 [SCALE [FIRST LAST]]]  (codes in hex)

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <png.h>
#include <string>
#include <vector>

#include "gui/GUI_Font.h"

namespace {

struct Image {
    int w;
    int h;
    std::vector<std::uint32_t> px;
    Image(int width, int height) : w(width), h(height), px(static_cast<std::size_t>(width * height), 0xFFFFFF) {}
    void fill(int x0, int y0, int x1, int y1, std::uint32_t c)
    {
        for (int y = y0; y < y1; ++y) {
            for (int x = x0; x < x1; ++x) {
                if (x >= 0 && y >= 0 && x < w && y < h) {
                    px[static_cast<std::size_t>(y * w + x)] = c;
                }
            }
        }
    }
};

std::vector<std::uint16_t> decode(const char* s)
{
    std::vector<std::uint16_t> codes;
    const auto* p = reinterpret_cast<const unsigned char*>(s);
    while (*p != 0) {
        if (*p < 0x80) {
            codes.push_back(*p++);
        } else if ((*p & 0xE0) == 0xC0) {
            codes.push_back(static_cast<std::uint16_t>(((p[0] & 0x1F) << 6) | (p[1] & 0x3F)));
            p += 2;
        } else {
            codes.push_back(static_cast<std::uint16_t>(((p[0] & 0x0F) << 12) | ((p[1] & 0x3F) << 6) | (p[2] & 0x3F)));
            p += 3;
        }
    }
    return codes;
}

// Draws one glyph with its cell shaded; returns its advance.
int drawGlyph(Image& img, const GUI_FONTDEF* font, std::uint16_t code, int x, int y, int scale, std::uint32_t shade)
{
    const GUI_GLYPH* g = GUI_FontGlyph(font, code);
    if (g == nullptr) {
        return 0;
    }
    if (shade != 0xFFFFFF) {
        img.fill(x, y, x + g->width * scale, y + font->height * scale, shade);
    }
    for (int row = 0; row < font->height; ++row) {
        for (int col = 0; col < g->width; ++col) {
            if ((g->rows[row * g->bytesPerRow + col / 8] & (0x80 >> (col % 8))) != 0) {
                img.fill(x + col * scale, y + row * scale, x + (col + 1) * scale, y + (row + 1) * scale, 0x000000);
            }
        }
    }
    return g->advance;
}

int drawText(Image& img, const GUI_FONTDEF* font, const char* text, int x, int y, int scale)
{
    for (const std::uint16_t c : decode(text)) {
        x += drawGlyph(img, font, c, x, y, scale, 0xFFFFFF) * scale;
    }
    return x;
}

struct Section {
    const GUI_FONTDEF* font;
    int scale;
    std::vector<const char*> samples;
};

int kPerRow = 32;
unsigned gFirst = 0;
unsigned gLast = 0xFFFF;

bool shown(unsigned c)
{
    return c >= gFirst && c <= gLast;
}
constexpr int kMargin = 12;

int sectionHeight(const Section& s)
{
    int glyphs = 0;
    for (const GUI_GLYPH_RANGE* r = s.font->firstRange; r != nullptr; r = r->next) {
        for (unsigned c = r->first; c <= r->last; ++c) {
            glyphs += shown(c) ? 1 : 0;
        }
    }
    const int line = (s.font->height + 2) * s.scale;
    return static_cast<int>(s.samples.size()) * line + ((glyphs + kPerRow - 1) / kPerRow) * line + 2 * kMargin;
}

int sectionWidth(const Section& s)
{
    int widest = 0;
    for (const GUI_GLYPH_RANGE* r = s.font->firstRange; r != nullptr; r = r->next) {
        for (int i = 0; i <= r->last - r->first; ++i) {
            if (shown(r->first + static_cast<unsigned>(i))) {
                widest = std::max<int>(widest, r->glyphs[i].width);
            }
        }
    }
    return kPerRow * (widest + 2) * s.scale + 2 * kMargin;
}

int drawSection(Image& img, const Section& s, int y)
{
    const int line = (s.font->height + 2) * s.scale;
    y += kMargin;
    for (const char* sample : s.samples) {
        drawText(img, s.font, sample, kMargin, y, s.scale);
        y += line;
    }
    int widest = 0;
    for (const GUI_GLYPH_RANGE* r = s.font->firstRange; r != nullptr; r = r->next) {
        for (int i = 0; i <= r->last - r->first; ++i) {
            if (shown(r->first + static_cast<unsigned>(i))) {
                widest = std::max<int>(widest, r->glyphs[i].width);
            }
        }
    }
    int n = 0;
    for (const GUI_GLYPH_RANGE* r = s.font->firstRange; r != nullptr; r = r->next) {
        for (unsigned c = r->first; c <= r->last; ++c) {
            if (!shown(c)) {
                continue;
            }
            ++n;
            const int x = kMargin + ((n - 1) % kPerRow) * (widest + 2) * s.scale;
            const int gy = y + ((n - 1) / kPerRow) * line;
            drawGlyph(img, s.font, static_cast<std::uint16_t>(c), x, gy, s.scale, n % 2 == 0 ? 0xD8E8FF : 0xFFE8C8);
        }
    }
    return y + ((n + kPerRow - 1) / kPerRow) * line + kMargin;
}

bool writePng(const Image& img, const char* path)
{
    FILE* f = std::fopen(path, "wb");
    if (f == nullptr) {
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(img.w), static_cast<png_uint_32>(img.h), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<std::size_t>(img.w) * 3);
    for (int y = 0; y < img.h; ++y) {
        for (int x = 0; x < img.w; ++x) {
            const std::uint32_t c = img.px[static_cast<std::size_t>(y * img.w + x)];
            row[static_cast<std::size_t>(x) * 3] = static_cast<png_byte>(c >> 16);
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<png_byte>(c >> 8);
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<png_byte>(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace

// The sheet reads the glyph rows itself; the fonts' draw operation is the
// drawing layer's, which this tool does not link.
void GUI_FontDrawChar(const GUI_FONTDEF*, std::uint16_t) {}

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: fontsheet OUT.png [8|20|32 [SCALE [FIRST LAST]]]\n");
        return 2;
    }
    const std::vector<const char*> samples = {
        "Übernommen: Heizkreis 1, Warmwasser 55,5 °C, Außentemperatur -12 °C",
        "Отопление, горячая вода; Опалення, гаряча вода; Жылыту, ыстық су",
        "Čeština, Łódź, Ñandú, Ærø, Göteborg, Şişli, Œuvre — 0123456789 %/:",
    };
    std::vector<Section> sections = {
        {TXT_FontSmall(), 4, samples},
        {TXT_FontNormal(),
         2,
         {samples[0], samples[1],
          "Tasten \xE2\x99\xAC Kreis \xE2\x99\xAD  \xE2\x99\xAE \xE2\x99\xAF "
          "\xE2\x99\xB0 \xE2\x99\xB1 \xE2\x99\xB2 \xE2\x99\xB3 \xE2\x99\xB4"}},
        {TXT_FontLarge(), 2, {"Übernommen 55,5 °C", "Горячая вода 12:30"}},
    };
    if (argc >= 3) {
        const std::string which = argv[2];
        Section s = which == "8" ? sections[0] : which == "20" ? sections[1] : sections[2];
        if (argc >= 4) {
            s.scale = std::atoi(argv[3]);
        }
        if (argc >= 6) {
            gFirst = static_cast<unsigned>(std::strtoul(argv[4], nullptr, 16));
            gLast = static_cast<unsigned>(std::strtoul(argv[5], nullptr, 16));
            kPerRow = 16;
            s.samples.clear();
        }
        sections = {s};
    }
    int w = 0;
    int h = 0;
    for (const Section& s : sections) {
        w = std::max(w, sectionWidth(s));
        h += sectionHeight(s);
    }
    Image img(w, h);
    int y = 0;
    for (const Section& s : sections) {
        const int y1 = drawSection(img, s, y);
        img.fill(0, y1 - 1, w, y1, 0x808080);
        y = y1;
    }
    if (!writePng(img, argv[1])) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
