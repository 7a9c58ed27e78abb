// Shared pieces of the board tests: an event sink that keeps what the board said, the
// runtime's own termination tables and play format, and scratch voice files.
#pragma once

#include "board.h"
#include "line_controller.h"
#include "voicelib.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

namespace boardtest {

using namespace std::chrono_literals;
using Ms = std::chrono::duration<double, std::milli>;

struct Said {
    std::chrono::steady_clock::time_point at;
    std::string text;
};

// Keeps every event line; waits for one by the line controller's pattern rules.
class EventLog : public simboard::EventSink {
public:
    void emit(const std::string& text) override {
        std::lock_guard<std::mutex> g(mutex_);
        said_.push_back({std::chrono::steady_clock::now(), text});
        changed_.notify_all();
    }

    // The first event after the cursor matching pattern; moves the cursor past it.
    testing::AssertionResult expect(const std::string& pattern, std::chrono::milliseconds timeout,
                                    Said* found = nullptr) {
        std::unique_lock<std::mutex> g(mutex_);
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            for (std::size_t i = cursor_; i < said_.size(); ++i) {
                if (zeltest::event_matches(pattern, said_[i].text)) {
                    cursor_ = i + 1;
                    if (found) *found = said_[i];
                    return testing::AssertionSuccess();
                }
            }
            if (changed_.wait_until(g, deadline) == std::cv_status::timeout) {
                std::string all;
                for (const Said& s : said_) all += "\n  " + s.text;
                return testing::AssertionFailure() << "no '" << pattern << "'; events:" << all;
            }
        }
    }

    // Waits until at least n events (anywhere in the log) match pattern.
    testing::AssertionResult expect_count(const std::string& pattern, std::size_t n, std::chrono::milliseconds timeout) {
        std::unique_lock<std::mutex> g(mutex_);
        auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            std::size_t seen = 0;
            for (const Said& s : said_) seen += zeltest::event_matches(pattern, s.text) ? 1 : 0;
            if (seen >= n) return testing::AssertionSuccess();
            if (changed_.wait_until(g, deadline) == std::cv_status::timeout)
                return testing::AssertionFailure() << seen << " of " << n << " '" << pattern << "' events";
        }
    }

    std::vector<std::string> texts() const {
        std::lock_guard<std::mutex> g(mutex_);
        std::vector<std::string> out;
        for (const Said& s : said_) out.push_back(s.text);
        return out;
    }

    bool contains(const std::string& pattern) const {
        for (const std::string& t : texts())
            if (zeltest::event_matches(pattern, t)) return true;
        return false;
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Said> said_;
    std::size_t cursor_ = 0;
};

// The tables the runtime passes: play stops at hang-up or one key; collect at hang-up,
// 5 s or four keys.
inline const VlTermEntry kPlayTable[2] = {{VL_ENTRY_CHAIN, VL_COND_LOOP_DROP, 6, 11},
                                          {VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 1, 9}};
inline const VlTermEntry kCollectTable[3] = {{VL_ENTRY_CHAIN, VL_COND_LOOP_DROP, 6, 11},
                                             {VL_ENTRY_CHAIN, VL_COND_MAX_TIME, 50, 0},
                                             {VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 4, 9}};

inline VlPlayFormat play_format(std::uint32_t rate_code) {
    return VlPlayFormat{VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, rate_code, VL_BITS_PER_SAMPLE};
}

// A scratch folder removed with the object.
class ScratchDir {
public:
    ScratchDir() {
        static int serial = 0;
        auto base = std::filesystem::temp_directory_path();
        for (;;) {
            char name[64];
            std::snprintf(name, sizeof name, "simboard-test-%lld-%d",
                          static_cast<long long>(std::chrono::steady_clock::now().time_since_epoch().count() % 1000000007),
                          ++serial);
            path_ = base / name;
            if (std::filesystem::create_directory(path_)) break;
        }
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

    // A voice file of `bytes` bytes of varied ADPCM codes.
    std::string vox(const std::string& name, std::size_t bytes) const {
        std::string p = file(name);
        std::FILE* f = std::fopen(p.c_str(), "wb");
        for (std::size_t i = 0; i < bytes; ++i) std::fputc(static_cast<int>((i * 37 + 11) & 0xFF), f);
        std::fclose(f);
        return p;
    }

private:
    std::filesystem::path path_;
};

inline std::vector<unsigned char> read_bytes(const std::string& path) {
    std::vector<unsigned char> out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) return out;
    int c;
    while ((c = std::fgetc(f)) != EOF) out.push_back(static_cast<unsigned char>(c));
    std::fclose(f);
    return out;
}

inline std::uint32_t le32(const std::vector<unsigned char>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

}  // namespace boardtest
