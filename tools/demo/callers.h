// The demo's callers: each a short script of what a person on one line does (ring, wait
// for something to happen, think, press keys, hang up), played against the board's events.
// A script waits on events only, never on luck: every wait names the event it waits for,
// and only the thinking pauses are timed (shortened by the board speed).
#pragma once

#include <string>
#include <vector>

#include "board_log.h"
#include "call_story.h"

namespace demo {

enum class StepKind {
    ring,    // the call arrives: `count` rings at most
    await,   // wait for the next board event matching `text` ("answer 1", "collect 3")
    think,   // pause `seconds` of caller time
    keys,    // press the keys in `text`
    hangup,  // hang up
};

struct Step {
    StepKind kind = StepKind::await;
    std::string text;
    double seconds = 0;
    int count = 0;
};

struct CallerScript {
    int line = 0;
    std::string who;   // "keys extension 1001 (Sales)"
    std::vector<Step> steps;
    Outcome expected = Outcome::unfinished;
};

// The four callers of `make run`, one per line, each ringing up to `rings` times:
//   line 1 keys extension 1001 (Sales, port 201);
//   line 2 stays silent (the default port);
//   line 3 keys 1234 and then 4321, two extensions that do not exist (the default port);
//   line 4 keys extension 1003 (Support), whose time window covers the run (its outside number).
// Each waits for the greeting to end before keying, so that every prompt plays whole.
std::vector<CallerScript> demo_callers(int rings);

// What a caller does at one moment: a control line for the board, and the same action as
// the demo's log writes it.
struct CallerAction {
    std::string control;  // "dtmf 1 1001"
    EventKind kind = EventKind::keys;
    std::string argument; // "1001"
};

// One caller playing its script. Its clock is the runner's (seconds); `speed` shortens the
// thinking pauses as the board speed shortens everything on the board.
class CallerRun {
public:
    CallerRun(CallerScript script, double speed);

    // Takes every step that can be taken now, given the board events that have arrived
    // (`texts`, oldest first, each without its stamp), and returns what the caller does.
    // An await looks only at events that arrived after the step before it was taken.
    std::vector<CallerAction> advance(const std::vector<std::string>& texts, double now);

    bool done() const { return step_ >= script_.steps.size(); }
    const CallerScript& script() const { return script_; }

    // "await answer 1", for a report when the run times out.
    std::string waiting_for() const;

private:
    CallerScript script_;
    double speed_;
    std::size_t step_ = 0;
    std::size_t seen_ = 0;   // events before this index are behind the caller
    double due_ = -1;        // end of the current pause, -1 when none runs
};

}  // namespace demo
