// Loading, behind the start question: the demo's code (demo.js), its timeline, its sound list,
// the pictures that the page makes itself in workers (pictures.js), the music, which streams
// (sound.js), and the credits for the media controls; and the progress that the viewer who
// answered early sees in the picture's place.
import { frame } from './address.js';
import { download, downloadJSON } from './downloads.js';
import { makePictures } from './pictures.js';
import { FILES } from './site.js';
import { state } from './state.js';

const $ = (id) => document.getElementById(id);
const AUDIO_FILE = /\.(mp3|ogg|opus|m4a|wav)$/i;  // sound-list names that stream as music

export class PictureError extends Error {}

// What is still on its way.
const loading = { program: false, timeline: false, pictures: 0, of: 0, music: false };

export function showProgress() {
  const parts = [];
  if (!loading.program) parts.push('the program');
  if (!loading.of || loading.pictures < loading.of) {
    parts.push(loading.of ? `the pictures (${loading.pictures} of ${loading.of} made)` : 'the pictures');
  }
  if (!loading.music) parts.push('the music');
  $('loading-what').textContent = parts.length ? `Loading ${parts.join(', ')}…` : 'Starting…';
  const progress = $('progress');
  progress.max = 4;
  progress.value = loading.program + loading.timeline + loading.music
    + (loading.of ? loading.pictures / loading.of : 0);
}

// The sound list as the demo reads it; each music file it names streams from the site, and
// stands in the file system as an empty file, which is all the list's check opens.
async function loadSounds(demo, audio) {
  const list = await download(FILES['Data/Sons_WAV.txt']);
  demo.putFile('Data/Sons_WAV.txt', list);
  const names = new TextDecoder().decode(list).split(/\s+/).filter((name) => AUDIO_FILE.test(name));
  if (frame) return;
  await Promise.all(names.map((name) => {
    demo.putFile(name, new Uint8Array(0));
    if (!FILES[name]) {
      audio.problems.set(name, 'is not on the site');
      return undefined;
    }
    return audio.prepare(name, FILES[name]);
  }));
}

// Loads everything, with the picture generator that pictures.js's fetchGenerator started;
// settles once the demo can start. The credits come to withCredits when they come.
export function loadBehind({ demo, audio, player, generator, withCredits }) {
  const step = (key) => () => {
    loading[key] = true;
    showProgress();
    state.loaded[key] = performance.now();
  };
  const program = demo.load().then(step('program'));
  const timeline = downloadJSON(FILES['timeline.json']).then((t) => player.useTimeline(t)).then(step('timeline'));
  // The media controls can do without the names they show.
  downloadJSON(FILES['credits.json']).catch(() => ({ credits: [], production: '' })).then(withCredits);
  const pictures = makePictures((path, bytes, count) => {
    demo.putFile(path, bytes);
    loading.pictures++;
    loading.of = count;
    showProgress();
  }, generator).then(() => { state.loaded.pictures = performance.now(); },
    (e) => { throw new PictureError(e.message); });
  // The music waits for the program's download, which the question needs first on a slow line.
  const sounds = program.then(() => loadSounds(demo, audio)).then(step('music'));
  return Promise.all([program, timeline, pictures, sounds]);
}
