// The site's service worker: it keeps every file of one release in a cache of that release's
// name, so that the next visit plays from there, with or without the network, music included;
// the browser's look at this file on each visit is the only check for a new release. A new
// release is cached whole beside the old one, then takes over in one step: the old cache goes
// as the new worker becomes active (offline.js lets it take over at once while nothing plays),
// and so does any store of pictures but the release's own (the page keeps them: pictures.js).
// site.py writes the release, its name, its files and its pictures' store, in place of the
// next line.
const RELEASE = null;
const CACHE = `kelvorin-${RELEASE.name}`;

// A file as the network gives it whole. Firefox may answer a plain request from what its own
// cache holds of the media element's request for the music (Range: bytes=0-, still arriving):
// a 206, which a cache cannot keep. Such a file is asked for again, past the browser's cache.
async function whole(file) {
  const response = await fetch(file);
  return response.status === 206 ? fetch(file, { cache: 'reload' }) : response;
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => Promise.all(RELEASE.files.map(async (file) => {
    const response = await whole(file);
    if (!response.ok) throw new TypeError(`${file}: ${response.status}`);
    await cache.put(file, response);
  }))));
});

// Pages already open stay with the network: a media element that streams its music must not
// get the rest of it from elsewhere (the browser fails it). The next visit is the worker's.
self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('kelvorin-') && name !== CACHE
      && name !== RELEASE.pictures).map((name) => caches.delete(name)))));
});

self.addEventListener('message', (event) => {
  if (event.data === 'take over') self.skipWaiting();
});

// A range of a kept file, as a media element asks for its music: 206 and the bytes asked for.
async function partial(response, range) {
  const whole = await response.blob();
  const m = /^bytes=(\d*)-(\d*)$/.exec(range.trim());
  let start = m && m[1] !== '' ? Number(m[1]) : NaN, end = m && m[2] !== '' ? Number(m[2]) : whole.size - 1;
  if (m && m[1] === '' && m[2] !== '') {  // the last n bytes
    start = Math.max(0, whole.size - Number(m[2]));
    end = whole.size - 1;
  }
  if (!Number.isFinite(start) || start > end || start >= whole.size) {
    return new Response(null, { status: 416, headers: { 'Content-Range': `bytes */${whole.size}` } });
  }
  end = Math.min(end, whole.size - 1);
  return new Response(whole.slice(start, end + 1), {
    status: 206,
    headers: {
      'Content-Type': response.headers.get('Content-Type') || 'application/octet-stream',
      'Content-Range': `bytes ${start}-${end}/${whole.size}`,
      'Content-Length': String(end - start + 1),
      'Accept-Ranges': 'bytes',
    },
  });
}

async function respond(request) {
  const cache = await caches.open(CACHE);
  // The page with any address (?t=95 is still index.html).
  const cached = await cache.match(request, { ignoreSearch: request.mode === 'navigate' });
  if (!cached) return fetch(request);
  const range = request.headers.get('Range');
  return range ? partial(cached, range) : cached;
}

self.addEventListener('fetch', (event) => {
  const { request } = event;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(respond(request));
});
