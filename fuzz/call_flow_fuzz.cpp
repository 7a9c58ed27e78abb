// The call flow against a voice library that answers anything: every result, reason and
// key string comes from the fuzz input. A plain model of the call's state table, run over
// the same answers, must make the same library calls with the same files and dial string,
// give the same faults, and end. The call must also end within a bounded number of calls.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <vector>

#include "call_flow.h"
#include "fuzz_check.h"
#include "record_edits.h"
#include "reference_model.h"
#include "status_pictures.h"
#include "transfer.h"
#include "voicelib.h"

namespace {

constexpr int kDevice = 7;
constexpr std::size_t kMaxCalls = 200;  // a call makes a few dozen at most

// One library call as the flow made it, and what the library answered.
struct Call {
    std::string op;   // "hook", "play", "collect", "clear", "dial", "reason"
    std::string arg;  // hook state, play path, dial string
    long answer = 0;  // result, or the reason read
    std::string digits;
};

struct Library {
    FuzzedDataProvider* in = nullptr;
    std::vector<Call> calls;
};

Library g_lib;

Call& record(const char* op, std::string arg, int device)
{
    FUZZ_CHECK(device == kDevice, "%s on device %d", op, device);
    FUZZ_CHECK(g_lib.calls.size() < kMaxCalls, "the call flow made %zu library calls without ending",
               g_lib.calls.size());
    g_lib.calls.push_back({op, std::move(arg), 0, {}});
    return g_lib.calls.back();
}

int any_result()
{
    // Mostly success, sometimes the library's -1, now and then something odd.
    switch (g_lib.in->ConsumeIntegralInRange(0, 7)) {
    case 0: return -1;
    case 1: return g_lib.in->ConsumeIntegral<int>();
    default: return 0;
    }
}

long any_reason()
{
    static constexpr long kReasons[] = {1, 4, 8, 32, 512, 0, 2, -1};
    const int pick = g_lib.in->ConsumeIntegralInRange(0, 8);
    if (pick < 8) return kReasons[pick];
    return g_lib.in->ConsumeIntegral<long>();
}

class Host : public zel::CallHost {
public:
    std::vector<std::string> pictures;
    std::vector<std::string> faults;
    void show_picture(const char* name) override { pictures.emplace_back(name); }
    void report_fault(const char* text) override { faults.emplace_back(text); }
};

}  // namespace

extern "C" {

int dx_open(const char*, int) { return -1; }
int dx_close(int) { return 0; }
int dx_wtring(int, int, int, int) { return -1; }
int sr_board_query(int) { return 0; }

int dx_sethook(int handle, int state, int mode)
{
    FUZZ_CHECK(mode == VL_SYNC, "sethook mode %d", mode);
    return static_cast<int>(record("hook", std::to_string(state), handle).answer = any_result());
}

int dx_play_file(int handle, const char* path, const VlTermEntry* table, const VlPlayFormat* format, int mode)
{
    FUZZ_CHECK(path != nullptr && table != nullptr && format != nullptr && mode == VL_SYNC, "play arguments");
    FUZZ_CHECK(table == zel::kPlayTermination, "a play without the play table");
    return static_cast<int>(record("play", path, handle).answer = any_result());
}

int dx_collect_digits(int handle, const VlTermEntry* table, char* digits, int mode)
{
    FUZZ_CHECK(digits != nullptr && mode == VL_SYNC, "collect arguments");
    FUZZ_CHECK(table == zel::kCollectTermination, "a collection without the collect table");
    Call& c = record("collect", "", handle);
    c.answer = any_result();
    // Mostly keys, now and then anything up to the buffer's size.
    c.digits = g_lib.in->ConsumeBool() ? g_lib.in->ConsumeRandomLengthString(4)
                                       : g_lib.in->ConsumeRandomLengthString(VL_DIGIT_BUFFER_SIZE - 1);
    std::memcpy(digits, c.digits.c_str(), c.digits.size() + 1);
    c.digits = digits;  // as the flow sees it: up to the first NUL
    return static_cast<int>(c.answer);
}

int dx_dial(int handle, const char* text, void*, int mode)
{
    FUZZ_CHECK(text != nullptr && mode == VL_SYNC, "dial arguments");
    FUZZ_CHECK(std::strlen(text) < zel::kDialStringSize, "dial string of %zu", std::strlen(text));
    return static_cast<int>(record("dial", text, handle).answer = any_result());
}

long dx_term_reason(int handle)
{
    return record("reason", "", handle).answer = any_reason();
}

int dx_clear_digits(int handle)
{
    return static_cast<int>(record("clear", "", handle).answer = any_result());
}

}  // extern "C"

namespace {

// Replays the recorded answers through the call's state table as written; any library
// call that differs from what the flow made, or a different fault, is a failure.
class Model {
public:
    Model(const std::vector<Call>& calls, const zel::ConfigRecord& rec, const zel::ClockTexts& now)
        : calls_(calls), rec_(rec), now_(now)
    {
    }

    void run()
    {
        const refmodel::Schedule s = refmodel::schedule(rec_, now_.time, now_.date, now_.day);
        if (take("hook", "1").answer < 0) faults.push_back("SET OFFHOOK failed");
        // Greeting
        play(s.greeting, "PLAY FAILED.");
        long r = reason();
        if (gone(r)) return;
        if (r == 512 && gone(reason())) return;
        int attempts = 0, others = 0;
        std::string dial;
        std::string voice;
        for (;;) {
            // Collect
            const Call& c = take("collect", "");
            if (c.answer < 0) faults.push_back("GET DIGIT FAILED.");
            r = reason();
            bool invalid = false, reprompt = false, fallback = false;
            if (r == 1) {
                others = 0;
                const int k = refmodel::find_route(rec_, std::string_view(c.digits).substr(0, 4));
                if (k >= 0) {
                    voice = zel::get_field(rec_, zel::Field::route_vox, k);
                    dial = refmodel::route_dial(rec_, k, now_.time, s);
                    picture = k + 1;
                    break;
                }
                invalid = true;
            } else if (r == 32) {
                others = 0;
                if (!c.digits.empty()) invalid = true;
                else if (attempts == 0) fallback = true;
                else reprompt = true;
            } else if (gone(r)) {
                return;
            } else {
                if (++others >= zel::kMaxOtherCollections) return;
                continue;
            }
            if (invalid) {
                ++attempts;
                reprompt = true;
            }
            if (reprompt) {
                take("clear", "");
                if (attempts >= zel::kMaxAttempts) {
                    fallback = true;
                } else {
                    ++attempts;
                    play(zel::get_field(rec_, zel::Field::wrong_ext_vox),
                         "PLAY FAILED, please make sure all vox files\n are in the correct directories");
                    if (gone(reason())) return;
                    if (attempts >= zel::kMaxAttempts) fallback = true;
                }
            }
            if (fallback) {
                voice = zel::get_field(rec_, zel::Field::no_input_vox);
                dial = refmodel::default_dial(rec_);
                picture = 0;
                break;
            }
        }
        // Announce, dial, goodbye.
        play(voice, "PLAY FAILED,\n please make sure all vox files are\n in the correct directories.");
        if (gone(reason())) return;
        take("dial", dial);
        dialled = dial;
        if (gone(reason())) return;
        play(zel::get_field(rec_, zel::Field::system_error_vox),
             "PLAY FAILED.\n Please make sure that all vox files \n are in the correct directories");
        reason();
        transferred = true;
    }

    bool complete() const { return next_ == calls_.size(); }

    std::vector<std::string> faults;
    int picture = -1;
    std::string dialled;
    bool transferred = false;

private:
    static bool gone(long r) { return r == 4 || r == 8; }

    const Call& take(const char* op, const std::string& arg)
    {
        FUZZ_CHECK(next_ < calls_.size(), "the flow stopped before the model's %s '%s'", op, arg.c_str());
        const Call& c = calls_[next_++];
        FUZZ_CHECK(c.op == op && (c.op == "collect" || c.op == "reason" || c.op == "clear" || c.arg == arg),
                   "call %zu: the flow made %s '%s', the model %s '%s'", next_ - 1, c.op.c_str(), c.arg.c_str(), op,
                   arg.c_str());
        return c;
    }

    void play(const std::string& path, const char* fault)
    {
        if (take("play", path).answer < 0) faults.push_back(fault);
    }

    long reason() { return take("reason", "").answer; }

    const std::vector<Call>& calls_;
    const zel::ConfigRecord& rec_;
    const zel::ClockTexts& now_;
    std::size_t next_ = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    zel::CallClock clock;
    clock.year = in.ConsumeIntegralInRange(1990, 2099);
    clock.month = in.ConsumeIntegralInRange(1, 12);
    clock.day = in.ConsumeIntegralInRange(1, 31);
    clock.weekday = in.ConsumeIntegralInRange(0, 6);
    clock.hour = in.ConsumeIntegralInRange(0, 23);
    clock.minute = in.ConsumeIntegralInRange(0, 59);
    const zel::ClockTexts texts = zel::make_clock_texts(clock);
    const zel::ConfigRecord rec = fuzzrec::edited_record(in, {texts.date, texts.day});

    g_lib.in = &in;
    g_lib.calls.clear();
    Host host;
    const VlPlayFormat format{VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, VL_RATE_8K, VL_BITS_PER_SAMPLE};
    const zel::CallSummary summary = zel::run_call(kDevice, rec, format, clock, host);

    Model model(g_lib.calls, rec, texts);
    model.run();
    FUZZ_CHECK(model.complete(), "the flow made library calls after the model's call had ended");
    FUZZ_CHECK(model.faults == host.faults, "faults differ: flow %zu, model %zu", host.faults.size(),
               model.faults.size());
    FUZZ_CHECK(summary.dial == model.dialled, "dialled '%s', model '%s'", summary.dial.c_str(),
               model.dialled.c_str());
    FUZZ_CHECK((summary.end == zel::CallEnd::transferred) == model.transferred, "end %d", static_cast<int>(summary.end));
    if (model.picture >= 0 && !model.dialled.empty()) {
        FUZZ_CHECK(summary.picture == model.picture, "picture %d, model %d", summary.picture, model.picture);
    }
    FUZZ_CHECK(host.pictures.size() <= 1, "%zu pictures in one call", host.pictures.size());
    if (!host.pictures.empty()) {
        FUZZ_CHECK(host.pictures[0] == zel::transfer_picture_name(summary.picture), "picture '%s' for %d",
                   host.pictures[0].c_str(), summary.picture);
    }
    return 0;
}
