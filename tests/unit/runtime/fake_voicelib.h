// A scripted stand-in for the voice library declarations, for tests of code that
// talks to a channel. A test loads the operations it expects, in order, with what
// each one answers; the fake checks every call against the script (operation,
// device, path or dial string, termination table, play format, mode) and notes each
// mismatch instead of aborting, so a test can show all of them at once.
// It keeps a caller's digit buffer: keys pressed during a play or a collection join
// the buffer, a collection takes up to four keys from it, a clear empties it.
#pragma once

#include <string>
#include <vector>

#include "voicelib.h"

namespace fakevl {

enum class Op { sethook, play, collect, clear, dial };

struct Step {
    Op op;
    std::string arg;          // play: the path; dial: the dial string; sethook: "0" or "1"
    int result = 0;           // what the operation returns (-1: it failed)
    long reason = 0;          // the termination reason it leaves
    std::string keys;         // keys the caller presses while it runs
    long later_reason = -1;   // every reading after the first answers this (-1: no change)
};

// Steps as a test writes them.
Step hook(int state, int result = 0);
Step play(const std::string& path, long reason, std::string keys = {}, int result = 0);
Step collect(long reason, std::string keys = {}, int result = 0);
Step clear();
Step dial(const std::string& text, long reason = 0, int result = 0);

class Fake {
public:
    // Starts a new script for channel `device`; every play must carry `format`.
    void load(int device, const VlPlayFormat& format, std::vector<Step> steps);

    // Mismatches seen so far, and whether every step was used.
    const std::vector<std::string>& errors() const { return errors_; }
    bool finished() const { return next_ == steps_.size(); }
    // Steps used so far; the script's next step is at this index.
    std::size_t used() const { return next_; }
    // Each call as it happened ("play C:\x.vox", "reason -> 8"), for failure messages.
    const std::vector<std::string>& log() const { return log_; }
    std::string log_text() const;
    // How often the reason was read after step `index`.
    int reason_reads(std::size_t index) const;

    // The library side, called from the dx_* functions.
    const Step* take(Op op, int device, const std::string& arg);
    void check_table(const char* what, const VlTermEntry* table, const std::vector<VlTermEntry>& want);
    void check_format(const VlPlayFormat* format);
    void check_mode(const char* what, int mode);
    long read_reason(int device);
    std::string take_keys(std::size_t max);
    void press(const std::string& keys) { buffer_ += keys; }
    void empty_buffer() { buffer_.clear(); }
    void note(const std::string& line) { log_.push_back(line); }
    void error(const std::string& text);

private:
    int device_ = -1;
    VlPlayFormat format_{};
    std::vector<Step> steps_;
    std::vector<int> reads_;
    std::size_t next_ = 0;
    long reason_ = 0;
    long later_reason_ = -1;
    int reads_since_op_ = 0;
    std::string buffer_;
    std::vector<std::string> errors_;
    std::vector<std::string> log_;
};

Fake& fake();

}  // namespace fakevl
