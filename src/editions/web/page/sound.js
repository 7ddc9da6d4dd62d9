// The music, the page's half of the browser edition's sound backend, whose other half is
// sound_web.cpp (the demo reaches this through Module.page.audio). The page makes one player
// with createSound(notice); it keeps the state's audio, music and heard up to date, and notice
// tells the viewer what went wrong while the demo goes on.
//
// Each sample streams into a media element as it downloads (the browser decodes it as it
// arrives, so the music starts long before the whole file is there) and plays by itself. The
// audio context plays nothing: it says whether the browser lets the page sound (it runs) and how
// late the output is. (Routed through Web Audio instead, a media element in WebKitGTK stands
// still at its start and after seeks while the picture waits for it.) A sample plays from the demo clock 0 on (the
// demo asks for its music before its first frame), so the music's place is the demo clock.
// What the viewer hears lags what the element plays by the output latency (Bluetooth
// headphones add 150 to 250 ms): the music is sent that much ahead, and the picture follows
// what is heard (player.js). The music pauses, resumes and seeks with the picture: a pass puts
// it where the demo clock says whenever it has drifted.
//
// An element plays when its time moves: its readyState is not enough. WebKitGTK leaves it at
// HAVE_CURRENT_DATA after a seek while the music plays on, reports a place up to a second off
// for a moment after the seek (putting it back then only seeks again, for ever), and now and
// then holds an element still that says it has all its data (most often on a busy machine); a
// pass seeks such a one again, then loads it again at its place, less often each time. While it waits for its data (a seek beyond what has arrived), the
// picture waits with it, for LATE_AFTER at most: then the demo
// plays on silently, and the music joins at the demo clock as soon as it can play there.
//
// Where the audio context does not run shortly after the demo starts (no sound device, or the
// browser's policy), the viewer is told and the demo plays silently; each later gesture asks
// for it again, and the music joins once it runs. Safari's "interrupted" (a call, an alarm, the
// lock screen) is one more state that is not "running".
import { state } from './state.js';

const GECKO = / Firefox\//.test(navigator.userAgent);

export function createSound(notice) {
  // How far the music may drift from the demo clock before it is put back at the right place
  // (the context was suspended, the machine stalled, the viewer sought).
  const DRIFT = 0.1;
  const HAVE_CURRENT_DATA = 2;  // a media element's readyState: it has data where it is
  const STILL = 400;           // ms without its time moving after which an element is not playing
  const LEEWAY = 0.5;          // s from its place that an element may play and still count as in step
  const SETTLE = 1000;         // ms after a seek before its place is trusted, unless it moves
  const KICK_AFTER = 1000;     // ms an element with data may stand still before it is sought again
  const LATE_AFTER = 5000;     // ms the picture waits for a sample that does not play
  const SILENT_AFTER = 1500;   // ms from the start to saying that the audio context does not run

  return {
    context: null,
    problem: '',
    lateAfter: LATE_AFTER,
    elements: new Map(),  // file name in the demo's file system -> its media element
    problems: new Map(),  // file name -> why it cannot play
    channels: [],
    muted: false,
    onStall: null,        // called when a playing sample's download fails, with a retry

    // The audio context comes with the music's download, after the question (making it costs
    // the page a moment), or with the viewer's answer (unlock), where browsers let it run.
    create() {
      if (this.context || this.problem) return;
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) {
        this.problem = 'this browser has no Web Audio';
        return;
      }
      // Safari: its ring/silent switch mutes the page's sound of any other kind.
      if (navigator.audioSession) {
        try {
          navigator.audioSession.type = 'playback';
        } catch (e) {
          // A type this browser does not know.
        }
      }
      try {
        this.context = new Context();
      } catch (e) {
        this.context = null;
        this.problem = `Web Audio did not start (${e.message})`;
      }
    },

    // Starts downloading a sample that the demo will ask for by name. Settles once it can start
    // playing, or once it is known that it cannot (the reason goes to problems).
    prepare(name, url) {
      this.create();
      const element = new Audio();
      element.preload = 'auto';
      element.muted = this.muted;
      this.elements.set(name, element);
      const ready = new Promise((resolve) => {
        element.addEventListener('canplay', resolve, { once: true });
        element.addEventListener('error', () => {
          this.describe(name, url).then(resolve);
        }, { once: true });
      });
      // A failure once it has played is a download that broke off: the viewer may retry.
      element.addEventListener('error', () => {
        const channel = this.channels.find((c) => c && c.element === element);
        if (channel && channel.started && this.onStall) this.onStall(() => this.retry(channel, url));
      });
      element.src = url;
      return ready;
    },

    // Says why a sample's element failed: the server's answer where there is one.
    describe(name, url) {
      return fetch(url, { method: 'HEAD' })
        .then((r) => (r.ok ? 'could not be decoded' : `could not be downloaded (${r.status} ${r.statusText})`),
          () => 'could not be downloaded (the server did not answer)')
        .then((why) => { this.problems.set(name, why); });
    },

    // The same file again, from where the demo is: the next pass puts it in place.
    retry(channel, url) {
      channel.element.src = url;
      channel.element.load();
    },

    // Inside the viewer's click, key press or touch end, which browsers require before sound:
    // the context, and a sample that should be playing and is not (Safari starts a media
    // element only there).
    unlock() {
      this.create();
      if (this.context && this.context.state !== 'running') this.context.resume().catch(() => {});
      for (const channel of this.channels) {
        if (channel && channel.wanted && channel.element.paused) channel.element.play().catch(() => {});
      }
    },

    // The demo starts its sound; false where there is none.
    open() {
      if (this.context) {
        setTimeout(() => {
          const context = this.context;
          if (context && context.state !== 'running' && context.state !== 'closed') {
            notice(`No sound: the browser has not started its sound output (${context.state}; no sound device, `
              + 'or its policy). The demo plays silently.');
          }
        }, SILENT_AFTER);
        return true;
      }
      notice(`No sound: ${this.problem}. The demo plays silently.`);
      return false;
    },

    play(channel, name, loop) {
      this.stop(channel);
      const element = this.elements.get(name);
      if (!element || this.problems.has(name)) {
        notice(`No sound: ${name} ${this.problems.get(name) || 'is missing'}. The demo plays silently.`);
        return;
      }
      element.loop = loop;
      this.channels[channel] = {
        element, loop, started: false, position: 0, time: -1, movedAt: -Infinity, soughtAt: -Infinity, playedAt: -Infinity, kickAfter: KICK_AFTER,
      };
    },

    // Seconds between what the context plays and what reaches the ears, where the browser says.
    // Firefox is not asked: it answers over a synchronous call to its sound process while the
    // audio runs, and now and then that call and the audio wait on each other for good, which
    // hangs the whole tab (seen on Linux, in about one start in three on a busy machine). The
    // music is then sent without the output latency, tens of milliseconds with a wired output.
    latency() {
      if (GECKO) return 0;
      const latency = this.context && this.context.outputLatency;
      return Number.isFinite(latency) && latency > 0 ? latency : 0;
    },

    // Whether a channel's element plays now: its time moved in the last passes, near the place
    // the last pass gave it.
    playing(channel) {
      const e = channel && channel.element;
      return !!e && !e.paused && !e.seeking && this.context.state === 'running'
        && performance.now() - channel.movedAt < STILL && Math.abs(e.currentTime - channel.position) < LEEWAY;
    },

    // Where the music is sent now, in seconds, or null when none plays (or a late one plays
    // elsewhere).
    music() {
      const channel = this.context ? this.channels[0] : null;
      return this.playing(channel) && !channel.late ? channel.element.currentTime : null;
    },

    // Whether a sample that should be playing waits for its data: the picture waits too, unless
    // it has waited LATE_AFTER already.
    waiting() {
      if (!this.context || this.context.state !== 'running') return false;
      return this.channels.some((c) => c && c.wanted && !c.late && !this.playing(c) && !c.element.error);
    },

    // Each pass, for a sample that should be playing: how long it has not played, and whether
    // it is late (the picture has stopped waiting for it) until it plays in step again.
    wait(channel, now, drifted) {
      if (this.playing(channel) && !(channel.late && drifted)) {
        channel.since = 0;
        channel.late = false;
        return;
      }
      if (!channel.since) channel.since = now;
      if (!channel.late && now - channel.since >= LATE_AFTER) {
        channel.late = true;
        notice('The music is late: the demo plays on silently, and the music joins when it comes.');
      }
    },

    // Notes whether the element's time moved, and seeks it to position where it has drifted
    // (once its place after the last seek can be trusted), or where it stands still with its
    // data. A late sample is put in place once it plays, rather than sent after the clock from
    // one range still to come to the next.
    place(channel, position, now) {
      const e = channel.element;
      if (e.seeking) return;
      if (!e.paused && e.currentTime !== channel.time) {
        channel.time = e.currentTime;
        channel.movedAt = now;
      }
      const moving = !e.paused && now - channel.movedAt < STILL;
      const settled = e.paused || now - channel.soughtAt >= SETTLE || channel.movedAt > channel.soughtAt + STILL;
      const drifted = Math.abs(e.currentTime - position) >= DRIFT && settled && (moving || !channel.late);
      const still = Math.max(channel.movedAt, channel.soughtAt, channel.playedAt);
      const stuck = !e.paused && !moving && e.readyState >= HAVE_CURRENT_DATA && now - still >= channel.kickAfter;
      // Sought once in vain, it is loaded again at its place (WebKitGTK's can stay still for good).
      if (stuck && channel.kickAfter > KICK_AFTER) e.load();
      if (moving) channel.kickAfter = KICK_AFTER;
      else if (stuck) channel.kickAfter *= 2;
      if (drifted || stuck) {
        e.currentTime = position;
        channel.time = e.currentTime;
        channel.soughtAt = now;
      }
    },

    // Every pass: each sample where the demo clock puts it, sent ahead by the output latency.
    sync(clock) {
      const context = this.context;
      if (!context) return;
      state.audio = context.state;
      const now = performance.now();
      for (const channel of this.channels) {
        if (!channel) continue;
        const e = channel.element;
        let position = clock / 1000 + this.latency();
        const length = Number.isFinite(e.duration) ? e.duration : Infinity;
        if (channel.loop) position %= length;
        channel.wanted = context.state === 'running' && position < length && !e.error;
        if (!channel.wanted) {
          if (!e.paused) e.pause();
          channel.since = 0;
          continue;
        }
        channel.position = position;
        this.place(channel, position, now);
        if (e.paused) {
          channel.started = true;
          channel.playedAt = now;
          e.play().catch(() => {});
        }
        this.wait(channel, now, Math.abs(e.currentTime - position) >= DRIFT);
      }
    },

    // Stops every sample where it is; the next pass starts them again at the demo's clock.
    pause() {
      for (const channel of this.channels) this.silence(channel);
      state.music = state.heard = null;
    },

    setMuted(muted) {
      this.muted = muted;
      for (const element of this.elements.values()) element.muted = muted;
    },

    silence(channel) {
      if (channel) {
        channel.wanted = false;
        channel.since = 0;
        channel.late = false;
        channel.element.pause();
      }
    },

    stop(channel) {
      this.silence(this.channels[channel]);
      this.channels[channel] = null;
    },

    close() {
      for (let i = 0; i < this.channels.length; i++) this.stop(i);
      this.channels = [];
      state.music = state.heard = null;
    },
  };
}
