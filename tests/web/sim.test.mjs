// The simulator as WebAssembly under Node is the same game as the native one: every golden
// replay gives the committed trace, the captured frames are the same files, and the tables,
// random sequences and glyphs come out the same to the bit.
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';

import { DATA, NATIVE, NATIVE_SIM, ROOT, WASM_SIM, WEB, run, tempDir } from './support.mjs';

// The golden runs as the native golden test lists them: { "name", seed, frames }.
function goldenRuns() {
  const source = readFileSync(join(ROOT, 'tests/flow/golden_test.cpp'), 'utf8');
  const table = source.slice(source.indexOf('GOLDEN_RUNS[]'), source.indexOf('};', source.indexOf('GOLDEN_RUNS[]')));
  return [...table.matchAll(/\{"(\w+)",\s*(\d+),\s*(\d+)\}/g)].map((m) => ({
    name: m[1], seed: m[2], frames: m[3],
  }));
}

const withoutWork = (trace) => trace.replace(/,"work_us":\d+/g, '');

test('the golden runs are all found', () => {
  assert.ok(goldenRuns().length >= 5);
});

for (const golden of goldenRuns()) {
  test(`golden run ${golden.name}: the WebAssembly trace is the committed one`, () => {
    const trace = run(WASM_SIM, ['--data', DATA, '--seed', golden.seed, '--frames', golden.frames,
      '--keys', join(ROOT, 'tests/flow', `${golden.name}.keys`), '--trace']);
    const expected = readFileSync(join(ROOT, 'tests/flow', `${golden.name}.trace`), 'utf8');
    const got = withoutWork(trace).split('\n');
    const want = expected.split('\n');
    assert.equal(got.length, want.length, 'frames');
    const first = got.findIndex((line, i) => line !== want[i]);
    assert.equal(first, -1, `first difference at line ${first + 1}:\n${got[first]}\n${want[first]}`);
  });
}

test('captures of every screen are the same files from both builds', () => {
  const out = tempDir();
  try {
    // The README's replay: title, controls, a busy play frame with the HUD, game over.
    const passes = [0, 3, 8, 400, 700, 1250];
    const args = (dir) => ['--data', DATA, '--seed', '4', '--frames', '1260',
      '--keys', join(ROOT, 'tests/flow/screenshots.keys'),
      ...passes.flatMap((pass) => ['--capture', `${pass}:${join(out.dir, `${dir}-${pass}.png`)}`])];
    run(NATIVE_SIM, args('native'));
    run(WASM_SIM, args('wasm'));
    for (const pass of passes) {
      const native = readFileSync(join(out.dir, `native-${pass}.png`));
      const wasm = readFileSync(join(out.dir, `wasm-${pass}.png`));
      assert.ok(native.equals(wasm), `pass ${pass} differs`);
    }
  } finally {
    out.remove();
  }
});

test('the tables, random sequences and glyphs agree to the bit', () => {
  const native = run(join(NATIVE, 'tests/web/parity_dump'), []).split('\n');
  const wasm = run(join(WEB, 'parity_dump.js'), []).split('\n');
  assert.ok(native.length > 361 + 5000 + 255, 'a full dump');
  assert.equal(wasm.length, native.length);
  const first = wasm.findIndex((line, i) => line !== native[i]);
  assert.equal(first, -1, `native: ${native[first]}\nwasm:   ${wasm[first]}`);
});

test('a malformed key script is refused as natively', () => {
  const out = tempDir();
  try {
    const script = join(out.dir, 'bad.keys');
    run('/bin/sh', ['-c', `printf '5 spcae down\\n' > ${script}`]);
    const refuse = (sim) => {
      try {
        run(sim, ['--frames', '1', '--keys', script]);
      } catch (e) {
        return [e.status, e.stderr.toString()];
      }
      return [0, ''];
    };
    const [nativeStatus, nativeSaid] = refuse(NATIVE_SIM);
    const [wasmStatus, wasmSaid] = refuse(WASM_SIM);
    assert.equal(wasmStatus, 2);
    assert.equal(wasmStatus, nativeStatus);
    assert.equal(wasmSaid, nativeSaid);
  } finally {
    out.remove();
  }
});

test('a data file missing from the folder is reported and play goes on, as natively', () => {
  const out = tempDir();
  try {
    run('/bin/sh', ['-c', `cp ${DATA}/* ${out.dir}/ && rm ${out.dir}/bat.WAV ${out.dir}/title.BMP`]);
    const args = ['--data', out.dir, '--seed', '4', '--frames', '200', '--trace',
      '--keys', join(ROOT, 'tests/flow/strike.keys')];
    const native = run(NATIVE_SIM, args);
    const wasm = run(WASM_SIM, args);
    assert.equal(withoutWork(wasm), withoutWork(native));
    assert.equal(withoutWork(wasm).trim().split('\n').length, 200);
  } finally {
    out.remove();
  }
});
