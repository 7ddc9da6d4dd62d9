// The player's state, owned here: the page's modules write it, and window.kelvorin, for tests
// and for pages that embed the demo, is a read-only view of it plus seek():
//   state  "loading", "question", "starting" (answered, the music not yet ready), "playing",
//          "ended", "frame" (?at=MS) or "error"
//   clock  the demo clock of the last pass (or of the paused frame), ms
//   scene  the scene id of the last pass            fps  passes in the last second
//   audio  the audio context's state, or "none"     message  the last message shown
//   music  seconds into the music as Web Audio plays it at the last pass, or null when none plays
//   heard  music less the output latency: what the viewer hears, which the demo clock follows
//   paused, muted      the player's state           readyAt  ms from navigation to the question
//   duration  the seek bar's end, ms                 chapters  [{id (scene), name, start ms}]
//   seek(ms)  a Promise that settles with the frame's clock once the first frame of the 60 fps
//             synthetic clock at or after ms is on the canvas (what kelvorin-capture --at ms draws)
//   shared    the last link the Share button copied
//   snapshotsTo  how far (ms) the snapshots that seeking starts from reach
//   seekFrames   frames replayed, unseen, by the last seek: at most a second's once snapshotsTo
//             has passed its target
//   reducedFlashing  whether the demo plays (or ?at= draws) in its reduced-flashing mode
//   version   the release playing (VERSION)           offline  whether a service worker keeps
//             the site for playing without the network
//   answeredAt, firstFrameAt, musicAt  ms from navigation to the answer, to the first frame on
//             the canvas, and to the first pass with the music playing (for the benchmark)
//   loaded    ms from navigation to each part being there: {program, timeline, pictures, music}
//   pictures  how this visit got its pictures: {made (by the generator), read (kept by an
//             earlier visit), kept (whether all are kept for the next visit; null until known)}
//   waitingFor  the pictures that the next frame waits for, by their index in the texture table
//             (timeline.json's pictures); empty while none is missing
//   help      whether the keys' overlay is open        recoveries  how often the demo has built its
//             picture again after the browser took WebGL away
// The length and the chapters come from the timeline itself (timeline.json, which
// kelvorin-capture --timeline --json writes at build time).

import { VERSION } from './site.js';

export const state = {
  state: 'loading', clock: 0, scene: 0, fps: 0, audio: 'none', message: '',
  music: null, heard: null, paused: false, muted: false, readyAt: null,
  duration: null, chapters: [], shared: null, snapshotsTo: 0, seekFrames: 0,
  reducedFlashing: false, version: VERSION, offline: false, answeredAt: null,
  firstFrameAt: null, musicAt: null, loaded: {}, help: false, recoveries: 0,
  pictures: { made: 0, read: 0, kept: null }, waitingFor: [],
};

// Makes window.kelvorin: every field above, read as it is now, and seek(ms).
export function publish(seek) {
  const view = {};
  for (const key of Object.keys(state)) {
    Object.defineProperty(view, key, {
      enumerable: true,
      get: () => {
        const value = state[key];
        if (Array.isArray(value)) return value.map((item) => (item && typeof item === 'object' ? { ...item } : item));
        return value && typeof value === 'object' ? { ...value } : value;
      },
    });
  }
  view.seek = seek;
  Object.defineProperty(window, 'kelvorin', { value: Object.freeze(view), enumerable: true });
}
