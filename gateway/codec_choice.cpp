// The caller's codec (see codec_choice.h).
#include "codec_choice.h"

#include <strings.h>

namespace zelgate {

namespace {

bool named(const OfferedFormat& f, const char* name) { return strcasecmp(f.name.c_str(), name) == 0; }

}  // namespace

CodecChoice choose_codec(const std::vector<OfferedFormat>& offer) {
    CodecChoice c;
    for (const OfferedFormat& f : offer) {
        if (f.pt < 0 || f.pt > 127) continue;
        // Static payload types need no rtpmap; a dynamic one is only what its name says.
        bool pcmu = f.pt == 0 || (f.pt >= 96 && named(f, "PCMU") && f.rate == 8000);
        bool pcma = f.pt == 8 || (f.pt >= 96 && named(f, "PCMA") && f.rate == 8000);
        if (c.codec == Codec::None && (pcmu || pcma)) {
            c.codec = pcmu ? Codec::Pcmu : Codec::Pcma;
            c.pt = f.pt;
        }
        if (c.event_pt < 0 && f.pt >= 96 && named(f, "telephone-event") && f.rate == 8000) c.event_pt = f.pt;
    }
    return c;
}

const char* codec_name(Codec c) {
    switch (c) {
    case Codec::Pcmu: return "PCMU";
    case Codec::Pcma: return "PCMA";
    case Codec::None: break;
    }
    return "none";
}

}  // namespace zelgate
