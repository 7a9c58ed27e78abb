// What one caller hears: the board's plays, resampled to 8 kHz (speexdsp), held until
// the next 20 ms RTP frame is due, and encoded as PCMU or PCMA (librem's G.711). Between
// plays the frames are silence. A play's first frame waits until its first chunk has been
// in hand for 15 ms (or two frames are), so the board's next 20 ms chunk (sent when its
// first sample is due) arrives before it is needed and a play does not break up.
#pragma once

#include "codec_choice.h"

#include <cstdint>
#include <deque>
#include <vector>

struct SpeexResamplerState_;

namespace zelgate {

constexpr int kFrameSamples = 160;  // 20 ms at 8 kHz

class OutgoingAudio {
public:
    explicit OutgoingAudio(Codec codec);
    ~OutgoingAudio();
    OutgoingAudio(const OutgoingAudio&) = delete;
    OutgoingAudio& operator=(const OutgoingAudio&) = delete;

    // Samples of a play at `rate` arrived at `now_ms`.
    void push(int rate, const std::int16_t* samples, std::size_t count, std::uint64_t now_ms);

    struct Frame {
        std::uint8_t payload[kFrameSamples];
        bool marker = false;   // the first frame of a play
        bool audio = false;    // false: silence
    };
    // The frame due at `now_ms`.
    Frame next(std::uint64_t now_ms);

    std::size_t queued() const { return queue_.size(); }

private:
    Codec codec_;
    struct SpeexResamplerState_* resampler_ = nullptr;
    int resampler_rate_ = 0;
    std::deque<std::int16_t> queue_;
    std::uint64_t first_arrival_ms_ = 0;
    bool talking_ = false;
    int last_rate_ = 8000;
};

// Encodes `count` samples (librem's G.711 tables).
void g711_encode(Codec codec, const std::int16_t* in, std::size_t count, std::uint8_t* out);
void g711_decode(Codec codec, const std::uint8_t* in, std::size_t count, std::int16_t* out);

}  // namespace zelgate
