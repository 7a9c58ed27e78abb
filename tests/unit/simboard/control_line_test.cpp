// The controller's language: what is understood, and what is refused whole.
#include "control_line.h"

#include <gtest/gtest.h>

namespace {

using simboard::CommandKind;
using simboard::FailOp;

TEST(ControlLine, UnderstoodLines) {
    struct Case {
        const char* line;
        CommandKind kind;
        int line_no, count;
        const char* keys;
        FailOp op;
        const char* path;
    };
    const Case cases[] = {
        {"ring 1 3", CommandKind::Ring, 1, 3, "", FailOp::Play, ""},
        {"ring 4 999", CommandKind::Ring, 4, 999, "", FailOp::Play, ""},
        {"ring 2 3\r", CommandKind::Ring, 2, 3, "", FailOp::Play, ""},
        {"dtmf 2 1234*#0", CommandKind::Dtmf, 2, 0, "1234*#0", FailOp::Play, ""},
        {"hangup 3", CommandKind::Hangup, 3, 0, "", FailOp::Play, ""},
        {"fail sethook 1", CommandKind::Fail, 1, 0, "", FailOp::Sethook, ""},
        {"fail wtring 2", CommandKind::Fail, 2, 0, "", FailOp::Wtring, ""},
        {"fail play 3", CommandKind::Fail, 3, 0, "", FailOp::Play, ""},
        {"fail collect 4", CommandKind::Fail, 4, 0, "", FailOp::Collect, ""},
        {"fail dial 1", CommandKind::Fail, 1, 0, "", FailOp::Dial, ""},
        {"record 1 /tmp/x.wav", CommandKind::Record, 1, 0, "", FailOp::Play, "/tmp/x.wav"},
        // The path is last and keeps its spaces, even doubled ones.
        {"record 2 C:\\My Calls\\a  b.wav", CommandKind::Record, 2, 0, "", FailOp::Play, "C:\\My Calls\\a  b.wav"},
        {"status", CommandKind::Status, 0, 0, "", FailOp::Play, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        auto p = simboard::parse_control_line(c.line);
        ASSERT_TRUE(p.ok) << p.error;
        EXPECT_EQ(p.command.kind, c.kind);
        EXPECT_EQ(p.command.line, c.line_no);
        EXPECT_EQ(p.command.count, c.count);
        EXPECT_EQ(p.command.keys, c.keys);
        if (c.kind == CommandKind::Fail) {
            EXPECT_EQ(p.command.op, c.op);
        }
        EXPECT_EQ(p.command.path, c.path);
    }
}

TEST(ControlLine, RefusedLines) {
    const char* const cases[] = {
        "", "ring", "ring 1", "ring 0 3", "ring 5 3", "ring 1 0", "ring 1 1000", "ring 1 3 4", "ring 1 -3",
        "ring 12 3", "ring  1 3", "ring 1 3 ", " ring 1 3", "RING 1 3", "dtmf 1", "dtmf 1 12a", "dtmf 1 1 2",
        "dtmf 0 1", "hangup", "hangup 1 2", "hangup x", "fail", "fail play", "fail clear 1", "fail play 5",
        "record 1", "record 1 ", "record 9 /x", "status 1", "ring\t1 3", "hello world",
        "dtmf 1 12345678901234567890123456789012345678901234567890123456789012345",  // 65 keys
    };
    for (const char* line : cases) {
        auto p = simboard::parse_control_line(line);
        EXPECT_FALSE(p.ok) << "'" << line << "'";
        EXPECT_FALSE(p.error.empty()) << "'" << line << "'";
    }
    EXPECT_FALSE(simboard::parse_control_line(std::string(simboard::kMaxControlLine + 1, 'x')).ok);
}

}  // namespace
