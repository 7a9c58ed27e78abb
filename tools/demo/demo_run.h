// The two things zeldemo does with a running Vornline: play the four callers of `make run`
// and tell what happened, or lend a person one line (`make call`).
#pragma once

#include <string>

namespace demo {

struct RunSettings {
    int port = 7311;          // the board's control port
    double speed = 1;         // the board's SIMBOARD_SPEED, which shortens the callers' pauses
    int rings = 4;            // rings each call may last before the caller gives up waiting
    std::string out_dir;      // recordings and transcript.txt
    std::string log_path;     // the run log (board events and the callers' actions)
    double deadline = 0;      // seconds the run may take; 0: a default from the speed
};

// Plays the four callers at once and waits until every call has ended; writes the log,
// the transcript (printed too) and, through the board, one recording per call. Prints
// "-- mid-call" once, when the channels are in the middle of their transfers.
// Exit status: 0 when every caller's call ended as expected, 1 otherwise.
int run_callers(const RunSettings& settings);

struct LineSettings {
    int port = 7311;
    int line = 1;
    std::string player;       // a program that plays "<player> <rate> <file>"; empty: silent
};

// The interactive line: reads commands from standard input and prints the board's events
// as they come. Exit status 0 at "q" or end of input.
int run_interactive(const LineSettings& settings);

}  // namespace demo
