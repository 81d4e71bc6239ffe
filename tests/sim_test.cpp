// The headless host: key driver, single-instance lock, scenario runs.
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

#include "core/SM.h"
#include "data/DAT.h"
#include "sim/InstanceLock.h"
#include "sim/PanelState.h"
#include "sim/PlantControl.h"
#include "sim/PlantFile.h"
#include "sim/headless/Runner.h"
#include "support/Harness.h"

namespace {

TEST(KeyDriver, RegionsMapToKeysAndEachPressReplacesTheByte)
{
    Harness h;
    KeyDriver& k = h.host().keys();
    k.setLatch(false); // every change at once (the latch is the desktop test's)
    k.setReadEnable(1);
    k.onHardkey(0, true); // back
    EXPECT_EQ(k.read(), 0x01);
    k.onHardkey(3, true); // OK, pressed while back is still held
    EXPECT_EQ(k.read(), 0x20);
    k.onHardkey(0, false); // releasing any key lets go of all
    EXPECT_EQ(k.read(), 0x00);
    k.onHardkey(10, true); // combination region
    EXPECT_EQ(k.read(), 0xA0);
    k.setReadEnable(0);
    EXPECT_EQ(k.read(), 0x00);
    EXPECT_EQ(KeyDriver::logicalKeyOfRegion(7), 4); // menu
    EXPECT_EQ(KeyDriver::logicalKeyOfRegion(128), 14);
}

TEST(KeyDriver, TestButtonPostsOnPressOnly)
{
    Harness h;
    h.clearEvents();
    h.host().keys().onHardkey(13, true);
    h.host().keys().onHardkey(13, false);
    h.host().keys().onHardkey(200, true); // no such region
    SM_RunQueued();
    ASSERT_EQ(h.events().size(), 1U);
    EXPECT_EQ(h.events()[0].sig, SIG_3UHR_RESTART);
}

TEST(InstanceLock, SecondHolderIsRefusedAndTheLockGoesWithItsOwner)
{
    char pattern[] = "/tmp/panel-lock-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    {
        InstanceLock first(dir);
        InstanceLock second(dir);
        EXPECT_EQ(first.acquire("x"), InstanceLock::Result::Acquired);
        EXPECT_EQ(first.acquire("x"), InstanceLock::Result::Acquired); // its own lock again
        EXPECT_EQ(second.acquire("x"), InstanceLock::Result::Busy);
    }
    InstanceLock third(dir);
    EXPECT_EQ(third.acquire("x"), InstanceLock::Result::Acquired);
    InstanceLock nowhere(dir + "/missing");
    EXPECT_EQ(nowhere.acquire("x"), InstanceLock::Result::Error);
    std::filesystem::remove_all(dir);
}

RunResult RunText(const std::string& source, std::string& err)
{
    std::string error;
    auto s = Scenario::parse("t.scn", source, error);
    EXPECT_TRUE(s.has_value()) << error;
    char pattern[] = "/tmp/panel-lock-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    RunOptions o;
    o.host.lockDirectory = dir;
    o.host.fixedClock = true;
    std::FILE* e = std::tmpfile();
    o.host.err = e;
    const RunResult r = RunScenario(std::move(*s), o);
    std::rewind(e);
    char buffer[512];
    err.clear();
    while (std::fgets(buffer, sizeof buffer, e) != nullptr) {
        err += buffer;
    }
    std::fclose(e);
    std::filesystem::remove_all(dir);
    return r;
}

TEST(ScenarioRun, ExpectationsFollowTheTraceInOrder)
{
    std::string err;
    EXPECT_EQ(RunText("wait 1s\nexpect BSM_Systemmonitor Init\nexpect BKE_Kontrasteinstellung Init\n"
                      "controller-reset\nwait 300\nexpect *SIG_REG_RESET\nexpect-not *SIG_3UHR_RESTART\n",
                      err),
              RUN_OK)
        << err;
    // Already passed: a line before the last match does not count again.
    EXPECT_EQ(RunText("wait 1s\nexpect BKE_Kontrasteinstellung Init\nexpect BSM_Systemmonitor Init\n", err),
              RUN_EXPECTATION_FAILED);
    EXPECT_EQ(err.rfind("t.scn:3: expected the trace line \"BSM_Systemmonitor Init\"; came instead:", 0), 0U) << err;
    EXPECT_EQ(RunText("wait 1s\nexpect-not DTM_TimerTask Init\n", err), RUN_EXPECTATION_FAILED);
    EXPECT_NE(err.find("t.scn:2: the trace line \"DTM_TimerTask Init\" came at 250 ms"), std::string::npos) << err;
}

TEST(ScenarioRun, LcdSnapshotsAndGoldenMismatchesNameTheirPictures)
{
    char pattern[] = "/tmp/panel-lcd-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    const std::string cwd = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    std::string err;
    EXPECT_EQ(RunText("wait 1s\nsnapshot start.png\n", err), RUN_OK) << err;
    ASSERT_TRUE(std::filesystem::exists(dir + "/start.png"));
    // The reset screen differs from the blank start: the mismatch is pictured.
    EXPECT_EQ(RunText("wait 1s\ncontroller-reset\nwait 150\nexpect-lcd " + dir + "/start.png\n", err),
              RUN_EXPECTATION_FAILED);
    EXPECT_NE(err.find("pixels differ from " + dir + "/start.png; see start.actual.png and start.diff.png"),
              std::string::npos)
        << err;
    EXPECT_TRUE(std::filesystem::exists(dir + "/start.diff.png"));
    EXPECT_EQ(RunText("expect-lcd " + dir + "/missing.png\n", err), RUN_EXPECTATION_FAILED);
    EXPECT_NE(err.find("no usable golden"), std::string::npos) << err;
    // Damaged goldens are refused with a reason, never read past their end.
    std::filesystem::resize_file(dir + "/start.png", std::filesystem::file_size(dir + "/start.png") / 2);
    LcdPicture picture;
    std::string why;
    EXPECT_FALSE(LcdPngRead(dir + "/start.png", picture, why));
    EXPECT_NE(why.find("damaged PNG file"), std::string::npos) << why;
    std::FILE* junk = std::fopen((dir + "/junk.png").c_str(), "w");
    std::fputs("not a picture at all", junk);
    std::fclose(junk);
    EXPECT_FALSE(LcdPngRead(dir + "/junk.png", picture, why));
    EXPECT_NE(why.find("not a PNG file"), std::string::npos) << why;
    std::filesystem::current_path(cwd);
    std::filesystem::remove_all(dir);
}

} // namespace

namespace {

std::string TempPlant(const std::string& text)
{
    char pattern[] = "/tmp/panel-plant-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    std::FILE* f = std::fopen((dir + "/p.plant").c_str(), "w");
    std::fputs(text.c_str(), f);
    std::fclose(f);
    return dir + "/p.plant";
}

} // namespace

TEST(PlantFile, RoundTripsEveryByteAndNamesTheLineOfAFault)
{
    DAT_Image image{};
    auto* bytes = reinterpret_cast<std::uint8_t*>(&image);
    for (std::size_t i = 0; i < sizeof image; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    const std::string text = PlantFileText(image);
    DAT_Image back{};
    std::string error;
    ASSERT_TRUE(PlantFileApply("p.plant", text, back, error)) << error;
    EXPECT_EQ(PlantFileText(back), text); // byte for byte (the image has padding: no memcmp)
    // A line changes only what it names; blank lines, comments and CR LF are fine.
    ASSERT_TRUE(PlantFileApply("p.plant", "\r\n# x\nsystem 3: 0a FF\r\n", back, error)) << error;
    EXPECT_EQ(back.system[3], 0x0A);
    EXPECT_EQ(back.system[4], 0xFF);
    EXPECT_EQ(back.system[5], image.system[5]);

    const std::pair<const char*, const char*> bad[] = {
        {"system 0: 00\nboiler 0: 00\n", "p.plant:2: no block 'boiler'"},
        {"system 0 00\n", "p.plant:1: the offset of system ends with ':'"},
        {"system 21: 00\n", "p.plant:1: system has bytes 0 to 20, not '21'"},
        {"\n\nsystem 20: 00 00\n", "p.plant:3: system ends after byte 20"},
        {"fan-speed 0: 1FF\n", "p.plant:1: a byte is one or two hexadecimal digits, not '1FF'"},
        {"status -1: 00\n", "p.plant:1: status has bytes 0 to 19, not '-1'"},
    };
    for (const auto& [source, message] : bad) {
        DAT_Image kept = back;
        EXPECT_FALSE(PlantFileApply("p.plant", source, kept, error)) << source;
        EXPECT_EQ(error.rfind(message, 0), 0U) << error;
        EXPECT_EQ(PlantFileText(kept), PlantFileText(back)) << "a bad file changed the plant";
    }
    // A scenario names its line and the plant file's.
    const std::string path = TempPlant("labels 99: 00\n");
    EXPECT_FALSE(Scenario::parse("t.scn", "plant-file " + path + "\n", error).has_value());
    EXPECT_NE(error.find("t.scn:1: plant-file takes"), std::string::npos) << error;
    EXPECT_NE(error.find("p.plant:1: labels has bytes 0 to 79"), std::string::npos) << error;
}

TEST(PlantFile, ACommissionedPlantStartsAtTheBaseDisplay)
{
    DAT_PowerOn();
    DAT_InitDefaults(0);
    DAT_Image plant = DAT_image;
    plant.service[DAT_SERVICE_REQUESTS] &= static_cast<std::uint8_t>(~DAT_SVC1_COMMISSIONING);
    const std::string path = TempPlant(PlantFileText(plant));
    std::string err;
    EXPECT_EQ(RunText("wait 300\nplant-file " + path +
                          "\ncontrol-unit on\nwait 12s\nexpect BGA_Grundanzeige Init\n"
                          "expect-not BIA_InbetriebnahmeAssistent Entry\n",
                      err),
              RUN_OK)
        << err;
    // Without the plant the commissioning assistant comes, as always.
    EXPECT_EQ(RunText("wait 12s\nexpect BIA_InbetriebnahmeAssistent Entry\n", err), RUN_OK) << err;
}

namespace {

struct Seen {
    DAT_Image image{};
    PanelState state;
};

void Inspect(HeadlessHost&, void* context)
{
    auto* seen = static_cast<Seen*>(context);
    seen->image = DAT_image;
    seen->state = PanelStateNow();
}

// Every plant value set on the control unit reaches the panel's image over
// the bus alone: a value the panel does not ask for again, or a status byte
// the wrong way round, shows as a difference.
TEST(PlantControl, EveryValueReachesThePanelAsTelegrams)
{
    DAT_PowerOn();
    DAT_InitDefaults(0);
    const DAT_Image defaults = DAT_image;
    std::string script = "wait 12s\n";
    std::vector<std::pair<const PlantField*, int>> set;
    for (const PlantField& f : PlantFields()) {
        const int v = f.get(defaults) == f.max ? f.min : f.max;
        script += std::string("plant-set ") + f.name + " " + std::to_string(v) + "\n";
        set.emplace_back(&f, v);
    }
    script += "wait 3s\n";
    std::string error;
    auto s = Scenario::parse("t.scn", script, error);
    ASSERT_TRUE(s.has_value()) << error;
    DAT_Image commissioned = defaults;
    commissioned.service[DAT_SERVICE_REQUESTS] &= static_cast<std::uint8_t>(~DAT_SVC1_COMMISSIONING);
    ASSERT_TRUE(s->startWithPlant(TempPlant(PlantFileText(commissioned)), error)) << error;
    char pattern[] = "/tmp/panel-lock-XXXXXX";
    const std::string dir = mkdtemp(pattern);
    RunOptions o;
    o.host.lockDirectory = dir;
    o.host.fixedClock = true;
    Seen seen;
    ASSERT_EQ(RunScenario(std::move(*s), o, Inspect, &seen), RUN_OK);
    std::filesystem::remove_all(dir);
    for (const auto& [f, v] : set) {
        // The fault list travels when a fault screen asks for it; its status bits at once.
        if (std::string(f->name).rfind("fault", 0) == 0) {
            continue;
        }
        EXPECT_EQ(f->get(seen.image), v) << f->name;
    }
    EXPECT_NE(seen.image.status[DAT_STATUS_PLANT] & DAT_PLANT_FAULT, 0) << "the fault's status bit";

    // The state the panel is in, each task's path from its outermost state.
    const auto task = [&](std::uint8_t n) {
        for (const PanelTaskState& t : seen.state.tasks) {
            if (t.task == n) {
                return t;
            }
        }
        return PanelTaskState{};
    };
    EXPECT_EQ(task(DTM_Task).path, std::vector<std::string>{"DTM_TimerTask"});
    const std::vector<std::string> screen = task(BED_Task).path;
    ASSERT_GE(screen.size(), 3U);
    EXPECT_EQ(screen[0], "BSM_Systemmonitor");
    EXPECT_LE(task(BED_Task).highWater, task(BED_Task).queueSize);
}

TEST(PlantControl, ValuesAreTakenInRangeAndTheStartPlantComesAt300Ms)
{
    std::string error;
    for (const char* bad : {"plant-set boiler 128\n", "plant-set outdoor -65\n", "plant-set boiler -1\n",
                            "plant-set nothing 1\n", "plant-set circuits 0x3\n", "plant-set fault 256\n"}) {
        EXPECT_FALSE(Scenario::parse("t.scn", bad, error).has_value()) << bad;
        EXPECT_EQ(error.rfind("t.scn:1: plant-set takes", 0), 0U) << error;
    }
    EXPECT_TRUE(Scenario::parse("t.scn", "plant-set outdoor -64\nplant-set fault 0xA5\n", error).has_value()) << error;

    // The waits are cut where the plant comes; a shorter script is waited out to it.
    auto s = Scenario::parse("t.scn", "wait 100\nwait 1s\npress OK\n", error);
    ASSERT_TRUE(s.has_value());
    ASSERT_TRUE(s->startWithPlant(TempPlant("service 1: 03\n"), error)) << error;
    std::vector<std::string> order;
    for (const ScenarioCommand& c : s->commands()) {
        if (const auto* w = std::get_if<ScenarioCommand::Wait>(&c.action)) {
            order.push_back("wait " + std::to_string(w->ms));
        } else {
            order.push_back(std::holds_alternative<ScenarioCommand::PlantFile>(c.action)           ? "plant"
                            : std::holds_alternative<ScenarioCommand::ControlUnitSwitch>(c.action) ? "on"
                                                                                                   : "other");
        }
    }
    EXPECT_EQ(order, (std::vector<std::string>{"wait 100", "wait 200", "plant", "on", "wait 800", "other"}));
    s = Scenario::parse("t.scn", "press OK\n", error);
    ASSERT_TRUE(s->startWithPlant(TempPlant("service 1: 03\n"), error));
    EXPECT_EQ(s->commands().size(), 4U);
    EXPECT_FALSE(s->startWithPlant(TempPlant("service 1: 03\nservice 60: 00\n"), error));
    EXPECT_NE(error.find("p.plant:2: service has bytes 0 to 53"), std::string::npos) << error;
}

} // namespace
