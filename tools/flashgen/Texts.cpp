#include "Texts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>

namespace flashgen {

const Language kLanguages[FLS_LANGUAGE_COUNT] = {
    {"DE", "Deutsch"},   {"CZ", "Česky"},     {"DK", "Dansk"},      {"GB", "English"},  {"ES", "Español"},
    {"EE", "Estnisch"},  {"FR", "Français"},  {"HR", "Hrvatski"},   {"IT", "Italiano"}, {"LV", "Lettisch"},
    {"LT", "Litauisch"}, {"HU", "magyar"},    {"NL", "Nederlands"}, {"PL", "Polski"},   {"RU", "Русский"},
    {"RO", "Română"},    {"SL", "Slovensko"}, {"SE", "Svenska"},    {"TR", "Türkçe"},
};

namespace {

std::string Where(const po::Catalogue& c, int line)
{
    return c.path + ":" + std::to_string(line) + ": ";
}

std::string Lower(std::string out)
{
    for (char& c : out) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return out;
}

// Code points of a UTF-8 string (already validated).
std::vector<std::uint32_t> CodePoints(const std::string& s)
{
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        const int more = b < 0x80 ? 0 : b < 0xE0 ? 1 : b < 0xF0 ? 2 : 3;
        std::uint32_t cp = more == 0 ? b : b & (0x3F >> more);
        for (int k = 1; k <= more && i + static_cast<std::size_t>(k) < s.size(); ++k) {
            cp = (cp << 6) | (static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        out.push_back(cp);
        i += static_cast<std::size_t>(more) + 1;
    }
    return out;
}

bool IsPictogram(std::uint32_t cp)
{
    return cp >= 0x266C && cp <= 0x2674;
}

// Pictograms in order; a pictogram alone on its line (blanks aside) is marked.
std::vector<std::pair<std::uint32_t, bool>> Pictograms(const std::string& s)
{
    std::vector<std::pair<std::uint32_t, bool>> out;
    const auto cps = CodePoints(s);
    std::size_t lineStart = 0;
    for (std::size_t i = 0; i <= cps.size(); ++i) {
        if (i < cps.size() && cps[i] != '\n') {
            continue;
        }
        std::size_t count = 0, others = 0;
        for (std::size_t k = lineStart; k < i; ++k) {
            if (IsPictogram(cps[k])) {
                ++count;
            } else if (cps[k] != ' ') {
                ++others;
            }
        }
        for (std::size_t k = lineStart; k < i; ++k) {
            if (IsPictogram(cps[k])) {
                out.emplace_back(cps[k], count == 1 && others == 0);
            }
        }
        lineStart = i + 1;
    }
    return out;
}

// printf conversions in order ("%" alone, as in the unit "%", is none).
std::vector<std::string> Conversions(const std::string& s)
{
    std::vector<std::string> out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            continue;
        }
        std::size_t k = i + 1;
        while (k < s.size() && std::strchr("-+ #0123456789.hlLjzt", s[k]) != nullptr) {
            ++k;
        }
        if (k < s.size() && std::strchr("diouxXeEfgGcspn%", s[k]) != nullptr) {
            out.push_back(s.substr(i, k - i + 1));
            i = k;
        }
    }
    return out;
}

std::string Escape(const std::string& s)
{
    std::string out;
    for (const char c : s) {
        switch (c) {
        case '\n':
            out += "\\n";
            break;
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        default:
            out += c;
        }
    }
    return out;
}

void PutU32(std::vector<std::uint8_t>& img, std::size_t at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k) {
        img[at + static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(v >> (8 * k));
    }
}

void PutString(std::vector<std::uint8_t>& img, std::size_t at, const char* s)
{
    std::memcpy(&img[at], s, std::strlen(s));
}

} // namespace

std::size_t LongestLine(const std::string& text)
{
    std::size_t longest = 0, current = 0;
    for (const std::uint32_t cp : CodePoints(text)) {
        current = cp == '\n' ? 0 : current + 1;
        longest = std::max(longest, current);
    }
    return longest;
}

std::vector<std::string> CheckTranslation(const std::string& german, const std::string& translation)
{
    std::vector<std::string> faults;
    const auto want = Pictograms(german);
    const auto got = Pictograms(translation);
    std::vector<std::uint32_t> wantOrder, gotOrder;
    for (const auto& p : want) {
        wantOrder.push_back(p.first);
    }
    for (const auto& p : got) {
        gotOrder.push_back(p.first);
    }
    if (wantOrder != gotOrder) {
        faults.push_back("key pictograms differ from the German text's");
    } else {
        for (std::size_t i = 0; i < want.size(); ++i) {
            if (want[i].second != got[i].second) {
                char cp[16];
                std::snprintf(cp, sizeof cp, "U+%04X", want[i].first);
                faults.push_back(std::string("pictogram ") + cp +
                                 (want[i].second ? " must stand alone on its line" : " stands alone on a line"));
            }
        }
    }
    if (german.find('%') == std::string::npos && translation.find('%') != std::string::npos) {
        faults.push_back("'%' in a text whose German has none");
    } else if (Conversions(german) != Conversions(translation)) {
        faults.push_back("printf placeholders differ from the German text's");
    }
    for (const char c : translation) {
        if ((static_cast<unsigned char>(c) < 0x20 && c != '\n') || c == 0x7F) {
            faults.push_back("control character other than a line break");
            break;
        }
    }
    return faults;
}

bool Assemble(const std::vector<const po::Catalogue*>& catalogues, Database& db, std::string& error)
{
    if (catalogues.size() != FLS_LANGUAGE_COUNT || catalogues[0] == nullptr) {
        error = "the German catalogue (de.po) is missing";
        return false;
    }
    const po::Catalogue& de = *catalogues[0];
    db.german.assign(FLS_TEXT_COUNT, std::string());
    std::vector<bool> have(FLS_TEXT_COUNT, false);
    for (const po::Entry& e : de.entries) {
        if (!e.msgstr.empty() && e.msgstr != e.msgid) {
            error = Where(de, e.line) + "German msgstr must repeat msgid (or stay empty)";
            return false;
        }
        db.german[e.id] = e.msgid;
        have[e.id] = true;
    }
    std::string missing;
    for (std::uint16_t id = 0; id < FLS_TEXT_COUNT; ++id) {
        if (!have[id]) {
            missing += (missing.empty() ? "" : ", ") + std::to_string(id);
        }
    }
    if (!missing.empty()) {
        error = Where(de, de.lines) + "German text ids missing: " + missing;
        return false;
    }
    // Untranslated texts, and whole languages without a catalogue, take the
    // German text: every block is complete and the panel readable in any
    // language, while texts 393 and 394 still name the language itself.
    db.languages.assign(FLS_LANGUAGE_COUNT, db.german);
    db.translated.assign(FLS_LANGUAGE_COUNT, false);
    db.translated[0] = true;
    for (std::uint8_t lang = 0; lang < FLS_LANGUAGE_COUNT; ++lang) {
        Texts& texts = db.languages[lang];
        if (lang > 0 && catalogues[lang] != nullptr) {
            const po::Catalogue& c = *catalogues[lang];
            db.translated[lang] = true;
            for (const po::Entry& e : c.entries) {
                if (e.msgid != db.german[e.id]) {
                    error = Where(c, e.line) + "msgid is not the German text of id " + std::to_string(e.id);
                    return false;
                }
                if (!e.msgstr.empty() && !e.fuzzy) {
                    texts[e.id] = e.msgstr;
                }
            }
            const char* fixed[] = {kModel, kLanguages[lang].code, kLanguages[lang].name};
            for (const po::Entry& e : c.entries) {
                if (e.id >= kModelId && !e.msgstr.empty() && e.msgstr != fixed[e.id - kModelId]) {
                    error = Where(c, e.line) + "text " + std::to_string(e.id) + " must be \"" + fixed[e.id - kModelId] +
                            "\"";
                    return false;
                }
            }
        }
        texts[kModelId] = kModel;
        texts[kCodeId] = kLanguages[lang].code;
        texts[kNameId] = kLanguages[lang].name;
        for (std::uint16_t id = 0; id < FLS_TEXT_COUNT; ++id) {
            if (texts[id].size() > kLongestText) {
                error = std::string(kLanguages[lang].code) + ": text " + std::to_string(id) + " has " +
                        std::to_string(texts[id].size()) + " bytes; the panel's buffer holds " +
                        std::to_string(kLongestText);
                return false;
            }
        }
    }
    return true;
}

bool LoadDirectory(const std::string& dir, Database& db, std::string& error)
{
    namespace fs = std::filesystem;
    std::map<std::string, std::uint8_t> byFile;
    for (std::uint8_t lang = 0; lang < FLS_LANGUAGE_COUNT; ++lang) {
        byFile[Lower(kLanguages[lang].code) + ".po"] = lang;
    }
    // Every name that looks like a catalogue must be one: nothing is skipped
    // silently.
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        const fs::path& path = it->path();
        if (Lower(path.extension().string()) != ".po") {
            continue;
        }
        const std::string name = path.filename().string();
        const std::string lower = Lower(name);
        if (byFile.count(lower) == 0) {
            error = path.string() + ":0: no language has the code of this catalogue";
            return false;
        }
        if (name != lower) {
            error = path.string() + ":0: catalogue names are lower case (" + lower + ")";
            return false;
        }
    }
    if (ec) {
        error = dir + ":0: cannot read the folder: " +
                (ec == std::errc::too_many_symbolic_link_levels ? "a loop of symbolic links" : ec.message());
        return false;
    }
    db.catalogues.clear();
    db.catalogues.reserve(FLS_LANGUAGE_COUNT);
    std::vector<const po::Catalogue*> byLanguage(FLS_LANGUAGE_COUNT, nullptr);
    for (std::uint8_t lang = 0; lang < FLS_LANGUAGE_COUNT; ++lang) {
        const fs::path path = fs::path(dir) / (Lower(kLanguages[lang].code) + ".po");
        // Only a name that is not there at all means "no catalogue"; a link
        // to nothing is read, and refused, like any other unreadable file.
        if (fs::symlink_status(path, ec).type() == fs::file_type::not_found) {
            continue;
        }
        db.catalogues.emplace_back();
        if (!po::ParseFile(path.string(), FLS_TEXT_COUNT, db.catalogues.back(), error)) {
            return false;
        }
        byLanguage[lang] = &db.catalogues.back();
    }
    return Assemble(byLanguage, db, error);
}

std::vector<std::uint8_t> BuildImage(const Database& db)
{
    std::vector<std::uint8_t> img(FLS_DIRECTORY_OFFSET + FLS_DIR_TABLES + 4U * FLS_LANGUAGE_COUNT, 0);
    PutString(img, 0, FLS_MAGIC);
    PutU32(img, FLS_AT_DIRECTORY, FLS_DIRECTORY_OFFSET);
    PutU32(img, FLS_AT_SETTINGS, FLS_SETTINGS_OFFSET);
    PutU32(img, FLS_AT_VALID, FLS_VALID_MARK);

    // Factory settings as delivered.
    const std::size_t s = FLS_SETTINGS_OFFSET;
    PutU32(img, s, FLS_SETTINGS_LENGTH);
    PutString(img, s + FLS_SET_IDENT, "5170791000000000");
    PutString(img, s + FLS_SET_IDENT2, "0000000");
    PutString(img, s + FLS_SET_IDENT3, "0000000");
    img[s + FLS_SET_FACTORY] = 5;
    img[s + FLS_SET_CONTRAST] = 46;
    img[s + FLS_SET_BRIGHT_MIN] = 30;
    img[s + FLS_SET_BRIGHT_MAX] = 200;
    img[s + FLS_SET_BRIGHT_DEFAULT] = 120;
    img[s + FLS_SET_SAVER_MIN] = 2;
    img[s + FLS_SET_SAVER_MAX] = 20;
    img[s + FLS_SET_SAVER_DEFAULT] = 10;

    const std::size_t dir = FLS_DIRECTORY_OFFSET;
    PutU32(img, dir + FLS_DIR_LANGUAGES, FLS_LANGUAGE_COUNT);
    PutU32(img, dir + FLS_DIR_TEXTS, FLS_TEXT_COUNT);
    // German is built in: its directory entry repeats language 1's.
    for (std::uint8_t lang = 1; lang < FLS_LANGUAGE_COUNT; ++lang) {
        const std::size_t table = img.size();
        PutU32(img, dir + FLS_DIR_TABLES + 4U * lang, static_cast<std::uint32_t>(table));
        if (lang == 1) {
            PutU32(img, dir + FLS_DIR_TABLES, static_cast<std::uint32_t>(table));
        }
        img.resize(table + 4U * (FLS_TEXT_COUNT + 1U), 0);
        for (std::uint16_t id = 0; id <= FLS_TEXT_COUNT; ++id) {
            PutU32(img, table + 4U * id, static_cast<std::uint32_t>(img.size()));
            if (id < FLS_TEXT_COUNT) {
                const std::string& t = db.languages[lang][id];
                img.insert(img.end(), t.begin(), t.end());
            }
        }
    }
    return img;
}

std::string GermanTableCpp(const Database& db)
{
    std::string out = "// Generated by tools/flashgen from assets/po/de.po: do not edit.\n"
                      "#include \"data/TXT_Generated.h\"\n\n"
                      "const char* const TXT_GERMAN[FLS_TEXT_COUNT] = {\n";
    for (std::uint16_t id = 0; id < FLS_TEXT_COUNT; ++id) {
        out += "    /* " + std::to_string(id) + " */ \"" + Escape(db.german[id]) + "\",\n";
    }
    out += "};\n";
    return out;
}

std::string ImageCpp(const std::vector<std::uint8_t>& image)
{
    std::string out = "// Generated by tools/flashgen from assets/po/*.po: do not edit.\n"
                      "#include \"data/TXT_Generated.h\"\n\n"
                      "alignas(4) const std::uint8_t FLS_DEFAULT_IMAGE[] = {\n";
    out.reserve(out.size() + image.size() * 5);
    char cell[8];
    for (std::size_t i = 0; i < image.size(); ++i) {
        std::snprintf(cell, sizeof cell, "%u,", image[i]);
        out += cell;
        if (i % 32 == 31) {
            out += '\n';
        }
    }
    out += "\n};\nconst std::uint32_t FLS_DEFAULT_IMAGE_SIZE = sizeof FLS_DEFAULT_IMAGE;\n";
    return out;
}

} // namespace flashgen
