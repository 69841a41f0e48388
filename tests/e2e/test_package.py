"""The package as an organiser gets it (the Windows zip, or the Linux .tar.gz): unpacked into an
empty folder of a machine with the simulator installed (under Wine a fresh prefix with the
simulator's keys), it checks flight plans with the rules and the settings it brings."""

import os
import re
import shutil
import subprocess
import tarfile
import tempfile
import unittest
import zipfile

from harness import (INSTALLED_3, SOURCE, WINDOWS, cp1252, plan_block, popup, rules_head,
                     shown_name, totals)
from soarix import PILOT, PROFILE, SOARIX_KEYS, INSTALL_DIR
from wine import WINE

PACKAGE = os.environ.get("BREVANTO_PACKAGE", "")
EXE = "Brevanto.exe" if WINDOWS else "Brevanto"
CONTENTS = {EXE, "Brevanto.ini", "DEFAULT_CHECK.fpl", "README.md", "docs/rules.md"}

# The example's simulator and plans, and what the example's rules find in them.
EXAMPLE = os.path.join(SOURCE, "examples", "wine-prefix")
PLANS = PROFILE + "\\Documents\\Soarix3\\FlightPlans\\"
REPORT = [
    ("Day1_Sisteron_Digne.fpl", [], 0),
    ("Day2_Digne_Seyne.fpl", ["TPWidth1 (Min Alt) : 800               should be: >= 1000",
                              "TPRadius2 : 300                        should be: >= 500",
                              "StartTime : 15.0                       should be: <= 14.5",
                              "AllowPDA : 1                           should be: = 0"], 4),
    ("Day3_Ventoux.fpl", ["TPHeight1 : 2700                       should be: <= 2000AGL (2480.0)",
                          "TPHeight5 : 2000                       should be: <= BASE+0 (1700)",
                          "WindSpeed[1] : 18                      should be: < 15",
                          "Class : Racing                         should be: = Club;Standard",
                          "Water : 100                            should be: = 0"], 5),
    ("Day4_Ubaye.fpl", [], 0),
]


class Package(unittest.TestCase):
    def setUp(self):
        if not PACKAGE:
            raise unittest.SkipTest("BREVANTO_PACKAGE is not set to the built package")
        self.root = tempfile.mkdtemp(prefix="brevanto-package-")
        self.addCleanup(shutil.rmtree, self.root, ignore_errors=True)

    def unpack(self, folder):
        """Unpacks the package into the empty `folder`; returns the names of its files."""
        os.makedirs(folder)
        if WINDOWS:
            with zipfile.ZipFile(PACKAGE) as z:
                z.extractall(folder)
                return {n for n in z.namelist() if not n.endswith("/")}
        # The .tar.gz holds one folder, named after the package, which tar makes itself.
        with tarfile.open(PACKAGE) as t:
            members = [m for m in t.getmembers() if m.isfile()]
            top = os.path.commonpath([m.name for m in members])
            for m in members:
                m.name = os.path.relpath(m.name, top)
                t.extract(m, folder)
            return {m.name for m in members}

    def test_checks_plans_with_the_rules_and_settings_it_brings(self):
        if WINDOWS:
            machine = WINE.fresh_copy()
            self.addCleanup(shutil.rmtree, os.path.dirname(machine.prefix), ignore_errors=True)
            self.addCleanup(machine.stop)
            shutil.copytree(os.path.join(EXAMPLE, "drive_c"), machine.drive_c,
                            dirs_exist_ok=True)
            hkcu = "HKEY_CURRENT_USER\\"
            machine.import_registry([(hkcu + SOARIX_KEYS[3], "InstallDir", INSTALL_DIR[3]),
                                     (hkcu + SOARIX_KEYS[3], "LastPlayer", PILOT[3]),
                                     (hkcu + "Volatile Environment", "USERPROFILE", PROFILE)])
            folder = machine.native("C:\\Brevanto")
            elsewhere = machine.native(PROFILE + "\\Documents")
            command = [machine.loader, "C:\\Brevanto\\" + EXE]
            env = machine.environment()
        else:
            prefix = shutil.copytree(EXAMPLE, os.path.join(self.root, "prefix"), symlinks=True)
            folder = os.path.join(self.root, "Brevanto")
            elsewhere = os.path.join(self.root, "elsewhere")
            os.mkdir(elsewhere)
            command = [os.path.join(folder, EXE)]
            env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.root,
                   "LC_ALL": "C", "WINEPREFIX": prefix}

        self.assertEqual(self.unpack(folder), CONTENTS)
        plans = [PLANS + name for name, _, _ in REPORT]
        proc = subprocess.run(command + plans, cwd=elsewhere, env=env, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=120)
        self.assertEqual(proc.returncode, 0, proc.stderr)
        with open(os.path.join(elsewhere, "Brevanto.log"), "rb") as f:
            log = cp1252(f.read().replace(b"\r\n", b"\n"))
        self.assertEqual(log[log.index("\n\n") + 2:], INSTALLED_3 + rules_head(22) + "".join(
            plan_block(PLANS + name, lines, nok) for name, lines, nok in REPORT)
            + totals(sum(nok == 0 for _, _, nok in REPORT), sum(nok > 0 for _, _, nok in REPORT)))
        # The settings it brings were read: their Version is the program's, and the popup mode
        # is the default summary.
        stdout = cp1252(proc.stdout)
        versions = re.search(r"^ Nvers  (\d+) (\d+)$", stdout, re.M)
        self.assertEqual(versions[1], versions[2], stdout)
        self.assertIn(" npopup,qverb,qoklines 1 F F\n", stdout)
        summary = [""]
        for name, _, nok in REPORT:
            summary += [shown_name(PLANS + name),
                        f"{nok:2d} invalid lines" if nok else "No error found"]
        self.assertEqual(cp1252(proc.stderr), popup("error", *summary))

    def test_text_files_have_the_line_ends_of_their_system(self):
        # Organisers edit them in Notepad, whose older versions show LF line ends as one line.
        folder = os.path.join(self.root, "Brevanto")
        for name in sorted(self.unpack(folder) - {EXE}):
            with open(os.path.join(folder, name), "rb") as f:
                data = f.read()
            lines = data.count(b"\n")
            self.assertGreater(lines, 10, name)
            self.assertEqual(data.count(b"\r\n"), lines if WINDOWS else 0, name)


if __name__ == "__main__":
    unittest.main()
