// The board model (see board.h).
#include "board.h"

#include "audio_line.h"
#include "term_table.h"
#include "vox_decoder.h"
#include "wav_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <thread>

namespace simboard {

using Real = BoardClock::Real;
using BoardMs = BoardClock::BoardMs;
using Lock = std::unique_lock<std::timed_mutex>;

namespace {

// How often a waiting operation looks at its line again: the delay with which it sees a
// key, a hang-up or a ring.
constexpr auto kPollStep = std::chrono::milliseconds(5);

// A lock held longer than this belongs to a thread that was stopped inside the board
// (the runtime ends channel threads by force); give up rather than hang with it.
constexpr auto kLockPatience = std::chrono::seconds(5);

// Voice files are seconds long; anything beyond this is not a voice file.
constexpr long kMaxVoiceFileBytes = 64L * 1024 * 1024;

std::string line_text(const char* what, int line) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s %d", what, line);
    return buf;
}

int rate_for_code(std::uint32_t code) {
    switch (code) {
    case VL_RATE_6K: return 6000;
    case VL_RATE_8K: return 8000;
    case VL_RATE_11K: return 11025;
    default: return 0;
    }
}

bool read_file(const char* path, std::vector<std::uint8_t>& out) {
    std::FILE* f = std::fopen(path, "rb");
    if (!f) return false;
    bool ok = std::fseek(f, 0, SEEK_END) == 0;
    long size = ok ? std::ftell(f) : -1;
    ok = ok && size >= 0 && size <= kMaxVoiceFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
    if (ok) {
        out.resize(static_cast<std::size_t>(size));
        ok = size == 0 || std::fread(out.data(), 1, out.size(), f) == out.size();
    }
    std::fclose(f);
    return ok;
}

}  // namespace

const char* line_state_name(LineState s) {
    switch (s) {
    case LineState::Idle: return "idle";
    case LineState::Ringing: return "ringing";
    case LineState::OffHook: return "offhook";
    case LineState::Dead: return "dead";
    }
    return "idle";
}

struct Board::Line {
    int number = 0;                 // 1-4
    std::string device;             // dxxxB1Cn
    int table_handle = 0;           // guarded by Board::devices_

    std::timed_mutex mutex;         // everything below
    std::atomic<unsigned> session{0};  // bumped by open and close: ends waits of the old session
    int handle = 0;                 // 0 while the channel device is closed

    bool offhook = false;
    bool dead = false;              // the caller hung up while off-hook
    bool ringing = false;
    Real::time_point ring_start{};
    int ring_count = 0;
    std::string digits;

    long reason = 0;
    unsigned hangups = 0;           // every hang-up of a connected caller
    unsigned hangups_at_start = 0;  // ... as it was when the last operation began
    std::array<int, kFailOpCount> fails{};

    std::unique_ptr<WavWriter> recording;
    bool recording_active = false;  // armed recordings wait for the line to go off-hook

    std::vector<DialRecord> dial_log;

    // An unanswered call is gone once its last ring and the silence after it are over.
    void refresh(const RingTiming& t, Real::time_point now) {
        if (ringing && now >= ring_start + t.cycle * ring_count) ringing = false;
    }

    LineState state() const {
        if (offhook) return dead ? LineState::Dead : LineState::OffHook;
        return ringing ? LineState::Ringing : LineState::Idle;
    }

    bool take_fail(FailOp op) {
        int& n = fails[static_cast<int>(op)];
        if (n == 0) return false;
        --n;
        return true;
    }

    // A failed operation is the last operation: its reason is 0 from now on.
    int failed() {
        reason = 0;
        hangups_at_start = hangups;
        return -1;
    }

    void start_recording_if_armed() {
        if (recording) recording_active = true;
    }

    void stop_recording() {
        if (recording && recording_active) {
            recording->finish();
            recording.reset();
            recording_active = false;
        }
    }

    void go_on_hook() {
        offhook = false;
        dead = false;
        digits.clear();  // keys belong to the call that ends here
        stop_recording();
    }
};

Board::Board(const BoardClock& clock, std::vector<std::string> fail_devices, EventSink& events)
    : clock_(clock),
      fail_devices_(std::move(fail_devices)),
      events_(events),
      timing_{clock.real(BoardMs(kRingOnMs)), clock.real(BoardMs(kRingOnMs + kRingOffMs))} {
    for (int i = 0; i < kLineCount; ++i) {
        lines_[i] = std::make_unique<Line>();
        lines_[i]->number = i + 1;
        char name[16];
        std::snprintf(name, sizeof name, VL_CHANNEL_NAME_FORMAT, '1' + i);
        lines_[i]->device = name;
    }
}

Board::~Board() { finish_recordings(true); }

void Board::emit(const std::string& text) { events_.emit(text); }

void Board::emit_audio(const std::string& text) { events_.emit_audio(text); }

void Board::pause_line(Lock& lock, Real::time_point until) {
    // Sleeping with the line released, rather than waiting on a condition variable, keeps
    // the board sound when the program stops a thread by force in the middle of a wait
    // (a thread killed inside a condition variable wait leaves it locked for good).
    lock.unlock();
    auto now = clock_.now();
    if (until > now) std::this_thread::sleep_for(std::min<Real::duration>(until - now, kPollStep));
    lock.lock();
}

Board::Line* Board::line_for(int handle) {
    if (handle <= 0) return nullptr;
    std::lock_guard<std::mutex> g(devices_);
    for (auto& l : lines_)
        if (l->table_handle == handle) return l.get();
    return nullptr;
}

Board::Line* Board::hold(int handle, Lock& lock, unsigned& session) {
    Line* l = line_for(handle);
    if (!l) return nullptr;
    lock = Lock(l->mutex, std::defer_lock);
    if (!lock.try_lock_for(kLockPatience)) return nullptr;
    if (l->handle != handle) {
        lock.unlock();
        return nullptr;
    }
    session = l->session.load();
    return l;
}

Board::Line* Board::control(int line, Lock& lock, std::string& error) {
    if (line < 1 || line > kLineCount) {
        error = "line must be 1 to 4";
        return nullptr;
    }
    Line* l = lines_[line - 1].get();
    lock = Lock(l->mutex, std::defer_lock);
    if (!lock.try_lock_for(kLockPatience)) {
        error = line_text("no answer from line", line);
        return nullptr;
    }
    l->refresh(timing_, clock_.now());
    return l;
}

// ---------------------------------------------------------------------------------------
// Program side

int Board::open(const char* device, int /*flags*/) {
    if (!device) return -1;
    std::string name(device, strnlen(device, 64));
    std::lock_guard<std::mutex> g(devices_);
    bool refused = std::find(fail_devices_.begin(), fail_devices_.end(), name) != fail_devices_.end();
    if (name == VL_BOARD_NAME) {
        if (refused || board_handle_ != 0) {
            emit("openfail " + name);
            return -1;
        }
        board_handle_ = next_handle_++;
        emit("open " + name);
        return board_handle_;
    }
    Line* line = nullptr;
    for (auto& l : lines_)
        if (l->device == name) line = l.get();
    if (!line || refused || line->table_handle != 0) {
        emit("openfail " + name);
        return -1;
    }
    Lock k(line->mutex, std::defer_lock);
    if (!k.try_lock_for(kLockPatience)) {
        emit("openfail " + name);
        return -1;
    }
    int handle = next_handle_++;
    line->table_handle = handle;
    line->handle = handle;
    line->session++;
    line->reason = 0;
    line->hangups_at_start = line->hangups;
    line->dial_log.clear();
    emit("open " + name);
    return handle;
}

int Board::close(int handle) {
    Line* line = nullptr;
    {
        std::lock_guard<std::mutex> g(devices_);
        if (handle > 0 && handle == board_handle_) {
            board_handle_ = 0;
            emit("close " VL_BOARD_NAME);
            return 0;
        }
        for (auto& l : lines_)
            if (handle > 0 && l->table_handle == handle) line = l.get();
        if (!line) return -1;
        line->table_handle = 0;
    }
    Lock k(line->mutex, std::defer_lock);
    bool locked = k.try_lock_for(kLockPatience);
    // Bumped with the line held, so an operation that has just taken the line either sees
    // the old handle gone or is ended by the new session at its next look.
    line->session++;
    if (locked) {
        line->handle = 0;
        // The device is released: whatever call was on the line is cut off.
        if (line->offhook) line->go_on_hook();
        line->stop_recording();
        k.unlock();
    }
    emit("close " + line->device);
    // A program closes its channels on its way out: let the controllers hear it first.
    events_.drain(500);
    return 0;
}

int Board::sethook(int handle, int hook_state, int /*mode*/) {
    Lock lock;
    unsigned session = 0;
    Line* lp = hold(handle, lock, session);
    if (!lp) return -1;
    Line& l = *lp;
    if (l.take_fail(FailOp::Sethook) || (hook_state != VL_ONHOOK && hook_state != VL_OFFHOOK)) return l.failed();
    l.refresh(timing_, clock_.now());
    if (hook_state == VL_OFFHOOK) {
        // Lifting the receiver while a call rings takes that call.
        l.ringing = false;
        if (!l.offhook) {
            l.offhook = true;
            l.dead = false;
        }
        l.start_recording_if_armed();
        emit(line_text("hook", l.number) + " off");
    } else {
        l.go_on_hook();
        emit(line_text("hook", l.number) + " on");
    }
    return 0;
}

int Board::wtring(int handle, int rings, int hook_state, int timeout_s) {
    Lock lock;
    unsigned session = 0;
    Line* lp = hold(handle, lock, session);
    if (!lp) return -1;
    Line& l = *lp;
    if (l.take_fail(FailOp::Wtring) || (hook_state != VL_ONHOOK && hook_state != VL_OFFHOOK)) return l.failed();
    // No call can ring on a line that is off-hook; waiting would never end.
    if (l.offhook) return l.failed();
    const RingTiming& t = timing_;
    const int wanted = std::max(1, rings);
    emit(line_text("wait", l.number) + " " + std::to_string(wanted));
    const auto began = clock_.now();
    const auto give_up = timeout_s >= 0 ? began + clock_.real(BoardMs(1000.0 * timeout_s)) : Real::time_point::max();
    for (;;) {
        if (l.session != session) return -1;
        const auto now = clock_.now();
        l.refresh(t, now);
        if (l.offhook) return l.failed();
        auto wake = Real::time_point::max();
        if (l.ringing) {
            // Rings are numbered from the start of the call; a ring that was already over
            // when the wait began is not heard, a ring still sounding is.
            int first = 1;
            if (began > l.ring_start) {
                auto since = began - l.ring_start;
                auto whole = static_cast<int>(since / t.cycle);
                first = (since - t.cycle * whole < t.on) ? whole + 1 : whole + 2;
            }
            const int answer_at = std::max(wanted, first);
            if (answer_at <= l.ring_count) {
                const auto at = l.ring_start + t.cycle * (answer_at - 1);
                if (now >= at) {
                    if (hook_state == VL_OFFHOOK) {
                        l.ringing = false;
                        l.offhook = true;
                        l.dead = false;
                        l.start_recording_if_armed();
                        emit(line_text("hook", l.number) + " off");
                        emit(line_text("answer", l.number));
                    }
                    return 0;
                }
                wake = at;
            } else {
                wake = l.ring_start + t.cycle * l.ring_count;
            }
        }
        if (now >= give_up) return l.failed();
        wake = std::min(wake, give_up);
        pause_line(lock, wake);
    }
}

int Board::play_file(int handle, const char* path, const VlTermEntry* table, const VlPlayFormat* format,
                     int /*mode*/) {
    Lock lock;
    unsigned session = 0;
    Line* lp = hold(handle, lock, session);
    if (!lp) return -1;
    Line& l = *lp;
    const std::string shown = path ? std::string(path, strnlen(path, 1024)) : std::string("(null)");
    auto refuse = [&] {
        emit(line_text("playfail", l.number) + " " + shown);
        return l.failed();
    };
    if (l.take_fail(FailOp::Play) || !path) return refuse();
    TermConditions cond;
    if (!read_term_table(table, &cond)) return refuse();
    const int hz = format ? rate_for_code(format->rate_code) : 0;
    if (hz == 0 || format->file_format != VL_FILE_FORMAT_VOX || format->data_format != VL_DATA_FORMAT_ADPCM ||
        format->bits_per_sample != VL_BITS_PER_SAMPLE)
        return refuse();
    std::vector<std::uint8_t> bytes;
    if (!read_file(path, bytes)) return refuse();

    emit(line_text("play", l.number) + " " + std::to_string(hz) + " " + shown);
    l.hangups_at_start = l.hangups;
    const auto began = clock_.now();
    const std::uint64_t total = 2ull * bytes.size();
    const auto ends = began + clock_.real(BoardMs(1000.0 * static_cast<double>(total) / hz));
    const auto limit = cond.max_time_ms >= 0 ? began + clock_.real(BoardMs(cond.max_time_ms)) : Real::time_point::max();
    // Each 20 ms of audio goes out when its first sample is due, so a listener that sends
    // it on at once is never late; a play cut short has sent at most one chunk too many.
    const bool streaming = clock_.speed() == 1.0 && events_.audio_wanted();
    std::vector<std::int16_t> decoded;
    if (streaming) decoded = decode_vox(bytes);
    const std::size_t chunk = audio_chunk_samples(hz);
    std::uint64_t streamed = 0;
    long reason = 0;
    for (;;) {
        if (l.session != session) return -1;
        const auto now = clock_.now();
        if (l.dead || l.hangups != l.hangups_at_start)
            reason = VL_REASON_HANGUP;
        else if (cond.digit_count >= 0 && l.digits.size() >= static_cast<std::size_t>(cond.digit_count))
            reason = VL_REASON_DIGIT_COUNT;
        else if (now >= ends)
            reason = VL_REASON_END_OF_FILE;
        else if (now >= limit)
            reason = VL_REASON_MAX_TIME;
        if (reason != 0) break;
        auto wake = std::min(ends, limit);
        if (streaming) {
            const double due = std::chrono::duration<double>(now - began).count() * hz;
            while (streamed < total && static_cast<double>(streamed) <= due) {
                const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk, total - streamed));
                emit_audio(format_audio_line(l.number, hz, decoded.data() + streamed, n));
                streamed += n;
            }
            if (streamed < total)
                wake = std::min(wake, began + std::chrono::duration_cast<Real::duration>(
                                                  std::chrono::duration<double>(static_cast<double>(streamed) / hz)));
        }
        pause_line(lock, wake);
    }
    l.reason = reason;
    if (l.recording && l.recording_active) {
        // What the caller heard, at real audio speed: the board time that passed is audio time.
        std::uint64_t heard = total;
        if (reason != VL_REASON_END_OF_FILE) {
            double ms = clock_.board(clock_.now() - began).count();
            heard = std::min<std::uint64_t>(total, static_cast<std::uint64_t>(ms * hz / 1000.0));
        }
        if (l.recording->samples() == 0) l.recording->set_rate(static_cast<std::uint32_t>(hz));
        if (decoded.empty()) decoded = decode_vox(bytes);
        l.recording->append(decoded.data(), static_cast<std::size_t>(heard));
    }
    emit(line_text("playend", l.number) + " " + std::to_string(reason));
    return 0;
}

int Board::collect_digits(int handle, const VlTermEntry* table, char* digits, int /*mode*/) {
    Lock lock;
    unsigned session = 0;
    Line* lp = hold(handle, lock, session);
    if (!lp) return -1;
    Line& l = *lp;
    TermConditions cond;
    if (l.take_fail(FailOp::Collect) || !digits || !read_term_table(table, &cond)) return l.failed();
    const std::size_t wanted = cond.digit_count >= 0 ? static_cast<std::size_t>(cond.digit_count) : kDigitCapacity;
    emit(line_text("collect", l.number));
    l.hangups_at_start = l.hangups;
    const auto began = clock_.now();
    const auto limit = cond.max_time_ms >= 0 ? began + clock_.real(BoardMs(cond.max_time_ms)) : Real::time_point::max();
    long reason = 0;
    for (;;) {
        if (l.session != session) return -1;
        // A caller who is gone ends the collection even when keys are still waiting.
        if (l.dead || l.hangups != l.hangups_at_start)
            reason = VL_REASON_HANGUP;
        else if (l.digits.size() >= wanted)
            reason = VL_REASON_DIGIT_COUNT;
        else if (clock_.now() >= limit)
            reason = VL_REASON_MAX_TIME;
        if (reason != 0) break;
        pause_line(lock, limit);
    }
    const std::size_t n = std::min(wanted, l.digits.size());
    const std::string got = l.digits.substr(0, n);
    l.digits.erase(0, n);
    std::memcpy(digits, got.c_str(), got.size() + 1);
    l.reason = reason;
    std::string event = line_text("collectend", l.number) + " " + std::to_string(reason);
    if (!got.empty()) event += " " + got;
    emit(event);
    return 0;
}

int Board::dial(int handle, const char* dial_string, int /*mode*/) {
    Lock lock;
    unsigned session = 0;
    Line* lp = hold(handle, lock, session);
    if (!lp) return -1;
    Line& l = *lp;
    if (l.take_fail(FailOp::Dial) || !dial_string) return l.failed();
    const std::string s(dial_string, strnlen(dial_string, 256));
    emit(line_text("dial", l.number) + " " + s);
    l.dial_log.clear();
    const auto began = clock_.now();
    auto at = began;
    for (const DialStep& step : plan_dial(s)) {
        l.dial_log.push_back({step.kind, step.character,
                              std::chrono::duration<double, std::milli>(clock_.now() - began).count()});
        at += clock_.real(BoardMs(step.board_ms));
        while (clock_.now() < at) {
            if (l.session != session) return -1;
            pause_line(lock, at);
        }
    }
    emit(line_text("dialend", l.number));
    return 0;
}

long Board::term_reason(int handle) {
    Lock lock;
    unsigned session = 0;
    Line* lp = hold(handle, lock, session);
    if (!lp) return -1;
    Line& l = *lp;
    return l.hangups != l.hangups_at_start ? VL_REASON_HANGUP : l.reason;
}

int Board::clear_digits(int handle) {
    Lock lock;
    unsigned session = 0;
    Line* lp = hold(handle, lock, session);
    if (!lp) return -1;
    Line& l = *lp;
    l.digits.clear();
    emit(line_text("clear", l.number));
    return 0;
}

// ---------------------------------------------------------------------------------------
// Controller side

std::string Board::ring(int line, int count) {
    Lock k;
    std::string error;
    Line* lp = control(line, k, error);
    if (!lp) return error;
    Line& l = *lp;
    if (count < 1) return "ring count must be 1 to 999";
    if (l.offhook) return line_text("busy: line", line) + " is off-hook";
    if (l.ringing) return line_text("busy: line", line) + " is already ringing";
    l.ringing = true;
    l.ring_start = clock_.now();
    l.ring_count = count;
    return "";
}

std::string Board::dtmf(int line, const std::string& keys) {
    Lock k;
    std::string error;
    Line* lp = control(line, k, error);
    if (!lp) return error;
    Line& l = *lp;
    if (!l.offhook) return line_text("no caller on line", line);
    if (l.dead) return line_text("caller has hung up on line", line);
    // A full buffer drops further keys, as the hardware does.
    for (char c : keys)
        if (l.digits.size() < kDigitCapacity) l.digits += c;
    return "";
}

std::string Board::hangup(int line) {
    Lock k;
    std::string error;
    Line* lp = control(line, k, error);
    if (!lp) return error;
    Line& l = *lp;
    if (l.ringing) {
        l.ringing = false;
    } else if (l.offhook && !l.dead) {
        l.dead = true;
        ++l.hangups;
    } else {
        return line_text("no call on line", line);
    }
    return "";
}

std::string Board::fail_next(FailOp op, int line) {
    Lock k;
    std::string error;
    Line* lp = control(line, k, error);
    if (!lp) return error;
    Line& l = *lp;
    ++l.fails[static_cast<int>(op)];
    return "";
}

std::string Board::record(int line, const std::string& path) {
    Lock k;
    std::string error;
    Line* lp = control(line, k, error);
    if (!lp) return error;
    Line& l = *lp;
    if (l.recording) return line_text("already recording line", line);
    auto w = std::make_unique<WavWriter>();
    if (!w->open(path, 8000)) return "cannot write " + path;
    l.recording = std::move(w);
    l.recording_active = l.offhook;
    return "";
}

void Board::status() {
    for (auto& lp : lines_) {
        Line& l = *lp;
        Lock k(l.mutex, std::defer_lock);
        LineState s = LineState::Dead;
        if (k.try_lock_for(kLockPatience)) {
            l.refresh(timing_, clock_.now());
            s = l.state();
        }
        emit(line_text("status", l.number) + " " + line_state_name(s));
    }
}

std::string Board::apply(const ControlCommand& c) {
    switch (c.kind) {
    case CommandKind::Ring: return ring(c.line, c.count);
    case CommandKind::Dtmf: return dtmf(c.line, c.keys);
    case CommandKind::Hangup: return hangup(c.line);
    case CommandKind::Fail: return fail_next(c.op, c.line);
    case CommandKind::Record: return record(c.line, c.path);
    case CommandKind::Status: status(); return "";
    }
    return "unknown command";
}

void Board::finish_recordings(bool may_block) {
    for (auto& lp : lines_) {
        Line& l = *lp;
        Lock k(l.mutex, std::defer_lock);
        if (may_block ? k.try_lock_for(kLockPatience) : k.try_lock()) {
            if (l.recording) l.recording->finish();
            l.recording.reset();
            l.recording_active = false;
        }
    }
}

LineState Board::state(int line) {
    if (line < 1 || line > kLineCount) return LineState::Idle;
    Line& l = *lines_[line - 1];
    Lock k(l.mutex);
    l.refresh(timing_, clock_.now());
    return l.state();
}

std::string Board::pending_digits(int line) {
    if (line < 1 || line > kLineCount) return "";
    Line& l = *lines_[line - 1];
    Lock k(l.mutex);
    return l.digits;
}

std::vector<DialRecord> Board::last_dial(int line) {
    if (line < 1 || line > kLineCount) return {};
    Line& l = *lines_[line - 1];
    Lock k(l.mutex);
    return l.dial_log;
}

}  // namespace simboard
