#include "model/GameTime.h"

// Computed in 64 bits: with 32-bit members neither conversion can overflow, so every
// date and span that fits in 32-bit minutes comes out exactly, and larger ones stay exact.

namespace {

std::int64_t MinutesOf(std::int64_t ticks)
{
    return ticks >> Calendar::TickShift; // arithmetic: negative spans stay negative
}

std::int64_t TicksOf(std::int64_t minutes)
{
    return minutes * Calendar::TicksPerMinute;
}

} // namespace

GameTime TicksToGameTime(std::int64_t ticks)
{
    const std::int64_t m = MinutesOf(ticks);
    std::int64_t r = m % Calendar::MinutesPerYear;
    GameTime t;
    t.year = static_cast<std::int32_t>(m / Calendar::MinutesPerYear + Calendar::FirstYear);
    t.month = static_cast<std::int32_t>(r / Calendar::MinutesPerMonth);
    r %= Calendar::MinutesPerMonth;
    t.day = static_cast<std::int32_t>(r / Calendar::MinutesPerDay);
    r %= Calendar::MinutesPerDay;
    t.hour = static_cast<std::int32_t>(r / Calendar::MinutesPerHour);
    t.minute = static_cast<std::int32_t>(r % Calendar::MinutesPerHour);
    return t;
}

std::int64_t GameTimeToTicks(const GameTime& time)
{
    const std::int64_t years = time.year >= Calendar::FirstYear ? std::int64_t{time.year} - Calendar::FirstYear : 0;
    const std::int64_t months = time.month + 12 * years;
    const std::int64_t days = time.day + 28 * months;
    const std::int64_t hours = time.hour + 24 * days;
    return TicksOf(time.minute + Calendar::MinutesPerHour * hours);
}

std::int64_t DurationToTicks(const GameDuration& duration)
{
    return TicksOf(std::int64_t{duration.minutes} + Calendar::MinutesPerHour * duration.hours +
                   Calendar::MinutesPerDay * duration.days);
}

GameDuration TicksToDuration(std::int64_t ticks)
{
    const std::int64_t m = MinutesOf(ticks);
    GameDuration d;
    d.days = static_cast<std::int32_t>(m / Calendar::MinutesPerDay);
    d.hours = static_cast<std::int32_t>(m % Calendar::MinutesPerDay / Calendar::MinutesPerHour);
    d.minutes = static_cast<std::int32_t>(m % Calendar::MinutesPerHour);
    return d;
}
