"""Runs the built Brevanto as a process in a temporary folder of its own.

The folder holds a copy of the executable (its folder decides where the settings and rules files
are found), and the run gets a clean environment: no display (so message boxes go to standard
error), the C locale (so output is the program's own Windows-1252 bytes), and a WINEPREFIX of the
test's choosing.
"""

import os
import shutil
import subprocess
import tempfile
import unittest

EXE = os.environ.get("BREVANTO_EXE", "")
SOURCE = os.environ.get("BREVANTO_SOURCE", os.path.join(os.path.dirname(__file__), "..", ".."))


def cp1252(data):
    return data.decode("cp1252", errors="replace") if isinstance(data, bytes) else data


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


class Sandbox:
    """A temporary folder with a copy of the program."""

    def __init__(self, rules=None, exe_name="Brevanto"):
        if not EXE or not os.path.exists(EXE):
            raise unittest.SkipTest("BREVANTO_EXE is not set to the built program")
        self.root = tempfile.mkdtemp(prefix="brevanto-e2e-")
        self.folder = os.path.join(self.root, "run")
        os.mkdir(self.folder)
        self.exe = os.path.join(self.folder, exe_name)
        shutil.copy2(EXE, self.exe)
        if rules is not None:
            self.write("DEFAULT_CHECK.fpl", rules)
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": self.root,
            "LC_ALL": "C",
            "WINEPREFIX": os.path.join(self.root, "no-prefix"),
        }

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

    def run(self, *args, argv0=None, cwd=None, env=None, timeout=60, stdin=subprocess.DEVNULL):
        """Runs the program; argv0 overrides argument 0 (the invocation name)."""
        full_env = dict(self.env)
        if env:
            full_env.update(env)
        full_env = {k: v for k, v in full_env.items() if v is not None}
        proc = subprocess.run(
            [argv0 or self.exe, *args],
            executable=self.exe,
            cwd=cwd or self.folder,
            env=full_env,
            stdin=stdin,
            capture_output=True,
            timeout=timeout,
        )
        return Result(proc, cwd or self.folder)

    def cleanup(self):
        shutil.rmtree(self.root, ignore_errors=True)


class SandboxTest(unittest.TestCase):
    """A test case with a fresh sandbox per test."""

    rules = None

    def setUp(self):
        self.box = Sandbox(rules=self.rules)
        self.addCleanup(self.box.cleanup)
