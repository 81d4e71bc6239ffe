// The screen atlas: every path of the table walked in every language, its
// screen as pictures, its help page, the texts that overflow their place.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Paths.h"
#include "States.h"
#include "gui/GUI.h"

namespace atlas {

struct LanguageInfo {
    std::uint8_t index; // the panel's language number
    std::string code;   // lower case: the folder of its pictures
    std::string name;
};
// The panel's 19 languages.
std::vector<LanguageInfo> AllLanguages();

struct OverflowMark {
    std::uint16_t id;
    int over;       // pixels, or lines for a wrapped place
    bool lines;     // `over` counts lines
    bool germanToo; // German overflows there as well
    GUI_BOX box;    // where it is drawn
    std::string text;
};

// One path in one language.
struct Shot {
    std::string language; // code
    std::string block;    // Block::id()
    bool reached = false; // the path's state was active at its end
    std::string shown;    // the innermost screen state at the end
    std::string failure;
    bool hasHelp = false; // HELP showed a help page
    std::string helpTitle;
    std::string helpBody;
    std::vector<OverflowMark> overflows;
};

std::string Serialise(const Shot& s);
// Reads shots written by Serialise, one after the other.
std::vector<Shot> Deserialise(const std::string& text);

struct Summary {
    std::vector<DefinedState> defined;
    int reached = 0; // defined states whose every walk reached them in every language
    std::vector<std::string> notReached;
    double seconds = 0;
    int processes = 1;
};

// index.html in `out`: the screens grouped by their place in the menu tree.
bool WriteIndex(const std::string& out, const Table& table, const std::vector<LanguageInfo>& languages,
                const std::vector<Shot>& shots, const Summary& summary, std::string& error);

} // namespace atlas
