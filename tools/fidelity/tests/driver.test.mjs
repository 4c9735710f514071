// The driver's own logic, without a browser: case lists, animation spans, verdicts, captions.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import { animationSpan } from '../lib/animation-span.mjs';
import { parseCases, parseLimitations } from '../lib/cases.mjs';
import { wrap } from '../lib/picture.mjs';
import { describe, verdictOf } from '../lib/verdict.mjs';

test('a case list gives each line a unique, file-safe key and its time', () => {
  const cases = parseCases([
    '# comment', '',
    'corpus/a/Box.gltf            # at rest',
    'corpus/a/Box.gltf  mid',
    'corpus/b/Box.gltf',
    'corpus/c/přívodní-šňůra.gltf',
    'corpus/d/Walk.glb  0.25',
  ].join('\n'));
  assert.deepEqual(cases.map((c) => [c.key, c.time]), [
    ['Box', null], ['Box@mid', 'mid'], ['Box_2', null], ['p__vodn_-___ra', null], ['Walk@0.25', 0.25],
  ]);
});

test('a case list refuses what it cannot mean', () => {
  assert.throws(() => parseCases('a.gltf soon'), /case 1: time "soon"/);
  assert.throws(() => parseCases('a.gltf -1'), /neither "mid" nor seconds/);
  assert.throws(() => parseCases('a.gltf 1 2'), /more than a path and a time/);
  assert.throws(() => parseLimitations('a.gltf'), /has no reason/);
  assert.equal(parseLimitations('a.gltf  three.js  draws no sheen # why').get('a.gltf'), 'three.js draws no sheen');
});

test('the animation span is the last key time of any sampler', () => {
  const document = {
    accessors: [{ max: [1.5] }, { max: [4] }, {}, { max: ['x'] }],
    animations: [{ samplers: [{ input: 0 }, { input: 2 }] }, { samplers: [{ input: 1 }, { input: 3 }, { input: 9 }] }],
  };
  assert.equal(animationSpan(document), 4);
  assert.equal(animationSpan({}), 0);
});

test('verdicts hold the thresholds and keep known limitations apart', () => {
  const base = { key: 'k', ok: true, iou: 0.98, diffShare: 0.05 };
  assert.equal(verdictOf(base), 'pass');
  assert.equal(verdictOf({ ...base, iou: 0.9799 }), 'fail');
  assert.equal(verdictOf({ ...base, diffShare: 0.0501 }), 'fail');
  assert.equal(verdictOf({ ...base, diffShare: 0.2, limitation: 'no sheen' }), 'limitation');
  assert.equal(verdictOf({ ...base, limitation: 'no sheen' }), 'stale-limitation');
  assert.equal(verdictOf({ key: 'k', ok: false, error: 'conversion failed' }), 'error');
  assert.equal(verdictOf({ key: 'k', ok: false, error: 'converted, not drawn', limitation: 'no scene' }), 'limitation');
  const empty = { key: 'k', ok: true, iou: null, diffShare: null, pixels: { union: 0 } };
  assert.equal(verdictOf(empty), 'pass');
  assert.match(describe(empty), /both pictures are empty/);
  assert.match(describe({ ...base, diffShare: 0.2 }), /^k: fail: IoU 0\.9800, differing 20\.00 %/);
});

test('a reason is wrapped into lines that fit the picture', () => {
  const lines = wrap('three.js no longer reads the specular-glossiness extension', 20);
  assert.ok(lines.every((line) => line.length <= 20));
  assert.equal(lines.join(' '), 'three.js no longer reads the specular-glossiness extension');
});
