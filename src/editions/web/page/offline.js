// Offline play and new releases: once everything has loaded, the page hands the site to its
// service worker (sw.js), which keeps this release's files for the next visits. When the worker
// finds a newer release, it caches it whole; if the viewer has not started the demo yet, the
// new release takes over at once and the page opens again from it, otherwise it waits for the
// next visit, so that a page never mixes the files of two releases.
export function keepOffline(state) {
  const workers = navigator.serviceWorker;
  if (!workers || !window.isSecureContext) return;
  let takingOver = false;
  const offer = (worker) => {
    // Only a worker beside one that already controls this page brings a new release.
    if (!worker || !workers.controller) return;
    const take = () => {
      if (worker.state !== 'installed' || takingOver) return;
      if (state.state !== 'question' && state.state !== 'loading') return;
      takingOver = true;
      worker.postMessage('take over');
    };
    take();
    worker.addEventListener('statechange', take);
  };
  workers.addEventListener('controllerchange', () => {
    if (takingOver) location.reload();
  });
  workers.register('sw.js').then((registration) => {
    offer(registration.waiting || registration.installing);
    registration.addEventListener('updatefound', () => offer(registration.installing));
  }, (e) => console.warn(`Offline play is not available: ${e.message}`));
  workers.ready.then(() => { state.offline = true; });
}
