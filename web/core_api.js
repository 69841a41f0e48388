// The check's way in from JavaScript, for the page and its tests alike: files go in as a name and
// bytes, texts come out as bytes (the report in Windows-1252, the CSV and the HTML page in UTF-8).
// Appended to the module by the build, where the module's memory and exports are in scope.

Module['newCheck'] = function () {
  const page = _brevanto_new();
  const utf8 = new TextEncoder();

  // Calls `call` with the address and size of each of `parts` copied into the module's memory.
  function withCopies(parts, call) {
    const held = parts.map((bytes) => {
      const at = _malloc(Math.max(bytes.length, 1));
      HEAPU8.set(bytes, at);
      return [at, bytes.length];
    });
    try {
      return call(...held.flat());
    } finally {
      held.forEach(([at]) => _free(at));
    }
  }

  function text(which) {
    const at = _brevanto_text_data(page, which);
    return HEAPU8.slice(at, at + _brevanto_text_size(page, which));
  }

  return {
    // `bytes`: a Uint8Array of the file as it is.
    setRules(name, bytes) {
      withCopies([utf8.encode(name), bytes], (...a) => _brevanto_set_rules(page, ...a));
    },
    addPlan(name, bytes) {
      withCopies([utf8.encode(name), bytes], (...a) => _brevanto_add_plan(page, ...a));
    },
    clearPlans() {
      _brevanto_clear_plans(page);
    },
    // Checks the plans. `tolerance` is a text, read as the settings file reads FltPntAcy.
    // status: 'checked', 'bad tolerance' or 'rules fault' (then rulesFault holds the message).
    check({ french = false, tolerance = '1.0E-6', okLines = false, missing = false,
            unused = false } = {}) {
      const code = withCopies([utf8.encode(tolerance)], (at, size) =>
        _brevanto_check(page, french ? 1 : 0, at, size, okLines ? 1 : 0, missing ? 1 : 0,
                        unused ? 1 : 0));
      const total = (n) => _brevanto_total(page, n);
      return {
        status: ['checked', 'bad tolerance', 'rules fault'][code],
        report: text(0),
        rulesFault: text(1),
        totalsLine: text(3),
        totals: { clean: total(0), invalid: total(1), unreadable: total(2), skipped: total(3),
                  stopped: total(4) === 1 },
      };
    },
    // The last check's outputs, as the console program's "-csv" and "-html" files.
    csv() {
      _brevanto_make_csv(page);
      return text(2);
    },
    html(date) {
      withCopies([utf8.encode(date)], (at, size) => _brevanto_make_html(page, at, size));
      return text(2);
    },
    dispose() {
      _brevanto_delete(page);
    },
  };
};
