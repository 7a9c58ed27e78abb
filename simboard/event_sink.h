// Where the board's event lines go. The board hands over the text without its stamp;
// the sink stamps it (milliseconds since the board loaded) and passes it on. Audio lines
// (what a line plays, as samples) are made only while some receiver wants them: decoding
// and encoding a play costs nothing when nobody listens.
#pragma once

#include <string>

namespace simboard {

class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void emit(const std::string& text) = 0;
    virtual void emit_audio(const std::string& /*text*/) {}
    virtual bool audio_wanted() const { return false; }
    // Waits, at most `timeout_ms`, until every line emitted so far has left: a program
    // that closes its devices may end at once, and its last lines would end with it.
    virtual void drain(int /*timeout_ms*/) {}
};

}  // namespace simboard
