// The runtime's fault report: the "Program Message" box, system-modal and without an
// owner, so that any thread can raise it; it holds only the reporting thread until the
// operator acknowledges it. The format is always a fixed text of the program; outside
// text goes in as an argument.
#pragma once

#include "report_text.h"

namespace vorn {

void program_message(const char* format, ...) VORN_PRINTF_FORMAT(1, 2);

}  // namespace vorn
