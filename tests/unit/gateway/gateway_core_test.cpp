// The gateway's own decisions, without a network: the board's event lines, transfer
// digits, who may call, the caller's codec, line allocation and the command line.
#include "allow_list.h"
#include "board_event.h"
#include "codec_choice.h"
#include "line_pool.h"
#include "options.h"
#include "refer_target.h"

#include <gtest/gtest.h>

namespace {

using namespace zelgate;

TEST(BoardEvent, LinesTheGatewayActsOn) {
    struct Case {
        const char* text;
        BoardEventKind kind;
        int line, rate;
        const char* rest;
    } cases[] = {
        {"14522 answer 1", BoardEventKind::Answer, 1, 0, ""},
        {"21601 hook 4 on\r", BoardEventKind::HookOn, 4, 0, ""},
        {"21601 hook 2 off", BoardEventKind::HookOff, 2, 0, ""},
        {"18392 dial 1 &,,201", BoardEventKind::Dial, 1, 0, "&,,201"},
        {"5 audio 3 11025 AgH//w==", BoardEventKind::Audio, 3, 11025, "AgH//w=="},
        {"14524 play 1 8000 C:\\voice\\greeting 1.vox", BoardEventKind::Play, 1, 8000, "C:\\voice\\greeting 1.vox"},
        {"8520 status 3 idle", BoardEventKind::Status, 3, 0, "idle"},
        {"22010 error line must be 1 to 4: ring 7 1", BoardEventKind::Error, 0, 0, "line must be 1 to 4: ring 7 1"},
        // Words and numbers the gateway does not act on are read, not trusted.
        {"1 open dxxxB1C1", BoardEventKind::Other, 0, 0, ""},
        {"1 answer 5", BoardEventKind::Other, 0, 0, ""},
        {"1 answer -1", BoardEventKind::Other, 0, 0, ""},
        {"1 hook 1 sideways", BoardEventKind::Other, 0, 0, ""},
        {"1 audio 1 99999999 AA==", BoardEventKind::Other, 0, 0, ""},
        {"1 audio 1 x AA==", BoardEventKind::Other, 0, 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        BoardEvent e;
        ASSERT_TRUE(parse_board_event(c.text, e));
        EXPECT_EQ(e.kind, c.kind);
        EXPECT_EQ(e.line, c.line);
        EXPECT_EQ(e.rate, c.rate);
        if (c.kind != BoardEventKind::Other) {
            EXPECT_EQ(e.rest, c.rest);
        }
    }
    for (const char* bad : {"", "answer 1", "-5 answer 1", "12x answer 1", "99999999999999 answer 1", "12"}) {
        BoardEvent e;
        EXPECT_FALSE(parse_board_event(bad, e)) << bad;
    }
}

TEST(ReferDigits, FlashAndDialBecomesDigitsOnly) {
    struct Case {
        const char* dial;
        const char* digits;  // nullptr: not a transfer
    } cases[] = {
        {"&,,201", "201"}, {"&,,9,,5550123", "95550123"}, {"&*72#", "*72#"}, {"&&,1", "1"},
        {"201", nullptr},  {"", nullptr},                 {"&,,", nullptr}, {"&,,20 1", nullptr},
        {"&,,201>", nullptr}, {"&,,201@evil", nullptr},   {"&,,2;x=1", nullptr},
        {"&123456789012345678901234567890123", nullptr},  // longer than any number
    };
    for (const Case& c : cases) {
        auto got = refer_digits(c.dial);
        if (c.digits) {
            ASSERT_TRUE(got.has_value()) << c.dial;
            EXPECT_EQ(*got, c.digits);
        } else {
            EXPECT_FALSE(got.has_value()) << c.dial << " gave " << got.value_or("");
        }
    }
}

TEST(AllowList, DefaultIsLoopbackAndBlocksMatchByPrefix) {
    AllowList loopback;
    for (const char* a : {"127.0.0.1", "127.5.6.7", "::1", "::ffff:127.0.0.1"}) EXPECT_TRUE(loopback.allows(a)) << a;
    for (const char* a : {"10.0.0.1", "::2", "128.0.0.1", "not an address"}) EXPECT_FALSE(loopback.allows(a)) << a;

    AllowList office;
    ASSERT_TRUE(office.add("192.168.10.0/23"));
    ASSERT_TRUE(office.add("fd00:1::/32"));
    ASSERT_TRUE(office.add("203.0.113.7"));
    struct {
        const char* address;
        bool allowed;
    } rows[] = {
        {"192.168.10.1", true},  {"192.168.11.254", true}, {"192.168.12.1", false}, {"192.168.9.255", false},
        {"203.0.113.7", true},   {"203.0.113.8", false},   {"fd00:1:ffff::1", true}, {"fd00:2::1", false},
        {"::ffff:192.168.10.9", true}, {"127.0.0.1", false},  // a list replaces the loopback default
    };
    for (const auto& r : rows) EXPECT_EQ(office.allows(r.address), r.allowed) << r.address;
    for (const char* bad : {"10.0.0.0/33", "fd00::/129", "10.0.0.0/", "10.0.0/8", "10.0.0.0/8x", "", "/8"})
        EXPECT_FALSE(office.add(bad)) << bad;
}

TEST(CodecChoice, CallersPreferenceAmongPcmuAndPcma) {
    struct Case {
        std::vector<OfferedFormat> offer;
        Codec codec;
        int pt, event_pt;
    } cases[] = {
        {{{0, "PCMU", 8000}, {8, "PCMA", 8000}, {101, "telephone-event", 8000}}, Codec::Pcmu, 0, 101},
        {{{8, "PCMA", 8000}, {0, "PCMU", 8000}}, Codec::Pcma, 8, -1},
        {{{18, "G729", 8000}, {8, "", 0}, {96, "TELEPHONE-EVENT", 8000}}, Codec::Pcma, 8, 96},  // static: no rtpmap needed
        {{{18, "G729", 8000}, {101, "telephone-event", 8000}}, Codec::None, -1, 101},
        {{{97, "pcmu", 8000}}, Codec::Pcmu, 97, -1},
        {{{97, "PCMU", 16000}, {98, "telephone-event", 48000}}, Codec::None, -1, -1},
        {{{3, "PCMU", 8000}}, Codec::None, -1, -1},  // a static type means what the table says
        {{}, Codec::None, -1, -1},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(i);
        CodecChoice c = choose_codec(cases[i].offer);
        EXPECT_EQ(c.codec, cases[i].codec);
        EXPECT_EQ(c.pt, cases[i].pt);
        EXPECT_EQ(c.event_pt, cases[i].event_pt);
    }
}

TEST(LinePool, LowestFreeLineAndAnsweredLinesWaitForTheBoard) {
    LinePool pool;
    EXPECT_EQ(pool.take(), 1);
    EXPECT_EQ(pool.take(), 2);
    EXPECT_EQ(pool.take(), 3);
    EXPECT_EQ(pool.take(), 4);
    EXPECT_EQ(pool.take(), 0);  // a fifth call: busy
    pool.release(2, false);     // never answered on the board
    pool.release(1, true);      // answered: Vornline has yet to put it down
    EXPECT_EQ(pool.take(), 2);
    EXPECT_EQ(pool.take(), 0);
    pool.on_hook(3);            // a line with a call on it is not freed by its hook
    EXPECT_FALSE(pool.free(3));
    pool.on_hook(1);
    EXPECT_EQ(pool.take(), 1);
    EXPECT_EQ(pool.in_use(), 4);
}

TEST(Options, NamesDefaultsAndRefusals) {
    Options o;
    std::string error;
    const char* none[] = {"zelgate"};
    ASSERT_TRUE(parse_options(1, none, nullptr, o, error));
    EXPECT_EQ(o.listen, "127.0.0.1:5060");
    EXPECT_EQ(o.board_port, 7311);
    EXPECT_EQ(o.rings, 999);
    EXPECT_EQ(o.answer_limit_s, 60);
    EXPECT_EQ(o.silence_limit_s, 60);
    EXPECT_TRUE(o.allow.allows("127.0.0.1"));
    ASSERT_TRUE(parse_options(1, none, "7400", o, error));
    EXPECT_EQ(o.board_port, 7400);

    const char* all[] = {"zelgate", "--listen", "0.0.0.0:5070", "--board", "7350", "--transfer-host",
                         "pbx.example:5062", "--allow", "10.0.0.0/8", "--allow", "192.0.2.1", "--register",
                         "sip:pbx.example", "--auth-user", "301", "--password-file", "/tmp/pw", "--rings", "4",
                         "--answer-limit", "20", "--silence-limit", "3600"};
    ASSERT_TRUE(parse_options(static_cast<int>(std::size(all)), all, "7400", o, error)) << error;
    EXPECT_EQ(o.listen, "0.0.0.0:5070");
    EXPECT_EQ(o.board_port, 7350);
    EXPECT_EQ(o.transfer_host, "pbx.example:5062");
    EXPECT_TRUE(o.allow.allows("10.1.2.3"));
    EXPECT_TRUE(o.allow.allows("192.0.2.1"));
    EXPECT_FALSE(o.allow.allows("127.0.0.1"));
    EXPECT_EQ(o.register_uri, "sip:pbx.example");
    EXPECT_EQ(o.rings, 4);
    EXPECT_EQ(o.answer_limit_s, 20);
    EXPECT_EQ(o.silence_limit_s, 3600);

    const std::vector<std::vector<const char*>> bad = {
        {"zelgate", "--listen", "127.0.0.1"},          {"zelgate", "--board", "70000"},
        {"zelgate", "--rings", "0"},                  {"zelgate", "--allow", "10.0.0.0/40"},
        {"zelgate", "--register", "sip:pbx"},          {"zelgate", "--transfer-host", "a>b"},
        {"zelgate", "--frobnicate", "1"},             {"zelgate", "--board"},
        {"zelgate", "--answer-limit", "0"},           {"zelgate", "--silence-limit", "1h"},
    };
    for (const auto& argv : bad) {
        EXPECT_FALSE(parse_options(static_cast<int>(argv.size()), argv.data(), nullptr, o, error)) << argv[1];
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
