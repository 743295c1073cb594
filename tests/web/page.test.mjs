// The page in the system's headless Chromium, played as a player would: the title frame is the
// native capture, Space twice starts play, ArrowRight walks, a blur lets go of it, a hidden tab
// rests without a jump, Escape ends the game; and the page's own lines for what it cannot do.
import assert from 'node:assert/strict';
import { join } from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';

import puppeteer from 'puppeteer-core';

import { DATA, NATIVE_SIM, PAGE, pageInChromium, readCapture, run, sleep, tempDir } from './support.mjs';

const live = pageInChromium(puppeteer);

// A fresh tab on the page, with every console error and page error kept.
async function open(query = '?trace', prepare = async () => {}) {
  const page = await live.chromium.browser.newPage();
  await page.setViewport({ width: 1280, height: 800 });
  const errors = [];
  const console = [];
  page.on('console', (m) => {
    console.push(m.text());
    if (m.type() === 'error') errors.push(m.text());
  });
  page.on('pageerror', (e) => errors.push(e.message));
  await prepare(page);
  await page.goto(live.base + query);
  return { page, errors, console };
}

const frames = (page) => page.evaluate(() => Module.frames.count);
const lastTrace = async (page) => JSON.parse(await page.evaluate(() => Module.frames.trace.at(-1)));
const line = (page) => page.$eval('#line', (p) => (p.hidden ? '' : p.textContent));

async function waitFor(page, what, timeout = 10000, ...args) {
  await page.waitForFunction(what, { timeout, polling: 20 }, ...args);
}

// Down and up as a player presses: each held until the game has run two frames with it (or
// has ended), so a busy machine's slow frames never miss a change.
async function press(page, key) {
  for (const change of ['down', 'up']) {
    const seen = await frames(page);
    await page.keyboard[change](key);
    await waitFor(page, (n) => Module.frames.count >= n + 2 || Module.ended, 5000, seen);
  }
}

async function waitForState(page, state) {
  await waitFor(page, (s) => JSON.parse(Module.frames.trace.at(-1)).state === s, 5000, state);
}

test('a game in the page: title, play, walking, blur, a hidden tab and the end', async () => {
  const { page, errors } = await open('?trace&seed=4');
  await waitFor(page, () => window.Module && Module.frames && Module.frames.count > 2, 20000);

  // The title frame, read at the canvas's own 640 x 480, is the native capture of it.
  const out = tempDir();
  try {
    const capture = join(out.dir, 'title.png');
    run(NATIVE_SIM, ['--data', DATA, '--frames', '1', '--capture', `0:${capture}`]);
    const native = readCapture(capture);
    const canvas = Buffer.from(await page.evaluate(() => {
      const c = Module.canvas;
      const rgba = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
      let text = '';
      for (let i = 0; i < rgba.length; i += 4) text += String.fromCharCode(rgba[i], rgba[i + 1], rgba[i + 2]);
      return btoa(text);
    }), 'base64');
    assert.equal((await lastTrace(page)).state, 0, 'still on the title');
    assert.equal(native.width * native.height * 3, canvas.length);
    assert.ok(canvas.equals(native.rgb), 'the title frame differs from the native capture');
  } finally {
    out.remove();
  }

  // Space leaves the title, Space again starts play.
  await press(page, 'Space');
  await waitForState(page, 1);
  await press(page, 'Space');
  await waitForState(page, 2);

  // ArrowRight held walks the player right.
  const x0 = (await lastTrace(page)).x;
  await page.keyboard.down('ArrowRight');
  await sleep(500);
  const x1 = (await lastTrace(page)).x;
  assert.ok(x1 > x0 + 10, `x went from ${x0} to ${x1}`);

  // The page loses focus while the key is held: the key is let go, the player stands.
  await page.evaluate(() => window.dispatchEvent(new FocusEvent('blur')));
  await sleep(100);
  const x2 = (await lastTrace(page)).x;
  await sleep(400);
  const x3 = (await lastTrace(page)).x;
  assert.equal(x3, x2, 'the player walked on after the blur');
  await page.keyboard.up('ArrowRight');

  // Hidden for a while: no frame runs, and none takes the hidden time as its step when the
  // page is shown again (the spawn charge fills by a frame's step, never by seconds).
  const setHidden = (hidden) => page.evaluate((h) => {
    Object.defineProperty(document, 'hidden', { configurable: true, get: () => h });
    Object.defineProperty(document, 'visibilityState', { configurable: true, get: () => (h ? 'hidden' : 'visible') });
    document.dispatchEvent(new Event('visibilitychange'));
  }, hidden);
  await setHidden(true);
  await sleep(100);
  const restingAt = await frames(page);
  await sleep(1500);
  assert.equal(await frames(page), restingAt, 'frames ran while the page was hidden');
  await setHidden(false);
  await waitFor(page, (n) => Module.frames.count > n + 10, 5000, restingAt);
  const steps = await page.evaluate(() => Module.frames.trace.slice(-15).map((t) => JSON.parse(t).charge));
  for (let i = 1; i < steps.length; i++) {
    const step = steps[i] - steps[i - 1];
    assert.ok(step <= 60, `the charge jumped by ${step} in one frame`);
  }

  // Escape ends the game and the page says so. Held, it is asked for again every frame, as
  // natively, so the end comes once it is let go.
  await press(page, 'Escape');
  await waitFor(page, () => Module.ended === true, 5000);
  assert.equal(await line(page), 'Ashfallow has ended - reload to play again');
  const passes = await frames(page);
  await sleep(200);
  assert.equal(await frames(page), passes, 'frames ran after the end');

  assert.deepEqual(errors, []);
  await page.close();
});

test('the page keeps its arrows and Space to itself', async () => {
  const { page } = await open('');
  await waitFor(page, () => window.Module && Module.frames && Module.frames.count > 0, 20000);
  const prevented = await page.evaluate(() => {
    const result = {};
    for (const code of ['ArrowDown', 'Space', 'F5', 'KeyR']) {
      const event = new KeyboardEvent('keydown', { code, key: code, bubbles: true, cancelable: true });
      window.dispatchEvent(event);
      result[code] = event.defaultPrevented;
      window.dispatchEvent(new KeyboardEvent('keyup', { code, key: code, bubbles: true }));
    }
    return result;
  });
  assert.deepEqual(prevented, { ArrowDown: true, Space: true, F5: false, KeyR: false });
  await page.close();
});

test('a data file missing from the server is said on the console and play goes on', async () => {
  const { page, console } = await open('?trace', async (p) => {
    await p.setRequestInterception(true);
    p.on('request', (request) => {
      if (request.url().endsWith('/data/bat.WAV')) request.respond({ status: 404, body: 'no' });
      else request.continue();
    });
  });
  await waitFor(page, () => window.Module && Module.frames && Module.frames.count > 5, 20000);
  assert.ok(console.some((text) => text.includes('data file "bat.WAV" is missing')), console.join('\n'));
  await press(page, 'Space');
  await waitForState(page, 1);
  await page.close();
});

test('without WebAssembly, or opened as a file, the page says so in one line', async () => {
  const { page } = await open('', async (p) => {
    await p.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  });
  await waitFor(page, () => !document.getElementById('line').hidden, 5000);
  assert.equal(await line(page), 'Ashfallow needs a browser with WebAssembly.');
  await page.close();
  const local = await live.chromium.browser.newPage();
  await local.goto(pathToFileURL(join(PAGE, 'index.html')).href);
  assert.match(await line(local), /^Ashfallow must be served, not opened as a file/);
  await local.close();
});
