#!/usr/bin/env node
// Prints the case list of the whole corpus: every glTF, GLB and VRM file of the shared
// corpus's manifest at rest, and each one that animates half-way through too.
//
//   corpus-cases.mjs SHARED_DIR > cases.txt
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { animationSpanOfFile } from './lib/animation-span.mjs';

const SOURCE_KINDS = new Set(['gltf', 'glb', 'vrm']);

function animates(file) {
  try {
    return animationSpanOfFile(file) > 0;
  } catch {
    return false; // a document the converter refuses is compared at rest only
  }
}

const shared = process.argv[2];
if (!shared) {
  console.error('usage: corpus-cases.mjs SHARED_DIR');
  process.exit(2);
}
const manifest = JSON.parse(readFileSync(path.join(shared, 'corpus', 'manifest.json'), 'utf8'));
for (const model of manifest.models.filter((m) => SOURCE_KINDS.has(m.kind))) {
  const relPath = `corpus/${model.path}`;
  console.log(relPath);
  if (animates(path.join(shared, relPath))) console.log(`${relPath} mid`);
}
