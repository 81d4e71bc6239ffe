// Date and time texts shared by the screens that show the clock or a date.
#include "screens/common/FMT_Date.h"

#include <cstdio>

#include "data/TXT.h"

namespace {

constexpr std::uint16_t kShortWeekday[7] = {174, 66, 167, 71, 99, 222, 234};
constexpr std::uint16_t kClockSuffix = 271;

} // namespace

int FMT_DateTime(const DTM_Clock& r, std::uint8_t format, char* out, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    char weekday[16] = "";
    if (format <= 2 && r.weekday >= 1 && r.weekday <= 7) {
        TXT_CopyText(kShortWeekday[r.weekday - 1], weekday, sizeof weekday);
    }
    const unsigned d = r.day, m = r.month, y4 = r.year, y2 = r.year % 100U, h = r.hour, mi = r.minute;
    int n = 0;
    switch (format) {
    case 0:
        n = std::snprintf(out, size, "%s %02u.%02u.%04u", weekday, d, m, y4);
        break;
    case 1:
        n = std::snprintf(out, size, "%s %02u.%02u.%02u", weekday, d, m, y2);
        break;
    case 2:
        n = std::snprintf(out, size, "%s %02u.%02u.", weekday, d, m);
        break;
    case 3:
        n = std::snprintf(out, size, "%02u.%02u.%04u", d, m, y4);
        break;
    case 4:
        n = std::snprintf(out, size, "%02u.%02u.%02u", d, m, y2);
        break;
    case 5:
        n = std::snprintf(out, size, "%02u:%02u", h, mi);
        break;
    case 6:
        n = std::snprintf(out, size, "%02u:%02u %s", h, mi, TXT_GetText(kClockSuffix));
        break;
    default:
        out[0] = '\0';
        break;
    }
    if (n < 0) {
        out[0] = '\0';
        return 0;
    }
    return static_cast<std::size_t>(n) < size ? n : static_cast<int>(size - 1);
}
