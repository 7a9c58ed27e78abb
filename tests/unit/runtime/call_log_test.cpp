// The call log's lines and its appender: CSV that no field can break, the header once
// per file, the day's file name, lines lost and owned up to, and four channels appending
// at once without tearing a line.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "call_log.h"

namespace {

std::string read_all(const std::string& path)
{
    std::string bytes;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return "<missing>";
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    std::fclose(f);
    return bytes;
}

// A fresh folder of the running test's own, as a prefix ending in a separator.
std::string fresh_folder()
{
    const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path dir =
        std::filesystem::path(testing::TempDir()) / (std::string("calllog_") + t->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string() + "/";
}

std::vector<std::string> split_lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at) + "<no CR LF>");
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

zel::CallLogEntry sample(int line = 2)
{
    zel::CallLogEntry e;
    e.start = {2027, 1, 1, 5, 17, 45, 9};
    e.line = line;
    e.answer_seconds = 8;
    e.greeting_field = "holiday_vox";
    e.greeting = "C:\\vox\\holiday.vox";
    e.reason = "holiday 12";
    e.entries = {"9999", "1003"};
    e.route = 2;
    e.extension = "1003";
    e.outcome = "alternate";
    e.dial = "&,,9,,5550123";
    e.length_seconds = 31.25;
    return e;
}

}  // namespace

TEST(CallLogCsv, FieldsAreQuotedExactlyWhenCsvNeedsIt)
{
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"", ""},
        {"1234", "1234"},
        {"C:\\vox\\open.vox", "C:\\vox\\open.vox"},
        {"&,,201", "\"&,,201\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"\"", "\"\"\"\""},
        {"a\nb", "\"a\nb\""},
        {"a\rb", "\"a\rb\""},
        {" lead", "\" lead\""},
        {"trail ", "\"trail \""},
        {"12*#", "12*#"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.out, zel::csv_field(c.in)) << c.in;
}

TEST(CallLogCsv, HeaderAndLineHaveTheColumnsInOrder)
{
    EXPECT_EQ("start,line,answer_seconds,greeting_field,greeting,reason,entries,route,extension,outcome,outcome_at,"
              "dial,length_seconds,failed,lost_before\r\n",
              zel::call_log_header());
    EXPECT_EQ("2027-01-01 17:45:09,2,8.0,holiday_vox,C:\\vox\\holiday.vox,holiday 12,9999 1003,2,1003,alternate,,"
              "\"&,,9,,5550123\",31.2,,3\r\n",
              zel::call_log_line(sample(), 3));

    zel::CallLogEntry gone;
    gone.start = {2009, 7, 3, 5, 9, 5, 0};
    gone.line = 4;
    gone.greeting_field = "open_greeting_vox";
    gone.greeting = "C:\\My, \"odd\" folder\\open.vox";
    gone.reason = "weekly: FRI";
    gone.outcome = "hung-up";
    gone.outcome_at = "greeting";
    gone.failed = {"offhook", "play greeting"};
    EXPECT_EQ("2009-07-03 09:05:00,4,0.0,open_greeting_vox,\"C:\\My, \"\"odd\"\" folder\\open.vox\",weekly: FRI,,,,"
              "hung-up,greeting,,0.0,offhook; play greeting,0\r\n",
              zel::call_log_line(gone, 0));
}

TEST(CallLogCsv, TheFileIsNamedAfterTheDay)
{
    EXPECT_EQ("calls-20270101.csv", zel::call_log_file_name({2027, 1, 1, 5, 23, 59, 59}));
    EXPECT_EQ("calls-20091231.csv", zel::call_log_file_name({2009, 12, 31, 4, 0, 0, 0}));
}

TEST(CallLogFile, TheHeaderIsWrittenOnceAndEachCallAddsOneLine)
{
    const std::string folder = fresh_folder();
    zel::CallLog log(folder);
    ASSERT_TRUE(log.append(sample(1)));
    ASSERT_TRUE(log.append(sample(2)));
    zel::CallLogEntry next_day = sample(3);
    next_day.start.day = 2;
    ASSERT_TRUE(log.append(next_day));

    const std::vector<std::string> first = split_lines(read_all(folder + "calls-20270101.csv"));
    ASSERT_EQ(3u, first.size());
    EXPECT_EQ(zel::call_log_header(), first[0] + "\r\n");
    EXPECT_EQ(zel::call_log_line(sample(1), 0), first[1] + "\r\n");
    EXPECT_EQ(zel::call_log_line(sample(2), 0), first[2] + "\r\n");
    const std::vector<std::string> second = split_lines(read_all(folder + "calls-20270102.csv"));
    ASSERT_EQ(2u, second.size());
    EXPECT_EQ(zel::call_log_header(), second[0] + "\r\n");
}

TEST(CallLogFile, LinesThatCouldNotBeWrittenAreCountedOnTheNextLine)
{
    const std::string folder = fresh_folder() + "later/";
    zel::CallLog log(folder);
    EXPECT_FALSE(log.append(sample()));  // the folder is not there yet
    EXPECT_FALSE(log.append(sample()));
    EXPECT_EQ(2u, log.lost());
    std::filesystem::create_directories(folder);
    ASSERT_TRUE(log.append(sample()));
    ASSERT_TRUE(log.append(sample()));
    EXPECT_EQ(0u, log.lost());
    const std::vector<std::string> lines = split_lines(read_all(folder + "calls-20270101.csv"));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ(zel::call_log_line(sample(), 2), lines[1] + "\r\n");
    EXPECT_EQ(zel::call_log_line(sample(), 0), lines[2] + "\r\n");
}

TEST(CallLogFile, ALineCutOffEarlierDoesNotSwallowTheNextOne)
{
    const std::string folder = fresh_folder();
    {
        std::FILE* f = std::fopen((folder + "calls-20270101.csv").c_str(), "wb");
        ASSERT_NE(nullptr, f);
        const std::string cut = zel::call_log_header() + "2027-01-01 17:00:00,1,2.0,open_gr";
        std::fwrite(cut.data(), 1, cut.size(), f);
        std::fclose(f);
    }
    zel::CallLog log(folder);
    ASSERT_TRUE(log.append(sample()));
    const std::vector<std::string> lines = split_lines(read_all(folder + "calls-20270101.csv"));
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("2027-01-01 17:00:00,1,2.0,open_gr", lines[1]);
    EXPECT_EQ(zel::call_log_line(sample(), 0), lines[2] + "\r\n");
}

TEST(CallLogFile, FourChannelsAppendingAtOnceLeaveEveryLineWhole)
{
    const std::string folder = fresh_folder();
    zel::CallLog log(folder);
    constexpr int kCalls = 60;
    std::vector<std::thread> channels;
    for (int line = 1; line <= 4; ++line) {
        channels.emplace_back([&log, line] {
            for (int i = 0; i < kCalls; ++i) log.append(sample(line));
        });
    }
    for (std::thread& t : channels) t.join();
    const std::vector<std::string> lines = split_lines(read_all(folder + "calls-20270101.csv"));
    ASSERT_EQ(1u + 4 * kCalls, lines.size());
    int per_line[5] = {};
    for (std::size_t i = 1; i < lines.size(); ++i) {
        bool known = false;
        for (int line = 1; line <= 4; ++line) {
            if (lines[i] + "\r\n" == zel::call_log_line(sample(line), 0)) {
                ++per_line[line];
                known = true;
            }
        }
        EXPECT_TRUE(known) << "torn line " << i << ": " << lines[i];
    }
    for (int line = 1; line <= 4; ++line) EXPECT_EQ(kCalls, per_line[line]) << line;
}

TEST(CallLogFile, TheLogGoesBesideTheProgram)
{
    const struct {
        const char* path;
        const char* folder;
    } cases[] = {
        {"C:\\MIRT\\Vornline.exe", "C:\\MIRT\\"},
        {"Z:\\work\\build dir\\Vornline.exe", "Z:\\work\\build dir\\"},
        {"/opt/mirt/Vornline.exe", "/opt/mirt/"},
        {"Vornline.exe", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(c.folder, zel::folder_of(c.path)) << c.path;
}

TEST(CallLogFile, TheTimeToAnswerIsTheRingWaitButNoMoreThanTheRingsTake)
{
    const struct {
        double waited;
        int rings;
        double seconds;
    } cases[] = {
        {6.2, 2, 6.0},     // a wait a little longer than the two rings: the rings
        {3.0, 2, 3.0},     // the call rang while the line was still busy with the last one
        {3600.0, 3, 12.0}, // an idle hour before the call
        {0.4, 1, 0.0},     // answered at the first ring
        {5.0, 0, 0.0},
    };
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.seconds, zel::answer_seconds(c.waited, c.rings)) << c.waited;
}
