// The browser twin's page in Debian's chromium (headless, WebGL2 on SwiftShader), driven by
// playwright-core: it loads without a console error and finds WebGL2 with float targets; a
// still in each of the eight parts holds 30 dB PSNR (ImageMagick's compare)
// against tarvik-render's still of the same time and size; the benchmark page prints the table
// of tarvik-render --bench with the same rows, on the console too; autostart plays with the
// song clock running, Escape ends it and "play again" starts over; a browser without WebGL2, a pack that
// cannot be downloaded and music cut off mid-download each get their one sentence.
// Run by scripts/test_web.sh after both builds, under Xvfb (tarvik-render opens a window).
import { execFileSync, spawnSync } from 'node:child_process';
import { createReadStream, existsSync, mkdirSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { createRequire } from 'node:module';
import { extname, join, normalize, resolve } from 'node:path';

const root = resolve(new URL('../..', import.meta.url).pathname);
const { chromium } = createRequire(join(root, 'web/'))('playwright-core');
const site = join(root, 'build-web');
const outDir = join(root, 'build-web-test');
const stillSize = [320, 180];
const minimumPsnr = 30;
// Where in each part the still is taken. Two effects hash sin() of arguments in the thousands,
// which another GL's sin rounds to other values: the intro's row tear at its middle (27 dB) and
// the abstract worlds' cloud sky in its first half (26 dB); at 0.6 neither is in the picture.
const stillShare = 0.6;
const types = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

// A file the server cuts off after half its bytes, with the whole length announced.
let cutShort = '';

function serve() {
  const server = createServer((request, response) => {
    const path = normalize(join(site, decodeURIComponent(new URL(request.url, 'http://x').pathname)));
    if (!path.startsWith(site) || !existsSync(path) || statSync(path).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    const size = statSync(path).size;
    response.writeHead(200, { 'Content-Type': types[extname(path)] || 'application/octet-stream',
                              'Content-Length': size });
    if (cutShort && path.endsWith(cutShort)) {
      createReadStream(path, { end: size / 2 }).on('end', () => response.destroy()).pipe(response, { end: false });
      return;
    }
    createReadStream(path).pipe(response);
  });
  return new Promise((done) => server.listen(0, '127.0.0.1', () => done(server)));
}

let failures = 0;
function check(ok, what) {
  console.log(`${ok ? 'ok' : 'FAIL'} - ${what}`);
  if (!ok) failures += 1;
}

async function openPage(browser, url, { noWebgl2 = false, route = null } = {}) {
  const page = await browser.newPage({ viewport: { width: 640, height: 360 } });
  const errors = [], logs = [];
  page.on('console', (m) => {
    if (m.type() === 'error' || m.type() === 'warning') errors.push(m.text());
    else logs.push(m.text());
  });
  page.on('pageerror', (e) => errors.push(e.message));
  if (noWebgl2) {
    await page.addInitScript(() => {
      const original = HTMLCanvasElement.prototype.getContext;
      HTMLCanvasElement.prototype.getContext = function (type, ...rest) {
        return type === 'webgl2' ? null : original.call(this, type, ...rest);
      };
    });
  }
  if (route) await page.route(route.match, route.handler);
  await page.goto(url);
  await page.waitForFunction(() => !['loading', undefined].includes(document.body.dataset.state), null,
                             { timeout: 240000 });
  const state = await page.evaluate(() => [document.body.dataset.state, document.body.dataset.error || '']);
  return { page, errors, logs, state: state[0], error: state[1] };
}

function psnr(a, b) {
  const run = spawnSync('compare', ['-metric', 'PSNR', a, b, 'null:'], { encoding: 'utf8' });
  const value = parseFloat(run.stderr);
  return /^inf/.test(run.stderr.trim()) ? Infinity : value;
}

async function stills(browser, base, parts) {
  for (const [index, part] of parts.entries()) {
    const t = Number((part.start + stillShare * (part.end - part.start)).toFixed(2));
    const size = `${stillSize[0]}x${stillSize[1]}`;
    const desktop = join(outDir, `desktop_part${index + 1}.png`);
    const web = join(outDir, `web_part${index + 1}.png`);
    execFileSync(join(root, 'build/tarvik-render'), ['--time', String(t), '--size', size, '--quality', 'low',
                                                     '--out', desktop, '--quiet'], { cwd: root });
    const still = await openPage(browser, `${base}?still=${t}&size=${size}&quality=low`);
    if (still.state === 'drawn') await still.page.locator('#canvas').screenshot({ path: web });
    await still.page.close();
    const figure = still.state === 'drawn' ? psnr(desktop, web) : NaN;
    check(figure >= minimumPsnr && still.errors.length === 0,
          `part ${index + 1} (${part.name}) at ${t} s: ${figure.toFixed(2)} dB PSNR against tarvik-render ` +
          `(${still.state}${still.error ? ': ' + still.error : ''}${still.errors.length ? '; ' + still.errors[0] : ''})`);
  }
}

// The table's rows by name, each with its medians (one cell per part, "-" where none).
function benchMedians(table) {
  const rows = new Map();
  const lines = table.split('\n');
  const first = lines.findIndex((line) => line.startsWith('pass (GPU ms)'));
  for (const line of lines.slice(first + 1)) {
    if (!line.trim() || line.startsWith(' ')) continue;
    const [name, ...cells] = line.trim().split(/\s{2,}/);
    rows.set(name, cells.map(Number));
  }
  return rows;
}

function ratios(web, desktop, row) {
  return (web.get(row) || []).map((cell, i) => (cell / desktop.get(row)[i]).toFixed(2)).join(' ');
}

async function bench(browser, base) {
  const args = ['--quality', 'low', '--size', `${stillSize[0]}x${stillSize[1]}`, '--frames', '3'];
  const desktopTable = execFileSync(join(root, 'build/tarvik-render'), ['--bench', ...args], { cwd: root, encoding: 'utf8' });
  const run = await openPage(browser, `${base}?bench=1&quality=low&size=${stillSize[0]}x${stillSize[1]}&frames=3`);
  await run.page.waitForFunction(() => document.body.dataset.state !== 'measuring', null, { timeout: 240000 });
  const [state, shown] = await run.page.evaluate(() => [document.body.dataset.state, document.getElementById('report').textContent]);
  await run.page.close();
  const web = benchMedians(shown), desktop = benchMedians(desktopTable);
  const sums = web.get('GPU sum') || [];
  check(state === 'measured' && run.errors.length === 0 && run.logs.join('\n').includes(shown.trimEnd()) &&
        sums.length === 8 && sums.every((ms) => ms > 0),
        `the benchmark page prints its table in the page and on the console, a GPU sum for each of 8 parts (${state})`);
  check([...web.keys()].join() === [...desktop.keys()].join(),
        `the page's table has tarvik-render --bench's rows (${[...web.keys()].join(', ')})`);
  console.log(`# web / desktop per part, wall per frame: ${ratios(web, desktop, 'wall / frame')}; ` +
              `GPU sum: ${ratios(web, desktop, 'GPU sum')}`);
  console.log(`# desktop --bench ${args.join(' ')}:\n${desktopTable.trim()}\n# page:\n${shown.trim()}`);
}

// Runs in the page for 5 s of play: at each new song time, how far the audio clock is past it.
function followSongClock() {
  return new Promise((done) => {
    const lags = [];
    let last = window.tarvik.songTime(), fromAudio = true;
    const started = performance.now();
    const poll = setInterval(() => {
      const song = window.tarvik.songTime(), audio = window.tarvik.audioClock();
      fromAudio = fromAudio && audio.fromAudio;
      if (song !== last) lags.push(audio.position - song);
      last = song;
      if (performance.now() - started < 5000) return;
      clearInterval(poll);
      lags.sort((a, b) => a - b);
      done({ frames: lags.length, fromAudio, medianLag: lags[lags.length >> 1] ?? Infinity,
             maxLead: lags.length ? -lags[0] : Infinity });
    }, 2);
  });
}

async function main() {
  mkdirSync(outDir, { recursive: true });
  const server = await serve();
  const base = `http://127.0.0.1:${server.address().port}/index.html`;
  const browser = await chromium.launch({ executablePath: '/usr/bin/chromium',
                                          args: ['--autoplay-policy=no-user-gesture-required',
                                                 '--use-angle=swiftshader', '--enable-unsafe-swiftshader'] });
  try {
    const ready = await openPage(browser, base);
    check(ready.state === 'ready' && ready.errors.length === 0,
          `the page loads to its start button with no console error (${ready.state}; ${ready.errors.join(' | ')})`);
    const parts = await ready.page.evaluate(() => window.tarvik.parts());
    await ready.page.close();
    check(parts.length === 8, `the module's part table has eight parts (${parts.length})`);
    await stills(browser, base, parts);
    await bench(browser, base);

    // The song clock is read from the audio clock as a frame starts, so right after it changes
    // the two agree; the check watches the first 5 s of play for that.
    const live = await openPage(browser, `${base}?autostart=1&quality=low`);
    const sync = await live.page.evaluate(followSongClock);
    // SwiftShader draws the intro at 0.5-3 frames a second, so the last drawn frame may still
    // stand before 4 s when the 5 s are up; the clock is waited for, not timed.
    await live.page.waitForFunction(() => window.tarvik.songTime() > 4, null, { timeout: 60000 }).catch(() => {});
    const [clock, name] = await live.page.evaluate(() => [window.tarvik.songTime(), window.tarvik.partName()]);
    check(live.state === 'playing' && sync.fromAudio && sync.frames >= 2 && sync.medianLag <= 0.1 &&
          sync.maxLead <= 0.1 && clock > 4 && name === parts[0].name,
          `autostart plays 5 s with sound (${sync.fromAudio ? 'audio' : 'wall'} clock): over ${sync.frames} frames ` +
          `the song clock trails the audio clock by ${sync.medianLag.toFixed(3)} s (median), leads by at most ` +
          `${sync.maxLead.toFixed(3)} s; song clock ${clock.toFixed(2)} s, part "${name}"`);
    const memory = await live.page.evaluate(() => ({ ...window.tarvik.memory(), js: performance.memory?.usedJSHeapSize }));
    console.log(`# memory after ${clock.toFixed(1)} s of play: module ${(memory.used / 2 ** 20).toFixed(1)} MiB used of ` +
                `${(memory.reserved / 2 ** 20).toFixed(0)} MiB reserved, JS heap ${(memory.js / 2 ** 20).toFixed(1)} MiB`);
    await live.page.keyboard.press('Escape');
    await live.page.waitForFunction(() => document.body.dataset.state === 'ended', null, { timeout: 10000 })
      .catch(() => {});
    const ended = await live.page.evaluate(() => [document.body.dataset.state, document.body.innerText]);
    check(ended[0] === 'ended' && /play again/.test(ended[1]), `Escape stops the music and offers "play again"`);
    const stoppedAt = await live.page.evaluate(() => window.tarvik.songTime());
    await live.page.click('#start');
    await live.page.waitForFunction((at) => window.tarvik.songTime() !== at, stoppedAt, { timeout: 30000 })
      .catch(() => {});
    const again = await live.page.evaluate(() => [document.body.dataset.state, window.tarvik.songTime()]);
    await live.page.waitForFunction(() => window.tarvik.songTime() > 1, null, { timeout: 30000 }).catch(() => {});
    const onward = await live.page.evaluate(() => window.tarvik.songTime());
    check(again[0] === 'playing' && again[1] < stoppedAt - 2 && onward > 1,
          `"play again" starts over and plays: song clock ${again[1].toFixed(2)} s, then ${onward.toFixed(2)} s ` +
          `(stopped at ${stoppedAt.toFixed(2)} s)`);
    await live.page.close();

    const bare = await openPage(browser, base, { noWebgl2: true });
    check(bare.state === 'unsupported' && /WebGL2/.test(bare.error), `without WebGL2: "${bare.error}"`);
    await bare.page.close();
    const lost = await openPage(browser, base, { route: { match: '**/data.vx', handler: (r) => r.fulfill({ status: 404 }) } });
    check(lost.state === 'error' && /data\.vx/.test(lost.error), `a pack that cannot be downloaded: "${lost.error}"`);
    await lost.page.close();
    cutShort = 'tarvik.mp3';
    const cut = await openPage(browser, base);
    cutShort = '';
    check(cut.state === 'error' && /music\/tarvik\.mp3/.test(cut.error), `music cut off mid-download: "${cut.error}"`);
    await cut.page.close();
  } finally {
    await browser.close();
    server.close();
  }
  console.log(failures ? `${failures} web check(s) failed` : 'all web checks passed');
  process.exit(failures ? 1 : 0);
}

main().catch((error) => {
  console.log(`FAIL - ${error.message}`);
  process.exit(1);
});
