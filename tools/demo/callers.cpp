// The demo's callers and the playing of their scripts.
#include "callers.h"

#include "line_controller.h"

namespace demo {

namespace {

Step ring(int count) { return {StepKind::ring, "", 0, count}; }
Step await(std::string pattern) { return {StepKind::await, std::move(pattern), 0, 0}; }
Step think(double seconds) { return {StepKind::think, "", seconds, 0}; }
Step keys(std::string k) { return {StepKind::keys, std::move(k), 0, 0}; }

std::string on_line(const char* what, int line) { return std::string(what) + " " + std::to_string(line); }

// Rings, waits for the answer and for Vornline to listen after the greeting.
std::vector<Step> answered_and_greeted(int line, int rings)
{
    return {ring(rings), await(on_line("answer", line)), await(on_line("collect", line))};
}

CallerScript keyer(int line, int rings, std::string who, double pause, std::string extension, Outcome expected)
{
    CallerScript s{line, std::move(who), answered_and_greeted(line, rings), expected};
    s.steps.push_back(think(pause));
    s.steps.push_back(keys(std::move(extension)));
    s.steps.push_back(await(on_line("hook", line) + " on"));
    return s;
}

}  // namespace

std::vector<CallerScript> demo_callers(int rings)
{
    std::vector<CallerScript> callers;
    callers.push_back(keyer(1, rings, "keys extension 1001 (Sales)", 2.0, "1001", Outcome::route_port));

    CallerScript silent{2, "stays silent", {ring(rings), await("answer 2"), await("hook 2 on")},
                        Outcome::default_after_silence};
    callers.push_back(silent);

    CallerScript wrong{3, "keys a wrong extension twice (1234, then 4321)", answered_and_greeted(3, rings),
                       Outcome::default_after_wrong};
    // The second collection begins after the retry request has played.
    for (Step s : {think(1.0), keys("1234"), await("collect 3"), think(1.0), keys("4321"), await("hook 3 on")}) {
        wrong.steps.push_back(s);
    }
    callers.push_back(wrong);

    callers.push_back(keyer(4, rings, "keys extension 1003 (Support, whose time window is active now)", 1.0, "1003",
                            Outcome::outside_number));
    return callers;
}

CallerRun::CallerRun(CallerScript script, double speed)
    : script_(std::move(script)), speed_(speed > 0 ? speed : 1.0)
{
}

std::vector<CallerAction> CallerRun::advance(const std::vector<std::string>& texts, double now)
{
    std::vector<CallerAction> actions;
    const std::string line = std::to_string(script_.line);
    while (step_ < script_.steps.size()) {
        const Step& s = script_.steps[step_];
        switch (s.kind) {
        case StepKind::ring:
            actions.push_back({"ring " + line + " " + std::to_string(s.count), EventKind::ring, std::to_string(s.count)});
            // What the board said before the call arrived belongs to no step of it.
            seen_ = texts.size();
            break;
        case StepKind::await: {
            std::size_t i = seen_;
            while (i < texts.size() && !zeltest::event_matches(s.text, texts[i])) ++i;
            if (i == texts.size()) {
                seen_ = i;
                return actions;
            }
            seen_ = i + 1;
            break;
        }
        case StepKind::think:
            if (due_ < 0) due_ = now + s.seconds / speed_;
            if (now < due_) return actions;
            due_ = -1;
            break;
        case StepKind::keys:
            actions.push_back({"dtmf " + line + " " + s.text, EventKind::keys, s.text});
            break;
        case StepKind::hangup:
            actions.push_back({"hangup " + line, EventKind::hangup, ""});
            break;
        }
        ++step_;
    }
    return actions;
}

std::string CallerRun::waiting_for() const
{
    if (done()) return "nothing (done)";
    const Step& s = script_.steps[step_];
    switch (s.kind) {
    case StepKind::await: return "the event \"" + s.text + "\"";
    case StepKind::think: return "the end of a pause";
    default: break;
    }
    return "its next step";
}

}  // namespace demo
