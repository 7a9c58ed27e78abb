// zelcfg calls over logs written by Vornline's own line writer: the CSV read back field for
// field, and the summary's counts, shares, hang-ups, extensions and hours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "call_log.h"
#include "call_report.h"
#include "zelcfg_run.h"

namespace {

using namespace zelcfg_test;

zel::CallLogEntry call(int day, int hour, const char* outcome, const char* at, std::vector<std::string> entries,
                       const char* ext, const char* dial)
{
    zel::CallLogEntry e;
    e.start = {2027, 1, day, 5, hour, 15, 30};
    e.line = 1;
    e.greeting_field = "open_greeting_vox";
    e.greeting = "C:\\My, \"odd\" voices\\open.vox";
    e.reason = "weekly: FRI";
    e.entries = std::move(entries);
    e.extension = ext;
    e.route = *ext ? 0 : -1;
    e.outcome = outcome;
    e.outcome_at = at;
    e.dial = dial;
    return e;
}

std::string log_of(const std::vector<zel::CallLogEntry>& calls, unsigned long lost_on_first = 0)
{
    std::string text = zel::call_log_header();
    for (std::size_t i = 0; i < calls.size(); ++i) text += zel::call_log_line(calls[i], i == 0 ? lost_on_first : 0);
    return text;
}

const std::vector<zel::CallLogEntry> kFirstDay = {
    call(1, 9, "port", "", {"1001"}, "1001", "&,,201"),
    call(1, 9, "port", "", {"9999", "1001"}, "1001", "&,,201"),
    call(1, 9, "alternate", "", {"1003"}, "1003", "&,,9,,5550123"),
    call(1, 14, "default-silence", "", {}, "", "&,,200"),
    call(1, 14, "hung-up", "greeting", {}, "", ""),
    call(1, 23, "hung-up", "collect", {"12"}, "", ""),
};
const std::vector<zel::CallLogEntry> kSecondDay = {
    call(2, 0, "hung-up", "greeting", {}, "", ""),
    call(2, 9, "default-wrong", "", {"9999", "8888"}, "", "&,,200"),
};

}  // namespace

TEST(ZelcfgCalls, CsvReadsBackEveryFieldTheWriterQuoted)
{
    const struct {
        const char* text;
        std::vector<std::vector<std::string>> rows;
    } cases[] = {
        {"", {}},
        {"a,b\r\n", {{"a", "b"}}},
        {"a,b\nc,d", {{"a", "b"}, {"c", "d"}}},
        {"\"&,,201\",x\r\n", {{"&,,201", "x"}}},
        {"\"say \"\"hi\"\"\",,\r\n", {{"say \"hi\"", "", ""}}},
        {"\"two\r\nlines\",z\r\n", {{"two\r\nlines", "z"}}},
    };
    for (const auto& c : cases) EXPECT_EQ(c.rows, zelcfg::parse_csv(c.text)) << c.text;

    const zel::CallLogEntry e = kFirstDay[2];
    const auto rows = zelcfg::parse_csv(zel::call_log_header() + zel::call_log_line(e, 4));
    ASSERT_EQ(2u, rows.size());
    EXPECT_EQ(zel::call_log_columns(), rows[0]);
    const std::vector<std::string> want = {"2027-01-01 09:15:30", "1", "0.0", "open_greeting_vox", e.greeting,
                                           "weekly: FRI", "1003", "0", "1003", "alternate", "", "&,,9,,5550123",
                                           "0.0", "", "4"};
    EXPECT_EQ(want, rows[1]);
}

TEST(ZelcfgCalls, TheSummaryCountsDaysOutcomesHangUpsExtensionsAndHours)
{
    zelcfg::CallTotals t;
    std::string problem;
    ASSERT_TRUE(zelcfg::add_call_log(log_of(kFirstDay, 2), t, problem)) << problem;
    // A line cut short by a failed write is skipped, not counted.
    ASSERT_TRUE(zelcfg::add_call_log(log_of(kSecondDay) + "2027-01-02 10:00:00,1,2.0,open_gr\r\n", t, problem));
    EXPECT_EQ(8, t.calls);
    EXPECT_EQ(1, t.unreadable_lines);
    EXPECT_EQ(2u, t.lost_lines);
    EXPECT_EQ((std::map<std::string, int>{{"2027-01-01", 6}, {"2027-01-02", 2}}), t.per_day);
    EXPECT_EQ((std::map<std::string, int>{{"port", 2}, {"alternate", 1}, {"default-silence", 1},
                                          {"default-wrong", 1}, {"hung-up", 3}}),
              t.outcomes);
    EXPECT_EQ(2, t.silent_hang_ups);  // the one who keyed 12 first does not count
    EXPECT_EQ((std::map<std::string, int>{{"greeting", 2}}), t.silent_hang_up_steps);
    EXPECT_EQ((std::vector<std::pair<std::string, int>>{{"1001", 2}, {"1003", 1}}), zelcfg::top_extensions(t, 10));
    const int want_hours[24] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 1};
    for (int h = 0; h < 24; ++h) EXPECT_EQ(want_hours[h], t.per_hour[h]) << h;

    const std::string text = zelcfg::calls_text(t);
    for (const char* part : {"Calls: 8\n", "  2027-01-01  6\n", "  hung-up         3     37.5%\n",
                             "  port            2     25.0%\n", "Hung up before keying anything: 2 (25.0%)\n",
                             "  1001    2\n", "  09:00  4     ####\n", "Call lines the log could not write: 2\n"}) {
        EXPECT_NE(std::string::npos, text.find(part)) << part << "\n" << text;
    }
}

TEST(ZelcfgCalls, ThePageHoldsTheTablesAndOneBarPerBusyHour)
{
    zelcfg::CallTotals t;
    std::string problem;
    ASSERT_TRUE(zelcfg::add_call_log(log_of(kFirstDay), t, problem));
    const std::string html = zelcfg::calls_html(t, {"calls-<1>.csv"});
    EXPECT_EQ(0u, html.rfind("<!DOCTYPE html>", 0));
    EXPECT_NE(std::string::npos, html.find("<code>calls-&lt;1&gt;.csv</code>"));
    int bars = 0;
    for (std::size_t at = html.find("<rect class=\"bar\""); at != std::string::npos;
         at = html.find("<rect class=\"bar\"", at + 1)) {
        ++bars;
    }
    EXPECT_EQ(3, bars);  // hours 9, 14 and 23
    // The busiest hour fills the chart's height; the others in proportion.
    EXPECT_NE(std::string::npos, html.find("data-hour=\"9\" x=\"346\" y=\"10\" width=\"28\" height=\"200\""));
    EXPECT_NE(std::string::npos, html.find("data-hour=\"14\" x=\"516\" y=\"77\" width=\"28\" height=\"133\""));
    // Self-contained: nothing is fetched from anywhere.
    EXPECT_EQ(std::string::npos, html.find("src="));
    EXPECT_EQ(std::string::npos, html.find("<link"));
    EXPECT_EQ(std::string::npos, html.find("<script"));
}

TEST(ZelcfgCalls, TheProgramReadsSeveralLogsAndWritesThePage)
{
    const std::string first = temp_path("calls-20270101.csv");
    const std::string second = temp_path("calls-20270102.csv");
    const std::string page = temp_path("calls.html");
    write_bytes(first, log_of(kFirstDay));
    write_bytes(second, log_of(kSecondDay));
    std::remove(page.c_str());
    const Result r = zelcfg_run({"calls", first, second, "--html", page});
    EXPECT_EQ(0, r.status) << r.err;
    EXPECT_EQ(0u, r.out.rfind("Calls: 8\n", 0)) << r.out;
    zelcfg::CallTotals t;
    std::string problem;
    zelcfg::add_call_log(log_of(kFirstDay), t, problem);
    zelcfg::add_call_log(log_of(kSecondDay), t, problem);
    EXPECT_EQ(zelcfg::calls_html(t, {first, second}), read_bytes(page));

    write_bytes(second, "name,value\r\nx,1\r\n");
    const Result wrong = zelcfg_run({"calls", first, second});
    EXPECT_EQ(1, wrong.status);
    EXPECT_EQ("zelcfg: " + second + ": not a call log: no column 'start' in its first line\n", wrong.err);
    EXPECT_EQ(1, zelcfg_run({"calls", first, "--html"}).status);
    EXPECT_EQ(1, zelcfg_run({"calls", temp_path("missing.csv")}).status);
}
