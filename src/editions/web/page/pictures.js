// The demo's pictures, made in the page rather than downloaded: the art generator compiled to
// WebAssembly (art.js, art.wasm) draws them in workers (art-worker.js), a few at once since the
// pictures do not depend on each other, into the same BMP bytes as build/Data/ holds. The
// generator is some 90 kB and its fonts 25 kB; the pictures it draws are 1.5 MB compressed.
import { FILES } from './site.js';

// How many workers draw: one a processor, up to four (the page's own thread mostly waits for
// the network meanwhile).
function workerCount() {
  return Math.max(1, Math.min(4, navigator.hardwareConcurrency || 2));
}

function downloadBytes(url) {
  return fetch(url).then((response) => {
    if (!response.ok) throw new Error(`could not download ${url} (${response.status} ${response.statusText})`);
    return response.arrayBuffer();
  }, () => { throw new Error(`could not download ${url}: the server did not answer`); });
}

// The generator and its fonts, downloading (and the generator compiling) from the call on:
// the page starts it first, since making the pictures takes longest.
export function fetchGenerator() {
  return Promise.all([
    WebAssembly.compileStreaming ? WebAssembly.compileStreaming(fetch(FILES['art.wasm'])).catch(
      () => downloadBytes(FILES['art.wasm']).then((bytes) => WebAssembly.compile(bytes)))
      : downloadBytes(FILES['art.wasm']).then((bytes) => WebAssembly.compile(bytes)),
    // The fonts of the lettering, the only files the generator reads.
    ...Object.keys(FILES).filter((name) => name.startsWith('fonts/')).map((name) =>
      downloadBytes(FILES[name]).then((bytes) => [name.slice('fonts/'.length), new Uint8Array(bytes)])),
  ]);
}

// Draws every picture with the generator that fetchGenerator gives (or fetches it);
// onPicture(path, bytes, count) gets each as it is done, path being its name in the demo's
// file system ("Data/nuage.bmp") and count how many there are. Settles once all are made;
// rejects with what went wrong (a download, a worker that did not start, the generator's own
// message).
export async function makePictures(onPicture, generator = fetchGenerator()) {
  const [module, ...fonts] = await generator;
  const workers = [];
  try {
    return await new Promise((resolve, reject) => {
      let next = 0, count = null, done = 0;
      const failed = (why) => reject(new Error(why));
      const give = (worker) => {
        if (count !== null && next < count) worker.postMessage({ draw: next++ });
      };
      for (let i = 0; i < workerCount(); i++) {
        const worker = new Worker(FILES['art-worker.js']);
        workers.push(worker);
        // A worker that does not start says nothing of why: its script's download tells.
        worker.onerror = (e) => {
          e.preventDefault();
          const url = FILES['art-worker.js'];
          fetch(url, { method: 'HEAD' }).then((r) => (r.ok ? e.message || 'no reason given'
            : `could not download ${url} (${r.status} ${r.statusText})`), () => `could not download ${url}`)
            .then((why) => failed(`the picture generator did not start: ${why}`));
        };
        worker.onmessage = ({ data }) => {
          if (data.error) return failed(data.error);
          if (data.log) return console.warn(data.log);
          if (data.ready) {
            count = data.count;
            return give(worker);
          }
          onPicture(data.path, data.bytes, count);
          if (++done === count) return resolve(count);
          return give(worker);
        };
        worker.postMessage({ start: { script: FILES['art.js'], module, fonts } });
      }
    });
  } finally {
    for (const worker of workers) worker.terminate();
  }
}
