// The damaged record files every reader of a record is handed, and what each reader must
// do with each of them. One table, used by the portable tests (zelcfg and the tool's file
// code, natively and under Wine) and by the GUI tests of Plandesk's dialogs and of
// Vornline's Open. Every case is made from one complete design, so that whatever differs
// from the sound file's outcome is the damage's doing.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "config_record.h"

namespace reliability {

// How the case is put where the file should be.
enum class Form {
    bytes,      // a file holding `bytes`
    directory,  // a folder of the file's name
    read_only,  // a file holding `bytes`, marked read-only (a root user may still write it)
    locked,     // a file holding `bytes`, held open by another program that shares nothing
                // (Windows only: a reader on Linux has no sharing modes to meet)
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
    // The fault boxes (their texts, in the order a call shows them) that a silent caller
    // meets when Vornline has loaded the case: the plays its damage makes fail.
    std::array<const char*, 3> call_faults{};
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
