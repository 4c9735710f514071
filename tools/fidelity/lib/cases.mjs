// The comparisons to make: which source files, at which times, and which of them a known
// limitation of the reference renderer or of the preview surface keeps from matching.
//
// A case list has one source a line, its path relative to the shared folder, then optionally
// the time to pose it at: "mid" (half-way through its longest animation) or seconds. A file
// compared at rest and in motion is listed twice. `#` starts a comment.
//
// A limitations list has the same paths, each followed by the reason its picture shows; a path
// ending in "@mid" or "@SECONDS" names the file at that time only. A reason that begins with
// "Not drawn:" keeps the package from being rendered at all.
import { readFileSync } from 'node:fs';
import path from 'node:path';

const NOT_DRAWN = 'Not drawn:';

function meaningfulLines(text) {
  return text.split('\n').map((line) => line.replace(/#.*/, '').trim()).filter(Boolean);
}

function parseTime(word, where) {
  if (word === undefined) return null;
  if (word === 'mid') return 'mid';
  const seconds = Number(word);
  if (!Number.isFinite(seconds) || seconds < 0) throw new Error(`${where}: time "${word}" is neither "mid" nor seconds`);
  return seconds;
}

// A file-system-safe name for the case's outputs, unique within `taken`.
function keyFor(relPath, time, taken) {
  const stem = path.basename(relPath).replace(/\.[^.]*$/, '').replace(/[^A-Za-z0-9._-]/g, '_');
  const base = time === null ? stem : `${stem}@${time}`;
  let key = base;
  for (let n = 2; taken.has(key); n++) key = `${base}_${n}`;
  taken.add(key);
  return key;
}

export function parseCases(text, listName = 'case list') {
  const taken = new Set();
  return meaningfulLines(text).map((line, index) => {
    const [relPath, timeWord, extra] = line.split(/\s+/);
    const where = `${listName}, case ${index + 1}`;
    if (extra !== undefined) throw new Error(`${where}: more than a path and a time`);
    const time = parseTime(timeWord, where);
    return { relPath, time, key: keyFor(relPath, time, taken) };
  });
}

// path -> reason.
export function parseLimitations(text) {
  const reasons = new Map();
  for (const line of meaningfulLines(text)) {
    const [relPath, ...words] = line.split(/\s+/);
    if (!words.length) throw new Error(`limitations: ${relPath} has no reason`);
    reasons.set(relPath, words.join(' '));
  }
  return reasons;
}

export function readCases(file, limitationsFile) {
  const cases = parseCases(readFileSync(file, 'utf8'), path.basename(file));
  const reasons = limitationsFile ? parseLimitations(readFileSync(limitationsFile, 'utf8')) : new Map();
  return cases.map((c) => {
    const limitation = reasons.get(`${c.relPath}@${c.time}`) ?? reasons.get(c.relPath) ?? null;
    return { ...c, limitation, drawn: !limitation?.startsWith(NOT_DRAWN) };
  });
}
