// Field names on the command line: "name" for single fields, "name[i]" within the
// index range of the field's group of lines.
#include <gtest/gtest.h>

#include <string>

#include "field_ref.h"

using zel::Field;

TEST(FieldRef, AcceptsNamesWithinTheirIndexRanges)
{
    const struct {
        const char* text;
        Field field;
        int index;
    } cases[] = {
        {"answer_ring", Field::answer_ring, 0},
        {"validated_flag", Field::validated_flag, 0},
        {"holiday_vox", Field::holiday_vox, 0},
        {"holiday_date[0]", Field::holiday_date, 0},
        {"holiday_date[59]", Field::holiday_date, 59},
        {"special_close_time[53]", Field::special_close_time, 53},
        {"day_name[6]", Field::day_name, 6},
        {"route_ext[0]", Field::route_ext, 0},
        {"route_alt_number[59]", Field::route_alt_number, 59},
        {"route_label[07]", Field::route_label, 7},
    };
    for (const auto& c : cases) {
        zelcfg::FieldRef ref;
        std::string problem;
        ASSERT_TRUE(zelcfg::parse_field_ref(c.text, ref, problem)) << c.text << ": " << problem;
        EXPECT_EQ(c.field, ref.field) << c.text;
        EXPECT_EQ(c.index, ref.index) << c.text;
    }
}

TEST(FieldRef, RefusesWrongNamesAndIndexesWithAClearProblem)
{
    const struct {
        const char* text;
        const char* problem_part;
    } cases[] = {
        {"nosuch", "unknown field 'nosuch'"},
        {"Route_ext[1]", "unknown field"},
        {"", "unknown field ''"},
        {"route\xe9[1]", "unknown field 'route\\xe9'"},
        {"route_ext[60]", "index 60 of 'route_ext' is out of range 0-59"},
        {"holiday_date[60]", "out of range 0-59"},
        {"special_date[54]", "out of range 0-53"},
        {"day_name[7]", "out of range 0-6"},
        {"route_ext[99999]", "out of range 0-59"},
        {"route_ext", "needs an index 0-59"},
        {"day_open_time", "needs an index 0-6"},
        {"answer_ring[0]", "takes no index"},
        {"route_ext[]", "bad index"},
        {"route_ext[-1]", "bad index"},
        {"route_ext[1", "bad index"},
        {"route_ext[1]x", "bad index"},
        {"route_ext[ 1]", "bad index"},
        {"route_ext[1][2]", "bad index"},
        {"route_ext[000001]", "bad index"},
    };
    for (const auto& c : cases) {
        zelcfg::FieldRef ref;
        std::string problem;
        EXPECT_FALSE(zelcfg::parse_field_ref(c.text, ref, problem)) << c.text;
        EXPECT_NE(std::string::npos, problem.find(c.problem_part)) << c.text << " gave: " << problem;
    }
}
