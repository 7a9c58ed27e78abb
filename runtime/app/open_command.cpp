// The "Open" command.
#include "open_command.h"

#include "channel_setup.h"
#include "command_file.h"
#include "program_message.h"
#include "runtime_state.h"
#include "voicelib.h"

namespace vorn {

namespace {

// Opening the board proves only that the driver and the board answer; the
// channels open their own devices.
bool board_answers()
{
    int board = dx_open(VL_BOARD_NAME, 0);
    if (board < 0) {
        program_message("Failed to open dxxxB1, \n Please make sure your drivers are properly installed");
        return false;
    }
    sr_board_query(board);
    dx_close(board);
    return true;
}

// A channel that fails reports itself and is skipped; the others still open. Answers how
// many opened.
int open_channels(HWND main_window)
{
    int opened = 0;
    for (int n = 0; n < VL_CHANNEL_COUNT; ++n) {
        if (open_channel(main_window, n) == 0) ++opened;
    }
    return opened;
}

}  // namespace

void open_command(HWND main_window)
{
    RuntimeState& state = runtime();
    if (state.channels_open) {
        MessageBoxA(main_window, "Channels Are Ready To Accept Calls", "Channel Status", MB_OK);
        return;
    }
    if (!board_answers()) return;

    std::FILE* file = nullptr;
    switch (load_command_file(kCommandFileName, state.command, &file)) {
    case LoadOutcome::unreadable:
        MessageBoxA(main_window, "Reading ZEL_SYSTEM.CMD Command File Has Failed", "ZEL Phone System Cannot Start",
                    MB_OK);
        return;
    case LoadOutcome::not_validated:
        MessageBoxA(main_window, "Command File Not Validated", "ZEL_SYSTEM.CMD File", MB_OK);
        return;
    case LoadOutcome::loaded:
        break;
    }
    state.command_file = file;
    state.play_format.file_format = VL_FILE_FORMAT_VOX;
    state.play_format.data_format = VL_DATA_FORMAT_ADPCM;
    state.play_format.rate_code = rate_code_for(state.command);
    state.play_format.bits_per_sample = VL_BITS_PER_SAMPLE;
    state.command_loaded = true;
    if (open_channels(main_window) > 0) {
        state.channels_open = true;
        return;
    }
    // No line can take a call: the Open failed, each channel has said why. Idle again, as
    // after any failed Open, so the next Open runs whole and never calls this ready.
    std::fclose(state.command_file);
    state.command_file = nullptr;
    state.command_loaded = false;
}

}  // namespace vorn
