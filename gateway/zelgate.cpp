// zelgate: each of the stand-in board's four lines as a SIP line. SIP, SDP, RTP and
// telephone events come from libre; G.711 and in-band key detection from librem;
// resampling from speexdsp (outgoing_audio). One libre main loop runs everything: the SIP
// stack, the board's control connection, the RTP sockets and the 20 ms frame timer.
// Every SIP request and response sent or taken, and every board event acted on, is one
// log line on standard output.
#include "board_event.h"
#include "codec_choice.h"
#include "line_pool.h"
#include "options.h"
#include "outgoing_audio.h"
#include "refer_target.h"

#include "audio_line.h"

extern "C" {
#include <re/re.h>
#include <rem/rem.h>
}

#include <netinet/in.h>
#include <sched.h>

#include <array>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

namespace zelgate {
namespace {

constexpr std::uint64_t kFrameMs = 20;
constexpr std::uint64_t kBoardRetryMs = 1000;
constexpr std::uint64_t kDrainLimitMs = 15000;

void log_line(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void log_line(const char* fmt, ...) {
    char text[600];
    va_list ap;
    va_start(ap, fmt);
    std::vsnprintf(text, sizeof text, fmt, ap);
    va_end(ap);
    std::printf("%llu %s\n", static_cast<unsigned long long>(tmr_jiffies()), text);
    std::fflush(stdout);
}

std::string pl_text(const struct pl& p) { return std::string(p.p ? p.p : "", p.p ? p.l : 0); }

enum class CallState { Ringing, Up, Ending };

struct Call {
    int line = 0;
    CallState state = CallState::Ringing;
    struct sipsess* sess = nullptr;
    struct sdp_session* sdp = nullptr;
    struct sdp_media* media = nullptr;
    struct rtp_sock* rtp = nullptr;
    struct telev* telev = nullptr;
    struct dtmf_dec* inband = nullptr;
    struct sip_request* refer = nullptr;
    struct tmr answer_limit {};
    struct sa remote_rtp {};
    struct sa caller {};  // where the INVITE came from
    CodecChoice codec;
    std::unique_ptr<OutgoingAudio> audio;
    std::uint32_t ts = 0;
    std::uint64_t last_rtp_ms = 0;
    bool got_events = false;  // telephone events seen: in-band detection is off
    bool board_answered = false;
    int pending_event = -1;   // a telephone event that began and has not yet ended
};

struct Gateway {
    Options opt;
    struct sip* sip = nullptr;
    struct sipsess_sock* sock = nullptr;
    struct sip_lsnr* notify_lsnr = nullptr;
    struct sipreg* reg = nullptr;
    struct tcp_conn* board = nullptr;
    bool board_up = false;
    bool board_failing = false;  // the last attempt failed (said once, not every second)
    std::string board_pending;
    struct tmr board_retry {};
    struct tmr frames {};
    std::uint64_t frames_epoch = 0, frames_sent = 0;
    struct sa listen {};
    LinePool pool;
    std::array<Call*, LinePool::kLines> calls{};
    std::array<std::uint64_t, LinePool::kLines> draining_since{};
    std::string password;
    std::string registrar_host;
};

Gateway g;

void board_send(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
void board_send(const char* fmt, ...) {
    if (!g.board || !g.board_up) return;
    char text[200];
    va_list ap;
    va_start(ap, fmt);
    int n = std::vsnprintf(text, sizeof text - 1, fmt, ap);
    va_end(ap);
    if (n < 0 || n >= static_cast<int>(sizeof text) - 1) return;
    log_line("board < %s", text);
    text[n] = '\n';
    struct mbuf* mb = mbuf_alloc(static_cast<std::size_t>(n) + 1);
    if (!mb) return;
    mbuf_write_mem(mb, reinterpret_cast<const std::uint8_t*>(text), static_cast<std::size_t>(n) + 1);
    mb->pos = 0;
    tcp_send(g.board, mb);
    mem_deref(mb);
}

// ---------------------------------------------------------------------------------------
// Calls

Call* call_on(int line) { return line >= 1 && line <= LinePool::kLines ? g.calls[line - 1] : nullptr; }

// Frees everything of a call; the SIP side has already been ended or answered.
void drop_call(Call* c, bool board_busy) {
    if (!c) return;
    g.calls[c->line - 1] = nullptr;
    g.pool.release(c->line, board_busy);
    if (board_busy) g.draining_since[c->line - 1] = tmr_jiffies();
    tmr_cancel(&c->answer_limit);
    c->refer = static_cast<struct sip_request*>(mem_deref(c->refer));
    c->sess = static_cast<struct sipsess*>(mem_deref(c->sess));
    c->rtp = static_cast<struct rtp_sock*>(mem_deref(c->rtp));
    c->media = nullptr;
    c->sdp = static_cast<struct sdp_session*>(mem_deref(c->sdp));
    c->telev = static_cast<struct telev*>(mem_deref(c->telev));
    c->inband = static_cast<struct dtmf_dec*>(mem_deref(c->inband));
    delete c;
}

// The board hears the caller hang up. A call not yet answered may have been answered on its
// way (Vornline's answer and the hang-up cross): its line stays taken until the board,
// asked at once, shows it idle, or puts it on-hook after the answer.
void hang_up_on_board(Call* c) {
    const bool answered = c->board_answered;
    board_send("hangup %d", c->line);
    drop_call(c, true);
    if (!answered) board_send("status");
}

// The caller is gone (BYE, CANCEL, silence, a failed transaction).
void caller_gone(Call* c, const char* why) {
    log_line("line %d: caller gone (%s)", c->line, why);
    hang_up_on_board(c);
}

void send_key(Call* c, char key, const char* how) {
    log_line("line %d: key %c (%s)", c->line, key, how);
    board_send("dtmf %d %c", c->line, key);
}

void on_inband_key(char digit, void* arg) {
    auto* c = static_cast<Call*>(arg);
    if (c->got_events) return;
    if ((digit >= '0' && digit <= '9') || digit == '*' || digit == '#') send_key(c, digit, "in-band");
}

void on_rtp(const struct sa* /*src*/, const struct rtp_header* hdr, struct mbuf* mb, void* arg) {
    auto* c = static_cast<Call*>(arg);
    c->last_rtp_ms = tmr_jiffies();
    if (c->state != CallState::Up) return;
    if (c->codec.event_pt >= 0 && hdr->pt == c->codec.event_pt) {
        int event = 0;
        bool end = false;
        // telev reports each event once as it begins and once as it ends, whatever the
        // number of repeated packets; the key goes to the board as the event ends.
        if (telev_recv(c->telev, mb, &event, &end) != 0) return;
        c->got_events = true;
        int digit = telev_code2digit(event);
        if (!end) {
            if (c->pending_event >= 0 && c->pending_event != event) {
                int lost = telev_code2digit(c->pending_event);  // its end packets never came
                if (lost > 0) send_key(c, static_cast<char>(lost), "telephone event");
            }
            c->pending_event = event;
            return;
        }
        c->pending_event = -1;
        if (digit > 0 && (std::isdigit(digit) || digit == '*' || digit == '#'))
            send_key(c, static_cast<char>(digit), "telephone event");
        return;
    }
    if (hdr->pt != c->codec.pt || c->got_events || !c->inband) return;
    std::size_t n = mbuf_get_left(mb);
    if (n == 0 || n > 1600) return;
    std::vector<std::int16_t> pcm(n);
    g711_decode(c->codec.codec, mbuf_buf(mb), n, pcm.data());
    dtmf_dec_probe(c->inband, pcm.data(), n);
}

void send_frame(Call* c, std::uint64_t now) {
    OutgoingAudio::Frame f = c->audio->next(now);
    struct mbuf* mb = mbuf_alloc(RTP_HEADER_SIZE + kFrameSamples);
    if (!mb) return;
    mb->pos = RTP_HEADER_SIZE;
    mbuf_write_mem(mb, f.payload, kFrameSamples);
    mb->pos = RTP_HEADER_SIZE;
    rtp_send(c->rtp, &c->remote_rtp, false, f.marker, static_cast<std::uint8_t>(c->codec.pt), c->ts, mb);
    mem_deref(mb);
    c->ts += kFrameSamples;
}

// One timer paces every line: frame n of the epoch is due at epoch + 20 n ms, so a late
// wake-up shortens the next wait instead of drifting.
void on_frame_tick(void*) {
    const std::uint64_t now = tmr_jiffies();
    for (Call* c : g.calls) {
        if (!c || c->state != CallState::Up) continue;
        if (now - c->last_rtp_ms > 1000ull * g.opt.silence_limit_s) {
            log_line("line %d: no RTP for %d s", c->line, g.opt.silence_limit_s);
            c->state = CallState::Ending;
            hang_up_on_board(c);  // freeing the session sends the BYE
            continue;
        }
        send_frame(c, now);
    }
    for (int i = 0; i < LinePool::kLines; ++i)
        if (!g.calls[i] && !g.pool.free(i + 1) && now - g.draining_since[i] > kDrainLimitMs) {
            // The board never showed the line on-hook; the status answer decides.
            g.draining_since[i] = now;
            board_send("status");
        }
    ++g.frames_sent;
    std::uint64_t due = g.frames_epoch + (g.frames_sent + 1) * kFrameMs;
    if (due < now) {
        // Far behind (a stopped process): start a new epoch rather than send a burst.
        g.frames_epoch = now;
        g.frames_sent = 0;
        due = now + kFrameMs;
    }
    tmr_start(&g.frames, due - now, on_frame_tick, nullptr);
}

void on_answer_limit(void* arg) {
    auto* c = static_cast<Call*>(arg);
    log_line("line %d: not answered within %d s", c->line, g.opt.answer_limit_s);
    sipsess_reject(c->sess, 480, "Temporarily Unavailable", nullptr);
    hang_up_on_board(c);
}

void on_sess_close(int err, const struct sip_msg* msg, void* arg) {
    auto* c = static_cast<Call*>(arg);
    char why[64];
    if (msg) std::snprintf(why, sizeof why, "%.*s", static_cast<int>(msg->met.l ? msg->met.l : msg->reason.l),
                           msg->met.l ? msg->met.p : msg->reason.p);
    else std::snprintf(why, sizeof why, "%s", err ? std::strerror(err) : "ended");
    caller_gone(c, why);
}

void on_sess_estab(const struct sip_msg*, void* arg) {
    log_line("line %d: call established", static_cast<Call*>(arg)->line);
}

void on_sess_info(struct sip* sip, const struct sip_msg* msg, void* arg) {
    auto* c = static_cast<Call*>(arg);
    if (msg_ctype_cmp(&msg->ctyp, "application", "dtmf-relay")) {
        struct pl signal;
        if (re_regex(reinterpret_cast<const char*>(mbuf_buf(msg->mb)), mbuf_get_left(msg->mb),
                     "Signal=[ ]*[0-9*#]1", nullptr, &signal) == 0 && c->state == CallState::Up)
            send_key(c, signal.p[0], "INFO");
        sip_reply(sip, msg, 200, "OK");
        return;
    }
    sip_reply(sip, msg, 415, "Unsupported Media Type");
}

void on_sess_refer(struct sip* sip, const struct sip_msg* msg, void*) { sip_reply(sip, msg, 603, "Decline"); }

int on_sess_offer(struct mbuf** descp, const struct sip_msg* msg, void* arg) {
    // A re-INVITE: take the new address, keep the codec.
    auto* c = static_cast<Call*>(arg);
    int err = sdp_decode(c->sdp, msg->mb, true);
    if (err) return err;
    c->remote_rtp = *sdp_media_raddr(c->media);
    return sdp_encode(descp, c->sdp, false);
}

int on_sess_answer(const struct sip_msg*, void*) { return 0; }

// The REFER's fate is logged; the call goes on as Vornline drives it either way.
void on_refer_response(int err, const struct sip_msg* msg, void* arg) {
    auto* c = static_cast<Call*>(arg);
    if (err) log_line("line %d: REFER failed: %s", c->line, std::strerror(err));
    else if (msg->scode >= 300)
        log_line("line %d: REFER refused: %u %.*s", c->line, msg->scode, static_cast<int>(msg->reason.l), msg->reason.p);
    else log_line("line %d: REFER accepted: %u", c->line, msg->scode);
    c->refer = nullptr;
}

void send_refer(Call* c, const std::string& digits) {
    std::string host = g.opt.transfer_host;
    if (host.empty()) host = g.registrar_host;
    char caller[64] = "";
    if (host.empty()) {
        sa_ntop(&c->caller, caller, sizeof caller);
        char with_port[80];
        if (sa_af(&c->caller) == AF_INET6) std::snprintf(with_port, sizeof with_port, "[%s]:%u", caller, sa_port(&c->caller));
        else std::snprintf(with_port, sizeof with_port, "%s:%u", caller, sa_port(&c->caller));
        host = with_port;
    }
    char target[200];
    std::snprintf(target, sizeof target, "sip:%s@%s", digits.c_str(), host.c_str());
    log_line("line %d: transfer to %s", c->line, target);
    if (c->refer) c->refer = static_cast<struct sip_request*>(mem_deref(c->refer));
    int err = sip_drequestf(&c->refer, g.sip, true, "REFER", sipsess_dialog(c->sess), 0, nullptr, nullptr,
                            on_refer_response, c, "Refer-To: <%s>\r\nContent-Length: 0\r\n\r\n", target);
    if (err) log_line("line %d: REFER not sent: %s", c->line, std::strerror(err));
}

bool on_sip_request(const struct sip_msg* msg, void*) {
    // NOTIFYs of a REFER's progress, inside a call's dialog.
    if (pl_strcmp(&msg->met, "NOTIFY") != 0) return false;
    for (Call* c : g.calls) {
        if (!c || !c->sess || !sip_dialog_cmp(sipsess_dialog(c->sess), msg)) continue;
        const std::size_t n = std::min<std::size_t>(mbuf_get_left(msg->mb), 60);
        std::string body(reinterpret_cast<const char*>(mbuf_buf(msg->mb)), n);
        for (char& ch : body)
            if (ch == '\r' || ch == '\n') ch = ' ';
        log_line("line %d: transfer progress: %s", c->line, body.c_str());
        sip_reply(g.sip, msg, 200, "OK");
        return true;
    }
    return false;
}

std::vector<OfferedFormat> offered(const struct sdp_media* m) {
    std::vector<OfferedFormat> out;
    const struct list* lst = sdp_media_format_lst(m, false);
    for (struct le* le = list_head(lst); le; le = le->next) {
        const auto* f = static_cast<const struct sdp_format*>(le->data);
        out.push_back({f->pt, f->name ? f->name : "", static_cast<int>(f->srate)});
    }
    return out;
}

// A media session that answers with exactly the chosen codec (and telephone events).
int make_media(Call* c, const struct sip_msg* msg, const struct sa* laddr) {
    int err = sdp_session_alloc(&c->sdp, laddr);
    if (!err) err = rtp_listen(&c->rtp, IPPROTO_UDP, laddr, 10000, 30000, false, on_rtp, nullptr, c);
    if (!err) err = sdp_media_add(&c->media, c->sdp, "audio", sa_port(rtp_local(c->rtp)), "RTP/AVP");
    if (err) return err;
    char id[16];
    std::snprintf(id, sizeof id, "%d", c->codec.pt);
    err = sdp_format_add(nullptr, c->media, false, id, codec_name(c->codec.codec), 8000, 1, nullptr, nullptr,
                         nullptr, false, nullptr);
    if (!err && c->codec.event_pt >= 0) {
        std::snprintf(id, sizeof id, "%d", c->codec.event_pt);
        err = sdp_format_add(nullptr, c->media, false, id, "telephone-event", 8000, 1, nullptr, nullptr, nullptr,
                             false, "0-15");
    }
    if (!err) err = sdp_decode(c->sdp, msg->mb, true);
    if (err) return err;
    c->remote_rtp = *sdp_media_raddr(c->media);
    return 0;
}

// The caller's codec, read with a throwaway session; None when the offer has no audio we speak.
CodecChoice offer_choice(const struct sip_msg* msg, const struct sa* laddr) {
    struct sdp_session* probe = nullptr;
    struct sdp_media* m = nullptr;
    CodecChoice choice;
    if (sdp_session_alloc(&probe, laddr) == 0 && sdp_media_add(&m, probe, "audio", 9, "RTP/AVP") == 0 &&
        sdp_decode(probe, msg->mb, true) == 0)
        choice = choose_codec(offered(m));
    mem_deref(probe);
    return choice;
}

void on_invite(const struct sip_msg* msg, void*) {
    char from[64] = "";
    sa_ntop(&msg->src, from, sizeof from);
    if (!g.opt.allow.allows(from)) {
        log_line("INVITE from %s: not allowed", from);
        sip_treply(nullptr, g.sip, msg, 403, "Forbidden");
        return;
    }
    if (!g.board_up) {
        sip_treply(nullptr, g.sip, msg, 503, "Service Unavailable");
        return;
    }
    struct sa laddr;
    sip_transp_laddr(g.sip, &laddr, msg->tp, &msg->src);
    const std::size_t body_at = msg->mb->pos;
    CodecChoice choice = offer_choice(msg, &laddr);
    msg->mb->pos = body_at;
    if (choice.codec == Codec::None) {
        sip_treply(nullptr, g.sip, msg, 488, "Not Acceptable Here");
        return;
    }
    const int line = g.pool.take();
    if (line == 0) {
        sip_treply(nullptr, g.sip, msg, 486, "Busy Here");
        return;
    }
    auto* c = new Call;
    c->line = line;
    c->codec = choice;
    c->caller = msg->src;
    c->last_rtp_ms = tmr_jiffies();
    g.calls[line - 1] = c;
    int err = make_media(c, msg, &laddr);
    msg->mb->pos = body_at;
    if (!err) err = telev_alloc(&c->telev, kFrameMs);
    if (!err) err = dtmf_dec_alloc(&c->inband, 8000, 1, on_inband_key, c);
    if (!err)
        err = sipsess_accept(&c->sess, g.sock, msg, 180, "Ringing", "attendant", "application/sdp", nullptr, nullptr,
                             nullptr, false, on_sess_offer, on_sess_answer, on_sess_estab, on_sess_info,
                             on_sess_refer, on_sess_close, c, "Allow: INVITE, ACK, BYE, CANCEL, INFO, NOTIFY\r\n");
    if (err) {
        log_line("line %d: cannot take the call: %s", line, std::strerror(err));
        if (!c->sess) sip_treply(nullptr, g.sip, msg, 500, "Server Internal Error");
        drop_call(c, false);
        return;
    }
    log_line("line %d: %s call from %s, ringing", line, codec_name(choice.codec), from);
    tmr_start(&c->answer_limit, 1000ull * g.opt.answer_limit_s, on_answer_limit, c);
    board_send("ring %d %d", line, g.opt.rings);
}

// ---------------------------------------------------------------------------------------
// The board

void on_board_event(const std::string& text) {
    BoardEvent e;
    if (!parse_board_event(text, e)) return;
    Call* c = call_on(e.line);
    switch (e.kind) {
    case BoardEventKind::Audio: {
        if (!c || c->state != CallState::Up) return;
        std::vector<std::int16_t> samples;
        if (simboard::decode_audio_samples(e.rest, samples))
            c->audio->push(e.rate, samples.data(), samples.size(), tmr_jiffies());
        return;
    }
    case BoardEventKind::Answer: {
        if (!c || c->state != CallState::Ringing) return;
        log_line("board > %s", text.c_str());
        struct mbuf* desc = nullptr;
        int err = sdp_encode(&desc, c->sdp, false);
        if (!err) err = sipsess_answer(c->sess, 200, "OK", desc, nullptr);
        mem_deref(desc);
        tmr_cancel(&c->answer_limit);
        c->board_answered = true;
        if (err) {
            log_line("line %d: cannot answer: %s", c->line, std::strerror(err));
            board_send("hangup %d", c->line);
            drop_call(c, true);
            return;
        }
        c->state = CallState::Up;
        c->audio = std::make_unique<OutgoingAudio>(c->codec.codec);
        c->last_rtp_ms = tmr_jiffies();
        return;
    }
    case BoardEventKind::HookOn:
        g.pool.on_hook(e.line);
        if (!c || !c->board_answered) return;
        log_line("board > %s", text.c_str());
        log_line("line %d: Vornline hung up", c->line);
        drop_call(c, false);  // freeing the session sends the BYE
        return;
    case BoardEventKind::Dial: {
        if (!c || c->state != CallState::Up) return;
        log_line("board > %s", text.c_str());
        auto digits = refer_digits(e.rest);
        if (digits) send_refer(c, *digits);
        return;
    }
    case BoardEventKind::Status:
        if (!c && e.rest == "idle") g.pool.on_hook(e.line);
        return;
    case BoardEventKind::Play:
        if (c) log_line("board > %s", text.c_str());
        return;
    case BoardEventKind::Error: log_line("board > %s", text.c_str()); return;
    default: return;
    }
}

void board_connect(void*);

void on_board_estab(void*) {
    g.board_up = true;
    g.board_failing = false;
    log_line("board: connected on port %d", g.opt.board_port);
    board_send("audio on");
    board_send("status");
}

void on_board_recv(struct mbuf* mb, void*) {
    g.board_pending.append(reinterpret_cast<const char*>(mbuf_buf(mb)), mbuf_get_left(mb));
    std::size_t start = 0, nl;
    while ((nl = g.board_pending.find('\n', start)) != std::string::npos) {
        on_board_event(g.board_pending.substr(start, nl - start));
        start = nl + 1;
    }
    g.board_pending.erase(0, start);
    if (g.board_pending.size() > 1 << 20) g.board_pending.clear();  // not the board talking
}

void on_board_close(int err, void*) {
    if (g.board_up) log_line("board: connection lost (%s)", err ? std::strerror(err) : "closed");
    else if (!g.board_failing) log_line("board: cannot connect (%s); trying every second", err ? std::strerror(err) : "closed");
    g.board_failing = !g.board_up;
    g.board_up = false;
    g.board = static_cast<struct tcp_conn*>(mem_deref(g.board));
    g.board_pending.clear();
    // Calls cannot go on without their lines.
    for (Call* c : g.calls) {
        if (!c) continue;
        if (c->state == CallState::Ringing) sipsess_reject(c->sess, 503, "Service Unavailable", nullptr);
        drop_call(c, false);
    }
    for (int line = 1; line <= LinePool::kLines; ++line) g.pool.on_hook(line);
    tmr_start(&g.board_retry, kBoardRetryMs, board_connect, nullptr);
}

void board_connect(void*) {
    struct sa peer;
    sa_set_str(&peer, "127.0.0.1", static_cast<std::uint16_t>(g.opt.board_port));
    int err = tcp_connect(&g.board, &peer, on_board_estab, on_board_recv, on_board_close, nullptr);
    if (err) on_board_close(err, nullptr);
}

// ---------------------------------------------------------------------------------------
// Registration

int on_auth(char** user, char** pass, const char* realm, void*) {
    log_line("registration: credentials for realm %s", realm);
    int err = str_dup(user, g.opt.auth_user.c_str());
    if (!err) err = str_dup(pass, g.password.c_str());
    return err;
}

void on_register_response(int err, const struct sip_msg* msg, void*) {
    if (err) log_line("registration failed: %s", std::strerror(err));
    else if (msg->scode >= 200 && msg->scode < 300) log_line("registered: %u", msg->scode);
    else log_line("registration refused: %u %.*s", msg->scode, static_cast<int>(msg->reason.l), msg->reason.p);
}

bool start_registration() {
    std::FILE* f = std::fopen(g.opt.password_file.c_str(), "rb");
    if (!f) {
        std::fprintf(stderr, "zelgate: cannot read %s\n", g.opt.password_file.c_str());
        return false;
    }
    char buf[256] = "";
    std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    g.password = buf;
    while (!g.password.empty() && (g.password.back() == '\n' || g.password.back() == '\r')) g.password.pop_back();
    struct uri u;
    struct pl uri_pl;
    pl_set_str(&uri_pl, g.opt.register_uri.c_str());
    if (uri_decode(&u, &uri_pl) != 0) {
        std::fprintf(stderr, "zelgate: bad --register URI\n");
        return false;
    }
    g.registrar_host = pl_text(u.host);
    if (u.port) g.registrar_host += ":" + std::to_string(u.port);
    // The attendant is the user of the registered address of record.
    std::string aor = "sip:" + g.opt.auth_user + "@" + pl_text(u.host);
    int err = sipreg_register(&g.reg, g.sip, g.opt.register_uri.c_str(), aor.c_str(), nullptr, aor.c_str(), 600,
                              "attendant", nullptr, 0, 0, on_auth, nullptr, false, on_register_response, nullptr,
                              nullptr, nullptr);
    if (err) {
        std::fprintf(stderr, "zelgate: cannot register: %s\n", std::strerror(err));
        return false;
    }
    return true;
}

// ---------------------------------------------------------------------------------------

void on_trace(bool tx, enum sip_transp tp, const struct sa* src, const struct sa* dst, const std::uint8_t* pkt,
              std::size_t len, void*) {
    std::size_t n = 0;
    while (n < len && n < 160 && pkt[n] != '\r' && pkt[n] != '\n') ++n;
    if (n == 0) return;  // keep-alive
    char peer[64] = "";
    sa_ntop(tx ? dst : src, peer, sizeof peer);
    log_line("sip %s %s %s:%u %.*s", tx ? ">" : "<", sip_transp_name(tp), peer, sa_port(tx ? dst : src),
             static_cast<int>(n), reinterpret_cast<const char*>(pkt));
}

// The frame timer is what must be on time: on a busy machine an ordinary process wakes
// several milliseconds late now and then, and the caller hears it as jitter. Real-time
// scheduling (root or CAP_SYS_NICE) puts zelgate ahead of everything ordinary; it uses
// well under 1 % of a core, so it takes nothing from the rest.
void raise_priority() {
    struct sched_param p {};
    p.sched_priority = 10;
    if (sched_setscheduler(0, SCHED_FIFO, &p) == 0) log_line("zelgate: real-time scheduling (FIFO %d)", p.sched_priority);
    else log_line("zelgate: ordinary scheduling (%s)", std::strerror(errno));
}

void on_signal(int sig) {
    log_line("signal %d: closing", sig);
    re_cancel();
}

void on_sip_exit(void*) { re_cancel(); }

}  // namespace
}  // namespace zelgate

int main(int argc, char** argv) {
    using namespace zelgate;
    std::string error;
    if (!parse_options(argc, argv, std::getenv("SIMBOARD_PORT"), g.opt, error)) {
        std::fprintf(stderr, "zelgate: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    if (g.opt.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (libre_init() != 0) return 1;
    if (sa_decode(&g.listen, g.opt.listen.c_str(), g.opt.listen.size()) != 0) {
        std::fprintf(stderr, "zelgate: bad --listen %s\n", g.opt.listen.c_str());
        return 2;
    }
    int err = sip_alloc(&g.sip, nullptr, 32, 32, 32, "zelgate", on_sip_exit, nullptr);
    if (!err) err = sip_transp_add(g.sip, SIP_TRANSP_UDP, &g.listen);
    if (!err) err = sip_transp_add(g.sip, SIP_TRANSP_TCP, &g.listen);
    if (!err) err = sip_listen(&g.notify_lsnr, g.sip, true, on_sip_request, nullptr);
    if (!err) err = sipsess_listen(&g.sock, g.sip, 32, on_invite, nullptr);
    if (err) {
        std::fprintf(stderr, "zelgate: cannot listen on %s: %s\n", g.opt.listen.c_str(), std::strerror(err));
        return 1;
    }
    sip_set_trace_handler(g.sip, on_trace);
    if (!g.opt.register_uri.empty() && !start_registration()) return 1;
    log_line("zelgate: SIP on %s (UDP, TCP), board on port %d", g.opt.listen.c_str(), g.opt.board_port);
    raise_priority();
    board_connect(nullptr);
    g.frames_epoch = tmr_jiffies();
    tmr_start(&g.frames, kFrameMs, on_frame_tick, nullptr);
    re_main(on_signal);

    for (Call* c : g.calls)
        if (c) {
            if (c->board_answered) board_send("hangup %d", c->line);
            drop_call(c, false);
        }
    tmr_cancel(&g.frames);
    tmr_cancel(&g.board_retry);
    mem_deref(g.reg);
    mem_deref(g.board);
    mem_deref(g.sock);
    mem_deref(g.notify_lsnr);
    sip_close(g.sip, false);
    mem_deref(g.sip);
    libre_close();
    return 0;
}
