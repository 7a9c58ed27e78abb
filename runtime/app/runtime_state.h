// The runtime's process-wide state: made at start-up, kept until exit. The command
// record and the play format are written only by the Open command, before any channel
// thread exists, and only read afterwards.
#pragma once

#include <windows.h>

#include <cstdio>
#include <memory>

#include "call_log.h"
#include "config_record.h"
#include "languages.h"
#include "voicelib.h"

namespace vorn {

struct RuntimeState {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;

    zel::ConfigRecord command{};        // the command record
    std::FILE* command_file = nullptr;  // open from a successful load until the main window goes
    bool command_loaded = false;
    bool channels_open = false;
    VlPlayFormat play_format{VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, 0, VL_BITS_PER_SAMPLE};

    HDC background = nullptr;  // memory picture of bitmap "ZEL"
    HBITMAP background_bitmap = nullptr;
    HGDIOBJ background_previous = nullptr;

    Language* languages = nullptr;
    ChannelLabels labels{};

    // The call log in the program's own folder; made at start-up before any channel
    // thread, shared by the channel threads under its own lock.
    std::unique_ptr<zel::CallLog> call_log;
};

RuntimeState& runtime();

// What the other runtime parts read.
inline const zel::ConfigRecord& command_record() { return runtime().command; }
inline const VlPlayFormat& play_format() { return runtime().play_format; }

}  // namespace vorn
