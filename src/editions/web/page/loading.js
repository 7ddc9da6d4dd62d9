// Loading, behind the start question: the demo's code (demo.js), its timeline, its sound list,
// the pictures, kept from an earlier visit or made by the page itself in workers (pictures.js),
// the music, which streams (sound.js), and the credits for the media controls; and the progress
// that the viewer who answered early sees in the picture's place.
//
// The pictures come in the order the demo first needs them (timeline.json's first use of each,
// from the scenes that bind them), and the demo may start once those of its first frame are
// there: the demo draws no frame before its scene's pictures have come, and says which it
// waits for (demo.js), which are then made next.
import { frame } from './address.js';
import { download, downloadJSON } from './downloads.js';
import { fetchGenerator, keep, makePictures } from './pictures.js';
import { FILES } from './site.js';
import { state } from './state.js';

const $ = (id) => document.getElementById(id);
const AUDIO_FILE = /\.(mp3|ogg|opus|m4a|wav)$/i;  // sound-list names that stream as music

export class PictureError extends Error {}

// What is still on its way.
const loading = { program: false, timeline: false, pictures: 0, of: 0, music: false };

// "the pictures (3 of 23 made)", or "the pictures" before their number is known.
export function picturesProgress() {
  return loading.of ? `the pictures (${loading.pictures} of ${loading.of} made)` : 'the pictures';
}

export function showProgress() {
  const parts = [];
  if (!loading.program) parts.push('the program');
  if (!loading.of || loading.pictures < loading.of) parts.push(picturesProgress());
  if (!loading.music) parts.push('the music');
  $('loading-what').textContent = parts.length ? `Loading ${parts.join(', ')}…` : 'Starting…';
  $('picture-wait').textContent = `Loading ${picturesProgress()}…`;
  const progress = $('progress');
  progress.max = 4;
  progress.value = loading.program + loading.timeline + loading.music
    + (loading.of ? loading.pictures / loading.of : 0);
}

// The sound list as the demo reads it; each music file it names streams from the site, and
// stands in the file system as an empty file, which is all the list's check opens. Music that
// cannot play yet holds the start for audio.lateAfter after the answer at most (answered
// settles then): the demo then starts silently and the music joins once it plays.
async function loadSounds(demo, audio, answered) {
  const list = await download(FILES['Data/Sons_WAV.txt']);
  demo.putFile('Data/Sons_WAV.txt', list);
  const names = new TextDecoder().decode(list).split(/\s+/).filter((name) => AUDIO_FILE.test(name));
  if (frame) return;
  const late = answered.then(() => new Promise((resolve) => { setTimeout(resolve, audio.lateAfter); }));
  await Promise.race([late, Promise.all(names.map((name) => {
    demo.putFile(name, new Uint8Array(0));
    if (!FILES[name]) {
      audio.problems.set(name, 'is not on the site');
      return undefined;
    }
    return audio.prepare(name, FILES[name]);
  }))]);
}

// The pictures: those kept (path -> bytes, pictures.js's readKept) handed over at once, the
// others made in the order of their first use, with the generator that pictures.js's
// fetchGenerator started (or null: then it is fetched here, if any picture is missing).
// Returns {first, all, hurry, keep}: first settles once the first frame's pictures are there,
// all once every one is (rejecting with a PictureError when one cannot be made); hurry(bits)
// has the pictures of those bits of the texture table made next; keep() keeps what this visit
// made for the next one.
function loadPictures(demo, timeline, kept, generator) {
  const made = new Map();  // path -> bytes, made by this visit
  const there = new Set();  // the indices handed to the demo
  let maker = null;
  let asked = [];  // what the demo waited for before the maker was there
  let firstThere = null;
  const first = new Promise((resolve) => { firstThere = resolve; });

  const all = Promise.all([timeline, kept]).then(([t, found]) => {
    const paths = t.pictures.map(({ name }) => `Data/${name}.bmp`);
    const use = (i) => t.pictures[i].first ?? Infinity;  // never: last
    const order = paths.map((_, i) => i).sort((a, b) => use(a) - use(b) || a - b);
    const check = () => {
      if (order.every((i) => use(i) > 0 || there.has(i))) firstThere();
    };
    const arrived = (i, bytes) => {
      there.add(i);
      demo.putFile(paths[i], bytes);
      demo.picture(i, paths[i]);
      loading.pictures++;
      showProgress();
      check();
    };
    loading.of = paths.length;
    for (const i of order) if (found.has(paths[i])) arrived(i, found.get(paths[i]));
    state.pictures.read = there.size;
    check();
    const missing = order.filter((i) => !there.has(i));
    maker = makePictures(missing, (path, bytes) => {
      made.set(path, bytes);
      state.pictures.made++;
      arrived(paths.indexOf(path), bytes);
    }, missing.length ? generator.then((g) => g || fetchGenerator()) : null);
    maker.hurry(asked);
    return maker.done.then(() => {
      state.loaded.pictures = performance.now();
      if (!made.size) state.pictures.kept = true;
    }, (e) => { throw new PictureError(e.message); });
  });
  return {
    first,
    all,
    hurry(bits) {
      const ids = [];
      for (let i = 0; bits >>> i; i++) if (bits >>> i & 1) ids.push(i);
      if (maker) maker.hurry(ids);
      else asked = ids;
    },
    keep: () => all.then(() => (made.size ? keep(made) : state.pictures.kept), () => false)
      .then((isKept) => { state.pictures.kept = isKept; }),
  };
}

// Loads everything, with the pictures that pictures.js's readKept found and the generator
// that its fetchGenerator started (null where none was), and answered, which settles at the
// viewer's answer; returns {ready, pictures}: ready
// settles once the demo can start, pictures is loadPictures's. The credits come to
// withCredits when they come.
export function loadBehind({ demo, audio, player, kept, generator, withCredits, answered }) {
  const step = (key) => () => {
    loading[key] = true;
    showProgress();
    state.loaded[key] = performance.now();
  };
  const program = demo.load().then(step('program'));
  const timeline = downloadJSON(FILES['timeline.json']);
  timeline.then((t) => player.useTimeline(t)).then(step('timeline'), () => {});
  // The media controls can do without the names they show.
  downloadJSON(FILES['credits.json']).catch(() => ({ credits: [], production: '' })).then(withCredits);
  const pictures = loadPictures(demo, timeline, kept, generator);
  // The music waits for the program's download, which the question needs first on a slow line.
  const sounds = program.then(() => loadSounds(demo, audio, answered)).then(step('music'));
  return { ready: Promise.all([program, timeline, pictures.first, sounds]), pictures };
}
