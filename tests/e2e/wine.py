"""The Windows program under Wine: one Wine prefix for a whole test run, made once by wineboot,
with a saved copy of its registry to go back to.

When BREVANTO_WINE names the Wine loader, the end-to-end tests run the Windows build through it
against the prefix BREVANTO_WINE_PREFIX: its registry is the one the program reads (filled with
regedit and reg, as a user's would be), and the simulator's folders are linked into its drive C:.

    python3 wine.py start <prefix>   makes the prefix when it is not there yet, keeps a copy of
                                     its registry, and starts the Wine server of the test run
    python3 wine.py stop <prefix>    stops that server
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

REGISTRY_FILES = ("system.reg", "user.reg", "userdef.reg")


class Wine:
    def __init__(self, loader, prefix):
        self.loader = loader
        self.server = os.path.join(os.path.dirname(loader), "wineserver")
        self.prefix = os.path.abspath(prefix)
        self.drive_c = os.path.join(self.prefix, "drive_c")
        self.saved = os.path.join(self.prefix, "brevanto-saved")
        self.state = os.path.join(self.prefix, "brevanto-registry")  # "clean" or "changed"

    def environment(self, **extra):
        """What every Wine process of the tests gets: the prefix, no debug output, no display,
        no installers of .NET or a browser engine, which a console program never needs, and a
        UTF-8 locale, in which Wine reads the command line's bytes."""
        env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"),
               "HOME": os.environ.get("HOME", self.prefix),
               "LC_ALL": "C.UTF-8",
               "WINEPREFIX": self.prefix,
               "WINEDEBUG": "-all",
               "WINEDLLOVERRIDES": "mscoree,mshtml,winemenubuilder.exe="}
        env.update(extra)
        return env

    def command(self, *args, timeout=120):
        """Runs a Wine program (reg, regedit, ...); a failure fails the test. Wine now and then
        fails to start a program of its own while its server settles ("could not be started"):
        that start is tried again, twice at most."""
        for attempt in range(3):
            proc = subprocess.run([self.loader, *args], env=self.environment(),
                                  stdin=subprocess.DEVNULL, capture_output=True, timeout=timeout)
            if proc.returncode == 0 or b"could not be started" not in proc.stdout + proc.stderr:
                break
            time.sleep(1 + attempt)
        if proc.returncode != 0:
            raise AssertionError(f"wine {' '.join(args)}: status {proc.returncode}: "
                                 + proc.stdout.decode(errors="replace")
                                 + proc.stderr.decode(errors="replace"))
        return proc

    def windows_path(self, native):
        """The Windows form of a native path: below drive_c on C:, anything else on Z:."""
        native = os.path.abspath(native)
        if native == self.drive_c:
            return "C:\\"
        if native.startswith(self.drive_c + os.sep):
            return "C:\\" + os.path.relpath(native, self.drive_c).replace(os.sep, "\\")
        return "Z:" + native.replace(os.sep, "\\")

    def native(self, windows_path):
        """The file of the prefix that a C: path names."""
        assert windows_path[:3].upper() == "C:\\", windows_path
        return os.path.join(self.drive_c, *windows_path[3:].split("\\"))

    # ---- The server ---------------------------------------------------------------------------

    def _server(self, *args):
        subprocess.run([self.server, *args], env=self.environment(), stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)

    def _start_session(self):
        """Starts a server that outlives each test's processes (a new one costs over a second, a
        running one a tenth; it goes a minute after its last process), and Wine's own services
        with a first program. They would keep the output pipes of that first program open (and
        a test waiting for their end) as long as they run: they get none."""
        self._server("-p60")
        subprocess.run([self.loader, "cmd", "/c", "exit"], env=self.environment(),
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120)

    def start(self):
        """Makes the prefix once, then starts the session of the test run."""
        if not os.path.isdir(self.saved):
            shutil.rmtree(self.prefix, ignore_errors=True)
            # Its services outlive it: no pipe of ours for them to keep open.
            subprocess.run([self.loader, "wineboot", "-i"], env=self.environment(),
                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                           stderr=subprocess.DEVNULL, timeout=300, check=True)
            self._server("-w")  # the registry is on disk once the server has gone
            os.makedirs(self.saved)
            for name in REGISTRY_FILES:
                shutil.copy2(os.path.join(self.prefix, name), self.saved)
            self._mark("clean")
        self._start_session()

    def stop(self):
        self._server("-k")

    # ---- The registry -------------------------------------------------------------------------

    def _mark(self, state):
        with open(self.state, "w") as f:
            f.write(state)

    def is_clean(self):
        with open(self.state) as f:
            return f.read() == "clean"

    def reset_registry(self):
        """Puts back the registry of the fresh prefix, unless nothing changed it since."""
        if self.is_clean():
            return
        self._server("-k")
        self._server("-w")
        for name in REGISTRY_FILES:
            shutil.copy2(os.path.join(self.saved, name), self.prefix)
        self._mark("clean")
        self._start_session()

    def import_registry(self, entries, remove=()):
        """Imports (key, name, value) string values with regedit, after removing the keys of
        `remove` with everything below them. Keys are full Windows names (HKEY_CURRENT_USER\\...);
        values are written in Windows-1252, regedit's encoding of a REGEDIT4 file."""
        lines = ["REGEDIT4"]
        for key in remove:
            lines += ["", f"[-{key}]"]
        current = None
        for key, name, value in entries:
            if key != current:
                lines += ["", f"[{key}]"]
                current = key
            lines.append(f'"{reg_escape(name)}"="{reg_escape(value)}"')
        fd, path = tempfile.mkstemp(suffix=".reg", dir=self.drive_c)
        with os.fdopen(fd, "wb") as f:
            f.write(("\r\n".join(lines) + "\r\n").encode("cp1252"))
        try:
            self._mark("changed")
            self.command("regedit", "/S", self.windows_path(path))
        finally:
            os.remove(path)

    def reg_add(self, key, name, value):
        """Writes one string value with Wine's reg, as a user at the command line would."""
        self._mark("changed")
        self.command("reg", "add", key, "/v", name, "/d", value, "/f")

    # ---- A prefix of its own ------------------------------------------------------------------

    def fresh_copy(self):
        """A new prefix beside this one, as this one was right after wineboot: its system files
        are linked where the file system allows it (Wine only reads them), its registry is
        copied from the saved one. The caller stops its server and removes it."""
        folder = os.path.join(tempfile.mkdtemp(prefix="brevanto-fresh-",
                                               dir=os.path.dirname(self.prefix)), "prefix")

        def link_or_copy(source, target):
            try:
                os.link(source, target)
            except OSError:
                shutil.copy2(source, target)

        # The tests' own files (the saved registry, the sandboxes) stay out.
        shutil.copytree(self.prefix, folder, symlinks=True, copy_function=link_or_copy,
                        ignore=shutil.ignore_patterns("brevanto-*", "*.reg"))
        for name in REGISTRY_FILES:
            shutil.copy2(os.path.join(self.saved, name), folder)
        fresh = Wine(self.loader, folder)
        fresh._mark("clean")
        fresh._start_session()
        return fresh


def reg_escape(text):
    return text.replace("\\", "\\\\").replace('"', '\\"')


LOADER = os.environ.get("BREVANTO_WINE", "")
PREFIX = os.environ.get("BREVANTO_WINE_PREFIX", "")
WINE = Wine(LOADER, PREFIX) if LOADER and PREFIX else None


if __name__ == "__main__":
    if len(sys.argv) != 3 or sys.argv[1] not in ("start", "stop") or not LOADER:
        sys.exit(__doc__)
    machine = Wine(LOADER, sys.argv[2])
    if sys.argv[1] == "start":
        machine.start()
    else:
        machine.stop()
