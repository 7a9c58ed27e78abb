// The phone system that the end-to-end test designs through Plandesk's dialogs, laid out
// around the moment the test starts: office hours that hold now, one route window that is
// active now and one that is not, a holiday and a special-hours day that are not today,
// and what each caller must then be dialled to. Portable, so that its clock arithmetic is
// checked against the runtime's own schedule and transfer rules.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "config_record.h"
#include "text_number.h"

namespace e2e {

// The local clock when the plan is made.
struct Moment {
    zel::Date date;
    int minute = 0;  // of the day, 0-1439
};

// Minutes the plan keeps holding after it was made; the whole test runs well inside them.
inline constexpr int kHoldMinutes = 59;

// Row d of the weekly dialog: 0 Monday .. 6 Sunday.
int weekday_of(const zel::Date& d);
zel::Date add_days(const zel::Date& d, int days);
// The moment `minutes` later, the date rolling over at midnight.
Moment later(const Moment& m, int minutes);
// The picker text of a minute of the day: "hh:mm:00 AM".
std::string time_text(int minute);

struct DayHours {
    bool closed_all_day = false;
    int opens = 0;  // minutes of the day, both counted as open
    int closes = 0;
};

// A voice file the test writes and the operator picks; its length in audio seconds at the
// planned rate decides how long the board plays it.
struct Voice {
    zel::Field field;
    int index = 0;
    std::string file;
    int audio_seconds = 1;
};

struct Route {
    int row = 0;  // dialog row 0-15, which is the route index
    std::string ext, port, alt;
    int from = 0, to = 0;   // the window, minutes of the day; equal means none
    std::string dial;       // what a caller who keys `ext` is dialled to while the plan holds
    std::string picture;    // the channel's transfer picture meanwhile
};

struct Plan {
    Moment made;
    std::string info_line_1 = "Zelwerk end-to-end office";
    std::string info_line_2 = "Designed through the dialogs";
    std::string answer_ring = "2";
    int vox_entry = 2;  // "DRT_8KHZ" in the voice file type list
    std::string vox_entry_text = "DRT_8KHZ";
    std::string vox_name = "DRT_8KHZ";
    int play_hz = 8000;
    std::string int_delay = "2";
    std::string ext_delay = "3";
    std::array<DayHours, 7> week{};
    std::vector<Route> routes;
    std::string default_port = "100";
    std::string default_dial = "&,,100";
    std::string default_picture = "ZERO";
    zel::Date holiday;
    zel::Date special;
    int special_opens = 9 * 60;
    int special_closes = 17 * 60;
    std::vector<Voice> voices;
};

Plan make_plan(const Moment& now);

// The planned voice of `field` (and `index`), or nullptr.
const Voice* voice_of(const Plan& plan, zel::Field field, int index = 0);

// What the exported command record must hold, field by field, with the voices in
// `voice_folder`. Routes the plan does not use must be empty; so must every other holiday
// and special-hours line.
struct Expected {
    zel::Field field;
    int index = 0;
    std::string text;
};
std::vector<Expected> expected_fields(const Plan& plan, const std::string& voice_folder);

// `expected_fields` laid over the default record: the command record the plan describes.
zel::ConfigRecord planned_record(const Plan& plan, const std::string& voice_folder);

}  // namespace e2e
