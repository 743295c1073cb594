#!/usr/bin/env python3
"""Peak and time to peak of 8-bit WAV files: tools/assetgen/mix_meter/wav_peak.py FILE.WAV...

The peak is the largest distance of a sample from the 128 midpoint (of 127); the time to peak is
when it first occurs, with the first time the level reaches 90 % of it beside it.
"""
import sys, wave
for f in sys.argv[1:]:
    w = wave.open(f); b = w.readframes(w.getnframes()); r = w.getframerate()
    v = [abs(x - 128) for x in b]; i = v.index(max(v))
    # time the level first reaches 90% of the peak
    j = next(k for k, x in enumerate(v) if x >= 0.9 * max(v))
    print(f"{f}: peak {max(v)}/127 at {1000*i/r:.1f} ms (90% of peak first at {1000*j/r:.1f} ms), length {1000*len(v)/r:.0f} ms")
