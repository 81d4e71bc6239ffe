// A host and a freshly started drawing layer, for tests that draw.
#pragma once

#include <cstdint>
#include <cstdio>

#include "data/DAT.h"
#include "data/TXT.h"
#include "gui/GUI.h"
#include "gui/GUI_Font.h"
#include "gui/LCD.h"
#include "sim/PowerOn.h"
#include "sim/VirtualTime.h"
#include "sim/headless/HeadlessHost.h"

class Screen {
  public:
    // Every drawing test starts from the same panel: power-on memory, the
    // simulation's plant (two circuits), German, a fresh drawing context.
    Screen() : err_(std::tmpfile()), host_(time_, Options(err_))
    {
        SIM_PowerOn();
        DAT_InitDefaults(0);
        TXT_ClearBuffer();
        GUI_Start();
        GUI_UseUtf8();
    }
    ~Screen() { std::fclose(err_); }
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;
    HeadlessHost& host() { return host_; }
    static bool on(int x, int y) { return LCD_FRAMEBUFFER[x * LCD_YSIZE + y] != 0; }
    // Cells set in row y between x0 and x1.
    static int countRow(int y, int x0, int x1)
    {
        int n = 0;
        for (int x = x0; x <= x1; ++x) {
            n += on(x, y) ? 1 : 0;
        }
        return n;
    }
    static int countAll()
    {
        int n = 0;
        for (std::uint32_t c : LCD_FRAMEBUFFER) {
            n += c != 0 ? 1 : 0;
        }
        return n;
    }

  private:
    static HeadlessHost::Options Options(std::FILE* err)
    {
        HeadlessHost::Options o;
        o.err = err; // error reports are counted by the host
        return o;
    }
    std::FILE* err_;
    VirtualTime time_;
    HeadlessHost host_;
};
