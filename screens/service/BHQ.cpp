// Hardware quality check: the factory tester drives the panel byte by byte
// over the test serial port. It reads and writes the display cache, the
// factory settings as numbered registers and the last keys, and runs test
// functions. A second of silence, or the stop command, restarts the panel.
#include "screens/service/BHQ.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "comm/UART.h"
#include "core/BKL.h"
#include "core/MAIN_Record.h"
#include "data/FLS.h"
#include "gui/GUI.h"
#include "gui/LCD.h"
#include "hal/HAL.h"
#include "screens/common/SCR.h"
#include "screens/common/TOP.h"

namespace {

constexpr std::uint8_t kTimeoutTicks = 10; // 1 s
constexpr std::uint8_t kMaxCacheCount = 60;
constexpr std::uint8_t kMaxVirtualCount = 8; // the transfer buffer
constexpr std::uint8_t kAnswer = 0x00;
constexpr std::uint16_t kHeaderBytes = 3; // address high, address low, count

enum Command : std::uint8_t {
    CMD_STOP = 0x04,
    CMD_START = 0x05,
    CMD_WRITE_CACHE = 0x31,
    CMD_READ_CACHE = 0x32,
    CMD_SPECIAL = 0x3E,
    CMD_WRITE_VIRTUAL = 0xF4,
    CMD_READ_VIRTUAL = 0xF7,
};

enum Register : std::uint16_t {
    REG_IDENT = 0x0850,
    REG_IDENT2 = 0x0851,
    REG_IDENT3 = 0x0852,
    REG_FACTORY = 0x0853,
    REG_CONTRAST = 0x0854,
    REG_BRIGHT_MAX = 0x0855,
    REG_BRIGHT_MIN = 0x0856,
    REG_BRIGHT_DEFAULT = 0x0857,
    REG_SAVER_MAX = 0x0858,
    REG_SAVER_MIN = 0x0859,
    REG_SAVER_DEFAULT = 0x085A,
    REG_PART_NUMBER = 0x08E0,
    REG_TEST_MARKER = 0x08F0,
    REG_IDENTIFICATION = 0x08F8,
    REG_OWN_READING = 0x08F9,
    REG_KEYS = 0x08FA,
};

constexpr char kPartNumber[] = "5170790";
constexpr std::array<std::uint8_t, 4> kIdentification{0x11, 0x21, 0x00, 0x01};
constexpr std::uint16_t kTestMarkerStart = 0xFFFF;
constexpr std::uint16_t kTestMarkerSet = 0x1234;
constexpr std::uint8_t kOwnReadingIndex = 4;
constexpr std::uint8_t kStringWidth = 7;

struct KeyCode {
    std::uint16_t sig;
    std::uint8_t code;
};
constexpr std::array<KeyCode, 8> kKeyCodes{{{SIG_KEY_BACK, 1},
                                            {SIG_KEY_UP, 2},
                                            {SIG_KEY_LEFT, 3},
                                            {SIG_KEY_OK, 4},
                                            {SIG_KEY_RIGHT, 5},
                                            {SIG_KEY_DOWN, 6},
                                            {SIG_KEY_HELP, 7},
                                            {SIG_KEY_MENU, 8}}};

struct Module {
    std::uint16_t counter; // bytes of the current command after its command byte
    std::uint16_t address;
    std::uint8_t count;
    std::uint8_t sent;
    std::array<std::uint8_t, kMaxVirtualCount> buffer;
    std::array<std::uint8_t, 8> keys;
    std::uint8_t keyIndex; // where the next key goes
    std::uint16_t testMarker;
    std::uint8_t function;
    std::uint8_t txPending; // bytes sent whose transmission has not been reported yet
};

Module bhq;

void ArmTimeout()
{
    SM_Post(DTM_Task, SIG_TMR_HWQC_SET, kTimeoutTicks);
}

void StopTimeout()
{
    SM_Post(DTM_Task, SIG_TMR_HWQC_SET, 0);
}

void Send(std::uint8_t byte)
{
    ++bhq.txPending;
    UART_Send(UART_TEST_PORT, byte);
    ArmTimeout();
}

// A transmission reported; true once every byte sent has gone.
bool AllSent()
{
    if (bhq.txPending > 0) {
        --bhq.txPending;
    }
    return bhq.txPending == 0;
}

void RecordKey(std::uint16_t sig)
{
    for (const KeyCode& k : kKeyCodes) {
        if (k.sig == sig) {
            bhq.keys[bhq.keyIndex] = k.code;
            bhq.keyIndex = static_cast<std::uint8_t>((bhq.keyIndex + 1) % bhq.keys.size());
        }
    }
}

void ClearKeys()
{
    bhq.keys.fill(0);
    bhq.keyIndex = 0;
}

void EndTest(SM_Hsm* me)
{
    SM_Post(DTM_Task, SIG_TIMERS_OFF, 0);
    HAL_UartReceiveDisable();
    MAIN_GetResetRecord().magic = 0; // the next start is a first start
    SM_Tran(me, SM_Top, TOP_SystemReset());
}

// Takes the address (high byte first) and the count of a frame; true once
// the count has arrived.
bool TakeHeader(std::uint8_t byte, std::uint8_t maxCount)
{
    switch (bhq.counter++) {
    case 0:
        bhq.address = static_cast<std::uint16_t>(byte << 8);
        return false;
    case 1:
        bhq.address = static_cast<std::uint16_t>(bhq.address | byte);
        return false;
    default:
        bhq.count = std::min(byte, maxCount);
        return true;
    }
}

void PutU16(std::uint16_t value)
{
    bhq.buffer[0] = static_cast<std::uint8_t>(value);
    bhq.buffer[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutString(FLS_String which)
{
    char text[16]{};
    FLS_GetString(which, text, sizeof text);
    std::memcpy(bhq.buffer.data(), text, kStringWidth);
}

void ReadRegister()
{
    bhq.buffer.fill(0);
    switch (bhq.address) {
    case REG_IDENT:
        PutString(FLS_IDENTIFICATION);
        break;
    case REG_IDENT2:
        PutString(FLS_IDENTIFICATION_2);
        break;
    case REG_IDENT3:
        PutString(FLS_IDENTIFICATION_3);
        break;
    case REG_FACTORY:
        bhq.buffer[0] = FLS_GetSetting(FLS_FACTORY_BYTE);
        break;
    case REG_CONTRAST:
        bhq.buffer[0] = FLS_GetSetting(FLS_CONTRAST);
        break;
    case REG_BRIGHT_MAX:
        bhq.buffer[0] = FLS_GetSetting(FLS_BRIGHTNESS_MAX);
        break;
    case REG_BRIGHT_MIN:
        bhq.buffer[0] = FLS_GetSetting(FLS_BRIGHTNESS_MIN);
        break;
    case REG_BRIGHT_DEFAULT:
        bhq.buffer[0] = FLS_GetSetting(FLS_BRIGHTNESS_DEFAULT);
        break;
    case REG_SAVER_MAX:
        bhq.buffer[0] = FLS_GetSetting(FLS_SCREENSAVER_MAX);
        break;
    case REG_SAVER_MIN:
        bhq.buffer[0] = FLS_GetSetting(FLS_SCREENSAVER_MIN);
        break;
    case REG_SAVER_DEFAULT:
        bhq.buffer[0] = FLS_GetSetting(FLS_SCREENSAVER_DEFAULT);
        break;
    case REG_PART_NUMBER:
        std::memcpy(bhq.buffer.data(), kPartNumber, kStringWidth);
        break;
    case REG_TEST_MARKER:
        PutU16(bhq.testMarker);
        break;
    case REG_IDENTIFICATION:
        std::copy(kIdentification.begin(), kIdentification.end(), bhq.buffer.begin());
        break;
    case REG_OWN_READING:
        PutU16(HAL_OwnReading(kOwnReadingIndex));
        break;
    case REG_KEYS:
        for (std::size_t i = 0; i < bhq.keys.size(); ++i) { // newest first
            bhq.buffer[i] = bhq.keys[(bhq.keyIndex + bhq.keys.size() - 1 - i) % bhq.keys.size()];
        }
        break;
    default:
        break; // unknown registers read as zeros
    }
}

void WriteRegister()
{
    const std::uint8_t v = bhq.buffer[0];
    const char* text = reinterpret_cast<const char*>(bhq.buffer.data());
    switch (bhq.address) {
    case REG_IDENT:
        FLS_SetString(FLS_IDENTIFICATION, text, kStringWidth);
        break;
    case REG_IDENT2:
        FLS_SetString(FLS_IDENTIFICATION_2, text, kStringWidth);
        break;
    case REG_IDENT3:
        FLS_SetString(FLS_IDENTIFICATION_3, text, kStringWidth);
        break;
    case REG_FACTORY:
        FLS_SetSetting(FLS_FACTORY_BYTE, v);
        break;
    case REG_CONTRAST:
        FLS_SetSetting(FLS_CONTRAST, v);
        LCD_SetContrast(v);
        break;
    case REG_BRIGHT_MAX:
        FLS_SetSetting(FLS_BRIGHTNESS_MAX, v);
        break;
    case REG_BRIGHT_MIN:
        FLS_SetSetting(FLS_BRIGHTNESS_MIN, v);
        break;
    case REG_BRIGHT_DEFAULT:
        FLS_SetSetting(FLS_BRIGHTNESS_DEFAULT, v);
        BKL_SetBrightnessSettings(v, BKL_ScreensaverBrightness());
        SM_Post(BKL_Task, SIG_LIGHT_ON_NOW, 0);
        break;
    case REG_SAVER_MAX:
        FLS_SetSetting(FLS_SCREENSAVER_MAX, v);
        break;
    case REG_SAVER_MIN:
        FLS_SetSetting(FLS_SCREENSAVER_MIN, v);
        break;
    case REG_SAVER_DEFAULT:
        FLS_SetSetting(FLS_SCREENSAVER_DEFAULT, v);
        BKL_SetBrightnessSettings(BKL_OperatingBrightness(), v);
        SM_Post(BKL_Task, SIG_LIGHT_DIM_NOW, 0);
        break;
    default:
        break; // read-only and unknown registers are not written
    }
}

void ServeSpecialFunction(std::uint8_t function)
{
    switch (function) {
    case 1:
    case 3:
        MAIN_GetResetRecord().magic = 0;
        HAL_HardwareReset(function == 1 ? 1 : 2);
        break;
    case 2:
    case 36:
    case 37:
        HAL_FactoryFunction(function);
        break;
    case 17:
        LCD_TestAllOff();
        break;
    case 18:
        LCD_TestAllOn();
        break;
    case 19:
        LCD_TestChecker();
        break;
    case 20:
        LCD_TestCheckerInv();
        break;
    case 21:
        LCD_TestColumns();
        break;
    case 22:
        LCD_TestColumnsInv();
        break;
    case 23:
        SM_Post(BKL_Task, SIG_LIGHT_ON_NOW, 0);
        break;
    case 24:
        SM_Post(BKL_Task, SIG_LIGHT_OFF, 0);
        break;
    case 32:
        bhq.testMarker = kTestMarkerSet;
        break;
    case 34:
        ClearKeys();
        break;
    case 48:
        ClearKeys();
        SM_Post(KEY_Task, SIG_KEY_FLUSH, 0);
        break;
    case 49:
        SM_Post(DTM_Task, SIG_BEEP, 5);
        break;
    case 64:
    case 65:
    case 66:
    case 67:
        HAL_BusDriverLines(function);
        break;
    default:
        break;
    }
}

// Every substate: the timeout runs from its entry and stops at its exit.
bool EntryOrExit(const SM_Event* e)
{
    if (e->sig == SIG_ENTRY) {
        ArmTimeout();
        return true;
    }
    if (e->sig == SIG_EXIT) {
        StopTimeout();
        return true;
    }
    return e->sig == SIG_INIT;
}

// A byte while the last bytes of a read are still being reported sent: the
// tester has them all, and its byte is the next command's.
void TesterAhead(SM_Hsm* me, const SM_Event* e)
{
    ArmTimeout();
    if (bhq.sent >= bhq.count) {
        SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_WaitingForCommand);
        SM_DispatchSignal(me, SIG_UART_RX, e->par);
    }
}

// A state that answers one byte and then goes `next` (nullptr: the test ends).
SM_State Answer(SM_Hsm* me, const SM_Event* e, SM_Handler next)
{
    switch (e->sig) {
    case SIG_ENTRY:
        Send(kAnswer);
        return nullptr;
    case SIG_UART_TX_DONE:
        if (AllSent()) {
            if (next == nullptr) {
                EndTest(me);
            } else {
                SM_Tran(me, BHQ_HardwareQualityCheck, next);
            }
        }
        return nullptr;
    case SIG_UART_RX:
        ArmTimeout();
        // The tester has seen the answer before its transmission was
        // reported here: its next byte belongs to the next state.
        if (next != nullptr) {
            SM_Tran(me, BHQ_HardwareQualityCheck, next);
            SM_DispatchSignal(me, SIG_UART_RX, e->par);
        }
        return nullptr;
    default:
        return EntryOrExit(e) ? nullptr : SM_State(BHQ_HardwareQualityCheck);
    }
}

// A command's frame after its command byte: address (high byte first),
// count, then for writes the data. A write of nothing is answered at once
// and a read of nothing sends nothing.
struct Frame {
    std::uint8_t maxCount;
    void (*store)(std::uint8_t byte); // nullptr: a read, the header is all
    void (*complete)();               // once the frame is whole (not for an empty write)
    SM_Handler next;                  // the answer, or the sending state of a read
};

SM_State TakeFrame(SM_Hsm* me, const SM_Event* e, const Frame& f)
{
    switch (e->sig) {
    case SIG_ENTRY:
        bhq.counter = 0;
        bhq.buffer.fill(0);
        ArmTimeout();
        return nullptr;
    case SIG_EXIT:
        StopTimeout();
        return nullptr;
    case SIG_INIT:
        return nullptr;
    case SIG_UART_RX:
        break;
    default:
        return BHQ_HardwareQualityCheck;
    }
    ArmTimeout();
    const auto byte = static_cast<std::uint8_t>(e->par);
    const bool isRead = f.store == nullptr;
    if (bhq.counter < kHeaderBytes) {
        if (!TakeHeader(byte, f.maxCount)) {
            return nullptr;
        }
        if (isRead && f.complete != nullptr) {
            f.complete();
        }
        if (isRead || bhq.count == 0) {
            SM_Tran(me, BHQ_HardwareQualityCheck, isRead && bhq.count == 0 ? BHQ_WaitingForCommand : f.next);
        }
        return nullptr;
    }
    f.store(byte);
    if (++bhq.counter - kHeaderBytes >= bhq.count) {
        if (f.complete != nullptr) {
            f.complete();
        }
        SM_Tran(me, BHQ_HardwareQualityCheck, f.next);
    }
    return nullptr;
}

// A read's bytes, each once the one before has gone.
SM_State SendFrame(SM_Hsm* me, const SM_Event* e, std::uint8_t (*next)())
{
    switch (e->sig) {
    case SIG_ENTRY:
        ArmTimeout();
        bhq.sent = 1;
        Send(next());
        return nullptr;
    case SIG_UART_TX_DONE:
        if (!AllSent()) {
            return nullptr;
        }
        if (bhq.sent >= bhq.count) {
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_WaitingForCommand);
        } else {
            ++bhq.sent;
            Send(next());
        }
        return nullptr;
    case SIG_UART_RX:
        TesterAhead(me, e);
        return nullptr;
    default:
        return EntryOrExit(e) ? nullptr : SM_State(BHQ_HardwareQualityCheck);
    }
}

void StoreCacheByte(std::uint8_t byte)
{
    LCD_WriteCacheByte(bhq.address++, byte); // out of the cache: nothing written
}

void StoreRegisterByte(std::uint8_t byte)
{
    bhq.buffer[bhq.counter - kHeaderBytes] = byte;
}

std::uint8_t NextCacheByte()
{
    return LCD_ReadCacheByte(bhq.address++);
}

std::uint8_t NextRegisterByte()
{
    return bhq.buffer[bhq.sent - 1];
}

} // namespace

SM_State BHQ_HardwareQualityCheck(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_HardwareQualityCheck", e);
    switch (e->sig) {
    case SIG_ENTRY:
        HAL_BusDriverLines(0);
        GUI_EraseScreen();
        LCD_Refresh();
        ClearKeys();
        bhq.txPending = 0;
        bhq.testMarker = kTestMarkerStart;
        Send(kAnswer);
        return nullptr;
    case SIG_INIT:
        return nullptr;
    case SIG_EXIT:
        StopTimeout();
        return nullptr;
    case SIG_UART_TX_DONE:
        if (AllSent() && SM_GetState(me) == BHQ_HardwareQualityCheck) { // the greeting went out
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_WaitingForCommand);
        }
        return nullptr;
    case SIG_UART_RX:
        ArmTimeout();
        return nullptr;
    case SIG_TMR_HWQC_TIMEOUT:
        EndTest(me);
        return nullptr;
    default:
        RecordKey(e->sig);
        return TOP_SystemMonitor();
    }
}

SM_State BHQ_WaitingForCommand(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_WaitingForCommand", e);
    if (e->sig == SIG_ENTRY) {
        bhq.counter = 0;
    }
    if (EntryOrExit(e)) {
        return nullptr;
    }
    switch (e->sig) {
    case SIG_UART_TX_DONE:
        AllSent();
        return nullptr;
    case SIG_UART_RX:
        ArmTimeout();
        switch (e->par) {
        case CMD_STOP:
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_HWQCStop);
            break;
        case CMD_START:
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_HWQCTestStart);
            break;
        case CMD_WRITE_CACHE:
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_WriteLCDCache);
            break;
        case CMD_READ_CACHE:
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_ReadLCDCache);
            break;
        case CMD_SPECIAL:
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_SpecialFunctions);
            break;
        case CMD_WRITE_VIRTUAL:
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_WriteVirtual);
            break;
        case CMD_READ_VIRTUAL:
            SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_ReadVirtual);
            break;
        default:
            break; // not a command: keep waiting
        }
        return nullptr;
    default:
        return BHQ_HardwareQualityCheck;
    }
}

SM_State BHQ_HWQCStop(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_HWQCStop", e);
    return Answer(me, e, nullptr);
}

SM_State BHQ_HWQCTestStart(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_HWQCTestStart", e);
    return Answer(me, e, BHQ_WaitingForCommand);
}

SM_State BHQ_WriteLCDCache(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_WriteLCDCache", e);
    return TakeFrame(me, e, {kMaxCacheCount, StoreCacheByte, nullptr, BHQ_WriteLCDCacheAcknowledge});
}

SM_State BHQ_WriteLCDCacheAcknowledge(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_WriteLCDCacheAcknowledge", e);
    if (e->sig == SIG_ENTRY) {
        LCD_Refresh();
    }
    return Answer(me, e, BHQ_WaitingForCommand);
}

SM_State BHQ_ReadLCDCache(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_ReadLCDCache", e);
    return TakeFrame(me, e, {kMaxCacheCount, nullptr, nullptr, BHQ_InvokeReadLCDCache});
}

SM_State BHQ_InvokeReadLCDCache(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_InvokeReadLCDCache", e);
    return SendFrame(me, e, NextCacheByte);
}

SM_State BHQ_SpecialFunctions(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_SpecialFunctions", e);
    if (EntryOrExit(e)) {
        return nullptr;
    }
    if (e->sig != SIG_UART_RX) {
        return BHQ_HardwareQualityCheck;
    }
    ArmTimeout();
    bhq.function = static_cast<std::uint8_t>(e->par);
    SM_Tran(me, BHQ_HardwareQualityCheck, BHQ_ServeSpecialFunctions);
    return nullptr;
}

SM_State BHQ_ServeSpecialFunctions(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_ServeSpecialFunctions", e);
    if (e->sig == SIG_ENTRY) {
        ServeSpecialFunction(bhq.function);
    }
    return Answer(me, e, BHQ_WaitingForCommand);
}

SM_State BHQ_WriteVirtual(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_WriteVirtual", e);
    return TakeFrame(me, e, {kMaxVirtualCount, StoreRegisterByte, WriteRegister, BHQ_WriteVirtualAcknowledge});
}

SM_State BHQ_WriteVirtualAcknowledge(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_WriteVirtualAcknowledge", e);
    return Answer(me, e, BHQ_WaitingForCommand);
}

SM_State BHQ_ReadVirtual(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_ReadVirtual", e);
    return TakeFrame(me, e, {kMaxVirtualCount, nullptr, ReadRegister, BHQ_InvokeReadVirtual});
}

SM_State BHQ_InvokeReadVirtual(SM_Hsm* me, const SM_Event* e)
{
    SCR_Trace("BHQ_InvokeReadVirtual", e);
    return SendFrame(me, e, NextRegisterByte);
}

void BHQ_PowerOn()
{
    bhq = Module{};
}
