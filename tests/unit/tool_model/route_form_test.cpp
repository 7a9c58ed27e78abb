// The call route dialog: routes with odd extensions survive a save, the time reading rule,
// the chooser buttons (one voice for all, default voice, row voices), "Clear All Selection"
// and Save's cuts.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "record_fixture.h"
#include "route_form.h"

using zel::ConfigRecord;
using zel::Field;
using zel::TimeOfDay;
using zel::VoiceChoice;

namespace {

const TimeOfDay kOpenedAt{9, 41, 5};
const char* const kOpenedAtText = "09:41:05 AM";

constexpr std::initializer_list<Field> kRouteFields = {Field::route_ext,       Field::route_vox,
                                                       Field::route_port,      Field::route_from_time,
                                                       Field::route_to_time,   Field::route_alt_number};

void store_route(ConfigRecord& rec, int k, const char* ext, const char* vox, const char* port, const char* from,
                 const char* to, const char* alt)
{
    zel::set_field(rec, Field::route_ext, k, ext);
    zel::set_field(rec, Field::route_vox, k, vox);
    zel::set_field(rec, Field::route_port, k, port);
    zel::set_field(rec, Field::route_from_time, k, from);
    zel::set_field(rec, Field::route_to_time, k, to);
    zel::set_field(rec, Field::route_alt_number, k, alt);
}

VoiceChoice choice_of(std::vector<std::string> paths, std::size_t limit = zel::kRouteVoiceLimit)
{
    zel::VoicePathList list;
    list.assign(paths);
    return zel::decide_voice_choice(true, list, limit);
}

}  // namespace

TEST(RouteForm, EveryRouteWithAnExtensionIsShownAndSurvivesASave)
{
    struct Case {
        const char* what;
        const char* ext;
        bool shown;
        const char* saved_ext;
    };
    const std::vector<Case> cases = {
        {"four digits", "1234", true, "1234"},
        {"three digits", "123", true, "123"},
        {"one digit", "7", true, "7"},
        {"five digits cut to four", "12345", true, "1234"},
        {"four non-digits", "ab#*", true, "ab#*"},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        store_route(rec, 4, c.ext, "C:\\Voice\\Sales.vox", "12", "08:00:00 AM", "05:15:00 PM", "95551234");
        const zel::RouteForm form = zel::load_route_form(rec);
        const zel::RouteRow& row = form.rows[4];
        EXPECT_EQ(c.shown ? c.ext : "", row.ext) << c.what;
        EXPECT_EQ("C:\\Voice\\Sales.vox", row.vox) << c.what;
        EXPECT_EQ("12", row.port) << c.what;
        EXPECT_EQ("95551234", row.alt) << c.what;
        EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{8, 0, 0}), row.from) << c.what;
        EXPECT_EQ(std::optional<TimeOfDay>(TimeOfDay{17, 15, 0}), row.to) << c.what;

        zel::save_route_form(form, rec, kOpenedAt);
        EXPECT_EQ(c.saved_ext, zel::get_field(rec, Field::route_ext, 4)) << c.what;
        EXPECT_EQ("C:\\Voice\\Sales.vox", zel::get_field(rec, Field::route_vox, 4)) << c.what;
        EXPECT_EQ("12", zel::get_field(rec, Field::route_port, 4)) << c.what;
        EXPECT_EQ("08:00:00 AM", zel::get_field(rec, Field::route_from_time, 4)) << c.what;
        EXPECT_EQ("05:15:00 PM", zel::get_field(rec, Field::route_to_time, 4)) << c.what;
        EXPECT_EQ("95551234", zel::get_field(rec, Field::route_alt_number, 4)) << c.what;
    }
}

TEST(RouteForm, RouteWithoutExtensionIsNotShownAndSavesAsAnEmptyRowAtTheOpeningTime)
{
    ConfigRecord rec = zel::default_record();
    store_route(rec, 9, "", "C:\\lost.vox", "14", "01:00:00 AM", "02:00:00 AM", "555");
    const zel::RouteForm form = zel::load_route_form(rec);
    const zel::RouteRow& row = form.rows[9];
    EXPECT_EQ("", row.vox);
    EXPECT_EQ("", row.port);
    EXPECT_FALSE(row.from.has_value());
    EXPECT_FALSE(row.to.has_value());

    zel::save_route_form(form, rec, kOpenedAt);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ("", zel::get_field(rec, Field::route_ext, k)) << k;
        EXPECT_EQ("", zel::get_field(rec, Field::route_vox, k)) << k;
        EXPECT_EQ("", zel::get_field(rec, Field::route_port, k)) << k;
        EXPECT_EQ("", zel::get_field(rec, Field::route_alt_number, k)) << k;
        EXPECT_EQ(kOpenedAtText, zel::get_field(rec, Field::route_from_time, k)) << k;
        EXPECT_EQ(kOpenedAtText, zel::get_field(rec, Field::route_to_time, k)) << k;
    }
}

TEST(RouteForm, StoredTimesLoadByTheClockRuleAndSaveBackAsShown)
{
    struct Case {
        const char* stored;
        std::optional<TimeOfDay> shown;
        const char* saved;
    };
    const std::vector<Case> cases = {
        {"12:30:00 AM", TimeOfDay{0, 30, 0}, "12:30:00 AM"},
        {"12:30:00 PM", TimeOfDay{12, 30, 0}, "12:30:00 PM"},
        {"01:05:00 PM", TimeOfDay{13, 5, 0}, "01:05:00 PM"},
        {"", TimeOfDay{0, 0, 0}, "12:00:00 AM"},
        {"99:00:00 AM", std::nullopt, kOpenedAtText},
        {"13:00:00 PM", std::nullopt, kOpenedAtText},  // 13 + 12 is no hour of a day
        {"13:00:00 AM", TimeOfDay{13, 0, 0}, "01:00:00 PM"},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        store_route(rec, 0, "1000", "C:\\v.vox", "11", c.stored, c.stored, "");
        const zel::RouteForm form = zel::load_route_form(rec);
        EXPECT_EQ(c.shown, form.rows[0].from) << c.stored;
        EXPECT_EQ(c.shown, form.rows[0].to) << c.stored;
        zel::save_route_form(form, rec, kOpenedAt);
        EXPECT_EQ(c.saved, zel::get_field(rec, Field::route_from_time, 0)) << c.stored;
        EXPECT_EQ(c.saved, zel::get_field(rec, Field::route_to_time, 0)) << c.stored;
    }
}

TEST(RouteForm, ShortGeneralVoicesAreHiddenAndSaveCutsEveryField)
{
    struct Case {
        const char* stored;
        const char* shown;
    };
    const std::vector<Case> cases = {
        {"", ""}, {"abc", ""}, {"abcd", "abcd"}, {"         ", "         "}, {"C:\\a.vox", "C:\\a.vox"},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        zel::set_field(rec, Field::transfer_vox, c.stored);
        zel::set_field(rec, Field::no_input_vox, c.stored);
        const zel::RouteForm form = zel::load_route_form(rec);
        EXPECT_EQ(c.shown, form.transfer_vox) << c.stored;
        EXPECT_EQ(c.shown, form.no_input_vox) << c.stored;
        zel::save_route_form(form, rec, kOpenedAt);
        EXPECT_EQ(c.shown, zel::get_field(rec, Field::no_input_vox)) << c.stored;
    }

    ConfigRecord rec = fixture::full_record();
    const ConfigRecord before = rec;
    zel::RouteForm form = zel::load_route_form(rec);
    EXPECT_EQ(5u, form.default_port.size());
    EXPECT_EQ(127u, form.rows[15].vox.size());
    EXPECT_EQ(5u, form.rows[15].ext.size());
    form.rows[2].ext = "12345";
    zel::save_route_form(form, rec, kOpenedAt);
    EXPECT_EQ("1234", zel::get_field(rec, Field::route_ext, 2));
    EXPECT_EQ(4u, zel::get_field(rec, Field::default_port).size());
    EXPECT_EQ(121u, zel::get_field(rec, Field::transfer_vox).size());
    EXPECT_EQ(121u, zel::get_field(rec, Field::no_input_vox).size());
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(zel::get_field(before, Field::route_vox, k).substr(0, 121), zel::get_field(rec, Field::route_vox, k));
        EXPECT_EQ(zel::get_field(before, Field::route_port, k).substr(0, 22), zel::get_field(rec, Field::route_port, k));
        EXPECT_EQ(zel::get_field(before, Field::route_alt_number, k).substr(0, 22),
                  zel::get_field(rec, Field::route_alt_number, k));
    }
    // Routes 16 to 59 and every field the dialog does not show are left alone.
    std::vector<std::size_t> stray = fixture::changes_outside(
        before, rec, {Field::transfer_vox, Field::no_input_vox, Field::default_port}, 16);
    std::vector<std::size_t> outside_routes;
    for (std::size_t at : stray) {
        if (!fixture::inside(at, kRouteFields, 16)) outside_routes.push_back(at);
    }
    EXPECT_TRUE(outside_routes.empty()) << outside_routes.size() << " bytes, first at " << outside_routes.front();
}

TEST(RouteForm, OneVoiceForAllGoesToTheRecordAtOnceAndToEveryRouteAtSave)
{
    ConfigRecord rec = zel::default_record();
    store_route(rec, 3, "2000", "C:\\old.vox", "13", "", "", "");
    zel::RouteForm form = zel::load_route_form(rec);
    const VoiceChoice choice = choice_of({"C:\\Voice\\All.vox"});
    ASSERT_TRUE(zel::choose_one_voice(form, rec, choice));

    EXPECT_EQ("C:\\Voice\\All.vox", zel::get_field(rec, Field::transfer_vox));
    EXPECT_EQ("C:\\old.vox", zel::get_field(rec, Field::route_vox, 3)) << "routes take it only at Save";
    EXPECT_EQ("", zel::get_field(rec, Field::no_input_vox));
    EXPECT_EQ("C:\\Voice\\All.vox", form.transfer_vox);
    EXPECT_EQ("C:\\Voice\\All.vox", form.no_input_vox);
    for (const zel::RouteRow& row : form.rows) EXPECT_EQ("C:\\Voice\\All.vox", row.vox);

    zel::save_route_form(form, rec, kOpenedAt);
    for (int k = 0; k < 16; ++k) EXPECT_EQ("C:\\Voice\\All.vox", zel::get_field(rec, Field::route_vox, k)) << k;
    EXPECT_EQ("C:\\Voice\\All.vox", zel::get_field(rec, Field::no_input_vox));
    EXPECT_EQ("", zel::get_field(rec, Field::route_vox, 16));
}

TEST(RouteForm, RowAndDefaultVoiceButtonsStoreAtOnceOnlyWhenSet)
{
    struct Case {
        const char* what;
        std::vector<std::string> paths;
        bool changes;
    };
    const std::string long_path = "C:\\" + std::string(119, 'x') + ".vox";  // 126 characters
    const std::vector<Case> cases = {
        {"a chosen file", {"C:\\Voice\\Row.vox"}, true},
        {"an empty selection keeps the voice", {}, false},
        {"a path over 121 characters is refused", {long_path}, false},
    };
    for (const Case& c : cases) {
        ConfigRecord rec = zel::default_record();
        store_route(rec, 15, "1999", "C:\\old.vox", "16", "", "", "");
        zel::set_field(rec, Field::no_input_vox, "C:\\none.vox");
        zel::set_field(rec, Field::transfer_vox, "C:\\all.vox");
        zel::RouteForm form = zel::load_route_form(rec);
        const VoiceChoice choice = choice_of(c.paths);

        EXPECT_EQ(c.changes, zel::choose_route_voice(form, rec, 15, choice)) << c.what;
        EXPECT_EQ(c.changes, zel::choose_no_input_voice(form, rec, choice)) << c.what;
        EXPECT_EQ(c.changes, zel::choose_one_voice(form, rec, choice)) << c.what;
        const std::string row_voice = c.changes ? "C:\\Voice\\Row.vox" : "C:\\old.vox";
        EXPECT_EQ(row_voice, form.rows[15].vox) << c.what;
        EXPECT_EQ(row_voice, zel::get_field(rec, Field::route_vox, 15)) << c.what;
        EXPECT_EQ(c.changes ? "C:\\Voice\\Row.vox" : "C:\\none.vox", zel::get_field(rec, Field::no_input_vox)) << c.what;
        EXPECT_EQ(c.changes ? "C:\\Voice\\Row.vox" : "C:\\all.vox", zel::get_field(rec, Field::transfer_vox)) << c.what;
        EXPECT_EQ(c.changes ? "C:\\Voice\\Row.vox" : "", form.rows[0].vox) << c.what;
    }
    ConfigRecord rec = zel::default_record();
    zel::RouteForm form;
    EXPECT_FALSE(zel::choose_route_voice(form, rec, 16, choice_of({"C:\\x.vox"})));
    EXPECT_FALSE(zel::choose_route_voice(form, rec, -1, choice_of({"C:\\x.vox"})));
    EXPECT_EQ(zel::default_record(), rec);
}

TEST(RouteForm, ClearAllSelectionThenSaveStoresNineSpacesAndEmptyVoices)
{
    ConfigRecord rec = fixture::full_record();
    zel::RouteForm form = zel::load_route_form(rec);
    const std::string port_before = form.default_port;
    zel::clear_all_selection(form);
    EXPECT_EQ(port_before, form.default_port);
    zel::save_route_form(form, rec, kOpenedAt);
    EXPECT_EQ("         ", zel::get_field(rec, Field::transfer_vox));
    EXPECT_EQ("         ", zel::get_field(rec, Field::route_vox, 0));
    EXPECT_EQ("         ", zel::get_field(rec, Field::route_vox, 1));
    for (int k = 2; k < 16; ++k) EXPECT_EQ("", zel::get_field(rec, Field::route_vox, k)) << k;
    EXPECT_EQ("", zel::get_field(rec, Field::no_input_vox));
    EXPECT_NE("", zel::get_field(rec, Field::route_port, 5)) << "only the voices are cleared";
}
