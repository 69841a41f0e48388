"""Runs the built Brevanto as a process in a temporary folder of its own.

The folder holds a copy of the executable (its folder decides where the settings and rules files
are found), and the run gets a clean environment: no display (so message boxes go to standard
error), the C locale (so output is the program's own Windows-1252 bytes), and a WINEPREFIX of the
test's choosing.
"""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

from soarix import SoarixPrefix

EXE = os.environ.get("BREVANTO_EXE", "")
SOURCE = os.environ.get("BREVANTO_SOURCE", os.path.join(os.path.dirname(__file__), "..", ".."))


DATE_HEAD = re.compile(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\n\n")


def sanitized():
    """Whether the program under test was built with AddressSanitizer, whose shadow memory and
    checks change its memory figures and its speed."""
    with open(EXE, "rb") as f:
        return b"__asan_init" in f.read()


def cp1252(data):
    return data.decode("cp1252", errors="replace") if isinstance(data, bytes) else data


# ---- Expected texts ----------------------------------------------------------------------

INSTALLED_3 = "Soarix 3 install path: C:\\Program Files\\Soarix3\n"


def rules_head(count, french=False):
    """The lines that close the reading of the rules file."""
    text = " contraintes \u00e0 v\u00e9rifier" if french else " constraints to check"
    return f"{count:2d} {text}\n \n"


def plan_block(path, lines=(), nok=0, french=False):
    """The report of one plan: its header, its check lines and its result."""
    out = ["-" * 78, " ", path, " ", *lines]
    if nok == 0:
        out += ["Pas d'erreur" if french else "No error found", " "]
    else:
        out += [" ", f"{nok:2d}" + (" lignes incorrectes" if french else " invalid lines"), " "]
    return "\n".join(out) + "\n"


def popup(icon, *lines, title="Vantobre"):
    """A message box as a run without display writes it on standard error."""
    return f"{title} [{icon}]\n" + "".join(line + "\n" for line in lines)


class Result:
    def __init__(self, proc, folder):
        self.returncode = proc.returncode
        self.stdout_bytes = proc.stdout
        self.stderr_bytes = proc.stderr
        self.stdout = cp1252(proc.stdout)
        self.stderr = cp1252(proc.stderr)
        self.folder = folder

    def log(self, name="Brevanto.log"):
        with open(os.path.join(self.folder, name), "rb") as f:
            return cp1252(f.read())

    def log_lines(self, name="Brevanto.log"):
        return self.log(name).split("\n")

    def report(self):
        """The report log after its date line and the blank line that follows it."""
        log = self.log()
        head = DATE_HEAD.match(log)
        if head is None:
            raise AssertionError("the report log does not start with its date line: " + log[:80])
        return log[head.end():]


def snapshot(root, skip=("run",), ignore=("zenity",)):
    """Every file and folder below `root`: contents and modification times (the folders of
    `skip`, relative to root, without their own time: they receive the report log; those of
    `ignore` not at all: the stand-in zenity records its calls there)."""
    seen = {}
    for folder, dirs, files in os.walk(root):
        rel = os.path.relpath(folder, root)
        if rel in ignore:
            dirs.clear()
            continue
        if rel not in skip:
            seen[rel] = ("folder", os.stat(folder).st_mtime_ns)
        for name in files:
            path = os.path.join(folder, name)
            with open(path, "rb") as f:
                seen[os.path.join(rel, name)] = (f.read(), os.stat(path).st_mtime_ns)
    return seen


def changes(before, after):
    """The paths whose content or time differ between two snapshots, or that only one has."""
    return sorted(path for path in set(before) | set(after) if before.get(path) != after.get(path))


class Sandbox:
    """A temporary folder with a copy of the program."""

    def __init__(self, rules=None, exe_name="Brevanto"):
        if not EXE or not os.path.exists(EXE):
            raise unittest.SkipTest("BREVANTO_EXE is not set to the built program")
        # A "." in a folder name makes a plan below it "not a flight plan": keep them out.
        base = tempfile.gettempdir()
        base = base if "." not in base else "/tmp"
        self.root = tempfile.mkdtemp(prefix="brevanto-e2e-", dir=base)
        self.folder = os.path.join(self.root, "run")
        os.mkdir(self.folder)
        self.exe = os.path.join(self.folder, exe_name)
        shutil.copy2(EXE, self.exe)
        if rules is not None:
            self.write("DEFAULT_CHECK.fpl", rules)
        # Folders besides the sandbox whose files a run must leave as they are; a harness that
        # runs the program elsewhere (the Windows build in its own Wine prefix) adds its own.
        self.watched = []
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.root,
            "LC_ALL": "C",
            "WINEPREFIX": os.path.join(self.root, "no-prefix"),
        }

    def snapshot(self):
        """snapshot() of the sandbox and of every watched folder."""
        seen = snapshot(self.root)
        for folder in self.watched:
            seen.update({os.path.join(folder, k): v for k, v in snapshot(folder, skip=()).items()})
        return seen

    def path(self, *parts):
        return os.path.join(self.folder, *parts)

    def write(self, name, text, crlf=False):
        """Writes a text file (str is encoded as Windows-1252) below the run folder."""
        full = self.path(name) if not os.path.isabs(name) else name
        os.makedirs(os.path.dirname(full), exist_ok=True)
        data = text.encode("cp1252") if isinstance(text, str) else text
        if crlf:
            data = data.replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
        with open(full, "wb") as f:
            f.write(data)
        return full

    def install(self, versions=(3,), **kwargs):
        """Builds a Wine prefix with the simulator's `versions` installed and points the runs to
        it."""
        prefix = SoarixPrefix(os.path.join(self.root, "prefix"), versions, **kwargs)
        self.env["WINEPREFIX"] = prefix.folder
        return prefix

    def zenity(self):
        """Puts a desktop and a stand-in zenity in the runs' environment (PATH holds only the
        stand-in's folder)."""
        stand_in = ZenityStandIn(os.path.join(self.root, "zenity"))
        self.env.update({"DISPLAY": ":97", "PATH": stand_in.folder})
        return stand_in

    def full_env(self, env=None):
        full_env = dict(self.env)
        if env:
            full_env.update(env)
        return {k: v for k, v in full_env.items() if v is not None}

    def run(self, *args, argv0=None, cwd=None, env=None, timeout=60, stdin=subprocess.DEVNULL,
            preexec_fn=None):
        """Runs the program; argv0 overrides argument 0 (the invocation name); preexec_fn runs
        in the child before the program starts (limits, signal dispositions)."""
        proc = subprocess.run(
            [argv0 or self.exe, *args],
            executable=self.exe,
            cwd=cwd or self.folder,
            env=self.full_env(env),
            stdin=stdin,
            capture_output=True,
            timeout=timeout,
            preexec_fn=preexec_fn,
        )
        return Result(proc, cwd or self.folder)

    def start(self, *args, **popen):
        """Starts the program in its folder without waiting for it; its output is thrown away
        unless `popen` says otherwise."""
        popen.setdefault("stdin", subprocess.DEVNULL)
        popen.setdefault("stdout", subprocess.DEVNULL)
        popen.setdefault("stderr", subprocess.DEVNULL)
        return subprocess.Popen([self.exe, *args], cwd=popen.pop("cwd", self.folder),
                                env=self.full_env(popen.pop("env", None)), **popen)

    def cleanup(self):
        shutil.rmtree(self.root, ignore_errors=True)


class ZenityStandIn:
    """A zenity on PATH that records the arguments of each call (1, 2, ...) and answers with the
    output and exit status given for that call, or for every call (status 0, no output, by
    default: a message box closed with OK)."""

    def __init__(self, folder):
        self.folder = folder
        os.makedirs(folder)
        script = os.path.join(folder, "zenity")
        with open(script, "w") as f:
            f.write(f"""#!/bin/sh
d='{folder}'
i=1
while [ -e "$d/call$i" ]; do i=$((i+1)); done
printf '%s\\0' "$@" > "$d/call$i"
if [ -f "$d/out$i" ]; then /bin/cat "$d/out$i"; elif [ -f "$d/out" ]; then /bin/cat "$d/out"; fi
s=0
if [ -f "$d/status$i" ]; then read s < "$d/status$i"
elif [ -f "$d/status" ]; then read s < "$d/status"; fi
exit "$s"
""")
        os.chmod(script, 0o755)

    def answer(self, call, out, status=0):
        """The answer of call `call` (1-based); 0 for every call without its own."""
        suffix = "" if call == 0 else str(call)
        with open(os.path.join(self.folder, "out" + suffix), "wb") as f:
            f.write(out.encode("utf-8") if isinstance(out, str) else out)
        with open(os.path.join(self.folder, "status" + suffix), "w") as f:
            f.write(f"{status}\n")

    def calls(self):
        """The arguments of every call so far (argument 0 excluded), as UTF-8 texts."""
        found = []
        while os.path.exists(os.path.join(self.folder, f"call{len(found) + 1}")):
            with open(os.path.join(self.folder, f"call{len(found) + 1}"), "rb") as f:
                found.append([a.decode("utf-8") for a in f.read().split(b"\0")[:-1]])
        return found


class SandboxTest(unittest.TestCase):
    """A test case with a fresh sandbox per test."""

    rules = None

    def setUp(self):
        self.box = Sandbox(rules=self.rules)
        self.addCleanup(self.box.cleanup)

    def assertOnlyLogWritten(self, before, box=None):
        """Everything below the sandbox and its watched folders is as in `before` (its
        snapshot()), but for the report log, which is new."""
        box = box or self.box
        log = os.path.join("run", "Brevanto.log")
        self.assertNotIn(log, before)
        self.assertEqual(changes(before, box.snapshot()), [log])
