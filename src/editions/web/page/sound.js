// The music on Web Audio: the page's half of the browser edition's sound backend, whose other
// half is sound_web.cpp (the demo reaches this through Module.page.audio). The page makes one
// player with createSound(notice); it keeps the state's audio, music and heard up to date, and
// notice tells the viewer what went wrong while the demo goes on.
//
// A sample plays from the demo clock 0 on (the demo asks for its music before its first
// frame), so the music's place is the demo clock. What the viewer hears lags what Web Audio
// plays by the output latency (Bluetooth headphones add 150 to 250 ms): the music is sent that
// much ahead, and the picture follows what is heard (player.js). The music pauses, resumes and
// seeks with the picture: a pass puts it where the demo clock says whenever it has drifted.
import { state } from './state.js';

export function createSound(notice) {
  // How far the music may drift from the demo clock before it is started again at the right
  // place (the context was suspended, the machine stalled, the viewer sought).
  const DRIFT = 0.1;

  return {
    context: null,
    output: null,  // the gain that mutes
    problem: '',
    buffers: new Map(),
    problems: new Map(),
    decoded: Promise.resolve(),  // every decoding done, failed ones included
    channels: [],
    muted: false,

    create() {
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) {
        this.problem = 'this browser has no Web Audio';
        return;
      }
      try {
        this.context = new Context();
        this.output = this.context.createGain();
        this.output.connect(this.context.destination);
      } catch (e) {
        this.context = null;
        this.problem = `Web Audio did not start (${e.message})`;
      }
    },

    decode(name, bytes) {
      if (!this.context) return Promise.resolve();
      return new Promise((resolve) => {
        const done = (buffer) => { this.buffers.set(name, buffer); resolve(); };
        const failed = (e) => {
          this.problems.set(name, `could not be decoded${e && e.message ? ` (${e.message})` : ''}`);
          resolve();
        };
        // The callback form, which every browser has; decoding takes the bytes' buffer.
        const promise = this.context.decodeAudioData(bytes.slice().buffer, done, failed);
        if (promise && promise.catch) promise.catch(() => {});
      });
    },

    // Inside the viewer's click, key press or touch end, which browsers require before sound.
    unlock() {
      if (this.context && this.context.state !== 'running') this.context.resume().catch(() => {});
    },

    open() {
      if (this.context) return true;
      notice(`No sound: ${this.problem}. The demo plays silently.`);
      return false;
    },

    play(channel, name, loop) {
      this.stop(channel);
      const buffer = this.buffers.get(name);
      if (!buffer) {
        notice(`No sound: ${name} ${this.problems.get(name) || 'is missing'}. The demo plays silently.`);
        return;
      }
      this.channels[channel] = { buffer, loop, source: null, origin: 0 };
    },

    // Seconds between what the context plays and what reaches the ears, where the browser says.
    latency() {
      const latency = this.context && this.context.outputLatency;
      return Number.isFinite(latency) && latency > 0 ? latency : 0;
    },

    // Where a channel's sample is sent now, in seconds, or null when it is not playing.
    sent(channel) {
      if (!channel || !channel.source || this.context.state !== 'running') return null;
      let position = this.context.currentTime - channel.origin;
      if (channel.loop) position %= channel.buffer.duration;
      return position;
    },

    // Where the music is sent now, in seconds, or null when none plays.
    music() {
      return this.context ? this.sent(this.channels[0]) : null;
    },

    // Every pass: each sample where the demo clock puts it, sent ahead by the output latency.
    sync(clock) {
      const context = this.context;
      if (!context) return;
      state.audio = context.state;
      if (context.state === 'running') {
        for (const channel of this.channels) {
          if (!channel) continue;
          let position = clock / 1000 + this.latency();
          if (channel.loop) position %= channel.buffer.duration;
          else if (position >= channel.buffer.duration) continue;
          const playing = this.sent(channel);
          if (playing !== null && Math.abs(playing - position) < DRIFT) continue;
          this.silence(channel);
          const source = context.createBufferSource();
          source.buffer = channel.buffer;
          source.loop = channel.loop;
          source.connect(this.output);
          source.start(0, position);
          source.onended = () => { if (channel.source === source) channel.source = null; };
          channel.source = source;
          channel.origin = context.currentTime - position;
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
      if (channel && channel.source) {
        channel.source.onended = null;
        channel.source.stop();
        channel.source = null;
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
