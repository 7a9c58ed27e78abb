// The SIP gateway's own parsing of what others send it: the board's event lines (audio
// payloads included), the dial strings that become REFER targets, the formats of an SDP
// offer and the --allow blocks. The first byte chooses the reader; the rest is its input.
#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

#include "allow_list.h"
#include "audio_line.h"
#include "board_event.h"
#include "codec_choice.h"
#include "fuzz_check.h"
#include "refer_target.h"

namespace {

bool is_key(char c) { return (c >= '0' && c <= '9') || c == '*' || c == '#'; }

void board_line(const std::string& text) {
    zelgate::BoardEvent e;
    if (!zelgate::parse_board_event(text, e)) return;
    using K = zelgate::BoardEventKind;
    FUZZ_CHECK(e.ms >= 0, "stamp %ld", e.ms);
    if (e.kind != K::Other && e.kind != K::Error) FUZZ_CHECK(e.line >= 1 && e.line <= 4, "line %d", e.line);
    if (e.kind == K::Audio || e.kind == K::Play) FUZZ_CHECK(e.rate >= 1000 && e.rate <= 48000, "rate %d", e.rate);
    if (e.kind == K::Audio) {
        std::vector<std::int16_t> samples, again;
        if (simboard::decode_audio_samples(e.rest, samples)) {
            // What decodes must survive the board's own encoding unchanged.
            std::string line = simboard::format_audio_line(e.line, e.rate, samples.data(), samples.size());
            FUZZ_CHECK(simboard::decode_audio_samples(line.substr(line.rfind(' ') + 1), again) && again == samples,
                       "audio round trip of %zu samples", samples.size());
        }
    }
    if (e.kind == K::Dial) {
        auto digits = zelgate::refer_digits(e.rest);
        if (digits) {
            FUZZ_CHECK(!digits->empty(), "empty target from '%s'", e.rest.c_str());
            for (char c : *digits) FUZZ_CHECK(is_key(c), "target '%s'", digits->c_str());
        }
    }
}

void offer(FuzzedDataProvider& in) {
    std::vector<zelgate::OfferedFormat> formats;
    while (in.remaining_bytes() > 0 && formats.size() < 32)
        formats.push_back({in.ConsumeIntegralInRange(-2, 130), in.ConsumeRandomLengthString(20),
                           in.ConsumeIntegralInRange(0, 50000)});
    zelgate::CodecChoice c = zelgate::choose_codec(formats);
    FUZZ_CHECK((c.codec == zelgate::Codec::None) == (c.pt < 0), "codec and type disagree (pt %d)", c.pt);
    bool offered = c.pt < 0, event_offered = c.event_pt < 0;
    for (const auto& f : formats) {
        offered = offered || f.pt == c.pt;
        event_offered = event_offered || f.pt == c.event_pt;
    }
    FUZZ_CHECK(offered && event_offered, "chose types %d/%d the caller never offered", c.pt, c.event_pt);
    FUZZ_CHECK(c.pt < 0 || (c.pt >= 0 && c.pt <= 127), "payload type %d", c.pt);
}

void allow(FuzzedDataProvider& in) {
    zelgate::AllowList list;
    const std::string block = in.ConsumeRandomLengthString(64);
    const bool added = list.add(block);
    const std::string who = in.ConsumeRandomLengthString(64);
    // An empty list is the loopback default; a bare address always admits itself.
    if (added && block.find('/') == std::string::npos)
        FUZZ_CHECK(list.allows(block), "'%s' does not admit itself", block.c_str());
    list.allows(who);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    FuzzedDataProvider in(data + 1, size - 1);
    switch (data[0] % 3) {
    case 0: board_line(in.ConsumeBytesAsString(in.remaining_bytes())); break;
    case 1: offer(in); break;
    default: allow(in); break;
    }
    return 0;
}
