// panel-sim: the boiler panel in a desktop window.
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/desktop/Simulator.h"

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + 1, argv + argc);
    SimOptions options;
    std::string message;
    bool help = false;
    if (!ParseSimOptions(args, options, message, help)) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 2;
    }
    if (help) {
        std::fputs(message.c_str(), stdout);
        return 0;
    }
    // Say what to do instead of failing inside the platform plugin.
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    const bool needsDisplay = platform == nullptr || std::string(platform).rfind("xcb", 0) == 0;
    if (needsDisplay && std::getenv("DISPLAY") == nullptr && std::getenv("WAYLAND_DISPLAY") == nullptr) {
        std::fprintf(stderr, "panel-sim: no display (DISPLAY is not set).\n"
                             "  Run it in a virtual display:  xvfb-run -a panel-sim ...\n"
                             "  or run the panel headless:    panel-headless --trace SCENARIO.scn\n");
        return 2;
    }
    QApplication app(argc, argv);
    for (int sig : {SIGTERM, SIGINT}) {
        std::signal(sig, [](int) { Simulator::quitRequested = 1; });
    }
    QApplication::setApplicationName("LumUISim");
    Simulator simulator(options);
    if (!simulator.startUp()) {
        return simulator.exitCode();
    }
    simulator.startApplication();
    QApplication::exec();
    simulator.shutDown();
    return simulator.exitCode();
}
