// Command line of panel-sim.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct SimOptions {
    std::string pictures; // folder of Device.bmp / Device1.bmp; empty: the working directory
    bool picturesGiven = false;
    int zoom = 0;          // 1..4; 0: chosen by the screen
    bool keyboard = false; // PC keyboard drives the panel keys
    bool frame = false;    // frame layout instead of the device picture
    bool trace = false;    // trace lines to stderr
    std::string lockDirectory;
    std::string lcdMap;     // shared-memory name; empty: LumUILCDMap
    std::string grab;       // picture of the device window at the first drawn LCD
    bool errorBoxes = true; // off when there are any arguments
    std::int64_t clock = 0; // --clock: local seconds since 1970 at power-on
    bool clockGiven = false;
    std::string serial; // --serial: the test serial port, a device or "pty"; empty: none
    std::string plant;  // --plant: the control unit's plant file, checked
};

// Parses argv[1..]. Returns false with `message` for bad usage; sets `help`
// when the usage text was asked for (then `message` holds it).
bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& message, bool& help);
std::string SimUsage();

// Zoom that makes the LCD readable: an 8-pixel font wants about 0.3 mm per
// LCD pixel; the largest zoom whose window still fits the screen wins below that.
// The largest zoom (1 to 4) whose window fits the screen; 1 when none does.
int FittingZoom(int deviceWidth, int deviceHeight, int screenWidth, int screenHeight);
int DefaultZoom(int deviceWidth, int deviceHeight, int screenWidth, int screenHeight, double physicalDpi,
                double devicePixelRatio);
