// The system's own wording for the fault behind a failed C runtime file operation.
#pragma once

#include <string>

// Asks the system for the message of its last error; falls back to the C runtime's text
// for `err` when the system has none. Must run right after the failing call.
std::string system_reason(int err);
