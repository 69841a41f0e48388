"""What the run takes from the simulator: the cloud base of a plan for BASE rules, the active
version when both are installed, and a machine left as it was."""

import os
import unittest

from harness import INSTALLED_3, WINDOWS, SandboxTest, plan_block, popup, rules_head, totals
from soarix import DOCS_FOLDER, PROFILE, flight_plan

INSTALLED_2_3 = ("Soarix 2 install path: C:\\Games\\Soarix2\n"
                 "Soarix 3 install path: C:\\Program Files\\Soarix3\n")


class CloudBase(SandboxTest):
    rules = "TPHeight|<=BASE+500\nTPWidth1>=BASE-300\nStartHeight<=BASE\n"

    def test_base_rules_use_zone_0_and_the_take_off_of_each_plan(self):
        self.box.install()
        self.box.write("Brevanto.ini", "Popup=3\n")
        # Zone 0: (18 - 10) x 125 = 1000 m above the take-off at 200 m. Zone 1 and the start
        # point, at other values, must not count.
        other_zone = {"ThermalsTemp": "30", "ThermalsDew": "5", "ThermalsInversionheight": "1500"}
        self.box.write("high.fpl", flight_plan(
            tp={0: {"PosZ": "200.0"}, 1: {"PosZ": "900.0", "Width": "1000"},
                3: {"Height": "1800"}},
            zones=[{"ThermalsTemp": "18", "ThermalsDew": "10"}, other_zone],
            options={"StartHeight": "1200"}))
        # The inversion at 900 m caps the spread's 1000 m: base 1100 m.
        self.box.write("low.fpl", flight_plan(
            tp={0: {"PosZ": "200.0"}, 1: {"Width": "700"}, 3: {"Height": "1650"}},
            zones=[{"ThermalsTemp": "18", "ThermalsDew": "10", "ThermalsInversionheight": "900"},
                   other_zone],
            options={"StartHeight": "1100"}))
        r = self.box.run("high.fpl", "low.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(3) + plan_block(
            "high.fpl", ["TPHeight3 : 1800                       should be: <= BASE+500 (1700)"],
            1) + plan_block("low.fpl", [
                "TPWidth1 (Min Alt) : 700               should be: >= BASE-300 (800)",
                "TPHeight3 : 1650                       should be: <= BASE+500 (1600)"], 2)
            + totals(0, 2))
        self.assertEqual(r.stderr, popup("error", "high.fpl", " 1 invalid lines",
                                         "-TPHeight3 : 1800, should be: <= BASE+500 (1700)")
                         + popup("error", "low.fpl", " 2 invalid lines",
                                 "-TPWidth1 : 700, should be: >= BASE-300 (800)",
                                 "-TPHeight3 : 1650, should be: <= BASE+500 (1600)"))


T = 1_700_000_000  # a date in seconds since 1970


class ActiveVersion(SandboxTest):
    rules = "Water=0\n"

    def dates(self, prefix, fpl3, fpl2, log3, log2):
        """Sets the modification times of the four files that decide; None removes the file."""
        for path, when in ((prefix.pilot_plan(3), fpl3), (prefix.pilot_plan(2), fpl2),
                           (prefix.log_file(3), log3), (prefix.log_file(2), log2)):
            if when is None:
                os.remove(path)
            else:
                os.utime(path, (when, when))

    def test_the_newest_file_chooses_the_dialogs_folder(self):
        cases = [  # (FlightPlan.fpl of 3, of 2, Logfile.txt of 3, of 2), active version
            ((T, T + 1, T - 9, T - 9), 2), ((T + 1, T, T - 9, T - 9), 3),
            ((T, T, T, T), 3), ((T - 9, T, T, T - 9), 2), ((T, T, T + 5, T), 3),
            ((None, None, T, T + 1), 2), ((None, None, T + 1, T), 3)]
        for dates, active in cases:
            with self.subTest(dates=dates):
                prefix = self.box.install(versions=(2, 3))
                self.dates(prefix, *dates)
                r = self.box.run()  # the dialog, without a display, counts as cancelled
                self.assertEqual(r.returncode, 1)
                folder = f"{PROFILE}\\Documents\\{DOCS_FOLDER[active]}\\FlightPlans\\"
                self.assertIn("\n " + folder + "\n", r.stdout)
                self.assertEqual(r.report(), INSTALLED_2_3)

    @unittest.skipIf(WINDOWS, "the plans dialog is answered by a stand-in zenity")
    def test_plans_of_the_active_version_2(self):
        prefix = self.box.install(versions=(2, 3))
        self.dates(prefix, T, T + 1, T, T)
        plan = os.path.join(prefix.flight_plans(2), "Old task.fpl")
        self.box.write(plan, flight_plan(version=2, plane={"Water": "50"}))
        zenity = self.box.zenity()
        zenity.answer(1, plan + "\n")
        r = self.box.run("-nopopup")
        self.assertEqual(r.returncode, 0)
        self.assertIn(" 2 C:\\Games\\Soarix2 C:\\users\\organiser\\Documents\\Soarix\\Pilots"
                      "\\Bob\n", r.stdout)
        self.assertEqual(r.report(), INSTALLED_2_3 + rules_head(1) + plan_block(
            plan, ["Water : 50                             should be: = 0"], 1) + totals(0, 1))


class NothingWritten(SandboxTest):
    rules = "TPHeight|<=BASE+500\nTPHeight1<=1500AGL\nLandscape[]Alps\n"

    def test_a_run_writes_only_its_report_log(self):
        prefix = self.box.install(versions=(2, 3))
        self.box.write("Brevanto.ini", "Popup=2\nOKlines=1\n")
        plans = [os.path.join(prefix.flight_plans(3), "Day 1.fpl"), self.box.path("plans", "b.fpl")]
        self.box.write(plans[0], flight_plan())
        self.box.write(plans[1], flight_plan(tp={1: {"Height": "2500"}}))
        plans = [self.box.program_path(plan) for plan in plans]
        for folder, dirs, files in os.walk(self.box.root):
            for name in dirs + files:
                os.utime(os.path.join(folder, name), (T, T))
        before = self.box.snapshot()
        r = self.box.run(*plans, self.box.program_path(prefix.pilot_plan(3)))
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.log().count("No error found"), 2)  # the plans were read and checked
        self.assertOnlyLogWritten(before)


if __name__ == "__main__":
    unittest.main()
