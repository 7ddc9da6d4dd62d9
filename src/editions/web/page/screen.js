// The page's screens, and the one place that moves it from one to the next: each screen shows
// exactly one of the page's panels, and state.state says which screen it is.
//   loading   before the script has read the address (the start question of the first paint
//             stays), and while a single frame (?at=) is drawn: the stage
//   question  the start question            starting  answered: what is still loading
//   playing   the stage (the demo, its controls)       frame  the single frame, drawn
//   ended     the end, with Play again      error     a message that stops the demo
// Besides the panels: the line of notices at the bottom, which leaves the screen as it is.
import { state } from './state.js';

const $ = (id) => document.getElementById(id);

const PANELS = {
  loading: 'stage', question: 'question', starting: 'loading', playing: 'stage', frame: 'stage',
  ended: 'end', error: 'message',
};
const entering = new Map();  // screen -> what else happens on coming to it

export function go(screen) {
  state.state = screen;
  for (const panel of new Set(Object.values(PANELS))) $(panel).hidden = panel !== PANELS[screen];
  for (const then of entering.get(screen) || []) then();
}

// then() runs each time the page comes to the screen, after it shows.
export function onEnter(screen, then) {
  if (!entering.has(screen)) entering.set(screen, []);
  entering.get(screen).push(then);
}

// Something that stops the demo: the message replaces whatever was showing.
export function fail(caption, text) {
  const box = $('message');
  box.querySelector('.caption').textContent = caption;
  box.querySelector('.text').textContent = text;
  state.message = text;
  go('error');
}

// Something the viewer should know while the demo goes on.
let noticeTimer = 0;
export function notice(text) {
  const line = $('notice');
  line.textContent = text;
  line.hidden = false;
  line.classList.remove('fading');
  state.message = text;
  clearTimeout(noticeTimer);
  noticeTimer = setTimeout(() => line.classList.add('fading'), 8000);
}
