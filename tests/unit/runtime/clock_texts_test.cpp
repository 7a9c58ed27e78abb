// The clock texts a call is evaluated against.
#include <gtest/gtest.h>

#include <string>

#include "call_clock.h"

using zel::CallClock;

namespace {

std::string two_digits(int n)
{
    return std::string{static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)};
}

}  // namespace

TEST(ClockTexts, FormatsMomentsWithLeadingZeros)
{
    const struct {
        CallClock now;
        const char* time;
        const char* date;
        const char* day;
    } cases[] = {
        {{2009, 7, 3, 5, 9, 5}, "09:05", "07/03/2009", "FRI"},
        {{2009, 3, 7, 6, 0, 0}, "00:00", "03/07/2009", "SAT"},
        {{1999, 12, 31, 5, 23, 59}, "23:59", "12/31/1999", "FRI"},
        {{2024, 2, 29, 4, 12, 30}, "12:30", "02/29/2024", "THU"},
        {{2025, 10, 1, 3, 10, 10}, "10:10", "10/01/2025", "WEN"},
        {{2026, 1, 4, 0, 7, 0}, "07:00", "01/04/2026", "SUN"},
        {{2026, 1, 5, 1, 7, 9}, "07:09", "01/05/2026", "MON"},
        {{2026, 1, 6, 2, 19, 45}, "19:45", "01/06/2026", "TUE"},
    };
    for (const auto& c : cases) {
        const zel::ClockTexts t = zel::make_clock_texts(c.now);
        EXPECT_EQ(c.time, t.time);
        EXPECT_EQ(c.date, t.date);
        EXPECT_EQ(c.day, t.day);
    }
}

TEST(ClockTexts, KeepFixedLengthsForAnyClockValue)
{
    // A clock outside its ranges must not make a text longer or shorter than its form.
    const CallClock odd[] = {{12345, 123, 456, 9, 100, 250}, {-1, -1, -1, -1, -1, -1}, {0, 0, 0, 7, 0, 0}};
    for (const auto& now : odd) {
        const zel::ClockTexts t = zel::make_clock_texts(now);
        EXPECT_EQ(5u, t.time.size()) << t.time;
        EXPECT_EQ(10u, t.date.size()) << t.date;
        EXPECT_EQ("", t.day);
    }
}

TEST(ClockTexts, EveryMinuteOfTheDayFormatsAndReadsBack)
{
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const CallClock now{2009, 7, 3, 5, minute / 60, minute % 60};
        const zel::ClockTexts t = zel::make_clock_texts(now);
        ASSERT_EQ(two_digits(minute / 60) + ":" + two_digits(minute % 60), t.time);
        const zel::HourMinute back = zel::read_time_text(t.time);
        ASSERT_EQ(minute / 60, back.hour);
        ASSERT_EQ(minute % 60, back.minute);
    }
}
