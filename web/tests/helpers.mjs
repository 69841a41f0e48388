// What the web tests share: the native program and the web build, each run over the same rules
// and plans, and their reports from the first plan block on.
import { spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { createRequire } from 'node:module';

export const ROOT = path.resolve(path.dirname(fileURLToPath(import.meta.url)), '..', '..');
export const NATIVE = process.env.BREVANTO_EXE || path.join(ROOT, 'build', 'Brevanto');
export const WEB_BUILD = process.env.BREVANTO_WEB_BUILD || path.join(ROOT, 'build-web');
export const EXAMPLE = path.join(ROOT, 'examples');
export const EXAMPLE_PREFIX = path.join(EXAMPLE, 'wine-prefix');
export const EXAMPLE_PLANS = path.join(EXAMPLE_PREFIX,
                                       'drive_c/users/organiser/Documents/Soarix3/FlightPlans');
export const DASHES = Buffer.from('-'.repeat(78) + '\n');

// Why a test cannot run here, or null.
export function missing(...files) {
  const absent = files.filter((f) => !fs.existsSync(f));
  return absent.length ? `missing: ${absent.join(', ')}` : null;
}

export function tempDir(name) {
  return fs.mkdtempSync(path.join(os.tmpdir(), `brevanto-web-${name}-`));
}

// The report from its first plan block on.
export function fromFirstPlan(report) {
  const at = report.indexOf(DASHES);
  return at < 0 ? report : report.subarray(at);
}

// Runs the native program over the plans `names` of `dir` with `rules` (bytes) beside it, and
// `args`; its report log. It runs in a copy of the plans, so that tests running at once never
// see one another's logs among the plans. With `outputs`, the run also writes the "-csv" and
// "-html" files, returned beside the report with the rules file's path as the page names it.
export function nativeReport({ dir, names, rules, prefix, args = [], ini = '', outputs = false }) {
  const bin = tempDir('bin');
  try {
    const files = { csv: path.join(bin, 'out.csv'), html: path.join(bin, 'out.html') };
    if (outputs) args = [`-csv=${files.csv}`, `-html=${files.html}`, ...args];
    fs.copyFileSync(NATIVE, path.join(bin, 'Brevanto'));
    fs.writeFileSync(path.join(bin, 'DEFAULT_CHECK.fpl'), rules);
    fs.writeFileSync(path.join(bin, 'Brevanto.ini'), ini);
    const plans = path.join(bin, 'plans');
    fs.mkdirSync(plans);
    for (const name of names) fs.copyFileSync(path.join(dir, name), path.join(plans, name));
    const log = path.join(plans, 'Brevanto.log');
    const run = spawnSync(path.join(bin, 'Brevanto'), ['-nopopup', ...args, ...names], {
      cwd: plans, stdio: ['ignore', 'ignore', 'pipe'],
      env: { PATH: process.env.PATH, HOME: bin, LC_ALL: 'C', WINEPREFIX: prefix },
      maxBuffer: 1 << 26,
    });
    if (run.error) throw run.error;
    const report = fs.readFileSync(log);
    if (!outputs) return report;
    return { report, csv: fs.readFileSync(files.csv), html: fs.readFileSync(files.html),
             rulesPath: path.join(bin, 'DEFAULT_CHECK.fpl') };
  } finally {
    fs.rmSync(bin, { recursive: true, force: true });
  }
}

// The web build's module, made once.
let module_;
export async function webModule() {
  if (!module_) {
    const create = createRequire(import.meta.url)(path.join(WEB_BUILD, 'brevanto_core.js'));
    module_ = await create();
  }
  return module_;
}

// Checks the plans (name: bytes) with the web build; its report and totals, and with a `date`
// its CSV and HTML outputs.
export async function webReport({ plans, rules, options = {}, date }) {
  const check = (await webModule()).newCheck();
  try {
    check.setRules('DEFAULT_CHECK.fpl', rules);
    for (const [name, bytes] of plans) check.addPlan(name, bytes);
    const result = check.check(options);
    const outputs = date === undefined ? {}
      : { csv: Buffer.from(check.csv()), html: Buffer.from(check.html(date)) };
    return { ...result, report: Buffer.from(result.report), ...outputs };
  } finally {
    check.dispose();
  }
}

// Writes `count` plans of the generated corpus into `dir`/plans, with its Wine prefix and
// rules; their names in order.
export function generateCorpus(dir, count) {
  const made = spawnSync('python3', [path.join(ROOT, 'bench', 'gen_corpus.py'), dir,
                                     '--plans', String(count)], { stdio: 'inherit' });
  if (made.status !== 0) throw new Error('the corpus generator failed');
  return fs.readdirSync(path.join(dir, 'plans')).filter((n) => n.endsWith('.fpl')).sort();
}
