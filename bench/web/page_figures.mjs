// The page's figures, each measured in this one run (the machine is shared: compare ratios):
//   node bench/web/page_figures.mjs [SECONDS]      (scripts/web --figures; 60 s of play)
// - the compressed size (gzip -9) of the page's WebAssembly, its script and its data files;
// - the time from navigation to the first frame, over three loads;
// - frames per second over SECONDS of play, and the longest gap between two frames;
// - the frame's own work at about 50 actors: the WebAssembly build in a page against the
//   native build, the same program (bench/web/frame_load.cpp) on the headless backend;
// - the CPU the sound costs: every Chromium process's CPU time over the same scripted play of
//   SECONDS, with the sound started by the first key and with no WebAudio in the page.
import { readdirSync, readFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { join } from 'node:path';
import { gzipSync } from 'node:zlib';
import assert from 'node:assert/strict';

import { serve } from '../../web/serve.mjs';
import { DATA, NATIVE, PAGE, ROOT, launchChromium, run, sleep } from '../../tests/web/support.mjs';

const puppeteer = createRequire(join(ROOT, 'tests/web/package.json'))('puppeteer-core');
const seconds = Number(process.argv[2] || 60);
const gzipped = (path) => gzipSync(readFileSync(path), { level: 9 }).length;
const kib = (bytes) => `${(bytes / 1024).toFixed(1)} KiB`;
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];

const dataFiles = readdirSync(join(PAGE, 'data'));
const sizes = {
  wasm: gzipped(join(PAGE, 'ashfallow.wasm')),
  script: gzipped(join(PAGE, 'ashfallow.js')) + gzipped(join(PAGE, 'index.html')),
  data: dataFiles.reduce((sum, name) => sum + gzipped(join(PAGE, 'data', name)), 0),
};
console.log(`compressed (gzip -9): wasm ${kib(sizes.wasm)}, script and page ${kib(sizes.script)}, ` +
            `data ${kib(sizes.data)} in ${dataFiles.length} files; ` +
            `all ${kib(sizes.wasm + sizes.script + sizes.data)}`);

// CPU seconds (user + system) of a process and all its descendants, from /proc.
function treeCpu(root) {
  const ticks = new Map(), children = new Map();
  for (const name of readdirSync('/proc')) {
    if (!/^\d+$/.test(name)) continue;
    let stat;
    try { stat = readFileSync(`/proc/${name}/stat`, 'latin1'); } catch { continue; }
    const f = stat.slice(stat.lastIndexOf(')') + 2).split(' ');
    const pid = Number(name), parent = Number(f[1]);
    ticks.set(pid, Number(f[11]) + Number(f[12]));
    if (!children.has(parent)) children.set(parent, []);
    children.get(parent).push(pid);
  }
  let sum = 0;
  const todo = [root];
  while (todo.length) {
    const pid = todo.pop();
    sum += ticks.get(pid) || 0;
    todo.push(...(children.get(pid) || []));
  }
  return sum / 100;  // clock ticks of 1/100 s (USER_HZ)
}

const server = await serve(PAGE, 0);
const base = `http://127.0.0.1:${server.address().port}/`;
const chromium = await launchChromium(puppeteer);
try {
  const firsts = [];
  for (let i = 0; i < 3; i++) {
    const page = await chromium.browser.newPage();
    await page.goto(base);
    await page.waitForFunction(() => window.Module && Module.frames && Module.frames.first !== null,
      { timeout: 30000, polling: 5 });
    firsts.push(await page.evaluate(() => Module.frames.first));
    await page.close();
  }
  console.log(`navigation to first frame: median ${median(firsts).toFixed(0)} ms ` +
              `(${firsts.map((t) => t.toFixed(0)).join(', ')})`);

  // Play as a player who starts and then stands: the field fills as the spawns speed up.
  const page = await chromium.browser.newPage();
  await page.goto(`${base}?undying&seed=7`);
  await page.waitForFunction(() => window.Module && Module.frames && Module.frames.count > 5,
    { timeout: 30000 });
  for (const key of ['Space', 'Space']) {
    await page.keyboard.down(key);
    await sleep(100);
    await page.keyboard.up(key);
    await sleep(300);
  }
  const from = await page.evaluate(() => Module.frames.count);
  await sleep(seconds * 1000);
  const played = await page.evaluate((from) => {
    const f = Module.frames;
    return { start: f.start.slice(from), work: f.work.slice(from), actors: f.actors.slice(from) };
  }, from);
  await page.close();
  const gaps = played.start.slice(1).map((t, i) => t - played.start[i]);
  const span = (played.start.at(-1) - played.start[0]) / 1000;
  console.log(`play for ${span.toFixed(1)} s: ${((played.start.length - 1) / span).toFixed(2)} frames/s, ` +
              `longest gap ${Math.max(...gaps).toFixed(1)} ms, gaps over 45 ms: ` +
              `${gaps.filter((g) => g > 45).length} of ${gaps.length}; ` +
              `work median ${median(played.work).toFixed(0)} us at ${Math.max(...played.actors)} actors at most`);

  // The sound's CPU: the same play with the sound on and with no WebAudio, one after the other.
  const cpuSeconds = Math.min(seconds, 30);
  const cpuOf = async (silent) => {
    const page = await chromium.browser.newPage();
    if (silent) {
      await page.evaluateOnNewDocument(() => {
        delete window.AudioContext;
        delete window.webkitAudioContext;
      });
    }
    await page.goto(`${base}?undying&seed=7`);
    await page.waitForFunction(() => window.Module && Module.frames && Module.frames.count > 5 &&
                               (!window.AudioContext || Module.music.buffer), { timeout: 30000 });
    for (const key of ['Space', 'Space']) {
      await page.keyboard.down(key);
      await sleep(100);
      await page.keyboard.up(key);
      await sleep(300);
    }
    const heard = await page.evaluate(() => Module.audio !== undefined);
    await sleep(1000);
    const pid = chromium.browser.process().pid;
    const cpu0 = treeCpu(pid), wall0 = performance.now();
    for (let s = 0; s < cpuSeconds; s++) {
      await page.keyboard.down('Space');
      await sleep(120);
      await page.keyboard.up('Space');
      await sleep(880);
    }
    const cpu = treeCpu(pid) - cpu0, wall = (performance.now() - wall0) / 1000;
    await page.close();
    return { cpu, wall, heard };
  };
  // Alternated, twice each, after a settling second, so neither gets the warmer machine.
  const runs = [];
  for (const quiet of [true, false, true, false]) runs.push({ quiet, ...(await cpuOf(quiet)) });
  const total = (quiet) => runs.filter((r) => r.quiet === quiet)
    .reduce((t, r) => ({ cpu: t.cpu + r.cpu, wall: t.wall + r.wall, heard: r.heard }), { cpu: 0, wall: 0 });
  const silent = total(true), sounding = total(false);
  console.log(`  per run, % of a core: ${runs.map((r) => `${r.quiet ? 'silent' : 'sound'} ` +
              `${(100 * r.cpu / r.wall).toFixed(1)}`).join(', ')}`);
  assert(sounding.heard && !silent.heard);
  console.log(`Chromium CPU over ${cpuSeconds} s of play, a strike a second: with sound ` +
              `${(100 * sounding.cpu / sounding.wall).toFixed(1)}% of a core, without ` +
              `${(100 * silent.cpu / silent.wall).toFixed(1)}%; the sound costs ` +
              `${(100 * (sounding.cpu / sounding.wall - silent.cpu / silent.wall)).toFixed(1)}% of a core ` +
              `(ratio ${(sounding.cpu / sounding.wall / (silent.cpu / silent.wall)).toFixed(2)})`);

  // The load program, native and in a page, one after the other.
  const native = run(join(NATIVE, 'tests/web/web_frame_load'), [DATA]).trim();
  const bench = await chromium.browser.newPage();
  await bench.goto(`${base}bench/`);
  await bench.waitForFunction(() => window.result, { timeout: 120000, polling: 100 });
  const wasm = await bench.evaluate(() => window.result);
  await bench.close();
  const us = (line) => Number(/median_us ([\d.]+)/.exec(line)[1]);
  console.log(`frame work at about 50 actors: native ${native}`);
  console.log(`                                page   ${wasm}`);
  console.log(`page / native (median): ${(us(wasm) / us(native)).toFixed(2)}`);
} finally {
  await chromium.close();
  server.close();
}
