// Bitmap fonts: glyph data, glyph lookup and the three fonts of the panel.
#pragma once

#include <cstdint>

// One glyph picture: font height rows of bytesPerRow bytes, 1 bit per
// pixel, most significant bit leftmost, set bit = foreground.
struct GUI_GLYPH {
    std::uint8_t width;
    std::uint8_t advance;
    std::uint8_t bytesPerRow;
    const std::uint8_t* rows;
};

// Glyphs for the codes first..last in order; ranges chain in ascending order.
struct GUI_GLYPH_RANGE {
    std::uint16_t first;
    std::uint16_t last;
    const GUI_GLYPH* glyphs;
    const GUI_GLYPH_RANGE* next;
};

struct GUI_ENCODING;

struct GUI_FONTINFO {
    std::uint16_t flags;
};

inline constexpr std::uint16_t GUI_FONTINFO_PROP = 1;

struct GUI_FONTDEF {
    void (*drawChar)(const GUI_FONTDEF* font, std::uint16_t code);
    int (*charAdvance)(const GUI_FONTDEF* font, std::uint16_t code);
    void (*fontInfo)(const GUI_FONTDEF* font, GUI_FONTINFO* info);
    bool (*hasChar)(const GUI_FONTDEF* font, std::uint16_t code);
    const GUI_ENCODING* encoding; // null: the context's encoding applies
    std::uint8_t height;
    std::uint8_t lineDistance;
    std::uint8_t xMag;
    std::uint8_t yMag;
    const GUI_GLYPH_RANGE* firstRange;
    std::uint8_t baseline;
    std::uint8_t lowercaseHeight;
    std::uint8_t capitalHeight;
};

// nullptr when no range of the font covers the code.
const GUI_GLYPH* GUI_FontGlyph(const GUI_FONTDEF* font, std::uint16_t code);
// Advance in pixels times the x magnification; 0 when the font has no glyph.
int GUI_FontAdvance(const GUI_FONTDEF* font, std::uint16_t code);
bool GUI_FontHasGlyph(const GUI_FONTDEF* font, std::uint16_t code);
// Every font of the panel is proportional.
void GUI_FontInfo(const GUI_FONTDEF* font, GUI_FONTINFO* info);
// Draws at the text position; the drawing layer supplies the body.
void GUI_FontDrawChar(const GUI_FONTDEF* font, std::uint16_t code);

// Generated data in gui/generated/.
extern const GUI_FONTDEF GUI_Font8;
extern const GUI_FONTDEF GUI_Font20;
extern const GUI_FONTDEF GUI_Font32;

const GUI_FONTDEF* TXT_FontSmall();
const GUI_FONTDEF* TXT_FontNormal();
const GUI_FONTDEF* TXT_FontLarge();
// Make a font current; each returns the previous one.
const GUI_FONTDEF* TXT_UseFontSmall();
const GUI_FONTDEF* TXT_UseFontNormal();
const GUI_FONTDEF* TXT_UseFontLarge();
