// The music on Web Audio: the page's half of the browser edition's sound backend, whose other
// half is sound_web.cpp (the demo reaches this through Module.page.audio). The page makes one
// player with KelvorinSound(hooks, notice): hooks is window.kelvorin, whose audio and music it
// keeps up to date, and notice tells the viewer what went wrong while the demo goes on.
'use strict';

window.KelvorinSound = (hooks, notice) => {
  // The music is decoded while the page loads and the question waits. It starts with the demo's
  // first pass, at that pass's clock, and is kept there: whenever it has drifted from the demo
  // clock by more than DRIFT seconds (the context was suspended, the machine stalled) it
  // restarts at the right place.
  const DRIFT = 0.1;

  return {
    context: null,
    problem: '',
    buffers: new Map(),
    problems: new Map(),
    decoded: Promise.resolve(),  // every decoding done, failed ones included
    channels: [],

    create() {
      const Context = window.AudioContext || window.webkitAudioContext;
      if (!Context) {
        this.problem = 'this browser has no Web Audio';
        return;
      }
      try {
        this.context = new Context();
      } catch (e) {
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

    // Inside the viewer's click or key press, which browsers require before sound.
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
      this.channels[channel] = { buffer, loop, start: null, source: null, origin: 0 };
    },

    // Every pass: where each sample should be at this demo clock, and where it is.
    sync(clock) {
      const context = this.context;
      if (!context) return;
      hooks.audio = context.state;
      for (const channel of this.channels) {
        if (!channel) continue;
        if (channel.start === null) channel.start = clock;
        if (context.state !== 'running') continue;
        const { buffer } = channel;
        let position = (clock - channel.start) / 1000;
        if (channel.loop) position %= buffer.duration;
        else if (position >= buffer.duration) continue;
        if (channel.source) {
          let playing = context.currentTime - channel.origin;
          if (channel.loop) playing %= buffer.duration;
          if (Math.abs(playing - position) < DRIFT) continue;
          channel.source.onended = null;
          channel.source.stop();
        }
        const source = context.createBufferSource();
        source.buffer = buffer;
        source.loop = channel.loop;
        source.connect(context.destination);
        source.start(0, position);
        source.onended = () => { if (channel.source === source) channel.source = null; };
        channel.source = source;
        channel.origin = context.currentTime - position;
      }
      const music = this.channels[0];
      hooks.music = music && music.source ? context.currentTime - music.origin : null;
    },

    stop(channel) {
      const playing = this.channels[channel];
      if (playing && playing.source) {
        playing.source.onended = null;
        playing.source.stop();
      }
      this.channels[channel] = null;
    },

    close() {
      for (let i = 0; i < this.channels.length; i++) this.stop(i);
      this.channels = [];
      hooks.music = null;
    },
  };
};
