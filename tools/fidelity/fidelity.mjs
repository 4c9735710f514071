#!/usr/bin/env node
// Converts model files with our converter and compares each package with its source, picture
// against picture, in one browser for the whole list (a browser start costs more than a
// comparison).
//
//   fidelity.mjs run --shared DIR --converter PROGRAM --cases LIST --out DIR
//                    [--limitations LIST] [--size PIXELS]
//   fidelity.mjs check --out DIR --case N
//
// `run` writes each package (named after its source's path), <key>.png (source | package |
// difference), results.json and table.md into the output folder and prints one line a
// comparison; it exits 0 once every case was tried, whatever the figures. `check` reports case
// N (counted from 1 in the case list) of an earlier run and fails when it does not look like
// its source. Both exit 77 where the render-compare tool or Chromium is missing, so the test
// suite shows them as skipped.
import { mkdirSync, writeFileSync } from 'node:fs';
import path from 'node:path';
import { readCases } from './lib/cases.mjs';
import { compare, convert } from './lib/comparison.mjs';
import { loadRenderCompare, ToolMissing } from './lib/render-compare.mjs';
import { describe, markdownTable, readResults, summaryLine, writeResults } from './lib/report.mjs';
import { verdictOf } from './lib/verdict.mjs';

const SKIP = 77;

function options(argv) {
  const o = { size: 256 };
  for (let i = 0; i < argv.length; i += 2) {
    const name = argv[i].replace(/^--/, '');
    if (argv[i + 1] === undefined) throw new Error(`${argv[i]} needs a value`);
    o[name] = argv[i + 1];
  }
  return o;
}

function required(o, ...names) {
  for (const name of names) if (o[name] === undefined) throw new Error(`--${name} is required`);
}

// The open page, and a way to replace it.
async function openPages(tool, files) {
  const session = await tool.core.openRenderSession(files);
  const pages = { session, current: await session.newPage(), used: 0 };
  pages.renew = async () => {
    await pages.current.close().catch(() => {});
    pages.current = await session.newPage();
    pages.used = 0;
  };
  return pages;
}

// Pages are replaced after this many comparisons: the USD reader's WebAssembly memory never
// shrinks.
const COMPARISONS_PER_PAGE = 8;

async function compareCase(tool, pages, c, o, converted) {
  const source = path.resolve(o.shared, c.relPath);
  const usdz = path.join(o.out, `${c.relPath.replace(/[^A-Za-z0-9._-]/g, '_')}.usdz`);
  const started = Date.now();
  try {
    if (!converted.has(usdz)) {
      writeFileSync(`${usdz}.log`, await convert(o.converter, source, usdz));
      converted.add(usdz);
    }
    if (!c.drawn) return { ...c, ok: false, error: 'converted, not drawn' };
    const figures = await compareOnAPage(tool, pages, { c, source, usdz, outDir: o.out, size: Number(o.size) });
    return { ...c, ok: true, ...figures, seconds: (Date.now() - started) / 1000 };
  } catch (error) {
    return { ...c, ok: false, error: String(error?.message ?? error).split('\n')[0] };
  }
}

// A render that fails may leave its page in any state (a crashed page among them): the next
// case gets a fresh one.
async function compareOnAPage(tool, pages, job) {
  if (pages.used === COMPARISONS_PER_PAGE) await pages.renew();
  pages.used++;
  try {
    return await compare(tool, pages, job);
  } catch (error) {
    await pages.renew();
    throw error;
  }
}

async function runAll(o) {
  required(o, 'shared', 'converter', 'cases', 'out');
  const cases = readCases(o.cases, o.limitations);
  mkdirSync(o.out, { recursive: true });
  let tool;
  try {
    tool = await loadRenderCompare(o.shared);
  } catch (error) {
    if (!(error instanceof ToolMissing)) throw error;
    writeResults(o.out, { skipped: error.message, cases: [] });
    console.log(`SKIPPED: ${error.message}`);
    return SKIP;
  }
  const sources = cases.map((c) => path.resolve(o.shared, c.relPath));
  const pages = await openPages(tool, [...sources, path.join(o.out, 'x.usdz')]);
  const results = [];
  const converted = new Set();
  try {
    for (const c of cases) {
      results.push(await compareCase(tool, pages, c, o, converted));
      console.log(describe(results.at(-1)));
    }
  } finally {
    await pages.session.close();
  }
  writeResults(o.out, { size: Number(o.size), cases: results });
  writeFileSync(path.join(o.out, 'table.md'), markdownTable(results));
  console.log(summaryLine(results));
  return 0;
}

function checkOne(o) {
  required(o, 'out', 'case');
  const results = readResults(o.out);
  if (results.skipped) {
    console.log(`SKIPPED: ${results.skipped}`);
    return SKIP;
  }
  const result = results.cases[Number(o.case) - 1];
  if (!result) throw new Error(`case ${o.case} was not compared in the last run`);
  console.log(describe(result));
  if (result.picture) console.log(`picture: ${result.picture}`);
  const verdict = verdictOf(result);
  if (verdict === 'limitation') return SKIP;
  return verdict === 'pass' ? 0 : 1;
}

const [command, ...rest] = process.argv.slice(2);
try {
  const o = options(rest);
  if (command === 'run') process.exitCode = await runAll(o);
  else if (command === 'check') process.exitCode = checkOne(o);
  else throw new Error('usage: fidelity.mjs run|check --option value ... (see the head of fidelity.mjs)');
} catch (error) {
  console.error(`fidelity: ${error.message}`);
  process.exitCode = 2;
}
