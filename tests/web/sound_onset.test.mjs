// The strike heard in the page's own mix where the game played it: over a scripted play of
// about 10 s with strikes, the page records each started sound's time on the audio clock and
// the tap finds the strike's onset in the captured samples.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

import puppeteer from 'puppeteer-core';

import { PAGE, pageInChromium, sleep, mixTap } from './support.mjs';

const live = pageInChromium(puppeteer);

// The samples in a WAV file's data chunk.
function wavSamples(path) {
  const b = readFileSync(path);
  for (let at = 12; at + 8 <= b.length; at += 8 + b.readUInt32LE(at + 4)) {
    if (b.toString('latin1', at, at + 4) === 'data') return b.readUInt32LE(at + 4);
  }
  return -1;
}

const press = async (page, ms) => {
  await page.keyboard.down('Space');
  await sleep(ms);
  await page.keyboard.up('Space');
};

test('each strike is heard within 40 ms of the frame that played it', async () => {
  const page = await live.chromium.browser.newPage();
  const errors = [];
  page.on('pageerror', (e) => errors.push(e.message));
  await page.evaluateOnNewDocument(mixTap, 256);
  await page.goto(live.base + '?undying&seed=4');
  await page.waitForFunction(() => window.Module && Module.frames && Module.frames.count > 2,
                             { timeout: 20000, polling: 20 });
  await page.waitForFunction(() => Module.music.buffer, { timeout: 20000, polling: 50 });
  for (let i = 0; i < 2; i++) {
    await press(page, 100);
    await sleep(300);
  }
  // About 10 s of play, a strike a second.
  for (let i = 0; i < 10; i++) {
    await press(page, 120);
    await sleep(880);
  }
  await sleep(300);
  const { played, blocks, rate } = await page.evaluate(() => ({
    played: Module.audio.played, blocks: window.blocks, rate: window.tapRate }));
  await page.close();
  assert.deepEqual(errors, []);

  const strikeLength = wavSamples(join(PAGE, 'data', 'bat.WAV'));
  const strikes = played.filter((p) => p.bytes === strikeLength);
  assert.ok(strikes.length >= 5, `only ${strikes.length} strikes were played`);
  console.log(`# sounds played: ${played.length}, strikes ${strikes.length}, others ` +
              `${[...new Set(played.filter((p) => p.bytes !== strikeLength).map((p) => p.bytes))]}`);

  // The capture as one run of samples from the first block's time.
  const start = blocks[0].time;
  const samples = blocks.flatMap((b) => b.samples);
  const window2ms = Math.round(rate * 0.002);
  const rms = (from) => {
    let sum = 0;
    for (let i = from; i < from + window2ms; i++) sum += samples[i] * samples[i];
    return Math.sqrt(sum / window2ms);
  };
  const lateness = [];
  for (const s of strikes) {
    const at = Math.round((s.time - start) * rate);
    if (at - rate * 0.2 < 0 || at + rate * 0.2 > samples.length) continue;
    // The music's level just before: the strike stands well over it (6 dB) from its onset.
    const before = [];
    for (let i = at - Math.round(rate * 0.15); i < at - Math.round(rate * 0.05); i += window2ms) before.push(rms(i));
    const floor = Math.max(...before);
    let onset = null;
    for (let i = at - Math.round(rate * 0.04); i < at + Math.round(rate * 0.1); i += window2ms) {
      if (rms(i) > 2 * floor && rms(i) > 0.01) { onset = i; break; }
    }
    assert.notEqual(onset, null, `the strike at ${s.time.toFixed(3)} s was not heard`);
    lateness.push((onset - at) / rate * 1000);
  }
  console.log(`# strike onset against its frame (ms): ${lateness.map((l) => l.toFixed(1)).join(', ')}`);
  assert.ok(lateness.length >= 5);
  for (const l of lateness) assert.ok(Math.abs(l) <= 40, `a strike heard ${l.toFixed(1)} ms from its frame`);
});
