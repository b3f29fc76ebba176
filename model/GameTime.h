#pragma once

#include <cstdint>

// The broken-down game clock. day and month are 0-based.
struct GameTime {
    std::int32_t hour = 0;
    std::int32_t minute = 0;
    std::int32_t day = 0;
    std::int32_t month = 0;
    std::int32_t year = 0;

    friend bool operator==(const GameTime&, const GameTime&) = default;
};

// A span of game time; days may exceed a month.
struct GameDuration {
    std::int32_t days = 0;
    std::int32_t hours = 0;
    std::int32_t minutes = 0;

    friend bool operator==(const GameDuration&, const GameDuration&) = default;
};

// The stored clock counts 256 ticks per game minute from the start of year 1172;
// months are 28 days and years 12 months, without leap rules.
namespace Calendar {
inline constexpr std::int64_t TicksPerMinute = 256;
inline constexpr int TickShift = 8;
inline constexpr std::int64_t MinutesPerHour = 60;
inline constexpr std::int64_t MinutesPerDay = 1440;
inline constexpr std::int64_t MinutesPerMonth = 28 * MinutesPerDay;
inline constexpr std::int64_t MinutesPerYear = 12 * MinutesPerMonth;
inline constexpr std::int32_t FirstYear = 1172;
static_assert(TicksPerMinute == std::int64_t{1} << TickShift);
static_assert(MinutesPerMonth == 40320 && MinutesPerYear == 483840);
} // namespace Calendar

GameTime TicksToGameTime(std::int64_t ticks);
// Years before 1172 count as 1172; other members are not limited and add their weight.
std::int64_t GameTimeToTicks(const GameTime& time);

std::int64_t DurationToTicks(const GameDuration& duration);
GameDuration TicksToDuration(std::int64_t ticks);
