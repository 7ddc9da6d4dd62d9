// The demo's pictures, made in the page rather than downloaded: the art generator compiled to
// WebAssembly (art.js, art.wasm) draws them in workers (art-worker.js), a few at once since the
// pictures do not depend on each other, into the same BMP bytes as build/Data/ holds. The
// generator is some 90 kB and its fonts 25 kB; the pictures it draws are 1.5 MB compressed.
// Once made, they are kept in a store of the browser's Cache Storage named by the release and
// the generator's own content (site.py's PICTURES), and the next visit reads them from there
// instead of making them again; a new release or a changed generator has a store of its own
// (the service worker removes the others).
import { FILES, PICTURES } from './site.js';

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

// The pictures that an earlier visit kept: path ("Data/nuage.bmp") -> bytes, empty where none
// are (or the browser keeps nothing for this page: Cache Storage needs a secure context).
export async function readKept() {
  const kept = new Map();
  try {
    if (!window.caches || !(await caches.has(PICTURES))) return kept;
    const store = await caches.open(PICTURES);
    await Promise.all((await store.keys()).map(async (request) => {
      const bytes = await (await store.match(request)).arrayBuffer();
      kept.set(new URL(request.url).pathname.slice(1), new Uint8Array(bytes));
    }));
  } catch (e) {
    console.warn(`The kept pictures could not be read: ${e.message}`);
    kept.clear();
  }
  return kept;
}

// Keeps the pictures (path -> bytes) for the next visit. Settles once they are kept; false
// where the browser keeps nothing.
export async function keep(pictures) {
  if (!window.caches) return false;
  try {
    const store = await caches.open(PICTURES);
    await Promise.all([...pictures].map(([path, bytes]) => store.put(new Request(path),
      new Response(bytes, { headers: { 'Content-Type': 'image/bmp' } }))));
    return true;
  } catch (e) {
    console.warn(`The pictures could not be kept for the next visit: ${e.message}`);
    return false;
  }
}

// Draws the pictures `ids` (the texture table's indices) in their order, with the generator
// that fetchGenerator gives (or fetches it); onPicture(path, bytes) gets each as it is done,
// path being its name in the demo's file system ("Data/nuage.bmp"). Returns {done, hurry}:
// done settles once all are made, or rejects with what went wrong (a download, a worker that
// did not start, the generator's own message); hurry(ids) has those drawn next, in that order.
export function makePictures(ids, onPicture, generator = fetchGenerator()) {
  const queue = [...ids];
  const workers = [];
  const making = async () => {
    const [module, ...fonts] = await generator;
    return new Promise((resolve, reject) => {
      let done = 0;
      const failed = (why) => reject(new Error(why));
      const give = (worker) => {
        if (queue.length) worker.postMessage({ draw: queue.shift() });
      };
      for (let i = 0; i < Math.min(workerCount(), ids.length); i++) {
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
          if (data.ready) return give(worker);
          onPicture(data.path, data.bytes);
          if (++done === ids.length) return resolve();
          return give(worker);
        };
        worker.postMessage({ start: { script: FILES['art.js'], module, fonts } });
      }
    });
  };
  const done = ids.length ? making() : Promise.resolve();
  done.finally(() => { for (const worker of workers) worker.terminate(); }).catch(() => {});
  return {
    done,
    hurry(first) {
      const wanted = first.filter((id) => queue.includes(id));
      queue.splice(0, queue.length, ...wanted, ...queue.filter((id) => !wanted.includes(id)));
    },
  };
}
