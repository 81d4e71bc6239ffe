// A strict reader of the PO catalogues under assets/po: just the subset the
// text database uses (msgctxt = text id, msgid = German, msgstr), and it
// refuses everything else with file:line.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace po {

struct Entry {
    std::uint16_t id = 0;
    std::string msgid;  // the German text
    std::string msgstr; // the translation, empty when untranslated
    bool fuzzy = false; // a "#, fuzzy" translation counts as untranslated
    int line = 0;       // of its msgctxt
};

struct Catalogue {
    std::string path;
    std::vector<Entry> entries; // in file order
    int lines = 0;              // lines of the file, for errors about its end
};

// Parses `text` (the whole file) with ids below `idCount`. On a fault returns
// false and sets `error` to "path:line: what".
bool Parse(std::string_view text, const std::string& path, std::uint16_t idCount, Catalogue& out, std::string& error);
bool ParseFile(const std::string& path, std::uint16_t idCount, Catalogue& out, std::string& error);

// True when `s` is well-formed UTF-8 (no overlong forms, no surrogates).
bool ValidUtf8(std::string_view s);

} // namespace po
