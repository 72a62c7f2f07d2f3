// The page of hbsim serve: draws the device's screen from the frames the
// server pushes, turns the mouse (or a finger) on it into touches in screen
// points, and draws the home screen itself.
'use strict';

const SCALE = 2;  // pixels a point, as the device's screen has
const canvas = document.getElementById('screen');
const ctx = canvas.getContext('2d');
const statusLine = document.getElementById('status');
const openButtons = [...document.querySelectorAll('[data-open]')];

let screen = { width: 320, height: 568 };
let front = null;  // 'home', 'settings' or 'messages' once the server has said
let received = 0;  // frames received, to drop a late decode of an older one
let drawn = 0;

// What a test (or a curious person in the console) may read.
// What the page has seen, for programs that drive it (the browser test):
// `commands` the front app had been sent by the last answered touch,
// `pending` the requests not yet answered, `stillAfter` the commands the
// front app last said its screen had settled after, `stillFrame` the number
// of the last frame before that word and `drawn` the number of the last
// frame drawn.
window.hbsim = { front: null, status: '', frames: 0, lastFrameAt: 0, lastInputAt: 0,
                 commands: 0, pending: 0, stillAfter: -1, stillFrame: 0, drawn: 0 };

// ---- The home screen -------------------------------------------------------

const ICONS = [
  { app: 'settings', title: 'Settings', column: 0, draw: drawSettingsIcon },
  { app: 'messages', title: 'Messages', column: 1, draw: drawMessagesIcon },
];

function iconRect(icon) {
  return { x: 16 + icon.column * 76, y: 40, w: 60, h: 60 };
}

function iconAt(p) {
  return ICONS.find((icon) => {
    const r = iconRect(icon);
    return p.x >= r.x && p.x < r.x + r.w && p.y >= r.y && p.y < r.y + r.h + 18;
  }) || null;
}

function drawHome() {
  ctx.save();
  ctx.setTransform(SCALE, 0, 0, SCALE, 0, 0);
  const wall = ctx.createLinearGradient(0, 0, screen.width * 0.4, screen.height);
  wall.addColorStop(0, '#24467e');
  wall.addColorStop(0.55, '#5b3b8c');
  wall.addColorStop(1, '#c0607a');
  ctx.fillStyle = wall;
  ctx.fillRect(0, 0, screen.width, screen.height);
  ctx.fillStyle = '#fff';
  ctx.font = '600 12px "Helvetica Neue", Helvetica, Arial, sans-serif';
  ctx.textAlign = 'center';
  ctx.fillText('9:41 AM', screen.width / 2, 14);
  for (const icon of ICONS) {
    const r = iconRect(icon);
    ctx.save();
    ctx.beginPath();
    ctx.roundRect(r.x, r.y, r.w, r.h, 13);
    ctx.clip();
    icon.draw(r);
    ctx.restore();
    ctx.fillStyle = '#fff';
    ctx.font = '11px "Helvetica Neue", Helvetica, Arial, sans-serif';
    ctx.fillText(icon.title, r.x + r.w / 2, r.y + r.h + 14);
  }
  // The dock: a frosted strip at the foot of the screen.
  ctx.fillStyle = 'rgba(255, 255, 255, 0.22)';
  ctx.fillRect(0, screen.height - 96, screen.width, 96);
  ctx.restore();
}

function drawSettingsIcon(r) {
  const g = ctx.createLinearGradient(0, r.y, 0, r.y + r.h);
  g.addColorStop(0, '#c7c9cf');
  g.addColorStop(1, '#8a8d96');
  ctx.fillStyle = g;
  ctx.fillRect(r.x, r.y, r.w, r.h);
  const cx = r.x + r.w / 2;
  const cy = r.y + r.h / 2;
  ctx.fillStyle = '#4a4c54';
  for (let i = 0; i < 12; i++) {
    ctx.save();
    ctx.translate(cx, cy);
    ctx.rotate((i * Math.PI) / 6);
    ctx.fillRect(-2.5, -23, 5, 8);
    ctx.restore();
  }
  ctx.beginPath();
  ctx.arc(cx, cy, 17, 0, 2 * Math.PI);
  ctx.fill();
  ctx.fillStyle = '#b9bbc2';
  ctx.beginPath();
  ctx.arc(cx, cy, 8, 0, 2 * Math.PI);
  ctx.fill();
}

function drawMessagesIcon(r) {
  const g = ctx.createLinearGradient(0, r.y, 0, r.y + r.h);
  g.addColorStop(0, '#6cf27f');
  g.addColorStop(1, '#0ac22a');
  ctx.fillStyle = g;
  ctx.fillRect(r.x, r.y, r.w, r.h);
  ctx.fillStyle = '#fff';
  ctx.beginPath();
  ctx.ellipse(r.x + 30, r.y + 28, 21, 17, 0, 0, 2 * Math.PI);
  ctx.fill();
  ctx.beginPath();
  ctx.moveTo(r.x + 16, r.y + 36);
  ctx.quadraticCurveTo(r.x + 15, r.y + 47, r.x + 9, r.y + 49);
  ctx.quadraticCurveTo(r.x + 20, r.y + 48, r.x + 25, r.y + 42);
  ctx.fill();
}

// A plain screen while an app is starting and has not drawn yet.
function drawLaunching() {
  ctx.fillStyle = '#fff';
  ctx.fillRect(0, 0, canvas.width, canvas.height);
}

// ---- Requests --------------------------------------------------------------

// Requests go out one at a time and in order, so a move never overtakes the
// down it follows; moves that pile up while one is under way are merged.
const queue = [];
let sending = false;

function post(path, body) {
  queue.push({ path, body });
  window.hbsim.pending += 1;
  pump();
}

function postMove(body) {
  const last = queue[queue.length - 1];
  if (last && last.path === '/api/touch' && last.body.phase === 'move') last.body = body;
  else post('/api/touch', body);
}

async function pump() {
  if (sending) return;
  sending = true;
  while (queue.length > 0) {
    const request = queue.shift();
    try {
      const response = await fetch(request.path, {
        method: 'POST',
        headers: { 'Content-Type': 'application/json' },
        body: JSON.stringify(request.body),
      });
      const answer = await response.json().catch(() => ({}));
      if (!response.ok) {
        statusLine.textContent = answer.error || `hbsim serve refused ${request.path} (${response.status})`;
      } else if (typeof answer.commands === 'number') {
        window.hbsim.commands = answer.commands;
      }
    } catch (error) {
      statusLine.textContent = 'hbsim serve cannot be reached: is it still running?';
    }
    window.hbsim.pending -= 1;
  }
  sending = false;
}

function touch(phase, p) {
  window.hbsim.lastInputAt = performance.now();
  const body = { phase, x: Math.round(p.x * 100) / 100, y: Math.round(p.y * 100) / 100 };
  if (phase === 'move') postMove(body);
  else post('/api/touch', body);
}

// ---- The mouse as a finger -------------------------------------------------

function pointOf(event) {
  const r = canvas.getBoundingClientRect();
  return {
    x: ((event.clientX - r.left) * screen.width) / r.width,
    y: ((event.clientY - r.top) * screen.height) / r.height,
  };
}

let pointer = null;  // the one pointer that is down: {id, onApp, icon, last}

canvas.addEventListener('pointerdown', (event) => {
  if (pointer || front === null || event.button > 0) return;
  event.preventDefault();
  canvas.setPointerCapture(event.pointerId);
  const p = pointOf(event);
  const onApp = front !== 'home';
  pointer = { id: event.pointerId, onApp, icon: onApp ? null : iconAt(p), last: p };
  if (onApp) touch('down', p);
});

canvas.addEventListener('pointermove', (event) => {
  if (!pointer || event.pointerId !== pointer.id) return;
  pointer.last = pointOf(event);
  if (pointer.onApp) touch('move', pointer.last);
});

function release(event, cancelled) {
  if (!pointer || event.pointerId !== pointer.id) return;
  const p = cancelled ? pointer.last : pointOf(event);
  if (pointer.onApp) touch('up', p);
  else if (!cancelled && pointer.icon && iconAt(p) === pointer.icon) open(pointer.icon.app);
  pointer = null;
}
canvas.addEventListener('pointerup', (event) => release(event, false));
canvas.addEventListener('pointercancel', (event) => release(event, true));

function open(app) {
  post('/api/open', { app });
}

function goHome() {
  post('/api/home', {});
}

document.getElementById('home').addEventListener('click', goHome);
document.getElementById('home-button').addEventListener('click', goHome);
for (const button of openButtons) button.addEventListener('click', () => open(button.dataset.open));

// ---- What the server pushes ------------------------------------------------

function setScreenSize(size) {
  if (!size || (size.width === screen.width && size.height === screen.height)) return;
  screen = { width: size.width, height: size.height };
  canvas.width = screen.width * SCALE;
  canvas.height = screen.height * SCALE;
  canvas.style.width = `${screen.width}px`;
  canvas.style.height = `${screen.height}px`;
}

const events = new EventSource('/events');

events.addEventListener('state', (event) => {
  const state = JSON.parse(event.data);
  setScreenSize(state.screen);
  const previous = front;
  front = state.front;
  for (const button of openButtons) {
    button.classList.toggle('running', Boolean(state.running[button.dataset.open]));
    button.classList.toggle('front', button.dataset.open === front);
  }
  statusLine.textContent = state.status || (front === 'home' ? 'Home screen: open Settings or Messages.' : '');
  if (front !== previous) {
    // Another app's commands and words of stillness are not this one's.
    window.hbsim.commands = 0;
    window.hbsim.stillAfter = -1;
  }
  if (front === 'home') drawHome();
  else if (front !== previous) drawLaunching();
  window.hbsim.front = front;
  window.hbsim.status = state.status;
});

events.addEventListener('frame', (event) => {
  if (front === null || front === 'home') return;
  const number = ++received;
  const shownFor = front;
  const image = new Image();
  image.onload = () => {
    // A slower decode of an older frame, or one of an app that has left the
    // front since, is not drawn.
    if (number < drawn || front !== shownFor) return;
    drawn = number;
    window.hbsim.drawn = number;
    ctx.drawImage(image, 0, 0, canvas.width, canvas.height);
    window.hbsim.frames += 1;
    window.hbsim.lastFrameAt = performance.now();
  };
  image.src = `data:image/png;base64,${event.data}`;
});

// The front app's word that its screen has settled after that many commands;
// the frame it rests on came before it.
events.addEventListener('still', (event) => {
  window.hbsim.stillAfter = JSON.parse(event.data).commands;
  window.hbsim.stillFrame = received;
});

events.addEventListener('error', () => {
  statusLine.textContent = 'Lost hbsim serve; trying again…';
});
