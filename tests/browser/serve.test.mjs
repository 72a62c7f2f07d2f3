// The browser test of hbsim serve: one colour change taken through the page
// in headless Chromium, as a person would take it with the mouse, checked in
// the pixels of the Messages screen that the page shows.
//
//   node serve.test.mjs --hbsim BUILD/bin/hbsim [--shots DIR]
//
// Exit status 0 when it passes, 1 when it fails, 77 (ctest's skip) when
// Chromium or playwright-core is missing, with "browser test skipped: why".
// --shots writes a screenshot of the page after each step.
import assert from 'node:assert/strict';
import { spawn, execFileSync } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const CHROMIUM = '/usr/bin/chromium';
const here = path.dirname(fileURLToPath(import.meta.url));

function skip(why) {
  console.log(`browser test skipped: ${why}`);
  process.exit(77);
}

function option(name) {
  const i = process.argv.indexOf(name);
  return i > 0 ? process.argv[i + 1] : undefined;
}

const hbsim = option('--hbsim');
const shots = option('--shots');
if (!hbsim || !fs.existsSync(hbsim)) {
  console.error(`browser test: no hbsim program at ${hbsim} (give --hbsim BUILD/bin/hbsim)`);
  process.exit(1);
}
if (!fs.existsSync(CHROMIUM)) skip(`${CHROMIUM} is not installed (scripts/deps installs Debian's chromium)`);
let chromium;
try {
  ({ chromium } = await import(path.join(here, 'node_modules', 'playwright-core', 'index.mjs')));
} catch (error) {
  skip(`playwright-core is not installed in ${path.join(here, 'node_modules')} (scripts/deps runs npm ci there)`);
}

// ---- Helpers -----------------------------------------------------------------

function freePort() {
  return new Promise((resolve, reject) => {
    const server = net.createServer();
    server.once('error', reject);
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address();
      server.close(() => resolve(port));
    });
  });
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function waitFor(what, predicate, timeoutMs = 15000) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    const value = await predicate();
    if (value) return value;
    if (Date.now() > end) throw new Error(`timed out waiting for ${what}`);
    await sleep(50);
  }
}

function hbsimRun(device, ...args) {
  return execFileSync(hbsim, [...args, '--device', device], { encoding: 'utf8', timeout: 60000 });
}

function hexOf(text) {
  const m = /^#([0-9A-Fa-f]{6})$/.exec(text);
  assert.ok(m, `not a colour string: ${text}`);
  const v = parseInt(m[1], 16);
  return [v >> 16, (v >> 8) & 255, v & 255];
}

// ---- The road ----------------------------------------------------------------

const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'hb-browser-'));
const device = path.join(scratch, 'device');
let server;
let browser;
let step = 0;

async function main() {
  hbsimRun(device, 'device', 'create');
  hbsimRun(device, 'install');
  const port = await freePort();
  const base = `http://127.0.0.1:${port}`;
  let serverOutput = '';
  server = spawn(hbsim, ['serve', '--device', device, '--port', String(port)], { stdio: ['ignore', 'pipe', 'pipe'] });
  server.stdout.on('data', (d) => { serverOutput += d; });
  server.stderr.on('data', (d) => { serverOutput += d; });
  const exited = new Promise((resolve) => server.once('exit', (code, signal) => resolve({ code, signal })));
  await waitFor('hbsim serve to answer', async () => {
    if (server.exitCode !== null) throw new Error(`hbsim serve ended at once:\n${serverOutput}`);
    return fetch(`${base}/`).then((r) => r.ok, () => false);
  });

  // A new, empty profile, and no reaching out: the machine has no network,
  // and Chromium waits on refused connections without these flags.
  browser = await chromium.launchPersistentContext(path.join(scratch, 'chromium'), {
    executablePath: CHROMIUM,
    headless: true,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
    viewport: { width: 480, height: 900 },
    deviceScaleFactor: 2,
  });
  const page = browser.pages()[0] || (await browser.newPage());
  const pageErrors = [];
  page.on('pageerror', (error) => pageErrors.push(String(error)));
  await page.goto(base);
  await waitFor('the home screen', () => page.evaluate(() => window.hbsim.front === 'home'));

  const box = await page.locator('#screen').boundingBox();
  const hb = () => page.evaluate(() => ({ ...window.hbsim }));

  async function shot(name) {
    step += 1;
    if (shots) {
      fs.mkdirSync(shots, { recursive: true });
      await page.screenshot({ path: path.join(shots, `${String(step).padStart(2, '0')}-${name}.png`) });
    }
  }

  // Waits for a frame newer than `since` and then for the front app's word
  // that its screen is still after every touch the page has sent it (and for
  // the frame it rests on to be drawn): no quiet gap of time is measured.
  async function settled(since, name) {
    await waitFor(`a frame after ${name}`, async () => (await hb()).frames > since);
    await waitFor(`the screen to settle after ${name}`, async () => {
      const h = await hb();
      return h.pending === 0 && h.stillAfter >= h.commands && h.drawn >= h.stillFrame;
    }, 60000);
    await shot(name);
  }

  // A click (or a drag) on the screen, at screen points.
  async function tap(x, y, name) {
    const before = (await hb()).frames;
    await page.mouse.click(box.x + x, box.y + y);
    await settled(before, name);
  }

  async function drag(from, to, steps, name) {
    const before = (await hb()).frames;
    await page.mouse.move(box.x + from[0], box.y + from[1]);
    await page.mouse.down();
    await page.mouse.move(box.x + to[0], box.y + to[1], { steps });
    await page.mouse.up();
    await settled(before, name);
  }

  async function openApp(app) {
    const before = (await hb()).frames;
    await page.click(`nav [data-open="${app}"]`);
    await waitFor(`${app} in the front`, async () => (await hb()).front === app);
    await settled(before, `open-${app}`);
  }

  async function pixel(x, y) {
    return page.evaluate(([px, py]) => {
      const ctx = document.getElementById('screen').getContext('2d');
      return Array.from(ctx.getImageData(Math.floor(px * 2), Math.floor(py * 2), 1, 1).data);
    }, [x, y]);
  }

  // Messages first, as the system draws it; it stays in the background.
  await openApp('messages');
  const pidsBefore = await (await fetch(`${base}/api/state`)).json();
  assert.ok(pidsBefore.pids.messages > 0, 'Messages is running');

  // Settings: the Huebloom entry, the master switch and the iMessage style
  // below the pane's preview.
  await openApp('settings');
  await tap(160, 120, 'huebloom-pane');
  await tap(280, 276, 'enabled-on');
  await tap(160, 411, 'imessage-style');
  await tap(160, 208, 'choose-solid');
  await tap(40, 42, 'back-to-pane');
  // The iMessage colours, below the screen until the pane is dragged up, the
  // Bottom colour row under their preview, a drag on the colour field.
  await drag([160, 500], [160, 250], 8, 'pane-dragged-up');
  await tap(160, 385, 'imessage-colours');
  await tap(160, 384, 'bottom-colour');
  await drag([40, 110], [200, 190], 12, 'picker-drag');
  await tap(40, 42, 'back-to-colours');

  // Settings ended Messages (its colour cells run killall -9 MobileSMS);
  // the page said so, and the next open launches Messages anew.
  await waitFor('Messages to be ended', async () => !(await hb()).status.includes('launched') &&
    (await (await fetch(`${base}/api/state`)).json()).running.messages === false);
  const status = (await hb()).status;
  assert.match(status, /Messages was ended \(killed by Settings\)/, `the status line says why Messages ended: ${status}`);

  const settings = hbsimRun(device, 'defaults', 'read', 'com.Quillfen.huebloom', 'bot').trim();
  const saved = settings.replace(/^"|"$/g, '');
  assert.notEqual(saved, '#157EFB', 'the drag chose a colour of its own');
  const expected = hexOf(saved);

  await openApp('messages');
  const pidsAfter = await (await fetch(`${base}/api/state`)).json();
  assert.notEqual(pidsAfter.pids.messages, pidsBefore.pids.messages, 'Messages was launched anew');

  // Every sent (blue) balloon of the transcript shows the chosen colour,
  // where the Messages app itself says its balloons are.
  const dump = JSON.parse(hbsimRun(device, 'messages', '--dump'));
  const blue = dump.balloons.filter((b) => b.kind === 'blue');
  assert.ok(blue.length > 0, 'the transcript has sent balloons');
  for (const balloon of blue) {
    const f = balloon.frame;
    const x = f.x + 6;
    const y = f.y + f.height / 2;
    const [r, g, b, a] = await pixel(x, y);
    const near = Math.abs(r - expected[0]) <= 3 && Math.abs(g - expected[1]) <= 3 && Math.abs(b - expected[2]) <= 3;
    assert.ok(near && a === 255, `the balloon "${balloon.text}" at ${x},${y} is rgb(${r},${g},${b}), not ${saved}`);
  }
  // And a point of the screen outside any balloon keeps the transcript's white.
  assert.deepEqual(await pixel(4, 300), [255, 255, 255, 255]);
  assert.deepEqual(pageErrors, [], 'the page ran without errors');

  // Home, then Ctrl-C's signal: the server ends its apps and itself.
  await page.click('#home');
  await waitFor('the home screen again', async () => (await hb()).front === 'home');
  await shot('home');
  await browser.close();
  browser = undefined;
  server.kill('SIGTERM');
  const end = await exited;
  assert.equal(end.code, 0, `hbsim serve ended cleanly:\n${serverOutput}`);
  for (const pid of [pidsAfter.pids.settings, pidsAfter.pids.messages]) {
    assert.throws(() => process.kill(pid, 0), undefined, `app process ${pid} is gone`);
  }
  console.log(`browser test passed: ${blue.length} sent balloons show ${saved} on the page`);
}

try {
  await main();
} catch (error) {
  console.error(`browser test failed at step ${step}: ${error.stack || error}`);
  process.exitCode = 1;
} finally {
  if (browser) await browser.close().catch(() => {});
  if (server && server.exitCode === null && server.signalCode === null) {
    server.kill('SIGTERM');
    await sleep(500);
  }
  fs.rmSync(scratch, { recursive: true, force: true });
}
