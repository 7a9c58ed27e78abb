#!/usr/bin/env python3
"""Whether a recording of what a caller heard holds the greeting: finds where the greeting
begins (the first loud sample, refined by correlation over +-20 ms), then follows it in
blocks of 125 ms, each at its best lag within 25 ms of the last one (a late packet may
shift the rest of a play by a frame). Prints the blocks' median normalized correlation;
exit 0 when it is at least 0.9 over at least four blocks.

    heard_greeting.py greeting.raw heard.raw     (16-bit signed mono, 8 kHz)
"""
import array
import math
import sys

BLOCK = 1000
MAX_SAMPLES = 8000
SEARCH = 160
FOLLOW = 200


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
    lag = max(range(max(0, onset - SEARCH), onset + SEARCH),
              key=lambda l: correlation(ref, heard, l, min(BLOCK, len(heard) - l)) if len(heard) - l >= BLOCK else -1)
    scores = []
    for start in range(0, min(len(ref), MAX_SAMPLES) - BLOCK + 1, BLOCK):
        tries = [l for l in range(lag - FOLLOW, lag + FOLLOW + 1) if 0 <= l + start and l + start + BLOCK <= len(heard)]
        if not tries:
            break
        best = max(tries, key=lambda l: correlation(ref[start:start + BLOCK], heard, l + start, BLOCK))
        scores.append(correlation(ref[start:start + BLOCK], heard, best + start, BLOCK))
        lag = best
    if not scores:
        print("the recording is too short")
        return 1
    scores.sort()
    median = scores[len(scores) // 2]
    print("median correlation %.3f over %d blocks of 125 ms (lowest %.3f), from %.1f ms" % (
        median, len(scores), scores[0], onset / 8.0))
    return 0 if median >= 0.9 and len(scores) >= 4 else 1

if __name__ == "__main__":
    sys.exit(main())
