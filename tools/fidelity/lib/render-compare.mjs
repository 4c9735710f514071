// Finds the installed render-compare tool beside the project (../shared/tools/render-compare,
// or the copy its install script makes under the user's cache when that folder is read-only)
// and loads the modules we drive it through.
import { createHash } from 'node:crypto';
import { existsSync, readFileSync } from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

// Why the comparison cannot run here, for a message that says what to install.
export class ToolMissing extends Error {}

function installedHome(toolDir) {
  const lock = path.join(toolDir, 'package-lock.json');
  if (!existsSync(lock)) throw new ToolMissing(`render-compare not found in ${toolDir}`);
  if (existsSync(path.join(toolDir, 'node_modules/three/package.json'))) return toolDir;
  const key = createHash('sha256').update(readFileSync(lock)).digest('hex').slice(0, 16);
  const cache = process.env.XDG_CACHE_HOME || path.join(os.homedir(), '.cache');
  const copy = path.join(cache, 'render-compare', key);
  if (existsSync(path.join(copy, 'node_modules/three/package.json'))) return copy;
  throw new ToolMissing(`render-compare is not installed: run ${path.join(toolDir, 'install')}`);
}

// The tool's modules: { core, metrics, browser }. Throws ToolMissing when the tool or
// Chromium is absent.
export async function loadRenderCompare(sharedDir) {
  const home = installedHome(path.join(sharedDir, 'tools', 'render-compare'));
  const load = (file) => import(pathToFileURL(path.join(home, 'lib', file)).href);
  const [core, metrics, browser] = await Promise.all(
    ['render-core.mjs', 'metrics.mjs', 'browser.mjs'].map(load));
  let chromium;
  try {
    chromium = browser.chromiumPath();
  } catch (error) {
    throw new ToolMissing(error.message);
  }
  if (!existsSync(chromium)) throw new ToolMissing(`Chromium not found at ${chromium}: install it (Debian: apt-get install -y chromium)`);
  return { core, metrics, browser };
}
