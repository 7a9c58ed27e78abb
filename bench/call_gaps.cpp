// Pairing the board's events into the runtime's gaps, line by line.
#include "call_gaps.h"

#include <cstdlib>

namespace zelbench {

namespace {

// The next space-separated word of `text` from `pos`.
std::string_view word(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && text[pos] == ' ') ++pos;
    const std::size_t start = pos;
    while (pos < text.size() && text[pos] != ' ') ++pos;
    return text.substr(start, pos - start);
}

}  // namespace

const char* gap_name(Gap g)
{
    switch (g) {
    case Gap::answer_to_greeting: return "answer -> greeting play start";
    case Gap::greeting_to_collect: return "greeting end -> collect start";
    case Gap::collect_to_transfer: return "collect end -> transfer voice play start";
    case Gap::transfer_to_dial: return "transfer voice end -> dial start";
    case Gap::dial_to_goodbye: return "dial end -> goodbye play start";
    case Gap::goodbye_to_onhook: return "goodbye end -> on-hook";
    }
    return "?";
}

GapTracker::GapTracker(PlayClassifier classify) : classify_(std::move(classify)) {}

int GapTracker::calls_in_progress() const
{
    int n = 0;
    for (const Line& l : lines_) n += l.stage != Stage::idle;
    return n;
}

// Moves the line on when it is where the event belongs, recording the gap that the event
// closes; anything else sends the call astray.
void GapTracker::advance(Line& line, Stage expected, Stage next, long ms, int gap)
{
    if (line.stage == Stage::astray) return;
    if (line.stage != expected) {
        line.stage = Stage::astray;
        return;
    }
    if (gap >= 0) line.gaps[static_cast<std::size_t>(gap)] = static_cast<double>(ms - line.since);
    line.since = ms;
    line.stage = next;
}

void GapTracker::feed(long ms, std::string_view text)
{
    std::size_t pos = 0;
    const std::string_view kind = word(text, pos);
    const std::string_view number = word(text, pos);
    if (number.size() != 1 || number[0] < '1' || number[0] > '4') return;
    Line& line = lines_[static_cast<std::size_t>(number[0] - '1')];

    if (kind == "answer") {
        if (line.stage != Stage::idle) ++irregular_;  // a call that never ended properly
        line = Line{};
        line.stage = Stage::answered;
        line.since = ms;
        return;
    }
    if (line.stage == Stage::idle) return;  // between calls: waits, hook settings, status

    if (kind == "hook") {
        if (word(text, pos) != "on") {
            // The board's own off-hook comes before the answer; this is the call flow's.
            if (line.stage == Stage::answered && line.offhook < 0) line.offhook = static_cast<double>(ms - line.since);
            return;
        }
        if (line.stage == Stage::goodbye_done) {
            line.gaps[static_cast<std::size_t>(Gap::goodbye_to_onhook)] = static_cast<double>(ms - line.since);
            for (int g = 0; g < kGapCount; ++g) gaps_[static_cast<std::size_t>(g)].push_back(line.gaps[static_cast<std::size_t>(g)]);
            if (line.offhook >= 0) answer_to_offhook_.push_back(line.offhook);
            ++regular_;
        } else {
            ++irregular_;
        }
        line = Line{};
        return;
    }
    if (kind == "play") {
        word(text, pos);  // the rate
        while (pos < text.size() && text[pos] == ' ') ++pos;
        switch (classify_(text.substr(pos))) {
        case PlayKind::greeting:
            advance(line, Stage::answered, Stage::greeting, ms, static_cast<int>(Gap::answer_to_greeting));
            break;
        case PlayKind::transfer:
            advance(line, Stage::collected, Stage::transfer, ms, static_cast<int>(Gap::collect_to_transfer));
            break;
        case PlayKind::goodbye:
            advance(line, Stage::dialed, Stage::goodbye, ms, static_cast<int>(Gap::dial_to_goodbye));
            break;
        case PlayKind::other:
            line.stage = Stage::astray;
            break;
        }
        return;
    }
    if (kind == "playend") {
        // Only a play that ran to its end is the expected way; a key or a hang-up is not.
        if (word(text, pos) != "512") {
            line.stage = Stage::astray;
            return;
        }
        if (line.stage == Stage::greeting) {
            advance(line, Stage::greeting, Stage::greeting_done, ms);
        } else if (line.stage == Stage::transfer) {
            advance(line, Stage::transfer, Stage::transfer_done, ms);
        } else {
            advance(line, Stage::goodbye, Stage::goodbye_done, ms);
        }
        return;
    }
    if (kind == "collect") {
        advance(line, Stage::greeting_done, Stage::collecting, ms, static_cast<int>(Gap::greeting_to_collect));
        return;
    }
    if (kind == "collectend") {
        // Four digits (reason 1) is the expected way.
        if (word(text, pos) != "1") {
            line.stage = Stage::astray;
            return;
        }
        advance(line, Stage::collecting, Stage::collected, ms);
        return;
    }
    if (kind == "dial") {
        advance(line, Stage::transfer_done, Stage::dialing, ms, static_cast<int>(Gap::transfer_to_dial));
        return;
    }
    if (kind == "dialend") {
        advance(line, Stage::dialing, Stage::dialed, ms);
        return;
    }
    if (kind == "playfail" || kind == "clear") line.stage = Stage::astray;
}

}  // namespace zelbench
