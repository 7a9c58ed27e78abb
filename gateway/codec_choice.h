// Which of a caller's offered formats the gateway speaks: the first of PCMU and PCMA in
// the caller's order of preference, and the caller's telephone-event payload type when it
// offers one at 8000 Hz. Portable, so the choice is tested without a network.
#pragma once

#include <string>
#include <vector>

namespace zelgate {

struct OfferedFormat {
    int pt = -1;
    std::string name;   // encoding name as offered, any case
    int rate = 0;
};

enum class Codec { None, Pcmu, Pcma };

struct CodecChoice {
    Codec codec = Codec::None;
    int pt = -1;         // the payload type the caller gave it (0 or 8 when static)
    int event_pt = -1;   // telephone-event, -1 when not offered
};

CodecChoice choose_codec(const std::vector<OfferedFormat>& offer);

const char* codec_name(Codec c);

}  // namespace zelgate
