#!/usr/bin/env node
// Times the web page against the native program on the same plans, in one run: N plans of the
// example's size (copies of its four plans, renamed), the example's rules.
//
//   node bench/run_web_bench.mjs [--plans 1000] [--repeat 3]
//
// Native: the program's wall time over the plans with -nopopup, standard output to /dev/null,
// best of --repeat. Web: in the system's headless Chromium, the page opened from the disk and the
// plans set on its input, the time from the input's change to the report on screen (reading
// the files, the check, the report), the check() call within it, and the time to the findings
// and maps shown; and the check() call in Node, first and later (the later ones run on code the
// engine has optimised meanwhile). Needs build/Brevanto, build-web/Brevanto.html and
// `npm ci` in web/.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import path from 'node:path';
import { createRequire } from 'node:module';
import { pathToFileURL } from 'node:url';
import { parseArgs } from 'node:util';
import {
  EXAMPLE, EXAMPLE_PLANS, EXAMPLE_PREFIX, NATIVE, ROOT, WEB_BUILD, tempDir, webModule,
} from '../web/tests/helpers.mjs';

const { values } = parseArgs({ options: { plans: { type: 'string', default: '1000' },
                                          repeat: { type: 'string', default: '3' } } });
const count = Number(values.plans);
const repeat = Number(values.repeat);
const puppeteer = createRequire(path.join(ROOT, 'web', 'package.json'))('puppeteer-core');

const dir = tempDir('bench');
const bin = tempDir('bench-bin');
const profile = tempDir('bench-chromium');
try {
  const examples = fs.readdirSync(EXAMPLE_PLANS).sort();
  const names = [];
  for (let k = 0; k < count; ++k) {
    const name = `day${String(k).padStart(5, '0')}.fpl`;
    fs.copyFileSync(path.join(EXAMPLE_PLANS, examples[k % examples.length]), path.join(dir, name));
    names.push(name);
  }
  const bytes = names.reduce((n, f) => n + fs.statSync(path.join(dir, f)).size, 0);
  console.log(`${count} plans, ${(bytes / count / 1024).toFixed(1)} KiB each on average`);

  fs.copyFileSync(NATIVE, path.join(bin, 'Brevanto'));
  fs.copyFileSync(path.join(EXAMPLE, 'DEFAULT_CHECK.fpl'), path.join(bin, 'DEFAULT_CHECK.fpl'));
  const best = (runs) => Math.min(...runs);
  const native = [];
  for (let r = 0; r < repeat; ++r) {
    const begin = performance.now();
    const run = spawnSync(path.join(bin, 'Brevanto'), ['-nopopup', ...names], {
      cwd: dir, stdio: 'ignore',
      env: { PATH: process.env.PATH, HOME: bin, LC_ALL: 'C', WINEPREFIX: EXAMPLE_PREFIX },
    });
    native.push(performance.now() - begin);
    if (run.status !== 0) throw new Error(`the native program failed: ${run.status}`);
  }

  const module = await webModule();
  const node = [];
  for (let r = 0; r < repeat; ++r) {
    const check = module.newCheck();
    check.setRules('DEFAULT_CHECK.fpl', fs.readFileSync(path.join(EXAMPLE, 'DEFAULT_CHECK.fpl')));
    for (const n of names) check.addPlan(n, fs.readFileSync(path.join(dir, n)));
    const begin = performance.now();
    check.check();
    node.push(performance.now() - begin);
    check.dispose();
  }

  const browser = await puppeteer.launch({
    executablePath: process.env.BREVANTO_CHROMIUM || '/usr/bin/chromium',
    ignoreDefaultArgs: true, pipe: true, userDataDir: profile,
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-background-networking',
           '--disable-component-update', '--disable-sync', '--no-first-run'],
  });
  const page = [], core = [], maps = [];
  try {
    // A fresh page each time, as a person opens it: the first check is the one that counts.
    for (let r = 0; r < repeat; ++r) {
      const tab = await browser.newPage();
      await tab.setViewport({ width: 1400, height: 900 });
      await tab.goto(pathToFileURL(path.join(WEB_BUILD, 'Brevanto.html')).href);
      await tab.waitForSelector('body[data-state="idle"]');
      await (await tab.$('#plans')).uploadFile(...names.map((n) => path.join(dir, n)));
      await tab.waitForSelector('body[data-state="done"]', { timeout: 120000 });
      const timing = await tab.$eval('body', (b) => [b.dataset.checkMs, b.dataset.coreMs,
                                                      b.dataset.mapsMs]);
      page.push(Number(timing[0]));
      core.push(Number(timing[1]));
      maps.push(Number(timing[2]));
      await tab.close();
    }
  } finally {
    await browser.close();
  }
  const s = (ms) => `${(ms / 1000).toFixed(3)} s`;
  const line = (what, runs) => console.log(`${what.padEnd(44)} ${s(best(runs))}   (runs: ${runs.map(s).join(', ')})`);
  line('native program, whole run', native);
  line('web check in Node, first call', node.slice(0, 1));
  line('web check in Node, later calls', node.slice(1));
  line('page: the check() call', core);
  line('page: files chosen to report on screen', page);
  line('page: files chosen to findings and maps shown', maps);
  console.log(`page's check() / native: ${(best(core) / best(native)).toFixed(2)}; ` +
              `page's files to report / native: ${(best(page) / best(native)).toFixed(2)}`);
} finally {
  for (const d of [dir, bin, profile]) fs.rmSync(d, { recursive: true, force: true });
}
