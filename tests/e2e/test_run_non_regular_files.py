"""Files that are no regular files: a folder, or a named pipe that nobody writes to, in place of
a file the program reads. Each is refused at once, as a missing file is, with that file's
message; a run that waited on a pipe would meet the time limit."""

import os
import unittest

from harness import (INSTALLED_3, WINDOWS, SandboxTest, plan_block, popup, rules_head, stopped,
                     totals)
from soarix import flight_plan

LIMIT = 10  # seconds: a run of these takes well under one
NO_INSTALLATION = "*** No Soarix installation found (2 or 3) ***"


def put(kind, path):
    """A folder or a named pipe at `path`, in place of the file, pipe or empty folder that was
    there."""
    if os.path.isdir(path):
        os.rmdir(path)
    elif os.path.lexists(path):
        os.remove(path)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    if kind == "folder":
        os.mkdir(path)
    else:
        os.mkfifo(path)


class NoRegularFile(SandboxTest):
    rules = "StartTime<=14.5\n"

    def setUp(self):
        super().setUp()
        self.prefix = self.box.install()
        self.box.write("a.fpl", flight_plan())

    def run_checker(self, *args):
        return self.box.run("-nopopup", *args, timeout=LIMIT)

    def test_plan(self):
        checked = INSTALLED_3 + rules_head(1) + plan_block("a.fpl")
        for kind in ("folder", "pipe"):
            for rules in ("StartTime<=14.5\n", "TPHeight|<=BASE+500\n"):  # scanned, read whole
                with self.subTest(kind=kind, rules=rules):
                    name = f"{kind}-{len(rules)}.fpl"
                    put(kind, self.box.path(name))
                    self.box.write("DEFAULT_CHECK.fpl", rules)
                    r = self.run_checker("a.fpl", name, "a.fpl")
                    self.assertEqual(r.returncode, 1)
                    self.assertEqual(r.report(), checked + "-" * 78 + f"\n \n{name}\n \n"
                                     + f"{name}\ncannot be opened\n \n" + totals(1, 0, 1)
                                     + stopped(1))
                    self.assertEqual(r.stderr, popup("error", name, "cannot be opened"))

    def test_rules_file(self):
        rules = self.box.path("DEFAULT_CHECK.fpl")
        for kind in ("folder", "pipe"):
            with self.subTest(kind=kind):
                put(kind, rules)
                r = self.run_checker("a.fpl")
                self.assertEqual(r.returncode, 1)
                message = [self.box.program_path(rules), "rules file cannot be opened"]
                self.assertEqual(r.report(), INSTALLED_3 + "\n".join(message) + "\n")
                self.assertEqual(r.stderr, popup("error", *message))

    def test_airspace_file(self):
        # The landscape's airspace file is read with the plan, for a rule on the cloud base.
        self.box.write("DEFAULT_CHECK.fpl", "TPHeight|<=BASE+500\n")
        air = os.path.join(self.prefix.install_dir(3), "Landscapes", "Alps", "Alps.air")
        message = popup("error", "C:\\Program Files\\Soarix3\\Landscapes\\Alps\\Alps.air",
                        "Airspace file : error opening", title="Varnek")
        self.assertEqual(self.run_checker("a.fpl").stderr, "")
        for kind in ("folder", "pipe"):
            with self.subTest(kind=kind):
                put(kind, air)
                r = self.run_checker("a.fpl")
                self.assertEqual(r.returncode, 0)
                self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block("a.fpl")
                                 + totals(1))
                self.assertEqual(r.stderr, message)

    def test_settings_log_file_and_registry_as_pipes(self):
        cases = [
            # A settings file that cannot be read leaves the defaults.
            (self.box.path("Brevanto.ini"), 0,
             INSTALLED_3 + rules_head(1) + plan_block("a.fpl") + totals(1)),
            # Without its log the simulator's version is unknown; without user.reg, its folder
            # (under Wine the registry is the Wine server's, not a file the program reads).
            (self.prefix.log_file(3), 1, NO_INSTALLATION + "\n"),
        ] + ([] if WINDOWS else [
            (os.path.join(self.prefix.folder, "user.reg"), 1, NO_INSTALLATION + "\n")])
        for path, status, report in cases:
            with self.subTest(file=os.path.basename(path)):
                saved = None
                if os.path.isfile(path):
                    with open(path, "rb") as f:
                        saved = f.read()
                put("pipe", path)
                r = self.run_checker("a.fpl")
                self.assertEqual(r.returncode, status)
                self.assertEqual(r.report(), report)
                os.remove(path)
                if saved is not None:
                    with open(path, "wb") as f:
                        f.write(saved)


if __name__ == "__main__":
    unittest.main()
