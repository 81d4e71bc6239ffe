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
    std::string grab;       // picture of the device window at the exit, or at grabAt
    bool errorBoxes = true; // off when there are any arguments
    std::int64_t clock = 0; // --clock: local seconds since 1970 at power-on
    bool clockGiven = false;
    std::string serial; // --serial: the test serial port, a device or "pty"; empty: none
    // Recordings and time from the command line (CaptureOptions.cpp).
    std::int64_t grabAt = -1; // panel ms; -1: at the exit
    std::string recordGif;
    std::string recordPng;
    bool recordDevice = false; // the whole device picture, not only the LCD
    int speed = 1;             // PacedClock speed; 0 as fast as possible
    std::int64_t exitAt = -1;  // panel ms; -1: never
    std::string plant;         // --plant: the control unit's plant file, checked
};

// One of the capture options at args[i] (moving i past its value): 1 taken,
// 0 not one of them, -1 bad (with `message`).
int ParseCaptureOption(const std::vector<std::string>& args, std::size_t& i, SimOptions& options, std::string& message);
// "12s", "500ms", "5min", "2h", "7d" or bare milliseconds.
bool ParsePanelTime(const std::string& text, std::int64_t& ms);

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
