// The call route dialog's state: the one voice for all transfers, the default transfer,
// the 16 route rows, the chooser buttons' effects, "Clear All Selection" and Save.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "config_record.h"
#include "text_number.h"
#include "voice_path.h"

namespace zel {

inline constexpr int kRouteRows = 16;

// Longest texts Save stores.
inline constexpr std::size_t kRouteExtLimit = 4;
inline constexpr std::size_t kDefaultPortLimit = 4;
inline constexpr std::size_t kRoutePortLimit = 22;
inline constexpr std::size_t kRouteAltLimit = 22;
inline constexpr std::size_t kRouteTimeLimit = 32;

// What "Clear All Selection" puts into the first displays.
inline constexpr const char* kClearedVoice = "         ";  // nine spaces

struct RouteRow {
    std::string ext;                // extension edit
    std::string vox;                // voice display
    std::string port;               // "To Port" edit
    std::optional<TimeOfDay> from;  // none: the picker shows the time the dialog opened
    std::optional<TimeOfDay> to;
    std::string alt;                // alternate port or outside number
};

struct RouteForm {
    std::string transfer_vox;  // display 1111
    std::string no_input_vox;  // display 1114
    std::string default_port;  // edit 1112
    std::array<RouteRow, kRouteRows> rows;
};

// The controls for a record; `RouteForm{}` is the dialog without a working file.
// A route is shown whenever its extension is not empty, whatever its length, so that
// an odd extension is kept by the next Save instead of being overwritten with an empty
// row; the validation report still flags it.
RouteForm load_route_form(const ConfigRecord& rec);

// Chooser buttons. Each takes a `set` choice only (see decide_voice_choice):
// row button of route k: route_vox of route k at once, and the row's display;
bool choose_route_voice(RouteForm& form, ConfigRecord& rec, int route, const VoiceChoice& choice);
// "Button17": transfer_vox at once, and the displays 1111, all 16 rows and 1114
// (the routes and no_input_vox take it from the displays at Save);
bool choose_one_voice(RouteForm& form, ConfigRecord& rec, const VoiceChoice& choice);
// "Button18": no_input_vox at once, and display 1114.
bool choose_no_input_voice(RouteForm& form, ConfigRecord& rec, const VoiceChoice& choice);

// Nine spaces in 1111 and the displays of rows 1 and 2; the empty text in rows 3 to 16
// and in 1114. The record takes them at Save.
void clear_all_selection(RouteForm& form);

// Save: every field of the dialog, every row whatever it holds, each cut to its limit.
// `initial` is the time an unset picker shows (the time the dialog opened).
void save_route_form(const RouteForm& form, ConfigRecord& rec, const TimeOfDay& initial);

}  // namespace zel
