// The side-by-side picture of one comparison (reference | package | difference), with the
// figures below it and, for a known limitation, its reason, so the picture explains itself.
import path from 'node:path';

const fixed = (value, digits) => (typeof value === 'number' ? value.toFixed(digits) : 'n/a');

export function captionOf(figures, time) {
  const at = time === null ? 'at rest' : `at ${fixed(time, 3)} s`;
  return `IoU ${fixed(figures.iou, 4)}   differing ${fixed(figures.diffShare * 100, 2)}%   mean|d| ${fixed(figures.meanAbsDiff, 2)}   ${at}`;
}

// Runs in the page: draws the picture onto a taller canvas with the lines below it.
async function appendLines({ png, lines }) {
  const image = new Image();
  image.src = `data:image/png;base64,${png}`;
  await image.decode();
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
    { rgba: ref, label: `source: ${path.basename(source)}` },
    { rgba: usd, label: 'package' },
    { rgba: heat, opaque: true, label: 'difference' },
  ], size, captionOf(figures, time));
  if (!limitation) return Buffer.from(png, 'base64');
  const charactersPerLine = Math.floor((3 * size) / 7);
  const lines = wrap(`Known limitation: ${limitation}`, charactersPerLine);
  return Buffer.from(await page.evaluate(appendLines, { png, lines }), 'base64');
}
