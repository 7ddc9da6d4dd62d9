// Fullscreen for the stage, where the browser has the Fullscreen API (an iPhone has none: the
// demo plays in the page).
const stage = () => document.getElementById('stage');

export const canFullscreen = !!(stage().requestFullscreen || stage().webkitRequestFullscreen);

export function fullscreenElement() {
  return document.fullscreenElement || document.webkitFullscreenElement || null;
}

// Only inside the viewer's own click or key press: browsers refuse it otherwise. A refusal
// leaves the demo playing in the page.
export function enterFullscreen() {
  const request = stage().requestFullscreen || stage().webkitRequestFullscreen;
  if (!request) return;
  Promise.resolve(request.call(stage(), { navigationUI: 'hide' }))
    .then(() => {
      // Where the browser allows it, Escape reaches the demo in fullscreen too (holding it
      // still leaves fullscreen); elsewhere the first Escape only leaves fullscreen.
      if (navigator.keyboard && navigator.keyboard.lock) {
        return navigator.keyboard.lock(['Escape', 'F1']);
      }
      return undefined;
    })
    .catch(() => {});
}

export function leaveFullscreen() {
  if (!fullscreenElement()) return;
  const exit = document.exitFullscreen || document.webkitExitFullscreen;
  if (exit) Promise.resolve(exit.call(document)).catch(() => {});
}

export function toggleFullscreen() {
  if (fullscreenElement()) leaveFullscreen();
  else enterFullscreen();
}

// The demo has ended: its keys go back to the browser.
export function unlockKeys() {
  if (navigator.keyboard && navigator.keyboard.unlock) navigator.keyboard.unlock();
}
