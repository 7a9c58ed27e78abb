// Vornline stops a channel thread by force wherever it is, then closes the channel. The
// board must not hang on a thread that died inside a wait, and the line must serve again.
#include "line_controller.h"
#include "voicelib.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

namespace {

using namespace std::chrono_literals;

struct Blocked {
    int handle;
    int op;  // 0: ring wait, 1: play, 2: collection
    std::string path;
};

DWORD WINAPI blocked_thread(void* arg) {
    const Blocked* b = static_cast<const Blocked*>(arg);
    static const VlTermEntry collect[2] = {{VL_ENTRY_CHAIN, VL_COND_LOOP_DROP, 6, 11},
                                           {VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 4, 9}};
    static const VlPlayFormat format = {VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, VL_RATE_8K, VL_BITS_PER_SAMPLE};
    char digits[VL_DIGIT_BUFFER_SIZE];
    switch (b->op) {
    case 0: return static_cast<DWORD>(dx_wtring(b->handle, 1, VL_OFFHOOK, VL_WAIT_FOREVER));
    case 1: return static_cast<DWORD>(dx_play_file(b->handle, b->path.c_str(), collect, &format, VL_SYNC));
    default: return static_cast<DWORD>(dx_collect_digits(b->handle, nullptr, digits, VL_SYNC));
    }
}

TEST(ForcedStop, CloseAfterTerminateThreadReturnsAndTheLineServesAgain) {
    zeltest::LineController lc;
    ASSERT_TRUE(lc.connect(zeltest::board_port_from_env(), 20s));
    char path[MAX_PATH];
    GetTempPathA(MAX_PATH, path);
    std::string greeting = std::string(path) + "simboard-forced-stop.vox";
    FILE* f = std::fopen(greeting.c_str(), "wb");
    for (int i = 0; i < 800000; ++i) std::fputc(i & 0xFF, f);  // 100 s
    std::fclose(f);

    const char* const ops[] = {"wait", "play", "collect"};
    for (int op = 0; op < 3; ++op) {
        SCOPED_TRACE(ops[op]);
        int h = dx_open("dxxxB1C2", 0);
        ASSERT_GT(h, 0);
        if (op > 0) {
            ASSERT_EQ(dx_sethook(h, VL_OFFHOOK, VL_SYNC), 0);
        }
        Blocked b{h, op, greeting};
        HANDLE t = CreateThread(nullptr, 0, blocked_thread, &b, 0, nullptr);
        ASSERT_NE(t, nullptr);
        ASSERT_TRUE(lc.expect(op == 0 ? "wait 2" : op == 1 ? "play 2" : "collect 2", 5s));
        Sleep(50);  // well inside the wait
        ASSERT_TRUE(TerminateThread(t, 99));
        WaitForSingleObject(t, 5000);
        CloseHandle(t);
        auto closing = std::async(std::launch::async, [h] { return dx_close(h); });
        ASSERT_EQ(closing.wait_for(8s), std::future_status::ready) << "dx_close hangs after the thread was stopped";
        EXPECT_EQ(closing.get(), 0);
        EXPECT_TRUE(lc.expect("close dxxxB1C2", 2s));
    }
    // The line answers a call as before.
    int h = dx_open("dxxxB1C2", 0);
    ASSERT_GT(h, 0);
    auto waiting = std::async(std::launch::async, [h] { return dx_wtring(h, 1, VL_OFFHOOK, VL_WAIT_FOREVER); });
    ASSERT_TRUE(lc.expect("wait 2 1", 5s));
    lc.send("ring 2 1");
    ASSERT_TRUE(lc.expect("answer 2", 5s));
    EXPECT_EQ(waiting.get(), 0);
    lc.send("dtmf 2 1");
    char digits[VL_DIGIT_BUFFER_SIZE];
    const VlTermEntry one[1] = {{VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 1, 0}};
    EXPECT_EQ(dx_collect_digits(h, one, digits, VL_SYNC), 0);
    EXPECT_STREQ(digits, "1");
    EXPECT_EQ(dx_close(h), 0);
    std::remove(greeting.c_str());
}

}  // namespace
