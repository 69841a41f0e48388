"""What Windows users expect of a console program: patterns in plan names, plans dropped on the
program's icon, texts of the registry beyond ASCII, and what Explorer shows of the file."""

import os
import re
import shutil
import struct
import unittest

from harness import (EXE, INSTALLED_3, SOURCE, WINDOWS, SandboxTest, plan_block, popup, rules_head,
                     totals)
from soarix import SOARIX_KEYS, flight_plan

LATE = ["StartTime : 15.0                       should be: <= 14.5"]


class CommandLine(SandboxTest):
    rules = "StartTime<=14.5\n"

    @unittest.skipUnless(WINDOWS, "on Linux the shell expands patterns before the program starts")
    def test_a_pattern_checks_every_matching_plan_in_name_order(self):
        prefix = self.box.install()
        folder = prefix.flight_plans(3)
        for name in ("day2.fpl", "Day10.fpl", "day1.FPL", "notes.txt", "day3.fpl.bak"):
            self.box.write(os.path.join(folder, name), flight_plan(
                options={"StartTime": "15.0"} if name == "Day10.fpl" else {}))
        plans = self.box.program_path(folder) + "\\"  # C:\users\organiser\...\FlightPlans\
        r = self.box.run("-nopopup", plans + "*.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(plans + "day1.FPL")
                         + plan_block(plans + "day2.fpl") + plan_block(plans + "Day10.fpl", LATE, 1)
                         + totals(2, 1))
        # A pattern that matches nothing is a name like any other.
        r = self.box.run("-nopopup", plans + "x*.fpl")
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.stderr, popup("error", plans + "x*.fpl", "cannot be opened"))

    @unittest.skipUnless(WINDOWS, "on Linux the shell expands patterns before the program starts")
    def test_names_a_pattern_gives_are_plans_whatever_they_begin_with(self):
        self.box.install()
        for name in ("-draft.fpl", "-help me.fpl", "a.fpl"):
            self.box.write(os.path.join("plans", name), flight_plan(
                options={"StartTime": "15.0"} if name == "a.fpl" else {}))
        # In the plans' folder: the names come without a folder in front.
        r = self.box.run("-nopopup", "*.fpl", cwd=self.box.path("plans"))
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block("-draft.fpl")
                         + plan_block("-help me.fpl") + plan_block("a.fpl", LATE, 1)
                         + totals(2, 1))

    def test_names_in_any_script(self):
        # Opened by their true names; messages show the letters Windows-1252 lacks as "?".
        self.box.install()
        names = ["\u0141\u00f3d\u017a.fpl", "\u822a\u7dda 2.fpl"]
        self.box.write(names[0], flight_plan())
        self.box.write(names[1], flight_plan(options={"StartTime": "15.0"}))
        csv = "Wyniki \u0141\u00f3d\u017a.csv"
        r = self.box.run("-csv=" + csv, *names)
        self.assertEqual(r.returncode, 0)
        shown = ["?\u00f3d?.fpl", "?? 2.fpl"]
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(shown[0])
                         + plan_block(shown[1], LATE, 1) + totals(1, 1))
        self.assertEqual(r.stderr, popup("error", "", shown[0], "No error found", shown[1],
                                         " 1 invalid lines"))
        self.assertTrue(os.path.exists(self.box.path(csv)))
        if WINDOWS:  # the same names, from a pattern
            os.mkdir(self.box.path("plans"))
            for name in names:
                os.rename(self.box.path(name), self.box.path("plans", name))
            r = self.box.run("-nopopup", "plans\\*.fpl")
            self.assertEqual(r.report(), INSTALLED_3 + rules_head(1)
                             + plan_block("plans\\" + shown[0])
                             + plan_block("plans\\" + shown[1], LATE, 1) + totals(1, 1))

    def test_program_in_a_folder_named_in_any_script(self):
        # Its settings and rules lie beside it.
        self.box.install()
        folder = os.path.join(self.box.root, "Pilot \u0141ukasz \u822a")
        os.mkdir(folder)
        exe = os.path.join(folder, "Brevanto.exe" if WINDOWS else "Brevanto")
        shutil.copy2(self.box.path(os.path.basename(exe)), exe)
        self.box.write(os.path.join(folder, "DEFAULT_CHECK.fpl"), self.rules)
        self.box.write(os.path.join(folder, "Brevanto.ini"), "Popup=0\n")
        self.box.write("a.fpl", flight_plan(options={"StartTime": "15.0"}))
        self.box.exe = self.box.program_path(exe)
        r = self.box.run("a.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block("a.fpl", LATE, 1)
                         + totals(0, 1))
        self.assertEqual(r.stderr, "")

    def test_dropped_plans_with_spaces_and_accents(self):
        # Explorer starts the program by its full path, in another folder, with the full paths
        # of the plans dropped on it; its settings and rules are those beside it.
        self.box.install()
        self.box.write("Brevanto.ini", "Popup=2\n")
        folder = os.path.join(self.box.root, "Mes t\u00e2ches d'\u00e9t\u00e9")
        plans = [self.box.write(os.path.join(folder, "\u00c9tape 1.fpl"), flight_plan()),
                 self.box.write(os.path.join(folder, "\u00c9tape 2.fpl"),
                                flight_plan(options={"StartTime": "15.0"}))]
        dropped = [self.box.program_path(plan) for plan in plans]
        elsewhere = os.path.join(self.box.root, "elsewhere")
        os.mkdir(elsewhere)
        r = self.box.run(*dropped, cwd=elsewhere)
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(dropped[0])
                         + plan_block(dropped[1], LATE, 1) + totals(1, 1))
        self.assertEqual(r.stderr, popup("info", dropped[0], "No error found")
                         + popup("error", dropped[1], " 1 invalid lines"))


class Registry(SandboxTest):
    rules = "TPHeight|<=BASE+500\n"

    def test_a_value_beyond_ascii_reaches_the_report_in_windows_1252(self):
        folder = "C:\\Program Files\\Soarix \u00c9t\u00e9"
        self.box.install(install_dirs={3: folder})
        self.box.reg_add(SOARIX_KEYS[3], "InstallDir", folder)  # under Wine with reg add
        self.box.write("a.fpl", flight_plan())
        r = self.box.run("-nopopup", "a.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertIn(b"\nSoarix 3 install path: C:\\Program Files\\Soarix \xc9t\xe9\n",
                      r.log_bytes())
        # Its log, its Soarix.exe and the landscape's airspace file were found there.
        self.assertEqual(r.report(), f"Soarix 3 install path: {folder}\n" + rules_head(1)
                         + plan_block("a.fpl") + totals(1))
        self.assertEqual(r.stderr, "")


@unittest.skipUnless(WINDOWS, "resources are a part of Windows program files")
class WhatExplorerShows(unittest.TestCase):
    def test_icon_version_and_manifest(self):
        with open(EXE, "rb") as f:
            exe = f.read()
        # The fixed part of the version resource: its signature, then the file and product
        # versions, each as two 32-bit halves: the program's version number, 0, 0, 0.
        with open(os.path.join(SOURCE, "checker", "driver", "Brevanto_vers.cpp")) as f:
            version = int(re.search(r"numver = (\d+);", f.read())[1])
        fixed = exe.index(struct.pack("<I", 0xFEEF04BD))
        self.assertEqual(struct.unpack_from("<4I", exe, fixed + 8),
                         (version << 16, 0, version << 16, 0))
        for key, value in (("ProductName", "Brevanto"), ("FileVersion", str(version)),
                           ("OriginalFilename", "Brevanto.exe")):
            text = re.escape((key + "\0").encode("utf-16-le")) + b"(\0\0)?" + re.escape(
                (value + "\0").encode("utf-16-le"))
            self.assertRegex(exe, text, key)
        # Every image of the icon, as make_icon.py drew it.
        with open(os.path.join(SOURCE, "checker", "driver", "resources", "Brevanto.ico"), "rb") as f:
            ico = f.read()
        count = struct.unpack_from("<H", ico, 4)[0]
        self.assertEqual(count, 3)
        for i in range(count):
            size, offset = struct.unpack_from("<II", ico, 6 + 16 * i + 8)
            self.assertIn(ico[offset:offset + size], exe)
        # The manifest: no elevation, sharp on every screen.
        self.assertIn(b'<requestedExecutionLevel level="asInvoker"', exe)
        self.assertIn(b">PerMonitorV2, PerMonitor</dpiAwareness>", exe)


if __name__ == "__main__":
    unittest.main()
