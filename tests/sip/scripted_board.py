"""A scripted board for zelgate alone: it listens on zelgate's board port, takes zelgate's
lines (ring, dtmf, hangup, status, audio on) and answers as the stand-in board does with
Vornline behind it, on a timing the test chooses. The cases that hang on timing (a line
never answered, a hang-up that crosses the answer, the board going away) are then exact.

The events follow docs/simboard.md: `<ms> hook <line> off`, `answer`, `dial`, `dialend`,
`hook <line> on`, `status <line> <state>`, `error <text>: <line>`.
"""
import re
import socket
import threading
import time


class ScriptedBoard:
    LINES = 4

    def __init__(self, port, answer_after=0.0, dial=None, put_down_after=0.3, crossing_answer=False):
        self.port = port
        self.answer_after = answer_after        # seconds from ring to answer; None: never
        self.dial = dial                        # dialled once four keys have come, e.g. "&,,201"
        self.put_down_after = put_down_after    # Vornline's time to hang up once the call is over
        self.crossing_answer = crossing_answer  # a hang-up while ringing meets an answer on its way
        self.state = {n: "idle" for n in range(1, self.LINES + 1)}
        self.keys = {n: "" for n in range(1, self.LINES + 1)}
        self.got = []          # every line from zelgate, in order
        self.sent = []         # every event sent, without its stamp
        self.connections = 0
        self.cond = threading.Condition()
        self.conn = None
        self.t0 = time.monotonic()
        self.listener = None
        self.come_back()

    # ---- the connection ------------------------------------------------------------------

    def come_back(self):
        """Listens (again): zelgate's next attempt gets through."""
        self.listener = socket.socket()
        self.listener.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        self.listener.bind(("127.0.0.1", self.port))
        self.listener.listen(2)
        threading.Thread(target=self._accept, args=(self.listener,), daemon=True).start()

    def go_away(self):
        """Closes the listener and the connection, as a board whose program ended."""
        with self.cond:
            conn, self.conn = self.conn, None
        # Shut down first: that wakes the thread blocked in accept() and lets the port go.
        for sock in (self.listener, conn):
            if sock is None:
                continue
            try:
                sock.shutdown(socket.SHUT_RDWR)
            except OSError:
                pass  # zelgate may have gone first
            sock.close()

    def _accept(self, listener):
        while True:
            try:
                conn, _ = listener.accept()
            except OSError:
                return
            with self.cond:
                self.conn = conn
                self.connections += 1
                self.cond.notify_all()
            threading.Thread(target=self._serve, args=(conn,), daemon=True).start()

    def _serve(self, conn):
        pending = b""
        while True:
            try:
                data = conn.recv(4096)
            except OSError:
                data = b""
            if not data:
                return
            pending += data
            while b"\n" in pending:
                raw, pending = pending.split(b"\n", 1)
                text = raw.decode(errors="replace").strip()
                with self.cond:
                    self.got.append(text)
                    self.cond.notify_all()
                    self._take(text.split())

    def _send(self, text):
        # Called with the lock held.
        self.sent.append(text)
        self.cond.notify_all()
        if self.conn:
            ms = int((time.monotonic() - self.t0) * 1000)
            try:
                self.conn.sendall(("%d %s\n" % (ms, text)).encode())
            except OSError:
                pass

    def _later(self, seconds, action, *args):
        def run():
            with self.cond:
                action(*args)
        timer = threading.Timer(seconds, run)
        timer.daemon = True
        timer.start()

    # ---- what the board does -------------------------------------------------------------

    def _take(self, words):
        if not words:
            return
        if words[0] == "status":
            for n in range(1, self.LINES + 1):
                self._send("status %d %s" % (n, self.state[n]))
            return
        if words[0] not in ("ring", "dtmf", "hangup") or len(words) < 2 or not words[1].isdigit():
            return
        line = int(words[1])
        if line not in self.state:
            self._send("error no such line: %s" % " ".join(words))
            return
        if words[0] == "ring":
            if self.state[line] != "idle":
                self._send("error ringing a busy line: %s" % " ".join(words))
                return
            self.state[line] = "ringing"
            self.keys[line] = ""
            if self.answer_after is not None:
                self._later(self.answer_after, self._answer, line)
        elif words[0] == "dtmf" and len(words) >= 3:
            if self.state[line] != "offhook":
                self._send("error keys with no caller: %s" % " ".join(words))
                return
            self.keys[line] += words[2]
            if self.dial and len(self.keys[line]) == 4:
                self._later(0.2, self._transfer, line)
        elif words[0] == "hangup":
            if self.state[line] == "ringing" and self.crossing_answer:
                self._answer(line)  # Vornline's answer got there first
            if self.state[line] == "ringing":
                self.state[line] = "idle"
            elif self.state[line] == "offhook":
                self.state[line] = "dead"
                self._later(self.put_down_after, self._put_down, line)
            else:
                self._send("error hanging up with no call: %s" % " ".join(words))

    def _answer(self, line):
        if self.state[line] != "ringing":
            return
        self.state[line] = "offhook"
        self._send("hook %d off" % line)
        self._send("answer %d" % line)

    def _transfer(self, line):
        if self.state[line] != "offhook":
            return
        self._send("dial %d %s" % (line, self.dial))
        self._send("dialend %d" % line)
        self._later(self.put_down_after, self._put_down, line)

    def _put_down(self, line):
        if self.state[line] in ("offhook", "dead"):
            self.state[line] = "idle"
            self._send("hook %d on" % line)

    # ---- for the test --------------------------------------------------------------------

    def wait(self, pattern, timeout=10.0, start=0, sent=False):
        """Index of the first line from zelgate (or event sent, with `sent`) at or after
        `start` that matches `pattern` in full, or None after `timeout` seconds."""
        deadline = time.monotonic() + timeout
        rx = re.compile(pattern)
        with self.cond:
            while True:
                lines = self.sent if sent else self.got
                for i in range(start, len(lines)):
                    if rx.fullmatch(lines[i]):
                        return i
                left = deadline - time.monotonic()
                if left <= 0:
                    return None
                self.cond.wait(left)

    def wait_connections(self, count, timeout=10.0):
        deadline = time.monotonic() + timeout
        with self.cond:
            while self.connections < count:
                left = deadline - time.monotonic()
                if left <= 0:
                    return False
                self.cond.wait(left)
            return True

    def transcript(self):
        with self.cond:
            return "zelgate said: %s\nboard said: %s" % (self.got, self.sent)
