// The fault dialog: fault texts by component number, the hourglass, and the
// list against control units that answer in every way a list can come:
// whole, empty, full, with gaps, in parts out of order, part of it or not at all.
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "comm/DIS_Link.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "gui/LCD.h"
#include "screens/base/BFH.h"
#include "screens/base/BGA.h"
#include "screens/base/BMA.h"
#include "screens/base/BSD.h"
#include "screens/base/BWD.h"
#include "screens/common/ML.h"
#include "screens/common/SCR.h"
#include "sim/ControlUnit.h"
#include "support/PanelRun.h"
#include "support/Script.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(FaultText, EveryComponentNumberFromZeroTo255)
{
    const std::map<int, std::uint16_t> listed = {
        {1, 291}, {2, 50},   {3, 267},  {4, 232},  {5, 26},  {6, 279},  {7, 149},  {8, 252},
        {11, 6},  {12, 208}, {20, 260}, {21, 266}, {22, 27}, {23, 151}, {24, 236}, {25, 97},
        {26, 96}, {27, 107}, {32, 242}, {33, 170}, {34, 31}, {35, 153}, {36, 63},
    };
    for (int n = 0; n < 256; ++n) {
        const auto it = listed.find(n);
        EXPECT_EQ(BSD_FaultTextId(static_cast<std::uint8_t>(n)), it == listed.end() ? 259 : it->second) << n;
    }
}

// The bus master of the test: answers every record from its plant, and a
// request for part k of the current faults with the part `part(k)` says
// (-1: no answer at all).
struct Bus {
    std::unique_ptr<ControlUnit> unit;
    std::vector<Bytes> records; // code and parameters of each record read
    std::function<int(std::uint8_t)> part = [](std::uint8_t k) { return int{k}; };
    void round()
    {
        if (!unit) {
            return;
        }
        const Bytes r = unit->read(DIS_SLOT_SHORT); // length, slot, type/sequence, circuit, code, parameters
        if (r.size() < 5) {
            return;
        }
        records.emplace_back(r.begin() + 4, r.end());
        const std::uint8_t type = r[2] >> 3;
        const bool request = r[4] == 231;
        int k = request && r.size() > 5 ? r[5] : 0;
        if (request && type == 22) {
            k = part(static_cast<std::uint8_t>(k));
            if (k < 0) {
                return;
            }
        }
        unit->sendData(unit->telegram(type, r[2] & 7, r[3], static_cast<std::uint8_t>(k)));
    }
};

class FaultDialog : public ::testing::Test {
  protected:
    // Bus rounds every 100 ms from 1.1 s; the test's actions fall between them.
    void at(std::uint64_t ms, std::function<void()> action) { steps.push_back({ms + 50, std::move(action)}); }
    void withControlUnit(std::function<void(DAT_Image&)> plant)
    {
        steps.push_back({1000, [this, plant] {
                             DAT_image.service[1] = 0x03; // no commissioning
                             bus.unit = std::make_unique<ControlUnit>();
                             plant(bus.unit->model());
                         }});
    }
    void run(std::uint64_t endMs)
    {
        for (std::uint64_t t = 1100; t < endMs; t += 100) {
            steps.push_back({t, [this] { bus.round(); }});
        }
        p.run(steps, endMs);
    }
    static void open() { OpenScreen(BSD_Stoerungsdialog, SCR_FROM_PARENT); }
    static SM_Handler shown() { return SM_TaskState(BED_Task); }
    static std::vector<std::uint32_t> rows() { return {std::begin(LCD_FRAMEBUFFER), std::end(LCD_FRAMEBUFFER)}; }

    PanelRun p;
    Bus bus;
    std::vector<PanelStep> steps;
};

void Fault(DAT_Image& m, int i, std::uint8_t code, std::uint8_t component)
{
    m.faults[i][0] = code;
    m.faults[i][1] = component;
}

TEST_F(FaultDialog, EmptyFullAndGappedListsEachShowAsTheyAre)
{
    withControlUnit([](DAT_Image&) {});
    at(11000, open);
    at(13000, [] { EXPECT_EQ(shown(), BSD_KeineStoerung); });
    at(13100, [this] {
        for (int i = 0; i < DAT_FAULT_ENTRIES; ++i) {
            Fault(bus.unit->model(), i, static_cast<std::uint8_t>(0x10 + i), static_cast<std::uint8_t>(i));
        }
    });
    at(18000, [] { EXPECT_EQ(shown(), BGA_GrundanzeigeMenue) << "4 s of \"Keine Störung\""; });
    at(18100, open);
    at(20000, [] {
        ASSERT_EQ(shown(), BSD_StoerungsdatenMenue);
        EXPECT_EQ(ML_VisibleCount(), 10);
        for (int i = 0; i < 12; ++i) {
            SM_DispatchSignal(SM_TaskHsm(BED_Task), SIG_KEY_DOWN, 0);
        }
        EXPECT_EQ(ML_GetCursor(), 9);
    });
    // Fault code 0 between others: an empty entry, skipped.
    at(20100, [this] {
        for (int i = 0; i < DAT_FAULT_ENTRIES; ++i) {
            Fault(bus.unit->model(), i, i == 0 || i == 3 || i == 9 ? 0x20 : 0, 2);
        }
    });
    at(20200, [] { SM_DispatchSignal(SM_TaskHsm(BED_Task), SIG_KEY_BACK, 0); });
    at(20300, open);
    at(22000, [] {
        ASSERT_EQ(shown(), BSD_StoerungsdatenMenue);
        EXPECT_EQ(ML_VisibleCount(), 3);
        SM_DispatchSignal(SM_TaskHsm(BED_Task), SIG_KEY_DOWN, 0);
        EXPECT_EQ(ML_GetCursor(), 3);
        SM_DispatchSignal(SM_TaskHsm(BED_Task), SIG_KEY_DOWN, 0);
        EXPECT_EQ(ML_GetCursor(), 9);
    });
    run(22500);
}

TEST_F(FaultDialog, AListOutOfOrderOrWithAPartMissingIsNotShownNorMixedWithTheLastOne)
{
    withControlUnit([](DAT_Image& m) {
        Fault(m, 0, 0x2A, 2);
        Fault(m, 5, 0x13, 6);
    });
    // The request for part 2 is answered with part 3: the list never comes whole.
    at(1000, [this] { bus.part = [](std::uint8_t k) { return k == 2 ? 3 : int{k}; }; });
    at(11000, open);
    at(14000, [] {
        EXPECT_EQ(shown(), BSD_AufStoerungsdatenWarten);
        EXPECT_EQ(DAT_image.faults[0][0], 0);
    });
    // In order again: the next request, 10 s after the opening, brings it.
    at(14100, [this] { bus.part = [](std::uint8_t k) { return int{k}; }; });
    std::vector<std::uint32_t> first;
    at(23000, [&first] {
        ASSERT_EQ(shown(), BSD_StoerungsdatenMenue);
        EXPECT_EQ(ML_VisibleCount(), 2);
        first = rows();
    });
    // A new list whose part 2 never comes: the screen keeps the last whole list.
    at(23100, [this] {
        Fault(bus.unit->model(), 0, 0x33, 7);
        Fault(bus.unit->model(), 5, 0, 0);
        Fault(bus.unit->model(), 7, 0x44, 8);
        bus.part = [](std::uint8_t k) { return k == 2 ? -1 : int{k}; };
    });
    at(33500, [&first] {
        EXPECT_EQ(shown(), BSD_StoerungsdatenMenue);
        EXPECT_EQ(DAT_image.faults[0][0], 0x2A) << "parts 0 and 1 of the new list have come";
        EXPECT_EQ(DAT_image.faults[5][0], 0x13);
        EXPECT_EQ(DAT_image.faults[7][0], 0);
        EXPECT_EQ(rows(), first);
    });
    run(34000);
}

void Key(std::uint16_t sig)
{
    SM_DispatchSignal(SM_TaskHsm(BED_Task), sig, 0);
}

std::vector<std::uint32_t> Lcd()
{
    return {std::begin(LCD_FRAMEBUFFER), std::end(LCD_FRAMEBUFFER)};
}

// Maintenance: one row for burner hours alone; OK leaves where nothing is to
// be acknowledged; the question starts on "Nein" each time, and "Nein" sends nothing.
TEST_F(FaultDialog, MaintenanceRowsAcknowledgementAndNein)
{
    withControlUnit([](DAT_Image&) {});
    at(11000, [this] { bus.unit->sendStatus({0x84, 0x04, 0x64, 0x66, 0x28, 0, 0, 0x43}); });
    at(11300, [] { OpenScreen(BWD_WartungsDialog, SCR_FROM_PARENT); });
    at(11600, [] {
        ASSERT_EQ(shown(), BWD_WartungsdatenMenue);
        EXPECT_EQ(ML_VisibleCount(), 1);
        EXPECT_EQ(ML_GetCursor(), 0);
        EXPECT_EQ(ShownHint(), HINT_BACK);
        Key(SIG_KEY_OK);
        EXPECT_EQ(shown(), BGA_GrundanzeigeMenue);
    });
    // Acknowledgeable now: the message comes, and OK in the list asks.
    at(12000, [this] { bus.unit->sendStatus({0x84, 0x4C, 0x64, 0x66, 0x28, 0, 0, 0x43}); });
    std::vector<std::uint32_t> nein;
    at(12500, [&nein] {
        ASSERT_EQ(shown(), BMA_Wartung);
        Key(SIG_KEY_OK);
        ASSERT_EQ(shown(), BWD_WartungsdatenMenue);
        EXPECT_EQ(ML_VisibleCount(), 2);
        EXPECT_EQ(ShownHint(), HINT_ACKNOWLEDGE_OK);
        Key(SIG_KEY_OK);
        ASSERT_EQ(shown(), BWD_QuittierungsAbfrage);
        nein = Lcd();
        Key(SIG_KEY_DOWN);
        EXPECT_NE(Lcd(), nein);
        Key(SIG_KEY_BACK);
        EXPECT_EQ(shown(), BWD_WartungsdatenMenue);
        Key(SIG_KEY_OK);
    });
    at(12800, [&nein] {
        ASSERT_EQ(shown(), BWD_QuittierungsAbfrage);
        EXPECT_EQ(Lcd(), nein) << "the question starts on \"Nein\" again";
        Key(SIG_KEY_OK);
        EXPECT_EQ(shown(), BMA_Wartung) << "\"Nein\" leaves; the message is still there";
    });
    at(14000, [this] {
        for (const Bytes& r : bus.records) {
            EXPECT_NE(r[0], 242) << "sent on \"Nein\"";
        }
        Key(SIG_KEY_OK);
        Key(SIG_KEY_OK);
        Key(SIG_KEY_UP);
        Key(SIG_KEY_OK);
        EXPECT_EQ(shown(), BWD_QuittierungsFeedback);
        EXPECT_FALSE(DAT_MaintenanceMessageFlag());
    });
    run(15000);
    ASSERT_FALSE(bus.records.empty());
    EXPECT_EQ(bus.records.back(), (Bytes{242, 0x55, 0, 0, 0, 0}));
}

// The history: one entry keeps "Weiter mit OK"; two ask for a choice, and
// "Weiter mit OK" after a cursor move runs out back to it.
TEST_F(FaultDialog, HistoryHintByTheNumberOfEntries)
{
    withControlUnit([](DAT_Image& m) { m.history[4][0] = 0x05; });
    at(11000, [] { OpenScreen(BFH_FehlerhistorieDialog, SCR_FROM_PARENT); });
    at(13000, [] {
        ASSERT_EQ(shown(), BFH_FehlerdatenMenue);
        EXPECT_EQ(ShownHint(), HINT_CONTINUE_OK);
    });
    at(19000, [this] {
        EXPECT_EQ(shown(), BFH_FehlerdatenMenue) << "the hint timer does not end the list";
        EXPECT_EQ(ShownHint(), HINT_CONTINUE_OK);
        bus.unit->model().history[8][0] = 0x06;
        Key(SIG_KEY_BACK);
        OpenScreen(BFH_FehlerhistorieDialog, SCR_FROM_PARENT);
    });
    at(21000, [] {
        ASSERT_EQ(shown(), BFH_FehlerdatenMenue);
        EXPECT_EQ(ShownHint(), HINT_CHOOSE);
        Key(SIG_KEY_DOWN);
        EXPECT_EQ(ML_GetCursor(), 8);
        EXPECT_EQ(ShownHint(), HINT_CONTINUE_OK);
    });
    at(25500, [] { EXPECT_EQ(ShownHint(), HINT_CHOOSE); });
    run(26000);
}

TEST_F(FaultDialog, HourglassTurnsSeventeenFramesEvery300Ms)
{
    // No control unit: the list never comes.
    at(11000, open);
    std::vector<std::vector<std::uint32_t>> frames;
    for (int k = 0; k < 36; ++k) {
        at(11200 + 300 * static_cast<std::uint64_t>(k), [&frames] {
            std::vector<std::uint32_t> box;
            for (int x = 101; x <= 136; ++x) {
                for (int y = 61; y <= 96; ++y) {
                    box.push_back(LCD_FRAMEBUFFER[x * LCD_YSIZE + y]);
                }
            }
            frames.push_back(box);
        });
    }
    run(22200);
    ASSERT_EQ(frames.size(), 36U);
    for (std::size_t k = 0; k + 1 < frames.size(); ++k) {
        EXPECT_NE(frames[k], frames[k + 1]) << k;
        if (k + BSD_HOURGLASS_FRAMES < frames.size()) {
            EXPECT_EQ(frames[k], frames[k + BSD_HOURGLASS_FRAMES]) << k;
        }
    }
    EXPECT_EQ(std::set<std::vector<std::uint32_t>>(frames.begin(), frames.end()).size(), BSD_HOURGLASS_FRAMES);
}

} // namespace
