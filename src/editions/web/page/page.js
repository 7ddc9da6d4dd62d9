// The page around the browser edition, its entry module: it asks the start question at once
// and loads everything behind it (loading.js), starts the demo (demo.js) the moment the viewer
// has answered and everything its first frame needs is there (the other pictures come while it
// plays), hands the playing demo to the viewer's player
// (player.js), takes the keys, keeps the site for offline play (offline.js), and lets the viewer
// try again when the music's download breaks off. Which screen shows is screen.js's; what the
// address asks, address.js's; the player's state, state.js's; the site's files are named by
// their content, site.js has the names.
//
// window.kelvorin, for tests and for pages that embed the demo, is described in state.js.
import { addressProblem, answeredAhead, chooseReducedFlashing, frame, startAt } from './address.js';
import { createDemo } from './demo.js';
import { DownloadError } from './downloads.js';
import { canFullscreen, enterFullscreen, leaveFullscreen, toggleFullscreen } from './fullscreen.js';
import { createHelp } from './help.js';
import { loadBehind, PictureError, showProgress } from './loading.js';
import { createMedia } from './media.js';
import { keepOffline } from './offline.js';
import { fetchGenerator, readKept } from './pictures.js';
import { createPlayer } from './player.js';
import { probeWebGL2 } from './probe.js';
import { fail, go, notice, onEnter } from './screen.js';
import { createSound } from './sound.js';
import { publish, state } from './state.js';

{
  const $ = (id) => document.getElementById(id);
  const OFFLINE_AFTER = 5000;  // ms from everything loaded to keeping the site for offline play

  const reducedFlashing = chooseReducedFlashing();
  const audio = createSound(notice);
  const help = createHelp();
  let media = null;  // the system's media controls, once the credits have come

  const player = createPlayer(audio, {
    canFullscreen,
    toggleFullscreen,
    toggleHelp: () => help.toggle(),
    changed() {
      if (media) media.update();
      // Paused, nothing waits for the music.
      if (state.paused) demo.stopWaiting();
    },
    notice,
  });
  publish((ms) => player.seek(ms));
  let pictures = null;  // loading.js's, once loading has begun
  const demo = createDemo({ audio, player, help, media: () => media, hurry: (bits) => pictures.hurry(bits) });

  for (const screen of ['ended', 'error']) onEnter(screen, () => { if (media) media.update(); });
  onEnter('error', () => {
    audio.close();
    leaveFullscreen();
  });

  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible' && state.state === 'playing') audio.unlock();
  });
  // A sound output that has not started (or that a call interrupted) gets each later gesture,
  // which is when browsers let it start.
  for (const gesture of ['pointerup', 'keydown', 'touchend']) {
    window.addEventListener(gesture, () => { if (state.state === 'playing') audio.unlock(); }, true);
  }

  // Settles once the demo can start (loadIfDrawable starts the loading).
  let loaded = null;
  let everything = new Promise((resolve, reject) => { loaded = { resolve, reject }; });
  // Settles at the viewer's first answer (loading.js bounds the wait for the music by it).
  let answeredNow = null;
  const answered = new Promise((resolve) => { answeredNow = resolve; });

  function showQuestion() {
    go('question');
    $('yes').focus();
    const first = state.readyAt === null;
    if (first) state.readyAt = performance.now();
    if (first && answeredAhead !== null) answer(answeredAhead);
  }

  // Sound and fullscreen are granted only inside the viewer's click or key press; the demo
  // itself starts once everything has arrived (the music able to play, or 5 s late), so that
  // picture and sound begin together.
  function answer(fullscreen) {
    if (state.state !== 'question') return;
    if (state.answeredAt === null) state.answeredAt = performance.now();
    answeredNow();
    audio.unlock();
    if (fullscreen) enterFullscreen();
    const reduced = reducedFlashing();
    showProgress();
    go('starting');
    everything.then(() => {
      if (state.state === 'starting') demo.play(fullscreen, reduced, startAt);
    }, () => {});
  }

  // A touch answers at its end, where iOS lets the page start sound; the click that would
  // follow it is not wanted.
  for (const [id, fullscreen] of [['yes', true], ['no', false]]) {
    $(id).addEventListener('click', () => answer(fullscreen));
    $(id).addEventListener('touchend', (e) => {
      e.preventDefault();
      answer(fullscreen);
    });
  }
  $('again').addEventListener('click', () => {
    if (!demo.ready()) return;
    everything = Promise.resolve();
    showQuestion();
  });

  // The keys' overlay takes its keys first, before the demo's own listener (on the window, in
  // the capture phase, added when its window opens): Escape there closes it, and ends nothing.
  window.addEventListener('keydown', (e) => {
    if (!help.onKey(e)) return;
    e.preventDefault();
    e.stopImmediatePropagation();
  }, true);

  window.addEventListener('keydown', (e) => {
    if (state.state === 'question' && (e.key === 'Enter' || e.key === 'Escape')) {
      e.preventDefault();
      // Return answers with the button that has the focus, Yes unless the viewer moved it.
      answer(e.key === 'Enter' && document.activeElement !== $('no'));
    } else if (e.key === 'F1') {
      // The browser's own F1 opens its help.
      e.preventDefault();
      if (state.state === 'playing' && !e.repeat) player.onKey({ key: 'f', target: e.target });
    } else if (state.state === 'playing' && player.onKey(e)) {
      e.preventDefault();
    }
  });

  // A broken download of the music while it plays: the demo waits, and the viewer may try again.
  audio.onStall = (retry) => {
    if (state.state !== 'playing') return;
    player.pause();
    $('stalled').hidden = false;
    state.message = $('stalled').querySelector('.text').textContent;
    $('retry').onclick = () => {
      $('stalled').hidden = true;
      retry();
      player.resume();
    };
  };

  function loadFailed(e) {
    if (state.state === 'error') return;  // the first failure says why
    if (e instanceof DownloadError) fail('Download failed', `${e.message} Reload the page to try again.`);
    else if (e instanceof PictureError) {
      fail('The pictures could not be made', `${e.message}. Reload the page to try again.`);
    } else demo.startFailed(e);
  }

  function loadIfDrawable(drawable, kept, generator) {
    if (!drawable) {
      fail('WebGL 2 needed', 'KELVORIN draws with WebGL 2, which this browser does not offer or has '
        + 'turned off. A current Chrome, Edge, Firefox or Safari, with hardware acceleration on, has it.');
      return;
    }
    const loading = loadBehind({ demo, audio, player, kept, generator, answered,
      withCredits: (credits) => { media = createMedia(player, credits); } });
    ({ pictures } = loading);
    loading.ready.then(loaded.resolve, loaded.reject);
    pictures.all.catch(loadFailed);
    everything.then(() => {
      if (state.state === 'error') return;
      if (frame) {
        demo.drawFrame(reducedFlashing());
        return;
      }
      // The copies for offline play and for the next visit wait a little: a viewer who
      // answered at once is watching the first frames, and the music's download comes first.
      setTimeout(() => {
        keepOffline(state);
        pictures.keep();
      }, OFFLINE_AFTER);
    }, loadFailed);
  }

  function load() {
    const problem = addressProblem();
    if (problem) {
      fail('Bad address', problem);
      return;
    }
    if (frame) {
      document.body.classList.add('frame');
      go('loading');
    } else {
      showQuestion();
    }
    // Without WebGL 2 nothing is downloaded but the picture generator, which starts at once
    // unless an earlier visit kept the pictures: making them takes longest.
    const kept = readKept();
    const generator = kept.then((found) => (found.size ? null : fetchGenerator()));
    generator.catch(() => {});
    probeWebGL2().then((drawable) => loadIfDrawable(drawable, kept, generator));
  }

  load();
}
