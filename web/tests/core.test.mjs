// The web build's check against the native program's: the same rules and plans give the same
// report, byte for byte from the first plan block on.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import {
  EXAMPLE, EXAMPLE_PLANS, EXAMPLE_PREFIX, NATIVE, WEB_BUILD, fromFirstPlan, generateCorpus,
  missing, nativeReport, tempDir, webReport,
} from './helpers.mjs';

const skip = missing(NATIVE, path.join(WEB_BUILD, 'brevanto_core.js')) ?? false;
const exampleRules = fs.readFileSync(path.join(EXAMPLE, 'DEFAULT_CHECK.fpl'));

function readPlans(dir, names) {
  return names.map((n) => [n, fs.readFileSync(path.join(dir, n))]);
}

// The native run's options and the page's settings that stand for them.
const SETTINGS = [
  { name: 'default settings', args: [], options: {} },
  { name: 'French, OK lines, missing keys, unused rules, tolerance 0.01',
    args: ['-fr', '-oklines', '-missing', '-unused'], ini: 'FltPntAcy=0.01\n',
    options: { french: true, okLines: true, missing: true, unused: true, tolerance: '0.01' } },
];

test('the example gives the native report', { skip }, async (t) => {
  const names = fs.readdirSync(EXAMPLE_PLANS).sort();
  for (const s of SETTINGS) {
    await t.test(s.name, async () => {
      const native = nativeReport({ dir: EXAMPLE_PLANS, names, rules: exampleRules,
                                    prefix: EXAMPLE_PREFIX, args: s.args, ini: s.ini });
      const web = await webReport({ plans: readPlans(EXAMPLE_PLANS, names), rules: exampleRules,
                                    options: s.options });
      assert.equal(web.status, 'checked');
      assert.equal(fromFirstPlan(web.report).toString('latin1'),
                   fromFirstPlan(native).toString('latin1'));
    });
  }
});

test('the example gives the native CSV and HTML report', { skip }, async () => {
  const names = fs.readdirSync(EXAMPLE_PLANS).sort();
  const native = nativeReport({ dir: EXAMPLE_PLANS, names, rules: exampleRules,
                                prefix: EXAMPLE_PREFIX, args: ['-fr'], outputs: true });
  const html = native.html.toString('utf8');
  // The page names the run's time and its rules file as the browser gave them.
  const date = /<\/h1>\n<p>[^<]*\), ([^<]*)<\/p>/.exec(html)?.[1];
  assert.ok(date, 'no date in the native page');
  const web = await webReport({ plans: readPlans(EXAMPLE_PLANS, names), rules: exampleRules,
                                options: { french: true }, date });
  assert.ok(web.csv.equals(native.csv), 'the CSV files differ');
  assert.ok(native.csv.toString('utf8').includes('violation'), 'a CSV without findings');
  assert.equal(web.html.toString('utf8'), html.replace(native.rulesPath, 'DEFAULT_CHECK.fpl'));
});

test('a generated corpus gives the native report', { skip }, async (t) => {
  const dir = tempDir('corpus');
  try {
    const names = generateCorpus(dir, 300);
    const plansDir = path.join(dir, 'plans');
    const rules = fs.readFileSync(path.join(dir, 'rules', 'DEFAULT_CHECK.fpl'));
    const plans = readPlans(plansDir, names);
    for (const s of [SETTINGS[0], { ...SETTINGS[1], args: ['-fr', '-missing', '-unused'],
                                    options: { ...SETTINGS[1].options, okLines: false } }]) {
      await t.test(s.name, async () => {
        const native = nativeReport({ dir: plansDir, names, rules, prefix: path.join(dir, 'prefix'),
                                      args: s.args, ini: s.ini });
        const web = await webReport({ plans, rules, options: s.options });
        // Not a report of nothing: most kinds of finding are there.
        assert.ok(web.totals.invalid > 50 && web.totals.clean + web.totals.invalid === 300,
                  JSON.stringify(web.totals));
        assert.ok(fromFirstPlan(web.report).equals(fromFirstPlan(native)), 'the reports differ');
      });
    }
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
});

// Files a pilot may drop by mistake or by malice, in Explorer's order: the run stops at the
// last, as the console program's does.
const AWKWARD = [
  ['a_plain.fpl', '[Plane]\r\nClass=Club\r\nWater=0\r\n'],
  ['b_\u00c9tape.fpl', Buffer.from('[Task]\r\nTPName1=Col de la Cayolle\r\n[Plane]\r\nClass=Libre\r\n')],
  ['c_\u0141\u00f3d\u017a.fpl', Buffer.from('\ufeff[Plane]\nClass=Standard \u00e9t\u00e9\nWater=<script>alert(1)</script>\n', 'utf8')],
  ['d_notes.txt', 'not a plan'],
  ['e_mail.fpl', 'Dear organiser,\nhere is my task.\n'],
  ['g_bad.fpl', '[Task]\r\nCount=3\r\nTPName1=A\r\nTPSectorType1=x\r\nWater=1\r\n'],
  ['h_after.fpl', '[Plane]\r\nWater=0\r\n'],
];

test('awkward files give the native report', { skip }, async () => {
  const dir = tempDir('awkward');
  try {
    for (const [name, bytes] of AWKWARD) fs.writeFileSync(path.join(dir, name), bytes);
    const names = AWKWARD.map(([n]) => n);
    const rules = Buffer.from('Class=Club;Standard\r\nWater=0\r\nTPName*[]Col\r\n');
    const native = nativeReport({ dir, names, rules, prefix: EXAMPLE_PREFIX, args: ['-fr'] });
    const web = await webReport({ plans: readPlans(dir, names).reverse(), rules,
                                  options: { french: true } });
    assert.equal(fromFirstPlan(web.report).toString('latin1'),
                 fromFirstPlan(native).toString('latin1'));
    assert.deepEqual(web.totals, { clean: 1, invalid: 3, unreadable: 1, skipped: 1, stopped: true });
  } finally {
    fs.rmSync(dir, { recursive: true, force: true });
  }
});

test('rules the check cannot use, and a tolerance that is no number', { skip }, async () => {
  const plans = [['a.fpl', Buffer.from('Water=0\n')]];
  const none = await webReport({ plans, rules: Buffer.from('# nothing but a comment\n') });
  assert.equal(none.status, 'rules fault');
  assert.equal(Buffer.from(none.rulesFault).toString('latin1'),
               '*** DEFAULT_CHECK.fpl : no test defined ***\n');
  assert.equal(none.report.length, 0);
  const many = await webReport({ plans, rules: Buffer.from('Water=0\n'.repeat(201)) });
  assert.equal(Buffer.from(many.rulesFault).toString('latin1'),
               'DEFAULT_CHECK.fpl\nMore than 200 constraints\n');
  const bad = await webReport({ plans, rules: Buffer.from('Water=0\n'),
                                options: { tolerance: 'tight' } });
  assert.equal(bad.status, 'bad tolerance');
});
