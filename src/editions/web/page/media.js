// The page as a media app: the screen stays on while the demo plays (Screen Wake Lock), and the
// system's media controls (media keys, a headset's buttons, a phone's lock screen) show the demo
// and work it (Media Session). The session belongs to the page because its music plays through
// a media element (sound.js), which is what browsers give the system's controls to. Where
// either API is missing or refused, nothing else changes.
import { FILES } from './site.js';
import { state } from './state.js';

const SEEK_STEP = 10000;      // ms, as J and L
const CHAPTER_GRACE = 3000;   // ms into a chapter after which "previous" restarts it

export function createMedia(player, credits) {
  const session = navigator.mediaSession || null;
  let lock = null;      // the wake lock held, or a promise of one
  let wanted = false;   // whether the screen should stay on now

  // ---- Screen Wake Lock ----

  function keepAwake(on) {
    wanted = on;
    if (on && !lock && navigator.wakeLock && document.visibilityState === 'visible') {
      lock = navigator.wakeLock.request('screen').then((sentinel) => {
        if (!wanted) {
          sentinel.release().catch(() => {});
          return null;
        }
        // The browser lets it go itself when the page is hidden.
        sentinel.addEventListener('release', () => { if (lock === sentinel) lock = null; });
        lock = sentinel;
        return sentinel;
      }, () => {
        lock = null;
        return null;
      });
    } else if (!on && lock) {
      Promise.resolve(lock).then((sentinel) => sentinel && sentinel.release()).catch(() => {});
      lock = null;
    }
  }

  // ---- Media Session ----

  function chapterIndex(ms) {
    let index = 0;
    state.chapters.forEach((chapter, i) => { if (chapter.start <= ms) index = i; });
    return index;
  }

  const actions = {
    play: () => player.resume(),
    pause: () => player.pause(),
    seekbackward: (d) => player.seek(state.clock - (d.seekOffset ? d.seekOffset * 1000 : SEEK_STEP)),
    seekforward: (d) => player.seek(state.clock + (d.seekOffset ? d.seekOffset * 1000 : SEEK_STEP)),
    seekto: (d) => player.seek(d.seekTime * 1000),
    previoustrack: () => {
      const i = chapterIndex(state.clock);
      const here = state.chapters[i];
      player.seek(state.clock - here.start > CHAPTER_GRACE || i === 0 ? here.start : state.chapters[i - 1].start);
    },
    nexttrack: () => {
      const next = state.chapters[chapterIndex(state.clock) + 1];
      if (next) player.seek(next.start);
    },
  };

  if (session) {
    for (const [action, handler] of Object.entries(actions)) {
      try {
        session.setActionHandler(action, handler);
      } catch (e) {
        // An action this browser does not know.
      }
    }
  }

  function describe() {
    if (!session || !window.MediaMetadata) return;
    const artwork = Object.keys(FILES).filter((name) => /^kelvorin(-\d+)?\.png$/.test(name)).map((name) => {
      const size = /-(\d+)\./.exec(name);
      return { src: FILES[name], sizes: size ? `${size[1]}x${size[1]}` : '256x256', type: 'image/png' };
    });
    session.metadata = new MediaMetadata({
      title: 'KELVORIN', artist: credits.credits.map((c) => c.name).join(', '), album: credits.production,
      artwork,
    });
  }

  // Where the demo is, for the system's seek bar: the music's place and length.
  function showPosition() {
    if (!session || !session.setPositionState || !state.duration) return;
    try {
      session.setPositionState({
        duration: state.duration / 1000, playbackRate: 1,
        position: Math.min(state.duration, state.clock) / 1000,
      });
    } catch (e) {
      // A browser that keeps no position.
    }
  }

  document.addEventListener('visibilitychange', () => {
    // Hidden, the page pauses (player.js) and the browser lets the lock go; shown again, the
    // demo stays paused until the viewer resumes, and the lock comes back with it.
    if (document.visibilityState === 'visible' && wanted) keepAwake(true);
  });

  let shownAt = 0;
  return {
    // The demo began, paused, resumed, sought or ended: state says which.
    update() {
      const playing = state.state === 'playing' && !state.paused;
      keepAwake(playing);
      if (session) session.playbackState = state.state !== 'playing' ? 'none' : (state.paused ? 'paused' : 'playing');
      if (state.state === 'playing' && session && !session.metadata) describe();
      showPosition();
    },
    // Every pass: the position now and then (the system moves it on by itself meanwhile).
    pass(now) {
      if (now - shownAt < 1000) return;
      shownAt = now;
      showPosition();
    },
    held: () => !!lock,
  };
}
