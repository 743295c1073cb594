// The page sounds as the native game does: over a scripted play of about 10 s with strikes, the
// page's own output (tapped from its mix) is held, band by band, to the native headless mix of
// the same game. The page records its game as a demo, and the native simulator replays that
// demo frame for frame on its recorded keys and clock, rendering its mix; the music (the page's
// is the piece rendered natively, compressed) is compared where no effect sounds, lined up by
// where the piece stood, and the effects where each one sounds, lined up by the frame that
// played it.
import assert from 'node:assert/strict';
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

import puppeteer from 'puppeteer-core';

import { BANDS, bandPowers, dB, readWavLeft } from './bands.mjs';
import { DATA, NATIVE_SIM, pageInChromium, run, sleep, tempDir, mixTap } from './support.mjs';

const live = pageInChromium(puppeteer);
const TOLERANCE_DB = 2;
const SAMPLE_RATE = 11025;  // every effect's


const press = async (page, key, ms) => {
  await page.keyboard.down(key);
  await sleep(ms);
  await page.keyboard.up(key);
};

// The page's play: into the game, then for about ten seconds a strike every 1.2 s (a strike
// is ready a second after the last), with a walk between some of them.
async function playScripted(page) {
  for (let i = 0; i < 2; i++) {
    await press(page, 'Space', 100);
    await sleep(300);
  }
  for (let i = 0; i < 9; i++) {
    await press(page, 'Space', 150);
    if (i % 3 === 1) await press(page, i % 2 ? 'ArrowLeft' : 'ArrowRight', 400);
    await sleep(i % 3 === 1 ? 650 : 1050);
  }
  await sleep(1500);
}

// Spans [start, end) less every piece of `holes`.
function without(spans, holes) {
  let out = spans;
  for (const [a, b] of holes) {
    out = out.flatMap(([s, e]) => (b <= s || a >= e ? [[s, e]] : [[s, a], [b, e]].filter(([x, y]) => y - x > 0)));
  }
  return out;
}

function compare(name, page, native) {
  const lines = [];
  const far = [];
  BANDS.forEach((hz, b) => {
    const p = dB(page.powers[b]), n = dB(native.powers[b]);
    lines.push(`${hz} Hz ${n.toFixed(1)}/${p.toFixed(1)}`);
    if (Math.abs(p - n) > TOLERANCE_DB) far.push(`${hz} Hz: page ${p.toFixed(1)} dB, native ${n.toFixed(1)} dB`);
  });
  console.log(`# ${name} (native/page dBFS, ${native.blocks}/${page.blocks} blocks): ${lines.join(', ')}`);
  return far.map((f) => `${name}, ${f}`);
}

test('the page plays each band within 2 dB of the native mix of the same game', async () => {
  const page = await live.chromium.browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.evaluateOnNewDocument(mixTap, 1024);
  await page.goto(live.base + '?seed=21&record');
  await page.waitForFunction(() => window.Module && Module.frames && Module.frames.count > 2,
                             { timeout: 20000, polling: 20 });
  await page.waitForFunction(() => Module.music.buffer, { timeout: 20000, polling: 50 });
  await playScripted(page);
  const got = await page.evaluate(() => {
    const demo = Module.demo();
    return {
      demo: demo ? Array.from(demo) : null, played: Module.audio.played, blocks: window.blocks,
      rate: window.tapRate, music: Module.music.started,
      frameStarts: Module.frames.start.map((end, i) => end - Module.frames.work[i] / 1000),
    };
  });
  await page.close();
  assert.deepEqual(errors, []);
  assert.ok(got.demo, 'the page recorded no demo');
  assert.ok(got.music, 'the music never started');

  // The same game natively, and its mix.
  const out = tempDir();
  let native;
  try {
    writeFileSync(join(out.dir, 'page.demo'), Buffer.from(got.demo));
    run(NATIVE_SIM, ['--data', DATA, '--replay', join(out.dir, 'page.demo'), '--mix-wav', join(out.dir, 'mix.wav')]);
    native = readWavLeft(join(out.dir, 'mix.wav'));
  } finally {
    out.remove();
  }
  const tapStart = got.blocks[0].time;
  const tapped = Float32Array.from(got.blocks.flatMap((b) => b.samples));
  const tapEnd = tapStart + tapped.length / got.rate;

  // Where a frame began in the native mix (its first frame at 0), and where a moment of the
  // page's audio clock is in the piece (which the native mix plays from its start).
  const frameAt = (f) => (got.frameStarts[f] - got.frameStarts[0]) / 1000;
  const pieceAt = (t) => t - got.music.time + got.music.at;
  // A sound played twice in one frame restarts: it is heard once.
  const seen = new Set();
  const sounds = got.played.filter((s) => !seen.has(`${s.frame} ${s.bytes}`) && seen.add(`${s.frame} ${s.bytes}`))
    .map((s) => ({ ...s, length: s.bytes / SAMPLE_RATE, native: frameAt(s.frame) }));
  const strikeLength = Math.min(...sounds.map((s) => s.bytes));
  const strikes = sounds.filter((s) => s.bytes === strikeLength);
  const others = sounds.filter((s) => s.bytes !== strikeLength);  // the laser
  console.log(`# sounds: ${strikes.length} strikes of ${strikeLength} samples, ${others.length} others`);
  assert.ok(strikes.length >= 6, `only ${strikes.length} strikes were heard`);
  // How far the page's music stands from where the native game's is, against the effects.
  const lead = sounds.map((s) => pieceAt(s.time) - s.native).sort((a, b) => a - b)[sounds.length >> 1];
  console.log(`# the page's music against its effects: ${(lead * 1000).toFixed(0)} ms from the native mix's`);

  // The music: the tapped stretch of the piece (less half a second at each end), where no
  // effect sounds in either mix.
  const nativeEnd = native.samples.length / native.rate;
  const holes = sounds.flatMap((s) => [[s.native - 0.05, s.native + s.length + 0.15],
                                       [pieceAt(s.time) - 0.05, pieceAt(s.time) + s.length + 0.15]]);
  const musicSpans = without([[pieceAt(tapStart) + 0.5, Math.min(pieceAt(tapEnd), nativeEnd) - 0.5]], holes);
  const toTap = (spans, fromNative) => spans.map(([a, b]) => [fromNative(a) - tapStart, fromNative(b) - tapStart]);
  const musicPage = bandPowers(tapped, got.rate, toTap(musicSpans, (m) => m - got.music.at + got.music.time));
  const musicNative = bandPowers(native.samples, native.rate, musicSpans);
  assert.ok(musicNative.blocks >= 40, `only ${musicNative.blocks} blocks of music alone`);

  // Each effect from just before its frame to just after its end, wholly inside both mixes;
  // the quieter effects (the laser) only where no strike sounds.
  const span = (s, at) => [at - 0.02, at + s.length + 0.06];
  const inside = (s) => s.time - 0.02 > tapStart && s.time + s.length + 0.06 < tapEnd &&
                        s.native + s.length + 0.06 < nativeEnd;
  const far = compare('music', musicPage, musicNative);
  const pageSpans = (list) => list.map((s) => span(s, s.time - tapStart));
  const nativeSpans = (list) => list.map((s) => span(s, s.native));
  const heard = strikes.filter(inside), quieter = others.filter(inside);
  far.push(...compare('strikes', bandPowers(tapped, got.rate, pageSpans(heard)),
                      bandPowers(native.samples, native.rate, nativeSpans(heard))));
  assert.ok(quieter.length >= 1, 'no laser was heard');
  far.push(...compare('lasers', bandPowers(tapped, got.rate, without(pageSpans(quieter), pageSpans(strikes))),
                      bandPowers(native.samples, native.rate, without(nativeSpans(quieter), nativeSpans(strikes)))));
  assert.deepEqual(far, []);
});
