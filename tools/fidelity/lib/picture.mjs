// The side-by-side picture of one comparison (reference | package | difference), with the
// figures below it and, for a known limitation, its reason, so the picture explains itself.
import path from 'node:path';

const fixed = (value, digits) => (typeof value === 'number' ? value.toFixed(digits) : 'n/a');

export function captionOf(figures, time) {
  const at = time === null ? 'at rest' : `at ${fixed(time, 3)} s`;
  return `IoU ${fixed(figures.iou, 4)}   differing ${fixed(figures.diffShare * 100, 2)}%   mean|d| ${fixed(figures.meanAbsDiff, 2)}   ${at}`;
}

// Runs in the page: draws the picture (PNG, base64) onto a taller canvas with the lines below it.
async function appendLines({ png, lines }) {
  const bytes = Uint8Array.from(atob(png), (c) => c.charCodeAt(0));
  const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }));
  const lineHeight = 16;
  const canvas = document.createElement('canvas');
  canvas.width = image.width;
  canvas.height = image.height + lines.length * lineHeight + 6;
  const context = canvas.getContext('2d');
  context.fillStyle = '#202020';
  context.fillRect(0, 0, canvas.width, canvas.height);
  context.drawImage(image, 0, 0);
  context.fillStyle = '#ffd080';
  context.font = '13px sans-serif';
  lines.forEach((line, i) => context.fillText(line, 6, image.height + (i + 1) * lineHeight));
  const url = canvas.toDataURL('image/png');
  return url.slice(url.indexOf(',') + 1);
}

// `text`, cut to `length` characters with an ellipsis where it is longer.
export function shortened(text, length) {
  return text.length <= length ? text : `${text.slice(0, length - 1)}…`;
}

// Breaks `text` into lines of at most `width` characters.
export function wrap(text, width) {
  const lines = [];
  let line = '';
  for (const word of text.split(/\s+/).filter(Boolean)) {
    if (line && line.length + 1 + word.length > width) {
      lines.push(line);
      line = word;
    } else {
      line = line ? `${line} ${word}` : word;
    }
  }
  if (line) lines.push(line);
  return lines;
}

export async function composeComparison(tool, page, { source, ref, usd, figures, maxDiff, region, size, time, limitation }) {
  const heat = tool.metrics.heatMap(maxDiff, region, size);
  const png = await tool.core.composePicture(page, [
    { rgba: ref, label: shortened(`source: ${path.basename(source)}`, Math.floor(size / 8)) },
    { rgba: usd, label: 'package' },
    { rgba: heat, opaque: true, label: 'difference' },
  ], size, captionOf(figures, time));
  if (!limitation) return png;
  const charactersPerLine = Math.floor((3 * size) / 7);
  const lines = wrap(`Known limitation: ${limitation}`, charactersPerLine);
  return Buffer.from(await page.evaluate(appendLines, { png: png.toString('base64'), lines }), 'base64');
}
