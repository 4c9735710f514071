// The results of a run: results.json (read back by the per-case checks) and a Markdown table.
import { readFileSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { describe, verdictOf } from './verdict.mjs';

export const RESULTS = 'results.json';

export function writeResults(outDir, results) {
  writeFileSync(path.join(outDir, RESULTS), JSON.stringify(results, null, 1) + '\n');
}

export function readResults(outDir) {
  const file = path.join(outDir, RESULTS);
  try {
    return JSON.parse(readFileSync(file, 'utf8'));
  } catch (error) {
    throw new Error(`no fidelity results in ${outDir} (${error.code ?? error.message}): the render step has not run`);
  }
}

const cell = (value, digits) => (typeof value === 'number' ? value.toFixed(digits) : '');

export function markdownTable(cases) {
  const rows = cases.map((r) => {
    const at = r.time === null || r.time === undefined ? 'rest' : `${cell(r.time, 3)} s`;
    const share = typeof r.diffShare === 'number' ? `${(r.diffShare * 100).toFixed(2)} %` : '';
    const verdict = verdictOf(r);
    const note = verdict === 'error' ? r.error : (r.limitation ?? '');
    return `| ${r.relPath} | ${at} | ${cell(r.iou, 4)} | ${share} | ${verdict} | ${note} |`;
  });
  return ['| file | time | IoU | differing | verdict | note |', '| --- | --- | --- | --- | --- | --- |', ...rows].join('\n') + '\n';
}

export function summaryLine(cases) {
  const count = (v) => cases.filter((r) => verdictOf(r) === v).length;
  return `${cases.length} comparisons: ${count('pass')} pass, ${count('fail')} fail, ${count('limitation')} known limitations, ` +
    `${count('stale-limitation')} stale limitations, ${count('error')} errors`;
}

export { describe };
