#!/usr/bin/env python3
"""zelgate's timing and cost, measured from outside: a scripted board on zelgate's control
port (tests/sip/scripted_board.py; it answers every ring at once and streams a 1 kHz play
in real time, as the board does at speed 1), SIPp callers (bench_caller.xml: four calls,
one a second, ten seconds each, a telephone event two seconds in), and a packet sniffer on
the loopback interface.

    sip_bench.py <zelgate>

Figures: the spacing of the RTP packets zelgate sends (median and 99th percentile
deviation from 20 ms), from the board's first audio line of a play to the play's first
RTP packet (the marker), from a telephone event's first end packet to the board's `dtmf`,
and zelgate's CPU time per call-minute. Needs root (raw socket) and sipp. Prints ROW lines
for tools/bench.sh; exit status 1 only when nothing could be measured.
"""
import base64
import math
import os
import socket
import statistics
import struct
import subprocess
import sys
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "tests", "sip"))
from scripted_board import ScriptedBoard  # noqa: E402
BOARD_PORT, SIP_PORT, SIPP_PORT = 7397, 5397, 5398
MEDIA_PORT = 16000
SO_TIMESTAMPNS = 35
PLAY_SECONDS = 8


class StreamingBoard(ScriptedBoard):
    """Answers every ring at once and streams a 1 kHz play in real time, as the board does at
    speed 1 with Vornline playing."""

    def __init__(self):
        super().__init__(BOARD_PORT, answer_after=0.0)
        self.play_started = {}   # line -> time of its first audio line
        self.key_times = []      # times of dtmf lines

    def _answer(self, line):
        super()._answer(line)
        threading.Thread(target=self.stream, args=(line,), daemon=True).start()

    def _take(self, words):
        if words and words[0] == "dtmf":
            self.key_times.append(time.time())
        super()._take(words)

    def send(self, text):
        with self.cond:
            self._send(text)

    def stream(self, line):
        time.sleep(0.5)
        chunk = [int(8000 * math.sin(2 * math.pi * 1000 * i / 8000)) for i in range(160)]
        payload = base64.b64encode(struct.pack("<160h", *chunk)).decode()
        self.send("play %d 8000 bench.vox" % line)
        start = time.perf_counter()
        self.play_started[line] = time.time()
        for n in range(PLAY_SECONDS * 50):
            if self.state[line] != "offhook":
                return
            due = start + n * 0.02
            delay = due - time.perf_counter()
            if delay > 0:
                time.sleep(delay)
            self.send("audio %d 8000 %s" % (line, payload))
        self.send("playend %d 512" % line)


class Sniffer:
    """UDP on lo, as received (each loopback packet is seen once as sent, once as taken)."""

    def __init__(self):
        self.sock = socket.socket(socket.AF_PACKET, socket.SOCK_RAW, socket.ntohs(0x0003))
        self.sock.bind(("lo", 0))
        # The kernel's receive stamps: the sniffer thread's own delays do not count.
        self.sock.setsockopt(socket.SOL_SOCKET, SO_TIMESTAMPNS, 1)
        self.sock.settimeout(0.2)
        self.rtp_out = {}     # ssrc -> [(time, marker)]
        self.event_ends = []  # times of the first end packet of each event
        self.stop = False
        self.seen_ends = set()

    def run(self):
        while not self.stop:
            try:
                pkt, anc, _, addr = self.sock.recvmsg(2048, 64)
            except socket.timeout:
                continue
            now = time.time()
            for level, kind, data in anc:
                if level == socket.SOL_SOCKET and kind == SO_TIMESTAMPNS:
                    sec, nsec = struct.unpack("qq", data[:16])
                    now = sec + nsec / 1e9
            if addr[2] != socket.PACKET_HOST or len(pkt) < 14 + 20 + 8 + 12:
                continue
            if struct.unpack("!H", pkt[12:14])[0] != 0x0800 or pkt[23] != 17:
                continue
            ihl = (pkt[14] & 0x0F) * 4
            udp = 14 + ihl
            sport, dport = struct.unpack("!HH", pkt[udp:udp + 4])
            rtp = pkt[udp + 8:]
            pt, marker = rtp[1] & 0x7F, bool(rtp[1] & 0x80)
            ssrc, ts = struct.unpack("!I", rtp[8:12])[0], struct.unpack("!I", rtp[4:8])[0]
            if dport == MEDIA_PORT and pt in (0, 8):
                self.rtp_out.setdefault(ssrc, []).append((now, marker))
            elif sport == MEDIA_PORT and pt == 101 and len(rtp) >= 16 and rtp[13] & 0x80:
                # Every caller replays the same capture: the same SSRC and timestamp.
                if (dport, ssrc, ts) not in self.seen_ends:
                    self.seen_ends.add((dport, ssrc, ts))
                    self.event_ends.append(now)


def cpu_seconds(pid):
    with open("/proc/%d/stat" % pid) as f:
        fields = f.read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def percentile(values, p):
    s = sorted(values)
    return s[min(len(s) - 1, int(math.ceil(p / 100.0 * len(s))) - 1)]


def main():
    zelgate = sys.argv[1]
    board, sniffer = StreamingBoard(), Sniffer()
    threading.Thread(target=sniffer.run, daemon=True).start()
    gate = subprocess.Popen([zelgate, "--listen", "127.0.0.1:%d" % SIP_PORT, "--board", str(BOARD_PORT)],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(1.0)
        cpu0, t0 = cpu_seconds(gate.pid), time.perf_counter()
        sipp = subprocess.run(["sipp", "127.0.0.1:%d" % SIP_PORT, "-sf", os.path.join(HERE, "bench_caller.xml"),
                               "-i", "127.0.0.1", "-p", str(SIPP_PORT), "-mp", str(MEDIA_PORT), "-m", "4", "-l", "4",
                               "-r", "1", "-nostdin", "-timeout", "60s", "-timeout_error"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        cpu = cpu_seconds(gate.pid) - cpu0
        wall = time.perf_counter() - t0
    finally:
        gate.terminate()
        gate.wait()
        sniffer.stop = True
    if sipp.returncode != 0:
        print("sip bench: sipp failed (%d)" % sipp.returncode, file=sys.stderr)
        return 1
    gaps, firsts = [], []
    for ssrc, pkts in sniffer.rtp_out.items():
        times = [t for t, _ in pkts]
        gaps += [abs((b - a) * 1000 - 20) for a, b in zip(times, times[1:])]
        marks = [t for t, m in pkts if m]
        if marks:
            firsts.append(marks[0])
    starts = sorted(board.play_started.values())
    first_ms = [(f - s) * 1000 for s, f in zip(starts, sorted(firsts))]
    key_ms = [(k - e) * 1000 for e, k in zip(sorted(sniffer.event_ends), sorted(board.key_times))]
    call_minutes = 4 * 10.0 / 60
    rows = [
        ("RTP spacing, median deviation from 20 ms", statistics.median(gaps), "ms", 3.0),
        ("RTP spacing, 99th percentile deviation", percentile(gaps, 99), "ms", 3.0),
        ("play start to its first RTP packet (worst of %d)" % len(first_ms), max(first_ms), "ms", 40.0),
        ("telephone event end to board dtmf (worst of %d)" % len(key_ms), max(key_ms), "ms", 20.0),
        ("CPU per call-minute, four calls up (%.1f s in %.1f s)" % (cpu, wall), 100 * cpu / 60 / call_minutes,
         "% of a core", 1.0),
    ]
    # One ROW line per figure, as tools/bench.sh gathers them into its table.
    for name, value, unit, goal in rows:
        print("ROW\tSIP gateway\t%s\t%.2f %s\t< %g %s\t%s" % (name, value, unit, goal, unit,
                                                           "met" if value < goal else "MISSED"))
    late = sorted(g for g in gaps if g >= 3)
    print("packets: %d in %d streams; %d gaps off by 3 ms or more%s" % (
        sum(len(p) for p in sniffer.rtp_out.values()), len(sniffer.rtp_out), len(late),
        (": " + " ".join("%.1f" % g for g in late[-12:])) if late else ""))
    return 0


if __name__ == "__main__":
    sys.exit(main())
