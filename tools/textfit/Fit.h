// Whether a text fits its place, with the real fonts' advances: the places
// table (tools/textfit/places.txt) and the measures the checker applies,
// shared with the screen atlas, which marks overflowing texts on screen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/GUI_Font.h"

namespace textfit {

struct Place {
    std::uint16_t first;
    std::uint16_t last;
    const GUI_FONTDEF* font;
    const char* fontName;
    int width;
    int wrapLines; // 0: every line must fit
};

// Code points of UTF-8 text; 0xFFFF for a byte that starts no character.
std::vector<std::uint16_t> Decode(const std::string& s);
// How much the text exceeds the place: pixels for a line place, lines for a
// wrapped one; 0 when it fits.
int Overflow(const Place& p, const std::vector<std::uint16_t>& codes);
bool ReadPlaces(const std::string& path, std::vector<Place>& places, std::string& error);
// A text's places: every explicit one naming it, else the first default range.
std::vector<const Place*> PlacesOf(const std::vector<Place>& places, std::uint16_t id);

} // namespace textfit
