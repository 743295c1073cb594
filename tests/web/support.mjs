// What the Node tests share: where the two builds are, running a program, reading the
// simulator's PNG captures, and a headless Chromium of the system's own.
import { execFileSync } from 'node:child_process';
import { closeSync, mkdtempSync, openSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { dirname, join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';
import { inflateSync } from 'node:zlib';
import { after, before } from 'node:test';

import { serve } from '../../web/serve.mjs';

export const ROOT = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
export const NATIVE = resolve(process.env.ASHFALLOW_BUILD || join(ROOT, 'build'));
export const WEB = resolve(process.env.ASHFALLOW_WEB_BUILD || join(ROOT, 'build-web'));
export const NATIVE_SIM = join(NATIVE, 'sim/ashfallow-sim');
export const WASM_SIM = join(WEB, 'sim/ashfallow-sim.js');
export const DATA = join(NATIVE, 'data');
export const PAGE = join(WEB, 'page');

// Runs a program (a .js file under this Node) and gives its standard output. The output goes
// through a file: a WebAssembly program writing into a full pipe would lose what it wrote.
export function run(program, args, options = {}) {
  const [file, argv] = program.endsWith('.js')
    ? [process.execPath, [program, ...args]]
    : [program, args];
  const out = tempDir();
  const path = join(out.dir, 'stdout');
  const fd = openSync(path, 'w');
  try {
    execFileSync(file, argv, { stdio: ['ignore', fd, 'pipe'], ...options });
    return readFileSync(path, 'utf8');
  } finally {
    closeSync(fd);
    out.remove();
  }
}

export function tempDir() {
  const dir = mkdtempSync(join(tmpdir(), 'ashfallow-web-'));
  return { dir, remove: () => rmSync(dir, { recursive: true, force: true }) };
}

// The simulator's captures: 8-bit RGB, rows unfiltered, in one zlib stream. Gives
// { width, height, rgb } or throws on anything else.
export function readCapture(path) {
  const bytes = readFileSync(path);
  let at = 8;
  let width = 0, height = 0;
  const data = [];
  while (at < bytes.length) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      if (body[8] !== 8 || body[9] !== 2) throw new Error(`${path}: not 8-bit RGB`);
    } else if (type === 'IDAT') {
      data.push(body);
    }
    at += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(data));
  const rgb = Buffer.alloc(width * height * 3);
  for (let y = 0; y < height; y++) {
    const row = y * (width * 3 + 1);
    if (raw[row] !== 0) throw new Error(`${path}: filtered rows`);
    raw.copy(rgb, y * width * 3, row + 1, row + 1 + width * 3);
  }
  return { width, height, rgb };
}

// The flags the system's Chromium runs with here: no sandbox as root, no GPU, and nothing
// that reaches for the network by itself.
export const CHROMIUM_ARGS = [
  '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
];

export async function launchChromium(puppeteer) {
  const profile = tempDir();
  const browser = await puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile.dir,
    args: CHROMIUM_ARGS,
  });
  return { browser, close: async () => { await browser.close(); profile.remove(); } };
}

// The built page served on a free loopback port and one Chromium for a test file's tests:
// `live.base` is the page's address and `live.chromium` the browser, once the tests run.
export function pageInChromium(puppeteer) {
  const live = {};
  before(async () => {
    live.server = await serve(PAGE, 0);
    live.base = `http://127.0.0.1:${live.server.address().port}/`;
    live.chromium = await launchChromium(puppeteer);
  });
  after(async () => {
    await live.chromium?.close();
    live.server?.close();
  });
  return live;
}

export const sleep = (ms) => new Promise((done) => setTimeout(done, ms));

// Copies the page's mix in blocks of `size` samples, each with the audio-clock time its first
// sample was heard at (a script processor's input is one block behind its output). Given to
// page.evaluateOnNewDocument(mixTap, size), so it runs inside the page.
export function mixTap(size) {
  window.blocks = [];
  window.addEventListener('ashfallow-audio', () => {
    const { context, mix } = Module.audio;
    const node = context.createScriptProcessor(size, 2, 2);
    node.onaudioprocess = (e) => {
      window.blocks.push({ time: e.playbackTime - size / context.sampleRate,
                           samples: Array.from(e.inputBuffer.getChannelData(0)) });
    };
    mix.connect(node);
    node.connect(context.destination);
    window.tapRate = context.sampleRate;
  });
}
