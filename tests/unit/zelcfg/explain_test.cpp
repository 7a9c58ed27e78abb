// zelcfg check --explain: one record per kind of probable mistake, each giving exactly its
// own finding; a record without any gives none; the exit status tells the three cases.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "config_record.h"
#include "explain.h"
#include "record_file.h"
#include "zelcfg_run.h"

using zel::ConfigRecord;
using zel::Field;

namespace {

using namespace zelcfg_test;

const zel::Date kToday{6, 1, 2027};

// A complete office with nothing to explain on kToday: every voice set, a week open
// 09:00-17:00, a holiday and a special day to come, two routes, one of them with a window
// and an outside number.
ConfigRecord clean_office()
{
    ConfigRecord rec = zel::default_record();
    for (const Field f : {Field::open_greeting_vox, Field::closed_greeting_vox, Field::special_open_vox,
                          Field::special_closed_vox, Field::holiday_vox, Field::wrong_ext_vox, Field::no_input_vox,
                          Field::system_error_vox}) {
        set(rec, f, 0, std::string("C:\\Voice\\") + zel::field_def(f).name + ".vox");
    }
    weekdays_nine_to_five(rec);
    set(rec, Field::holiday_date, 4, "12/25/2027");
    set(rec, Field::special_date, 1, "12/24/2027");
    set(rec, Field::route_ext, 0, "1001");
    set(rec, Field::route_vox, 0, "C:\\Voice\\sales.vox");
    set(rec, Field::route_port, 0, "201");
    set(rec, Field::route_ext, 2, "1003");
    set(rec, Field::route_vox, 2, "C:\\Voice\\support.vox");
    set(rec, Field::route_port, 2, "203");
    set(rec, Field::route_from_time, 2, "05:00:00 PM");
    set(rec, Field::route_to_time, 2, "08:00:00 AM");
    set(rec, Field::route_alt_number, 2, "95550123");
    return rec;
}

zelcfg::ExplainOptions options()
{
    zelcfg::ExplainOptions o;
    o.today = kToday;
    return o;
}

}  // namespace

TEST(ZelcfgExplain, EachProbableMistakeGivesItsOwnFinding)
{
    const struct {
        const char* name;
        std::function<void(ConfigRecord&)> spoil;
        const char* field;
        const char* says;  // a part of the line that tells what is wrong
    } cases[] = {
        {"past holiday", [](ConfigRecord& r) { set(r, Field::holiday_date, 9, "05/31/2027"); }, "holiday_date[9]",
         "05/31/2027 is past"},
        {"past special day", [](ConfigRecord& r) { set(r, Field::special_date, 3, "12/24/2026"); }, "special_date[3]",
         "this special day will not come again"},
        {"holiday today is not past", [](ConfigRecord& r) { set(r, Field::holiday_date, 9, "06/01/2027"); }, nullptr,
         nullptr},
        {"a date in another form", [](ConfigRecord& r) { set(r, Field::holiday_date, 5, "7/4/2027"); },
         "holiday_date[5]", "fix: write it as 07/04/2027"},
        {"both holiday and special day", [](ConfigRecord& r) { set(r, Field::holiday_date, 6, "12/24/2027"); },
         "holiday_date[6]", "is also special day 1; the special day wins"},
        {"two routes with one extension", [](ConfigRecord& r) { set(r, Field::route_ext, 0, "1003"); },
         "route_ext[0]", "route 0 can never be reached"},
        {"the same number written otherwise",
         [](ConfigRecord& r) {
             set(r, Field::route_ext, 7, "01001");
             set(r, Field::route_vox, 7, "C:\\Voice\\other.vox");
             set(r, Field::route_port, 7, "207");
         },
         "route_ext[0]", "is also route 7's (01001)"},
        {"window to an empty alternate", [](ConfigRecord& r) { set(r, Field::route_alt_number, 2, ""); },
         "route_alt_number[2]", "the flash followed by nothing and are left on the line"},
        {"an equal window needs no alternate",
         [](ConfigRecord& r) {
             set(r, Field::route_alt_number, 2, "");
             set(r, Field::route_to_time, 2, "05:00:00 PM");
         },
         nullptr, nullptr},
        {"open day with equal times", [](ConfigRecord& r) { set(r, Field::day_close_time, 2, "09:00:00 AM"); },
         "day_close_time[2]", "WEN is open, and opens and closes at the same minute"},
        {"closed day with equal times", [](ConfigRecord& r) { set(r, Field::day_close_time, 6, "09:00:00 AM"); },
         nullptr, nullptr},
        {"voice but no port", [](ConfigRecord& r) { set(r, Field::route_port, 0, ""); }, "route_port[0]",
         "route 0 (1001) has a voice but no port"},
        {"port but no voice", [](ConfigRecord& r) { set(r, Field::route_vox, 0, ""); }, "route_vox[0]",
         "route 0 (1001) has a port but no voice"},
        {"an extension alone", [](ConfigRecord& r) { set(r, Field::route_ext, 11, "1011"); }, "route_port[11]",
         "route 11 (1011) has neither a voice nor a port"},
        {"port but no extension", [](ConfigRecord& r) { set(r, Field::route_port, 9, "209"); }, "route_ext[9]",
         "cannot reach it"},
        {"holidays without their greeting", [](ConfigRecord& r) { set(r, Field::holiday_vox, 0, ""); }, "holiday_vox",
         "holidays are listed but this greeting is empty"},
        {"a route beyond the sixteen is not read", [](ConfigRecord& r) { set(r, Field::route_ext, 20, "1001"); },
         nullptr, nullptr},
    };
    EXPECT_TRUE(zelcfg::explain_record(clean_office(), options()).empty());
    for (const auto& c : cases) {
        ConfigRecord rec = clean_office();
        c.spoil(rec);
        const std::vector<zelcfg::Explanation> found = zelcfg::explain_record(rec, options());
        if (c.field == nullptr) {
            EXPECT_TRUE(found.empty()) << c.name << ": " << (found.empty() ? "" : zelcfg::explanation_line(found[0]));
            continue;
        }
        ASSERT_EQ(1u, found.size()) << c.name;
        EXPECT_EQ(c.field, found[0].field) << c.name;
        const std::string line = zelcfg::explanation_line(found[0]);
        EXPECT_NE(std::string::npos, line.find(c.says)) << c.name << ": " << line;
        EXPECT_NE(std::string::npos, line.find("; callers ")) << line;
        EXPECT_NE(std::string::npos, line.find("; fix: ")) << line;
    }
}

TEST(ZelcfgExplain, VoiceFilesAreCheckedWhereTheyCanBeFoundHere)
{
    const std::filesystem::path dir = std::filesystem::path(testing::TempDir()) / "zelcfg_explain_voices";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir / "Routes");
    for (const char* name : {"open_greeting_vox.vox", "closed_greeting_vox.vox", "special_open_vox.vox",
                             "special_closed_vox.vox", "holiday_vox.vox", "wrong_ext_vox.vox", "no_input_vox.vox",
                             "system_error_vox.vox", "Routes/sales.vox"}) {
        std::FILE* f = std::fopen((dir / name).string().c_str(), "wb");
        ASSERT_NE(nullptr, f);
        std::fclose(f);
    }
    ConfigRecord rec = clean_office();
    set(rec, Field::route_vox, 0, "c:/voice/Routes\\sales.vox");  // the same folder written otherwise
    set(rec, Field::route_vox, 2, "C:\\Voice\\Routes\\support.vox");
    set(rec, Field::no_input_vox, 0, "D:\\Elsewhere\\none.vox");  // not under the root: not checked natively

    zelcfg::ExplainOptions o = options();
    ASSERT_TRUE(zelcfg::parse_voice_root("C:\\Voice\\=" + dir.string(), o.voice_roots.emplace_back()));
    const std::vector<zelcfg::Explanation> found = zelcfg::explain_record(rec, o);
    std::vector<std::string> fields;
    for (const auto& e : found) fields.push_back(e.field);
    EXPECT_EQ(std::vector<std::string>{"route_vox[2]"}, fields);
    ASSERT_FALSE(found.empty());
    EXPECT_NE(std::string::npos, zelcfg::explanation_line(found[0]).find("cannot be read (looked for as "))
        << zelcfg::explanation_line(found[0]);
}

TEST(ZelcfgExplain, TheExitStatusTellsSoundCleanFromFindingsFromUnsound)
{
    const std::string file = temp_path("office.cfg");
    write_bytes(file, zel::to_disk(zel::default_record()));
    const Result clean = zelcfg_run({"check", file, "--explain"});
    EXPECT_EQ(0, clean.status) << clean.err;
    EXPECT_EQ(file + ": sound record file\n" + file + ": nothing to explain\n", clean.out);

    ConfigRecord rec = clean_office();
    set(rec, Field::holiday_date, 9, "05/31/2027");
    set(rec, Field::route_alt_number, 2, "");
    write_bytes(file, zel::to_disk(rec));
    const Result found = zelcfg_run({"check", file, "--explain", "--today", "06/01/2027", "--voice-root",
                                     "C:\\Voice=" + testing::TempDir() + "/zelcfg_no_such_folder"});
    EXPECT_EQ(3, found.status) << found.err;
    const std::vector<std::string> lines = lines_of(found.out);
    ASSERT_GE(lines.size(), 3u) << found.out;
    EXPECT_EQ(file + ": sound record file", lines[0]);
    EXPECT_EQ(0u, lines[1].rfind(file + ": holiday_date[9]: 05/31/2027 is past", 0)) << lines[1];
    EXPECT_EQ(0u, lines[2].rfind(file + ": route_alt_number[2]: ", 0)) << lines[2];
    // Every voice lies under the root, which does not exist here: each one is reported.
    EXPECT_EQ(3u + 8u + 2u, lines.size()) << found.out;
    EXPECT_EQ(0, zelcfg_run({"check", file}).status) << "check without --explain only checks the form";

    std::string disk = zel::to_disk(rec);
    disk.resize(disk.size() - 10);
    write_bytes(file, disk);
    const Result check = zelcfg_run({"check", file});
    const Result unsound = zelcfg_run({"check", file, "--explain"});
    EXPECT_EQ(1, unsound.status);
    EXPECT_EQ(check.out, unsound.out);

    for (const auto& args : std::vector<std::vector<std::string>>{{"check", file, "--today", "06/01/2027"},
                                                                  {"check", file, "--explain", "--today", "6/1/2027"},
                                                                  {"check", file, "--explain", "--voice-root"},
                                                                  {"check", file, "--explain", "--voice-root", "=x"},
                                                                  {"check", file, "--loud"}}) {
        const Result r = zelcfg_run(args);
        EXPECT_EQ(1, r.status) << args.back();
        EXPECT_NE("", r.err) << args.back();
    }
}
