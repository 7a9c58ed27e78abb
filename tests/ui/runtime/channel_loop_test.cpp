// The channel thread's loop against a scripted hook and ring wait, and the lock-free
// hand-off of a channel's status picture between its thread and the painting thread.
#include "channel_loop.h"
#include "picture_slot.h"

#include "config_record.h"
#include "record_layout.h"
#include "voicelib.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <deque>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

// ---- the scripted library --------------------------------------------------------------

struct Script {
    std::deque<int> sethook;  // results, in order; 0 once used up
    std::deque<int> wtring;   // results; -1 once used up, so every loop comes to an end
    int wtring_errno = 0;     // errno left by a failing wait
    std::vector<std::string> log;
};

Script script;

}  // namespace

extern "C" {

int VL_CALL dx_sethook(int handle, int hook_state, int mode)
{
    script.log.push_back("sethook " + std::to_string(handle) + " " + std::to_string(hook_state) + " " +
                         std::to_string(mode));
    if (script.sethook.empty()) return 0;
    int r = script.sethook.front();
    script.sethook.pop_front();
    return r;
}

int VL_CALL dx_wtring(int handle, int rings, int hook_state, int timeout)
{
    script.log.push_back("wtring " + std::to_string(handle) + " " + std::to_string(rings) + " " +
                         std::to_string(hook_state) + " " + std::to_string(timeout));
    int r = -1;
    if (!script.wtring.empty()) {
        r = script.wtring.front();
        script.wtring.pop_front();
    }
    if (r < 0) errno = script.wtring_errno;
    return r;
}

// The call flow is the host's business here; the loop must not reach the library for it.
int VL_CALL dx_open(const char*, int) { ADD_FAILURE() << "dx_open"; return -1; }
int VL_CALL dx_close(int) { ADD_FAILURE() << "dx_close"; return -1; }
int VL_CALL dx_play_file(int, const char*, const VlTermEntry*, const VlPlayFormat*, int)
{
    ADD_FAILURE() << "dx_play_file";
    return -1;
}
int VL_CALL dx_collect_digits(int, const VlTermEntry*, char*, int) { ADD_FAILURE() << "dx_collect_digits"; return -1; }
int VL_CALL dx_dial(int, const char*, void*, int) { ADD_FAILURE() << "dx_dial"; return -1; }
long VL_CALL dx_term_reason(int) { ADD_FAILURE() << "dx_term_reason"; return 8; }
int VL_CALL dx_clear_digits(int) { ADD_FAILURE() << "dx_clear_digits"; return -1; }
int VL_CALL sr_board_query(int) { ADD_FAILURE() << "sr_board_query"; return -1; }

}  // extern "C"

namespace {

class LoggingHost : public vorn::ChannelHost {
public:
    void show_picture(const char* name) override { script.log.push_back(std::string("picture ") + name); }
    void report_fault(const char* text) override { script.log.push_back(std::string("fault ") + text); }
    void take_call() override { script.log.push_back("call"); }
};

constexpr int kDevice = 42;
const std::string kWaitFailed =
    "fault ERROR: dx_wtring failed. errno = 7\n,Please make sure your drivers are properly installed";

struct LoopCase {
    const char* name;
    const char* answer_ring;
    std::deque<int> sethook;
    std::deque<int> wtring;
    vorn::ChannelEnd end;
    std::vector<std::string> log;
};

TEST(ChannelLoop, ServesCallsInItsOrderUntilAFailureEndsIt)
{
    const std::vector<std::string> idle = {"picture PHONE", "sethook 42 0 0"};
    auto wait = [](int rings) { return "wtring 42 " + std::to_string(rings) + " 1 -1"; };
    auto call = [&](int rings) {
        return std::vector<std::string>{"picture PHONE", "sethook 42 0 0", wait(rings), "picture ANSWERED",
                                        "call", "sethook 42 0 0"};
    };
    auto join = [](std::vector<std::vector<std::string>> parts) {
        std::vector<std::string> all;
        for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
        return all;
    };
    const LoopCase cases[] = {
        {"two calls, then the wait fails", "2", {}, {0, 0, -1}, vorn::ChannelEnd::ring_wait_failed,
         join({call(2), call(2), idle, {wait(2), kWaitFailed}})},
        {"the first on-hook fails", "2", {-1}, {}, vorn::ChannelEnd::onhook_failed,
         join({idle, {"fault dx_sethook failed"}})},
        {"the on-hook after a call fails", "1", {0, -2}, {0}, vorn::ChannelEnd::hangup_failed,
         join({call(1), {"fault SET ONHOOK FAILED."}})},
        {"the on-hook before the second wait fails", "1", {0, 0, -1}, {0}, vorn::ChannelEnd::onhook_failed,
         join({call(1), idle, {"fault dx_sethook failed"}})},
        // Fewer than one ring is no wait the library defines: one ring it is.
        {"answer_ring 0", "0", {}, {}, vorn::ChannelEnd::ring_wait_failed, join({idle, {wait(1), kWaitFailed}})},
        {"answer_ring empty", "", {}, {}, vorn::ChannelEnd::ring_wait_failed, join({idle, {wait(1), kWaitFailed}})},
        {"answer_ring 9", "9", {}, {}, vorn::ChannelEnd::ring_wait_failed, join({idle, {wait(9), kWaitFailed}})},
    };
    for (const LoopCase& c : cases) {
        SCOPED_TRACE(c.name);
        zel::ConfigRecord rec = zel::default_record();
        ASSERT_EQ(zel::set_field(rec, zel::Field::answer_ring, c.answer_ring), zel::SetResult::ok);
        script = Script{c.sethook, c.wtring, 7, {}};
        LoggingHost host;
        EXPECT_EQ(vorn::run_channel(kDevice, rec, host), c.end);
        EXPECT_EQ(script.log, c.log);
    }
}

TEST(ChannelLoop, DeviceNamesFollowTheChannelIndex)
{
    EXPECT_EQ(vorn::channel_device_name(0), "dxxxB1C1");
    EXPECT_EQ(vorn::channel_device_name(1), "dxxxB1C2");
    EXPECT_EQ(vorn::channel_device_name(2), "dxxxB1C3");
    EXPECT_EQ(vorn::channel_device_name(3), "dxxxB1C4");
}

// ---- the picture hand-off ----------------------------------------------------------------

struct Picture {
    int id = 0;
    std::atomic<int> released{0};
};

std::atomic<int> releases{0};

void release(Picture* p)
{
    p->released.fetch_add(1);
    releases.fetch_add(1);
}

using Slot = vorn::PictureSlot<Picture>;

struct SlotStep {
    enum Kind { replace, borrow, give_back, clear } kind;
    int picture;  // replace: which (0 for none); borrow: which is expected (0: none)
};

struct SlotCase {
    const char* name;
    std::vector<SlotStep> steps;
    std::vector<int> released;  // which pictures are released once at the end, in id order
    int current;                // what a final borrow sees (0: none)
};

TEST(PictureSlot, ReleasesEachReplacedPictureOnceAndNeverUnderAPaint)
{
    using S = SlotStep;
    const SlotCase cases[] = {
        {"a replaced picture goes at once", {{S::replace, 1}, {S::replace, 2}}, {1}, 2},
        {"a paint keeps its picture until it gives it back",
         {{S::replace, 1}, {S::borrow, 1}, {S::replace, 2}, {S::give_back, 1}},
         {1},
         2},
        {"a picture replaced by none under a paint is not put back",
         {{S::replace, 1}, {S::borrow, 1}, {S::replace, 0}, {S::give_back, 1}},
         {1},
         0},
        {"a paint that finds the picture current puts it back",
         {{S::replace, 1}, {S::borrow, 1}, {S::give_back, 1}, {S::borrow, 1}, {S::give_back, 1}},
         {},
         1},
        {"an empty slot lends nothing", {{S::borrow, 0}, {S::give_back, 0}, {S::replace, 1}}, {}, 1},
        {"clearing releases the current picture", {{S::replace, 1}, {S::replace, 2}, {S::clear, 0}}, {1, 2}, 0},
    };
    for (const SlotCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::unique_ptr<Picture>> pictures;
        for (int id = 0; id <= 3; ++id) {
            pictures.push_back(std::make_unique<Picture>());
            pictures.back()->id = id;
        }
        auto at = [&](int id) { return id ? pictures[id].get() : nullptr; };
        Slot slot(release);
        Picture* lent = nullptr;
        for (const SlotStep& step : c.steps) {
            switch (step.kind) {
            case S::replace: slot.replace(at(step.picture)); break;
            case S::borrow:
                lent = slot.borrow();
                EXPECT_EQ(lent, at(step.picture));
                break;
            case S::give_back: slot.give_back(lent); break;
            case S::clear: slot.clear(); break;
            }
        }
        std::vector<int> released;
        for (auto& p : pictures) {
            EXPECT_LE(p->released.load(), 1) << "picture " << p->id << " released twice";
            if (p->released.load()) released.push_back(p->id);
        }
        EXPECT_EQ(released, c.released);
        Picture* now = slot.borrow();
        EXPECT_EQ(now, at(c.current));
        slot.give_back(now);
        EXPECT_FALSE(now && now->released.load()) << "the current picture was released";
    }
}

TEST(PictureSlot, AWriterAndAPainterTogetherReleaseEveryPictureExactlyOnce)
{
    constexpr int kPictures = 20000;
    std::vector<std::unique_ptr<Picture>> pictures;
    for (int id = 1; id <= kPictures; ++id) {
        pictures.push_back(std::make_unique<Picture>());
        pictures.back()->id = id;
    }
    releases = 0;
    Slot slot(release);
    std::atomic<bool> writing{true};
    std::atomic<int> stale{0};
    std::atomic<long> lent{0};

    std::thread painter([&] {
        while (writing.load()) {
            Picture* p = slot.borrow();
            if (p) {
                ++lent;
                // Look twice, as a copy from it would take a while.
                if (p->released.load()) ++stale;
                std::this_thread::yield();
                if (p->released.load()) ++stale;
            }
            slot.give_back(p);
        }
    });
    // Every hundred pictures the writer lets the painter get hold of one, so that the two
    // overlap however the threads are scheduled (with a deadline, should it never).
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    long seen = 0;
    for (int i = 0; i < kPictures; ++i) {
        // Now and then the channel has no picture, as after a failed show.
        slot.replace(i % 97 == 0 ? nullptr : pictures[i].get());
        if (i % 100 == 1 && i % 97 != 0) {
            while (lent.load() == seen && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
            seen = lent.load();
        }
    }
    writing = false;
    painter.join();
    slot.clear();

    EXPECT_EQ(stale.load(), 0) << "a paint used a released picture";
    EXPECT_GE(lent.load(), kPictures / 200) << "the painter seldom got hold of a picture";
    int installed = 0;
    for (int i = 0; i < kPictures; ++i) {
        const int n = pictures[i]->released.load();
        if (i % 97 == 0) {
            EXPECT_EQ(n, 0) << "picture " << i + 1 << " was never installed";
        } else {
            ++installed;
            ASSERT_EQ(n, 1) << "picture " << i + 1;
        }
    }
    EXPECT_EQ(releases.load(), installed);
}

}  // namespace
