// What texts the screen shows and where: the atlas's executable is linked
// with the text lookup and the text drawing calls wrapped (ld --wrap; see
// atlas.cmake), so it sees every text id the screens fetch and every text
// they draw, with its box, without a hook in the panel.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gui/GUI.h"

namespace atlas::capture {

struct Drawn {
    std::string text; // as drawn (a paged line: just that line)
    GUI_BOX box;      // the box it was drawn in
    int align;
    std::vector<std::uint16_t> ids; // the texts it shows, newest fetch first; empty: none (a number)
};

struct Fetched {
    std::uint16_t id;
    std::string text;
};

// Forgets everything (a new walk).
void Reset();
// Texts drawn since the last full erase and not erased or overdrawn since.
std::vector<Drawn> OnScreen();
// Every text fetched since Reset, in order.
const std::vector<Fetched>& Fetches();

} // namespace atlas::capture
