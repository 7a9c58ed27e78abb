// The board's event lines (see board_event.h).
#include "board_event.h"

#include <charconv>

namespace zelgate {

namespace {

std::string_view next_word(std::string_view& s) {
    std::size_t sp = s.find(' ');
    std::string_view w = s.substr(0, sp);
    s = sp == std::string_view::npos ? std::string_view{} : s.substr(sp + 1);
    return w;
}

bool whole_number(std::string_view w, long& out) {
    if (w.empty() || w.size() > 12) return false;
    auto r = std::from_chars(w.data(), w.data() + w.size(), out);
    return r.ec == std::errc() && r.ptr == w.data() + w.size() && out >= 0;
}

struct Word {
    const char* name;
    BoardEventKind kind;
};
constexpr Word kWords[] = {{"answer", BoardEventKind::Answer}, {"hook", BoardEventKind::HookOff},
                           {"play", BoardEventKind::Play},     {"playend", BoardEventKind::PlayEnd},
                           {"dial", BoardEventKind::Dial},     {"audio", BoardEventKind::Audio},
                           {"status", BoardEventKind::Status}, {"error", BoardEventKind::Error}};

}  // namespace

bool parse_board_event(std::string_view text, BoardEvent& out) {
    out = BoardEvent{};
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    long ms = 0;
    if (!whole_number(next_word(text), ms)) return false;
    out.ms = ms;
    std::string_view word = next_word(text);
    if (word.empty()) return false;
    for (const Word& w : kWords)
        if (word == w.name) out.kind = w.kind;
    if (out.kind == BoardEventKind::Error) {
        out.rest = std::string(text);
        return true;
    }
    if (out.kind == BoardEventKind::Other) return true;
    long line = 0;
    if (!whole_number(next_word(text), line) || line < 1 || line > 4) {
        out.kind = BoardEventKind::Other;
        return true;
    }
    out.line = static_cast<int>(line);
    switch (out.kind) {
    case BoardEventKind::HookOff: {
        std::string_view state = next_word(text);
        if (state == "on") out.kind = BoardEventKind::HookOn;
        else if (state != "off") out.kind = BoardEventKind::Other;
        break;
    }
    case BoardEventKind::Play:
    case BoardEventKind::Audio: {
        long rate = 0;
        if (!whole_number(next_word(text), rate) || rate < 1000 || rate > 48000) {
            out.kind = BoardEventKind::Other;
            break;
        }
        out.rate = static_cast<int>(rate);
        out.rest = std::string(text);
        break;
    }
    default: out.rest = std::string(text); break;
    }
    if (out.kind == BoardEventKind::Other) out.line = 0;
    return true;
}

}  // namespace zelgate
