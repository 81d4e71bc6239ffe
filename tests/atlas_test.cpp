// The screen atlas: its table of paths, the states it finds in the screen
// sources, the hostile images of the screens fuzzer, and the tool itself on
// a few screens (pictures, frames round overflowing texts, the page).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <png.h>
#include <sstream>
#include <string>
#include <vector>

#include "Atlas.h"
#include "Capture.h"
#include "Paths.h"
#include "States.h"
#include "Walk.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "fuzz/HostileFlash.h"
#include "sim/LcdPng.h"
#include "support/Screen.h"

namespace fs = std::filesystem;

namespace {

bool Parses(const std::string& text, atlas::Table& table, std::string& error)
{
    return atlas::ParseTable("t.txt", text, table, error);
}

std::string ParseError(const std::string& text)
{
    atlas::Table table;
    std::string error;
    EXPECT_FALSE(Parses(text, table, error)) << text;
    return error;
}

constexpr char kStart[] = "prelude started\n"
                          "    wait 1s\n"
                          "    set-image service 1 03\n"
                          "    language\n"
                          "    wait 15s\n";

} // namespace

TEST(AtlasPaths, ExpandFromChainsInOrderAndSetTheLanguageAsTheControlUnitWould)
{
    atlas::Table table;
    std::string error;
    ASSERT_TRUE(Parses(std::string(kStart) + "state BGM_Grundmenue\n"
                                             "    in: Main menu\n"
                                             "    from: started\n"
                                             "    click MENU\n"
                                             "    wait 300\n"
                                             "state BHKM_HKMenue (one circuit)\n"
                                             "    in: Main menu / Heating\n"
                                             "    from: BGM_Grundmenue\n"
                                             "    click OK\n"
                                             "    wait 300\n",
                       table, error))
        << error;
    const atlas::Block* b = table.find("BHKM_HKMenue", "one circuit");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->id(), "BHKM_HKMenue.one-circuit");
    EXPECT_EQ(atlas::ExpandPath(table, *b, 18),
              "wait 1s\nset-image service 1 03\nset-image system 5 12\ncontrol-unit on\nwait 15s\n"
              "click MENU\nwait 300\nclick OK\nwait 300\n");
    EXPECT_EQ(table.walks().size(), 2U); // the prelude is no walk
    EXPECT_EQ(atlas::ScriptDuration(atlas::ExpandPath(table, *b, 0)), 1000U + 15000 + 100 + 300 + 100 + 300);
}

TEST(AtlasPaths, RefuseWhatWouldWalkWrongOrMislabelAPicture)
{
    const std::string start(kStart);
    const std::string badKey =
        ParseError(start + "state X\n    in: A\n    from: started\n    click MENUE\n    wait 1\n");
    EXPECT_EQ(badKey.rfind("t.txt:9: click takes keys", 0), 0U) << badKey;
    EXPECT_NE(badKey.find("not 'MENUE'"), std::string::npos) << badKey;
    EXPECT_EQ(ParseError(start + "state X\n    in: A\n    from: later\n    wait 1\n"),
              "t.txt:8: from: names a block defined above, not 'later'");
    EXPECT_EQ(ParseError(start + "state X\n    in: A\n    wait 1\n"),
              "t.txt:6: 'X' sets the language 0 times; once is right");
    EXPECT_EQ(ParseError(start + "state X\n    in: A\n    from: started\n    language\n    wait 1\n"),
              "t.txt:6: 'X' sets the language 2 times; once is right");
    EXPECT_EQ(ParseError(start + "state X\n    from: started\n"),
              "t.txt:6: 'X' needs 'in:', its place in the menu tree");
    EXPECT_EQ(ParseError(start + "state X\n    in: A\n    from: started\n    set-image plant 5 10\n"),
              "t.txt:6: 'X' ends without letting time pass (wait, click or hold): its screen would not have settled");
    EXPECT_EQ(ParseError(start + "state X\n    unreachable:\n"), "t.txt:7: unreachable: needs the reason");
    EXPECT_EQ(ParseError(start + "state X\n    unreachable: never\n    wait 1\n"),
              "t.txt:6: 'X' is unreachable: it has no steps and no variant");
    EXPECT_EQ(ParseError(start + "state X\n    unreachable: never\nstate X\n    unreachable: twice\n"),
              "t.txt:8: 'X' is already defined on line 6");
    EXPECT_EQ(ParseError("    wait 1\n"), "t.txt:1: a step outside any block");
    EXPECT_EQ(ParseError("stat X\n"), "t.txt:1: a block starts with 'state NAME [(variant)]' or 'prelude NAME' at the "
                                      "start of the line; its lines are indented");
}

TEST(AtlasStates, HandlersAndListEntriesAreStatesHelpersAndMacroBodiesAreNot)
{
    const auto names = [](const std::string& text) {
        std::vector<std::string> n;
        for (const atlas::DefinedState& s : atlas::FindStates("f.cpp", text)) {
            n.push_back(s.name + ":" + std::to_string(s.line));
        }
        return n;
    };
    EXPECT_EQ(names("SM_State BAB_Eins(SM_Hsm* me, const SM_Event* e)\n{\n"
                    "SM_State BAB_Zwei(SM_Hsm*, const SM_Event*)\n"
                    "SM_State List(SM_Hsm* me, const SM_Event* e, const char* name)\n"
                    "SM_State BAB_Drei(SM_Hsm* me, const SM_Event* e);\n"
                    "    return SM_State(BMM_Menuemonitor);\n"
                    "#define DEF(name) \\\n"
                    "    SM_State name(SM_Hsm* me, const SM_Event* e) \\\n"
                    "    { return nullptr; }\n"),
              (std::vector<std::string>{"BAB_Eins:1", "BAB_Zwei:3"}));
    EXPECT_EQ(names("#define BXY_STATES(X) \\\n"
                    "    X(BXY_Eins, BMM_Menuemonitor) \\\n"
                    "    X(BXY_Zwei, BGA_Grundanzeige)\n"
                    "#define OTHER(X) X(NotAState, Foo)\n"),
              (std::vector<std::string>{"BXY_Eins:2", "BXY_Zwei:3"}));
}

TEST(AtlasStates, FoundInAnyFolderBelowTheScreens)
{
    const fs::path root = fs::temp_directory_path() / ("atlas-states-" + std::to_string(::getpid()));
    fs::create_directories(root / "screens" / "deep" / "deeper");
    std::ofstream(root / "screens" / "deep" / "deeper" / "BQQ.cpp")
        << "SM_State BQQ_Eins(SM_Hsm* me, const SM_Event* e)\n";
    std::ofstream(root / "screens" / "BQQ.h") << "SM_State BQQ_Eins(SM_Hsm* me, const SM_Event* e);\n";
    std::ofstream(root / "screens" / "notes.txt") << "SM_State BQQ_Text(SM_Hsm* me, const SM_Event* e)\n";
    std::vector<atlas::DefinedState> states;
    std::string error;
    ASSERT_TRUE(atlas::DiscoverStates((root / "screens").string(), states, error)) << error;
    ASSERT_EQ(states.size(), 1U);
    EXPECT_EQ(states[0].name, "BQQ_Eins");
    EXPECT_EQ(states[0].file, "screens/deep/deeper/BQQ.cpp");
    EXPECT_FALSE(atlas::DiscoverStates((root / "nothing").string(), states, error));
    fs::remove_all(root);
}

TEST(AtlasWalk, ActiveStatesFollowEntryAndExitOnly)
{
    const std::vector<TraceLine> trace = {{0, " BMM_Menuemonitor Entry"},
                                          {0, " BGA_Grundanzeige Entry"},
                                          {0, " BGA_GrundanzeigeMenue Entry"},
                                          {0, " BGA_GrundanzeigeMenue Init"},
                                          {0, "*RESTARTING"},
                                          {0, " BGA_GrundanzeigeMenue Exit"},
                                          {0, " BGA_Grundanzeige Exit"},
                                          {0, " BGA_Grundanzeige Entry"},
                                          {0, " BRA_RuheAnimation Entry"}};
    EXPECT_EQ(atlas::ActiveStates(trace),
              (std::vector<std::string>{"BMM_Menuemonitor", "BGA_Grundanzeige", "BRA_RuheAnimation"}));
}

TEST(AtlasHostileFlash, EveryTextOfEveryFlashLanguageIsTheInputsAndTheSettingsToo)
{
    // "ab" three times; then a lone continuation byte; then an empty recipe.
    const std::uint8_t recipes[] = {2, 2, 'a', 'b', 1, 0, 0x80, 0, 0};
    const auto texts = hostile::Texts(recipes, sizeof recipes);
    ASSERT_EQ(texts.size(), FLS_TEXT_COUNT);
    const std::uint8_t settings[hostile::kSettingBytes] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::vector<std::uint8_t> image = hostile::Image(settings, texts);
    FLS_Attach(image.data(), static_cast<std::uint32_t>(image.size()));
    EXPECT_TRUE(FLS_TextsValid());
    for (std::uint8_t language = 1; language < FLS_LANGUAGE_COUNT; ++language) {
        for (std::uint16_t id : {0, 1, 2, 393, 394}) {
            char buffer[64];
            FLS_GetText(language, id, buffer, sizeof buffer);
            EXPECT_EQ(std::string(buffer), (id % 3 == 0   ? "ababab"
                                            : id % 3 == 1 ? "\x80"
                                                          : ""))
                << "language " << int(language) << ", text " << id;
        }
    }
    EXPECT_EQ(FLS_GetSetting(FLS_CONTRAST), 2);
    EXPECT_EQ(FLS_GetSetting(FLS_SCREENSAVER_DEFAULT), 8);
    FLS_Attach(nullptr, 0);

    const std::uint8_t longer[] = {1, 255, 'W'};
    EXPECT_EQ(hostile::Texts(longer, sizeof longer)[7].size(), 256U);
    const std::uint8_t cutShort[] = {200, 0, 'W', 'X'}; // claims 200 bytes, has 2
    EXPECT_EQ(hostile::Texts(cutShort, sizeof cutShort)[0], "WX");
    const std::uint8_t overlong[] = {7, 255, 'o', 'v', 'e', 'r', 'l', 'o', 'n'};
    EXPECT_EQ(hostile::Texts(overlong, sizeof overlong)[0].size(), hostile::kLongestText);
}

// The tool itself, as a writer runs it.
class AtlasTool : public ::testing::Test {
  protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("atlas-tool-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Runs panel-atlas; its exit status, its output in `out`.
    int Run(const std::string& args, std::string& out)
    {
        const std::string command =
            std::string(PANEL_ATLAS) + " " + args + " >" + (dir_ / "out.txt").string() + " 2>&1";
        const int status = std::system(command.c_str());
        std::ifstream in(dir_ / "out.txt");
        std::ostringstream text;
        text << in.rdbuf();
        out = text.str();
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::string Write(const std::string& name, const std::string& text)
    {
        std::ofstream(dir_ / name) << text;
        return (dir_ / name).string();
    }
    fs::path dir_;
};

TEST_F(AtlasTool, CoverageNamesEachStateWithoutAPathAndTakesAReasonInstead)
{
    std::ifstream in(PANEL_SOURCE_DIR "/tools/atlas/paths.txt");
    std::ostringstream text;
    text << in.rdbuf();
    std::string table = text.str();
    const std::size_t at = table.find("state BRA_RuheAnimation\n");
    ASSERT_NE(at, std::string::npos);
    table.replace(at, std::string("state BRA_RuheAnimation\n").size(), "state BRA_Nothing\n");
    std::string out;
    EXPECT_EQ(Run("--coverage --paths " + Write("missing.txt", table), out), 1) << out;
    EXPECT_NE(out.find("screens/base/BRA.cpp:"), std::string::npos) << out;
    EXPECT_NE(out.find(": BRA_RuheAnimation has no path in "), std::string::npos) << out;

    table += "state BRA_RuheAnimation\n    unreachable: for the test\n";
    EXPECT_EQ(Run("--coverage --paths " + Write("excused.txt", table), out), 0) << out;
}

TEST_F(AtlasTool, APathThatEndsElsewhereFails)
{
    const std::string table = std::string(kStart) + "state BGM_Grundmenue\n    in: Main menu\n    from: started\n"
                                                    "    click BACK\n    wait 300\n";
    std::string out;
    EXPECT_EQ(Run("--check --languages gb --paths " + Write("wrong.txt", table), out), 1) << out;
    EXPECT_NE(out.find("BGM_Grundmenue in gb: the path ends in BGA_GrundanzeigeMenue, not in its state"),
              std::string::npos)
        << out;
}

TEST_F(AtlasTool, PicturesAtBothScalesWithOverflowsFramedAndOnePage)
{
    // The title (text 150) 145 px wide: German's 142 px fit, English's 152 do not.
    const std::string places = Write("places.txt", "150 normal 145 line\n0-394 normal 238 line\n");
    std::string out;
    ASSERT_EQ(Run("--out " + (dir_ / "atlas").string() + " --languages de,gb --states BGA_GrundanzeigeMenue --places " +
                      places,
                  out),
              0)
        << out;
    EXPECT_NE(out.find("states reached: "), std::string::npos) << out;

    LcdPicture de;
    LcdPicture gb;
    std::string error;
    ASSERT_TRUE(LcdPngRead((dir_ / "atlas/de/BGA_GrundanzeigeMenue.png").string(), de, error)) << error;
    ASSERT_TRUE(LcdPngRead((dir_ / "atlas/gb/BGA_GrundanzeigeMenue.png").string(), gb, error)) << error;
    const auto red = [](const LcdPicture& p, int x, int y) { return p.rgb[y * LcdPicture::kWidth + x] == 0xE00000; };
    EXPECT_TRUE(red(gb, 1, 0) && red(gb, 238, 26) && red(gb, 120, 0)) << "the title's place framed";
    EXPECT_FALSE(red(gb, 120, 13));
    EXPECT_FALSE(red(de, 1, 0) || red(de, 120, 0));

    // 3x: nearest neighbour, so the middle of each 3 x 3 block is the 1x pixel (frames included).
    png_image big{};
    big.version = PNG_IMAGE_VERSION;
    ASSERT_NE(png_image_begin_read_from_file(&big, (dir_ / "atlas/gb/BGA_GrundanzeigeMenue@3x.png").c_str()), 0);
    ASSERT_EQ(big.width, 720U);
    ASSERT_EQ(big.height, 480U);
    big.format = PNG_FORMAT_RGB;
    std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(big));
    ASSERT_NE(png_image_finish_read(&big, nullptr, rgb.data(), 0, nullptr), 0);
    int differing = 0;
    for (int y = 0; y < LcdPicture::kHeight; ++y) {
        for (int x = 0; x < LcdPicture::kWidth; ++x) {
            const std::uint8_t* p = &rgb[((y * 3 + 1) * 720 + x * 3 + 1) * 3];
            differing += (std::uint32_t{p[0]} << 16 | p[1] << 8 | p[2]) != gb.rgb[y * LcdPicture::kWidth + x] ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);

    std::ifstream in(dir_ / "atlas/index.html");
    std::ostringstream page;
    page << in.rdbuf();
    const std::string html = page.str();
    EXPECT_NE(html.find("<h4>Help: Heating</h4><p class=\"help\">Settings for room\nheating."), std::string::npos);
    EXPECT_NE(html.find("<h4>Help: Heizung</h4>"), std::string::npos);
    EXPECT_NE(html.find("<li>text 150 is 7 px too wide: Boiler temperature</li>"), std::string::npos);
    EXPECT_EQ(html.find("Kesseltemperatur</li>"), std::string::npos);
    EXPECT_NE(html.find("src=\"gb/BGA_GrundanzeigeMenue.png\""), std::string::npos);
    EXPECT_NE(html.find("<span class=\"k\">"), std::string::npos) << "key pictograms as common symbols";
}

TEST(AtlasWalk, ObserversSeeThePanelAtTheirMomentAndALongWalkIsCutOff)
{
    const fs::path lock = fs::temp_directory_path() / ("atlas-walk-" + std::to_string(::getpid()));
    fs::create_directories(lock);
    atlas::WalkOptions options;
    options.lockDirectory = lock.string();
    options.err = std::tmpfile();
    std::vector<std::string> before;
    std::vector<std::string> after;
    const std::string script = "wait 1s\nset-image service 1 03\nwait 15s\nclick MENU\nwait 300\n";
    const atlas::WalkResult r =
        atlas::Walk(script, options,
                    {{atlas::Observer::kEnd, [&](HeadlessHost& h) { after = atlas::ActiveStates(h.traceLines()); }},
                     {16000, [&](HeadlessHost& h) { before = atlas::ActiveStates(h.traceLines()); }}});
    EXPECT_TRUE(r.completed) << r.failure;
    ASSERT_FALSE(before.empty());
    EXPECT_EQ(before.back(), "BGA_GrundanzeigeMenue");
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(after.back(), "BGM_Grundmenue");
    EXPECT_EQ(r.active, after);

    options.longestMs = 5000;
    const atlas::WalkResult cut = atlas::Walk(script, options);
    EXPECT_FALSE(cut.completed);
    EXPECT_EQ(cut.failure, "cut off after 5000 ms");

    options.longestMs = 60000;
    const atlas::WalkResult failed = atlas::Walk("wait 1s\nexpect BGM_Grundmenue Entry\n", options);
    EXPECT_FALSE(failed.completed);
    EXPECT_EQ(failed.failure.rfind("path:2: ", 0), 0U) << failed.failure;
    std::fclose(options.err);
    fs::remove_all(lock);
}

// What a screen draws, as the atlas sees it through the wrapped calls.
class AtlasCapture : public ::testing::Test {
  protected:
    void SetUp() override { atlas::capture::Reset(); }
    Screen screen_;
    static constexpr GUI_BOX kTitle{1, 0, 238, 26};
    static constexpr GUI_BOX kRow{1, 29, 238, 52};
};

TEST_F(AtlasCapture, TextsAreTracedToTheirIdsByTheBufferTheyCameIn)
{
    GUI_TextInBox(TXT_GetText(150), &kTitle, GUI_ALIGN_LEFT);
    // A help body drawn line by line: each line points into the fetched text.
    const char* body = TXT_GetText(317);
    GUI_TextInBoxN(body + 4, &kRow, GUI_ALIGN_LEFT, 6);
    const auto drawn = atlas::capture::OnScreen();
    ASSERT_EQ(drawn.size(), 2U);
    EXPECT_EQ(drawn[0].text, "Kesseltemperatur");
    EXPECT_EQ(drawn[0].ids, (std::vector<std::uint16_t>{150}));
    EXPECT_EQ(drawn[1].text, std::string(body + 4, 6));
    EXPECT_EQ(drawn[1].ids, (std::vector<std::uint16_t>{317}));
    EXPECT_EQ(atlas::capture::Fetches().size(), 2U);
}

TEST_F(AtlasCapture, AReusedBufferCountsForItsNewestTextAndAComposedLineForWhatItContains)
{
    const char* first = TXT_GetText(150);
    TXT_GetText(126); // the same buffer, now "Heizung"
    GUI_TextInBox(first, &kRow, GUI_ALIGN_LEFT);
    char code[32];
    std::snprintf(code, sizeof code, "%s 5A", TXT_GetText(58));
    GUI_TextInBox(code, &kTitle, GUI_ALIGN_RIGHT);
    GUI_TextInBox("OK", &kTitle, GUI_ALIGN_LEFT); // too short to be searched for
    const auto drawn = atlas::capture::OnScreen();
    ASSERT_EQ(drawn.size(), 3U);
    EXPECT_EQ(drawn[0].ids, (std::vector<std::uint16_t>{126}));
    EXPECT_EQ(drawn[1].ids, (std::vector<std::uint16_t>{58}));
    EXPECT_TRUE(drawn[2].ids.empty());
}

TEST_F(AtlasCapture, ErasingAndRedrawingInPlaceTakeTextsOffTheScreen)
{
    GUI_TextInBox(TXT_GetText(150), &kTitle, GUI_ALIGN_LEFT);
    GUI_TextInBox("50°C", &kTitle, GUI_ALIGN_RIGHT);
    GUI_TextInBox(TXT_GetText(126), &kRow, GUI_ALIGN_LEFT);
    GUI_TextInBox(TXT_GetText(285), &kRow, GUI_ALIGN_LEFT); // the row redrawn
    EXPECT_EQ(atlas::capture::OnScreen().size(), 3U);
    EXPECT_EQ(atlas::capture::OnScreen().back().ids, (std::vector<std::uint16_t>{285}));
    GUI_EraseBox(&kRow);
    EXPECT_EQ(atlas::capture::OnScreen().size(), 2U);
    GUI_EraseArea(0, 0, 239, 13); // half the title: both stay
    EXPECT_EQ(atlas::capture::OnScreen().size(), 2U);
    GUI_EraseScreen();
    EXPECT_TRUE(atlas::capture::OnScreen().empty());
    // Texts fetched before the erase no longer explain what is drawn after it.
    char copy[32];
    std::snprintf(copy, sizeof copy, "%s", "Kesseltemperatur");
    GUI_TextInBox(copy, &kTitle, GUI_ALIGN_LEFT);
    EXPECT_TRUE(atlas::capture::OnScreen().back().ids.empty());
}

TEST(AtlasShots, SurviveTheWayFromTheWorkersWithTabsNewlinesAndBackslashes)
{
    atlas::Shot s;
    s.language = "ru";
    s.block = "BGA_GrundanzeigeMenue.boiler-sensor-fault";
    s.reached = true;
    s.shown = "BGA_GrundanzeigeMenue";
    s.hasHelp = true;
    s.helpTitle = "Tab\there";
    s.helpBody = "line 1\nline 2 \\n not a break\\";
    s.overflows.push_back({150, 7, false, true, GUI_BOX{1, 0, 238, 26}, "a\tb\nc"});
    atlas::Shot t = s;
    t.block = "BGM_Grundmenue";
    t.reached = false;
    t.failure = "path:3: expected";
    t.overflows.clear();
    const auto back = atlas::Deserialise(atlas::Serialise(s) + atlas::Serialise(t));
    ASSERT_EQ(back.size(), 2U);
    EXPECT_EQ(back[0].helpTitle, s.helpTitle);
    EXPECT_EQ(back[0].helpBody, s.helpBody);
    ASSERT_EQ(back[0].overflows.size(), 1U);
    EXPECT_EQ(back[0].overflows[0].text, "a\tb\nc");
    EXPECT_TRUE(back[0].overflows[0].germanToo);
    EXPECT_EQ(back[0].overflows[0].box.x1, 238);
    EXPECT_FALSE(back[1].reached);
    EXPECT_EQ(back[1].failure, t.failure);
    EXPECT_TRUE(back[1].overflows.empty());
}

TEST(AtlasPage, SaysWhatWasNotReachedWhatAPanelTextHidesAndWhyAStateIsMissing)
{
    atlas::Table table;
    std::string error;
    ASSERT_TRUE(atlas::ParseTable("t.txt",
                                  std::string(kStart) + "state BGA_Grundanzeige\n    in: Superstates\n"
                                                        "    from: started\n"
                                                        "state BUD_DatumUhrzeitMenue\n    unreachable: <not yet>\n",
                                  table, error))
        << error;
    atlas::Shot de;
    de.language = "de";
    de.block = "BGA_Grundanzeige";
    de.reached = true;
    de.shown = "BGA_GrundanzeigeMenue";
    de.hasHelp = true;
    de.helpTitle = "Hilfe";
    de.helpBody = "über <\xE2\x99\xB4> & mehr";
    atlas::Shot gb = de;
    gb.language = "gb";
    gb.reached = false;
    gb.failure = "path:3: cut off";
    const fs::path out = fs::temp_directory_path() / ("atlas-page-" + std::to_string(::getpid()));
    fs::create_directories(out);
    const auto all = atlas::AllLanguages();
    ASSERT_TRUE(atlas::WriteIndex(out.string(), table, {all[0], all[3]}, {de, gb}, atlas::Summary{}, error)) << error;
    std::ifstream in(out / "index.html");
    std::ostringstream text;
    text << in.rdbuf();
    const std::string html = text.str();
    fs::remove_all(out);
    EXPECT_NE(html.find("über &lt;<span class=\"k\">\u2630</span>&gt; &amp; mehr"), std::string::npos);
    EXPECT_NE(html.find("A superstate: the screen shows BGA_GrundanzeigeMenue."), std::string::npos);
    EXPECT_NE(html.find("<div class=\"t\" data-lang=\"gb\"><p class=\"note\">Not reached in this language: path:3: "
                        "cut off</p>"),
              std::string::npos);
    EXPECT_NE(html.find("<li><code>BUD_DatumUhrzeitMenue</code>: &lt;not yet&gt;</li>"), std::string::npos);
    EXPECT_NE(html.find("<option value=\"gb\">gb English</option>"), std::string::npos);
}
