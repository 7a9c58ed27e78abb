// The office every reliability run of Vornline serves: open at every minute, voices by
// relative names in the program's folder, sixteen routes, so that every call's dial
// string follows from its keys alone. Runs take board ports from 8100 to 8199.
#pragma once

#include "vornline_driver.h"

#include "config_record.h"

#include <string>

namespace rel {

// The voice files every reliability run puts beside the program: each plays for the given
// audio seconds at 8 kHz.
struct VoiceFile {
    const char* name;
    double seconds;
};
inline constexpr VoiceFile kVoices[] = {
    {"open.vox", 3}, {"closed.vox", 3}, {"wrong.vox", 2}, {"none.vox", 1}, {"bye.vox", 1},
    {"sales.vox", 1}, {"desk.vox", 1},
};

// An office open every day (testrec::open_every_day) with the voices above by relative
// name and sixteen routes: extension 1001+k to port 201+k, route k's voice "sales.vox"
// (k even) or "desk.vox" (k odd).
zel::ConfigRecord open_office();

// The dial string that the office calls for after `keys` (four keys or fewer; an empty
// entry is silence): a route's port, else the default port.
std::string expected_dial(const std::string& keys);

// A Vornline run with its board port from this range and the voice files in its folder.
class VornlineRun : public vt::Vornline {
public:
    VornlineRun();
};

}  // namespace rel
