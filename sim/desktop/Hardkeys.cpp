#include "sim/desktop/Hardkeys.h"

#include <algorithm>
#include <mutex>
#include <utility>

namespace {

// The application thread registers callbacks (key port set-up) while the
// window thread clicks: one lock for the table.
std::mutex tableLock;
SIM_HARDKEY table[SIM_MAX_HARDKEYS];

bool Valid(int index)
{
    return index >= 0 && index < SIM_MAX_HARDKEYS;
}

bool Free(const SIM_HARDKEY& k)
{
    return k.x0 == 0 && k.x1 == 0;
}

// Returns false when the table is full.
bool AddRun(int xs, int xe, int row)
{
    for (SIM_HARDKEY& k : table) {
        if (!Free(k) && k.y1 == row - 1 && std::max(k.x0, xs) <= std::min(k.x1, xe)) {
            k.y1 = row;
            k.x0 = std::min(k.x0, xs);
            k.x1 = std::max(k.x1, xe);
            return true;
        }
    }
    for (SIM_HARDKEY& k : table) {
        if (Free(k)) {
            k.x0 = xs;
            k.x1 = xe;
            k.y0 = row;
            k.y1 = row;
            return true;
        }
    }
    return false;
}

} // namespace

void SIM_ScanHardkeys(const Picture& pressed, std::uint32_t transparent, void (*report)(const char* text))
{
    std::lock_guard<std::mutex> guard(tableLock);
    std::fill(std::begin(table), std::end(table), SIM_HARDKEY{});
    bool reported = false;
    for (int y = 0; y < pressed.height; ++y) {
        for (int x = 0; x < pressed.width;) {
            if (pressed.at(x, y) == transparent) {
                ++x;
                continue;
            }
            const int xs = x;
            while (x < pressed.width && pressed.at(x, y) != transparent) {
                ++x;
            }
            if (!AddRun(xs, x, y) && !reported && report != nullptr) {
                report("_AddHardkeyRegion: - Too many hardkeys defined in bitmap");
                reported = true;
            }
        }
    }
}

int SIM_HardkeyCount()
{
    std::lock_guard<std::mutex> guard(tableLock);
    return static_cast<int>(
        std::count_if(std::begin(table), std::end(table), [](const SIM_HARDKEY& k) { return !Free(k); }));
}

SIM_HARDKEY SIM_GetHardkey(int index)
{
    std::lock_guard<std::mutex> guard(tableLock);
    return Valid(index) ? table[index] : SIM_HARDKEY{};
}

SIM_HardkeyCallback SIM_SetHardkeyCallback(int index, SIM_HardkeyCallback callback)
{
    if (!Valid(index)) {
        return nullptr;
    }
    std::lock_guard<std::mutex> guard(tableLock);
    return std::exchange(table[index].callback, callback);
}

std::uint32_t SIM_SetHardkeyMode(int index, std::uint32_t mode)
{
    if (!Valid(index)) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(tableLock);
    return std::exchange(table[index].toggleMode, mode);
}

int SIM_GetHardkeyState(int index)
{
    if (!Valid(index)) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(tableLock);
    return table[index].state;
}

int SIM_SetHardkeyState(int index, int state)
{
    if (!Valid(index)) {
        return 0;
    }
    std::lock_guard<std::mutex> guard(tableLock);
    return std::exchange(table[index].state, static_cast<std::uint8_t>(state != 0));
}

void SIM_HardkeyMouse(int index, bool down)
{
    if (!Valid(index)) {
        return;
    }
    SIM_HardkeyCallback callback = nullptr;
    {
        std::lock_guard<std::mutex> guard(tableLock);
        SIM_HARDKEY& k = table[index];
        if (k.toggleMode != 0) {
            if (down) {
                k.state = k.state != 0 ? 0 : 1;
            }
        } else {
            k.state = down ? 1 : 0;
        }
        callback = k.callback;
    }
    // The callback enters the application (interrupt lock): not under ours.
    if (callback != nullptr) {
        callback(index, down ? 1 : 0);
    }
}
