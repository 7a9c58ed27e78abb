// Route lookup, the port-or-alternate choice and the dial strings of transfers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "schedule.h"
#include "test_record.h"
#include "transfer.h"

using zel::ConfigRecord;
using zel::Field;
using zel::ScheduleOutcome;
using zel::test::office_record;
using zel::test::put;

namespace {

ScheduleOutcome plain() { return {}; }
ScheduleOutcome closed_day()
{
    ScheduleOutcome s;
    s.closed = true;
    return s;
}
ScheduleOutcome special_open_day()
{
    ScheduleOutcome s;
    s.special_open = true;
    return s;
}

std::string hhmm(int minute)
{
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
    return text;
}

// Route 3: extension 1234, port 201, alternate outside number 95551234.
ConfigRecord routed_record(const char* int_delay, const char* ext_delay)
{
    ConfigRecord rec = office_record();
    put(rec, Field::int_transfer_delay, int_delay);
    put(rec, Field::ext_transfer_delay, ext_delay);
    put(rec, Field::route_ext, 3, "1234");
    put(rec, Field::route_vox, 3, "C:\\vox\\sales.vox");
    put(rec, Field::route_port, 3, "201");
    put(rec, Field::route_alt_number, 3, "95551234");
    put(rec, Field::route_from_time, 3, "05:00:00 PM");
    put(rec, Field::route_to_time, 3, "08:00:00 AM");
    return rec;
}

std::string route_dial(const ConfigRecord& rec, int route, const std::string& time,
                       const ScheduleOutcome& s)
{
    const zel::TransferPlan plan = zel::prepare_route_transfer(rec, route, time, s);
    EXPECT_FALSE(plan.cut);
    return plan.dial;
}

}  // namespace

TEST(FlashPrefix, PausesFollowTheInternalDelayUpToFive)
{
    const struct {
        const char* delay;
        const char* prefix;
    } cases[] = {
        {"0", "&"}, {"1", "&,"}, {"2", "&,,"}, {"3", "&,,,"}, {"4", "&,,,,"}, {"5", "&,,,,,"},
        {"6", "&,,,,,"}, {"7", "&,,,,,"}, {"8", "&,,,,,"}, {"9", "&,,,,,"},
        {"", "&"}, {"x", "&"}, {"-", "&"}, {" ", "&"}, {"*", "&"},
    };
    for (const auto& c : cases) {
        ConfigRecord rec = office_record();
        put(rec, Field::int_transfer_delay, c.delay);
        EXPECT_EQ(c.prefix, zel::flash_prefix(rec)) << "'" << c.delay << "'";
        put(rec, Field::default_port, "100");
        EXPECT_EQ(std::string(c.prefix) + "100", zel::prepare_default_transfer(rec).dial) << c.delay;
    }
}

TEST(RouteDialString, PortOrAlternateWithTheirPauses)
{
    const struct {
        const char* int_delay;
        const char* ext_delay;
        const char* alt;
        bool alternate;  // a closed day forces the alternate; 12:00 lies outside the window
        const char* dial;
    } cases[] = {
        {"2", "3", "95551234", false, "&,,201"},
        {"2", "3", "95551234", true, "&,,9,,,5551234"},
        {"2", "0", "95551234", true, "&,,95551234"},
        {"2", "7", "95551234", true, "&,,9,,,,,5551234"},
        {"0", "3", "95551234", true, "&9,,,5551234"},
        {"9", "9", "95551234", true, "&,,,,,9,,,,,5551234"},
        {"2", "3", "305", true, "&,,305"},
        {"2", "7", "305", true, "&,,305"},
        {"2", "3", "12345", true, "&,,12345"},      // five characters: still a port
        {"2", "3", "912345", true, "&,,9,,,12345"}, // six: an outside number
        {"2", "", "95551234", true, "&,,95551234"},
        {"2", "x", "95551234", true, "&,,95551234"},
        {"1", "3", "", true, "&,"},
    };
    for (const auto& c : cases) {
        ConfigRecord rec = routed_record(c.int_delay, c.ext_delay);
        put(rec, Field::route_alt_number, 3, c.alt);
        const ScheduleOutcome s = c.alternate ? closed_day() : plain();
        EXPECT_EQ(c.dial, route_dial(rec, 3, "12:00", s))
            << c.int_delay << "/" << c.ext_delay << "/" << c.alt << "/" << c.alternate;
    }
}

TEST(RouteWindow, OvernightAndSameDayWindowsAtEveryMinute)
{
    const struct {
        const char* from;
        const char* to;
        int from_minute, to_minute;
    } windows[] = {
        {"05:00:00 PM", "08:00:00 AM", 17 * 60, 8 * 60},
        {"12:00:00 PM", "01:00:00 PM", 12 * 60, 13 * 60},
        {"12:00:00 AM", "12:01:00 AM", 0, 1},
        {"11:59:00 PM", "12:00:00 AM", 23 * 60 + 59, 0},
        {"09:30:00 AM", "09:30:59 AM", 9 * 60 + 30, 9 * 60 + 30},  // same minute, different texts
    };
    for (const auto& w : windows) {
        ConfigRecord rec = routed_record("2", "3");
        put(rec, Field::route_from_time, 3, w.from);
        put(rec, Field::route_to_time, 3, w.to);
        for (int m = 0; m < 24 * 60; ++m) {
            // Alternate from the from-minute inclusive to the to-minute exclusive,
            // wrapping past midnight when the window starts later than it ends.
            const bool alternate = w.from_minute <= w.to_minute
                                       ? (m >= w.from_minute && m < w.to_minute)
                                       : (m >= w.from_minute || m < w.to_minute);
            ASSERT_EQ(alternate ? "&,,9,,,5551234" : "&,,201", route_dial(rec, 3, hhmm(m), plain()))
                << w.from << " - " << w.to << " at " << hhmm(m);
        }
    }
}

TEST(RouteWindow, OvernightBoundaries)
{
    const ConfigRecord rec = routed_record("2", "3");
    const struct {
        const char* time;
        bool alternate;
    } cases[] = {{"17:00", true}, {"07:59", true}, {"08:00", false}, {"16:59", false}, {"00:00", true}};
    for (const auto& c : cases) {
        EXPECT_EQ(c.alternate, zel::use_alternate(rec, 3, c.time, plain())) << c.time;
    }
}

TEST(RouteWindow, ScheduleOverridesApplyInOrder)
{
    const struct {
        const char* name;
        const char* from;
        const char* to;
        const char* time;
        ScheduleOutcome schedule;
        bool alternate;
    } cases[] = {
        {"closed day outside the window", "05:00:00 PM", "08:00:00 AM", "12:00", closed_day(), true},
        {"closed day inside the window", "05:00:00 PM", "08:00:00 AM", "20:00", closed_day(), true},
        {"open special day inside the window", "05:00:00 PM", "08:00:00 AM", "20:00", special_open_day(), false},
        {"open special day outside the window", "05:00:00 PM", "08:00:00 AM", "12:00", special_open_day(), false},
        {"equal times on a closed day", "05:00:00 PM", "05:00:00 PM", "20:00", closed_day(), false},
        {"empty times on a closed day", "", "", "20:00", closed_day(), false},
        {"equal times on a plain day", "05:00:00 PM", "05:00:00 PM", "17:00", plain(), false},
        {"window alone, inside", "05:00:00 PM", "08:00:00 AM", "20:00", plain(), true},
        {"window alone, outside", "05:00:00 PM", "08:00:00 AM", "12:00", plain(), false},
    };
    for (const auto& c : cases) {
        ConfigRecord rec = routed_record("2", "3");
        put(rec, Field::route_from_time, 3, c.from);
        put(rec, Field::route_to_time, 3, c.to);
        EXPECT_EQ(c.alternate, zel::use_alternate(rec, 3, c.time, c.schedule)) << c.name;
        EXPECT_EQ(c.alternate ? "&,,9,,,5551234" : "&,,201", route_dial(rec, 3, c.time, c.schedule)) << c.name;
    }
}

TEST(RouteWindow, ScheduleStatesFromEvaluationSendRoutesWhereTheyBelong)
{
    // Friday 3 July 2009 at 12:00, outside the route's 17:00-08:00 window.
    const zel::ClockTexts noon = zel::make_clock_texts({2009, 7, 3, 5, 12, 0});
    const struct {
        const char* name;
        void (*setup)(ConfigRecord&);
        bool alternate;
    } cases[] = {
        {"closed special day", [](ConfigRecord& r) {
             put(r, Field::special_date, 0, "07/03/2009");
             put(r, Field::special_open_time, 0, "01:00:00 PM");
             put(r, Field::special_close_time, 0, "03:00:00 PM");
         }, true},
        {"open special day", [](ConfigRecord& r) {
             put(r, Field::special_date, 0, "07/03/2009");
             put(r, Field::special_open_time, 0, "09:00:00 AM");
             put(r, Field::special_close_time, 0, "03:00:00 PM");
             put(r, Field::route_from_time, 3, "11:00:00 AM");  // the window would say alternate
             put(r, Field::route_to_time, 3, "01:00:00 PM");
         }, false},
        {"holiday", [](ConfigRecord& r) { put(r, Field::holiday_date, 9, "07/03/2009"); }, true},
        {"day closed all day", [](ConfigRecord& r) { put(r, Field::day_closed, 4, "01"); }, true},
        {"no line for today", [](ConfigRecord& r) { put(r, Field::day_name, 4, "XXX"); }, true},
        {"after hours on an open day", [](ConfigRecord& r) {
             put(r, Field::day_close_time, 4, "11:00:00 AM");
         }, false},
        {"holiday with equal times", [](ConfigRecord& r) {
             put(r, Field::holiday_date, 9, "07/03/2009");
             put(r, Field::route_from_time, 3, "08:00:00 AM");
             put(r, Field::route_to_time, 3, "08:00:00 AM");
         }, false},
    };
    for (const auto& c : cases) {
        ConfigRecord rec = routed_record("2", "3");
        c.setup(rec);
        const ScheduleOutcome s = zel::evaluate_schedule(rec, noon);
        EXPECT_EQ(c.alternate ? "&,,9,,,5551234" : "&,,201", route_dial(rec, 3, noon.time, s)) << c.name;
    }
}

TEST(RouteLookup, NumbersCompareByLeadingDigitsAndTheHighestRouteWins)
{
    const struct {
        const char* name;
        const char* exts[16];
        const char* entry;
        int route;
    } cases[] = {
        {"exact", {"", "", "", "1234"}, "1234", 3},
        {"two matches: the higher", {"", "1234", "", "", "", "", "", "", "", "1234"}, "1234", 9},
        {"last route", {"1000", "", "", "", "", "", "", "", "", "", "", "", "", "", "", "1000"}, "1000", 15},
        {"no match", {"1111", "2222"}, "3333", -1},
        {"0000 never finds an empty route", {""}, "0000", -1},
        {"* never finds an empty route", {""}, "*", -1},
        {"# never finds an empty route", {""}, "#12", -1},
        {"*123 reads as 0 and finds 0000", {"", "0000", ""}, "*123", 1},
        {"0000 finds 0", {"", "", "0"}, "0000", 2},
        {"leading digits of the extension", {"", "12a"}, "0012", 1},
        {"a non-digit extension reads as 0", {"abc"}, "0000", 0},
        {"a short entry is its own number", {"", "", "0123"}, "123", 2},
        {"an empty entry reads as 0", {"9999", "0"}, "", 1},
    };
    for (const auto& c : cases) {
        ConfigRecord rec = office_record();
        for (int r = 0; r < 16; ++r) {
            if (c.exts[r] != nullptr) put(rec, Field::route_ext, r, c.exts[r]);
        }
        EXPECT_EQ(c.route, zel::find_route(rec, c.entry)) << c.name;
    }
}

TEST(RouteLookup, RoutesBeyondTheSixteenthAreNeverReached)
{
    ConfigRecord rec = office_record();
    put(rec, Field::route_ext, 16, "4321");
    put(rec, Field::route_ext, 59, "4321");
    EXPECT_EQ(-1, zel::find_route(rec, "4321"));
}

TEST(TransferPlan, RouteAndDefaultPlansCarryVoiceDialAndPicture)
{
    ConfigRecord rec = routed_record("2", "3");
    put(rec, Field::route_ext, 15, "7777");
    put(rec, Field::route_vox, 15, "C:\\vox\\last.vox");
    put(rec, Field::route_port, 15, "299");
    put(rec, Field::route_vox, 0, "C:\\vox\\first.vox");
    put(rec, Field::route_port, 0, "200");
    put(rec, Field::default_port, "100");

    const zel::TransferPlan r3 = zel::prepare_route_transfer(rec, 3, "12:00", plain());
    EXPECT_EQ("C:\\vox\\sales.vox", r3.voice);
    EXPECT_STREQ("&,,201", r3.dial);
    EXPECT_EQ(4, r3.picture);
    EXPECT_EQ(3, r3.route);

    const zel::TransferPlan r15 = zel::prepare_route_transfer(rec, 15, "12:00", plain());
    EXPECT_EQ("C:\\vox\\last.vox", r15.voice);
    EXPECT_STREQ("&,,299", r15.dial);
    EXPECT_EQ(16, r15.picture);

    const zel::TransferPlan r0 = zel::prepare_route_transfer(rec, 0, "12:00", plain());
    EXPECT_EQ("C:\\vox\\first.vox", r0.voice);
    EXPECT_EQ(1, r0.picture);

    const zel::TransferPlan d = zel::prepare_default_transfer(rec);
    EXPECT_EQ("C:\\vox\\noinput.vox", d.voice);
    EXPECT_STREQ("&,,100", d.dial);
    EXPECT_EQ(0, d.picture);
    EXPECT_EQ(-1, d.route);
}

TEST(DialBuffer, TheLongestRecordStringFits)
{
    ConfigRecord rec = routed_record("9", "9");
    const std::string alt(24, '7');  // a full route_alt_number slot
    put(rec, Field::route_alt_number, 3, alt);
    const zel::TransferPlan plan = zel::prepare_route_transfer(rec, 3, "12:00", closed_day());
    EXPECT_FALSE(plan.cut);
    EXPECT_EQ("&,,,,,7,,,,," + alt.substr(1), std::string(plan.dial));
    EXPECT_EQ(35u, std::strlen(plan.dial));
}

TEST(DialBuffer, TooLongTextsAreCutWithinTheBuffer)
{
    const struct {
        std::size_t size;
        const char* prefix;
        const char* target;
        bool whole;
        const char* dial;
    } cases[] = {
        {8, "&,,", "201", true, "&,,201"},
        {7, "&,,", "201", true, "&,,201"},     // exact fit with the NUL
        {6, "&,,", "201", false, "&,,20"},
        {4, "&,,", "201", false, "&,,"},
        {3, "&,,", "201", false, ""},          // the prefix itself does not fit: dial nothing
        {1, "&", "1", false, ""},
        {40, "&,,,,,", "9,,,,,55512345678901234567890123456789", false,
         "&,,,,,9,,,,,555123456789012345678901234"},
    };
    for (const auto& c : cases) {
        char buffer[64];
        std::memset(buffer, 'Z', sizeof buffer);
        EXPECT_EQ(c.whole, zel::build_dial_string(buffer, c.size, c.prefix, c.target)) << c.size;
        EXPECT_STREQ(c.dial, buffer) << c.size;
        for (std::size_t i = c.size; i < sizeof buffer; ++i) {
            ASSERT_EQ('Z', buffer[i]) << "byte " << i << " written past a buffer of " << c.size;
        }
    }
    EXPECT_FALSE(zel::build_dial_string(nullptr, 10, "&", "1"));
    char one = 'Z';
    EXPECT_FALSE(zel::build_dial_string(&one, 0, "&", "1"));
    EXPECT_EQ('Z', one);
}
