// Records the tests build again and again: an office that is open at every minute of
// every day, so that whatever a call does follows from its keys alone, and a field setter
// that says when a value does not fit. Portable: native and Windows tests use it.
#pragma once

#include <string>

#include "config_record.h"

namespace testrec {

// Sets a field and reports the field when the value does not fit whole.
bool put(zel::ConfigRecord& rec, zel::Field f, int index, const std::string& text, std::string* why = nullptr);

// A validated office open from 12:00:00 AM to 11:59:00 PM every day (so the open greeting
// plays and no schedule flag is set at any minute), 8 kHz voices (type index 2,
// "DRT_8KHZ"), answered on the first ring, two pauses after the flash and three after an
// outside-line digit, default port 100. No voices and no routes.
zel::ConfigRecord open_every_day();

}  // namespace testrec
