// The music, the page's half of the browser edition's sound backend, whose other half is
// sound_web.cpp (the demo reaches this through Module.page.audio). The page makes one player
// with createSound(notice); it keeps the state's audio, music and heard up to date, and notice
// tells the viewer what went wrong while the demo goes on.
//
// Each sample streams into a media element as it downloads (the browser decodes it as it
// arrives, so the music starts long before the whole file is there) and plays through Web Audio,
// which mutes it and says how late the output is. A sample plays from the demo clock 0 on (the
// demo asks for its music before its first frame), so the music's place is the demo clock.
// What the viewer hears lags what the element plays by the output latency (Bluetooth
// headphones add 150 to 250 ms): the music is sent that much ahead, and the picture follows
// what is heard (player.js). The music pauses, resumes and seeks with the picture: a pass puts
// it where the demo clock says whenever it has drifted. While it waits for its data (a seek
// beyond what has arrived), the picture waits with it.
import { state } from './state.js';

export function createSound(notice) {
  // How far the music may drift from the demo clock before it is put back at the right place
  // (the context was suspended, the machine stalled, the viewer sought).
  const DRIFT = 0.1;
  const HAVE_FUTURE_DATA = 3;  // a media element's readyState: it can play on from here

  return {
    context: null,
    output: null,  // the gain that mutes
    problem: '',
    elements: new Map(),  // file name in the demo's file system -> its media element
    problems: new Map(),  // file name -> why it cannot play
    channels: [],
    muted: false,
    onStall: null,        // called when a playing sample's download fails, with a retry

    // The audio context comes with the viewer's answer (unlock): browsers start one only then,
    // and making it costs the page a moment it needs for the question.
    create() {
      if (this.context || this.problem) return;
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) {
        this.problem = 'this browser has no Web Audio';
        return;
      }
      try {
        this.context = new Context();
        this.output = this.context.createGain();
        this.output.connect(this.context.destination);
        for (const element of this.elements.values()) this.connect(element);
      } catch (e) {
        this.context = null;
        this.problem = `Web Audio did not start (${e.message})`;
      }
    },

    // Starts downloading a sample that the demo will ask for by name. Settles once it can start
    // playing, or once it is known that it cannot (the reason goes to problems).
    prepare(name, url) {
      const element = new Audio();
      element.preload = 'auto';
      this.elements.set(name, element);
      if (this.context) this.connect(element);
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

    connect(element) {
      this.context.createMediaElementSource(element).connect(this.output);
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

    // Inside the viewer's click, key press or touch end, which browsers require before sound.
    unlock() {
      this.create();
      if (this.context && this.context.state !== 'running') this.context.resume().catch(() => {});
    },

    open() {
      if (this.context) return true;
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
      this.channels[channel] = { element, loop, started: false };
    },

    // Seconds between what the context plays and what reaches the ears, where the browser says.
    latency() {
      const latency = this.context && this.context.outputLatency;
      return Number.isFinite(latency) && latency > 0 ? latency : 0;
    },

    // Whether a channel's element plays now, with its data at hand.
    playing(channel) {
      const e = channel && channel.element;
      return !!e && !e.paused && !e.seeking && e.readyState >= HAVE_FUTURE_DATA
        && this.context.state === 'running';
    },

    // Where the music is sent now, in seconds, or null when none plays.
    music() {
      const channel = this.context ? this.channels[0] : null;
      return this.playing(channel) ? channel.element.currentTime : null;
    },

    // Whether a sample that should be playing waits for its data: the picture waits too.
    waiting() {
      if (!this.context || this.context.state !== 'running') return false;
      return this.channels.some((c) => c && c.wanted && !this.playing(c) && !c.element.error);
    },

    // Every pass: each sample where the demo clock puts it, sent ahead by the output latency.
    sync(clock) {
      const context = this.context;
      if (!context) return;
      state.audio = context.state;
      for (const channel of this.channels) {
        if (!channel) continue;
        const e = channel.element;
        let position = clock / 1000 + this.latency();
        const length = Number.isFinite(e.duration) ? e.duration : Infinity;
        if (channel.loop) position %= length;
        channel.wanted = context.state === 'running' && position < length && !e.error;
        if (!channel.wanted) {
          if (!e.paused) e.pause();
          continue;
        }
        if (!e.seeking && Math.abs(e.currentTime - position) >= DRIFT) e.currentTime = position;
        if (e.paused) {
          channel.started = true;
          e.play().catch(() => {});
        }
      }
    },

    // Stops every sample where it is; the next pass starts them again at the demo's clock.
    pause() {
      for (const channel of this.channels) this.silence(channel);
      state.music = state.heard = null;
    },

    setMuted(muted) {
      this.muted = muted;
      if (this.output) this.output.gain.value = muted ? 0 : 1;
    },

    silence(channel) {
      if (channel) {
        channel.wanted = false;
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
