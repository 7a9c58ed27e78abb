// What one caller hears (see outgoing_audio.h).
#include "outgoing_audio.h"

#include <speex/speex_resampler.h>

extern "C" {
#include <re/re_types.h>
#include <rem/rem_g711.h>
}

namespace zelgate {

namespace {

// The board paces its chunks from a loop that looks every 5 ms, under Wine on a busy
// machine later still; 15 ms in hand rides that out and keeps a play's first packet well
// under 40 ms after the play began.
constexpr std::uint64_t kSlackMs = 15;
constexpr int kQuality = 5;  // speexdsp's VoIP default: cheap, and clean enough for G.711

}  // namespace

void g711_encode(Codec codec, const std::int16_t* in, std::size_t count, std::uint8_t* out) {
    for (std::size_t i = 0; i < count; ++i) {
        // librem negates negative samples in 16 bits, so -32768 would index before its
        // tables; one step up encodes to the same code.
        const std::int16_t s = in[i] == -32768 ? static_cast<std::int16_t>(-32767) : in[i];
        out[i] = codec == Codec::Pcma ? g711_pcm2alaw(s) : g711_pcm2ulaw(s);
    }
}

void g711_decode(Codec codec, const std::uint8_t* in, std::size_t count, std::int16_t* out) {
    for (std::size_t i = 0; i < count; ++i)
        out[i] = codec == Codec::Pcma ? g711_alaw2pcm(in[i]) : g711_ulaw2pcm(in[i]);
}

OutgoingAudio::OutgoingAudio(Codec codec) : codec_(codec) {}

OutgoingAudio::~OutgoingAudio() {
    if (resampler_) speex_resampler_destroy(reinterpret_cast<SpeexResamplerState*>(resampler_));
}

void OutgoingAudio::push(int rate, const std::int16_t* samples, std::size_t count, std::uint64_t now_ms) {
    if (count == 0 || rate <= 0) return;
    if (queue_.empty() && !talking_) first_arrival_ms_ = now_ms;
    last_rate_ = rate;
    if (rate == 8000) {
        queue_.insert(queue_.end(), samples, samples + count);
        return;
    }
    auto* st = reinterpret_cast<SpeexResamplerState*>(resampler_);
    if (!st || resampler_rate_ != rate) {
        if (st) speex_resampler_destroy(st);
        int err = 0;
        st = speex_resampler_init(1, static_cast<spx_uint32_t>(rate), 8000, kQuality, &err);
        if (!st) return;
        // Without this the first play would begin with the filter's delay of silence.
        speex_resampler_skip_zeros(st);
        resampler_ = reinterpret_cast<SpeexResamplerState_*>(st);
        resampler_rate_ = rate;
    }
    std::vector<std::int16_t> out(count * 8000 / static_cast<std::size_t>(rate) + 16);
    spx_uint32_t in_len = static_cast<spx_uint32_t>(count), out_len = static_cast<spx_uint32_t>(out.size());
    speex_resampler_process_int(st, 0, samples, &in_len, out.data(), &out_len);
    queue_.insert(queue_.end(), out.begin(), out.begin() + out_len);
}

OutgoingAudio::Frame OutgoingAudio::next(std::uint64_t now_ms) {
    Frame f;
    std::int16_t pcm[kFrameSamples] = {};
    // A tick that finds nothing ends the play's talkspurt; the next audio starts another.
    if (talking_ && queue_.empty()) talking_ = false;
    // Resampled chunks come out a sample short or long now and then; a few ms in hand
    // keep that from cutting a frame short in the middle of a play.
    const std::size_t need = kFrameSamples + (last_rate_ == 8000 ? 0 : kFrameSamples / 4);
    if (!talking_ && queue_.size() >= need &&
        (queue_.size() >= need + kFrameSamples || now_ms >= first_arrival_ms_ + kSlackMs)) {
        talking_ = true;
        f.marker = true;
    }
    if (talking_) {
        const std::size_t n = std::min<std::size_t>(kFrameSamples, queue_.size());
        for (std::size_t i = 0; i < n; ++i) pcm[i] = queue_[i];
        queue_.erase(queue_.begin(), queue_.begin() + static_cast<long>(n));
        f.audio = true;
    }
    g711_encode(codec_, pcm, kFrameSamples, f.payload);
    return f;
}

}  // namespace zelgate
