// The text database as the catalogues give it, its checks, and the outputs
// built from it: the German table and the data-flash image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Po.h"
#include "data/FLS_Layout.h"

namespace flashgen {

struct Language {
    const char* code; // text 393; the catalogue is its lower case + ".po"
    const char* name; // text 394
};
extern const Language kLanguages[FLS_LANGUAGE_COUNT];

inline constexpr std::uint16_t kModelId = 392;
inline constexpr std::uint16_t kCodeId = 393;
inline constexpr std::uint16_t kNameId = 394;
inline constexpr char kModel[] = "Calovatrix 200 KT2A";
// Every text must fit the panel's text buffer with its NUL.
inline constexpr std::size_t kLongestText = 1211;

using Texts = std::vector<std::string>; // by text id

struct Database {
    Texts german;
    // By language index; [0] is German. A text without a translation holds
    // the German one, so every language block is complete.
    std::vector<Texts> languages;
    std::vector<bool> translated;          // per language: a catalogue exists
    std::vector<po::Catalogue> catalogues; // the ones found, German first
};

// catalogues[i] is the catalogue of language i or null; [0] must be German.
bool Assemble(const std::vector<const po::Catalogue*>& catalogues, Database& db, std::string& error);
// Reads <dir>/<code>.po for every language; a .po file of no language is an error.
bool LoadDirectory(const std::string& dir, Database& db, std::string& error);

// Faults of a translation against its German text: pictograms (U+266C to
// U+2674) not in German order or not alone on a line where German has them
// so, format characters German lacks. Empty when fine.
std::vector<std::string> CheckTranslation(const std::string& german, const std::string& translation);
// The longest line, in code points.
std::size_t LongestLine(const std::string& text);

std::vector<std::uint8_t> BuildImage(const Database& db);
std::string GermanTableCpp(const Database& db);
std::string ImageCpp(const std::vector<std::uint8_t>& image);

} // namespace flashgen
