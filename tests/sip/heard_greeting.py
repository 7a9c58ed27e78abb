#!/usr/bin/env python3
"""Whether a recording of what a caller heard holds the greeting: finds where the greeting
begins (the first loud sample, refined by correlation over +-20 ms) and prints the
normalized correlation there. Exit 0 when it is at least 0.9 over at least 0.25 s.

    heard_greeting.py greeting.raw heard.raw     (16-bit signed mono, 8 kHz)
"""
import array
import math
import sys

MIN_SAMPLES = 2000
MAX_SAMPLES = 6000
SEARCH = 160


def load(path):
    a = array.array("h")
    with open(path, "rb") as f:
        a.frombytes(f.read())
    if sys.byteorder != "little":
        a.byteswap()
    return a


def correlation(ref, heard, lag, n):
    sxy = sxx = syy = 0.0
    for i in range(n):
        x, y = ref[i], heard[lag + i]
        sxy += x * y
        sxx += x * x
        syy += y * y
    return sxy / math.sqrt(sxx * syy) if sxx > 0 and syy > 0 else 0.0


def main():
    ref, heard = load(sys.argv[1]), load(sys.argv[2])
    onset = next((i for i, v in enumerate(heard) if abs(v) > 1000), None)
    if onset is None:
        print("the recording is silent")
        return 1
    best, best_lag, best_n = -1.0, 0, 0
    for lag in range(max(0, onset - SEARCH), onset + SEARCH):
        n = min(MAX_SAMPLES, len(ref), len(heard) - lag)
        if n < MIN_SAMPLES:
            break
        c = correlation(ref, heard, lag, n)
        if c > best:
            best, best_lag, best_n = c, lag, n
    print("correlation %.3f at %.1f ms over %d samples" % (best, best_lag / 8.0, best_n))
    return 0 if best >= 0.9 and best_n >= MIN_SAMPLES else 1


if __name__ == "__main__":
    sys.exit(main())
