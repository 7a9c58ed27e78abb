// The scripted voice library. Once the script runs out, every operation fails and
// every reason reads as a hang-up, so a flow that goes astray still comes to an end.
#include "fake_voicelib.h"

#include <cstring>

namespace fakevl {

namespace {

const char* op_name(Op op)
{
    switch (op) {
    case Op::sethook: return "sethook";
    case Op::play: return "play";
    case Op::collect: return "collect";
    case Op::clear: return "clear";
    case Op::dial: return "dial";
    }
    return "?";
}

// The termination tables as the library expects them from this program, written out
// here on their own rather than taken from the code under test.
const std::vector<VlTermEntry> kWantPlay = {{1, 4, 6, 11}, {4, 1, 1, 9}};
const std::vector<VlTermEntry> kWantCollect = {{1, 4, 6, 11}, {1, 6, 50, 0}, {4, 1, 4, 9}};

}  // namespace

Step hook(int state, int result) { return {Op::sethook, std::to_string(state), result, 0, {}, -1}; }
Step play(const std::string& path, long reason, std::string keys, int result)
{
    return {Op::play, path, result, reason, std::move(keys), -1};
}
Step collect(long reason, std::string keys, int result)
{
    return {Op::collect, {}, result, reason, std::move(keys), -1};
}
Step clear() { return {Op::clear, {}, 0, 0, {}, -1}; }
Step dial(const std::string& text, long reason, int result) { return {Op::dial, text, result, reason, {}, -1}; }

Fake& fake()
{
    static Fake instance;
    return instance;
}

void Fake::load(int device, const VlPlayFormat& format, std::vector<Step> steps)
{
    *this = Fake{};
    device_ = device;
    format_ = format;
    steps_ = std::move(steps);
    reads_.assign(steps_.size(), 0);
}

void Fake::error(const std::string& text)
{
    errors_.push_back(text);
}

std::string Fake::log_text() const
{
    std::string text;
    for (const std::string& line : log_) text += "  " + line + "\n";
    return text;
}

int Fake::reason_reads(std::size_t index) const
{
    return index < reads_.size() ? reads_[index] : 0;
}

const Step* Fake::take(Op op, int device, const std::string& arg)
{
    note(std::string(op_name(op)) + (arg.empty() ? "" : " " + arg));
    if (device != device_) error("step " + std::to_string(next_) + ": device " + std::to_string(device));
    if (next_ >= steps_.size()) {
        error(std::string("unexpected ") + op_name(op) + " " + arg + " after the script ended");
        reason_ = VL_REASON_HANGUP;
        later_reason_ = -1;
        return nullptr;
    }
    const Step& step = steps_[next_];
    if (step.op != op || step.arg != arg) {
        error("step " + std::to_string(next_) + ": expected " + op_name(step.op) + " " + step.arg + ", got " +
              op_name(op) + " " + arg);
    }
    ++next_;
    reads_since_op_ = 0;
    reason_ = step.reason;
    later_reason_ = step.later_reason;
    press(step.keys);
    return &step;
}

void Fake::check_table(const char* what, const VlTermEntry* table, const std::vector<VlTermEntry>& want)
{
    if (table == nullptr) {
        error(std::string(what) + ": no termination table");
        return;
    }
    for (std::size_t i = 0; i < want.size(); ++i) {
        const VlTermEntry& e = table[i];
        const VlTermEntry& w = want[i];
        if (e.kind != w.kind || e.condition != w.condition || e.value != w.value || e.flags != w.flags) {
            error(std::string(what) + ": termination entry " + std::to_string(i) + " is (" +
                  std::to_string(e.kind) + "," + std::to_string(e.condition) + "," + std::to_string(e.value) +
                  "," + std::to_string(e.flags) + ")");
        }
        if (e.kind == VL_ENTRY_LAST) break;  // never read past the table's own end
    }
}

void Fake::check_format(const VlPlayFormat* format)
{
    if (format == nullptr || format->file_format != format_.file_format ||
        format->data_format != format_.data_format || format->rate_code != format_.rate_code ||
        format->bits_per_sample != format_.bits_per_sample) {
        error("play: not the channel's play format");
    }
}

void Fake::check_mode(const char* what, int mode)
{
    if (mode != VL_SYNC) error(std::string(what) + ": mode " + std::to_string(mode));
}

long Fake::read_reason(int device)
{
    if (device != device_) error("reason: device " + std::to_string(device));
    if (next_ > 0 && next_ <= reads_.size()) ++reads_[next_ - 1];
    const long r = (reads_since_op_ > 0 && later_reason_ >= 0) ? later_reason_ : reason_;
    ++reads_since_op_;
    note("reason -> " + std::to_string(r));
    return r;
}

std::string Fake::take_keys(std::size_t max)
{
    std::string keys = buffer_.substr(0, max);
    buffer_.erase(0, keys.size());
    return keys;
}

}  // namespace fakevl

using fakevl::fake;
using fakevl::Op;

extern "C" {

int VL_CALL dx_open(const char* device, int)
{
    fake().error(std::string("dx_open ") + (device ? device : "(null)") + " is not the call flow's to call");
    return -1;
}

int VL_CALL dx_close(int)
{
    fake().error("dx_close is not the call flow's to call");
    return -1;
}

int VL_CALL dx_wtring(int, int, int, int)
{
    fake().error("dx_wtring is not the call flow's to call");
    return -1;
}

int VL_CALL sr_board_query(int)
{
    fake().error("sr_board_query is not the call flow's to call");
    return -1;
}

int VL_CALL dx_sethook(int handle, int hook_state, int mode)
{
    fake().check_mode("sethook", mode);
    const fakevl::Step* step = fake().take(Op::sethook, handle, std::to_string(hook_state));
    return step ? step->result : -1;
}

int VL_CALL dx_play_file(int handle, const char* path, const VlTermEntry* table, const VlPlayFormat* format,
                         int mode)
{
    fake().check_mode("play", mode);
    fake().check_table("play", table, fakevl::kWantPlay);
    fake().check_format(format);
    const fakevl::Step* step = fake().take(Op::play, handle, path ? path : "(null)");
    return step ? step->result : -1;
}

int VL_CALL dx_collect_digits(int handle, const VlTermEntry* table, char* digits, int mode)
{
    fake().check_mode("collect", mode);
    fake().check_table("collect", table, fakevl::kWantCollect);
    const fakevl::Step* step = fake().take(Op::collect, handle, {});
    if (digits == nullptr) {
        fake().error("collect: no digit buffer");
        return -1;
    }
    // A failed collection leaves the buffer untouched, as a library may; the caller
    // must not trust it.
    if (step == nullptr || step->result < 0) return -1;
    const std::string keys = fake().take_keys(4);
    std::memcpy(digits, keys.c_str(), keys.size() + 1);
    return step->result;
}

int VL_CALL dx_dial(int handle, const char* dial_string, void* reserved, int mode)
{
    fake().check_mode("dial", mode);
    if (reserved != nullptr) fake().error("dial: reserved argument set");
    const fakevl::Step* step = fake().take(Op::dial, handle, dial_string ? dial_string : "(null)");
    return step ? step->result : -1;
}

long VL_CALL dx_term_reason(int handle)
{
    return fake().read_reason(handle);
}

int VL_CALL dx_clear_digits(int handle)
{
    const fakevl::Step* step = fake().take(Op::clear, handle, {});
    fake().empty_buffer();
    return step ? step->result : -1;
}

}  // extern "C"
