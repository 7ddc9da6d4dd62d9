// The demo itself (kelvorin.js, kelvorin.wasm, compiled once) and the bridge it calls
// (Module.page): a new canvas for every rendering context, its passes and what they show, its
// messages, its end, and recovery when the browser takes WebGL away. One instance waits to
// play (every new one starts with each scene at its start) and one plays.
import { frame } from './address.js';
import { download, loadScript } from './downloads.js';
import { leaveFullscreen, unlockKeys } from './fullscreen.js';
import { fail, go, notice } from './screen.js';
import { FILES } from './site.js';
import { state } from './state.js';

const $ = (id) => document.getElementById(id);

// The context lost: once the browser gives it back, or after RESTORE_WAIT if it does not, the
// demo opens its window again (a new canvas, its context and textures) and goes on from the
// same clock; a paused demo shows its frame again. If it cannot, the page says so.
const RESTORE_WAIT = 1000;       // ms
const SAY_WAITING_AFTER = 500;   // ms: a shorter wait for the music goes unremarked

// The demo's parts that the page made: its music (sound.js), the viewer's player (player.js),
// the keys at a glance (help.js) and the system's media controls (media.js, once there).
export function createDemo({ audio, player, help, media }) {
  const files = new Map();  // name -> bytes, written into every new instance's file system
  let wasm = null;          // compiled once
  let next = null;          // the instance that plays next
  let playing = null;       // the instance that plays now
  const passTimes = [];
  let waitingSince = 0;     // when the music began to wait for its data, or 0

  function startFailed(e) {
    fail('The demo could not start', e && e.message ? e.message : String(e));
  }

  function recover(canvas) {
    const instance = playing;
    let done = false;
    const rebuild = () => {
      if (done) return;
      done = true;
      if (playing !== instance || state.state !== 'playing') return;
      if (instance._kelvorin_recover()) {
        state.recoveries++;
      } else if (state.state !== 'error') {
        fail('The picture was lost', 'The browser took WebGL 2 away from the page (the graphics '
          + 'processor was reset or is needed elsewhere) and did not give it back. Reload the page to play again.');
      }
    };
    canvas.addEventListener('webglcontextrestored', rebuild, { once: true });
    setTimeout(rebuild, RESTORE_WAIT);
  }

  function stopWaiting() {
    $('buffering').hidden = true;
    waitingSince = 0;
  }

  // What the demo calls (Module.page).
  const page = {
    audio,

    // A new canvas for every new rendering context, as a new window on the desktop.
    newCanvas() {
      const canvas = document.createElement('canvas');
      canvas.id = 'canvas';
      // The browser may take the context away (a GPU reset, a driver update, too many pages
      // drawing): the demo builds its picture again, as F1 does on the desktop.
      canvas.addEventListener('webglcontextlost', (e) => {
        if (canvas.dropped || state.state !== 'playing' || !playing) return;
        e.preventDefault();  // asks the browser for it back
        recover(canvas);
      });
      if (frame) {
        const ratio = window.devicePixelRatio || 1;
        canvas.style.width = `${frame.width / ratio}px`;
        canvas.style.height = `${frame.height / ratio}px`;
      }
      $('canvas').replaceWith(canvas);
    },

    // Frees the old context at once rather than when it is collected.
    dropCanvas() {
      $('canvas').dropped = true;
      const gl = $('canvas').getContext('webgl2');
      const lose = gl && gl.getExtension('WEBGL_lose_context');
      if (lose) lose.loseContext();
    },

    message(caption, text, serious) {
      if (serious) fail(caption, text);
      else notice(`${caption}: ${text}`);
    },

    clock: () => player.clock(),

    pass(clock, scene, snapshotsTo) {
      const now = performance.now();
      passTimes.push(now);
      while (passTimes[0] <= now - 1000) passTimes.shift();
      state.fps = passTimes.length;
      state.clock = clock;
      state.scene = scene;
      state.snapshotsTo = snapshotsTo;
      audio.sync(clock);
      player.pass(clock);
      if (media()) media().pass(now);
      const waiting = audio.waiting();
      if (!waiting) waitingSince = 0;
      else if (!waitingSince) waitingSince = now;
      $('buffering').hidden = !waitingSince || now - waitingSince < SAY_WAITING_AFTER;
      if (state.firstFrameAt === null) state.firstFrameAt = now;
      if (state.musicAt === null && state.music !== null) state.musicAt = now;
    },

    // A frame drawn by a seek or a pause, by the scene given.
    shown(clock, scene) {
      state.clock = clock;
      state.scene = scene;
    },

    ended() {
      playing = null;
      help.close();
      stopWaiting();
      player.stop();
      audio.close();
      leaveFullscreen();
      unlockKeys();
      if (state.state === 'error') return;
      state.fps = 0;
      passTimes.length = 0;
      go('ended');
      $('again').focus();
      // The next play starts from scratch: a new instance, with every scene at its start.
      instantiate().then((instance) => { next = instance; }, startFailed);
    },

    frameReady(ms) {
      go('frame');
      document.title = `frame ${ms} ready`;
    },
  };

  function instantiate() {
    return window.createKelvorin({
      page,
      instantiateWasm(imports, receive) {
        WebAssembly.instantiate(wasm, imports).then((instance) => receive(instance, wasm), startFailed);
        return {};
      },
      preRun: [(module) => {
        module.FS.mkdir('Data');
        for (const [name, bytes] of files) module.FS.writeFile(name, bytes);
      }],
      print: (text) => console.log(text),
      printErr: (text) => console.warn(text),
      onAbort: (what) => fail('The demo stopped', String(what)),
    });
  }

  return {
    startFailed,
    stopWaiting,

    // The demo's code: compiled while it downloads, then an instance waiting to play.
    async load() {
      const url = FILES['kelvorin.wasm'];
      const compiled = WebAssembly.compileStreaming
        ? WebAssembly.compileStreaming(fetch(url)).catch(() => download(url).then((b) => WebAssembly.compile(b)))
        : download(url).then((bytes) => WebAssembly.compile(bytes));
      [wasm] = await Promise.all([compiled, loadScript(FILES['kelvorin.js'])]);
      next = await instantiate();
    },

    // A file for the demo's file system: kept for every instance to come, and written into the
    // one waiting to play.
    putFile(name, bytes) {
      files.set(name, bytes);
      if (next) next.FS.writeFile(name, bytes);
    },

    ready: () => next !== null,

    // The waiting instance plays, fullscreen or in the page, with reduced flashing or not (1, 0),
    // from ms on.
    play(fullscreen, reduced, from) {
      const instance = next;
      next = null;
      playing = instance;
      go('playing');
      // A window that cannot be opened has shown its reason as a message.
      if (instance._kelvorin_play(fullscreen ? 1 : 0, reduced)) player.start(instance, from);
      else if (state.state !== 'error') go('ended');
    },

    // Plays nothing: the waiting instance draws one frame (address.js's frame).
    drawFrame(reduced) {
      if (!next._kelvorin_frame_at(frame.at, frame.width, frame.height, reduced) && state.state !== 'error') {
        go('ended');
      }
    },
  };
}
