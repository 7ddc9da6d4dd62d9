// Whether WebGL 2 can be had: asked in a picture worker (art-worker.js), since bringing up a
// first context may hold the page's thread for a moment, and on the page itself only where the
// worker cannot tell (a browser without WebGL 2 in workers still draws on the page).
import { FILES } from './site.js';

function hasWebGL2() {
  const gl = document.createElement('canvas').getContext('webgl2');
  if (!gl) return false;
  const lose = gl.getExtension('WEBGL_lose_context');
  if (lose) lose.loseContext();
  return true;
}

export function probeWebGL2() {
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
