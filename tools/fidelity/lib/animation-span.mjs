// How long a glTF file's longest animation runs, read from its JSON: the largest key time of
// any sampler (glTF requires every animation input accessor to carry its max).
import { readFileSync } from 'node:fs';

const GLB_MAGIC = 0x46546c67; // "glTF"
const JSON_CHUNK = 0x4e4f534a; // "JSON"

function documentText(bytes) {
  if (bytes.length < 20 || bytes.readUInt32LE(0) !== GLB_MAGIC) return bytes.toString('utf8');
  const length = bytes.readUInt32LE(12);
  if (bytes.readUInt32LE(16) !== JSON_CHUNK || 20 + length > bytes.length) throw new Error('GLB without a JSON chunk');
  return bytes.subarray(20, 20 + length).toString('utf8');
}

export function animationSpan(document) {
  let longest = 0;
  for (const animation of document.animations ?? []) {
    for (const sampler of animation.samplers ?? []) {
      const last = Number(document.accessors?.[sampler.input]?.max?.[0]);
      if (Number.isFinite(last)) longest = Math.max(longest, last);
    }
  }
  return longest;
}

export function animationSpanOfFile(file) {
  return animationSpan(JSON.parse(documentText(readFileSync(file))));
}
