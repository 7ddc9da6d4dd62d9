// The keys at a glance: an overlay of every key and gesture, a modal dialog for assistive
// technology. ? or the control bar's button opens it; ?, Escape, its Close button or a tap
// anywhere on it closes it, and the demo plays on meanwhile. The focus goes into it and back.
import { state } from './state.js';

export function createHelp() {
  const dialog = document.getElementById('help');
  let before = null;  // what had the focus

  const help = {
    open() {
      before = document.activeElement;
      dialog.hidden = false;
      state.help = true;
      document.getElementById('help-close').focus();
    },
    close() {
      if (dialog.hidden) return;
      dialog.hidden = true;
      state.help = false;
      if (before && before.focus && document.contains(before)) before.focus();
    },
    toggle() {
      if (dialog.hidden) help.open();
      else help.close();
    },
    // A key while it is open: ? and Escape close it, and nothing else reaches the player.
    onKey(e) {
      if (dialog.hidden) return false;
      if (e.key === '?' || e.key === 'Escape') help.close();
      // Return presses the Close button itself; Tab has nowhere else to go.
      return e.key !== 'Enter' && e.key !== ' ';
    },
  };
  dialog.addEventListener('click', () => help.close());
  return help;
}
