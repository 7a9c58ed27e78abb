// The channel thread's loop: show the idle picture, put the line on-hook, wait for the
// configured number of rings, show the answered picture, hand the call to the call
// flow, put the line on-hook, and again, until a library failure ends the thread.
// Portable: the window and the call flow are reached through ChannelHost.
#pragma once

#include <string>

#include "config_record.h"

namespace vorn {

class ChannelHost {
public:
    virtual ~ChannelHost() = default;

    // Shows a status picture by its resource name in the channel's window, at once.
    virtual void show_picture(const char* name) = 0;

    // Shows a fault to the operator; `text` is complete, never a format. May block
    // until the operator acknowledges it.
    virtual void report_fault(const char* text) = 0;

    // Runs the call flow on the line, which has just been answered and is off-hook;
    // returns when the call is over.
    virtual void take_call() = 0;

    // The line is about to wait for rings: the time a call takes to be answered is
    // counted from no earlier than this.
    virtual void waiting_for_call() {}

    // The call taken last is over and the line has been put on-hook (`on_hook`), or
    // putting it on-hook failed; called before that failure is reported.
    virtual void call_over(bool /*on_hook*/) {}
};

// Why a channel's loop ended: the thread ends after reporting it, and the channel
// stays dead until the program is started again.
enum class ChannelEnd {
    onhook_failed,    // the line could not be put on-hook before a wait
    ring_wait_failed, // the ring wait failed
    hangup_failed,    // the line could not be put on-hook after a call
};

// Serves the line on `device` (a dx_open handle) with the command record `cmd`
// until a failure. Reads answer_ring afresh before every wait.
ChannelEnd run_channel(int device, const zel::ConfigRecord& cmd, ChannelHost& host);

// The device name of channel `index` (0-3): "dxxxB1C1" to "dxxxB1C4".
std::string channel_device_name(int index);

}  // namespace vorn
