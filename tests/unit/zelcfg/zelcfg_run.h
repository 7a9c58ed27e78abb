// What the zelcfg command tests share: a command run as the program runs it, a scratch
// path per test, and the files and lines it leaves.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "commands.h"

namespace zelcfg_test {

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
