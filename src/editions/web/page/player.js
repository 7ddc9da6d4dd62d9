// The viewer's player around the playing demo: pause, seek to the exact frame, share a moment,
// mute, fullscreen, with the keys and control bar that video players use, by mouse, keyboard
// or touch. It owns the demo clock that each pass reads (clock()): the music as the viewer
// hears it while it plays, the wall clock otherwise, frozen while paused, and moved by seeks.
// The page makes one with createPlayer(audio, screen), gives it the demo's timeline
// (useTimeline) and hands it each new demo; screen.changed() hears of every start, pause,
// resume, seek and stop.
import { loop } from './address.js';
import { state } from './state.js';

export function createPlayer(audio, screen) {
  const $ = (id) => document.getElementById(id);
  const FRAME = 1000 / 60;      // how far the picture may be from what is heard
  const HIDE_AFTER = 3000;      // the controls go after this long without input
  // The timeline's length (the seek bar's end) and its chapters: the scenes in order, each
  // from the first frame it draws on the 60 fps synthetic clock.
  let DURATION = 0;
  let CHAPTERS = [{ id: 0, name: '', start: 0 }];

  let demo = null;        // the instance playing
  let last = 0;           // the clock of the last pass, ms
  let lastNow = 0;        // performance.now() then
  let hideTimer = 0;
  let dragging = false;
  let seeking = Promise.resolve();
  let afterShown = null;  // settles the seek whose frame waits for its pictures

  state.paused = false;

  const clamp = (ms) => Math.min(DURATION, Math.max(0, ms));

  function chapterAt(ms) {
    let found = CHAPTERS[0];
    for (const chapter of CHAPTERS) if (chapter.start <= ms) found = chapter;
    return found;
  }

  function format(ms) {
    const seconds = Math.floor(ms / 1000);
    return `${Math.floor(seconds / 60)}:${String(seconds % 60).padStart(2, '0')}`;
  }

  // ---- The address: ?t= of a paused moment ----

  function link(ms) {
    const params = new URLSearchParams(location.search);
    params.delete('at');
    params.delete('size');
    params.delete('t');
    if (ms !== null) params.set('t', (ms / 1000).toFixed(3).replace(/\.?0+$/, ''));
    const query = params.toString();
    return `${location.origin}${location.pathname}${query ? `?${query}` : ''}`;
  }

  function showAddress() {
    history.replaceState(history.state, '', link(state.paused && demo ? last : null));
  }

  // ---- The control bar ----

  const bar = $('seekbar');

  // The demo's length and chapters, from timeline.json: the bar's end, its marks and names.
  function useTimeline(timeline) {
    DURATION = timeline.length;
    CHAPTERS = timeline.chapters;
    state.duration = DURATION;
    state.chapters = CHAPTERS;
    bar.setAttribute('aria-valuemax', String(Math.floor(DURATION / 1000)));
    bar.removeAttribute('aria-valuenow');  // so that showTime names the first chapter
    for (const chapter of CHAPTERS.slice(1)) {
      const mark = document.createElement('div');
      mark.className = 'chapter-mark';
      mark.style.left = `${(chapter.start / DURATION) * 100}%`;
      bar.appendChild(mark);
    }
    showTime(0);
  }

  function showTime(ms) {
    const shown = clamp(ms);
    $('seek-fill').style.width = `${(shown / DURATION) * 100}%`;
    $('time').textContent = `${format(ms)} / ${format(DURATION)}`;
    const seconds = Math.floor(shown / 1000);
    if (bar.getAttribute('aria-valuenow') !== String(seconds)) {
      bar.setAttribute('aria-valuenow', String(seconds));
      bar.setAttribute('aria-valuetext', `${format(shown)}, ${chapterAt(shown).name}`);
    }
  }

  function showPaused() {
    const button = $('play-pause');
    button.setAttribute('aria-label', state.paused ? 'Play (k)' : 'Pause (k)');
    button.classList.toggle('paused', state.paused);
  }

  function showControls() {
    $('controls').classList.add('shown');
    $('stage').classList.remove('idle');
    clearTimeout(hideTimer);
    hideTimer = setTimeout(() => {
      if (dragging) return showControls();
      $('controls').classList.remove('shown');
      $('stage').classList.add('idle');
      hideTip();
    }, HIDE_AFTER);
  }

  // Where on the bar a pointer is, in demo milliseconds.
  function barTime(event) {
    const box = bar.getBoundingClientRect();
    return clamp(((event.clientX - box.left) / box.width) * DURATION);
  }

  function showTip(ms) {
    const tip = $('seek-tip');
    tip.textContent = `${chapterAt(ms).name} · ${format(ms)}`;
    tip.style.left = `${(ms / DURATION) * 100}%`;
    tip.hidden = false;
  }

  function hideTip() { $('seek-tip').hidden = true; }

  bar.addEventListener('pointermove', (e) => {
    showTip(barTime(e));
    if (dragging) showTime(barTime(e));
  });
  bar.addEventListener('pointerleave', () => { if (!dragging) hideTip(); });
  bar.addEventListener('pointerdown', (e) => {
    if (!demo) return;
    dragging = true;
    bar.setPointerCapture(e.pointerId);
    showTip(barTime(e));
    showTime(barTime(e));
    e.preventDefault();
  });
  const endDrag = (e) => {
    if (!dragging) return;
    dragging = false;
    hideTip();
    if (e.type === 'pointerup') player.seek(barTime(e));
  };
  bar.addEventListener('pointerup', endDrag);
  bar.addEventListener('pointercancel', endDrag);

  // A button clicked with the pointer gives the focus back, so that Space goes on pausing rather
  // than pressing the button again; from the keyboard it keeps it.
  for (const [id, action] of [['play-pause', () => player.toggle()], ['mute', () => player.toggleMute()],
    ['share', () => player.share()], ['fullscreen', () => screen.toggleFullscreen()],
    ['keys', () => screen.toggleHelp()]]) {
    $(id).addEventListener('click', (e) => {
      action();
      if (e.detail > 0) e.currentTarget.blur();
    });
  }
  if (!screen.canFullscreen) $('fullscreen').hidden = true;

  // A mouse click on the picture pauses or resumes; a tap only brings the controls.
  $('picture').addEventListener('pointerdown', (e) => {
    showControls();
    if (e.pointerType === 'mouse' && e.button === 0 && e.target.id === 'canvas') player.toggle();
  });
  $('stage').addEventListener('mousemove', () => { if (demo) showControls(); });

  // ---- Keys, as video players have them ----

  function onKey(e) {
    if (!demo || e.ctrlKey || e.altKey || e.metaKey) return false;
    const key = e.key.length === 1 ? e.key.toLowerCase() : e.key;
    // A focused button takes Space and Return itself.
    if ((key === ' ' || key === 'Enter') && e.target instanceof HTMLButtonElement) return false;
    const onBar = e.target === bar;
    if (key === ' ' || key === 'k') player.toggle();
    else if (key === 'ArrowLeft' || (onBar && key === 'ArrowDown')) player.seek(last - 5000);
    else if (key === 'ArrowRight' || (onBar && key === 'ArrowUp')) player.seek(last + 5000);
    else if (key === 'j' || (onBar && key === 'PageDown')) player.seek(last - 10000);
    else if (key === 'l' || (onBar && key === 'PageUp')) player.seek(last + 10000);
    else if (key === 'Home' || key === '0') player.seek(0);
    else if (onBar && key === 'End') player.seek(DURATION);
    else if (key >= '1' && key <= '9' && key.length === 1) player.seek((DURATION * Number(key)) / 10);
    else if (key === 'm') player.toggleMute();
    else if (key === 'f') { if (!e.repeat) screen.toggleFullscreen(); }
    else if ((key === '.' || key === ',') && state.paused) player.step(key === '.' ? 1 : -1);
    else if (key === '?') screen.toggleHelp();
    else if (key === 'Escape') {
      // The demo ends on Escape in its next pass, which a paused demo must run.
      if (state.paused) player.resume();
      return false;
    } else return false;
    showControls();
    return true;
  }

  // ---- Snapshots for seeking ----

  // The demo makes the snapshots that seeking starts from a little in every animation frame;
  // the browser's idle time between frames makes them sooner.
  function makeSnapshots(instance) {
    const idle = window.requestIdleCallback ? window.requestIdleCallback.bind(window)
      : (work) => setTimeout(() => work({ timeRemaining: () => 4 }), 50);
    const work = (deadline) => {
      if (demo !== instance) return;
      const budget = Math.floor(deadline.timeRemaining()) - 1;
      if (budget > 0 && instance._kelvorin_make_snapshots(budget) >= DURATION) return;
      idle(work);
    };
    idle(work);
  }

  // ---- The player ----

  const player = {
    onKey,
    useTimeline,

    // A new demo has started (its first pass comes next), at from ms.
    start(instance, from) {
      demo = instance;
      makeSnapshots(instance);
      state.paused = false;
      last = 0;
      lastNow = performance.now();
      showPaused();
      showTime(0);
      showControls();
      screen.changed();
      if (from > 0) this.seek(from);
    },

    stop() {
      this.shown();
      demo = null;
      state.paused = false;
      clearTimeout(hideTimer);
      $('controls').classList.remove('shown');
      showAddress();
      screen.changed();
    },

    // Paused: the next frame of the 60 fps clock (delta 1) or the one before (-1).
    step(delta) {
      if (!demo || !state.paused) return;
      last = state.clock = demo._kelvorin_step(delta);
      showTime(last);
      showAddress();
      screen.changed();
    },

    // The clock for the next pass: it follows what is heard to within a frame, without ever
    // going back (a step back would be a huge step forward to the demo's unsigned clock), and
    // holds while the music waits for its data.
    clock() {
      const now = performance.now();
      let t = audio.waiting() ? last : last + (now - lastNow);
      const music = audio.music();
      state.music = music;
      state.heard = music === null ? null : music - audio.latency();
      const heard = state.heard === null ? null : state.heard * 1000;
      if (heard !== null) t = Math.min(heard + FRAME, Math.max(heard - FRAME, t));
      t = Math.max(t, last);
      if (loop && DURATION > 0 && t >= DURATION) {
        // The demo starts again exactly as it first started, and the music with it; a pass
        // that comes a whole length late (a sleeping tab) starts from the beginning.
        demo._kelvorin_restart();
        t = t < 2 * DURATION ? t - DURATION : 0;
        audio.sync(t);
      }
      last = t;
      lastNow = now;
      return Math.floor(t);
    },

    pass(clock) {
      if (!dragging) showTime(clock);
    },

    // The demo waits for pictures: the clock holds, and the music with it.
    hold() {
      lastNow = performance.now();
      audio.pause();
    },

    // The frame that a seek, a pause or a step chose is on the canvas: the clock goes on from
    // it now.
    shown() {
      lastNow = performance.now();
      const settle = afterShown;
      afterShown = null;
      if (settle) settle();
    },

    pause() {
      if (!demo || state.paused) return;
      state.paused = true;
      audio.pause();
      last = demo._kelvorin_pause(1);
      state.clock = last;
      state.fps = 0;
      showPaused();
      showTime(last);
      showAddress();
      screen.changed();
    },

    resume() {
      if (!demo || !state.paused) return;
      state.paused = false;
      last = demo._kelvorin_pause(0);
      lastNow = performance.now();
      audio.unlock();
      showPaused();
      showAddress();
      screen.changed();
    },

    toggle() {
      if (state.paused) this.resume();
      else this.pause();
    },

    // Settles with the frame's clock once the frame at ms is on the canvas, which may wait for
    // its pictures.
    seek(ms) {
      if (!demo) return Promise.reject(new Error('nothing plays'));
      const instance = demo;
      seeking = seeking.then(() => new Promise((resolve) => {
        if (demo !== instance) return resolve(null);
        // The music starts again at the new place with the next pass; until then nothing is heard.
        audio.pause();
        const shown = instance._kelvorin_seek(Math.round(clamp(ms)));
        state.seekFrames = instance._kelvorin_seek_frames();
        last = state.clock = shown;
        lastNow = performance.now();
        showTime(shown);
        if (state.paused) showAddress();
        screen.changed();
        const settle = () => requestAnimationFrame(() => resolve(shown));
        if (state.waitingFor.length) afterShown = settle;
        else settle();
      }));
      return seeking;
    },

    toggleMute() {
      audio.setMuted(!audio.muted);
      state.muted = audio.muted;
      $('mute').classList.toggle('muted', audio.muted);
      $('mute').setAttribute('aria-label', audio.muted ? 'Unmute (m)' : 'Mute (m)');
    },

    share() {
      const url = link(last);
      state.shared = url;
      const copied = () => screen.notice(`Link copied: ${url}`);
      const refused = () => screen.notice(`Copy this link: ${url}`);
      if (navigator.clipboard && navigator.clipboard.writeText) {
        navigator.clipboard.writeText(url).then(copied, refused);
      } else {
        refused();
      }
    },
  };

  // A hidden page pauses, and stays paused when it shows again: the viewer resumes.
  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'hidden') player.pause();
  });

  return player;
}
