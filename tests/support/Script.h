// A script of actions for PanelRun: one every 300 ms from the end of the
// start-up screen, keys posted as the key task would.
#pragma once

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "core/SM.h"
#include "gui/LCD.h"
#include "screens/common/BKE.h"
#include "screens/common/ML.h"
#include "support/PanelRun.h"

class Script {
  public:
    static constexpr std::uint64_t kStarted = 11000; // the start-up screen has ended

    Script& then(std::function<void()> action)
    {
        steps_.push_back({at_, std::move(action)});
        at_ += 300;
        return *this;
    }
    Script& key(std::uint16_t sig)
    {
        return then([sig] { SM_Post(BED_Task, sig, 0); });
    }
    Script& expect(SM_Handler state, const char* what)
    {
        return then([state, what] { EXPECT_EQ(SM_TaskState(BED_Task), state) << what; });
    }
    Script& wait(std::uint64_t ms)
    {
        at_ += ms;
        return *this;
    }
    // Before the start-up screen ends.
    Script& early(std::function<void()> action)
    {
        steps_.push_back({1000, std::move(action)});
        return *this;
    }
    bool run(PanelRun& p) { return p.run(steps_, at_ + 100); }

  private:
    std::vector<PanelStep> steps_;
    std::uint64_t at_ = kStarted;
};

// Opens a screen as another screen would.
inline void OpenScreen(SM_Handler target, std::uint32_t par)
{
    SM_TranParam(SM_TaskHsm(BED_Task), BKE_Kontrasteinstellung, target, par);
}

// The hint the frame buffer shows: its index, HINT_COUNT when it is none of them.
inline std::uint8_t ShownHint()
{
    constexpr int kTop = 132;
    std::vector<std::uint32_t> shown;
    for (int x = 0; x < LCD_XSIZE; ++x) {
        for (int y = kTop; y < LCD_YSIZE; ++y) {
            shown.push_back(LCD_FRAMEBUFFER[x * LCD_YSIZE + y]);
        }
    }
    const auto same = [&] {
        std::size_t i = 0;
        for (int x = 0; x < LCD_XSIZE; ++x) {
            for (int y = kTop; y < LCD_YSIZE; ++y) {
                if (LCD_FRAMEBUFFER[x * LCD_YSIZE + y] != shown[i++]) {
                    return false;
                }
            }
        }
        return true;
    };
    std::uint8_t found = HINT_COUNT;
    for (std::uint8_t h = 0; h < HINT_COUNT && found == HINT_COUNT; ++h) {
        HINT_SetText(h);
        if (same()) {
            found = h;
        }
    }
    std::size_t i = 0; // the frame as it was
    for (int x = 0; x < LCD_XSIZE; ++x) {
        for (int y = kTop; y < LCD_YSIZE; ++y) {
            LCD_FRAMEBUFFER[x * LCD_YSIZE + y] = shown[i++];
        }
    }
    return found;
}
