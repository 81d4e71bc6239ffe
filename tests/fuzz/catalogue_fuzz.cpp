// The catalogue reader and the image builder on arbitrary catalogues: read
// as a translation of the real German and as German itself, every image
// built must give back, through the panel's own reader, exactly the texts
// it was built from.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Po.h"
#include "Texts.h"
#include "data/FLS.h"

namespace {

const po::Catalogue& RealGerman()
{
    static const po::Catalogue german = [] {
        po::Catalogue c;
        std::string error;
        if (!po::ParseFile(PANEL_PO_DIR "/de.po", FLS_TEXT_COUNT, c, error)) {
            __builtin_trap();
        }
        return c;
    }();
    return german;
}

void ExpectImageGivesBack(const flashgen::Database& db, std::uint8_t language)
{
    std::vector<std::uint8_t> image = flashgen::BuildImage(db);
    FLS_Attach(image.data(), static_cast<std::uint32_t>(image.size()));
    if (!FLS_TextsValid()) {
        __builtin_trap();
    }
    static char buffer[flashgen::kLongestText + 1];
    for (std::uint16_t id = 0; id < FLS_TEXT_COUNT; ++id) {
        const std::string& want = db.languages[language][id];
        const std::uint16_t n = FLS_GetText(language, id, buffer, sizeof buffer);
        if (std::string_view(buffer, n) != want) {
            __builtin_trap();
        }
    }
    FLS_Attach(nullptr, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const po::Catalogue& german = RealGerman();
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    po::Catalogue cat;
    std::string error;
    if (!po::Parse(text, "fuzz.po", FLS_TEXT_COUNT, cat, error)) {
        if (error.rfind("fuzz.po:", 0) != 0) {
            __builtin_trap();
        }
        return 0;
    }
    for (const po::Entry& e : cat.entries) {
        if (e.id >= FLS_TEXT_COUNT || !po::ValidUtf8(e.msgid) || !po::ValidUtf8(e.msgstr)) {
            __builtin_trap();
        }
        for (const po::Entry& g : german.entries) {
            if (g.id == e.id) {
                (void)flashgen::CheckTranslation(g.msgid, e.msgstr);
            }
        }
        (void)flashgen::LongestLine(e.msgstr);
    }

    // As the translation of the language its text 393 names, else of one
    // chosen by the size, so that the fixed texts meet every language.
    auto language = static_cast<std::uint8_t>(1 + size % (FLS_LANGUAGE_COUNT - 1));
    for (const po::Entry& e : cat.entries) {
        for (std::uint8_t l = 1; l < FLS_LANGUAGE_COUNT && e.id == flashgen::kCodeId; ++l) {
            if (e.msgstr == flashgen::kLanguages[l].code) {
                language = l;
            }
        }
    }
    std::vector<const po::Catalogue*> all(FLS_LANGUAGE_COUNT, nullptr);
    all[0] = &german;
    all[language] = &cat;
    flashgen::Database db;
    if (flashgen::Assemble(all, db, error)) {
        ExpectImageGivesBack(db, language);
    }

    // As German: its entries take the place of the real ones.
    if (!cat.entries.empty()) {
        po::Catalogue de = german;
        for (const po::Entry& e : cat.entries) {
            for (po::Entry& d : de.entries) {
                if (d.id == e.id) {
                    d = e;
                }
            }
        }
        std::vector<const po::Catalogue*> only(FLS_LANGUAGE_COUNT, nullptr);
        only[0] = &de;
        if (flashgen::Assemble(only, db, error)) {
            ExpectImageGivesBack(db, 1);
            (void)flashgen::GermanTableCpp(db);
        }
    }
    return 0;
}
