// The bus link byte by byte, the outgoing queue, and the conversation with a
// control unit of our own, end to end in virtual time.
#include <algorithm>
#include <gtest/gtest.h>

#include "app/MainTask.h"
#include "comm/DIS.h"
#include "comm/DIS_Link.h"
#include "comm/DIS_UserOps.h"
#include "core/DTM.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "sim/ControlUnit.h"
#include "support/Harness.h"
#include "support/PanelRun.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class Link : public ::testing::Test {
  protected:
    void SetUp() override
    {
        DAT_InitDefaults(0);
        DIS_LinkInit();
    }
    Harness h; // a host and running tasks
};

TEST_F(Link, FramesAreCheckedAndOnlyCompleteOnesFlagged)
{
    ControlUnit cu;
    Bytes t;
    // 5, 16, 08 01 02 03, checksum 0x1E: a data telegram of type 1, sequence 0, circuit 1.
    EXPECT_FALSE(cu.write(16, {0x08, 0x01, 0x02, 0x03}, true)); // checksum 0x1F
    std::uint8_t taken[32];
    EXPECT_FALSE(DIS_TakeDataTelegram(taken));
    EXPECT_TRUE(cu.write(16, {0x08, 0x01, 0x02, 0x03}));
    DIS_SetRequestState(DIS_CircuitIndex(1, 1), DIS_REQUESTED);
    EXPECT_FALSE(DIS_TakeDataTelegram(taken)); // sequence 0 is not the one offered (1)
    // A slot outside the table is consumed and changes nothing.
    EXPECT_TRUE(cu.write(40, {1, 2, 3}));
    EXPECT_FALSE(DIS_TakeDataTelegram(taken));

    bool ok = false;
    EXPECT_EQ(cu.read(0x40, &ok), (Bytes{4, 0x11, 0x21, 0x00, 0x01})); // identification, checksum 0x37
    EXPECT_TRUE(ok);
    EXPECT_EQ(cu.read(0x14, &ok), (Bytes{0})); // nothing armed
    EXPECT_TRUE(ok);
    EXPECT_EQ(cu.read(0x80), (Bytes{0}));
}

TEST_F(Link, SequenceWrapsAndTheThirtyThirdRecordIsDropped)
{
    std::vector<std::uint8_t> seen;
    for (int i = 0; i < 7; ++i) {
        DIS_UO_Plain(223);
        seen.push_back(DIS_SequenceNumber());
    }
    EXPECT_EQ(seen, (std::vector<std::uint8_t>{3, 4, 5, 6, 7, 1, 2})); // the buffer starts at 2
    while (DIS_QueueCount() < DIS_QUEUE_SIZE) {
        DIS_UO_Plain(223);
    }
    DIS_SetRequestState(15, DIS_CURRENT);
    DIS_UO_ServicePin(); // type 15: dropped, and its state does not claim a queued record
    EXPECT_EQ(DIS_QueueCount(), DIS_QUEUE_SIZE);
    EXPECT_EQ(DIS_RequestState(15), DIS_CURRENT);
}

TEST_F(Link, OnlyTheAwaitedAnswerIsAccepted)
{
    ControlUnit cu;
    DIS_UO_Request(15, 0);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_RequestState(15), DIS_REQUESTED);
    const std::uint8_t sequence = DIS_ShortBuffer()[1] & 7;
    std::uint8_t taken[32];
    cu.sendData(cu.telegram(16, sequence, 0, 0)); // not requested
    EXPECT_FALSE(DIS_TakeDataTelegram(taken));
    cu.sendData(cu.telegram(15, static_cast<std::uint8_t>(sequence % 7 + 1), 0, 0)); // foreign sequence
    EXPECT_FALSE(DIS_TakeDataTelegram(taken));
    Bytes bad = cu.telegram(27, sequence, 0, 0); // no such type
    cu.sendData(bad);
    EXPECT_FALSE(DIS_TakeDataTelegram(taken));
    cu.sendData(cu.telegram(15, sequence, 0, 0));
    EXPECT_TRUE(DIS_TakeDataTelegram(taken));
    EXPECT_EQ(DIS_RequestState(15), DIS_CURRENT);
    // Per-circuit types take circuits 1 and 2 only.
    DIS_UO_Request(DIS_CircuitIndex(1, 1), 0);
    DIS_SetRequestState(DIS_CircuitIndex(1, 1), DIS_REQUESTED);
    Bytes noCircuit = cu.telegram(1, sequence, 1, 0);
    noCircuit[1] = 0;
    cu.sendData(noCircuit);
    EXPECT_FALSE(DIS_TakeDataTelegram(taken));
}

TEST_F(Link, LinkResetAsksAgainForAnswersThatNeverCame)
{
    DIS_UO_Request(22, 0);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_RequestState(22), DIS_REQUESTED);
    DIS_LinkReset();
    EXPECT_EQ(DIS_RequestState(22), DIS_DUE);
    EXPECT_EQ(DIS_ArmedSlot(), 0);
}

TEST_F(Link, MaintenanceResetClearsEveryMaintenanceBitAcknowledgeNone)
{
    DAT_SetStatusFlag(0, 0x02, true); // fault reported
    DAT_SetStatusFlag(1, 0x4E, true); // bits 9 (unit), 10, 11, 14
    DIS_UO_Maintenance(0x55);
    EXPECT_TRUE(DAT_MaintenanceDue());
    EXPECT_EQ(DAT_StatusByte(1) & 0x4E, 0x4E);
    DIS_UO_Maintenance(0xAA);
    EXPECT_FALSE(DAT_MaintenanceDue());
    EXPECT_EQ(DAT_StatusByte(1) & 0x4E, 0x02) << "the maintenance bits only";
    EXPECT_TRUE(DAT_FaultReported());
    EXPECT_EQ(DIS_QueueCount(), 2);
}

TEST_F(Link, UserOperationsWriteTheImageFirst)
{
    DAT_SelectCircuit(1);
    DIS_UO_ShutDown();
    EXPECT_EQ(DAT_OperatingProgram(), 5);
    EXPECT_EQ(DIS_QueueCount(), 2); // 200, then 221
    DIS_UO_PartyOn();
    EXPECT_NE(DAT_ModeWord() & 0x10, 0);
    DIS_UO_HolidayDeparture(1'800'000'000);
    EXPECT_EQ(DAT_HolidayDeparture().year, 2027);
    DIS_UO_HolidayEnded();
    EXPECT_EQ(DAT_HolidayDeparture().year, 1970);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_ShortBuffer()[3], 200);
    EXPECT_EQ(DIS_ShortBuffer()[1] >> 3, 1);
    EXPECT_EQ(DIS_ShortBuffer()[2], 1);
}

// The whole panel with a control unit answering on the bus every 100 ms.
struct Conversation {
    PanelRun run;
    ControlUnit* cu = nullptr;
    std::vector<PanelStep> steps(std::uint64_t from, std::uint64_t to, bool answer = true)
    {
        std::vector<PanelStep> s;
        s.push_back({from, [this] {
                         static ControlUnit* unit = nullptr;
                         delete unit;
                         unit = new ControlUnit(); // after the defaults are in the image
                         cu = unit;                // the start-up screen starts the communication
                     }});
        for (std::uint64_t t = from + 100; answer && t < to; t += 100) {
            s.push_back({t, [this] { cu->round(); }});
        }
        return s;
    }
    std::vector<std::uint8_t> requested(std::size_t from = 0) const
    {
        std::vector<std::uint8_t> types;
        for (std::size_t i = from; i < cu->records().size(); ++i) {
            const auto& r = cu->records()[i];
            if (r[0] != '#' && r[3] == 231) {
                types.push_back(static_cast<std::uint8_t>(r[1] >> 3));
            }
        }
        return types;
    }
};

bool Has(const std::vector<std::uint8_t>& v, std::uint8_t x)
{
    return std::find(v.begin(), v.end(), x) != v.end();
}

TEST(Conversation, StartsWithThePlantThenEverythingThenRuns)
{
    Conversation c;
    ASSERT_TRUE(c.run.run(c.steps(1000, 15000), 15000));
    EXPECT_EQ(SM_TaskState(DIS_Task), SM_Handler(DIS_Run));
    const auto& records = c.cu->records();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0][3], 240); // start of communication first
    EXPECT_EQ(records[0][1] >> 3, 10);
    const auto types = c.requested();
    for (std::uint8_t t : {25, 2, 1, 0, 17, 24, 26, 15, 22, 3, 4, 5, 6, 7, 8, 9}) {
        EXPECT_TRUE(Has(types, t)) << "type " << int(t) << " never requested";
    }
    EXPECT_EQ(std::count(types.begin(), types.end(), 22), 5); // five parts of the fault list
    EXPECT_EQ(std::count(types.begin(), types.end(), 9), 2);  // both circuits' Sunday
    EXPECT_EQ(MAIN_GetResetReason(), 0);
    EXPECT_TRUE(c.run.traced("DIS_Run Entry"));
}

TEST(Conversation, PeriodicGroupsAskAgain)
{
    Conversation c;
    ASSERT_TRUE(c.run.run(c.steps(1000, 75000), 75000));
    const auto types = c.requested(c.cu->records().size() / 2);
    for (std::uint8_t t : {17, 24, 26, 1, 2, 0, 10, 15, 22, 3, 9, 25}) {
        EXPECT_TRUE(Has(types, t)) << "type " << int(t) << " not asked again";
    }
}

TEST(Conversation, LabelsAreAskedOfCircuitOneFirstWhicheverCircuitIsSelected)
{
    Conversation c;
    auto steps = c.steps(1000, 75000);
    steps.push_back({900, [] { DAT_SelectCircuit(2); }});
    ASSERT_TRUE(c.run.run(steps, 75000));
    int asked = 0;
    int secondCircuit = 0;
    int before = 0; // the circuit and part asked for last, as 10 x circuit + part
    for (const auto& r : c.cu->records()) {
        if (r[0] != '#' && r[3] == 231 && r[1] >> 3 == 25) {
            const int now = 10 * r[2] + r[4];
            if (r[2] == 2) {
                // Circuit 2's halves follow circuit 1's, never lead.
                EXPECT_TRUE(now == 21 ? before == 12 : before == 21) << "part " << int(r[4]);
                ++secondCircuit;
            }
            asked += now == 11 ? 1 : 0;
            before = now;
        }
    }
    EXPECT_GE(asked, 2); // at the start and once a minute
    EXPECT_GE(secondCircuit, 4);
}

TEST(Conversation, UnsetDisplaySettingsAreSentBackWithTheImagesDisplayFlag)
{
    Conversation c;
    auto steps = c.steps(1000, 15000);
    steps.push_back({900, [] {
                         DAT_image.system[4] = 255; // no contrast kept yet
                         DAT_image.displayTail[2] = 0xAA;
                     }});
    ASSERT_TRUE(c.run.run(steps, 15000));
    int sent = 0;
    for (const auto& r : c.cu->records()) {
        if (r[0] != '#' && r[3] == 234) {
            EXPECT_EQ(r[7], 0xAA);
            ++sent;
        }
    }
    EXPECT_EQ(sent, 1);
}

TEST(Conversation, SilentMasterResetsTheLinkAndTheSecondResetIsAnError)
{
    Conversation c;
    ASSERT_TRUE(c.run.run(c.steps(1000, 5000), 75000)); // the master falls silent at 5 s
    std::uint32_t errorAt = 0;
    for (const TraceLine& l : c.run.host().traceLines()) {
        if (l.text == "*SIG_BED_ERROR_RESET: 32") {
            errorAt = l.ms;
        }
    }
    // First reset after 30 s of silence (no error), the second 30 s later.
    EXPECT_GT(errorAt, 65000U);
    EXPECT_LT(errorAt, 67500U); // the watchdog looks every 1.1 s
}

TEST(ImageEncodings, TemperaturesAndFahrenheit)
{
    EXPECT_EQ(DAT_TempUnsigned(101), 51);
    EXPECT_EQ(DAT_TempSigned(-3), -2);
    EXPECT_EQ(DAT_TempSigned(3), 2);
    EXPECT_EQ(DAT_ToFahrenheit(20), 68);
    EXPECT_EQ(DAT_ToFahrenheit(-10), 14);
    EXPECT_EQ(DAT_FromFahrenheit(68), 20);
    EXPECT_EQ(DAT_FromFahrenheit(14), -10);
}

TEST(Image, DefaultsTelegramsAndStatusEdges)
{
    Harness h;
    DAT_InitDefaults(1'767'600'000);
    EXPECT_EQ(DAT_BoilerTemperature(), 50);
    EXPECT_EQ(DAT_HotWaterTemperature(), 51);
    EXPECT_EQ(DAT_OutsideTemperature(), 0);
    EXPECT_TRUE(DAT_BurnerOn());
    EXPECT_EQ(DAT_CircuitCount(), 2);
    EXPECT_TRUE(DAT_HasSolar());
    EXPECT_EQ(DAT_Contrast(), 26);
    EXPECT_EQ(DAT_ControllerClock(), 1'767'600'000U);
    EXPECT_EQ(DAT_Label(2)[0], 'O');

    // A fault list starts empty with part 0 and replaces the old one whole.
    DAT_image.faults[9][0] = 77;
    std::uint8_t t[32] = {22 << 3, 0, 0, 42};
    for (std::uint8_t part = 0; part < 5; ++part) {
        t[2] = part;
        t[3] = part == 0 ? 42 : 0;
        DAT_StoreTelegram(t, 32);
    }
    EXPECT_EQ(DAT_image.faults[0][0], 42);
    EXPECT_EQ(DAT_image.faults[9][0], 0);

    // No circuit present: one circuit, and it is circuit 1.
    std::uint8_t plant[32] = {10 << 3, 0};
    DAT_StoreTelegram(plant, 32);
    EXPECT_EQ(DAT_CircuitCount(), 1);
    EXPECT_EQ(DAT_FirstCircuit(), 1);

    // A label telegram copies ten units at most, whatever its count says.
    std::uint8_t label[32] = {25 << 3, 2, 1, 200};
    for (int i = 0; i < 10; ++i) {
        label[4 + 2 * i] = static_cast<std::uint8_t>('a' + i);
    }
    DAT_StoreTelegram(label, 32);
    EXPECT_EQ(DAT_Label(2)[9], 'j');
    EXPECT_EQ(DAT_Label(2)[10], 's'); // the second part ("Obergeschoss") is untouched

    // Circuit 3 cannot be selected.
    h.clearEvents();
    DAT_SelectCircuit(3);
    SM_RunQueued();
    ASSERT_FALSE(h.events().empty());
    EXPECT_EQ(h.events().back().sig, SIG_BED_ERROR_RESET);
    EXPECT_EQ(h.events().back().par, 133U);

    // The participant bit posts once on its rising edge; the wink follows no repeat.
    h.clearEvents();
    std::uint8_t status[20] = {0x08};
    DAT_StoreStatus(status);
    DAT_StoreStatus(status);
    SM_RunQueued();
    EXPECT_EQ(h.timesOf(SIG_PARTICIPANT_WINK).size(), 1U);
    EXPECT_EQ(h.timesOf(SIG_STATUS_UPDATED).size(), 2U);
    // A hold-off hides the fault bit until it has run out.
    DAT_SetHoldOff(0, 1);
    std::uint8_t fault[20] = {0x02};
    DAT_StoreStatus(fault);
    EXPECT_FALSE(DAT_FaultMessageFlag());
    DAT_TickHoldOff();
    DAT_StoreStatus(fault);
    EXPECT_TRUE(DAT_FaultMessageFlag());
}

TEST(Calendar, LimitsAndWrapAround)
{
    DTM_Clock d{2098, 2, 28, 0, 0, 0, 0};
    DTM_AddDays(d, 1);
    EXPECT_EQ(d.day, 28);
    EXPECT_EQ(d.month, 2);
    DTM_Clock late{2099, 12, 31, 0, 0, 0, 0};
    DTM_ClampDate(late);
    EXPECT_EQ(late.month, 2);
    EXPECT_EQ(late.day, 28);
    DTM_Clock early{2008, 6, 15, 0, 0, 0, 0};
    DTM_ClampDate(early);
    EXPECT_EQ(early.year, 2009);
    EXPECT_EQ(early.month, 1);
    DTM_Clock zeroMonth{2020, 0, 0, 0, 0, 0, 0};
    DTM_ClampDate(zeroMonth);
    EXPECT_EQ(zeroMonth.month, 1);
    EXPECT_EQ(zeroMonth.day, 1);
    std::uint8_t hour = 23;
    std::uint8_t minute = 45;
    DTM_AddMinutes(hour, minute, 30);
    EXPECT_EQ(hour, 0);
    EXPECT_EQ(minute, 15);
    EXPECT_EQ(DTM_SecondsToRecord(0).weekday, 4);
    const DTM_Clock leap = DTM_SecondsToRecord(DTM_RecordToSeconds({2024, 2, 29, 0, 13, 14, 15}));
    EXPECT_EQ(leap.day, 29);
    EXPECT_EQ(leap.second, 15);
    DTM_Clock empty{};
    EXPECT_EQ(DTM_AddDays(empty, 1), DTM_SecondsToRecord(14245 * 86400U).weekday);
    EXPECT_EQ(empty.year, 2009);
    EXPECT_EQ(DTM_AddYears(2098, 5), 2099);
    EXPECT_EQ(DTM_CompareDates({2020, 5, 1, 0, 0, 0, 0}, {2020, 4, 30, 0, 0, 0, 0}), 1);
}

} // namespace
