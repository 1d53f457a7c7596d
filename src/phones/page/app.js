'use strict';
// Kraxelbrett on a phone: join or take a seat, then roll on one's turn and read one's task.

const $ = (id) => document.getElementById(id);
// The game serves this script with its texts already in the group's language: each text
// marked with _ arrives translated, and each marked with n_ as its forms for counts up to nine.
const _ = (text) => text;
const n_ = (forms, count) => forms[Math.min(count, forms.length - 1)];
// Puts values into a text's {1}, {2}: as text, whatever they hold.
const fill = (text, ...values) => text.replace(/\{(\d)\}/g, (all, n) => String(values[n - 1]));
const socketUrl = 'ws://' + location.host + location.pathname.replace(/[^/]*$/, '') + 'ws';
const storeKey = 'kraxelbrett ' + location.pathname.toLowerCase();

let socket = null;
let deadline = 0; // when the socket counts as dead unless something arrives first
let lastPing = 0;
let everOpen = false;
let mine = load(); // {seat, secret} of the seat this phone plays
let lobby = null;
let state = null;
let screen = 'connecting';
let pending = null; // 'join', 'take' or 'resume' while waiting for the answer
let taken = false; // another page resumed our seat: resume only when asked to
let noteTimer = 0;

// Storage may be refused (private browsing): the seat is then kept for this page only.
function load() {
  try {
    return JSON.parse(localStorage.getItem(storeKey));
  } catch (e) {
    return null;
  }
}

function remember(seat) {
  mine = seat;
  try {
    localStorage.setItem(storeKey, JSON.stringify(seat));
  } catch (e) {}
}

const isOpen = () => socket !== null && socket.readyState === WebSocket.OPEN;
const playerName = (player) => player.name || fill(_('Player {1}'), player.seat + 1);

function send(message) {
  if (isOpen()) socket.send(JSON.stringify(message));
  else say(_('Not connected yet: one moment…'));
}

function connect() {
  if (socket) {
    // A dead socket may take long to report its close: drop it without waiting.
    socket.onopen = socket.onmessage = socket.onclose = null;
    socket.close();
  }
  socket = window.kraxelbrettSocket = new WebSocket(socketUrl);
  deadline = Date.now() + 2500;
  pending = null;
  socket.onopen = () => {
    everOpen = true;
    deadline = Date.now() + 12000;
    if (mine && !taken) resume();
    render();
  };
  socket.onmessage = (event) => {
    deadline = Date.now() + 12000;
    handle(JSON.parse(event.data));
    render();
  };
  socket.onclose = () => {
    deadline = Date.now() + 600;
    pending = null;
    render();
  };
  render();
}

// After sleep or a network change an OPEN socket may be dead: a ping must be answered soon.
// A socket still connecting is left to its own deadline, except when the network came back.
function check(event) {
  if (document.visibilityState === 'hidden') return;
  if (socket.readyState === WebSocket.CONNECTING && event.type !== 'online') return;
  if (!isOpen()) return connect();
  ping();
  deadline = Math.min(deadline, Date.now() + 3000);
}

function ping() {
  lastPing = Date.now();
  send({ type: 'ping' });
}

function resume() {
  pending = 'resume';
  send({ type: 'resume', seat: mine.seat, secret: mine.secret });
}

function handle(message) {
  switch (message.type) {
    case 'lobby':
      lobby = message;
      if (screen === 'connecting' && pending !== 'resume') screen = 'join';
      break;
    case 'seated':
      remember({ seat: message.seat, secret: message.secret });
      taken = false;
      $('note').hidden = true;
      break;
    case 'state':
      if (message.canRoll && !(state && state.canRoll) && navigator.vibrate) navigator.vibrate(150);
      state = message;
      pending = null;
      screen = 'game';
      break;
    case 'rolling':
      if (state) Object.assign(state, { rolling: true, canRoll: false });
      break;
    case 'unseated':
      state = null;
      pending = null;
      taken = message.reason === 'taken';
      if (!taken) remember(null);
      screen = taken ? 'taken' : 'join';
      if (message.reason === 'removed') say(_('The game removed you from the board.'));
      break;
    case 'error':
      failed(message);
      break;
  }
}

function failed(error) {
  const was = pending;
  pending = null;
  if (was === 'resume' && (error.code === 'secret' || error.code === 'seat')) {
    remember(null);
    screen = 'join';
    return say(_('Your seat is gone: please join again.'));
  }
  say(error.message || fill(_('Something went wrong: {1}'), error.code), error.code === 'name' ? 10000 : 4000);
  // Any other failed resume: try again on a fresh socket rather than stay stuck.
  if (was === 'resume') socket.close();
}

function say(text, ms = 4000) {
  $('note').textContent = text;
  $('note').hidden = false;
  clearTimeout(noteTimer);
  noteTimer = setTimeout(() => ($('note').hidden = true), ms);
}

// The name's rule as the game has it, so a typo is told at once; the game checks it again.
function typedName() {
  const name = $('name').value.trim();
  const length = Array.from(name).length;
  if (length >= 1 && length <= 16) return name;
  say(_('Please enter a name of 1 to 16 characters.'));
  return null;
}

// As the TV chooses the ink of a mark: black or white, whichever contrasts more.
function isLight(colour) {
  const rgb = /^#?([0-9a-f]{2})([0-9a-f]{2})([0-9a-f]{2})$/i.exec(colour || '');
  if (!rgb) return true;
  const linear = (hex) => {
    const value = parseInt(hex, 16) / 255;
    return value <= 0.04045 ? value / 12.92 : ((value + 0.055) / 1.055) ** 2.4;
  };
  const [r, g, b] = rgb.slice(1).map(linear);
  const light = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  return (light + 0.05) / 0.05 >= 1.05 / (light + 0.05);
}

function render() {
  $('status').hidden = isOpen() || screen === 'connecting';
  $('status').textContent = everOpen ? _('Reconnecting…') : _('Connecting…');
  for (const id of ['connecting', 'join', 'game', 'taken']) $(id).hidden = screen !== id;
  $('connectingText').textContent = isOpen() ? _('Finding your seat…') : _('Connecting…');
  if (screen === 'join') renderJoin();
  if (screen === 'game' && state) renderGame();
}

function renderJoin() {
  const seats = lobby ? lobby.seats.filter((seat) => !seat.phone) : [];
  const free = !lobby || lobby.free;
  $('joinButton').disabled = !free || pending !== null || !isOpen();
  $('joinButton').textContent = pending === 'join' ? _('Joining…') : _('Join');
  $('full').hidden = free;
  $('full').textContent = seats.length
    ? _('The game is full: take a seat below.')
    : _('Sorry, the game is full (nine players).');
  $('seatsTitle').hidden = seats.length === 0;
  $('seats').replaceChildren(...seats.map(seatButton));
}

function seatButton(seat) {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'seat';
  button.disabled = pending !== null || !isOpen();
  const swatch = document.createElement('span');
  swatch.className = 'swatch';
  swatch.style.setProperty('--swatch', seat.colour);
  const label = seat.name
    ? fill(_('Take seat {1} · {2}'), seat.seat + 1, seat.name)
    : fill(_('Take seat {1}'), seat.seat + 1);
  button.append(swatch, label);
  button.onclick = () => {
    const name = $('name').value.trim() ? typedName() : '';
    if (name === null) return;
    pending = 'take';
    send(name ? { type: 'take', seat: seat.seat, name } : { type: 'take', seat: seat.seat });
    render();
  };
  return button;
}

function renderGame() {
  document.body.style.setProperty('--me', state.colour);
  document.body.classList.toggle('light', isLight(state.colour));
  $('myMark').textContent = state.mark;
  $('myMark').hidden = !state.mark;
  $('me').textContent = playerName(state);
  const turn = state.turn;
  $('turnSwatch').hidden = !turn;
  if (turn) $('turnSwatch').style.setProperty('--swatch', turn.colour);
  $('turn').textContent = turnText(turn);
  $('roll').disabled = !state.canRoll || !isOpen();
  $('roll').hidden = state.over;
  $('again').hidden = !state.over;
  $('again').disabled = !isOpen();
  $('roll').textContent = state.rolling && turn && turn.seat === state.seat ? _('Rolling…') : _('Roll');
  $('done').hidden = !state.finished;
  $('wait').hidden = !(state.wait > 0);
  $('wait').textContent = fill(n_('Sit out {1} more turn', 'Sit out {1} more turns', state.wait), state.wait);
  $('field').textContent = state.field ? fill(_('On field {1}:'), state.field) : _('At the start:');
  $('task').hidden = !state.task;
  $('task').textContent = state.task;
}

function turnText(turn) {
  if (!turn) return _('Waiting for players');
  if (state.over) return _('Everyone is home: the podium is on the TV');
  const ours = turn.seat === state.seat;
  if (state.rolling) return ours ? _('Your roll: watch the TV!') : fill(_('{1} is rolling…'), playerName(turn));
  if (state.canRoll) return _('Your turn: roll!');
  if (ours) return _('Your turn: waiting for the game…');
  return fill(_('Waiting for {1} to roll'), playerName(turn));
}

$('joinForm').onsubmit = (event) => {
  event.preventDefault();
  const name = typedName();
  if (name === null) return;
  pending = 'join';
  send({ type: 'join', name });
  render();
};
$('roll').onclick = () => send({ type: 'roll' });
$('again').onclick = () => send({ type: 'round' });
$('leave').onclick = $('leaveNo').onclick = $('leaveYes').onclick = (event) => {
  if (event.target.id === 'leaveYes') send({ type: 'leave' });
  $('leave').hidden = event.target.id === 'leave';
  $('leaveAsk').hidden = !$('leave').hidden;
  if (!$('leaveAsk').hidden) $('leaveAsk').scrollIntoView(false);
};
// The game draws the code of the link by the address this phone reached it by, which works
// for the next phone too.
$('invite').onclick = $('inviteClose').onclick = (event) => {
  $('invitation').hidden = event.target.id === 'inviteClose';
  $('inviteCode').src = 'invite.svg';
  $('inviteLink').textContent = location.origin + location.pathname;
};
$('playHere').onclick = () => {
  taken = false;
  if (mine) resume();
  else screen = 'join';
  render();
};

setInterval(() => {
  if (Date.now() > deadline) connect();
  else if (isOpen() && Date.now() - lastPing >= 5000) ping();
}, 250);
window.addEventListener('online', check);
window.addEventListener('pageshow', check);
document.addEventListener('visibilitychange', check);
connect();
