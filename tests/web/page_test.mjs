// The browser twin's page in Debian's chromium (headless, WebGL2 on SwiftShader), driven by
// playwright-core: it loads without a console error and finds WebGL2 with float targets; a
// still in each of the eight parts holds 30 dB PSNR (ImageMagick's compare)
// against tarvik-render's still of the same time and size; autostart plays with the song clock
// running, Escape ends it and "play again" starts over; a browser without WebGL2 and a pack that cannot be downloaded
// each get their one sentence.
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

function serve() {
  const server = createServer((request, response) => {
    const path = normalize(join(site, decodeURIComponent(new URL(request.url, 'http://x').pathname)));
    if (!path.startsWith(site) || !existsSync(path) || statSync(path).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[extname(path)] || 'application/octet-stream',
                              'Content-Length': statSync(path).size });
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
  const errors = [];
  page.on('console', (m) => { if (m.type() === 'error' || m.type() === 'warning') errors.push(m.text()); });
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
  return { page, errors, state: state[0], error: state[1] };
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

    // The clock is read at each drawn frame, so the checks wait for it instead of timing it.
    const live = await openPage(browser, `${base}?autostart=1&quality=low`);
    const started = Date.now();
    await live.page.waitForFunction(() => window.tarvik.songTime() > 4, null, { timeout: 60000 }).catch(() => {});
    const [clock, name] = await live.page.evaluate(() => [window.tarvik.songTime(), window.tarvik.partName()]);
    check(live.state === 'playing' && clock > 4 && name === parts[0].name,
          `autostart plays: song clock ${clock.toFixed(2)} s after ${(Date.now() - started) / 1000} s, part "${name}"`);
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
