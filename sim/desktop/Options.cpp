#include "sim/desktop/Options.h"

#include <algorithm>
#include <cmath>

#include "sim/PlantFile.h"
#include "sim/headless/Options.h"

std::string SimUsage()
{
    return "usage: panel-sim [options]\n"
           "The boiler panel in a window: click the keys of the device picture; right-click\n"
           "for the menu (pause F4, resume F5, restart F3, log, LCD copy).\n"
           "\n"
           "options (any option also turns the error message boxes off):\n"
           "  --pictures DIR   folder of Device.bmp and Device1.bmp (default: the working\n"
           "                   directory, then the built-in pictures); assets/ holds a pair\n"
           "                   with combination keys and test buttons 13 to 33\n"
           "  --zoom N         device window zoom 1 to 4 (default: by the screen's density)\n"
           "  --keyboard       the PC keyboard presses panel keys: arrows, Enter = OK,\n"
           "                   Backspace or Escape = BACK, M = MENU, H or F1 = HELP\n"
           "  --frame          a main window with LCD, colours and log instead of the device\n"
           "  --trace          print the panel's trace lines on standard error\n"
           "  --lock-dir DIR   directory of the single-instance lock file\n"
           "  --lcd-map NAME   name of the shared LCD memory (default LumUILCDMap)\n"
           "  --grab FILE.png  save the device window as shown when the simulator ends\n"
           "  --grab-at TIME   ... or when the panel's clock reaches TIME (12s, 5min, 2h, 7d)\n"
           "  --record-gif FILE.gif   record the LCD as an animated GIF, in panel time, until the end\n"
           "  --record-png DIR        record the LCD as numbered PNG frames with frames.txt\n"
           "  --record-device         record the whole device picture instead of the LCD\n"
           "  --speed N        panel time at 1, 10 or 100 times the wall clock, or max\n"
           "  --exit-at TIME   end the simulator when the panel's clock reaches TIME\n"
           "  --clock TIME     the panel's clock at power-on, YYYY-MM-DDTHH:MM:SS (default: the\n"
           "                   machine's local time)\n"
           "  --serial PORT    the test serial port for the factory's tester: a device, or pty\n"
           "                   (a new pseudo-terminal, its name printed on standard error)\n"
           "  --plant FILE     the test control unit takes the bus with this plant file's\n"
           "                   plant; a commissioned plant starts at the base display\n"
           "  -h, --help       this text\n";
}

bool ParseSimOptions(const std::vector<std::string>& args, SimOptions& options, std::string& message, bool& help)
{
    help = false;
    options.errorBoxes = args.empty();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& to) {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                message = "panel-sim: " + a + " needs a value";
                return false;
            }
            to = args[++i];
            return true;
        };
        if (a == "-h" || a == "--help") {
            help = true;
            message = SimUsage();
            return true;
        }
        const int capture = ParseCaptureOption(args, i, options, message);
        if (capture != 0) {
            if (capture < 0) {
                return false;
            }
            continue;
        }
        if (a == "--keyboard") {
            options.keyboard = true;
        } else if (a == "--frame") {
            options.frame = true;
        } else if (a == "--trace") {
            options.trace = true;
        } else if (a == "--pictures") {
            if (!value(options.pictures)) {
                return false;
            }
            options.picturesGiven = true;
        } else if (a == "--lock-dir") {
            if (!value(options.lockDirectory)) {
                return false;
            }
        } else if (a == "--lcd-map") {
            if (!value(options.lcdMap)) {
                return false;
            }
        } else if (a == "--serial") {
            if (!value(options.serial)) {
                return false;
            }
        } else if (a == "--grab") {
            if (!value(options.grab)) {
                return false;
            }
        } else if (a == "--clock") {
            std::string v;
            if (!value(v)) {
                return false;
            }
            const auto seconds = ParseClock(v);
            if (!seconds) {
                message = "panel-sim: --clock wants a real date and time YYYY-MM-DDTHH:MM:SS from 1970 to 2105, not '" +
                          v + "'";
                return false;
            }
            options.clock = *seconds;
            options.clockGiven = true;
        } else if (a == "--plant") {
            if (!value(options.plant)) {
                return false;
            }
            std::string text;
            std::string error;
            DAT_Image check{};
            if (!PlantFileRead(options.plant, text, error) || !PlantFileApply(options.plant, text, check, error)) {
                message = "panel-sim: --plant: " + error;
                return false;
            }
        } else if (a == "--zoom") {
            std::string v;
            if (!value(v)) {
                return false;
            }
            if (v.size() != 1 || v[0] < '1' || v[0] > '4') {
                message = "panel-sim: --zoom takes 1, 2, 3 or 4, not '" + v + "'";
                return false;
            }
            options.zoom = v[0] - '0';
        } else {
            message = "panel-sim: unknown argument '" + a + "'\n" + SimUsage();
            return false;
        }
    }
    return true;
}

int FittingZoom(int deviceWidth, int deviceHeight, int screenWidth, int screenHeight)
{
    int zoom = 4;
    // A tenth of the screen stays free for the window frame and the panel of the desktop.
    while (zoom > 1 && (deviceWidth * zoom > screenWidth * 9 / 10 || deviceHeight * zoom > screenHeight * 9 / 10)) {
        --zoom;
    }
    return zoom;
}

int DefaultZoom(int deviceWidth, int deviceHeight, int screenWidth, int screenHeight, double physicalDpi,
                double devicePixelRatio)
{
    const double logicalDpi = physicalDpi / std::max(devicePixelRatio, 1.0);
    const int zoom = std::clamp(static_cast<int>(std::ceil(logicalDpi / 84.0)), 1, 4);
    return std::min(zoom, FittingZoom(deviceWidth, deviceHeight, screenWidth, screenHeight));
}
