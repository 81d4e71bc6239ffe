// Arbitrary byte streams into the bus link's handlers, interleaved with the
// communication cycle's steps, as a misbehaving master could produce them.
#include <cstddef>
#include <cstdint>

#include "comm/DIS_Link.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"

namespace {

struct Setup {
    VirtualTime time;
    HeadlessHost host{time, HeadlessHost::Options{}};
    Setup()
    {
        for (std::uint8_t t = 1; t <= 5; ++t) {
            SM_TaskCtor(t);
        }
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Setup setup;
    DAT_InitDefaults(0);
    DIS_LinkInit();
    std::uint8_t telegram[32];
    for (std::size_t i = 0; i < size; ++i) {
        const std::uint8_t op = data[i];
        const std::uint8_t arg = i + 1 < size ? data[i + 1] : 0;
        switch (op % 8) {
        case 0:
        case 1:
        case 2:
            DIS_RxByte(arg); // most of the stream is master writes
            ++i;
            break;
        case 3:
            DIS_TxStart((arg & 1) != 0);
            for (int n = 0; n < (arg >> 1) && !DIS_TxComplete(); ++n) {
                (void)DIS_TxByte();
            }
            DIS_TxDone((arg & 0x80) != 0);
            ++i;
            break;
        case 4:
            if (DIS_TakeDataTelegram(telegram)) {
                DAT_StoreTelegram(telegram, sizeof telegram);
            }
            break;
        case 5:
            DIS_ProcessStatus();
            DIS_ProcessChangeMask();
            break;
        case 6:
            DIS_OfferNext();
            break;
        default:
            DIS_RecordBuffer()[3] = 231;
            DIS_FileUserOp(arg);
            DIS_SetRequestState(static_cast<std::uint8_t>(arg % DIS_TYPES), DIS_REQUESTED);
            ++i;
            break;
        }
    }
    // Drain what the handlers posted; nothing is dispatched to a real screen.
    SM_ClearReady();
    return 0;
}
