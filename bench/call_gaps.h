// The runtime's own time in a call, read from the stand-in board's event stamps: the six
// gaps between one library operation ending and the next one starting, on each line,
// for every call that went the expected way (greeting, four digits, transfer voice,
// dial, goodbye, on-hook). A call that took another way (a retry prompt, a failed play,
// an early hang-up) yields no gaps and is counted as irregular.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zelbench {

enum class Gap {
    answer_to_greeting,    // answer -> greeting play start
    greeting_to_collect,   // greeting end -> collect start
    collect_to_transfer,   // collect end -> transfer voice play start
    transfer_to_dial,      // transfer voice end -> dial start
    dial_to_goodbye,       // dial end -> goodbye play start
    goodbye_to_onhook,     // goodbye end -> on-hook
};
inline constexpr int kGapCount = 6;

const char* gap_name(Gap g);

// What a play is, told by its file: the call's three expected plays, or anything else.
enum class PlayKind { greeting, transfer, goodbye, other };
using PlayClassifier = std::function<PlayKind(std::string_view path)>;

class GapTracker {
public:
    explicit GapTracker(PlayClassifier classify);

    // One board event: its stamp (ms) and its text ("playend 2 512").
    void feed(long ms, std::string_view text);

    // Samples in ms, one per regular call, per gap.
    const std::vector<double>& samples(Gap g) const { return gaps_[static_cast<std::size_t>(g)]; }
    // The first gap's first part: answer -> the call flow's own off-hook, which comes
    // after the answered picture and the schedule and before the greeting's file is read.
    const std::vector<double>& answer_to_offhook() const { return answer_to_offhook_; }
    int regular_calls() const { return regular_; }
    int irregular_calls() const { return irregular_; }
    // Calls answered and not yet ended.
    int calls_in_progress() const;

private:
    enum class Stage {
        idle,
        answered,
        greeting,
        greeting_done,
        collecting,
        collected,
        transfer,
        transfer_done,
        dialing,
        dialed,
        goodbye,
        goodbye_done,
        astray,  // the call left the expected way; it ends at the next on-hook
    };
    struct Line {
        Stage stage = Stage::idle;
        long since = 0;  // stamp of the event that began the current wait
        double offhook = -1;  // answer -> the call flow's off-hook, when seen
        std::array<double, kGapCount> gaps{};
    };

    void advance(Line& line, Stage expected, Stage next, long ms, int gap = -1);

    PlayClassifier classify_;
    std::array<Line, 4> lines_{};
    std::array<std::vector<double>, kGapCount> gaps_{};
    std::vector<double> answer_to_offhook_;
    int regular_ = 0;
    int irregular_ = 0;
};

}  // namespace zelbench
