#include "model/GameTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

TEST(GameTimeTest, ClockReadsAsTheCalendar)
{
    EXPECT_EQ(TicksToGameTime(0), (GameTime{0, 0, 0, 0, 1172}));
    EXPECT_EQ(TicksToGameTime(123863040), (GameTime{0, 0, 0, 0, 1173}));
    EXPECT_EQ(TicksToGameTime(11628800), (GameTime{13, 5, 3, 1, 1172}));
    EXPECT_EQ(TicksToGameTime(255), (GameTime{0, 0, 0, 0, 1172})) << "part of a minute is dropped";
    // The last minute of a year.
    EXPECT_EQ(TicksToGameTime((483840LL - 1) * 256), (GameTime{23, 59, 27, 11, 1172}));
}

TEST(GameTimeTest, StoringTheClock)
{
    EXPECT_EQ(GameTimeToTicks({13, 5, 3, 1, 1172}), 11628800);
    EXPECT_EQ(GameTimeToTicks({13, 5, 3, 1, 1170}), 11628800) << "years before 1172 count as 1172";
    EXPECT_EQ(GameTimeToTicks({25, 0, 0, 0, 1172}), GameTimeToTicks({1, 0, 1, 0, 1172})) << "members add their weight";
    // Round trip on a spread of dates, including the last ones that fit 32-bit minutes.
    for (const GameTime t : {GameTime{0, 0, 0, 0, 1172}, GameTime{23, 59, 27, 11, 1999}, GameTime{7, 1, 2, 3, 5609},
                             GameTime{0, 0, 0, 0, 5610}}) {
        EXPECT_EQ(TicksToGameTime(GameTimeToTicks(t)), t) << t.year;
    }
}

TEST(GameTimeTest, LargeYearsStayExact)
{
    // Past year 5609 the minute count no longer fits 32 bits; it must not wrap.
    const GameTime far{12, 0, 0, 0, 16383};
    EXPECT_EQ(GameTimeToTicks(far), (std::int64_t{16383 - 1172} * 483840 + 720) * 256);
    EXPECT_EQ(TicksToGameTime(GameTimeToTicks(far)), far);
    const GameTime extreme{0, 0, 0, 0, std::numeric_limits<std::int32_t>::max()};
    EXPECT_EQ(TicksToGameTime(GameTimeToTicks(extreme)), extreme);
}

TEST(GameTimeTest, DurationConversions)
{
    EXPECT_EQ(DurationToTicks({1, 2, 3}), 400128);
    EXPECT_EQ(TicksToDuration(400128), (GameDuration{1, 2, 3}));
    EXPECT_EQ(TicksToDuration(255), (GameDuration{0, 0, 0}));
    EXPECT_EQ(TicksToDuration(DurationToTicks({0, 30, 0})), (GameDuration{1, 6, 0})) << "30 hours";
    EXPECT_EQ(TicksToDuration(DurationToTicks({-2, 0, 0})), (GameDuration{-2, 0, 0}));
    EXPECT_EQ(TicksToDuration(-256 * 61), (GameDuration{0, -1, -1})) << "negative spans give negative parts";
    // Beyond 1491308 days the 32-bit minute total would overflow; 64 bits keep it exact.
    EXPECT_EQ(DurationToTicks({2000000, 0, 0}), std::int64_t{2000000} * 1440 * 256);
    EXPECT_EQ(TicksToDuration(DurationToTicks({2000000, 5, 6})), (GameDuration{2000000, 5, 6}));
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(DurationToTicks({big, big, big}), (std::int64_t{big} * (1440 + 60 + 1)) * 256);
}

TEST(GameTimeTest, HostileClocksHaveDefinedResults)
{
    // Whatever a file holds, conversions stay defined (checked under UBSan).
    const auto low = TicksToGameTime(std::numeric_limits<std::int64_t>::min());
    const auto high = TicksToGameTime(std::numeric_limits<std::int64_t>::max());
    EXPECT_LE(low.month, 0);
    EXPECT_GE(high.month, 0);
    EXPECT_LT(high.month, 12);
    EXPECT_EQ(high.minute, (std::numeric_limits<std::int64_t>::max() >> 8) % 60);
    const auto span = TicksToDuration(std::numeric_limits<std::int64_t>::min());
    EXPECT_LT(span.hours, 1);
}

} // namespace
