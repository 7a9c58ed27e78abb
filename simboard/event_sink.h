// Where the board's event lines go. The board hands over the text without its stamp;
// the sink stamps it (milliseconds since the board loaded) and passes it on.
#pragma once

#include <string>

namespace simboard {

class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void emit(const std::string& text) = 0;
};

}  // namespace simboard
