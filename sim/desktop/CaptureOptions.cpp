// Command-line options of panel-sim for recordings, screenshots and time.
#include <cctype>
#include <limits>

#include "sim/desktop/Options.h"

bool ParsePanelTime(const std::string& text, std::int64_t& ms)
{
    std::size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits])) != 0) {
        ++digits;
    }
    const std::string unit = text.substr(digits);
    const std::int64_t scale = unit.empty() || unit == "ms" ? 1
                               : unit == "s"                ? 1000
                               : unit == "min"              ? 60'000
                               : unit == "h"                ? 3'600'000
                               : unit == "d"                ? 86'400'000
                                                            : 0;
    // At most 100 days, as a scenario's wait.
    constexpr std::int64_t kLongest = 100LL * 86'400'000;
    if (digits == 0 || digits > 12 || scale == 0) {
        return false;
    }
    const std::int64_t n = std::stoll(text.substr(0, digits));
    if (n > kLongest / scale) {
        return false;
    }
    ms = n * scale;
    return true;
}

int ParseCaptureOption(const std::vector<std::string>& args, std::size_t& i, SimOptions& options, std::string& message)
{
    const std::string& a = args[i];
    const bool takesValue =
        a == "--grab-at" || a == "--record-gif" || a == "--record-png" || a == "--speed" || a == "--exit-at";
    if (a == "--record-device") {
        options.recordDevice = true;
        return 1;
    }
    if (!takesValue) {
        return 0;
    }
    if (i + 1 >= args.size() || args[i + 1].empty()) {
        message = "panel-sim: " + a + " needs a value";
        return -1;
    }
    const std::string& v = args[++i];
    if (a == "--record-gif") {
        options.recordGif = v;
    } else if (a == "--record-png") {
        options.recordPng = v;
    } else if (a == "--speed") {
        if (v != "1" && v != "10" && v != "100" && v != "max") {
            message = "panel-sim: --speed takes 1, 10, 100 or max, not '" + v + "'";
            return -1;
        }
        options.speed = v == "max" ? 0 : std::stoi(v);
    } else {
        std::int64_t ms = 0;
        if (!ParsePanelTime(v, ms)) {
            message = "panel-sim: " + a +
                      " takes a panel time such as 500ms, 12s, 5min, 2h or 7d (at most 100 days), not '" + v + "'";
            return -1;
        }
        (a == "--grab-at" ? options.grabAt : options.exitAt) = ms;
    }
    return 1;
}
