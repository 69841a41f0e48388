"""The message boxes and dialogs as a user meets them, through dialog_probe (a small program
that opens one dialog with the program's own routines and writes the answer):
- without a display: boxes on standard error, a message taken as read and a question answered
  No (nobody saw it to agree), other dialogs cancelled (under Wine: MessageBoxW fails, the file
  dialogs return 0);
- with a zenity that fails: the message still reaches the console, questions count as cancelled;
- with the real zenity under xvfb-run: zenity accepts what it is given and shows the dialog.
"""

import os
import shutil
import subprocess
import tempfile
import unittest

from harness import needs
from wine import WINE

PROBE = os.environ.get("BREVANTO_DIALOG_PROBE", "")
ZENITY_ONLY = "zenity is the Linux build's dialog program"


def cp(text):
    return text.encode("cp1252") if isinstance(text, str) else text


class ProbeTest(unittest.TestCase):
    def setUp(self):
        if not PROBE or not os.path.exists(PROBE):
            raise unittest.SkipTest("BREVANTO_DIALOG_PROBE is not set to the built dialog_probe")
        self.root = tempfile.mkdtemp(prefix="brevanto-dialogs-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)

    def probe(self, *args, env=None, wrap=(), timeout=60):
        """Runs dialog_probe in a clean environment: no display, the C locale."""
        full_env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.root,
                    "LC_ALL": "C"}
        if WINE:
            full_env = WINE.environment()
        full_env.update(env or {})
        full_env = {k: v for k, v in full_env.items() if v is not None}
        # Linux hands the program its arguments' bytes; Wine decodes them as UTF-8 and hands
        # the Windows program their Windows-1252 bytes.
        if WINE:
            command = [WINE.loader, PROBE, *[a.encode("utf-8") for a in args]]
        else:
            command = [PROBE, *[cp(a) for a in args]]
        return subprocess.run([*wrap, *command], env=full_env,
                              cwd=self.root, stdin=subprocess.DEVNULL, capture_output=True,
                              timeout=timeout)

    def stand_in(self, name, body):
        """A program `name` in a folder of its own, made of a shell script body."""
        folder = os.path.join(self.root, "bin-" + name)
        os.makedirs(folder, exist_ok=True)
        path = os.path.join(folder, name)
        with open(path, "w") as f:
            f.write("#!/bin/sh\n" + body)
        os.chmod(path, 0o755)
        return folder


class HeadlessMessages(ProbeTest):
    def test_each_severity_on_standard_error_and_questions_answered_no(self):
        table = [(0, "info", 0), (1, "error", 1), (2, "warning", 2), (3, "question", 0),
                 (4, "question", 0), (5, "question", 0)]
        for status, icon, answer in table:
            with self.subTest(status=status):
                r = self.probe("message", str(status), "Vantobre", "Line one/Line two")
                self.assertEqual(r.stderr, cp(f"Vantobre [{icon}]\nLine one\nLine two\n"))
                self.assertEqual(r.stdout, cp(f"status={answer}\n"))

    def test_unknown_severity_shows_nothing(self):
        r = self.probe("message", "7", "Vantobre", "Nothing to see")
        self.assertEqual(r.stderr, b"")
        self.assertEqual(r.stdout, b"status=7\n")

    def test_line_mode_writes_to_standard_output_and_keeps_the_status(self):
        r = self.probe("message", "3", "Vantobre", "C:\\/Sim\\/a.fpl/not found", "line")
        self.assertEqual(r.stderr, b"")
        self.assertEqual(r.stdout, b" C:/Sim/a.fpl\nnot found\nstatus=3\n")

    def test_long_texts_are_cut_and_bytes_pass_unchanged(self):
        message = "\u00e9 $HOME `id` \"q\" 'a'; b & c < d " + "x" * 600
        title = "R\u00e8gles " + "t" * 70
        r = self.probe("message", "1", title, message)
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.stderr, cp(title[:63] + " [error]\n" + message[:511] + "\n"))

    @unittest.skipIf(WINE, "the Windows program writes its own bytes to a pipe")
    def test_utf8_console_gets_utf8(self):
        r = self.probe("message", "0", "Caf\u00e9", "d\u00e9j\u00e0", env={"LC_ALL": "C.UTF-8"})
        self.assertEqual(r.stderr, "Caf\u00e9 [info]\nd\u00e9j\u00e0\n".encode("utf-8"))


class HeadlessDialogs(ProbeTest):
    def test_file_dialog_is_cancelled_and_says_so(self):
        r = self.probe("file", "Brevanto : Select flight plan(s)", "/tmp/plans/", "*.fpl", "1")
        self.assertEqual(r.stdout, b"GetFileName *.fpl 5\nGetFileName /tmp/plans/ 11\n"
                                   b"result=0 len=0 text=\n")
        self.assertEqual(r.stderr, b"Error [error]\nNo file specification returned\n")

    def test_cancel_box_in_french(self):
        r = self.probe("file", "T", "", "*.fpl", "0", env={"LC_ALL": "fr_FR"})
        self.assertEqual(r.stderr, b"Error [error]\nAucun fichier sp\xe9cifi\xe9\n")

    def test_folder_save_and_input_dialogs_are_cancelled(self):
        r = self.probe("folder", "Pilot folder", "/tmp/")
        self.assertEqual(r.stdout, b"result=1 len=0 text=\n")
        self.assertEqual(r.stderr, b"Error [error]\nNo folder selected\n")
        r = self.probe("save", "Save", "/tmp/a.log", "*.log")
        self.assertTrue(r.stdout.endswith(b"result=0 len=0 text=\n"))
        r = self.probe("string", "Name", "Pilot?", "Jo")
        self.assertEqual(r.stdout, b"result=0 len=0 text=\n")
        self.assertEqual(r.stderr, b"")

    @unittest.skipIf(WINE, ZENITY_ONLY)
    def test_display_without_zenity_stays_on_the_console(self):
        empty = os.path.join(self.root, "empty")
        os.mkdir(empty)
        r = self.probe("message", "5", "T", "m", env={"DISPLAY": ":5", "PATH": empty})
        self.assertEqual((r.stdout, r.stderr), (b"status=0\n", b"T [question]\nm\n"))


@unittest.skipIf(WINE, ZENITY_ONLY)
class BrokenZenity(ProbeTest):
    def env(self, body):
        return {"DISPLAY": ":5", "PATH": self.stand_in("zenity", body)}

    def test_zenity_that_cannot_run_leaves_the_message_on_the_console(self):
        env = self.env("exit 255\n")
        r = self.probe("message", "1", "Vantobre", "Plan a/is wrong", env=env)
        self.assertEqual(r.stdout, b"status=1\n")
        self.assertEqual(r.stderr, b"Vantobre [error]\nPlan a\nis wrong\n")
        r = self.probe("message", "3", "Vantobre", "Go on?", env=env)
        self.assertEqual((r.stdout, r.stderr), (b"status=0\n", b"Vantobre [question]\nGo on?\n"))
        r = self.probe("file", "T", "", "*.fpl", "0", env=env)
        self.assertTrue(r.stdout.endswith(b"result=0 len=0 text=\n"))
        self.assertEqual(r.stderr, b"Error [error]\nNo file specification returned\n")


    def test_cancel_with_warnings_on_standard_error_is_a_cancel(self):
        env = self.env("echo 'Gtk-WARNING **: theme not found' >&2\nexit 1\n")
        r = self.probe("message", "3", "Vantobre", "Go on?", env=env)
        self.assertEqual((r.stdout, r.stderr), (b"status=0\n", b""))


@unittest.skipIf(WINE, ZENITY_ONLY)
@needs("zenity")
class DisplayThatDoesNotAnswer(ProbeTest):
    """A stale DISPLAY: zenity cannot open it, and the boxes are written on standard error and
    answered as without a display."""

    DEAD = ":97"

    def setUp(self):
        super().setUp()
        if os.path.exists("/tmp/.X11-unix/X" + self.DEAD[1:]):
            raise unittest.SkipTest(f"display {self.DEAD} is served here")

    def test_boxes_fall_back_to_standard_error(self):
        env = {"DISPLAY": self.DEAD}
        for status, icon, answer in [(1, "error", 1), (3, "question", 0), (5, "question", 0)]:
            with self.subTest(status=status):
                r = self.probe("message", str(status), "Vantobre", "Line one/Line two", env=env)
                self.assertEqual(r.stderr, cp(f"Vantobre [{icon}]\nLine one\nLine two\n"))
                self.assertEqual(r.stdout, cp(f"status={answer}\n"))
        r = self.probe("file", "T", "", "*.fpl", "0", env=env)
        self.assertTrue(r.stdout.endswith(b"result=0 len=0 text=\n"))
        self.assertEqual(r.stderr, b"Error [error]\nNo file specification returned\n")


@unittest.skipIf(WINE, ZENITY_ONLY)
@needs("xvfb-run", "zenity", "xwininfo")  # xwininfo: package x11-utils
class RealZenity(ProbeTest):
    """The real zenity on a virtual display. A wrapper named zenity runs it, waits until its
    window is on the screen, records the window's title, and closes it: the dialog answers
    Cancel, as a user closing it would."""

    def setUp(self):
        super().setUp()
        self.log = os.path.join(self.root, "log")
        real = shutil.which("zenity")
        self.bin = self.stand_in("zenity", f"""
log='{self.log}'
# On a loaded machine the virtual display may not take clients yet: zenity then exits at once,
# and is started again, a few times.
tries=1
'{real}' "$@" 2>/dev/null &
pid=$!
n=0
while [ $n -lt 200 ]; do
  if ! kill -0 $pid 2>/dev/null; then
    wait $pid
    status=$?
    if [ $tries -lt 5 ] && [ $n -lt 20 ]; then
      tries=$((tries + 1))
      sleep 0.5
      '{real}' "$@" 2>/dev/null &
      pid=$!
      n=0
      continue
    fi
    echo "exited $status" >> "$log"
    exit 1
  fi
  xwininfo -root -tree > "$log.tree" 2>/dev/null
  if grep '^ *0x[0-9a-f]* ".*("zenity" "Zenity")' "$log.tree" | grep -v '"zenity": (' > "$log.win"
  then
    echo "shown $(cut -d'"' -f2 "$log.win" | head -n 1)" >> "$log"
    kill $pid
    wait $pid
    exit 1
  fi
  sleep 0.1
  n=$((n + 1))
done
kill $pid
echo "never shown" >> "$log"
exit 1
""")

    def run_real(self, *args):
        if os.path.exists(self.log):
            os.remove(self.log)
        env = {"PATH": self.bin + os.pathsep + os.environ.get("PATH", "/usr/bin:/bin")}
        r = self.probe(*args, env=env, wrap=("xvfb-run", "-a"), timeout=120)
        if not os.path.exists(self.log):
            self.fail(f"zenity never ran (xvfb-run status {r.returncode}): {r.stderr!r}")
        with open(self.log, "rb") as f:
            return r, f.read().decode("utf-8").splitlines()

    def test_message_box_with_shell_characters_and_accents(self):
        r, log = self.run_real("message", "5", "V\u00e9rification",
                               "Plan \"a\" 'b' $HOME `id`; x & y < z/caf\u00e9 <b>bold</b>")
        self.assertEqual(log, ["shown V\u00e9rification"])
        self.assertEqual(r.stdout, b"status=0\n")  # closed: Cancel

    def test_file_dialog_then_its_cancel_box(self):
        plans = os.path.join(self.root, "plans")
        os.mkdir(plans)
        r, log = self.run_real("file", "Brevanto : Select flight plan(s)", plans + "/",
                               "*.fpl,*.FPL", "1")
        self.assertEqual(log, ["shown Brevanto : Select flight plan(s)", "shown Error"])
        self.assertTrue(r.stdout.endswith(b"result=0 len=0 text=\n"))

    def test_folder_save_and_input_dialogs(self):
        r, log = self.run_real("folder", "Dossier pilote \u00e9t\u00e9", self.root + "/")
        self.assertEqual(log, ["shown Dossier pilote \u00e9t\u00e9", "shown Error"])
        r, log = self.run_real("save", "Save report", os.path.join(self.root, "r.log"), "*.log")
        self.assertEqual(log, ["shown Save report", "shown Error"])
        r, log = self.run_real("string", "Name", "Pilot \u00e9?", "Andr\u00e9")
        self.assertEqual(log, ["shown Name"])


if __name__ == "__main__":
    unittest.main()
