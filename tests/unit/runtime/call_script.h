// What the call-flow tests share: short names for the reasons a play or a collection
// ends, the office with route 3, and the pieces a scripted call is made of.
#pragma once

#include <string>
#include <vector>

#include "fake_voicelib.h"
#include "test_record.h"

namespace zel::test {

constexpr int kDevice = 3;
constexpr VlPlayFormat kFormat{1, 1, 64, 4};

constexpr long kKey = VL_REASON_DIGIT_COUNT;
constexpr long kHangup = VL_REASON_HANGUP;
constexpr long kHangupAlt = VL_REASON_HANGUP_ALT;
constexpr long kTimeUp = VL_REASON_MAX_TIME;
constexpr long kEof = VL_REASON_END_OF_FILE;

inline const std::string kSales = "C:\\vox\\sales.vox";

// office_record() with route 3: 1234 to port 201, or to 9-555-1234 from 17:00 to 08:00;
// default port 100, two pauses after the flash and three after the outside line's 9.
inline ConfigRecord route_record()
{
    ConfigRecord rec = office_record();
    put(rec, Field::int_transfer_delay, "2");
    put(rec, Field::ext_transfer_delay, "3");
    put(rec, Field::default_port, "100");
    put(rec, Field::route_ext, 3, "1234");
    put(rec, Field::route_vox, 3, kSales);
    put(rec, Field::route_port, 3, "201");
    put(rec, Field::route_alt_number, 3, "95551234");
    put(rec, Field::route_from_time, 3, "05:00:00 PM");
    put(rec, Field::route_to_time, 3, "08:00:00 AM");
    return rec;
}

// The transfer's tail: announce, dial, goodbye.
inline std::vector<fakevl::Step> transfer(const std::string& voice, const std::string& dial)
{
    return {fakevl::play(voice, kEof), fakevl::dial(dial), fakevl::play(kGoodbye, kEof)};
}

}  // namespace zel::test

namespace fakevl {

// One script after another.
inline std::vector<Step> operator+(std::vector<Step> a, const std::vector<Step>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace fakevl
