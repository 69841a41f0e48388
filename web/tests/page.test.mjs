// The page as a person uses it, in the system's headless Chromium: opened from the disk, given a
// rules file and the example's plans, it shows the native program's report, the maps with their
// red marks, saves the CSV, and makes no request; hostile plans show as text.
import { after, test } from 'node:test';
import { spawnSync } from 'node:child_process';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import {
  EXAMPLE, EXAMPLE_PLANS, EXAMPLE_PREFIX, NATIVE, ROOT, WEB_BUILD, fromFirstPlan, missing,
  nativeReport, tempDir,
} from './helpers.mjs';

const CHROMIUM = process.env.BREVANTO_CHROMIUM || '/usr/bin/chromium';
const SHOTS = path.join(WEB_BUILD, 'screenshots');
const PACKAGES = path.join(WEB_BUILD, 'packages');
const ZIP = fs.existsSync(PACKAGES) ?
  fs.readdirSync(PACKAGES).filter((n) => /^Brevanto-\d+-web\.zip$/.test(n)).map((n) => path.join(PACKAGES, n))[0] :
  undefined;

// The page as a league or a pilot gets it: unpacked from the package onto a disk.
const unpacked = tempDir('package');
const PAGE = path.join(unpacked, 'Brevanto.html');
if (ZIP) spawnSync('python3', ['-m', 'zipfile', '-e', ZIP, unpacked], { stdio: 'inherit' });
after(() => fs.rmSync(unpacked, { recursive: true, force: true }));

function loadPuppeteer() {
  try {
    return createRequire(path.join(ROOT, 'web', 'package.json'))('puppeteer-core');
  } catch {
    return null;
  }
}
const puppeteer = loadPuppeteer();
const skip = (puppeteer ? null : 'puppeteer-core is not installed (npm ci in web/)') ??
             missing(CHROMIUM, ZIP ?? path.join(PACKAGES, 'Brevanto-<version>-web.zip'), PAGE,
                     NATIVE) ?? false;

// Chromium as this machine allows it: no sandbox, no GPU, nothing fetched in the background, a
// profile of its own.
async function launch(profile) {
  return puppeteer.launch({
    executablePath: CHROMIUM,
    ignoreDefaultArgs: true,
    pipe: true,
    userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run',
           '--disable-default-apps', '--disable-extensions', '--hide-scrollbars'],
  });
}

// Opens the page and records every request, security-policy violation and dialog it makes.
async function openPage(browser) {
  const page = await browser.newPage();
  const seen = { requests: [], violations: [], dialogs: [], errors: [] };
  page.on('request', (r) => seen.requests.push(r.url()));
  page.on('dialog', (d) => {
    seen.dialogs.push(d.message());
    d.dismiss();
  });
  page.on('pageerror', (e) => seen.errors.push(String(e)));
  await page.evaluateOnNewDocument(() => {
    document.addEventListener('securitypolicyviolation', (e) => {
      window.violations = (window.violations || []).concat(`${e.violatedDirective} ${e.blockedURI}`);
    });
  });
  await page.goto(pathToFileURL(PAGE).href);
  await page.waitForSelector('body[data-state="idle"]');
  return { page, seen };
}

// Sets files on an input and waits for the check and its maps.
async function choose(page, input, files) {
  await page.evaluate(() => { document.body.dataset.state = 'choosing'; });
  await (await page.$(input)).uploadFile(...files);
  await page.waitForFunction(() =>
    ['done', 'idle', 'failed', 'refused'].includes(document.body.dataset.state));
}

test('the page checks the example as the native program does', { skip }, async () => {
  const profile = tempDir('chromium');
  const downloads = tempDir('downloads');
  const browser = await launch(profile);
  try {
    const { page, seen } = await openPage(browser);
    const names = fs.readdirSync(EXAMPLE_PLANS).sort();
    await choose(page, '#rules', [path.join(EXAMPLE, 'DEFAULT_CHECK.fpl')]);
    await choose(page, '#plans', names.map((n) => path.join(EXAMPLE_PLANS, n)));
    assert.equal(await page.$eval('body', (b) => b.dataset.state), 'done');

    const native = nativeReport({ dir: EXAMPLE_PLANS, names, outputs: true,
                                  rules: fs.readFileSync(path.join(EXAMPLE, 'DEFAULT_CHECK.fpl')),
                                  prefix: EXAMPLE_PREFIX });
    const shown = await page.$eval('#report', (e) => e.textContent);
    const decode = (b) => new TextDecoder('windows-1252').decode(b);
    assert.equal(decode(fromFirstPlan(Buffer.from(shown, 'latin1'))),
                 decode(fromFirstPlan(native.report)));
    assert.equal(await page.$eval('#totals', (e) => e.textContent),
                 '4 plans checked: 2 without error, 2 with invalid lines, 0 unreadable, 0 skipped');

    // A map per plan; in red the turnpoints and keys of the report's lines.
    const frame = page.frames().find((f) => f !== page.mainFrame());
    const marks = await frame.$$eval('svg.task-map', (maps) =>
      maps.map((m) => Array.from(m.querySelectorAll('.bad'), (e) => e.textContent.trim())));
    assert.equal(marks.length, 4);
    assert.deepEqual(marks.map((m) => m.length), [0, 4, 5, 0]);

    // The CSV through the page's button, as the native program writes it.
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.click('#save-csv');
    const saved = path.join(downloads, 'Brevanto-results.csv');
    for (let i = 0; i < 100 && !fs.existsSync(saved); ++i) await new Promise((r) => setTimeout(r, 50));
    assert.ok(fs.readFileSync(saved).equals(native.csv), 'the CSV files differ');

    // Every control named for a screen reader, and reached by the keyboard in the page's order.
    const controls = [];
    const walk = (node) => {
      if (['button', 'textbox', 'checkbox', 'combobox'].includes(node.role)) controls.push(node.name);
      (node.children || []).forEach(walk);
    };
    walk(await page.accessibility.snapshot());
    assert.equal(controls.length, 12);
    assert.ok(controls.every((name) => name.trim() !== ''), JSON.stringify(controls));
    const reached = [];
    await page.focus('#language');
    for (let i = 0; i < 13; ++i) {
      reached.push(await page.evaluate(() => document.activeElement.id));
      await page.keyboard.press('Tab');
    }
    assert.deepEqual(reached, ['language', 'plans', 'folder', 'rules', 'example-rules', 'tolerance',
                               'oklines', 'missing', 'unused', 'save-log', 'save-csv', 'save-html',
                               'report']);

    fs.mkdirSync(SHOTS, { recursive: true });
    for (const width of [1400, 420]) {
      // The whole page in the viewport: Chromium paints a frame's parts outside it blank.
      await page.setViewport({ width, height: 900 });
      const height = await page.evaluate(() => document.documentElement.scrollHeight);
      await page.setViewport({ width, height });
      await page.evaluate(() => new Promise((r) => requestAnimationFrame(() => requestAnimationFrame(r))));
      await page.screenshot({ path: path.join(SHOTS, `page-${width}.png`) });
    }
    // In French, the page and the report alike.
    await page.evaluate(() => { document.body.dataset.state = 'choosing'; });
    await page.select('#language', 'fr');
    await page.waitForFunction(() => document.body.dataset.state === 'done');
    const nativeFr = nativeReport({ dir: EXAMPLE_PLANS, names, args: ['-fr'],
                                    rules: fs.readFileSync(path.join(EXAMPLE, 'DEFAULT_CHECK.fpl')),
                                    prefix: EXAMPLE_PREFIX });
    assert.equal(decode(fromFirstPlan(Buffer.from(await page.$eval('#report', (e) => e.textContent),
                                                  'latin1'))),
                 decode(fromFirstPlan(nativeFr)));
    assert.equal(await page.evaluate(() => document.documentElement.lang), 'fr');
    assert.equal(await page.$eval('#save-csv', (e) => e.textContent), 'Enregistrer le CSV');

    // Nothing but the page itself was asked for, and the policy had nothing to block.
    assert.deepEqual(seen.requests.filter((u) => !u.startsWith('blob:') && !u.startsWith('data:')),
                     [pathToFileURL(PAGE).href]);
    assert.deepEqual(await page.evaluate(() => window.violations || []), []);
    assert.deepEqual(seen.errors, []);
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
    fs.rmSync(downloads, { recursive: true, force: true });
  }
});

test('hostile plans show as text', { skip }, async () => {
  const profile = tempDir('chromium');
  const dir = tempDir('hostile');
  const browser = await launch(profile);
  try {
    const { page, seen } = await openPage(browser);
    const rules = path.join(dir, 'rules.fpl');
    fs.writeFileSync(rules, '*!=evil\r\nName=ASK 21\r\n');
    const plan = path.join(dir, '<img src=x onerror=alert(1)>.fpl');
    fs.writeFileSync(plan, "[Plane]\r\n<script>alert('key')</script>=evil\r\n" +
                           'Name=<b onmouseover=alert(2)>LS4</b>\r\n');
    await choose(page, '#rules', [rules]);
    await choose(page, '#plans', [plan]);
    const shown = await page.$eval('#report', (e) => e.textContent);
    assert.match(shown, /^<img src=x onerror=alert\(1\)>\.fpl$/m);
    assert.match(shown, /^<script>alert\('key'\)<\/script> : evil +should be: != evil$/m);
    assert.match(shown, /^Name : <b onmouseover=alert\(2\)>LS4<\/b> +should be: = ASK 21$/m);
    const frame = page.frames().find((f) => f !== page.mainFrame());
    assert.equal(await frame.$$eval('script, img, b, [onerror], [onmouseover]', (e) => e.length), 0);
    assert.match(await frame.$eval('body', (b) => b.textContent), /<script>alert\('key'\)<\/script>/);
    assert.equal(await page.$$eval('main img, main b, main script', (e) => e.length), 0);
    assert.deepEqual(seen.dialogs, []);
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
    fs.rmSync(dir, { recursive: true, force: true });
  }
});
