// The channel thread's loop.
#include "channel_loop.h"

#include <cerrno>
#include <cstdio>

#include "call_flow.h"
#include "report_text.h"
#include "status_pictures.h"
#include "voicelib.h"

namespace vorn {

ChannelEnd run_channel(int device, const zel::ConfigRecord& cmd, ChannelHost& host)
{
    for (;;) {
        host.show_picture(zel::kPicturePhone);
        if (dx_sethook(device, VL_ONHOOK, VL_SYNC) < 0) {
            host.report_fault("dx_sethook failed");
            return ChannelEnd::onhook_failed;
        }
        host.waiting_for_call();
        // Fewer than one ring is not a wait the library defines; answer_rings
        // never asks for less than one.
        if (dx_wtring(device, zel::answer_rings(cmd), VL_OFFHOOK, VL_WAIT_FOREVER) < 0) {
            const int error = errno;
            const std::string text = format_report(
                "ERROR: dx_wtring failed. errno = %d\n,Please make sure your drivers are properly installed", error);
            host.report_fault(text.c_str());
            return ChannelEnd::ring_wait_failed;
        }
        host.show_picture(zel::kPictureAnswered);
        host.take_call();
        const bool on_hook = dx_sethook(device, VL_ONHOOK, VL_SYNC) >= 0;
        // The call is logged even when the line stays off-hook: it was taken all the same.
        host.call_over(on_hook);
        if (!on_hook) {
            host.report_fault("SET ONHOOK FAILED.");
            return ChannelEnd::hangup_failed;
        }
    }
}

std::string channel_device_name(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, VL_CHANNEL_NAME_FORMAT, static_cast<char>('1' + index));
    return name;
}

}  // namespace vorn
