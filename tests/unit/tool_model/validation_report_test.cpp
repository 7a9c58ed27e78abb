// The validation report, byte for byte: a complete design, each show-stopper alone, the
// route rules of piece 7, the fields the report ignores, the trimmed lines, and running
// it on a working file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "record_file.h"
#include "scratch_dir.h"
#include "validation_report.h"

using zel::ConfigRecord;
using zel::Field;

namespace {

struct Piece {
    const char* text;
    std::size_t width;
};

std::string golden(const std::vector<Piece>& pieces)
{
    std::string all;
    for (const Piece& p : pieces) {
        std::string s = p.text;
        EXPECT_LE(s.size(), p.width) << p.text;
        s.resize(p.width, ' ');
        all += s;
    }
    return all;
}

const Piece kTail[] = {
    {"", 66},
    {"", 53},
    {"NOTE: The Report only validates the design to be ", 49},
    {"functional. It does not check for invalid voice ", 48},
    {"type or indicate the design is fully functional. ", 49},
    {"True assurance is to test run the design THOROUGHLY.", 52},
    {"", 66},
    {"", 66},
    {"The command file used by VORN MIRT is ZEL_SYSTEM.CMD. Copy or move the file into VORN MIRT Program Folder "
     "and startup the program.",
     130},
};

std::vector<Piece> complete_pieces()
{
    std::vector<Piece> p = {
        {"Close Voice: OK.", 62},
        {"System Error Voice: OK.", 62},
        {"Open Greeting Voice: OK.", 62},
        {"Wrong Extension Voice: OK.", 62},
        {"No Input Voice: OK.", 62},
        {"Voice Type Selection: Selectied.", 59},
        {"One or more extension, port & Voice defined correctly.", 54},
        {"", 53},
        {"General Report Completed. No Show Stopper Detected!", 66},
    };
    p.insert(p.end(), std::begin(kTail), std::end(kTail));
    return p;
}

ConfigRecord complete_record()
{
    ConfigRecord rec = zel::default_record();
    zel::set_field(rec, Field::closed_greeting_vox, "C:\\v\\closed.vox");
    zel::set_field(rec, Field::system_error_vox, "C:\\v\\error.vox");
    zel::set_field(rec, Field::open_greeting_vox, "C:\\v\\open.vox");
    zel::set_field(rec, Field::wrong_ext_vox, "C:\\v\\retry.vox");
    zel::set_field(rec, Field::no_input_vox, "C:\\v\\noinput.vox");
    zel::set_field(rec, Field::vox_type_name, "DRT_8KHZ");
    zel::set_field(rec, Field::route_ext, 0, "1001");
    zel::set_field(rec, Field::route_port, 0, "11");
    zel::set_field(rec, Field::route_vox, 0, "C:\\v\\sales.vox");
    return rec;
}

}  // namespace

TEST(ValidationReport, CompleteDesignGivesSevenOksAndTheNoShowStopperPiece)
{
    const zel::ValidationReport r = zel::build_validation_report(complete_record());
    EXPECT_FALSE(r.show_stopper);
    EXPECT_EQ(18u, r.pieces.size());
    EXPECT_EQ(golden(complete_pieces()), r.text());
    EXPECT_EQ(1121u, r.text().size());
    // The first piece spelled out: 16 characters and 46 spaces.
    EXPECT_EQ("Close Voice: OK." + std::string(46, ' ') + "System Error Voice: OK.", r.text().substr(0, 85));
}

TEST(ValidationReport, EachShowStopperAloneReplacesItsPieceAndDropsTheCompletion)
{
    struct Case {
        const char* what;
        std::function<void(ConfigRecord&)> spoil;
        std::size_t piece;
        Piece replacement;
    };
    const std::vector<Case> cases = {
        {"closed greeting", [](ConfigRecord& r) { zel::set_field(r, Field::closed_greeting_vox, ""); }, 0,
         {"Close Voice not defined.", 62}},
        {"system error voice", [](ConfigRecord& r) { zel::set_field(r, Field::system_error_vox, ""); }, 1,
         {"System Error Voice: Not defined.", 62}},
        {"open greeting", [](ConfigRecord& r) { zel::set_field(r, Field::open_greeting_vox, ""); }, 2,
         {"Open Greeting Voice: Not defined.", 62}},
        {"wrong extension voice", [](ConfigRecord& r) { zel::set_field(r, Field::wrong_ext_vox, ""); }, 3,
         {"Wrong Extension Voice: Not defined.", 62}},
        {"no input voice", [](ConfigRecord& r) { zel::set_field(r, Field::no_input_vox, ""); }, 4,
         {"No Input Voice: Not defined.", 62}},
        {"voice type name", [](ConfigRecord& r) { zel::set_field(r, Field::vox_type_name, ""); }, 5,
         {"Voice Type Selection: No Selection Made.", 59}},
        {"route without voice", [](ConfigRecord& r) { zel::set_field(r, Field::route_vox, 0, ""); }, 6,
         {"Transfer Configuration is bad.", 62}},
        {"route without port", [](ConfigRecord& r) { zel::set_field(r, Field::route_port, 0, ""); }, 6,
         {"Transfer Configuration is bad.", 62}},
        {"route with a 3-character extension", [](ConfigRecord& r) { zel::set_field(r, Field::route_ext, 0, "100"); },
         6, {"Transfer Configuration is bad.", 62}},
        {"route with a 5-character extension",
         [](ConfigRecord& r) { zel::set_field(r, Field::route_ext, 0, "10011"); }, 6,
         {"Transfer Configuration is bad.", 62}},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = complete_record();
        c.spoil(rec);
        std::vector<Piece> expected = complete_pieces();
        expected[c.piece] = c.replacement;
        expected.erase(expected.begin() + 8);  // "General Report Completed..."
        const zel::ValidationReport r = zel::build_validation_report(rec);
        EXPECT_TRUE(r.show_stopper) << c.what;
        EXPECT_EQ(17u, r.pieces.size()) << c.what;
        EXPECT_EQ(golden(expected), r.text()) << c.what;
    }
}

TEST(ValidationReport, AnyTextCountsAsDefinedEvenSpaces)
{
    ConfigRecord rec = complete_record();
    zel::set_field(rec, Field::route_vox, 0, "         ");
    zel::set_field(rec, Field::no_input_vox, " ");
    zel::set_field(rec, Field::vox_type_name, "?");
    const zel::ValidationReport r = zel::build_validation_report(rec);
    EXPECT_FALSE(r.show_stopper);
    EXPECT_EQ(golden(complete_pieces()), r.text());
}

TEST(ValidationReport, FirstCompleteRouteAmongTheSixteen)
{
    struct Route {
        int k;
        const char* ext;
        const char* port;
        const char* vox;
    };
    struct Case {
        const char* what;
        std::vector<Route> routes;
        std::optional<int> first;
    };
    const std::vector<Case> cases = {
        {"none", {}, std::nullopt},
        {"only the last edited route", {{15, "4000", "9", "v"}}, 15},
        {"route 16 is not edited and not looked at", {{16, "4000", "9", "v"}}, std::nullopt},
        {"the first of two", {{12, "4000", "9", "v"}, {3, "5000", "9", "v"}}, 3},
        {"incomplete ones before it are passed over",
         {{0, "123", "9", "v"}, {1, "12345", "9", "v"}, {2, "1234", "", "v"}, {3, "1234", "9", ""}, {7, "abcd", "9", "v"}},
         7},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        for (const Route& r : c.routes) {
            zel::set_field(rec, Field::route_ext, r.k, r.ext);
            zel::set_field(rec, Field::route_port, r.k, r.port);
            zel::set_field(rec, Field::route_vox, r.k, r.vox);
        }
        EXPECT_EQ(c.first, zel::first_complete_route(rec)) << c.what;
        const std::string piece = zel::build_validation_report(rec).pieces[6];
        EXPECT_EQ(c.first ? "One or more extension, port & Voice defined correctly."
                          : "Transfer Configuration is bad." + std::string(32, ' '),
                  piece)
            << c.what;
    }
}

TEST(ValidationReport, IgnoresTimesAlternatesRingsDelaysAndTheTypeIndex)
{
    const std::string clean = zel::build_validation_report(complete_record()).text();
    ConfigRecord rec = complete_record();
    zel::set_field(rec, Field::route_from_time, 0, "");
    zel::set_field(rec, Field::route_to_time, 0, "garbage");
    zel::set_field(rec, Field::route_alt_number, 0, "");
    zel::set_field(rec, Field::answer_ring, "");
    zel::set_field(rec, Field::int_transfer_delay, "x");
    zel::set_field(rec, Field::ext_transfer_delay, "");
    zel::set_field(rec, Field::vox_type_index, "9");
    zel::set_field(rec, Field::default_port, "");
    zel::set_field(rec, Field::transfer_vox, "");
    EXPECT_EQ(clean, zel::build_validation_report(rec).text());

    ConfigRecord bad = zel::default_record();
    const std::string fresh = zel::build_validation_report(bad).text();
    zel::set_field(bad, Field::answer_ring, "2");
    zel::set_field(bad, Field::route_alt_number, 0, "555");
    zel::set_field(bad, Field::route_from_time, 0, "09:00:00 AM");
    EXPECT_EQ(fresh, zel::build_validation_report(bad).text());
}

TEST(ValidationReport, LinesArePiecesWithTheirTrailingSpacesTrimmed)
{
    const std::vector<std::string> clean = zel::report_lines(zel::build_validation_report(complete_record()));
    const std::vector<std::string> expected = {
        "Close Voice: OK.",
        "System Error Voice: OK.",
        "Open Greeting Voice: OK.",
        "Wrong Extension Voice: OK.",
        "No Input Voice: OK.",
        "Voice Type Selection: Selectied.",
        "One or more extension, port & Voice defined correctly.",
        "",
        "General Report Completed. No Show Stopper Detected!",
        "",
        "",
        "NOTE: The Report only validates the design to be",
        "functional. It does not check for invalid voice",
        "type or indicate the design is fully functional.",
        "True assurance is to test run the design THOROUGHLY.",
        "",
        "",
        "The command file used by VORN MIRT is ZEL_SYSTEM.CMD. Copy or move the file into VORN MIRT Program Folder "
        "and startup the program.",
    };
    EXPECT_EQ(expected, clean);

    const std::vector<std::string> fresh = zel::report_lines(zel::build_validation_report(zel::default_record()));
    ASSERT_EQ(17u, fresh.size());
    EXPECT_EQ("Close Voice not defined.", fresh[0]);
    EXPECT_EQ("Wrong Extension Voice: Not defined.", fresh[3]);
    EXPECT_EQ("Voice Type Selection: No Selection Made.", fresh[5]);
    EXPECT_EQ("Transfer Configuration is bad.", fresh[6]);
    EXPECT_EQ("", fresh[7]);
    EXPECT_EQ("", fresh[8]);
}

TEST(ValidationReport, RunsOnTheWorkingFileOrSaysItCannotOpenIt)
{
    const fixture::ScratchDir dir("zel_report");
    const std::string good = dir.file("zel_system.cfg");
    const std::string shortfile = dir.file("short.cfg");
    ASSERT_TRUE(zel::save_record(good.c_str(), complete_record()));
    {
        std::FILE* f = std::fopen(shortfile.c_str(), "wb");
        ASSERT_NE(nullptr, f);
        const std::string disk = zel::to_disk(complete_record()).substr(0, 20000);
        std::fwrite(disk.data(), 1, disk.size(), f);
        std::fclose(f);
    }

    const zel::ReportRun ok = zel::run_validation_report(good.c_str());
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(golden(complete_pieces()), ok.report.text());
    EXPECT_EQ(ok.report.text(), zel::run_validation_report(good.c_str()).report.text()) << "twice, the same";

    for (const std::string& path : {dir.file("missing.cfg"), shortfile, dir.path()}) {
        const zel::ReportRun run = zel::run_validation_report(path.c_str());
        EXPECT_FALSE(run.ok) << path;
        EXPECT_EQ("Cannot Open zel_system.cfg for testing", run.message) << path;
        EXPECT_EQ("Configuration ALERT", run.caption) << path;
    }
}
