// zelcfg preview against the runtime: for a record with a holiday today, a special day
// tomorrow and a route window across midnight, every minute of every previewed day must
// fall in exactly one period, and that period must say what evaluate_schedule and
// prepare_route_transfer answer for that minute. The program's output is that preview.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar.h"
#include "call_clock.h"
#include "config_record.h"
#include "preview.h"
#include "record_file.h"
#include "schedule.h"
#include "transfer.h"
#include "zelcfg_run.h"

using zel::Field;

namespace {

using namespace zelcfg_test;

// An office open 09:00-17:00 on weekdays, closed at the weekend; a holiday on `holiday`,
// special hours 10:00-14:00 on `special`. 1001 rings port 201; 1003 port 203, and its
// outside number from 17:00 to 08:00; a second 1001 on route 5 wins over route 0.
zel::ConfigRecord office(const zel::Date& holiday, const zel::Date& special)
{
    zel::ConfigRecord rec = zel::default_record();
    const char* voices[][2] = {{"open_greeting_vox", "C:\\v\\open.vox"},   {"closed_greeting_vox", "C:\\v\\closed.vox"},
                               {"holiday_vox", "C:\\v\\holiday.vox"},     {"special_open_vox", "C:\\v\\sp_open.vox"},
                               {"special_closed_vox", "C:\\v\\sp_closed.vox"}};
    for (const auto& v : voices) set(rec, *zel::field_by_name(v[0]), 0, v[1]);
    weekdays_nine_to_five(rec);
    set(rec, Field::holiday_date, 7, zel::format_date(holiday));
    set(rec, Field::special_date, 2, zel::format_date(special));
    for (int j = 0; j < 54; ++j) {
        set(rec, Field::special_open_time, j, "10:00:00 AM");
        set(rec, Field::special_close_time, j, "02:00:00 PM");
    }
    set(rec, Field::int_transfer_delay, 0, "2");
    set(rec, Field::ext_transfer_delay, 0, "2");
    set(rec, Field::default_port, 0, "200");
    set(rec, Field::route_ext, 0, "1001");
    set(rec, Field::route_port, 0, "299");
    set(rec, Field::route_ext, 2, "1003");
    set(rec, Field::route_port, 2, "203");
    set(rec, Field::route_alt_number, 2, "95550123");
    set(rec, Field::route_from_time, 2, "05:00:00 PM");
    set(rec, Field::route_to_time, 2, "08:00:00 AM");
    set(rec, Field::route_ext, 5, "1001");
    set(rec, Field::route_port, 5, "201");
    return rec;
}

// Each minute lies in exactly one period and the periods are as long as they can be.
template <typename Period>
void expect_tiling(const std::vector<Period>& periods, const std::string& what)
{
    ASSERT_FALSE(periods.empty()) << what;
    EXPECT_EQ(0, periods.front().from) << what;
    EXPECT_EQ(1440, periods.back().to) << what;
    for (std::size_t i = 0; i < periods.size(); ++i) {
        EXPECT_LT(periods[i].from, periods[i].to) << what;
        if (i > 0) {
            EXPECT_EQ(periods[i - 1].to, periods[i].from) << what;
        }
    }
}

template <typename Period>
const Period& period_at(const std::vector<Period>& periods, int minute)
{
    for (const Period& p : periods) {
        if (p.from <= minute && minute < p.to) return p;
    }
    return periods.back();
}

}  // namespace

TEST(ZelcfgPreview, EveryMinuteAgreesWithTheRuntimesOwnAnswers)
{
    const zel::Date today = zelcfg::today();
    const zel::Date tomorrow = zelcfg::date_from_days(zelcfg::days_from_date(today) + 1);
    const zel::ConfigRecord rec = office(today, tomorrow);
    const zelcfg::Preview p = zelcfg::build_preview(rec, today, 3);
    ASSERT_EQ(3u, p.days.size());
    EXPECT_EQ("&,,200", p.default_dial);
    for (const zelcfg::DayPreview& d : p.days) {
        const std::string day = zel::format_date(d.date);
        expect_tiling(d.periods, day);
        ASSERT_EQ(2u, d.routes.size()) << day;  // 1001 (route 5 wins) and 1003
        EXPECT_EQ(5, d.routes[0].route);
        EXPECT_EQ(2, d.routes[1].route);
        for (const zelcfg::RoutePreview& r : d.routes) expect_tiling(r.periods, day + " " + r.ext);
        for (int m = 0; m < 1440; ++m) {
            const zel::ClockTexts texts = zel::make_clock_texts(zelcfg::clock_at(d.date, m / 60, m % 60));
            ASSERT_EQ(texts.day, d.weekday);
            const zel::ScheduleOutcome s = zel::evaluate_schedule(rec, texts);
            const zelcfg::GreetingPeriod& g = period_at(d.periods, m);
            ASSERT_EQ(s.greeting, g.path) << day << " " << texts.time;
            ASSERT_EQ(zel::field_def(zel::greeting_field(s.rule)).name, g.field) << day << " " << texts.time;
            ASSERT_EQ(zel::schedule_reason(s, texts), g.reason) << day << " " << texts.time;
            for (const zelcfg::RoutePreview& r : d.routes) {
                ASSERT_EQ(zel::find_route(rec, r.ext), r.route);
                const zel::TransferPlan plan = zel::prepare_route_transfer(rec, r.route, texts.time, s);
                const zelcfg::DialPeriod& dp = period_at(r.periods, m);
                ASSERT_EQ(std::string(plan.dial), dp.dial) << day << " " << texts.time << " " << r.ext;
                ASSERT_EQ(zel::use_alternate(rec, r.route, texts.time, s), dp.alternate) << day << " " << texts.time;
            }
        }
    }
    // What the days must hold, whatever weekday today is.
    ASSERT_EQ(1u, p.days[0].periods.size());
    EXPECT_EQ("holiday 7", p.days[0].periods[0].reason);
    EXPECT_EQ("&,,9,,5550123", p.days[0].routes[1].periods[0].dial);  // closed all day: the alternate
    ASSERT_EQ(3u, p.days[1].periods.size());
    EXPECT_EQ("special day 2 (open)", p.days[1].periods[1].reason);
    EXPECT_EQ(600, p.days[1].periods[1].from);
    EXPECT_EQ(14 * 60 + 1, p.days[1].periods[1].to);  // 14:00 itself is open
}

TEST(ZelcfgPreview, TheWindowAcrossMidnightSplitsAnOrdinaryWeekday)
{
    // Wednesday 06/09/2027: an ordinary open weekday.
    const zel::Date wednesday{6, 9, 2027};
    ASSERT_EQ(3, zelcfg::weekday_of(wednesday));
    const zel::ConfigRecord rec = office({1, 1, 2027}, {1, 2, 2027});
    const zelcfg::Preview p = zelcfg::build_preview(rec, wednesday, 1);
    const zelcfg::DayPreview& d = p.days[0];
    EXPECT_EQ("WEN", d.weekday);
    const struct {
        int from, to;
        const char* field;
        const char* reason;
    } greetings[] = {
        {0, 540, "closed_greeting_vox", "weekly: WEN (after hours)"},
        {540, 1021, "open_greeting_vox", "weekly: WEN"},
        {1021, 1440, "closed_greeting_vox", "weekly: WEN (after hours)"},
    };
    ASSERT_EQ(std::size(greetings), d.periods.size());
    for (std::size_t i = 0; i < d.periods.size(); ++i) {
        EXPECT_EQ(greetings[i].from, d.periods[i].from) << i;
        EXPECT_EQ(greetings[i].to, d.periods[i].to) << i;
        EXPECT_EQ(greetings[i].field, d.periods[i].field) << i;
        EXPECT_EQ(greetings[i].reason, d.periods[i].reason) << i;
    }
    const struct {
        int from, to;
        const char* dial;
        bool alternate;
    } dials[] = {{0, 480, "&,,9,,5550123", true}, {480, 1020, "&,,203", false}, {1020, 1440, "&,,9,,5550123", true}};
    const std::vector<zelcfg::DialPeriod>& got = d.routes[1].periods;
    ASSERT_EQ(std::size(dials), got.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        EXPECT_EQ(dials[i].from, got[i].from) << i;
        EXPECT_EQ(dials[i].to, got[i].to) << i;
        EXPECT_EQ(dials[i].dial, got[i].dial) << i;
        EXPECT_EQ(dials[i].alternate, got[i].alternate) << i;
    }
}

TEST(ZelcfgPreview, TheProgramPrintsThePreviewAsTextOrJson)
{
    const zel::Date wednesday{6, 9, 2027};
    const zel::ConfigRecord rec = office({1, 1, 2027}, {1, 2, 2027});
    const std::string file = temp_path("office.cfg");
    write_bytes(file, zel::to_disk(rec));

    const Result json = zelcfg_run({"preview", file, "--from", "06/09/2027", "--days", "2", "--json"});
    EXPECT_EQ(0, json.status) << json.err;
    EXPECT_EQ(zelcfg::preview_json(zelcfg::build_preview(rec, wednesday, 2)), json.out);
    EXPECT_NE(std::string::npos,
              json.out.find("{\"from\": \"17:01\", \"to\": \"24:00\", \"greeting_field\": \"closed_greeting_vox\", "
                            "\"greeting\": \"C:\\\\v\\\\closed.vox\", \"reason\": \"weekly: WEN (after hours)\"}"))
        << json.out;
    EXPECT_NE(std::string::npos, json.out.find("{\"from\": \"08:00\", \"to\": \"17:00\", \"dial\": \"&,,203\", "
                                               "\"target\": \"port\"}"))
        << json.out;

    const Result text = zelcfg_run({"preview", file, "--from", "06/09/2027", "--days", "1"});
    EXPECT_EQ(0, text.status) << text.err;
    const std::vector<std::string> lines = lines_of(text.out);
    const std::vector<std::string> want = {
        "Default transfer (no entry, or a wrong one twice): &,,200",
        "",
        "06/09/2027 WEN",
        "  Greeting",
        "    12:00:00 AM - 08:59:59 AM  closed_greeting_vox C:\\v\\closed.vox  [weekly: WEN (after hours)]",
        "    09:00:00 AM - 05:00:59 PM  open_greeting_vox C:\\v\\open.vox  [weekly: WEN]",
        "    05:01:00 PM - 11:59:59 PM  closed_greeting_vox C:\\v\\closed.vox  [weekly: WEN (after hours)]",
        "  Extension 1001 (route 5)",
        "    12:00:00 AM - 11:59:59 PM  &,,201  port",
        "  Extension 1003 (route 2)",
        "    12:00:00 AM - 07:59:59 AM  &,,9,,5550123  alternate",
        "    08:00:00 AM - 04:59:59 PM  &,,203  port",
        "    05:00:00 PM - 11:59:59 PM  &,,9,,5550123  alternate",
    };
    EXPECT_EQ(want, lines);
}

TEST(ZelcfgPreview, BadOptionsAndUnsoundRecordsAreRefused)
{
    const std::string file = temp_path("office.cfg");
    write_bytes(file, zel::to_disk(zel::default_record()));
    const std::vector<std::vector<std::string>> refused = {
        {"preview", file, "--days", "0"},          {"preview", file, "--days", "367"},
        {"preview", file, "--days", "x"},          {"preview", file, "--from", "2/30/2027"},
        {"preview", file, "--from", "02/30/2027"}, {"preview", file, "--from"},
        {"preview", file, "--colour"},
    };
    for (const auto& args : refused) {
        const Result r = zelcfg_run(args);
        EXPECT_EQ(1, r.status) << args.back();
        EXPECT_EQ("", r.out) << args.back();
        EXPECT_NE("", r.err) << args.back();
    }
    EXPECT_EQ(0, zelcfg_run({"preview", file, "--days", "366", "--from", "01/01/2027"}).status);

    // A record check refuses is refused with check's own lines.
    std::string disk = zel::to_disk(zel::default_record());
    disk[400] = '\x1a';
    write_bytes(file, disk);
    const Result check = zelcfg_run({"check", file});
    const Result preview = zelcfg_run({"preview", file});
    EXPECT_EQ(1, check.status);
    EXPECT_EQ(1, preview.status);
    EXPECT_EQ(check.out, preview.err);
    EXPECT_EQ("", preview.out);
}
