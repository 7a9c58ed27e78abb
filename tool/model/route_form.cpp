// The call route dialog's mapping.
#include "route_form.h"

#include "form_store.h"
#include "picker_value.h"

namespace zel {

namespace {

// The one-voice and no-input displays hide texts this short; the report counts them.
constexpr std::size_t kShortestShownVoice = 4;

std::string shown_if_long(std::string text)
{
    return text.size() >= kShortestShownVoice ? text : std::string();
}

bool valid_route(int route) { return route >= 0 && route < kRouteRows; }

}  // namespace

RouteForm load_route_form(const ConfigRecord& rec)
{
    RouteForm form;
    form.transfer_vox = shown_if_long(get_field(rec, Field::transfer_vox));
    form.no_input_vox = shown_if_long(get_field(rec, Field::no_input_vox));
    form.default_port = get_field(rec, Field::default_port);
    for (int k = 0; k < kRouteRows; ++k) {
        std::string ext = get_field(rec, Field::route_ext, k);
        if (ext.empty()) continue;
        RouteRow& row = form.rows[static_cast<std::size_t>(k)];
        row.ext = std::move(ext);
        row.vox = get_field(rec, Field::route_vox, k);
        row.port = get_field(rec, Field::route_port, k);
        row.alt = get_field(rec, Field::route_alt_number, k);
        row.from = read_picker_time(get_field(rec, Field::route_from_time, k));
        row.to = read_picker_time(get_field(rec, Field::route_to_time, k));
    }
    return form;
}

bool choose_route_voice(RouteForm& form, ConfigRecord& rec, int route, const VoiceChoice& choice)
{
    if (!valid_route(route)) return false;
    if (!apply_voice_choice(form.rows[static_cast<std::size_t>(route)].vox, choice)) return false;
    store_cut(rec, Field::route_vox, route, choice.text, kRouteVoiceLimit);
    return true;
}

bool choose_one_voice(RouteForm& form, ConfigRecord& rec, const VoiceChoice& choice)
{
    if (!apply_voice_choice(form.transfer_vox, choice)) return false;
    store_cut(rec, Field::transfer_vox, choice.text, kRouteVoiceLimit);
    for (RouteRow& row : form.rows) row.vox = choice.text;
    form.no_input_vox = choice.text;
    return true;
}

bool choose_no_input_voice(RouteForm& form, ConfigRecord& rec, const VoiceChoice& choice)
{
    if (!apply_voice_choice(form.no_input_vox, choice)) return false;
    store_cut(rec, Field::no_input_vox, choice.text, kRouteVoiceLimit);
    return true;
}

void clear_all_selection(RouteForm& form)
{
    form.transfer_vox = kClearedVoice;
    for (int k = 0; k < kRouteRows; ++k) form.rows[static_cast<std::size_t>(k)].vox = k < 2 ? kClearedVoice : "";
    form.no_input_vox.clear();
}

void save_route_form(const RouteForm& form, ConfigRecord& rec, const TimeOfDay& initial)
{
    store_cut(rec, Field::transfer_vox, form.transfer_vox, kRouteVoiceLimit);
    store_cut(rec, Field::no_input_vox, form.no_input_vox, kRouteVoiceLimit);
    store_cut(rec, Field::default_port, form.default_port, kDefaultPortLimit);
    for (int k = 0; k < kRouteRows; ++k) {
        const RouteRow& row = form.rows[static_cast<std::size_t>(k)];
        store_cut(rec, Field::route_ext, k, row.ext, kRouteExtLimit);
        store_cut(rec, Field::route_vox, k, row.vox, kRouteVoiceLimit);
        store_cut(rec, Field::route_port, k, row.port, kRoutePortLimit);
        store_cut(rec, Field::route_alt_number, k, row.alt, kRouteAltLimit);
        store_cut(rec, Field::route_from_time, k, picker_time_text(row.from, initial), kRouteTimeLimit);
        store_cut(rec, Field::route_to_time, k, picker_time_text(row.to, initial), kRouteTimeLimit);
    }
}

}  // namespace zel
