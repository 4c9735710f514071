// One comparison: the source converted with our converter, both rendered with the same camera
// and light in one open browser page, the figures and the side-by-side picture.
import { execFile } from 'node:child_process';
import { writeFileSync } from 'node:fs';
import path from 'node:path';
import { promisify } from 'node:util';
import { animationSpanOfFile } from './animation-span.mjs';
import { composeComparison } from './picture.mjs';

const run = promisify(execFile);
const CONVERT_TIMEOUT_MS = 300000;

// Converts `source` into `usdz`; returns the converter's output, throws with it on failure.
export async function convert(converter, source, usdz) {
  try {
    const { stdout, stderr } = await run(converter, ['-o', usdz, source], { timeout: CONVERT_TIMEOUT_MS });
    return stdout + stderr;
  } catch (error) {
    const output = `${error.stdout ?? ''}${error.stderr ?? ''}`.trim();
    throw new Error(`conversion failed: ${output.split('\n').pop() || error.message}`);
  }
}

// The time a case is posed at, in seconds (null: at rest).
function timeOf(c, source) {
  return c.time === 'mid' ? animationSpanOfFile(source) / 2 : c.time;
}

// What a failed step was doing, in its message.
async function step(what, action) {
  try {
    return await action();
  } catch (error) {
    throw new Error(`${what}: ${String(error?.message ?? error).split('\n')[0]}`);
  }
}

// Renders both files and writes <key>.png; returns the figures.
export async function compare(tool, page, { c, source, usdz, outDir, size }) {
  const time = timeOf(c, source);
  const ref = await step('drawing the source', () => tool.core.renderOne(page.session, source, { size, time, page: page.current }));
  const usd = await step('drawing the package', () => tool.core.renderOne(page.session, usdz, {
    size, time, camera: ref.info.camera, page: page.current,
  }));
  const { figures, maxDiff, region } = tool.metrics.compareRenders(ref.rgba, usd.rgba, size);
  const picture = path.join(outDir, `${c.key}.png`);
  writeFileSync(picture, await composeComparison(tool, page.current, {
    source, ref: ref.rgba, usd: usd.rgba, figures, maxDiff, region, size, time, limitation: c.limitation,
  }));
  return { ...figures, time, picture, notes: usd.info.notes ?? [] };
}
