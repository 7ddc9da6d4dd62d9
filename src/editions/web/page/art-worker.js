// One of the page's picture workers (pictures.js): runs the art generator compiled to
// WebAssembly and draws the pictures it is asked for, one at a time.
//   in:  {start: {script, module, fonts: [[file name, bytes]...]}}  then  {draw: id}
//   out: {ready: true}  then  {path, bytes} for each picture, or {error}; {log} for
//        what the generator writes on its standard error
// It also answers {probe: true} with {webgl2}: whether a WebGL 2 context can be had here, off
// the page's thread (false too where workers have no OffscreenCanvas to ask).
'use strict';

let art = null;

function start({ script, module, fonts }) {
  importScripts(script);
  return self.createArt({
    // The page compiled the generator once for all its workers.
    instantiateWasm(imports, receive) {
      WebAssembly.instantiate(module, imports).then((instance) => receive(instance, module),
        (e) => self.postMessage({ error: `the picture generator did not start (${e.message})` }));
      return {};
    },
    print: () => {},
    printErr: (text) => self.postMessage({ log: text }),
  }).then((instance) => {
    art = instance;
    for (let i = 0; ; i++) {
      const path = art.UTF8ToString(art._kelvorin_font_path(i));
      if (!path) break;
      const font = fonts.find(([name]) => path.endsWith(`/${name}`));
      if (!font) throw new Error(`the picture generator's font ${path} is not on the site`);
      art.FS.mkdirTree(path.slice(0, path.lastIndexOf('/')));
      art.FS.writeFile(path, font[1]);
    }
    art.FS.mkdirTree('/Data');
    self.postMessage({ ready: true });
  });
}

function draw(id) {
  const path = art.UTF8ToString(art._kelvorin_picture_path(id));
  if (!art._kelvorin_draw_picture(id)) throw new Error(`the picture generator could not draw ${path}`);
  const bytes = art.FS.readFile(path);
  art.FS.unlink(path);
  self.postMessage({ path: path.slice(1), bytes }, [bytes.buffer]);
}

self.onmessage = ({ data }) => {
  try {
    if (data.probe) {
      const canvas = self.OffscreenCanvas ? new OffscreenCanvas(1, 1) : null;
      const gl = canvas && canvas.getContext('webgl2');
      if (gl && gl.getExtension('WEBGL_lose_context')) gl.getExtension('WEBGL_lose_context').loseContext();
      self.postMessage({ webgl2: !!gl });
    } else if (data.start) {
      start(data.start).catch((e) => self.postMessage({ error: String(e.message || e) }));
    } else {
      draw(data.draw);
    }
  } catch (e) {
    self.postMessage({ error: String(e.message || e) });
  }
};
