// Bus traffic into a whole panel: the input is a sequence of master
// transfers (data telegrams, status telegrams, change masks, reads, broken
// frames), keys and passing time. Each transfer goes through the link's
// byte handlers in interrupt context as the bus driver feeds them, and what
// it posts is dispatched into the real tasks and screens, so that a fault
// anywhere downstream (a screen redrawing on a data signal) is found. Bytes
// on the test serial port join them; an input whose first byte is odd opens
// the factory's quality check with them in the start-up's window.
// Every input starts from a panel powered on afresh.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "app/APP.h"
#include "app/MainTask.h"
#include "comm/DIS_Link.h"
#include "comm/UART.h"
#include "core/DTM.h"
#include "core/SM.h"
#include "data/DAT.h"
#include "data/FLS.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "hal/HAL.h"
#include "sim/PowerOn.h"
#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"

namespace {

constexpr std::uint64_t kLoopMs = 100;     // the main loop's cadence
constexpr std::uint64_t kStartMs = 3300;   // to the start of communication
constexpr std::uint64_t kMostMs = 120'000; // virtual time one input may use
constexpr std::uint8_t kSlotData = 16;
constexpr std::uint8_t kSlotMask = 24;
constexpr std::uint8_t kSlotStatus = 28;

class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    bool more() const { return at_ < size_; }
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A new host and clock for every input, in the same memory each time.
struct Panel {
    std::optional<VirtualTime> time;
    std::optional<HeadlessHost> host;
    std::uint64_t used = 0;

    void renew()
    {
        static std::FILE* const quiet = std::fopen("/dev/null", "w");
        host.reset();
        time.emplace();
        HeadlessHost::Options o;
        o.fixedClock = true;
        o.clock = HOST_LocalTime{1'767'600'000, 0, false};
        o.err = quiet;
        o.out = quiet;
        host.emplace(*time, o);
        used = 0;
    }
};

// As the main task starts the panel, without its loop.
void PowerOnAndStart()
{
    SIM_PowerOn();
    HAL_InitInterrupts();
    __disable_interrupt();
    APP_InstallHooks();
    for (const APP_Task& t : APP_TASKS) {
        SM_TaskCtor(t.task);
    }
    UART_Open(UART_TEST_PORT);
    FLS_Init();
    TXT_ClearBuffer();
    DAT_InitDefaults(DTM_HostLocalSeconds());
    GUI_Start();
    GUI_UseUtf8();
    SM_ClearReady();
    SM_TaskCtor(BED_Task);
    HAL_InputStart();
    for (const APP_Task& t : APP_TASKS) {
        SM_TaskStart(t.task, t.initial, 1);
    }
    __enable_interrupt();
    SM_TaskStart(BED_Task, BSM_Systemmonitor, 1);
}

void Check()
{
    if (HAL_InterruptNesting() != 0) {
        __builtin_trap();
    }
}

// Main-loop rounds: the ticks of 100 ms, then everything queued.
void Pass(Panel& p, std::uint64_t ms)
{
    for (std::uint64_t t = 0; t < ms && p.used < kMostMs; t += kLoopMs) {
        p.time->advance(kLoopMs);
        p.used += kLoopMs;
        SM_RunQueued();
        Check();
    }
}

// The byte handlers run in interrupt context on the device.
template <typename F> void InInterrupt(F f)
{
    HAL_IsrEnter();
    __enable_interrupt();
    f();
    __disable_interrupt();
    HAL_IsrLeave();
}

// What the bus driver posts when a transfer has ended.
void TransferEnded(bool wasRead)
{
    if (wasRead) {
        SM_Post(DIS_Task, SIG_DIS_MASTER_READ, 0);
    }
    SM_Post(DIS_Task, SIG_DIS_CYCLE, 0);
}

void Write(std::uint8_t slot, const std::vector<std::uint8_t>& bytes, bool corrupt)
{
    InInterrupt([&] {
        std::uint8_t sum = slot;
        DIS_RxByte(static_cast<std::uint8_t>(bytes.size() + 1));
        DIS_RxByte(slot);
        for (const std::uint8_t b : bytes) {
            DIS_RxByte(b);
            sum = static_cast<std::uint8_t>(sum + b);
        }
        DIS_RxByte(corrupt ? static_cast<std::uint8_t>(sum + 1) : sum);
    });
    TransferEnded(false);
}

// A master read after the byte r; the bytes between length and checksum.
std::vector<std::uint8_t> Read(std::uint8_t r, bool success)
{
    std::vector<std::uint8_t> record;
    InInterrupt([&] {
        DIS_RxByte(r);
        DIS_TxStart(true);
        const std::uint8_t n = DIS_TxByte();
        for (std::uint8_t i = 0; i < n; ++i) {
            record.push_back(DIS_TxByte());
        }
        (void)DIS_TxByte();
        DIS_TxDone(success);
    });
    TransferEnded(true);
    return record;
}

std::vector<std::uint8_t> Bytes(Input& in, std::size_t n)
{
    std::vector<std::uint8_t> b(n);
    for (std::uint8_t& x : b) {
        x = in.next();
    }
    return b;
}

// The master reads the record on offer and answers it with a telegram of
// its type, sequence and circuit; the input gives the payload.
void Answer(Input& in)
{
    const std::uint8_t armed = DIS_ArmedSlot();
    const std::vector<std::uint8_t> record = Read(armed != 0 ? armed : DIS_SLOT_SHORT, true);
    std::vector<std::uint8_t> telegram = Bytes(in, 32);
    if (record.size() >= 3) {
        const std::uint8_t type = record[1] >> 3;
        const bool perCircuit = type <= 9 || type == 25;
        telegram[0] = record[1];
        telegram[1] = perCircuit ? (record[2] == 2 ? 2 : 1) : 0;
    }
    Write(kSlotData, telegram, false);
}

// Frames and transfers as a confused master may produce them.
void Garble(Input& in)
{
    const std::uint8_t n = in.next() % 40;
    const std::vector<std::uint8_t> bytes = Bytes(in, n);
    InInterrupt([&] {
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            if (bytes[i] == 0xA5 && i + 1 < bytes.size()) {
                DIS_TxStart((bytes[++i] & 1) != 0);
                for (int k = 0; k < (bytes[i] >> 1) && !DIS_TxComplete(); ++k) {
                    (void)DIS_TxByte();
                }
                DIS_TxDone((bytes[i] & 0x80) != 0);
            } else {
                DIS_RxByte(bytes[i]);
            }
        }
    });
    TransferEnded((n & 1) != 0);
}

// Bytes a tester (or noise) puts on the test serial port.
void Serial(Input& in)
{
    const std::uint8_t n = in.next() % 64;
    for (const std::uint8_t b : Bytes(in, n)) {
        UART_OnReceive(UART_TEST_PORT, b);
    }
}

void Key(Panel& p, Input& in)
{
    const std::uint8_t raw = in.next();
    const std::uint8_t hold = in.next();
    p.host->keys().setRaw(raw);
    Pass(p, kLoopMs * (1 + hold % 16));
    p.host->keys().setRaw(0);
    Pass(p, 2 * kLoopMs);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Panel p;
    p.renew();
    PowerOnAndStart();
    Input in(data, size);
    if ((in.next() & 1) != 0) {
        Pass(p, 1000);
        UART_OnReceive(UART_TEST_PORT, 0x05);
        Pass(p, kStartMs - 1000);
    } else {
        Pass(p, kStartMs);
    }
    p.used = 0;
    while (in.more() && p.used < kMostMs) {
        const std::uint8_t op = in.next();
        switch (op & 0x07) {
        case 0:
        case 1:
            Answer(in);
            break;
        case 2: {
            const std::vector<std::uint8_t> t = Bytes(in, 32);
            Write(kSlotData, t, (op & 0x40) != 0);
            break;
        }
        case 3:
            Write(kSlotStatus, Bytes(in, 20), (op & 0x40) != 0);
            break;
        case 4:
            Write(kSlotMask, Bytes(in, 2), false);
            break;
        case 5: {
            const std::uint8_t r = in.next();
            (void)Read(r, (op & 0x40) == 0);
            break;
        }
        case 6:
            Key(p, in);
            break;
        default:
            if ((op & 0x40) != 0) {
                Garble(in);
            } else if ((op & 0x20) != 0) {
                Serial(in);
            } else {
                Pass(p, kLoopMs * (1 + in.next() % 32));
            }
            break;
        }
        // Bursts: transfers may pile up before the main loop comes round.
        if ((op & 0x80) == 0) {
            SM_RunQueued();
            Check();
        }
    }
    Pass(p, kLoopMs);
    // PANEL_FUZZ_TRACE=1 shows what an input (a crash, a seed) did.
    static const bool show = std::getenv("PANEL_FUZZ_TRACE") != nullptr;
    for (const TraceLine& line : p.host->traceLines()) {
        if (show) {
            std::fprintf(stderr, "%8u ms %s\n", static_cast<unsigned>(line.ms), line.text.c_str());
        }
        if (line.text.find("FATAL ERROR") != std::string::npos) {
            __builtin_trap();
        }
    }
    return 0;
}
