// The page around the browser edition, its entry module: it asks the start question at once and
// loads everything behind it (the demo, its timeline, its sound list, the pictures that the page
// makes itself in workers, pictures.js, and the music, which streams, sound.js), starts the demo
// the moment the viewer has answered and everything is there, switches fullscreen, hands the
// playing demo to the viewer's player (player.js), keeps the site for offline play (offline.js)
// and shows what went wrong. The player's state is state.js's; the site's files are named by
// their content, site.js has the names.
// The demo itself (kelvorin.js, kelvorin.wasm) reaches this file through Module.page.
//
// window.kelvorin, for tests and for pages that embed the demo, is described in state.js.
// index.html?t=SECONDS (decimals allowed) asks the start question, then plays from there.
import { createHelp } from './help.js';
import { createMedia } from './media.js';
import { keepOffline } from './offline.js';
import { fetchGenerator, makePictures } from './pictures.js';
import { createPlayer } from './player.js';
import { FILES } from './site.js';
import { createSound } from './sound.js';
import { publish, state } from './state.js';

{
  const $ = (id) => document.getElementById(id);

  // ?at=MS[&size=WxH]: one frame on the synthetic clock, nothing played.
  const params = new URLSearchParams(location.search);
  const frame = params.has('at') ? parseFrameRequest(params) : null;
  // ?t=SECONDS: where the demo starts playing.
  const startAt = params.has('t') ? Number(params.get('t')) * 1000 : 0;

  function parseFrameRequest(p) {
    const at = Number(p.get('at'));
    const size = /^(\d+)x(\d+)$/.exec(p.get('size') || '800x600');
    if (!Number.isInteger(at) || at < 0 || at > 0xFFFFFFFF || !size) return { bad: true };
    const width = Number(size[1]), height = Number(size[2]);
    if (width < 1 || height < 1 || width > 4096 || height > 4096) return { bad: true };
    return { at, width, height };
  }

  // ---- Reduced flashing ----
  // ?reduced-flashing=1 (0 for off) chooses it; otherwise the start question's box is ticked
  // where the system asks for less motion. ?at= frames follow the address alone, as
  // kelvorin-capture follows its option. The demo gets the choice as it starts.
  const reducedFlashing = (() => {
    const asked = params.get('reduced-flashing');
    const box = $('reduced-flashing');
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
  })();

  // ---- Messages ----

  let noticeTimer = 0;

  function showMessage(caption, text) {
    const box = $('message');
    box.querySelector('.caption').textContent = caption;
    box.querySelector('.text').textContent = text;
    box.hidden = false;
    state.message = text;
  }

  // Something that stops the demo: the message replaces whatever was showing.
  function fail(caption, text) {
    for (const id of ['loading', 'question', 'end']) $(id).hidden = true;
    $('stage').hidden = true;
    showMessage(caption, text);
    state.state = 'error';
    if (media) media.update();
    audio.close();
    leaveFullscreen();
  }

  // Something the viewer should know while the demo goes on.
  function notice(text) {
    const line = $('notice');
    line.textContent = text;
    line.hidden = false;
    line.classList.remove('fading');
    state.message = text;
    clearTimeout(noticeTimer);
    noticeTimer = setTimeout(() => line.classList.add('fading'), 8000);
  }

  class DownloadError extends Error {
    constructor(message, status) {
      super(message);
      this.status = status;
    }
  }

  // ---- Downloads ----

  async function download(url) {
    let response;
    try {
      response = await fetch(url);
    } catch (e) {
      throw new DownloadError(`Could not download ${url}: the server did not answer.`, 'no answer');
    }
    if (!response.ok) {
      const status = `${response.status} ${response.statusText}`;
      throw new DownloadError(`Could not download ${url} (${status}).`, status);
    }
    return new Uint8Array(await response.arrayBuffer());
  }

  function loadScript(url) {
    return new Promise((resolve, reject) => {
      const script = document.createElement('script');
      script.src = url;
      script.onload = resolve;
      script.onerror = () => reject(new DownloadError(`Could not download ${url}.`));
      document.head.appendChild(script);
    });
  }

  function hasWebGL2() {
    const gl = document.createElement('canvas').getContext('webgl2');
    if (!gl) return false;
    const lose = gl.getExtension('WEBGL_lose_context');
    if (lose) lose.loseContext();
    return true;
  }

  // Whether WebGL 2 can be had: asked in a worker, since bringing up a first context may hold
  // the page's thread for a moment, and on the page itself only where the worker cannot tell.
  function canDraw() {
    return new Promise((resolve) => {
      let worker = null;
      const answer = (webgl2) => {
        if (worker) worker.terminate();
        resolve(webgl2 || hasWebGL2());
      };
      try {
        worker = new Worker(FILES['art-worker.js']);
      } catch (e) {
        answer(false);
        return;
      }
      worker.onmessage = ({ data }) => answer(data.webgl2);
      worker.onerror = (e) => {
        e.preventDefault();
        answer(false);
      };
      worker.postMessage({ probe: true });
    });
  }

  // ---- Fullscreen ----

  function fullscreenElement() {
    return document.fullscreenElement || document.webkitFullscreenElement || null;
  }

  // Only inside the viewer's own click or key press: browsers refuse it otherwise. A refusal
  // leaves the demo playing in the page.
  function enterFullscreen() {
    const stage = $('stage');
    const request = stage.requestFullscreen || stage.webkitRequestFullscreen;
    if (!request) return;
    Promise.resolve(request.call(stage, { navigationUI: 'hide' }))
      .then(() => {
        // Where the browser allows it, Escape reaches the demo in fullscreen too (holding it
        // still leaves fullscreen); elsewhere the first Escape only leaves fullscreen.
        if (navigator.keyboard && navigator.keyboard.lock) {
          return navigator.keyboard.lock(['Escape', 'F1']);
        }
        return undefined;
      })
      .catch(() => {});
  }

  function leaveFullscreen() {
    if (!fullscreenElement()) return;
    const exit = document.exitFullscreen || document.webkitExitFullscreen;
    if (exit) Promise.resolve(exit.call(document)).catch(() => {});
  }

  // ---- Music (sound.js) ----

  const audio = createSound(notice);
  const AUDIO_FILE = /\.(mp3|ogg|opus|m4a|wav)$/i;  // sound-list names that stream as music

  // ---- The viewer's player (player.js), the keys at a glance (help.js), the system's media
  // controls (media.js) ----

  const help = createHelp();
  let media = null;  // once the credits have come

  const player = createPlayer(audio, {
    canFullscreen: !!($('stage').requestFullscreen || $('stage').webkitRequestFullscreen),
    toggleFullscreen() {
      if (fullscreenElement()) leaveFullscreen();
      else enterFullscreen();
    },
    toggleHelp: () => help.toggle(),
    changed() {
      if (media) media.update();
      // Paused, nothing waits for the music.
      if (state.paused) {
        $('buffering').hidden = true;
        waitingSince = 0;
      }
    },
    notice,
  });
  publish((ms) => player.seek(ms));

  document.addEventListener('visibilitychange', () => {
    if (document.visibilityState === 'visible' && state.state === 'playing') audio.unlock();
  });

  // ---- The demo ----

  const files = new Map();  // name -> bytes, written into every new instance's file system
  let wasm = null;          // compiled once
  let demo = null;          // the instance that plays next
  let playing = null;       // the instance that plays now
  const passTimes = [];
  let waitingSince = 0;     // when the music began to wait for its data, or 0
  const SAY_WAITING_AFTER = 500;  // ms: a shorter wait goes unremarked
  const OFFLINE_AFTER = 5000;     // ms from everything loaded to keeping the site for offline play

  // The context lost: once the browser gives it back, or after RESTORE_WAIT if it does not,
  // the demo opens its window again (a new canvas, its context and textures) and goes on from
  // the same clock; a paused demo shows its frame again. If it cannot, the page says so.
  const RESTORE_WAIT = 1000;  // ms
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

  // A file for the demo's file system: kept for every instance to come, and written into the
  // one waiting to play.
  function putFile(name, bytes) {
    files.set(name, bytes);
    if (demo) demo.FS.writeFile(name, bytes);
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
      if (media) media.pass(now);
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
      $('buffering').hidden = true;
      player.stop();
      audio.close();
      leaveFullscreen();
      if (navigator.keyboard && navigator.keyboard.unlock) navigator.keyboard.unlock();
      if (state.state === 'error') return;
      state.state = 'ended';
      if (media) media.update();
      state.fps = 0;
      passTimes.length = 0;
      $('stage').hidden = true;
      $('end').hidden = false;
      $('again').focus();
      // The next play starts from scratch: a new instance, with every scene at its start.
      instantiate().then((instance) => { demo = instance; }, startFailed);
    },

    frameReady(ms) {
      state.state = 'frame';
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

  function startFailed(e) {
    fail('The demo could not start', e && e.message ? e.message : String(e));
  }

  // ---- Loading, behind the question ----

  // What is still on its way, for the progress the viewer sees after answering early.
  const loading = { program: false, timeline: false, pictures: 0, of: 0, music: false };

  function showProgress() {
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

  // The demo's code: compiled while it downloads, then an instance waiting to play.
  async function loadProgram() {
    const url = FILES['kelvorin.wasm'];
    const compiled = WebAssembly.compileStreaming
      ? WebAssembly.compileStreaming(fetch(url)).catch(() => download(url).then((b) => WebAssembly.compile(b)))
      : download(url).then((bytes) => WebAssembly.compile(bytes));
    [wasm] = await Promise.all([compiled, loadScript(FILES['kelvorin.js'])]);
    demo = await instantiate();
  }

  // The sound list as the demo reads it; each music file it names streams from the site, and
  // stands in the file system as an empty file, which is all the list's check opens.
  async function loadSounds() {
    const list = await download(FILES['Data/Sons_WAV.txt']);
    putFile('Data/Sons_WAV.txt', list);
    const names = new TextDecoder().decode(list).split(/\s+/).filter((name) => AUDIO_FILE.test(name));
    if (frame) return;
    await Promise.all(names.map((name) => {
      putFile(name, new Uint8Array(0));
      if (!FILES[name]) {
        audio.problems.set(name, 'is not on the site');
        return undefined;
      }
      return audio.prepare(name, FILES[name]);
    }));
  }

  // Settles once the demo can start (loadIfDrawable starts the loading).
  let loaded = null;
  let everything = new Promise((resolve, reject) => { loaded = { resolve, reject }; });

  function loadBehind(generator) {
    const json = async (url) => JSON.parse(new TextDecoder().decode(await download(url)));
    const step = (key) => () => {
      loading[key] = true;
      showProgress();
      state.loaded[key] = performance.now();
    };
    const program = loadProgram().then(step('program'));
    const timeline = json(FILES['timeline.json']).then((t) => player.useTimeline(t)).then(step('timeline'));
    // The media controls can do without the names they show.
    json(FILES['credits.json']).catch(() => ({ credits: [], production: '' }))
      .then((credits) => { media = createMedia(player, credits); });
    const pictures = makePictures((path, bytes, count) => {
      putFile(path, bytes);
      loading.pictures++;
      loading.of = count;
      showProgress();
    }, generator).then(() => { state.loaded.pictures = performance.now(); },
      (e) => { throw new PictureError(e.message); });
    // The music waits for the program's download, which the question needs first on a slow line.
    const sounds = program.then(loadSounds).then(step('music'));
    return Promise.all([program, timeline, pictures, sounds]);
  }

  class PictureError extends Error {}

  function showQuestion() {
    state.state = 'question';
    $('loading').hidden = true;
    $('end').hidden = true;
    $('question').hidden = false;
    $('yes').focus();
    if (state.readyAt === null) state.readyAt = performance.now();
  }

  // Sound and fullscreen are granted only inside the viewer's click or key press; the demo
  // itself starts once everything has arrived (the music able to play), so that picture and
  // sound begin together.
  function answer(fullscreen) {
    if (state.state !== 'question') return;
    if (state.answeredAt === null) state.answeredAt = performance.now();
    audio.unlock();
    if (fullscreen) enterFullscreen();
    $('question').hidden = true;
    state.state = 'starting';
    const reduced = reducedFlashing();
    showProgress();
    $('loading').hidden = false;
    everything.then(() => {
      if (state.state !== 'starting') return;
      const instance = demo;
      demo = null;
      playing = instance;
      $('loading').hidden = true;
      $('stage').hidden = false;
      state.state = 'playing';
      // A window that cannot be opened has shown its reason as a message.
      if (instance._kelvorin_play(fullscreen ? 1 : 0, reduced)) player.start(instance, startAt);
      else if (state.state !== 'error') state.state = 'ended';
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
    if (!demo) return;
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
    $('retry').hidden = false;
    showMessage('The music stopped', 'Its download broke off. Try again to go on from here.');
    $('retry').onclick = () => {
      $('message').hidden = true;
      $('retry').hidden = true;
      retry();
      player.resume();
    };
  };

  function loadFailed(e) {
    if (e instanceof DownloadError) fail('Download failed', `${e.message} Reload the page to try again.`);
    else if (e instanceof PictureError) {
      fail('The pictures could not be made', `${e.message}. Reload the page to try again.`);
    } else startFailed(e);
  }

  function load() {
    if (frame && frame.bad) {
      fail('Bad address', 'Use ?at=MS with a whole number of milliseconds, and optionally &size=WxH (800x600).');
      return;
    }
    if (!Number.isFinite(startAt) || startAt < 0) {
      fail('Bad address', 'Use ?t=SECONDS with a number of seconds from the start, such as ?t=95 or ?t=95.5.');
      return;
    }
    if (frame) {
      document.body.classList.add('frame');
      $('question').hidden = true;
    } else {
      showQuestion();
    }
    // Without WebGL 2 nothing is downloaded but the picture generator, which starts at once:
    // the pictures take longest.
    const generator = fetchGenerator();
    generator.catch(() => {});
    canDraw().then((drawable) => loadIfDrawable(drawable, generator));
  }

  function loadIfDrawable(drawable, generator) {
    if (!drawable) {
      fail('WebGL 2 needed', 'KELVORIN draws with WebGL 2, which this browser does not offer or has '
        + 'turned off. A current Chrome, Edge, Firefox or Safari, with hardware acceleration on, has it.');
      return;
    }
    loadBehind(generator).then(loaded.resolve, loaded.reject);
    everything.then(() => {
      // The copy for offline play waits a little: a viewer who answered at once is watching
      // the first frames, and the music's download comes first.
      if (state.state === 'error') return;
      if (!frame) setTimeout(() => keepOffline(state), OFFLINE_AFTER);
      if (!frame) return;
      state.state = 'loading';
      if (!demo._kelvorin_frame_at(frame.at, frame.width, frame.height, reducedFlashing())
          && state.state !== 'error') {
        state.state = 'ended';
      }
    }, loadFailed);
  }

  load();
}
