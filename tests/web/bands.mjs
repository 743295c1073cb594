// Level per octave band of a run of samples, the same measure for the page's own output and
// for the native mix it is held to: Hann-windowed blocks of about 46 ms at either rate, each
// band's mean square summed from the block's power spectrum (Parseval), averaged over the
// blocks, in dB relative to full scale.
import { readFileSync } from 'node:fs';

export const BANDS = [125, 250, 500, 1000, 2000, 4000];
const BLOCK_SECONDS = 2048 / 44100;
const FFT_SIZE = 4096;  // holds a block at 48 kHz too; the rest is zeros

function fft(re, im) {
  const n = re.length;
  for (let i = 1, j = 0; i < n; i++) {
    let bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j ^= bit;
    if (i < j) {
      [re[i], re[j]] = [re[j], re[i]];
      [im[i], im[j]] = [im[j], im[i]];
    }
  }
  for (let len = 2; len <= n; len <<= 1) {
    const step = -2 * Math.PI / len;
    for (let i = 0; i < n; i += len) {
      for (let k = 0; k < len / 2; k++) {
        const c = Math.cos(step * k), s = Math.sin(step * k);
        const a = i + k, b = a + len / 2;
        const xr = re[b] * c - im[b] * s, xi = re[b] * s + im[b] * c;
        re[b] = re[a] - xr;
        im[b] = im[a] - xi;
        re[a] += xr;
        im[a] += xi;
      }
    }
  }
}

// Band powers (mean squares) of one block starting at sample `from`.
function blockBands(samples, from, rate) {
  const size = Math.round(BLOCK_SECONDS * rate);
  const re = new Float64Array(FFT_SIZE), im = new Float64Array(FFT_SIZE);
  let wsum = 0;
  for (let i = 0; i < size; i++) {
    const w = 0.5 - 0.5 * Math.cos(2 * Math.PI * i / size);
    re[i] = (samples[from + i] || 0) * w;
    wsum += w * w;
  }
  fft(re, im);
  return BANDS.map((centre) => {
    const lo = centre / Math.SQRT2, hi = centre * Math.SQRT2;
    let p = 0;
    for (let k = Math.ceil(lo * FFT_SIZE / rate); k * rate / FFT_SIZE < hi; k++) p += re[k] * re[k] + im[k] * im[k];
    return 2 * p / (FFT_SIZE * wsum);
  });
}

// Mean band powers over the spans [start, end) in seconds of samples at `rate`, blocks
// overlapping by half; also how many blocks were measured.
export function bandPowers(samples, rate, spans) {
  const size = Math.round(BLOCK_SECONDS * rate);
  const sums = BANDS.map(() => 0);
  let blocks = 0;
  for (const [start, end] of spans) {
    for (let at = Math.round(start * rate); at + size <= Math.round(end * rate); at += size >> 1) {
      if (at < 0 || at + size > samples.length) continue;
      blockBands(samples, at, rate).forEach((p, b) => { sums[b] += p; });
      blocks++;
    }
  }
  return { powers: sums.map((s) => (blocks ? s / blocks : 0)), blocks };
}

export const dB = (power) => 10 * Math.log10(Math.max(power, 1e-20));

// The left channel of a 16-bit PCM WAV file as floats, and its rate.
export function readWavLeft(path) {
  const b = readFileSync(path);
  if (b.toString('latin1', 0, 4) !== 'RIFF' || b.toString('latin1', 8, 12) !== 'WAVE') throw new Error(`${path}: not WAV`);
  let format = null;
  for (let at = 12; at + 8 <= b.length; at += 8 + b.readUInt32LE(at + 4)) {
    const id = b.toString('latin1', at, at + 4), size = b.readUInt32LE(at + 4);
    if (id === 'fmt ') {
      format = { tag: b.readUInt16LE(at + 8), channels: b.readUInt16LE(at + 10), rate: b.readUInt32LE(at + 12),
                 bits: b.readUInt16LE(at + 22) };
    } else if (id === 'data') {
      if (!format || format.tag !== 1 || format.bits !== 16) throw new Error(`${path}: not 16-bit PCM`);
      const frames = Math.floor(Math.min(size, b.length - at - 8) / (2 * format.channels));
      const left = new Float32Array(frames);
      for (let i = 0; i < frames; i++) left[i] = b.readInt16LE(at + 8 + i * 2 * format.channels) / 32767;
      return { samples: left, rate: format.rate };
    }
  }
  throw new Error(`${path}: no data`);
}
