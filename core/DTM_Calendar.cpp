// Clock records and the calendar the screens use for dates and times.
#include <algorithm>

#include "core/DTM.h"

namespace {

constexpr std::int32_t kFirstDay = 14245; // 2009-01-01
constexpr std::int32_t kLastDay = 46810;  // 2098-02-28
constexpr std::uint32_t kSecondsPerDay = 86400;

bool Leap(std::uint16_t year)
{
    return year % 4 == 0; // right for every year the panel can show
}

std::int32_t DaysOf(std::uint16_t year, std::uint8_t month, std::uint8_t day)
{
    std::int32_t n = 0;
    for (std::uint16_t y = 1970; y < year; ++y) {
        n += Leap(y) ? 366 : 365;
    }
    for (std::uint8_t m = 1; m < month && m <= 12; ++m) {
        n += DTM_MonthLength(year, m);
    }
    return n + day - 1;
}

std::uint8_t Weekday(std::int32_t days)
{
    return static_cast<std::uint8_t>((days + 3) % 7 + 1);
}

void SetDate(DTM_Clock& r, std::int32_t days)
{
    std::uint16_t year = 1970;
    while (days >= (Leap(year) ? 366 : 365)) {
        days -= Leap(year) ? 366 : 365;
        ++year;
    }
    std::uint8_t month = 1;
    while (days >= DTM_MonthLength(year, month)) {
        days -= DTM_MonthLength(year, month);
        ++month;
    }
    r.year = year;
    r.month = month;
    r.day = static_cast<std::uint8_t>(days + 1);
}

} // namespace

std::uint8_t DTM_MonthLength(std::uint16_t year, std::uint8_t month)
{
    static constexpr std::uint8_t kLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) {
        return 31;
    }
    return month == 2 && Leap(year) ? 29 : kLength[month - 1];
}

DTM_Clock DTM_GetClock()
{
    return DTM_SecondsToRecord(DTM_GetSeconds());
}

DTM_Clock DTM_SecondsToRecord(std::uint32_t seconds)
{
    DTM_Clock r{};
    const auto days = static_cast<std::int32_t>(seconds / kSecondsPerDay);
    std::uint32_t rest = seconds % kSecondsPerDay;
    SetDate(r, days);
    r.weekday = Weekday(days);
    r.hour = static_cast<std::uint8_t>(rest / 3600);
    rest %= 3600;
    r.minute = static_cast<std::uint8_t>(rest / 60);
    r.second = static_cast<std::uint8_t>(rest % 60);
    return r;
}

std::uint32_t DTM_RecordToSeconds(const DTM_Clock& r)
{
    const std::int32_t days = DaysOf(r.year, r.month, r.day);
    return static_cast<std::uint32_t>(days) * kSecondsPerDay + r.hour * 3600U + r.minute * 60U + r.second;
}

std::uint8_t DTM_AddDays(DTM_Clock& r, std::int32_t days)
{
    if (days == 0) {
        return 0;
    }
    const bool empty = r.year == 0 && r.month == 0 && r.day == 0;
    std::int32_t n = empty ? 0 : DaysOf(r.year, r.month, r.day);
    n = std::clamp(n + days, kFirstDay, kLastDay);
    SetDate(r, n);
    r.weekday = Weekday(n);
    return r.weekday;
}

void DTM_AddMinutes(std::uint8_t& hour, std::uint8_t& minute, std::int32_t minutes)
{
    std::int32_t total = (hour * 60 + minute + minutes) % 1440;
    if (total < 0) {
        total += 1440;
    }
    hour = static_cast<std::uint8_t>(total / 60);
    minute = static_cast<std::uint8_t>(total % 60);
}

void DTM_ClampDate(DTM_Clock& r)
{
    if (r.year < 2009) {
        r.year = 2009;
        r.month = 1;
        r.day = 1;
        return;
    }
    if (r.year >= 2100) {
        r.year = 2099;
        r.month = 1;
        r.day = 1;
        return;
    }
    const std::uint8_t lastMonth = r.year == 2099 ? 2 : 12;
    r.month = std::clamp<std::uint8_t>(r.month, 1, lastMonth);
    const std::uint8_t lastDay = r.year == 2099 ? 28 : DTM_MonthLength(r.year, r.month);
    r.day = std::clamp<std::uint8_t>(r.day, 1, lastDay);
}

std::uint16_t DTM_AddYears(std::uint16_t year, std::int32_t delta)
{
    return static_cast<std::uint16_t>(std::clamp<std::int32_t>(year + delta, 2009, 2099));
}

int DTM_CompareDates(const DTM_Clock& a, const DTM_Clock& b)
{
    if (a.year == b.year && a.month == b.month && a.day == b.day) {
        return 0;
    }
    if (a.year != b.year) {
        return a.year > b.year ? 1 : -1;
    }
    if (a.month != b.month) {
        return a.month > b.month ? 1 : -1;
    }
    return a.day > b.day ? 1 : -1;
}
