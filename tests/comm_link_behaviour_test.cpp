// The bus link's behaviour at its edges: slot bounds, the change mask, the
// master read handshake, the sequence of long records, what the cycle
// requests and when, and the wire format of switching times.
#include <gtest/gtest.h>
#include <vector>

#include "comm/DIS.h"
#include "comm/DIS_Link.h"
#include "comm/DIS_UserOps.h"
#include "core/DTM.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "sim/ControlUnit.h"
#include "support/Harness.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The image's defaults (two circuits, solar) before the control unit copies them.
struct Defaults {
    Defaults()
    {
        DAT_InitDefaults(1'767'600'000);
        DIS_LinkInit();
    }
};

class Bus : public ::testing::Test {
  protected:
    // One master read after the byte r, driving the byte handlers as a bus
    // driver does; the checksum byte is left out of the result.
    static Bytes read(std::uint8_t r, bool success)
    {
        DIS_RxByte(r);
        DIS_TxStart(true);
        Bytes b{DIS_TxByte()};
        for (std::uint8_t i = 0; i < b[0]; ++i) {
            b.push_back(DIS_TxByte());
        }
        EXPECT_FALSE(DIS_TxComplete()); // the checksum is still to come
        DIS_TxByte();
        EXPECT_TRUE(DIS_TxComplete());
        DIS_TxDone(success);
        return b;
    }
    // The control unit answers the record now offered with a telegram of its sequence.
    void answer(std::uint8_t type, std::uint8_t circuit)
    {
        cu.sendData(cu.telegram(type, DIS_ShortBuffer()[1] & 7, circuit, 0));
        std::uint8_t taken[32];
        DIS_TakeDataTelegram(taken);
    }
    void cycle()
    {
        SM_Post(DIS_Task, SIG_DIS_CYCLE, 0);
        SM_RunQueued();
    }
    Harness h;
    Defaults d;
    ControlUnit cu;
};

TEST_F(Bus, BytesBeyondASlotAreDroppedAndTheNeighbouringBufferKeepsItsOwn)
{
    Bytes status(20, 0);
    status[2] = 0x64;
    ASSERT_TRUE(cu.write(28, status));
    // The change mask has two bytes; the three after them are summed but stored nowhere.
    ASSERT_TRUE(cu.write(24, {0x00, 0x40, 0xEE, 0xEE, 0xEE}));
    ASSERT_TRUE(DIS_ProcessStatus());
    EXPECT_EQ(DAT_StatusByte(0), 0);
    EXPECT_EQ(DAT_StatusByte(1), 0);
    EXPECT_EQ(DAT_StatusByte(2), 0x64);
    DIS_ProcessChangeMask();
    EXPECT_EQ(DIS_RequestState(14), DIS_DUE);

    // A data telegram of 34 bytes: the record offered in slot 20 stays as it is.
    const Bytes offered(DIS_ShortBuffer(), DIS_ShortBuffer() + 9);
    Bytes big = cu.telegram(15, 1, 0, 0);
    big.push_back(0xEE);
    big.push_back(0xEE);
    ASSERT_TRUE(cu.write(16, big));
    EXPECT_EQ(Bytes(DIS_ShortBuffer(), DIS_ShortBuffer() + 9), offered);
}

TEST_F(Bus, ChangeMaskMarksTypesZeroToFourteenDueOnceEach)
{
    cu.sendChangeMask(1U << 14 | 1U << 10 | 1U << 0);
    DIS_ProcessChangeMask();
    EXPECT_EQ(DIS_RequestState(14), DIS_DUE);
    EXPECT_EQ(DIS_RequestState(10), DIS_DUE);
    EXPECT_EQ(DIS_RequestState(DIS_CircuitIndex(0, 1)), DIS_DUE); // per present circuit
    EXPECT_EQ(DIS_RequestState(DIS_CircuitIndex(0, 2)), DIS_DUE);
    EXPECT_EQ(DIS_RequestState(13), DIS_CURRENT);
    EXPECT_EQ(DIS_RequestState(DIS_CircuitIndex(1, 1)), DIS_CURRENT);
    // The mask is taken once; a type waiting for its answer is left waiting.
    DIS_SetRequestState(10, DIS_CURRENT);
    DIS_SetRequestState(14, DIS_REQUESTED);
    DIS_ProcessChangeMask();
    EXPECT_EQ(DIS_RequestState(10), DIS_CURRENT);
    cu.sendChangeMask(1U << 14);
    DIS_ProcessChangeMask();
    EXPECT_EQ(DIS_RequestState(14), DIS_REQUESTED);
}

TEST_F(Bus, FailedReadsKeepTheRecordArmedEightTimesASuccessfulOneReleasesIt)
{
    DIS_UO_Plain(223);
    ASSERT_TRUE(DIS_OfferNext());
    const Bytes record = read(DIS_SLOT_SHORT, false);
    ASSERT_EQ(record.size(), 10U);
    EXPECT_EQ(record[0], 9);
    EXPECT_EQ(record[4], 223);
    for (int i = 1; i < 8; ++i) {
        EXPECT_EQ(read(DIS_SLOT_SHORT, false), record) << "re-read " << i;
    }
    EXPECT_EQ(DIS_ArmedSlot(), DIS_SLOT_SHORT);
    // The identification read in between does not touch the armed record.
    EXPECT_EQ(read(0x40, true), (Bytes{4, 0x11, 0x21, 0x00, 0x01}));
    EXPECT_EQ(DIS_ArmedSlot(), DIS_SLOT_SHORT);
    EXPECT_EQ(read(DIS_SLOT_SHORT, false), record); // the allowance is spent with this one
    EXPECT_EQ(DIS_ArmedSlot(), 0);
    EXPECT_EQ(read(DIS_SLOT_SHORT, true), (Bytes{0}));

    answer(0, 1);
    DIS_UO_Plain(224);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(read(DIS_SLOT_SHORT, true)[4], 224);
    EXPECT_EQ(DIS_ArmedSlot(), 0);
}

TEST_F(Bus, TheByteBeforeAReadChoosesTheResponse)
{
    DIS_UO_Plain(223);
    ASSERT_TRUE(DIS_OfferNext());
    const Bytes identification{4, 0x11, 0x21, 0x00, 0x01};
    EXPECT_EQ(read(0, false).size(), 10U); // 0..63: the armed record
    EXPECT_EQ(read(63, false).size(), 10U);
    EXPECT_EQ(read(64, true), identification); // 64..127: who we are
    EXPECT_EQ(read(127, true), identification);
    EXPECT_EQ(read(128, true), (Bytes{0})); // 128 and above: nothing
    EXPECT_EQ(read(255, true), (Bytes{0}));
    EXPECT_EQ(DIS_ArmedSlot(), DIS_SLOT_SHORT);
}

TEST_F(Bus, LongRecordsTakeTheirTurnInTheSequenceAndTheHandshakeFollowsThem)
{
    DIS_UO_Plain(223); // sequence 3: the record buffer starts at 2
    const std::uint16_t units[3] = {'A', 0x0150, 'C'};
    DIS_UO_Label(2, 2, units, 3, 5);
    EXPECT_EQ(DIS_SequenceNumber(), 4);
    DIS_UO_Plain(224);
    EXPECT_EQ(DIS_SequenceNumber(), 5);

    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_ShortBuffer()[1], (0 << 3) | 3);
    answer(0, 1);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_ArmedSlot(), DIS_SLOT_LONG);
    const std::uint8_t* l = DIS_LongBuffer();
    EXPECT_EQ(Bytes(l, l + 11), (Bytes{'#', 25 << 3 | 4, 2, 2, 3, 'A', 0, 0x50, 0x01, 'C', 0}));
    EXPECT_EQ(l[29], 5);
    EXPECT_EQ(DIS_ShortBuffer()[1], 25 << 3 | 4);
    EXPECT_EQ(DIS_ShortBuffer()[2], 2);
    EXPECT_EQ(DIS_RequestState(25), DIS_REQUESTED);
    EXPECT_FALSE(DIS_OfferNext()); // not answered yet
    answer(25, 2);
    EXPECT_EQ(DIS_RequestState(25), DIS_CURRENT);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_ShortBuffer()[1], (0 << 3) | 5);
    EXPECT_EQ(DIS_ShortBuffer()[3], 224);
}

TEST_F(Bus, ARecordOfATypeQueuedTwiceIsAwaitedOnlyAfterTheLastLeaves)
{
    DIS_UO_ServicePin(); // type 15
    DIS_UO_Function(11, 255);
    EXPECT_EQ(DIS_RequestState(15), DIS_QUEUED + 1);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_RequestState(15), DIS_QUEUED);
    answer(15, 0); // an answer to the first: the second is still queued
    EXPECT_EQ(DIS_RequestState(15), DIS_QUEUED);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_RequestState(15), DIS_REQUESTED);
    answer(15, 0);
    EXPECT_EQ(DIS_RequestState(15), DIS_CURRENT);
}

TEST_F(Bus, ANewTimeOrDateSetsTheClockAndAsksForTheServiceData)
{
    for (const bool date : {false, true}) {
        DIS_LinkInit();
        h.clearEvents();
        date ? DIS_UO_Date(1'800'000'000) : DIS_UO_Time(1'800'000'000);
        SM_RunQueued();
        EXPECT_EQ(DTM_GetSeconds(), 1'800'000'000U);
        ASSERT_EQ(DIS_QueueCount(), 2);
        ASSERT_TRUE(DIS_OfferNext());
        EXPECT_EQ(Bytes(DIS_ShortBuffer() + 1, DIS_ShortBuffer() + 8),
                  (Bytes{2 << 3 | 3, 1, static_cast<std::uint8_t>(date ? 213 : 212), 0x00, 0xD2, 0x49, 0x6B}));
        answer(2, 1);
        ASSERT_TRUE(DIS_OfferNext());
        EXPECT_EQ(DIS_ShortBuffer()[1] >> 3, 15);
        EXPECT_EQ(DIS_ShortBuffer()[3], 231);
    }
}

TEST_F(Bus, LabelsAreAskedOfCircuitTwoWhenThePlantHasOnlyThatOne)
{
    DAT_image.plant[DAT_CFG_OPTIONS] &= static_cast<std::uint8_t>(~DAT_CFG_CIRCUIT1_KIND);
    SM_Post(DIS_Task, SIG_COMM_START, 0);
    SM_Post(DIS_Task, SIG_DATA_TYPE_10, 0); // the plant's answer: the first requests
    SM_RunQueued();
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(DIS_ShortBuffer()[3], 240);
    answer(10, 0);
    ASSERT_TRUE(DIS_OfferNext());
    EXPECT_EQ(Bytes(DIS_ShortBuffer() + 1, DIS_ShortBuffer() + 5),
              (Bytes{static_cast<std::uint8_t>(25 << 3 | (DIS_ShortBuffer()[1] & 7)), 2, 231, 1}));
}

TEST_F(Bus, NoRequestIsQueuedWhileThreeRecordsWait)
{
    SM_Post(DIS_Task, SIG_COMM_START, 0); // files the start record (code 240)
    SM_RunQueued();
    ASSERT_TRUE(DIS_OfferNext()); // offered and not answered: the queue stands still
    DIS_UO_Plain(223);
    DIS_UO_Plain(224);
    DIS_SetRequestState(15, DIS_DUE);
    cycle();
    EXPECT_EQ(DIS_QueueCount(), 3);
    EXPECT_EQ(DIS_RequestState(15), DIS_QUEUED);
    DIS_SetRequestState(14, DIS_DUE);
    cycle();
    EXPECT_EQ(DIS_QueueCount(), 3);
    EXPECT_EQ(DIS_RequestState(14), DIS_DUE); // stays due for a later cycle
}

TEST_F(Bus, DueTypesAreRequestedInTheirOrderOfPriority)
{
    SM_Post(DIS_Task, SIG_COMM_START, 0);
    auto rounds = [&](int n) {
        for (int i = 0; i < n; ++i) {
            cu.round();
            h.advance(100);
        }
    };
    rounds(80); // the start-up conversation
    ASSERT_EQ(SM_TaskState(DIS_Task), SM_Handler(DIS_Run));
    ASSERT_EQ(DIS_QueueCount(), 0);
    const std::size_t from = cu.records().size();
    for (std::uint8_t i : {26, 17, 15, 13, 10, 14, 24}) {
        DIS_SetRequestState(i, DIS_DUE);
    }
    for (std::uint8_t i : {DIS_CircuitIndex(0, 1), DIS_CircuitIndex(1, 2), DIS_CircuitIndex(2, 1)}) {
        DIS_SetRequestState(i, DIS_DUE);
    }
    rounds(30);
    Bytes types;
    Bytes circuits;
    for (std::size_t i = from; i < cu.records().size(); ++i) {
        const Bytes& r = cu.records()[i];
        if (r[3] == 231) {
            types.push_back(r[1] >> 3);
            if ((r[1] >> 3) <= 2) {
                circuits.push_back(r[2]);
            }
        }
    }
    EXPECT_EQ(types, (Bytes{10, 14, 13, 1, 0, 2, 15, 17, 24, 26}));
    EXPECT_EQ(circuits, (Bytes{2, 1, 1}));
}

TEST_F(Bus, SwitchingTimeRecordCarriesHoursAndTensOfMinutes)
{
    DAT_SelectCircuit(2);
    struct Case {
        std::uint8_t steps;
        std::uint8_t coded;
    };
    // 05:30 is 33 steps: hour 5 x 8 + 3; 24:00 is 144; 145 and above are unset.
    for (const Case c : {Case{0, 0}, Case{5, 5}, Case{6, 8}, Case{33, 43}, Case{143, 189}, Case{144, 192},
                         Case{145, 255}, Case{200, 255}}) {
        DIS_UO_SwitchingTime(4, 1, 3, 0x12, 0x0A0B0C0D, c.steps);
        const std::uint8_t* r = DIS_RecordBuffer();
        EXPECT_EQ(Bytes(r + 1, r + 13), (Bytes{static_cast<std::uint8_t>(4 << 3 | DIS_SequenceNumber()), 2, 214, 1, 3,
                                               0x12, 0, 0x0D, 0x0C, 0x0B, 0x0A, c.coded}))
            << "steps " << int(c.steps);
    }
}

} // namespace
