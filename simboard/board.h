// The board model: one analog voice board "dxxxB1" with four lines "dxxxB1C1".."dxxxB1C4".
// It owns the devices and their handles, each line's hook state, calls and rings, digit
// buffer, plays, collections, dialling, termination reasons, injected failures and
// recordings. The program side (the voice library calls) and the controller side (the
// callers) meet here; every line has its own lock, so the four lines run independently,
// each from its own thread. Portable: plain threads and mutexes.
#pragma once

#include "board_clock.h"
#include "control_line.h"
#include "dial_plan.h"
#include "event_sink.h"
#include "voicelib.h"

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace simboard {

class WavWriter;

constexpr int kLineCount = VL_CHANNEL_COUNT;
constexpr double kRingOnMs = 2000.0;
constexpr double kRingOffMs = 4000.0;
constexpr std::size_t kDigitCapacity = VL_DIGIT_BUFFER_SIZE - 1;  // 31 keys

enum class LineState { Idle, Ringing, OffHook, Dead };
const char* line_state_name(LineState s);

// One step of the last dial on a line, with when it really began (ms after the dial began).
struct DialRecord {
    DialStepKind kind;
    char character;
    double start_ms;
};

class Board {
public:
    Board(const BoardClock& clock, std::vector<std::string> fail_devices, EventSink& events);
    ~Board();
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // Program side: the voice library operations; -1 on failure.
    int open(const char* device, int flags);
    int close(int handle);
    int sethook(int handle, int hook_state, int mode);
    int wtring(int handle, int rings, int hook_state, int timeout_s);
    int play_file(int handle, const char* path, const VlTermEntry* table, const VlPlayFormat* format,
                  int mode);
    int collect_digits(int handle, const VlTermEntry* table, char* digits, int mode);
    int dial(int handle, const char* dial_string, int mode);
    long term_reason(int handle);
    int clear_digits(int handle);

    // Controller side. Each returns "" when done, or why nothing was changed.
    std::string ring(int line, int count);
    std::string dtmf(int line, const std::string& keys);
    std::string hangup(int line);
    std::string fail_next(FailOp op, int line);
    std::string record(int line, const std::string& path);
    void status();
    // Carries out a parsed control line.
    std::string apply(const ControlCommand& c);

    // Completes every recording in progress. With may_block false it skips lines whose lock
    // cannot be had at once (the process is ending and their threads are gone).
    void finish_recordings(bool may_block);

    // The board's time scale; audio lines are made only at 1.
    double speed() const { return clock_.speed(); }

    // Observation for tests.
    LineState state(int line);
    std::string pending_digits(int line);
    std::vector<DialRecord> last_dial(int line);

    // How long a ring sounds and how long one ring cycle lasts, in real time.
    struct RingTiming {
        BoardClock::Real::duration on, cycle;
    };

private:
    struct Line;
    using Lock = std::unique_lock<std::timed_mutex>;
    Line* line_for(int handle);
    // The line of an open channel handle, locked for one program operation.
    Line* hold(int handle, Lock& lock, unsigned& session);
    // A line locked for one controller command, its call brought up to date.
    Line* control(int line, Lock& lock, std::string& error);
    // Lets other threads at the line for a moment, at most until `until`.
    void pause_line(Lock& lock, BoardClock::Real::time_point until);
    void emit(const std::string& text);
    void emit_audio(const std::string& text);

    const BoardClock& clock_;
    std::vector<std::string> fail_devices_;
    EventSink& events_;
    const RingTiming timing_;

    std::mutex devices_;        // guards the handle table below
    int next_handle_ = 1;
    int board_handle_ = 0;      // 0: the board device is not open
    std::array<std::unique_ptr<Line>, kLineCount> lines_;
};

}  // namespace simboard
