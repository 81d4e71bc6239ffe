// Texts, languages and the data flash; the catalogue reader and the image
// that tools/flashgen builds from the catalogues.
#include <cstring>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#include "Po.h"
#include "Texts.h"
#include "data/DAT.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "data/TXT_Generated.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "support/Harness.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& img, std::uint32_t at)
{
    return img[at] | (img[at + 1] << 8) | (img[at + 2] << 16) | (std::uint32_t{img[at + 3]} << 24);
}

void PutU32(std::vector<std::uint8_t>& img, std::uint32_t at, std::uint32_t v)
{
    for (int k = 0; k < 4; ++k) {
        img.at(at + k) = static_cast<std::uint8_t>(v >> (8 * k));
    }
}

std::vector<std::uint8_t> Delivered()
{
    return {FLS_DEFAULT_IMAGE, FLS_DEFAULT_IMAGE + FLS_DEFAULT_IMAGE_SIZE};
}

std::uint32_t TableOf(const std::vector<std::uint8_t>& img, std::uint8_t language)
{
    return U32(img, FLS_DIRECTORY_OFFSET + FLS_DIR_TABLES + 4U * language);
}

std::string Copy(std::uint16_t id, std::uint16_t size)
{
    std::vector<char> buffer(size + 1U, 'x');
    const std::uint16_t n = TXT_CopyText(id, buffer.data(), size);
    EXPECT_EQ(buffer[n], size == 0 ? 'x' : '\0'); // size 0 writes nothing
    return std::string(buffer.data(), n);
}

// The panel's tasks run (error reports reach the recorder), and the image
// is an exact-size copy, so the sanitizers see any read beyond it.
class Texts : public ::testing::Test {
  protected:
    Texts()
    {
        TXT_ClearBuffer();
        DAT_SetCircuitLabel(1, nullptr, 0, 0);
        DAT_SetCircuitLabel(2, nullptr, 0, 0);
        Use(Delivered());
    }
    ~Texts() override { FLS_PowerOn(); }

    void Use(std::vector<std::uint8_t> img)
    {
        image = std::move(img);
        FLS_Attach(image.data(), static_cast<std::uint32_t>(image.size()));
    }
    bool ErrorReported(std::uint32_t par)
    {
        h.advance(1);
        for (const Recorded& r : h.events()) {
            if (r.sig == SIG_BED_ERROR_RESET && r.par == par) {
                return true;
            }
        }
        return false;
    }

    Harness h;
    std::vector<std::uint8_t> image;
};

TEST_F(Texts, NoTextIsEmptyAndNoError)
{
    EXPECT_STREQ(TXT_GetText(TXT_NONE), "");
    EXPECT_FALSE(ErrorReported(129));
}

TEST_F(Texts, IdBeyondTheTableIsEmptyAndReportsError129)
{
    TXT_GetText(5);
    EXPECT_STREQ(TXT_GetText(395), "");
    EXPECT_TRUE(ErrorReported(129));
    h.clearEvents();
    char untouched[4] = "abc";
    EXPECT_EQ(TXT_CopyText(0x8000, untouched, 0), 0);
    EXPECT_STREQ(untouched, "abc");
    EXPECT_TRUE(ErrorReported(129));
}

TEST_F(Texts, LanguagesSeparatorsAndTheMirror)
{
    EXPECT_STREQ(TXT_GetText(5), "Abgasprüfung");
    EXPECT_EQ(TXT_GetDecimalSeparator(), ',');
    TXT_SetLanguage(3);
    EXPECT_EQ(DAT_GetLanguageByte(), 3);
    EXPECT_STREQ(TXT_GetText(5), "Flue gas test");
    EXPECT_STREQ(TXT_GetText(393), "GB");
    EXPECT_STREQ(TXT_GetText(394), "English");
    EXPECT_STREQ(TXT_GetText(392), "Calovatrix 200 KT2A");
    EXPECT_EQ(TXT_GetDecimalSeparator(), '.');
    TXT_SetLanguage(18);
    EXPECT_STRNE(TXT_GetText(5), "Abgasprüfung");
    EXPECT_STREQ(TXT_GetText(394), "Türkçe");
    TXT_SetLanguage(19);
    EXPECT_EQ(TXT_GetLanguage(), 0);
    EXPECT_EQ(DAT_GetLanguageByte(), 0);
    TXT_SetLanguage(5);
    TXT_ClearBuffer();
    EXPECT_EQ(TXT_GetLanguage(), 0);
}

TEST_F(Texts, WithoutTheValidMarkEveryLanguageIsGerman)
{
    const std::uint32_t cleared = 0;
    ASSERT_EQ(FLS_Write(&cleared, FLS_AT_VALID, 4), 4U);
    TXT_SetLanguage(3);
    EXPECT_FALSE(FLS_TextsValid());
    EXPECT_STREQ(TXT_GetText(5), "Abgasprüfung");
    EXPECT_STREQ(TXT_GetText(394), "Deutsch");
}

TEST_F(Texts, CircuitLabelAppliesOnlyInTheLanguageItWasEnteredIn)
{
    const std::uint16_t kueche[] = {'K', 0xFC, 'c', 'h', 'e'};
    DAT_SetCircuitLabel(1, kueche, 5, 3);
    TXT_SetLanguage(3);
    EXPECT_STREQ(TXT_GetText(116), "Küche");
    EXPECT_STREQ(TXT_GetText(117), "Heating circuit 2");
    TXT_SetLanguage(0);
    EXPECT_STREQ(TXT_GetText(116), "Heizkreis 1");
    TXT_SetLanguage(6);
    EXPECT_STRNE(TXT_GetText(116), "Küche"); // French: the label was entered in English
    // Full 20 units, a surrogate pair and a lone surrogate.
    const std::uint16_t odd[20] = {0xD83D, 0xDD25, 0xDC00, 'a', 'b', 'c', 'd', 'e', 'f', 'g',
                                   'h',    'i',    'j',    'k', 'l', 'm', 'n', 'o', 'p', 'q'};
    DAT_SetCircuitLabel(2, odd, 20, 0);
    TXT_SetLanguage(0);
    EXPECT_STREQ(TXT_GetText(117), "\xF0\x9F\x94\xA5\xEF\xBF\xBD"
                                   "abcdefghijklmnopq");
    EXPECT_EQ(Copy(117, 5), "\xF0\x9F\x94\xA5");
    EXPECT_EQ(Copy(117, 0), "");
}

TEST_F(Texts, CopiesHonourTheCallersSize)
{
    EXPECT_EQ(Copy(313, 20), std::string(TXT_GERMAN[313], 19));
    EXPECT_EQ(Copy(5, 1), "");
    EXPECT_EQ(Copy(5, 0), "");
    TXT_SetLanguage(3);
    EXPECT_EQ(Copy(5, 20), "Flue gas test");
    EXPECT_EQ(Copy(313, 20).size(), 19U);
    EXPECT_EQ(Copy(313, 0), "");
    // The longest help text fits the shared buffer whole.
    EXPECT_GT(std::strlen(TXT_GetText(313)), 600U);
    EXPECT_EQ(TXT_GetText(313)[std::strlen(TXT_GetText(313)) - 1], '.');
}

TEST_F(Texts, MalformedImagesGiveEmptyTexts)
{
    const std::vector<std::uint8_t> good = Delivered();
    const std::uint32_t dir = FLS_DIRECTORY_OFFSET;
    const std::uint32_t gb = TableOf(good, 3);
    const std::uint32_t size = static_cast<std::uint32_t>(good.size());
    struct Damage {
        const char* what;
        std::uint32_t at;
        std::uint32_t value;
    };
    const Damage damages[] = {
        {"directory past the end", FLS_AT_DIRECTORY, size - 4},
        {"directory offset near 4 GiB", FLS_AT_DIRECTORY, 0xFFFFFFFE},
        {"language table outside", dir + FLS_DIR_TABLES + 12, size + 100},
        {"table offset wrapping 32 bits", dir + FLS_DIR_TABLES + 12, 0xFFFFFFF0},
        {"text end past the image", gb + 4 * 6, size + 1},
        {"text start past the image", gb + 4 * 5, 0xFFFFFF00},
        {"text end before its start", gb + 4 * 6, U32(good, gb + 4 * 5) - 1},
    };
    for (const Damage& d : damages) {
        std::vector<std::uint8_t> bad = good;
        PutU32(bad, d.at, d.value);
        Use(bad);
        TXT_SetLanguage(3);
        EXPECT_STREQ(TXT_GetText(5), "") << d.what;
    }
    // Huge counts let a language or id far beyond the directory or table
    // through to their reads (the image ends after the directory here).
    std::vector<std::uint8_t> bad(good.begin(), good.begin() + TableOf(good, 1));
    PutU32(bad, dir + FLS_DIR_LANGUAGES, 0xFFFFFFFF);
    PutU32(bad, dir + FLS_DIR_TEXTS, 0xFFFFFFFF);
    Use(bad);
    char text[64] = "x";
    EXPECT_EQ(FLS_GetText(200, 5, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    text[0] = 'x';
    EXPECT_EQ(FLS_GetText(3, 0xFFFE, text, sizeof text), 0);
    EXPECT_STREQ(text, "");
    // Cut images: German while the mark is cut off, then each text is whole
    // or empty, never read beyond.
    for (const std::uint32_t cut : {0U, 3U, 0x1BU, dir + 6, gb + 8, U32(good, gb + 4 * 313) + 10}) {
        Use(std::vector<std::uint8_t>(good.begin(), good.begin() + cut));
        TXT_SetLanguage(3);
        for (std::uint16_t id = 0; id < TXT_COUNT; ++id) {
            const std::uint32_t from = U32(good, gb + 4 * id), to = U32(good, gb + 4 * id + 4);
            const std::string whole = cut < 0x1C ? TXT_GERMAN[id]
                                      : to <= cut && gb + 4 * id + 8 <= cut
                                          ? std::string(good.begin() + from, good.begin() + to)
                                          : "";
            ASSERT_EQ(TXT_GetText(id), whole) << "cut " << cut << " id " << id;
        }
    }
}

TEST_F(Texts, ReadsAndWritesOutsideTheImageAreRefused)
{
    Use(std::vector<std::uint8_t>(16, 0xAB));
    std::uint8_t b[4] = {1, 2, 3, 4};
    EXPECT_EQ(FLS_Read(15, b, 1), 1U);
    EXPECT_EQ(b[0], 0xAB);
    b[0] = 1;
    EXPECT_EQ(FLS_Read(15, b, 2), 0U);
    EXPECT_EQ(FLS_Read(16, b, 1), 0U);
    EXPECT_EQ(FLS_Read(0xFFFFFFFF, b, 2), 0U);
    EXPECT_EQ(FLS_Read(2, b, 0xFFFFFFFF), 0U);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(FLS_Write(b, 14, 3), 0U);
    EXPECT_EQ(FLS_Write(b, 0xFFFFFFFF, 2), 0U);
    EXPECT_EQ(image[14], 0xAB);
    EXPECT_EQ(FLS_Write(b, 12, 4), 4U);
    EXPECT_EQ(image[15], 4);
}

TEST_F(Texts, FactorySettingsAndTheirDefaultsWithoutTheMark)
{
    char id[32] = {};
    EXPECT_EQ(FLS_SettingsBase(), 0x1CU);
    EXPECT_EQ(FLS_GetString(FLS_IDENTIFICATION, id, 30), 16);
    EXPECT_EQ(std::string(id), "5170791000000000");
    EXPECT_EQ(FLS_GetString(FLS_IDENTIFICATION_2, id, 3), 3);
    const std::uint8_t delivered[] = {5, 46, 30, 200, 120, 2, 20, 10};
    for (std::uint8_t s = 0; s < FLS_SETTING_COUNT; ++s) {
        EXPECT_EQ(FLS_GetSetting(static_cast<FLS_Setting>(s)), delivered[s]) << int(s);
    }
    // A long identification moves only its field's width.
    EXPECT_EQ(FLS_SetString(FLS_IDENTIFICATION, "ABCDEFGHIJKLMNOPQRSTUVWXYZ", 26), 16);
    EXPECT_EQ(FLS_GetString(FLS_IDENTIFICATION_2, id, 7), 7);
    EXPECT_EQ(std::string(id, 7), "0000000");
    EXPECT_TRUE(FLS_SetSetting(FLS_BRIGHTNESS_MAX, 190));
    EXPECT_EQ(FLS_GetSetting(FLS_BRIGHTNESS_MAX), 190);

    const std::uint32_t cleared = 0;
    FLS_Write(&cleared, FLS_AT_VALID, 4);
    const std::uint8_t missing[] = {5, LCD_ContrastDefault(), 48, 216, 168, 1, 36, 24};
    for (std::uint8_t s = 0; s < FLS_SETTING_COUNT; ++s) {
        EXPECT_EQ(FLS_GetSetting(static_cast<FLS_Setting>(s)), missing[s]) << int(s);
    }
    // A settings block outside the image: defaults, nothing moved.
    PutU32(image, FLS_AT_SETTINGS, 0xFFFFFFF0);
    EXPECT_EQ(FLS_GetSetting(FLS_FACTORY_BYTE), 0);
    EXPECT_EQ(FLS_GetString(FLS_IDENTIFICATION, id, 16), 0);
    EXPECT_FALSE(FLS_SetSetting(FLS_CONTRAST, 1));
}

TEST(DataFlash, TheDeliveredImageHasTheLayout)
{
    const std::vector<std::uint8_t> img = Delivered();
    ASSERT_GT(img.size(), 0x1000U);
    EXPECT_EQ(std::memcmp(img.data(), "Flash20090313\0\0\0", 16), 0);
    EXPECT_EQ(U32(img, 0x10), 0x0420U);
    EXPECT_EQ(U32(img, 0x14), 0x001CU);
    EXPECT_EQ(U32(img, 0x18), 0x49BA6CD6U);
    EXPECT_EQ(U32(img, 0x1C), 1024U);
    EXPECT_EQ(img[0x1C + 34], 5);
    EXPECT_EQ(U32(img, 0x420), 19U);
    EXPECT_EQ(U32(img, 0x424), 395U);
    EXPECT_EQ(TableOf(img, 0), TableOf(img, 1));
    EXPECT_EQ(TableOf(img, 1), 0x420U + 8 + 4 * 19);
    std::uint32_t expected = TableOf(img, 1);
    for (std::uint8_t lang = 1; lang < 19; ++lang) {
        const std::uint32_t table = TableOf(img, lang);
        ASSERT_EQ(table, expected) << "language tables follow one another";
        for (std::uint16_t i = 0; i < 395; ++i) {
            ASSERT_LE(U32(img, table + 4 * i), U32(img, table + 4 * (i + 1)));
        }
        ASSERT_EQ(U32(img, table), table + 4 * 396);
        expected = U32(img, table + 4 * 395);
        const std::string code(img.begin() + U32(img, table + 4 * 393), img.begin() + U32(img, table + 4 * 394));
        EXPECT_EQ(code, flashgen::kLanguages[lang].code);
    }
    EXPECT_EQ(expected, img.size());

    std::ifstream bin(PANEL_DATAFLASH_BIN, std::ios::binary);
    const std::vector<std::uint8_t> file((std::istreambuf_iterator<char>(bin)), std::istreambuf_iterator<char>());
    EXPECT_EQ(file, img);
}

TEST(DataFlash, HostImageLoadsOncePerPowerOn)
{
    VirtualTime time;
    HeadlessHost::Options options;
    options.flash = std::vector<std::uint8_t>(100, 7);
    HeadlessHost host(time, options);
    FLS_PowerOn();
    FLS_Init();
    EXPECT_EQ(FLS_Size(), 100U);
    EXPECT_FALSE(FLS_TextsValid());
    const std::uint8_t nine = 9;
    FLS_Write(&nine, 50, 1);
    FLS_Init(); // a restart
    std::uint8_t b = 0;
    FLS_Read(50, &b, 1);
    EXPECT_EQ(b, 9);
    FLS_PowerOn();
    FLS_Init();
    FLS_Read(50, &b, 1);
    EXPECT_EQ(b, 7);

    std::vector<std::uint8_t> read;
    std::string error;
    EXPECT_FALSE(HeadlessHost::readFlashFile("/nonexistent/flash.bin", FLS_CAPACITY, read, error));
    EXPECT_NE(error.find("/nonexistent/flash.bin"), std::string::npos);
    EXPECT_FALSE(HeadlessHost::readFlashFile(PANEL_DATAFLASH_BIN, 100, read, error));
    EXPECT_NE(error.find("holds 100"), std::string::npos);
    FLS_PowerOn();
}

// Catalogue reader: each fault is named with its file and line.
TEST(Catalogue, FaultsNameFileAndLine)
{
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"msgctxt \"395\"\nmsgid \"a\"\nmsgstr \"\"\n", "t.po:1: unknown text id \"395\""},
        {"msgctxt \"07\"\nmsgid \"a\"\nmsgstr \"\"\n", "t.po:1: unknown text id \"07\""},
        {"msgctxt \"x\"\nmsgid \"a\"\nmsgstr \"\"\n", "t.po:1: unknown text id"},
        {"msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"\"\n\nmsgctxt \"1\"\nmsgid \"b\"\nmsgstr \"\"\n",
         "t.po:5: duplicate text id 1 (first at line 1)"},
        {"msgctxt \"1\"\nmsgid \"a\\tb\"\nmsgstr \"\"\n", "t.po:2: bad escape '\\t'"},
        {"msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"\xC3(\"\n", "t.po:3: bad UTF-8"},
        {"msgctxt \"1\"\nmsgid \"a\"\nmsgstr \"\xED\xA0\x80\"\n", "t.po:3: bad UTF-8"},
        {"msgctxt \"1\"\nmsgid \"a\"\n\n", "t.po:1: entry without msgid or msgstr"},
        {"msgctxt \"1\"\nmsgid \"a\"\nmsgid_plural \"b\"\n", "t.po:3: plural forms"},
        {"\"a\"\n", "t.po:1: string continuation without a keyword"},
        {"msgctxt \"1\"\nmsgid \"a\nmsgstr \"\"\n", "t.po:2: expected a string"},
        {"msgid \"\"\nmsgstr \"\"\n\"Content-Type: text/plain; charset=ISO-8859-1\\n\"\n", "t.po:1: the header"},
        {"msgid \"a\"\nmsgstr \"b\"\n", "t.po:1: entry without msgctxt"},
        {"#~ msgctxt \"1\"\n", "t.po:1: obsolete entries"},
        // A byte-order mark is a mark only at the very start.
        {"\n\xEF\xBB\xBFmsgctxt \"1\"\n", "t.po:2: unknown keyword"},
    };
    for (const Case& c : cases) {
        po::Catalogue cat;
        std::string error;
        EXPECT_FALSE(po::Parse(c.text, "t.po", 395, cat, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0U) << error;
    }
    po::Catalogue cat;
    std::string error;
    ASSERT_TRUE(po::Parse("\xEF\xBB\xBFmsgid \"\"\nmsgstr \"Content-Type: text/plain; charset=UTF-8\\n\"\n\n#, fuzzy\n"
                          "msgctxt \"3\"\nmsgid \"x\"\n\"y\\\"\\n\"\nmsgstr \"z\"\n",
                          "t.po", 395, cat, error))
        << error;
    ASSERT_EQ(cat.entries.size(), 1U);
    EXPECT_EQ(cat.entries[0].msgid, "xy\"\n");
    EXPECT_TRUE(cat.entries[0].fuzzy);
}

TEST(Catalogue, AssemblyRefusesIncompleteGermanAndStaleTranslations)
{
    po::Catalogue de, gb;
    for (std::uint16_t id = 0; id < 395; ++id) {
        de.entries.push_back(po::Entry{id, "t" + std::to_string(id), "", false, id + 1});
    }
    de.path = "de.po";
    gb.path = "gb.po";
    std::vector<const po::Catalogue*> all(19, nullptr);
    all[0] = &de;
    all[3] = &gb;
    flashgen::Database db;
    std::string error;
    gb.entries = {po::Entry{5, "t5", "five", false, 9}, po::Entry{6, "t6", "six", true, 12}};
    ASSERT_TRUE(flashgen::Assemble(all, db, error)) << error;
    EXPECT_EQ(db.languages[3][5], "five");
    EXPECT_EQ(db.languages[3][6], "t6"); // fuzzy: German stays
    EXPECT_EQ(db.languages[2][394], "Dansk");

    gb.entries = {po::Entry{5, "old German", "five", false, 9}};
    EXPECT_FALSE(flashgen::Assemble(all, db, error));
    EXPECT_EQ(error, "gb.po:9: msgid is not the German text of id 5");
    gb.entries = {po::Entry{393, "t393", "UK", false, 4}};
    EXPECT_FALSE(flashgen::Assemble(all, db, error));
    EXPECT_EQ(error, "gb.po:4: text 393 must be \"GB\"");
    gb.entries.clear();
    de.entries.erase(de.entries.begin() + 17);
    de.lines = 999;
    EXPECT_FALSE(flashgen::Assemble(all, db, error));
    EXPECT_EQ(error, "de.po:999: German text ids missing: 17");
}

TEST(Catalogue, TranslationsKeepPictogramsAndFormats)
{
    using flashgen::CheckTranslation;
    EXPECT_TRUE(CheckTranslation("Ändern mit ♮", "Change with ♮").empty());
    EXPECT_TRUE(CheckTranslation("%", "%").empty());
    EXPECT_TRUE(CheckTranslation("♰\nWählen des Menüs\n♳\nZurück", "♰\nSelect a menu\n♳\nBack").empty());
    EXPECT_FALSE(CheckTranslation("Ändern mit ♮", "Change with ♯").empty());
    EXPECT_FALSE(CheckTranslation("♬HK♭", "♭HC♬").empty());
    EXPECT_FALSE(CheckTranslation("Zurück mit ♳", "Back").empty());
    EXPECT_FALSE(CheckTranslation("♰\nWählen", "♰ Select").empty());
    EXPECT_FALSE(CheckTranslation("Aktiv", "100% active").empty());
    EXPECT_FALSE(CheckTranslation("%d Tage", "%s days").empty());
}

} // namespace

// Every language block of the delivered image is complete and drawable.
TEST_F(Texts, NineteenLanguagesCompleteWithTheirSeparators)
{
    static constexpr char kSeparator[19] = {',', ',', '.', '.', '.', ',', '.', '.', '.', '.',
                                            '.', '.', '.', '.', '.', '.', '.', '.', '.'};
    for (std::uint8_t lang = 0; lang < 19; ++lang) {
        TXT_SetLanguage(lang);
        EXPECT_EQ(TXT_GetDecimalSeparator(), kSeparator[lang]) << int(lang);
        EXPECT_STREQ(TXT_GetText(392), "Calovatrix 200 KT2A");
        for (std::uint16_t id = 0; id < 392; ++id) {
            EXPECT_NE(TXT_GetText(id)[0], '\0') << "language " << int(lang) << " text " << id;
        }
        if (lang != 0) {
            EXPECT_STRNE(TXT_GetText(5), "Abgasprüfung") << "language " << int(lang) << " is not translated";
        }
    }
    // Russian decodes to Cyrillic the normal font has.
    TXT_SetLanguage(14);
    GUI_UseUtf8();
    std::uint16_t codes[64];
    const char* text = TXT_GetText(5);
    const int n = GUI_Utf8ToCodes(text, static_cast<int>(std::strlen(text)), codes, 64);
    ASSERT_GT(n, 0);
    int cyrillic = 0;
    for (int i = 0; i < n; ++i) {
        cyrillic += codes[i] >= 0x0401 && codes[i] <= 0x045F ? 1 : 0;
        EXPECT_TRUE(codes[i] < 0x80 || (codes[i] >= 0x0401 && codes[i] <= 0x045F)) << std::hex << codes[i];
        EXPECT_TRUE(GUI_FontHasChar(TXT_FontNormal(), codes[i]));
    }
    EXPECT_GT(cyrillic, 3);
    TXT_SetLanguage(0);
}
