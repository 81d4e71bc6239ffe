// The operating data image: where every data telegram lands, what it
// refuses, the status edges with their hold-offs, and the circuit accessors.
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <vector>

#include "core/SM.h"
#include "data/DAT.h"
#include "data/DAT_Telegrams.h"
#include "sim/ControlUnit.h"
#include "support/Harness.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::vector<std::uint16_t> toComm; // what reached task 5

SM_State CommRecorder(SM_Hsm*, const SM_Event* e)
{
    if (e->sig > SIG_EXIT) {
        toComm.push_back(e->sig);
    }
    return SM_Top;
}

// The image block by block, padding left out.
struct Member {
    constexpr Member(const char* n, std::size_t o, std::size_t s) : name(n), offset(o), size(s) {}
    const char* name;
    std::size_t offset;
    std::size_t size;
};
#define MEMBER(m) Member(#m, offsetof(DAT_Image, m), sizeof(DAT_Image::m))
constexpr Member kMembers[] = {
    MEMBER(counters), MEMBER(circuit),       MEMBER(displayTail), MEMBER(system),  MEMBER(switching),
    MEMBER(plant),    MEMBER(messages),      MEMBER(messages2),   MEMBER(service), MEMBER(participants),
    MEMBER(solar),    MEMBER(extension),     MEMBER(faults),      MEMBER(history), MEMBER(solarHistory),
    MEMBER(labels),   MEMBER(labelLanguage), MEMBER(counters2),   MEMBER(status),  MEMBER(fanSpeed),
};
#undef MEMBER

// The first byte that differs, or "" when the images are equal.
std::string Diff(const DAT_Image& want, const DAT_Image& got)
{
    const auto* w = reinterpret_cast<const std::uint8_t*>(&want);
    const auto* g = reinterpret_cast<const std::uint8_t*>(&got);
    for (const Member& m : kMembers) {
        for (std::size_t i = 0; i < m.size; ++i) {
            if (w[m.offset + i] != g[m.offset + i]) {
                return std::string(m.name) + " byte " + std::to_string(i) + ": want " +
                       std::to_string(w[m.offset + i]) + ", got " + std::to_string(g[m.offset + i]);
            }
        }
    }
    return "";
}

class DataImage : public ::testing::Test {
  protected:
    void SetUp() override
    {
        SM_TaskCtor(DIS_Task);
        SM_TaskStart(DIS_Task, CommRecorder, 0);
        Fresh();
    }
    void Fresh()
    {
        DAT_InitDefaults(0);
        SM_RunQueued();
        h.clearEvents();
        toComm.clear();
    }
    // Signals that reached the screens since the last call.
    std::vector<std::uint16_t> screens()
    {
        SM_RunQueued();
        std::vector<std::uint16_t> sigs;
        for (const Recorded& r : h.events()) {
            sigs.push_back(r.sig);
        }
        h.clearEvents();
        return sigs;
    }
    static Bytes Telegram(std::uint8_t type, std::uint8_t circuit)
    {
        Bytes t(32);
        t[0] = static_cast<std::uint8_t>(type << 3 | 5);
        t[1] = circuit;
        for (std::size_t i = 2; i < t.size(); ++i) {
            t[i] = static_cast<std::uint8_t>(0xA0 + i - 2); // payload byte n is 0xA0 + n
        }
        return t;
    }
    static bool Store(const Bytes& t) { return DAT_StoreTelegram(t.data(), static_cast<std::uint8_t>(t.size())); }
    Harness h;
};

// Copies payload[from, from + n) to block[at, at + n).
void Land(std::uint8_t* block, std::size_t at, const std::uint8_t* payload, std::size_t from, std::size_t n)
{
    std::memcpy(block + at, payload + from, n);
}

// Where the payload of each single-part type belongs, written from the
// telegram descriptions: `c` is the circuit index (0 or 1).
struct TypeCase {
    std::uint8_t type;
    bool perCircuit;
    void (*land)(DAT_Image& want, int c, const std::uint8_t* p);
};

void Switching(DAT_Image& w, int c, const std::uint8_t* p, int day)
{
    for (int program = 0; program < 3; ++program) {
        Land(w.switching[c][program][day], 0, p, 8 * program, 8);
    }
}

const TypeCase kTypes[] = {
    {0, true,
     [](DAT_Image& w, int c, const std::uint8_t* p) {
         Land(w.counters, 0, p, 0, 24);
         Land(w.circuit[c], 0, p, 24, 3);
     }},
    {1, true,
     [](DAT_Image& w, int c, const std::uint8_t* p) {
         Land(w.circuit[c], 3, p, 0, 20);
         Land(w.displayTail, 0, p, 20, 7);
     }},
    {2, true,
     [](DAT_Image& w, int c, const std::uint8_t* p) {
         Land(w.circuit[c], 23, p, 0, 5);
         Land(w.system, 0, p, 5, 21);
     }},
    {3, true, [](DAT_Image& w, int c, const std::uint8_t* p) { Switching(w, c, p, 0); }},
    {4, true, [](DAT_Image& w, int c, const std::uint8_t* p) { Switching(w, c, p, 1); }},
    {5, true, [](DAT_Image& w, int c, const std::uint8_t* p) { Switching(w, c, p, 2); }},
    {6, true, [](DAT_Image& w, int c, const std::uint8_t* p) { Switching(w, c, p, 3); }},
    {7, true, [](DAT_Image& w, int c, const std::uint8_t* p) { Switching(w, c, p, 4); }},
    {8, true, [](DAT_Image& w, int c, const std::uint8_t* p) { Switching(w, c, p, 5); }},
    {9, true, [](DAT_Image& w, int c, const std::uint8_t* p) { Switching(w, c, p, 6); }},
    {10, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.plant, 0, p, 0, 30); }},
    {13, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.messages, 0, p, 0, 25); }},
    {14, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.messages2, 0, p, 0, 26); }},
    {15, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.service, 0, p, 0, 30); }},
    {16, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.participants, 0, p, 0, 30); }},
    {17, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.solar, 0, p, 0, 25); }},
    {18, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.extension, 0, p, 0, 27); }},
    {24, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.solarHistory, 0, p, 0, 29); }},
    {26, false, [](DAT_Image& w, int, const std::uint8_t* p) { Land(w.counters2, 0, p, 0, 29); }},
};

TEST_F(DataImage, EveryTypeLandsInItsBlocksAndNowhereElse)
{
    for (const TypeCase& tc : kTypes) {
        for (std::uint8_t circuit = 0; circuit <= 2; ++circuit) {
            SCOPED_TRACE("type " + std::to_string(tc.type) + ", circuit " + std::to_string(circuit));
            Fresh();
            DAT_Image want = DAT_image;
            const Bytes t = Telegram(tc.type, circuit);
            const bool refused = tc.perCircuit && circuit == 0;
            if (!refused) {
                tc.land(want, circuit == 2 ? 1 : 0, t.data() + 2);
            }
            EXPECT_EQ(Store(t), !refused);
            EXPECT_EQ(Diff(want, DAT_image), "");
            // The data-changed signals are the communication task's; the plant's
            // payload keeps both circuits, so nothing is asked again either.
            EXPECT_EQ(screens(), std::vector<std::uint16_t>{});
            EXPECT_EQ(toComm, std::vector<std::uint16_t>{});
        }
    }
}

TEST_F(DataImage, TypesWithoutBlockBadCircuitsAndPayloadLengths)
{
    const DAT_Image defaults = DAT_image;
    for (std::uint8_t type : {11, 12, 19, 20, 21, 27, 31}) {
        EXPECT_FALSE(Store(Telegram(type, 1))) << int(type);
    }
    EXPECT_EQ(DAT_IgnoredTelegrams(), 7U);
    for (std::uint8_t type = 0; type < DAT_TYPES; ++type) {
        for (std::uint8_t circuit : {3, 7, 255}) {
            EXPECT_FALSE(Store(Telegram(type, circuit))) << int(type) << "/" << int(circuit);
        }
    }
    EXPECT_EQ(Diff(defaults, DAT_image), "");

    // Bytes beyond the 32 of a telegram are ignored; bytes the master did not
    // send count as 0.
    EXPECT_TRUE(Store(Telegram(15, 0)));
    const DAT_Image full = DAT_image;
    Bytes longOne = Telegram(15, 0);
    longOne.resize(40, 0xEE);
    EXPECT_TRUE(Store(longOne));
    EXPECT_EQ(Diff(full, DAT_image), "");
    Bytes shortOne = Telegram(15, 0);
    shortOne.resize(10);
    EXPECT_TRUE(Store(shortOne));
    EXPECT_EQ(DAT_image.service[7], 0xA7);
    EXPECT_EQ(DAT_image.service[8], 0);
    EXPECT_EQ(DAT_image.service[29], 0);
    EXPECT_EQ(DAT_image.service[36], 0x4E); // the panel's own part of the block stays
    DAT_Image want = DAT_image;
    std::memset(want.solar, 0, sizeof want.solar);
    Bytes bare = Telegram(17, 0);
    bare.resize(2);
    EXPECT_TRUE(Store(bare));
    EXPECT_EQ(Diff(want, DAT_image), "");
}

// Part k carries entries 2k and 2k + 1; a list reaches the image only whole,
// its parts 0 to 4 in order, so that it never shows two answers mixed.
TEST_F(DataImage, FaultListsReachTheImageWholeFromFivePartsInOrder)
{
    const auto part = [](std::uint8_t type, std::uint8_t k, std::uint8_t code) {
        Bytes t = Telegram(type, 0);
        t[2] = k;
        t[3] = code;                  // entry 2k: code
        t[14] = code == 0 ? 0 : 0x11; // entry 2k + 1: code 0x11, or empty
        return t;
    };
    for (std::uint8_t type : {22, 23}) {
        SCOPED_TRACE(int(type));
        Fresh();
        auto& list = type == 22 ? DAT_image.faults : DAT_image.history;
        auto& other = type == 22 ? DAT_image.history : DAT_image.faults;
        std::memset(list, 0x55, sizeof list);
        std::memset(other, 0x66, sizeof other);
        const auto before = [&] {
            std::uint8_t copy[DAT_FAULT_ENTRIES][DAT_FAULT_SIZE];
            std::memcpy(copy, list, sizeof copy);
            return std::vector<std::uint8_t>(&copy[0][0], &copy[0][0] + sizeof copy);
        };
        const std::vector<std::uint8_t> old = before();

        // Parts 0 to 3 change nothing yet; part 4 hands the list over.
        for (std::uint8_t k = 0; k < 4; ++k) {
            EXPECT_TRUE(Store(part(type, k, static_cast<std::uint8_t>(0x20 + k))));
        }
        EXPECT_EQ(before(), old);
        EXPECT_TRUE(Store(part(type, 4, 0)));
        EXPECT_EQ(list[0][0], 0x20);
        EXPECT_EQ(list[1][0], 0x11);
        EXPECT_EQ(list[1][10], 0xB6); // payload 12..22: entry 2k + 1
        EXPECT_EQ(list[6][0], 0x23);
        EXPECT_EQ(list[8][0], 0);
        EXPECT_EQ(list[9][0], 0);
        EXPECT_EQ(other[0][0], 0x66);
        EXPECT_EQ(other[9][10], 0x66);
        const std::vector<std::uint8_t> whole = before();

        // A part that never comes: the last whole list stays.
        EXPECT_TRUE(Store(part(type, 0, 0x30)));
        EXPECT_TRUE(Store(part(type, 1, 0x31)));
        EXPECT_FALSE(Store(part(type, 3, 0x33))) << "part 2 never came";
        EXPECT_FALSE(Store(part(type, 4, 0x34))) << "nor does anything after it count";
        EXPECT_EQ(before(), whole);

        // Out of order, repeated, or beyond 4: nothing of it reaches the image.
        for (const std::vector<std::uint8_t>& order :
             {std::vector<std::uint8_t>{1, 2, 3, 4}, {0, 2, 1, 3, 4}, {0, 1, 1, 2, 3, 4}, {0, 1, 2, 3, 5}}) {
            for (std::uint8_t k : order) {
                Store(part(type, k, 0x40));
            }
            EXPECT_EQ(before(), whole);
        }

        // Part 0 starts afresh, whatever came before it; a part above 4 is
        // stored nowhere and breaks nothing.
        Store(part(type, 0, 0x50));
        Store(part(type, 1, 0x51));
        for (std::uint8_t k = 0; k < 5; ++k) {
            EXPECT_TRUE(Store(part(type, k, k == 2 ? 0 : static_cast<std::uint8_t>(0x60 + k))));
            if (k == 3) {
                EXPECT_FALSE(Store(part(type, 5, 0x65)));
            }
        }
        EXPECT_EQ(list[0][0], 0x60);
        EXPECT_EQ(list[4][0], 0);
        EXPECT_EQ(list[5][0], 0);
        EXPECT_EQ(list[8][0], 0x64);
    }
}

std::u16string Label(std::uint8_t circuit)
{
    const std::uint16_t* units = DAT_Label(circuit);
    return std::u16string(units, units + DAT_LABEL_UNITS);
}

TEST_F(DataImage, LabelsArriveInTwoHalves)
{
    const auto label = [](std::uint8_t circuit, std::uint8_t part, std::uint8_t count, std::uint8_t language) {
        Bytes t(32);
        t[0] = 25 << 3;
        t[1] = circuit;
        t[2] = part;
        t[3] = count;
        for (int i = 0; i < 10; ++i) {
            t[4 + 2 * i] = static_cast<std::uint8_t>('a' + i);
            t[5 + 2 * i] = i == 0 ? 0x01 : 0; // little-endian: the first unit is U+0161
        }
        t[24] = language;
        return t;
    };
    EXPECT_TRUE(Store(label(2, 1, 3, 7)));
    EXPECT_EQ(Label(2), std::u16string(u"šbc\0\0\0\0\0\0\0ss\0\0\0\0\0\0\0\0", 20));
    EXPECT_EQ(DAT_LabelLanguage(2), 7);
    EXPECT_EQ(DAT_Label(1)[0], u'E'); // circuit 1 untouched
    // Any part but 1 is the second half; ten units at most, whatever the count says.
    for (std::uint8_t part : {2, 0, 9}) {
        Fresh();
        EXPECT_TRUE(Store(label(1, part, 200, 0)));
        EXPECT_EQ(Label(1), u"Erdgeschosšbcdefghij") << int(part);
    }
    EXPECT_FALSE(Store(label(0, 1, 3, 0)));
    EXPECT_FALSE(Store(label(3, 1, 3, 0)));
}

TEST_F(DataImage, TheControlUnitSendsWhatThePanelStores)
{
    ControlUnit cu;
    DAT_Image& model = cu.model();
    auto* bytes = reinterpret_cast<std::uint8_t*>(&model);
    for (const Member& m : kMembers) {
        for (std::size_t i = 0; i < m.size; ++i) {
            bytes[m.offset + i] = static_cast<std::uint8_t>(m.offset + 7 * i);
        }
    }
    model.plant[DAT_CFG_OPTIONS] = DAT_image.plant[DAT_CFG_OPTIONS];
    for (std::uint8_t type = 0; type < DAT_TYPES; ++type) {
        for (std::uint8_t circuit = 1; circuit <= 2; ++circuit) {
            for (std::uint8_t part = 0; part < DAT_FAULT_PARTS; ++part) {
                const Bytes t = cu.telegram(type, 1, circuit, type == 25 ? part % 2 + 1 : part);
                DAT_StoreTelegram(t.data(), static_cast<std::uint8_t>(t.size()));
            }
        }
    }
    // What no telegram carries stays the panel's.
    DAT_Image want = model;
    std::memcpy(want.status, DAT_image.status, sizeof want.status);
    std::memcpy(want.fanSpeed, DAT_image.fanSpeed, sizeof want.fanSpeed);
    std::memcpy(want.service + 30, DAT_image.service + 30, sizeof want.service - 30);
    std::memcpy(want.participants + 30, DAT_image.participants + 30, sizeof want.participants - 30);
    EXPECT_EQ(Diff(want, DAT_image), "");
}

TEST_F(DataImage, ThePlantAsksForEverythingWhenItsCircuitsChange)
{
    Bytes t = Telegram(10, 0);
    t[2 + DAT_CFG_OPTIONS] = 0x04; // circuit 2 only
    EXPECT_TRUE(Store(t));
    EXPECT_EQ(toComm, std::vector<std::uint16_t>{}); // posted, not yet dispatched
    SM_RunQueued();
    EXPECT_EQ(toComm, std::vector<std::uint16_t>{SIG_DIS_REFRESH_ALL});
    EXPECT_EQ(DAT_FirstCircuit(), 2);
    t[2 + DAT_CFG_OPTIONS] = 0x08; // another kind, still one circuit
    EXPECT_TRUE(Store(t));
    SM_RunQueued();
    EXPECT_EQ(toComm.size(), 1U);
}

// Status telegrams: the raw 20 bytes with the status word in bytes 0 and 1.
Bytes Status(std::uint16_t word, std::uint8_t plant = 0)
{
    Bytes s(20);
    s[0] = static_cast<std::uint8_t>(word);
    s[1] = static_cast<std::uint8_t>(word >> 8);
    s[DAT_STATUS_PLANT] = plant;
    return s;
}

TEST_F(DataImage, StatusLevelsAndEdges)
{
    using Sigs = std::vector<std::uint16_t>;
    DAT_StoreStatus(Status(0).data());
    EXPECT_EQ(screens(), Sigs{SIG_STATUS_UPDATED});
    // Restart at 3 o'clock and the controller's reset act on the level, every time.
    for (int i = 0; i < 2; ++i) {
        DAT_StoreStatus(Status(DAT_SW_RESTART_3AM | DAT_SW_CONTROLLER_RESET).data());
        EXPECT_EQ(screens(), (Sigs{SIG_3UHR_RESTART, SIG_REG_RESET, SIG_STATUS_UPDATED}));
    }
    DAT_StoreStatus(Status(DAT_SW_RESTART_3AM).data());
    EXPECT_EQ(screens(), (Sigs{SIG_3UHR_RESTART, SIG_STATUS_UPDATED}));
    // The wink and the burner lock on their edges only.
    DAT_StoreStatus(Status(DAT_SW_PARTICIPANT_WINK, DAT_PLANT_BURNER_LOCKED).data());
    EXPECT_EQ(screens(), (Sigs{SIG_PARTICIPANT_WINK, SIG_STATUS_BIT_SET, SIG_STATUS_UPDATED}));
    DAT_StoreStatus(Status(DAT_SW_PARTICIPANT_WINK, DAT_PLANT_BURNER_LOCKED).data());
    EXPECT_EQ(screens(), Sigs{SIG_STATUS_UPDATED});
    DAT_StoreStatus(Status(0).data());
    EXPECT_EQ(screens(), (Sigs{SIG_STATUS_BIT_CLEAR, SIG_STATUS_UPDATED}));

    // The message flags follow their bits' rising edges; a flag the screens
    // cleared comes back only with the next edge.
    DAT_StoreStatus(Status(DAT_SW_FAULT_MESSAGE | DAT_SW_MAINTENANCE_MESSAGE).data());
    EXPECT_TRUE(DAT_FaultMessageFlag());
    EXPECT_TRUE(DAT_MaintenanceMessageFlag());
    DAT_ClearMessageFlags(true, false);
    DAT_StoreStatus(Status(DAT_SW_FAULT_MESSAGE | DAT_SW_MAINTENANCE_MESSAGE).data());
    EXPECT_FALSE(DAT_FaultMessageFlag());
    EXPECT_TRUE(DAT_MaintenanceMessageFlag());
    DAT_StoreStatus(Status(DAT_SW_FAULT_MESSAGE).data());
    EXPECT_FALSE(DAT_MaintenanceMessageFlag());
    DAT_StoreStatus(Status(0).data());
    DAT_StoreStatus(Status(DAT_SW_FAULT_MESSAGE).data());
    EXPECT_TRUE(DAT_FaultMessageFlag());
}

// While its hold-off runs, a bit is stored as 0; its edge shows once the
// counter has run out, one count per second.
TEST_F(DataImage, HoldOffsHideTheirBitsUntilTheyRunOut)
{
    struct HoldCase {
        std::uint8_t which;
        Bytes raw;
        bool (*seen)();
    };
    const HoldCase cases[] = {
        {DAT_HOLD_FAULT_MESSAGE, Status(DAT_SW_FAULT_MESSAGE), [] { return DAT_FaultMessageFlag(); }},
        {DAT_HOLD_MAINTENANCE_MESSAGE, Status(DAT_SW_MAINTENANCE_MESSAGE), [] { return DAT_MaintenanceMessageFlag(); }},
        {DAT_HOLD_BURNER_LOCKED, Status(0, DAT_PLANT_BURNER_LOCKED), [] { return DAT_BurnerControlLocked(); }},
    };
    for (const HoldCase& c : cases) {
        SCOPED_TRACE(int(c.which));
        Fresh();
        DAT_StoreStatus(Status(0).data());
        DAT_SetHoldOff(c.which, 3);
        for (int second = 0; second < 3; ++second) {
            DAT_StoreStatus(c.raw.data());
            EXPECT_FALSE(c.seen()) << second;
            EXPECT_EQ(DAT_StatusWord() & (DAT_SW_FAULT_MESSAGE | DAT_SW_MAINTENANCE_MESSAGE), 0);
            EXPECT_EQ(DAT_StatusByte(DAT_STATUS_PLANT), 0);
            DAT_TickHoldOff();
        }
        screens();
        DAT_StoreStatus(c.raw.data());
        EXPECT_TRUE(c.seen());
        const auto sigs = screens();
        EXPECT_EQ(std::count(sigs.begin(), sigs.end(), SIG_STATUS_BIT_SET), c.which == DAT_HOLD_BURNER_LOCKED ? 1 : 0);
        DAT_TickHoldOff(); // run out: stays at 0
        DAT_StoreStatus(c.raw.data());
        EXPECT_TRUE(c.seen());
    }
    // A hold-off started while the lock is set stores it as cleared: that is an edge too.
    Fresh();
    DAT_StoreStatus(Status(0, DAT_PLANT_BURNER_LOCKED).data());
    screens();
    DAT_SetHoldOff(DAT_HOLD_BURNER_LOCKED, 1);
    DAT_StoreStatus(Status(0, DAT_PLANT_BURNER_LOCKED).data());
    EXPECT_EQ(screens(), (std::vector<std::uint16_t>{SIG_STATUS_BIT_CLEAR, SIG_STATUS_UPDATED}));
}

// The circuit accessors read the current circuit's block itself: whatever
// writes it, they show it at once.
TEST_F(DataImage, CircuitValuesAreReadThrough)
{
    DAT_SelectCircuit(2);
    DAT_image.circuit[1][DAT_CIRCUIT_ROOM_SET] = 23;
    EXPECT_EQ(DAT_RoomSetTemperature(), 23);
    Bytes t = Telegram(1, 2); // mode word and room set temperature of circuit 2
    EXPECT_TRUE(Store(t));
    EXPECT_EQ(DAT_ModeWord(), 0xA1A0);
    EXPECT_EQ(DAT_RoomSetTemperature(), 0xA6);
    EXPECT_TRUE(Store(Telegram(1, 1))); // the other circuit's telegram changes nothing shown
    EXPECT_EQ(DAT_View(), DAT_image.circuit[1]);

    DAT_SetModeWord(0x1234);
    DAT_SetHolidayReturn(1'800'000'000);
    EXPECT_EQ(DAT_image.circuit[1][DAT_CIRCUIT_MODE], 0x34);
    EXPECT_EQ(DAT_image.circuit[0][DAT_CIRCUIT_MODE], 0xA0);
    EXPECT_EQ(DAT_HolidayReturn().year, 2027);

    // Circuit 3 is refused and the selection stays.
    DAT_SelectCircuit(3);
    SM_RunQueued();
    ASSERT_FALSE(h.events().empty());
    EXPECT_EQ(h.events().back().sig, SIG_BED_ERROR_RESET);
    EXPECT_EQ(h.events().back().par, 133U);
    EXPECT_EQ(DAT_CurrentCircuit(), 2);

    // None selected: the first present circuit, the one records go to.
    DAT_SelectCircuit(0);
    EXPECT_EQ(DAT_CurrentCircuit(), 1);
    EXPECT_EQ(DAT_ModeWord(), 0xA1A0);
    DAT_image.plant[DAT_CFG_OPTIONS] = 0x04;
    EXPECT_EQ(DAT_ModeWord(), 0x1234);
    DAT_image.status[DAT_STATUS_CIRCUIT2 + 2] = 0x40;
    EXPECT_EQ(DAT_CircuitStatusByte(2), 0x40);
    EXPECT_EQ(DAT_CircuitStatusByte(4), 0);
}

// Each flag answers to its own bit and no other.
TEST_F(DataImage, FlagsAndTheirBits)
{
    struct Flag {
        std::uint8_t* byte;
        std::uint8_t mask;
        bool (*get)();
    };
    std::uint8_t* status = DAT_image.status;
    std::uint8_t* service = DAT_image.service;
    const Flag flags[] = {
        {&status[7], 0x80, DAT_FaultPresent},
        {&status[0], 0x02, DAT_FaultReported},
        {&status[1], 0x04, DAT_MaintenanceDue}, // by burner hours
        {&status[1], 0x08, DAT_MaintenanceDue}, // by interval
        {&status[7], 0x20, DAT_BurnerControlLocked},
        {&status[5], 0x02, DAT_CalibrationActive},
        {&status[5], 0x01, DAT_FaParametrisationActive},
        {&status[7], 0x10, DAT_FlueGasTestActive},
        {&status[0], 0x04, DAT_BurnerOn},
        {&status[0], 0x10, DAT_BurnerStage2},
        {&status[1], 0x02, DAT_Fahrenheit},
        {&service[1], 0x20, DAT_CommissioningRequested},
        {&service[0], 0x80, DAT_ClockMustBeSet},
        {&service[0], 0x40, DAT_SecondHotWaterBit},
        {&service[13], 0x40, DAT_FillingActive},
        {&service[13], 0x20, DAT_VentingActive},
        {&DAT_image.system[1], 0x02, DAT_BoilerSensorFault},
    };
    for (std::size_t i = 0; i < std::size(flags); ++i) {
        std::memset(DAT_image.status, 0, sizeof DAT_image.status);
        std::memset(DAT_image.service, 0, sizeof DAT_image.service);
        std::memset(DAT_image.system, 0, sizeof DAT_image.system);
        *flags[i].byte = flags[i].mask;
        for (std::size_t j = 0; j < std::size(flags); ++j) {
            EXPECT_EQ(flags[j].get(), flags[j].get == flags[i].get) << "bit " << i << ", flag " << j;
        }
    }
    DAT_image.service[13] = 0x60;
    DAT_EndFilling();
    EXPECT_EQ(DAT_image.service[13], 0x20);
    DAT_image.status[7] = 0xF9;
    EXPECT_EQ(DAT_PlantState(), 9);
}

} // namespace
