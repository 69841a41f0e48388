// The page's script: it reads the files a person chooses or drops, hands them to the check (the
// module of the console program's own check, compiled to WebAssembly) and shows and saves what
// the check gives. Nothing is sent anywhere: the page's security policy forbids connections.
'use strict';

(function () {
  const TEXTS = {
    en: {
      title: 'Brevanto: check flight plans',
      heading: 'Brevanto: check flight plans',
      language: 'Language',
      intro: "Check Soarix flight plans against the organiser's rules, as the organiser's " +
        'Brevanto will. The check runs in this page: no file leaves your computer.',
      files: 'Files',
      plans: 'Flight plans (.fpl)',
      folder: 'or a folder of flight plans',
      plansDrop: 'You may also drop plans or a folder here.',
      rules: 'Rules file (DEFAULT_CHECK.fpl)',
      rulesDrop: 'You may also drop the rules file here.',
      exampleRules: 'Use the example rules',
      settings: 'Settings',
      tolerance: 'Tolerance of "=" between reals',
      toleranceHint: 'relative, as FltPntAcy in Brevanto.ini',
      okLines: 'Report every satisfied rule too (OK lines)',
      missing: 'Report the rules whose key a plan lacks',
      unused: 'List the rules that matched no line',
      result: 'Result',
      nothingYet: 'Choose flight plans to check them.',
      saveLog: 'Save the log',
      saveCsv: 'Save the CSV',
      saveHtml: 'Save the HTML report',
      report: 'Report',
      findings: 'Findings and task maps',
      limits: 'What this page cannot know',
      noInstallation: "It checks no Soarix installation: the organiser's Brevanto first makes " +
        'sure that the simulator (version 2 or 3) is installed.',
      noAirspace: "It reads no landscape's airspace file: the report does not depend on it.",
      nameOnly: 'Plans are named by their file names (and folders, for a folder), not by the ' +
        "paths of the organiser's computer.",
      plansChosen: (n) => (n === 1 ? '1 file chosen.' : `${n} files chosen.`),
      exampleRulesUsed: 'The example rules are used (DEFAULT_CHECK.fpl of the package).',
      rulesChosen: (name) => `Rules file: ${name}`,
      reading: 'Reading the files\u2026',
      checking: 'Checking\u2026',
      checked: (ms) => `Checked in ${ms} ms.`,
      stopped: 'The check stopped at a plan it could not read: the plans after it were not ' +
        'checked.',
      badTolerance: (text) => `The tolerance "${text}" is not a number: nothing was checked.`,
      rulesFault: 'The rules file cannot be used: nothing was checked.',
      failed: (why) => `The check failed inside the page (${why}). Reload the page to try again.`,
      cannotRead: (name) => `${name} cannot be read.`,
    },
    fr: {
      title: 'Brevanto : v\u00e9rifier des plans de vol',
      heading: 'Brevanto : v\u00e9rifier des plans de vol',
      language: 'Langue',
      intro: "V\u00e9rifiez des plans de vol Soarix selon les r\u00e8gles de l'organisateur, " +
        "comme le fera le Brevanto de l'organisateur. La v\u00e9rification se fait dans cette " +
        'page\u00a0: aucun fichier ne quitte votre ordinateur.',
      files: 'Fichiers',
      plans: 'Plans de vol (.fpl)',
      folder: 'ou un dossier de plans de vol',
      plansDrop: 'Vous pouvez aussi d\u00e9poser ici des plans ou un dossier.',
      rules: 'Fichier de r\u00e8gles (DEFAULT_CHECK.fpl)',
      rulesDrop: 'Vous pouvez aussi d\u00e9poser ici le fichier de r\u00e8gles.',
      exampleRules: "Utiliser les r\u00e8gles de l'exemple",
      settings: 'R\u00e9glages',
      tolerance: 'Tol\u00e9rance de \u00ab\u00a0=\u00a0\u00bb entre r\u00e9els',
      toleranceHint: 'relative, comme FltPntAcy dans Brevanto.ini',
      okLines: 'Signaler aussi chaque r\u00e8gle respect\u00e9e (lignes OK)',
      missing: 'Signaler les r\u00e8gles dont la cl\u00e9 manque dans un plan',
      unused: "Lister les r\u00e8gles qui ne correspondent \u00e0 aucune ligne",
      result: 'R\u00e9sultat',
      nothingYet: 'Choisissez des plans de vol pour les v\u00e9rifier.',
      saveLog: 'Enregistrer le journal',
      saveCsv: 'Enregistrer le CSV',
      saveHtml: 'Enregistrer le rapport HTML',
      report: 'Rapport',
      findings: "Constats et cartes de l'\u00e9preuve",
      limits: 'Ce que cette page ne peut pas savoir',
      noInstallation: "Elle ne v\u00e9rifie aucune installation de Soarix\u00a0: le Brevanto de " +
        "l'organisateur s'assure d'abord que le simulateur (version 2 ou 3) est install\u00e9.",
      noAirspace: "Elle ne lit pas le fichier d'espaces a\u00e9riens du paysage\u00a0: le " +
        "rapport n'en d\u00e9pend pas.",
      nameOnly: 'Les plans sont nomm\u00e9s par leur nom de fichier (et leurs dossiers, pour un ' +
        "dossier), non par les chemins de l'ordinateur de l'organisateur.",
      plansChosen: (n) => (n === 1 ? '1 fichier choisi.' : `${n} fichiers choisis.`),
      exampleRulesUsed: "Les r\u00e8gles de l'exemple sont utilis\u00e9es (DEFAULT_CHECK.fpl " +
        'du paquet).',
      rulesChosen: (name) => `Fichier de r\u00e8gles\u00a0: ${name}`,
      reading: 'Lecture des fichiers\u2026',
      checking: 'V\u00e9rification\u2026',
      checked: (ms) => `V\u00e9rifi\u00e9 en ${ms}\u00a0ms.`,
      stopped: "La v\u00e9rification s'est arr\u00eat\u00e9e sur un plan illisible\u00a0: les " +
        'plans suivants ne sont pas v\u00e9rifi\u00e9s.',
      badTolerance: (text) => `La tol\u00e9rance \u00ab\u00a0${text}\u00a0\u00bb n'est pas un ` +
        "nombre\u00a0: rien n'a \u00e9t\u00e9 v\u00e9rifi\u00e9.",
      rulesFault: "Le fichier de r\u00e8gles est inutilisable\u00a0: rien n'a \u00e9t\u00e9 " +
        'v\u00e9rifi\u00e9.',
      failed: (why) => `La v\u00e9rification a \u00e9chou\u00e9 dans la page (${why}). ` +
        'Rechargez la page pour r\u00e9essayer.',
      cannotRead: (name) => `${name} ne peut pas \u00eatre lu.`,
    },
  };

  const $ = (id) => document.getElementById(id);
  const cp1252 = new TextDecoder('windows-1252');
  const utf8 = new TextDecoder('utf-8');

  const state = {
    language: /^fr\b/i.test(navigator.language || '') ? 'fr' : 'en',
    check: null,          // the module's check, made once the module is ready
    planCount: 0,
    rulesName: null,      // null: the example rules
    log: null, csv: null, html: null, // what the last check gave, to save
    failed: false,
    runs: 0,              // checks begun: a check that a later one overtook shows nothing
  };

  function t(key, ...args) {
    const text = TEXTS[state.language][key];
    return typeof text === 'function' ? text(...args) : text;
  }

  function showLanguage() {
    document.documentElement.lang = state.language;
    document.querySelectorAll('[data-text]').forEach((e) => {
      if (e.id === 'status') return; // the status says what happened last
      e.textContent = t(e.dataset.text);
    });
    document.querySelectorAll('[data-label]').forEach((e) => {
      const label = t(e.dataset.label);
      if (e.tagName === 'IFRAME') e.title = label; else e.setAttribute('aria-label', label);
    });
    $('language').value = state.language;
    showChosen();
  }

  function showChosen() {
    $('plans-chosen').textContent = state.planCount ? t('plansChosen', state.planCount) : '';
    $('rules-chosen').textContent = state.rulesName === null ? t('exampleRulesUsed')
                                                            : t('rulesChosen', state.rulesName);
    $('example-rules').hidden = state.rulesName === null;
  }

  function say(text, tone = '') {
    const status = $('status');
    status.textContent = text;
    status.className = tone;
  }

  // Lets the browser show the status before a long piece of work.
  const painted = () => new Promise((done) => requestAnimationFrame(() => setTimeout(done, 0)));

  async function bytesOf(file) {
    return new Uint8Array(await file.arrayBuffer());
  }

  // "2026-05-17 14:03:09", as the report log's first line dates a run.
  function now() {
    const d = new Date();
    const two = (n) => String(n).padStart(2, '0');
    return `${d.getFullYear()}-${two(d.getMonth() + 1)}-${two(d.getDate())} ` +
      `${two(d.getHours())}:${two(d.getMinutes())}:${two(d.getSeconds())}`;
  }

  function settings() {
    return {
      french: state.language === 'fr',
      tolerance: $('tolerance').value.trim() === '' ? '1.0E-6' : $('tolerance').value,
      okLines: $('oklines').checked,
      missing: $('missing').checked,
      unused: $('unused').checked,
    };
  }

  function fail(error) {
    state.failed = true;
    // A fault inside the module may come as a bare number: say only that it was inside.
    say(t('failed', error instanceof Error ? error.message : 'internal error'), 'bad');
    document.body.dataset.state = 'failed';
  }

  function clearResult() {
    $('report').textContent = '';
    $('totals').textContent = '';
    $('totals').className = 'totals';
    showFindings(null);
    for (const id of ['save-log', 'save-csv', 'save-html']) $(id).disabled = true;
    state.log = state.csv = state.html = null;
  }

  // Checks the plans chosen against the rules, shows the report, then the findings and maps.
  async function run(started = performance.now()) {
    if (!state.check || state.failed) return;
    const mine = ++state.runs;
    document.body.dataset.state = 'checking';
    if (!state.planCount) {
      clearResult();
      say(t('nothingYet'));
      document.body.dataset.state = 'idle';
      return;
    }
    say(t('checking'));
    await painted();
    if (mine !== state.runs) return;
    let result;
    const checking = performance.now();
    try {
      result = state.check.check(settings());
      document.body.dataset.coreMs = String(Math.round(performance.now() - checking));
    } catch (error) {
      fail(error);
      return;
    }
    clearResult();
    if (result.status === 'bad tolerance') {
      say(t('badTolerance', $('tolerance').value), 'bad');
      document.body.dataset.state = 'refused';
      return;
    }
    if (result.status === 'rules fault') {
      say(t('rulesFault'), 'bad');
      $('report').textContent = cp1252.decode(result.rulesFault);
      document.body.dataset.state = 'refused';
      return;
    }
    const report = cp1252.decode(result.report);
    $('report').textContent = report;
    const totals = result.totals;
    $('totals').textContent = cp1252.decode(result.totalsLine);
    const bad = totals.invalid + totals.unreadable > 0;
    $('totals').className = 'totals ' + (bad ? 'bad' : 'good');
    const date = now();
    // The log as the Windows program writes it: its date line, Windows-1252, CR LF line ends.
    state.log = new TextEncoder().encode(`${date}\n\n`);
    state.log = crlf(concat(state.log, result.report));
    const ms = Math.round(performance.now() - started);
    document.body.dataset.checkMs = String(ms);
    say(t('checked', ms) + (totals.stopped ? ' ' + t('stopped') : ''), bad ? 'bad' : 'good');
    $('save-log').disabled = false;
    await painted();
    if (mine !== state.runs) return;
    try {
      state.csv = state.check.csv();
      state.html = state.check.html(date);
    } catch (error) {
      fail(error);
      return;
    }
    $('save-csv').disabled = false;
    $('save-html').disabled = false;
    showFindings(utf8.decode(state.html), () => {
      document.body.dataset.mapsMs = String(Math.round(performance.now() - started));
      document.body.dataset.state = 'done';
    });
  }

  // The HTML report in a frame of its own, made afresh for each report so that no load of an
  // earlier one can be taken for it. The frame runs no script; its height follows its page.
  function showFindings(html, loaded) {
    const old = $('findings');
    const frame = old.cloneNode(false);
    frame.removeAttribute('srcdoc');
    if (html !== null) {
      frame.addEventListener('load', () => {
        narrowFindings(frame.contentDocument);
        fitFindings();
        loaded();
      }, { once: true });
      frame.srcdoc = html;
    }
    old.replaceWith(frame);
  }

  // On a narrow screen the report's lines wrap rather than run out of sight; the saved HTML
  // report is left as the renderer made it.
  function narrowFindings(doc) {
    if (!doc || !doc.head) return;
    const style = doc.createElement('style');
    style.textContent = '@media (max-width:32rem){body{margin:.5em}' +
      'td.report{white-space:pre-wrap;overflow-wrap:anywhere}}';
    doc.head.append(style);
  }

  // The frame as tall as its page at the window's width: the maps shrink with the window.
  function fitFindings() {
    const frame = $('findings');
    const doc = frame.contentDocument;
    if (!frame.hasAttribute('srcdoc') || !doc || !doc.body) return;
    frame.style.height = '0';
    frame.style.height = `${doc.documentElement.scrollHeight + 4}px`;
  }

  function concat(a, b) {
    const out = new Uint8Array(a.length + b.length);
    out.set(a);
    out.set(b, a.length);
    return out;
  }

  // LF line ends as CR LF.
  function crlf(bytes) {
    let lf = 0;
    for (const b of bytes) if (b === 10) ++lf;
    const out = new Uint8Array(bytes.length + lf);
    let n = 0;
    for (const b of bytes) {
      if (b === 10) out[n++] = 13;
      out[n++] = b;
    }
    return out;
  }

  // Hands the plans to the check, replacing those chosen before, and checks them.
  async function takePlans(files) {
    await ready;
    if (!state.check || state.failed || !files.length) return;
    const started = performance.now();
    say(t('reading'));
    let contents;
    try {
      contents = await Promise.all(files.map(async (f) => [f.name, await bytesOf(f.file)]));
    } catch (error) {
      say(t('cannotRead', error && error.name ? error.name : ''), 'bad');
      return;
    }
    try {
      state.check.clearPlans();
      for (const [name, bytes] of contents) state.check.addPlan(name, bytes);
    } catch (error) {
      fail(error);
      return;
    }
    state.planCount = contents.length;
    showChosen();
    await run(started);
  }

  async function takeRules(file) {
    await ready;
    if (!state.check || state.failed) return;
    try {
      if (file) {
        state.check.setRules(file.name, await bytesOf(file));
      } else {
        state.check.setRules('DEFAULT_CHECK.fpl', exampleRules());
      }
    } catch (error) {
      if (error instanceof DOMException) {
        say(t('cannotRead', file.name), 'bad');
        return;
      }
      fail(error);
      return;
    }
    state.rulesName = file ? file.name : null;
    showChosen();
    await run();
  }

  // A file the build put into the page.
  function builtIn(id) {
    const text = atob($(id).textContent.trim());
    return Uint8Array.from(text, (c) => c.charCodeAt(0));
  }
  const exampleRules = () => builtIn('example-rules-file');

  // While the person chooses files, the check runs a few times on a plan of the example, apart:
  // the browser first runs WebAssembly as it compiled it quickly, and optimises what runs often,
  // so that the person's first check runs on optimised code too.
  function warmUp(module) {
    const check = module.newCheck();
    try {
      check.setRules('DEFAULT_CHECK.fpl', exampleRules());
      const plan = builtIn('example-plan-file');
      for (let i = 0; i < 50; ++i) check.addPlan(`${i}.fpl`, plan);
      check.check();
      check.html('');
    } finally {
      check.dispose();
    }
  }

  // A file input's files, each named as the report will name it: a folder's by its path below
  // the chosen folder.
  function filesOf(input) {
    return Array.from(input.files, (file) => ({ name: file.webkitRelativePath || file.name, file }));
  }

  // The files of dropped items, folders read through.
  async function droppedFiles(items) {
    const files = [];
    const walk = async (entry, folder) => {
      if (entry.isFile) {
        const file = await new Promise((ok, no) => entry.file(ok, no));
        files.push({ name: folder + file.name, file });
      } else if (entry.isDirectory) {
        const reader = entry.createReader();
        for (;;) {
          const batch = await new Promise((ok, no) => reader.readEntries(ok, no));
          if (!batch.length) break;
          for (const e of batch) await walk(e, `${folder}${entry.name}/`);
        }
      }
    };
    const entries = Array.from(items, (item) => item.webkitGetAsEntry && item.webkitGetAsEntry())
      .filter(Boolean);
    for (const entry of entries) await walk(entry, '');
    return files;
  }

  function dropTarget(field, take) {
    field.addEventListener('dragover', (event) => {
      event.preventDefault();
      field.classList.add('over');
    });
    field.addEventListener('dragleave', () => field.classList.remove('over'));
    field.addEventListener('drop', async (event) => {
      event.preventDefault();
      field.classList.remove('over');
      try {
        await take(await droppedFiles(event.dataTransfer.items));
      } catch (error) {
        say(t('cannotRead', error && error.name ? error.name : ''), 'bad');
      }
    });
  }

  function save(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const a = document.createElement('a');
    a.href = url;
    a.download = name;
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  function wire() {
    // Each input is emptied once read, so that choosing the same file again (a plan mended in
    // the simulator) checks it again.
    const taken = (input, take) => input.addEventListener('change', () => {
      const files = filesOf(input);
      input.value = '';
      take(files);
    });
    taken($('plans'), takePlans);
    taken($('folder'), takePlans);
    taken($('rules'), (files) => files.length && takeRules(files[0].file));
    $('example-rules').addEventListener('click', () => takeRules(null));
    dropTarget($('plans-field'), takePlans);
    dropTarget($('rules-field'), (files) => files.length && takeRules(files[0].file));
    for (const id of ['oklines', 'missing', 'unused', 'tolerance']) {
      $(id).addEventListener('change', () => run());
    }
    $('language').addEventListener('change', (e) => {
      state.language = e.target.value;
      showLanguage();
      run();
    });
    $('save-log').addEventListener('click', () => save(state.log, 'Brevanto.log', 'text/plain'));
    $('save-csv').addEventListener('click', () =>
      save(state.csv, 'Brevanto-results.csv', 'text/csv'));
    $('save-html').addEventListener('click', () =>
      save(state.html, 'Brevanto-report.html', 'text/html'));
    // Nothing dropped beside the fields opens in place of the page.
    window.addEventListener('dragover', (e) => e.preventDefault());
    window.addEventListener('drop', (e) => e.preventDefault());
    window.addEventListener('resize', fitFindings);
  }

  showLanguage();
  wire();
  const ready = createBrevanto().then((module) => {
    state.check = module.newCheck();
    state.check.setRules('DEFAULT_CHECK.fpl', exampleRules());
    warmUp(module);
    document.body.dataset.state = 'idle';
  }, fail);
})();
