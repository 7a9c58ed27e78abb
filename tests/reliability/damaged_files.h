// The damaged record files every reader of a record is handed, and what each reader must
// do with each of them. One table, used by the portable tests (zelcfg and the tool's file
// code, natively and under Wine) and by the GUI tests of Plandesk's dialogs and of
// Vornline's Open. Every case is made from one complete design, so that whatever differs
// from the sound file's outcome is the damage's doing.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "config_record.h"

namespace reliability {

// How the case is put where the file should be.
enum class Form {
    bytes,      // a file holding `bytes`
    directory,  // a folder of the file's name
    read_only,  // a file holding `bytes`, marked read-only
};

// What Vornline's Open makes of the case as its command file.
enum class RuntimeOpen {
    loaded,         // taken like any file: the channels open
    unreadable,     // "Reading ZEL_SYSTEM.CMD Command File Has Failed"
    not_validated,  // "Command File Not Validated"
};

struct Expected {
    bool whole_image;     // a text-mode read gets all 30054 record bytes
    int check;            // zelcfg check's exit status
    bool structure_sound; // zelcfg set may rewrite it (line ends and size in place)
    int report;           // zelcfg report's exit status (the design has no show-stopper)
    RuntimeOpen runtime;
};

struct DamagedFile {
    const char* name;
    const char* damage;  // how the file differs from the sound design
    Form form;
    std::string bytes;
    Expected expected;
};

// Test names and failure messages show the case by its name.
inline void PrintTo(const DamagedFile& c, std::ostream* os) { *os << c.name; }

// A complete design: five voices, a voice type, a complete route, open hours, validated.
// Its voices are the relative names of kVoiceFiles.
zel::ConfigRecord designed_record();
inline constexpr const char* kVoiceFiles[] = {"open.vox", "closed.vox", "wrong.vox", "none.vox",
                                              "bye.vox",  "sales.vox",  "desk.vox"};

// Every case, in a fixed order; the bytes never depend on the run.
std::vector<DamagedFile> damaged_files();

// The sound design's own file, for comparison.
std::string designed_file();

}  // namespace reliability
