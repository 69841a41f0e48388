"""Runs the built Brevanto as a process in a temporary folder of its own.

The folder holds a copy of the executable (its folder decides where the settings and rules files
are found), and the run gets a clean environment: no display (so message boxes go to standard
error), the C locale (so output is the program's own Windows-1252 bytes), and a WINEPREFIX of the
test's choosing.

With BREVANTO_WINE set, the program is the Windows build, run under Wine (see wine.py): the
folder lies on the prefix's drive C:, the simulator's folders are linked into it and its keys
written to the prefix's registry; the program takes and shows paths in their Windows form
(program_path), and its report log has CR LF line ends, read here as LF.
"""

import os
import pty
import re
import select
import shutil
import subprocess
import tempfile
import time
import unittest

from soarix import SOARIX_KEYS, SoarixPrefix
from wine import WINE

EXE = os.environ.get("BREVANTO_EXE", "")
# The program under test is the Windows build, under Wine.
WINDOWS = WINE is not None
SOURCE = os.environ.get("BREVANTO_SOURCE", os.path.join(os.path.dirname(__file__), "..", ".."))


DATE_HEAD = re.compile(r"\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\n\n")

# The reason of a skip for a tool this machine lacks: run.py tells CTest, which then counts the
# module as skipped, not passed, and CI fails on it.
MISSING_TOOL = "missing tool: "


def missing_tool(*tools):
    """The exception that skips a test (or its class, or its module) for want of `tools`."""
    return unittest.SkipTest(MISSING_TOOL + ", ".join(tools))


def needs(*programs):
    """Decorator: skips a test or a class for the programs of `programs` not on PATH."""
    missing = [p for p in programs if not shutil.which(p)]
    return unittest.skipIf(missing, MISSING_TOOL + ", ".join(missing))


def sanitized():
    """Whether the program under test was built with AddressSanitizer, whose shadow memory and
    checks change its memory figures and its speed."""
    with open(EXE, "rb") as f:
        return b"__asan_init" in f.read()


def cp1252(data):
    return data.decode("cp1252", errors="replace") if isinstance(data, bytes) else data


# ---- Expected texts ----------------------------------------------------------------------

INSTALLED_3 = "Soarix 3 install path: C:\\Program Files\\Soarix3\n"


def rules_head(count, french=False, warnings=()):
    """The lines that close the reading of the rules file: the count, the warnings about rules,
    a blank line."""
    text = " contraintes \u00e0 v\u00e9rifier" if french else " constraints to check"
    return f"{count:2d} {text}\n" + "".join(line + "\n" for line in warnings) + " \n"


def rule_warning(number, line, rule, what, french=False):
    """A warning about a rule: its number, its line in the file, the rule as written, what is
    wrong."""
    if french:
        return f"*** r\u00e8gle {number} (ligne {line}) : {rule} : {what} ***"
    return f"*** rule {number} (line {line}) : {rule} : {what} ***"


def plan_block(path, lines=(), nok=0, french=False):
    """The report of one plan: its header, its check lines and its result."""
    out = ["-" * 78, " ", path, " ", *lines]
    if nok == 0:
        out += ["Pas d'erreur" if french else "No error found", " "]
    else:
        out += [" ", f"{nok:2d}" + (" lignes incorrectes" if french else " invalid lines"), " "]
    return "\n".join(out) + "\n"


SKIPPED = "not a Soarix flight plan, skipped"


def skipped_block(path):
    """The report of a file skipped for its name."""
    return "\n".join(["-" * 78, " ", path, " ", SKIPPED, " "]) + "\n"


def totals(clean=0, invalid=0, unreadable=0, skipped=0, french=False):
    """The block that ends the report of a run: a separator and the count of files by result."""
    n = clean + invalid + unreadable + skipped
    if french:
        line = (f"{n} plans v\u00e9rifi\u00e9s : {clean} sans erreur, {invalid} avec lignes "
                f"incorrectes, {unreadable} illisibles, {skipped} ignor\u00e9s")
    else:
        line = (f"{n} plans checked: {clean} without error, {invalid} with invalid lines, "
                f"{unreadable} unreadable, {skipped} skipped")
    return "-" * 78 + "\n" + line + "\n"


def stopped(not_checked, french=False):
    """The line that ends the report of a run stopped by a plan it could not read."""
    if french:
        return (f"*** v\u00e9rification arr\u00eat\u00e9e : {not_checked} des plans nomm\u00e9s "
                "non v\u00e9rifi\u00e9s ***\n")
    return f"*** run stopped: {not_checked} of the named plans not checked ***\n"


def popup(icon, *lines, title="Vantobre"):
    """A message box as a run without display writes it on standard error."""
    return f"{title} [{icon}]\n" + "".join(line + "\n" for line in lines)


def shown_name(path):
    """A plan's name as popups show it: a name of more than 62 characters is shortened."""
    return path if len(path) <= 62 else path[:10] + "..." + path[-49:]


def csv_text(path):
    """A CSV export without its byte-order mark, which it must have."""
    with open(path, "rb") as f:
        data = f.read()
    assert data.startswith(b"\xef\xbb\xbf"), data[:10]
    return data[3:].decode("utf-8")


class Result:
    def __init__(self, proc, folder):
        self.returncode = proc.returncode
        self.stdout_bytes = proc.stdout
        self.stderr_bytes = proc.stderr
        self.stdout = cp1252(proc.stdout)
        self.stderr = cp1252(proc.stderr)
        self.folder = folder

    def log_bytes(self, name="Brevanto.log"):
        """The report log as bytes, its line ends LF (the Windows build writes CR LF)."""
        with open(os.path.join(self.folder, name), "rb") as f:
            data = f.read()
        return data.replace(b"\r\n", b"\n") if WINDOWS else data

    def log(self, name="Brevanto.log"):
        return cp1252(self.log_bytes(name))

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

    def __init__(self, rules=None):
        if not EXE or not os.path.exists(EXE):
            raise unittest.SkipTest("BREVANTO_EXE is not set to the built program")
        if WINDOWS:
            base = WINE.drive_c
        else:
            # A "." in a folder name makes a plan below it "not a flight plan": keep them out.
            base = tempfile.gettempdir()
            base = base if "." not in base else "/tmp"
        self.root = tempfile.mkdtemp(prefix="brevanto-e2e-", dir=base)
        self.folder = os.path.join(self.root, "run")
        os.mkdir(self.folder)
        self.simulator = None  # the SoarixPrefix of install()
        self.links = []  # under Wine: the simulator's folders linked into the prefix
        exe_file = os.path.join(self.folder, "Brevanto.exe" if WINDOWS else "Brevanto")
        shutil.copy2(EXE, exe_file)
        self.exe = self.program_path(exe_file)  # argument 0 of a run
        if rules is not None:
            self.write("DEFAULT_CHECK.fpl", rules)
        # Folders besides the sandbox whose files a run must leave as they are. Under Wine the
        # simulator's folders stay in the sandbox (linked into the prefix), so nothing is added.
        self.watched = []
        if WINDOWS:
            self.env = WINE.environment()
        else:
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

    def program_path(self, native):
        """A path as the program takes it and shows it: the native path itself, or under Wine
        its Windows form (the simulator's files on C: where the prefix has them linked)."""
        if not WINDOWS:
            return native
        if self.simulator is not None:
            drive_c = os.path.join(self.simulator.folder, "drive_c")
            if native.startswith(drive_c + os.sep):
                return "C:\\" + os.path.relpath(native, drive_c).replace(os.sep, "\\")
        return WINE.windows_path(native)

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
        self.simulator = prefix
        if not WINDOWS:
            self.env["WINEPREFIX"] = prefix.folder
            return prefix
        self.unlink_simulator()
        for folder in prefix.windows_folders():
            link = WINE.native(folder)
            if os.path.islink(link):
                os.remove(link)  # left by a test that could not clean up
            elif os.path.lexists(link):
                raise AssertionError(f"{link} is in the way of the simulator's folder {folder}")
            os.makedirs(os.path.dirname(link), exist_ok=True)
            os.symlink(prefix.native(folder), link)
            self.links.append(link)
        hkcu = "HKEY_CURRENT_USER\\"
        WINE.import_registry([(hkcu + key, name, value) for key, name, value in prefix.registry()],
                             remove=[hkcu + key for key in SOARIX_KEYS.values()])
        return prefix

    def install_example(self):
        """Copies the example (its Wine prefix and rules file) into the run folder and points the
        runs to its prefix; returns its flight plans as the README names them. Under Wine the
        example's installation and user, which are those of install(), are installed and the
        example's files put in place of the stand-ins."""
        examples = os.path.join(SOURCE, "examples")
        shutil.copytree(os.path.join(examples, "wine-prefix"), self.path("wine-prefix"),
                        symlinks=True)
        shutil.copy(os.path.join(examples, "DEFAULT_CHECK.fpl"), self.folder)
        if WINDOWS:
            prefix = self.install()
            shutil.copytree(self.path("wine-prefix", "drive_c"),
                            os.path.join(prefix.folder, "drive_c"), dirs_exist_ok=True)
        else:
            self.env["WINEPREFIX"] = self.path("wine-prefix")
        plans = "wine-prefix/drive_c/users/organiser/Documents/Soarix3/FlightPlans"
        return sorted(plans + "/" + name for name in os.listdir(self.path(plans)))

    def reg_add(self, key, name, value):
        """Sets a registry value below HKEY_CURRENT_USER of the installed simulator's machine:
        with Wine's reg under Wine, in the stand-in prefix's user.reg for the Linux build."""
        if WINDOWS:
            WINE.reg_add("HKCU\\" + key, name, value)
        else:
            self.simulator.set_value(key, name, value)

    def unlink_simulator(self):
        for link in self.links:
            if os.path.islink(link):
                os.remove(link)
        self.links = []

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

    def command(self, args, argv0=None, env=None):
        """The command line, the program file and the environment of a run; argv0 overrides
        argument 0 (the invocation name): under Wine, cmd.exe then starts the program by that
        name from PATH, as a user at the prompt does."""
        full_env = self.full_env(env)
        if not WINDOWS:
            return [argv0 or self.exe, *args], self.exe, full_env
        if self.simulator is None:
            WINE.reset_registry()  # no simulator of an earlier test
        if argv0 is None:
            return [WINE.loader, self.exe, *args], WINE.loader, full_env
        full_env["WINEPATH"] = self.program_path(self.folder)
        return [WINE.loader, "cmd", "/c", argv0, *args], WINE.loader, full_env

    def run(self, *args, argv0=None, cwd=None, env=None, timeout=60, stdin=subprocess.DEVNULL,
            preexec_fn=None):
        """Runs the program, its output captured; preexec_fn runs in the child before the
        program starts (limits, signal dispositions)."""
        command, executable, full_env = self.command(args, argv0, env)
        proc = subprocess.run(command, executable=executable, cwd=cwd or self.folder, env=full_env,
                              stdin=stdin, capture_output=True, timeout=timeout,
                              preexec_fn=preexec_fn)
        return Result(proc, cwd or self.folder)

    def start(self, *args, **popen):
        """Starts the program in its folder without waiting for it; its output is thrown away
        unless `popen` says otherwise."""
        popen.setdefault("stdin", subprocess.DEVNULL)
        popen.setdefault("stdout", subprocess.DEVNULL)
        popen.setdefault("stderr", subprocess.DEVNULL)
        command, executable, full_env = self.command(args, None, popen.pop("env", None))
        return subprocess.Popen(command, executable=executable,
                                cwd=popen.pop("cwd", self.folder), env=full_env, **popen)

    def run_on_terminal(self, *args, env=None, timeout=60):
        """Runs the program with its standard output on a terminal, as from a command prompt;
        returns what the terminal received."""
        command, executable, full_env = self.command(args, None, env)
        try:
            terminal, output = pty.openpty()
        except OSError as e:
            raise unittest.SkipTest(f"no terminal can be opened here: {e}")
        proc = subprocess.Popen(command, executable=executable, cwd=self.folder, env=full_env,
                                stdin=subprocess.DEVNULL, stdout=output,
                                stderr=subprocess.DEVNULL)
        os.close(output)
        shown = b""
        deadline = time.monotonic() + timeout
        try:
            while time.monotonic() < deadline:
                if select.select([terminal], [], [], 0.5)[0]:
                    try:
                        data = os.read(terminal, 65536)
                    except OSError:  # every writer has gone
                        break
                    if not data:
                        break
                    shown += data
                elif proc.poll() is not None:
                    break
            proc.wait(timeout=max(1, deadline - time.monotonic()))
        finally:
            os.close(terminal)
            if proc.poll() is None:
                proc.kill()
        return shown

    def cleanup(self):
        self.unlink_simulator()
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
