"""An organiser's scripted runs: the rules file named on the command line (-rules=FILE) or in the
settings (Rules=FILE), and a quiet console (-q, Quiet=yes) that shows the report, warnings and
errors and none of the diagnostic lines."""

import os
import unittest

from harness import (INSTALLED_3, WINDOWS, SandboxTest, plan_block, popup, rule_warning,
                     rules_head, totals)
from soarix import flight_plan

CLUB = "# Club class\nStartTime<=14.5\nWindSpeed<15\n"
STANDARD = "# Standard class\nStartTime<=15,5\n"
LATE = "StartTime : 15.0                       should be: <= 14.5"


class RulesFileNamed(SandboxTest):
    rules = "Landscape=Nowhere\n"  # beside the program: never the one meant below

    def setUp(self):
        super().setUp()
        self.box.install()
        # The plans and the rules of a class in a folder of their own, the current one of the runs.
        self.day = self.box.path("day2")
        self.box.write(os.path.join(self.day, "late.fpl"), flight_plan(options={"StartTime": "15.0"}))
        self.box.write(os.path.join(self.day, "club.fpl"), CLUB)
        self.box.write(os.path.join(self.day, "standard.fpl"), STANDARD)

    def run_in_day(self, *args):
        return self.box.run("-nopopup", *args, cwd=self.day)

    def test_command_line_before_settings_before_default(self):
        club = INSTALLED_3 + rules_head(2) + plan_block("late.fpl", [LATE], 1) + totals(0, 1)
        standard = (INSTALLED_3 + rules_head(1, warnings=[rule_warning(
                        1, 2, "StartTime<=15,5", "15,5 reads as 15: decimal point: 15.5")])
                    + plan_block("late.fpl") + totals(1))
        nowhere = plan_block("late.fpl", [
            "Landscape : Alps                       should be: = Nowhere"], 1)
        self.assertEqual(self.run_in_day("-rules=club.fpl", "late.fpl").report(), club)
        self.assertEqual(self.run_in_day("late.fpl").report(),
                         INSTALLED_3 + rules_head(1) + nowhere + totals(0, 1))
        self.box.write("Brevanto.ini", "Rules=standard.fpl\n")
        self.assertEqual(self.run_in_day("late.fpl").report(), standard)
        self.assertEqual(self.run_in_day("late.fpl", "-rules=club.fpl").report(), club)
        # French: the same rules, their warning in French.
        r = self.run_in_day("-fr", "late.fpl")
        self.assertIn(rule_warning(1, 2, "StartTime<=15,5",
                                   "15,5 se lit 15 : point d\u00e9cimal : 15.5", french=True),
                      r.report())

    def test_a_missing_rules_file_stops_the_run_and_names_it(self):
        for args, french in (([], False), (["-fr"], True)):
            r = self.run_in_day(*args, "-rules=no such.fpl", "late.fpl")
            message = ("no such.fpl", "fichier de r\u00e8gles : ouverture impossible" if french
                       else "rules file cannot be opened")
            self.assertEqual(r.returncode, 1)
            self.assertEqual(r.report(), INSTALLED_3 + "\n".join(message) + "\n")
            self.assertEqual(r.stderr, popup("error", *message))

    @unittest.skipIf(WINDOWS, "the dialog is answered by a stand-in zenity")
    def test_ask_opens_the_dialog_at_the_named_file(self):
        zenity = self.box.zenity()
        zenity.answer(1, os.path.join(self.day, "club.fpl") + "\n")
        r = self.run_in_day("-ask", "-rules=standard.fpl", "late.fpl")
        self.assertIn("--filename=standard.fpl", zenity.calls()[0])
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(2) + plan_block("late.fpl", [LATE], 1)
                         + totals(0, 1))


class QuietConsole(SandboxTest):
    rules = CLUB + "MaxWindSpeed<15\n"

    def setUp(self):
        super().setUp()
        self.box.install()
        self.box.write("late.fpl", flight_plan(options={"StartTime": "15.0"}))
        self.box.write("notes.txt", "not a plan\n")

    def test_the_console_holds_the_report_and_nothing_else(self):
        loud = self.box.run("-nopopup", "late.fpl", "notes.txt")
        self.assertIn(" CREATE Brevanto.log 0\n", loud.stdout)
        self.assertIn(" : not a Soarix flight plan, skipped\n\n", loud.stdout)
        for args, setting in ((["-q"], None), ([], "Quiet=yes\n"), (["-q", "-v"], None)):
            with self.subTest(args=args, setting=setting):
                if setting:
                    self.box.write("Brevanto.ini", setting)
                r = self.box.run("-nopopup", *args, "late.fpl", "notes.txt")
                self.assertEqual(r.returncode, 0)
                self.assertEqual(r.report(), loud.report())  # the log unchanged
                self.assertEqual(r.stdout.replace("\r\n", "\n"), r.report())
                self.assertIn(rule_warning(3, 4, "MaxWindSpeed<15", "its key is no flight-plan key"),
                              r.stdout)
                if os.path.exists(self.box.path("Brevanto.ini")):
                    os.remove(self.box.path("Brevanto.ini"))

    def test_errors_and_the_help_still_show(self):
        r = self.box.run("-q", "-fr", "-nopopup", "gone.fpl")
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.stdout.replace("\r\n", "\n"), r.report())
        self.assertIn("gone.fpl\nOuverture impossible\n", r.stdout)
        r = self.box.run("-q", "-x")
        self.assertEqual(r.returncode, 1)
        self.assertTrue(r.stdout.startswith(" -x : unrecognized option\n "), r.stdout)
        r = self.box.run("-q", "-help")
        self.assertEqual(r.returncode, 0)
        self.assertIn("\n   -q            quiet console: the report, warnings and errors only",
                      r.stdout.replace("\r\n", "\n"))


if __name__ == "__main__":
    unittest.main()
