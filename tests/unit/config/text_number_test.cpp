// Numbers, times and dates as text.
#include <gtest/gtest.h>

#include "text_number.h"

using zel::TimeOfDay;

TEST(LeadingNumber, ReadsLeadingDigitsOnly)
{
    const struct {
        const char* text;
        int value;
    } cases[] = {{"", 0}, {"7", 7}, {"10", 10}, {"3x", 3}, {"x3", 0}, {"*123", 0}, {"0042", 42}, {" 5", 0},
                 {"99999999999999", 999999999}};
    for (const auto& c : cases) EXPECT_EQ(c.value, zel::leading_number(c.text)) << c.text;
}

TEST(TimeText, ConvertsTheTwelveHourClock)
{
    const struct {
        const char* text;
        TimeOfDay t;
    } cases[] = {
        {"12:05:00 AM", {0, 5, 0}},   {"12:05:00 PM", {12, 5, 0}}, {"07:45:00 PM", {19, 45, 0}},
        {"", {0, 0, 0}},              {"11:59:59 AM", {11, 59, 59}}, {"01:05:00 PM", {13, 5, 0}},
        {"12:30:00 AM", {0, 30, 0}},  {"09:05", {9, 5, 0}},          {"ab:cd:ef PM", {12, 0, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.t, zel::parse_time(c.text)) << c.text;
}

TEST(TimeText, FormatAndParseAgreeForEveryMinuteOfTheDay)
{
    for (int minute = 0; minute < 24 * 60; ++minute) {
        const TimeOfDay t{minute / 60, minute % 60, 0};
        const std::string text = zel::format_time(t);
        ASSERT_EQ(11u, text.size());
        ASSERT_EQ(t, zel::parse_time(text)) << text;
    }
    EXPECT_EQ("09:05:00 PM", zel::format_time({21, 5, 0}));
    EXPECT_EQ("12:15:00 AM", zel::format_time({0, 15, 0}));
}

TEST(DateText, ParsesFormatsAndValidates)
{
    EXPECT_EQ((zel::Date{2, 8, 2007}), zel::parse_date("02/08/2007"));
    EXPECT_EQ("07/03/2009", zel::format_date({7, 3, 2009}));
    EXPECT_EQ((zel::Date{0, 0, 0}), zel::parse_date(""));
    EXPECT_EQ((zel::Date{3, 0, 9}), zel::parse_date("3/7/2009"));  // positions, not separators
    EXPECT_FALSE(zel::is_valid_date(zel::parse_date("")));
    EXPECT_FALSE(zel::is_valid_date({2, 29, 2027}));
    EXPECT_TRUE(zel::is_valid_date({2, 29, 2028}));
    EXPECT_FALSE(zel::is_valid_date({13, 1, 2027}));
    EXPECT_TRUE(zel::is_valid_date({12, 31, 2099}));
}
