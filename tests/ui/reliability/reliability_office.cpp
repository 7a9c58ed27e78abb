// The office every reliability run of Vornline serves.
#include "reliability_office.h"

#include "test_records.h"

namespace rel {

zel::ConfigRecord open_office()
{
    using zel::Field;
    zel::ConfigRecord r = testrec::open_every_day();
    testrec::put(r, Field::open_greeting_vox, 0, "open.vox");
    testrec::put(r, Field::closed_greeting_vox, 0, "closed.vox");
    testrec::put(r, Field::wrong_ext_vox, 0, "wrong.vox");
    testrec::put(r, Field::no_input_vox, 0, "none.vox");
    testrec::put(r, Field::system_error_vox, 0, "bye.vox");
    for (int k = 0; k < 16; ++k) {
        testrec::put(r, Field::route_ext, k, std::to_string(1001 + k));
        testrec::put(r, Field::route_port, k, std::to_string(201 + k));
        testrec::put(r, Field::route_vox, k, k % 2 == 0 ? "sales.vox" : "desk.vox");
    }
    return r;
}

std::string expected_dial(const std::string& keys)
{
    if (keys.size() == 4 && keys >= "1001" && keys <= "1016" && keys.find_first_not_of("0123456789") == std::string::npos)
        return "&,," + std::to_string(201 + (std::stoi(keys) - 1001));
    return "&,,100";
}

VornlineRun::VornlineRun() : vt::Vornline(8100, 100)
{
    for (const VoiceFile& v : kVoices) voice(v.name, v.seconds);
}

}  // namespace rel
