// The page's sound in headless Chromium: the line asking for a key until the first press, the
// music heard from that press on (tapped from the page's own mix node), and a page with no
// WebAudio at all playing on silently.
import assert from 'node:assert/strict';
import { test } from 'node:test';

import puppeteer from 'puppeteer-core';

import { pageInChromium, sleep } from './support.mjs';

const live = pageInChromium(puppeteer);

async function open(prepare) {
  const page = await live.chromium.browser.newPage();
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error') errors.push(m.text()); });
  page.on('pageerror', (e) => errors.push(e.message));
  await page.evaluateOnNewDocument(prepare);
  await page.goto(live.base + '?trace&seed=4');
  await page.waitForFunction(() => window.Module && Module.frames && Module.frames.count > 2,
                             { timeout: 20000, polling: 20 });
  return { page, errors };
}

const soundLine = (page) => page.$eval('#sound', (p) => (p.hidden ? '' : p.textContent));

// Copies every sample of the page's mix from the moment its sound starts.
function tap() {
  window.tapped = [];
  window.addEventListener('ashfallow-audio', () => {
    const { context, mix } = Module.audio;
    const node = context.createScriptProcessor(1024, 2, 2);
    node.onaudioprocess = (e) => {
      window.tapped.push(Array.from(e.inputBuffer.getChannelData(0)));
    };
    mix.connect(node);
    node.connect(context.destination);
    window.tapRate = context.sampleRate;
  });
}

test('the first key press starts the sound, and the music is heard from then on', async () => {
  const { page, errors } = await open(tap);
  assert.equal(await soundLine(page), 'Press any key for sound');
  await page.waitForFunction(() => Module.music.buffer, { timeout: 20000, polling: 50 });
  await page.keyboard.down('Space');
  await sleep(100);
  await page.keyboard.up('Space');
  assert.equal(await soundLine(page), '');
  await page.waitForFunction(() => window.tapped.length * 1024 > window.tapRate * 2,
                             { timeout: 20000, polling: 50 });
  const blocks = await page.evaluate(() => window.tapped.map((b) => {
    let sum = 0;
    for (const v of b) sum += v * v;
    return Math.sqrt(sum / b.length);
  }));
  // Every quarter second from the first one on has music in it (the piece never rests that
  // long at its start).
  const perQuarter = Math.round((await page.evaluate(() => window.tapRate)) / 4 / 1024);
  for (let q = 1; q * perQuarter < blocks.length - perQuarter; q++) {
    const slice = blocks.slice(q * perQuarter, (q + 1) * perQuarter);
    const rms = Math.max(...slice);
    assert.ok(rms > 0.003, `quarter ${q}: the mix is silent (${rms})`);
  }
  assert.deepEqual(errors, []);
  await page.close();
});

test('with no WebAudio the game plays on silently', async () => {
  const { page, errors } = await open(() => {
    delete window.AudioContext;
    delete window.webkitAudioContext;
    delete window.OfflineAudioContext;
    delete window.webkitOfflineAudioContext;
  });
  for (let i = 0; i < 2; i++) {
    await page.keyboard.down('Space');
    await sleep(150);
    await page.keyboard.up('Space');
    await sleep(150);
  }
  await page.waitForFunction(() => JSON.parse(Module.frames.trace.at(-1)).state === 2,
                             { timeout: 5000, polling: 20 });
  // Striking in play: the strike's sound has nowhere to go, the game goes on.
  await page.keyboard.down('Space');
  await sleep(500);
  await page.keyboard.up('Space');
  const count = await page.evaluate(() => Module.frames.count);
  await sleep(300);
  assert.ok(await page.evaluate(() => Module.frames.count) > count + 3, 'the game stopped');
  assert.equal(await page.evaluate(() => Module.audio), undefined);
  assert.deepEqual(errors, []);
  await page.close();
});
