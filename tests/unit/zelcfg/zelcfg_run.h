// What the zelcfg command tests share: a command run as the program runs it, a scratch
// path per test, and the files and lines it leaves.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"
#include "config_record.h"

namespace zelcfg_test {

// Sets a field, failing the test when the value does not fit whole.
inline void set(zel::ConfigRecord& rec, zel::Field f, int index, const std::string& value)
{
    ASSERT_EQ(zel::SetResult::ok, zel::set_field(rec, f, index, value)) << zel::field_def(f).name;
}

// The days named as the tool names them, Monday to Friday open 09:00 to 17:00, Saturday
// and Sunday closed.
inline void weekdays_nine_to_five(zel::ConfigRecord& rec)
{
    const char* names[7] = {"MON", "TUE", "WEN", "THU", "FRI", "SAT", "SUN"};
    for (int d = 0; d < 7; ++d) {
        set(rec, zel::Field::day_name, d, names[d]);
        set(rec, zel::Field::day_closed, d, d < 5 ? "00" : "01");
        set(rec, zel::Field::day_open_time, d, "09:00:00 AM");
        set(rec, zel::Field::day_close_time, d, "05:00:00 PM");
    }
}

struct Result {
    int status = -1;
    std::string out;
    std::string err;
};

inline Result zelcfg_run(const std::vector<std::string>& args)
{
    Result r;
    r.status = zelcfg::run(args, r.out, r.err);
    return r;
}

// A file name of the running test's own.
inline std::string temp_path(const std::string& name)
{
    const testing::TestInfo* t = testing::UnitTest::GetInstance()->current_test_info();
    return testing::TempDir() + "/zelcfg_" + t->test_suite_name() + "_" + t->name() + "_" + name;
}

inline std::string read_bytes(const std::string& path)
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

inline void write_bytes(const std::string& path, const std::string& bytes)
{
    std::FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(nullptr, f) << path;
    ASSERT_EQ(bytes.size(), std::fwrite(bytes.data(), 1, bytes.size(), f));
    std::fclose(f);
}

inline std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace zelcfg_test
