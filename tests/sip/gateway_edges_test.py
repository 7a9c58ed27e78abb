#!/usr/bin/env python3
"""zelgate at the edges of a call, against SIPp callers and a scripted board
(scripted_board.py) whose timing the test sets: a line never answered, a caller who gives
up while it rings, a hang-up that crosses the answer, a phone that sends no RTP, keys as
tones in the audio, SIP over TCP, the board going away and coming back, and the transfer
host taken from the registrar.

    gateway_edges_test.py <zelgate> [unittest options]

Ports: SIP_EDGE_PORT (default 5481) and the nine above it for SIP, 7481-7489 for the
boards, 17000-17990 for SIPp's media. Needs root for SIPp's pcap playing (raw sockets).
"""
import os
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)
from scripted_board import ScriptedBoard  # noqa: E402

ZELGATE = None
BASE = int(os.environ.get("SIP_EDGE_PORT", "5481"))
BOARD_BASE = BASE + 2000
KEY_PCAPS = "/usr/share/sip-tester"

# DTMF: the row and column tones of each key (ITU-T Q.23).
ROWS = {"1": 697, "2": 697, "3": 697, "4": 770, "5": 770, "6": 770, "7": 852, "8": 852, "9": 852,
        "*": 941, "0": 941, "#": 941}
COLUMNS = {"1": 1209, "4": 1209, "7": 1209, "*": 1209, "2": 1336, "5": 1336, "8": 1336, "0": 1336,
           "3": 1477, "6": 1477, "9": 1477, "#": 1477}


def inband_pcap(path, keys):
    """A capture of PCMU RTP, 20 ms a packet, holding `keys` as tones: 100 ms of each key's
    two tones (sox makes and encodes them), 100 ms of quiet between keys, as a phone does."""
    ulaw = b""
    for key in keys:
        tone = subprocess.run(["sox", "-n", "-r", "8000", "-c", "1", "-t", "raw", "-e", "u-law", "-",
                               "synth", "0.1", "sine", str(ROWS[key]), "sine", str(COLUMNS[key]),
                               "channels", "1", "vol", "0.5"], check=True, stdout=subprocess.PIPE).stdout
        ulaw += tone[:800].ljust(800, b"\xff") + b"\xff" * 800
    ulaw = b"\xff" * 1600 + ulaw + b"\xff" * 800
    out = [struct.pack("<IHHiIII", 0xA1B2C3D4, 2, 4, 0, 0, 65535, 1)]  # Ethernet captures
    for n in range(len(ulaw) // 160):
        rtp = struct.pack("!BBHII", 0x80, 0x80 if n == 0 else 0, n + 1, 160 * n, 0x5EED) + ulaw[160 * n:160 * n + 160]
        udp = struct.pack("!HHHH", 6000, 6002, 8 + len(rtp), 0) + rtp
        ip = struct.pack("!BBHHHBBH4s4s", 0x45, 0, 20 + len(udp), n, 0, 64, 17, 0,
                         bytes([127, 0, 0, 1]), bytes([127, 0, 0, 1])) + udp
        frame = b"\x00" * 12 + b"\x08\x00" + ip
        out.append(struct.pack("<IIII", n // 50, (n % 50) * 20000, len(frame), len(frame)) + frame)
    with open(path, "wb") as f:
        f.write(b"".join(out))


class Gateway:
    """One zelgate, its board and its log."""

    def __init__(self, work, slot, board, *args):
        self.sip_port = BASE + slot
        self.log_path = os.path.join(work, "zelgate-%d.log" % slot)
        self.board = board
        self.log = open(self.log_path, "w")
        self.proc = subprocess.Popen([ZELGATE, "--listen", "127.0.0.1:%d" % self.sip_port,
                                      "--board", str(board.port)] + list(args),
                                     stdout=self.log, stderr=subprocess.STDOUT)

    def text(self):
        with open(self.log_path) as f:
            return f.read()

    def wait_log(self, pattern, timeout=10.0):
        deadline = time.monotonic() + timeout
        rx = re.compile(pattern, re.M)
        while time.monotonic() < deadline:
            m = rx.search(self.text())
            if m:
                return m
            if self.proc.poll() is not None:
                break
            time.sleep(0.05)
        return None

    def stop(self):
        self.proc.terminate()
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()
        self.log.close()


class GatewayEdges(unittest.TestCase):
    slot = 0

    def setUp(self):
        self.work = tempfile.mkdtemp(prefix="zel-sip-edges.")
        self.gates, self.boards = [], []

    def tearDown(self):
        for g in self.gates:
            g.stop()
        for b in self.boards:
            b.go_away()
        if not getattr(self._outcome, "success", True):
            for g in self.gates:
                print("--- %s\n%s" % (g.log_path, g.text()[-4000:]))
            for b in self.boards:
                print("--- board on %d\n%s" % (b.port, b.transcript()[-4000:]))
            print("--- (work folder kept: %s)" % self.work)
        else:
            shutil.rmtree(self.work, ignore_errors=True)

    def start(self, board_kwargs, *args):
        """A scripted board and a zelgate connected to it, on ports of their own."""
        slot = GatewayEdges.slot
        GatewayEdges.slot += 1
        board = ScriptedBoard(BOARD_BASE + slot, **board_kwargs)
        self.boards.append(board)
        gate = Gateway(self.work, slot, board, *args)
        self.gates.append(gate)
        self.assertTrue(board.wait("status", 10), "zelgate did not reach the board\n" + gate.text())
        return gate

    def sipp(self, gate, scenario, *args, name=None, local_port=None):
        """Runs one SIPp caller to the end; its exit status (0: the scenario passed)."""
        name = name or scenario
        port = local_port or gate.sip_port + 100
        cmd = ["sipp", "127.0.0.1:%d" % gate.sip_port, "-sf", os.path.join(HERE, scenario), "-i", "127.0.0.1",
               "-p", str(port), "-mp", str(17000 + (port % 100) * 10), "-m", "1", "-nostdin",
               "-timeout", "30s", "-timeout_error", "-trace_err", "-error_file",
               os.path.join(self.work, name + ".errors"), "-trace_logs", "-log_file",
               os.path.join(self.work, name + ".logs")] + list(args)
        with open(os.path.join(self.work, name + ".out"), "w") as out:
            status = subprocess.run(cmd, cwd=self.work, stdout=out, stderr=subprocess.STDOUT, timeout=60).returncode
        if status != 0:
            print("--- %s errors" % name)
            print(self.read(name + ".errors")[-3000:])
        return status

    def read(self, name):
        try:
            with open(os.path.join(self.work, name)) as f:
                return f.read()
        except OSError:
            return ""

    # ---- cases ---------------------------------------------------------------------------

    def test_a_line_nobody_answers_gets_480_and_the_board_call_is_hung_up(self):
        gate = self.start({"answer_after": None}, "--answer-limit", "1")
        began = time.monotonic()
        self.assertEqual(self.sipp(gate, "unanswered_call.xml"), 0)
        self.assertGreaterEqual(time.monotonic() - began, 0.9, "480 before the limit")
        self.assertIsNotNone(gate.board.wait("ring 1 999"))
        self.assertIsNotNone(gate.board.wait("hangup 1", 5))
        self.assertIsNotNone(gate.wait_log(r"sip > UDP \S+ SIP/2.0 480"))

    def test_a_cancel_while_ringing_frees_the_line_for_the_next_call(self):
        gate = self.start({"answer_after": None})
        hangup = -1
        for call in (1, 2):
            self.assertEqual(self.sipp(gate, "cancel_while_ringing.xml", name="cancel%d" % call), 0)
            hangup = gate.board.wait("hangup 1", 5, start=hangup + 1)
            self.assertIsNotNone(hangup, "call %d: the board heard no hang-up" % call)
            # Asked at once whether the line is idle, the board says so, and the line is free.
            self.assertIsNotNone(gate.board.wait("status", 5, start=hangup))
        rings = [line for line in gate.board.got if line.startswith("ring ")]
        self.assertEqual(rings, ["ring 1 999", "ring 1 999"], "the second call rings line 1 again")
        self.assertFalse([e for e in gate.board.sent if e.startswith("error")])

    def test_a_hang_up_that_crosses_the_answer_keeps_the_line_until_it_is_down(self):
        # Vornline answers line 1 just as the caller's CANCEL arrives: the line is off-hook
        # with nobody on it until Vornline puts it down, 1.5 s later.
        gate = self.start({"answer_after": None, "crossing_answer": True, "put_down_after": 1.5})
        self.assertEqual(self.sipp(gate, "cancel_while_ringing.xml", name="crossed"), 0)
        self.assertIsNotNone(gate.board.wait("hangup 1", 5))
        self.assertEqual(self.sipp(gate, "cancel_while_ringing.xml", name="meanwhile"), 0)
        # The next call must not ring the line still off-hook: it takes line 2.
        self.assertIsNotNone(gate.board.wait("ring 2 999", 5), "the second call rang the off-hook line")
        self.assertIsNotNone(gate.board.wait("hook 1 on", 5, sent=True))
        self.assertEqual(self.sipp(gate, "cancel_while_ringing.xml", name="after"), 0)
        rings = [line for line in gate.board.got if line.startswith("ring ")]
        self.assertEqual(rings, ["ring 1 999", "ring 2 999", "ring 1 999"], "line 1 is free once it is down")
        self.assertFalse([e for e in gate.board.sent if e.startswith("error ringing")])

    def test_a_caller_who_sends_no_rtp_is_hung_up_on_both_sides(self):
        gate = self.start({"answer_after": 0.0}, "--silence-limit", "2")
        self.assertEqual(self.sipp(gate, "mute_caller.xml"), 0)  # the BYE came
        self.assertIsNotNone(gate.board.wait("hangup 1", 5))
        answered = gate.wait_log(r"^(\d+) board > \d+ answer 1$")
        gone = gate.wait_log(r"^(\d+) line 1: no RTP for 2 s$")
        self.assertIsNotNone(answered)
        self.assertIsNotNone(gone)
        self.assertGreaterEqual(int(gone.group(1)) - int(answered.group(1)), 1900)
        self.assertIsNotNone(gate.wait_log(r"sip > UDP \S+ BYE "))

    def test_keys_as_tones_in_the_audio_of_a_caller_with_no_telephone_events(self):
        inband_pcap(os.path.join(self.work, "inband_1001.pcap"), "1001")
        gate = self.start({"answer_after": 0.0, "dial": "&,,201"})
        self.assertEqual(self.sipp(gate, "inband_caller.xml"), 0)  # referred to 201
        keys = [line for line in gate.board.got if line.startswith("dtmf ")]
        self.assertEqual(keys, ["dtmf 1 1", "dtmf 1 0", "dtmf 1 0", "dtmf 1 1"])
        self.assertEqual(len(re.findall(r"key \S \(in-band\)", gate.text())), 4)

    def test_a_call_over_tcp(self):
        gate = self.start({"answer_after": 0.0, "dial": "&,,201"})
        self.assertEqual(self.sipp(gate, "keyed_caller.xml", "-t", "t1"), 0)  # keys, REFER, NOTIFY, BYE
        keys = [line for line in gate.board.got if line.startswith("dtmf ")]
        self.assertEqual(keys, ["dtmf 1 1", "dtmf 1 0", "dtmf 1 0", "dtmf 1 1"])
        text = gate.text()
        for said in (r"sip < TCP \S+ INVITE ", r"sip > TCP \S+ REFER ", r"sip > TCP \S+ BYE "):
            self.assertRegex(text, said)
        self.assertNotRegex(text, r"sip [<>] UDP")

    def test_the_board_going_away_and_coming_back(self):
        gate = self.start({"answer_after": None})
        gate.board.go_away()
        self.assertIsNotNone(gate.wait_log(r"board: connection lost"))
        self.assertEqual(self.sipp(gate, "refused_call.xml", name="boardless"), 0)
        self.assertIsNotNone(gate.wait_log(r"sip > UDP \S+ SIP/2.0 503"))
        before = len(gate.board.got)
        gate.board.come_back()
        self.assertTrue(gate.board.wait_connections(2, 10), "zelgate did not connect again")
        # A fresh connection: audio asked for again, every line's state asked.
        first = gate.board.wait("audio on", 5, start=before)
        self.assertIsNotNone(first)
        self.assertIsNotNone(gate.board.wait("status", 5, start=first))
        self.assertEqual(self.sipp(gate, "cancel_while_ringing.xml", name="again"), 0)
        self.assertIsNotNone(gate.board.wait("ring 1 999", 5))

    def test_malformed_requests_leave_a_call_in_progress_and_the_next_one_alone(self):
        gate = self.start({"answer_after": None})
        ringing = subprocess.Popen(["sipp", "127.0.0.1:%d" % gate.sip_port, "-sf",
                                 os.path.join(HERE, "cancel_while_ringing.xml"), "-i", "127.0.0.1",
                                 "-p", str(gate.sip_port + 200), "-mp", "17990", "-m", "1", "-nostdin",
                                 "-d", "3000"], cwd=self.work, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            self.assertIsNotNone(gate.board.wait("ring 1 999", 5))
            junk = [b"\x00\xff" * 300,
                    b"INVITE sip:attendant@127.0.0.1 SIP/2.0\r\nVia: nonsense\r\n\r\n",
                    b"INVITE sip:attendant@127.0.0.1 SIP/2.0\r\nContent-Length: 99999\r\n\r\nv=0",
                    b"OPTIONS sip:x SIP/2.0\r\n" + b"X-Long: " + b"a" * 3000 + b"\r\n\r\n"]
            with socket.socket(socket.AF_INET, socket.SOCK_DGRAM) as udp:
                for data in junk:
                    udp.sendto(data, ("127.0.0.1", gate.sip_port))
            with socket.create_connection(("127.0.0.1", gate.sip_port)) as tcp:
                tcp.sendall(b"\r\n".join(junk))
            self.assertEqual(ringing.wait(20), 0, "the ringing call's CANCEL was not answered")
        finally:
            if ringing.poll() is None:
                ringing.kill()
                ringing.wait()
        self.assertIsNone(gate.proc.poll(), "zelgate ended")
        # The call that was ringing went on to its end, and the next one rings line 1.
        self.assertIsNotNone(gate.board.wait("hangup 1", 5))
        self.assertEqual(self.sipp(gate, "cancel_while_ringing.xml", name="next"), 0)
        rings = [line for line in gate.board.got if line.startswith("ring ")]
        self.assertEqual(rings, ["ring 1 999", "ring 1 999"])

    def test_transfers_go_to_the_registrar_when_no_transfer_host_is_given(self):
        registrar_port = BASE + 90
        with open(os.path.join(self.work, "password"), "w") as f:
            f.write("attendant-secret\n")
        registrar = subprocess.Popen(["sipp", "-sf", os.path.join(HERE, "registrar.xml"), "-i", "127.0.0.1",
                                      "-p", str(registrar_port), "-m", "1", "-nostdin", "-timeout", "20s",
                                      "-timeout_error"], cwd=self.work, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        try:
            gate = self.start({"answer_after": 0.0, "dial": "&,,201"}, "--register",
                              "sip:127.0.0.1:%d" % registrar_port, "--auth-user", "301",
                              "--password-file", os.path.join(self.work, "password"))
            self.assertIsNotNone(gate.wait_log(r"registered: 200", 15), "not registered")
            self.assertEqual(registrar.wait(20), 0)
        finally:
            if registrar.poll() is None:
                registrar.kill()
                registrar.wait()
        self.assertEqual(self.sipp(gate, "keyed_caller.xml", name="referred"), 0)
        self.assertIn("REFER to Refer-To: <sip:201@127.0.0.1:%d>" % registrar_port, self.read("referred.logs"))


def main():
    global ZELGATE
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    ZELGATE = os.path.abspath(sys.argv.pop(1))
    for tool in ("sipp", "sox"):
        if not shutil.which(tool):
            print("FAIL: %s missing (tools/bootstrap.sh installs it)" % tool)
            return 1
    result = unittest.main(exit=False, verbosity=2).result
    return 0 if result.wasSuccessful() else 1


if __name__ == "__main__":
    sys.exit(main())
