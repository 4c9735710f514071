// When a package looks like its source: the outlines agree (IoU) and few pixels differ by more
// than the renderer's difference threshold.
export const PASS_IOU = 0.98;
export const PASS_DIFF_SHARE = 0.05;

// 'pass', 'fail', 'limitation' (fails, or cannot be drawn, for a known reason),
// 'stale-limitation' (a case listed as a known limitation that now passes: the entry is out of
// date) or 'error'.
// Neither picture shows anything (a single-sided model seen from behind): they agree.
function bothEmpty(result) {
  return result.pixels?.union === 0;
}

export function verdictOf(result) {
  if (!result.ok) return result.limitation ? 'limitation' : 'error';
  const passes = bothEmpty(result) || (result.iou >= PASS_IOU && result.diffShare <= PASS_DIFF_SHARE);
  if (result.limitation) return passes ? 'stale-limitation' : 'limitation';
  return passes ? 'pass' : 'fail';
}

const percent = (share) => (typeof share === 'number' ? `${(share * 100).toFixed(2)} %` : 'n/a');
const fixed = (value) => (typeof value === 'number' ? value.toFixed(4) : 'n/a');

// One line: what was compared, the figures, the verdict.
export function describe(result) {
  const figures = !result.ok ? result.error
    : bothEmpty(result) ? 'both pictures are empty'
      : `IoU ${fixed(result.iou)}, differing ${percent(result.diffShare)}`;
  const verdict = verdictOf(result);
  const why = {
    pass: '',
    fail: ` (needs IoU >= ${PASS_IOU} and differing <= ${percent(PASS_DIFF_SHARE)})`,
    limitation: ` (known limitation: ${result.limitation})`,
    'stale-limitation': ' (listed as a known limitation but passes: drop the entry)',
    error: '',
  }[verdict];
  return `${result.key}: ${verdict}: ${figures}${why}`;
}
