// What the page's address asks for:
//   ?at=MS[&size=WxH]        one frame on the synthetic clock (what kelvorin-capture --at MS
//                            draws, 800x600 by default), nothing played
//   ?t=SECONDS               the start question, then the demo from there (decimals allowed)
//   ?reduced-flashing=1 (0)  the start question's Reduced flashing box ticked (cleared)
//   ?loop=1                  the demo starts again at its length, over and over (an installation)
import { state } from './state.js';

const params = new URLSearchParams(location.search);

function parseFrameRequest(p) {
  const at = Number(p.get('at'));
  const size = /^(\d+)x(\d+)$/.exec(p.get('size') || '800x600');
  if (!Number.isInteger(at) || at < 0 || at > 0xFFFFFFFF || !size) return { bad: true };
  const width = Number(size[1]), height = Number(size[2]);
  if (width < 1 || height < 1 || width > 4096 || height > 4096) return { bad: true };
  return { at, width, height };
}

// {at, width, height} for ?at=, {bad: true} for a ?at= that cannot be drawn, or null.
export const frame = params.has('at') ? parseFrameRequest(params) : null;

// Whether the demo plays over and over.
export const loop = params.get('loop') === '1';

// The start question answered ahead, for a screen nobody attends: true for ?fullscreen=1,
// false for ?window=1, null to ask. Without a gesture a browser may refuse fullscreen; a
// kiosk browser fills the screen anyway.
export const answeredAhead =
  params.get('fullscreen') === '1' ? true : params.get('window') === '1' ? false : null;

// Where the demo starts playing, ms.
export const startAt = params.has('t') ? Number(params.get('t')) * 1000 : 0;

// What is wrong with the address, in the words of the page's message, or null.
export function addressProblem() {
  if (frame && frame.bad) {
    return 'Use ?at=MS with a whole number of milliseconds, and optionally &size=WxH (800x600).';
  }
  if (!Number.isFinite(startAt) || startAt < 0) {
    return 'Use ?t=SECONDS with a number of seconds from the start, such as ?t=95 or ?t=95.5.';
  }
  return null;
}

// Reduced flashing: the address chooses it; otherwise the start question's box is ticked where
// the system asks for less motion. ?at= frames follow the address alone, as kelvorin-capture
// follows its option. Returns what to hand the demo as it starts (1 or 0): the box's state then.
export function chooseReducedFlashing() {
  const asked = params.get('reduced-flashing');
  const box = document.getElementById('reduced-flashing');
  box.checked = asked !== null ? asked !== '0'
    : !frame && window.matchMedia('(prefers-reduced-motion: reduce)').matches;
  state.reducedFlashing = box.checked;
  box.addEventListener('change', () => { state.reducedFlashing = box.checked; });
  // The warning's link keeps the rest of the address (a moment, ?t=).
  const linked = new URLSearchParams(params);
  linked.set('reduced-flashing', '1');
  document.querySelector('#flash-warning a').href = `?${linked}`;
  return () => {
    if (!frame) state.reducedFlashing = box.checked;
    return state.reducedFlashing ? 1 : 0;
  };
}
