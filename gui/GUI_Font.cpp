// Glyph lookup over a font's range chain.
#include "gui/GUI_Font.h"

const GUI_GLYPH* GUI_FontGlyph(const GUI_FONTDEF* font, std::uint16_t code)
{
    for (const GUI_GLYPH_RANGE* range = font->firstRange; range != nullptr; range = range->next) {
        if (code >= range->first && code <= range->last) {
            return &range->glyphs[code - range->first];
        }
    }
    return nullptr;
}

int GUI_FontAdvance(const GUI_FONTDEF* font, std::uint16_t code)
{
    const GUI_GLYPH* glyph = GUI_FontGlyph(font, code);
    return glyph != nullptr ? glyph->advance * font->xMag : 0;
}

bool GUI_FontHasGlyph(const GUI_FONTDEF* font, std::uint16_t code)
{
    return GUI_FontGlyph(font, code) != nullptr;
}

void GUI_FontInfo(const GUI_FONTDEF* /*font*/, GUI_FONTINFO* info)
{
    info->flags = GUI_FONTINFO_PROP;
}

const GUI_FONTDEF* TXT_FontSmall()
{
    return &GUI_Font8;
}

const GUI_FONTDEF* TXT_FontNormal()
{
    return &GUI_Font20;
}

const GUI_FONTDEF* TXT_FontLarge()
{
    return &GUI_Font32;
}
