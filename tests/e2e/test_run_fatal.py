"""Runs that stop at a fatal error: the error popup (shown even with -nopopup), what the report
log holds by then, exit status 1, and no plan checked after the error."""

import os
import unittest

from harness import INSTALLED_3, SandboxTest, plan_block, popup, rules_head, stopped, totals
from soarix import flight_plan

NO_DIALOG = popup("error", "No file specification returned", title="Error")


class FatalErrors(SandboxTest):
    rules = "StartTime<=14.5\n"

    def setUp(self):
        super().setUp()
        for name in ("a.fpl", "c.fpl"):
            self.box.write(name, flight_plan())
        self.box.write("late.fpl", flight_plan(options={"StartTime": "15.0"}))

    def assertStopped(self, r, report, stderr):
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.report(), report)
        self.assertEqual(r.stderr, stderr)

    def test_no_installation(self):
        message = "*** No Soarix installation found (2 or 3) ***"
        cases = [("no prefix", {}),
                 ("registered without Soarix.exe", {"versions": (), "registered": (3,)}),
                 ("log of another version", {"versions": (3,), "log_version": 2999})]
        for name, prefix in cases:
            with self.subTest(case=name):
                if prefix:
                    self.box.install(**prefix)
                r = self.box.run("-nopopup", "a.fpl")
                self.assertStopped(r, message + "\n", popup("error", message))
        r = self.box.run("a.fpl", env={"LC_ALL": "fr_FR"})
        french = "*** Aucune installation de Soarix (2 ou 3) trouv\u00e9e ***"
        self.assertStopped(r, french + "\n", popup("error", french))

    def test_no_plan_given_or_chosen(self):
        self.box.install()
        os.remove(self.box.path("DEFAULT_CHECK.fpl"))  # not read: the run stops before
        r = self.box.run("-nopopup")
        self.assertStopped(r, INSTALLED_3,
                           NO_DIALOG + popup("error", "*** No input file specified ***"))
        r = self.box.run("-nopopup", env={"LC_ALL": "fr_FR"})
        self.assertStopped(r, INSTALLED_3,
                           popup("error", "Aucun fichier sp\u00e9cifi\u00e9", title="Error")
                           + popup("error", "*** Aucun fichier \u00e0 lire ***"))

    def test_rules_file_missing_or_without_rules(self):
        self.box.install()
        rules = self.box.path("DEFAULT_CHECK.fpl")
        shown = self.box.program_path(rules)
        os.remove(rules)
        r = self.box.run("-nopopup", "a.fpl")
        # The path stays on one line, whatever its slashes; the log says it too.
        message = [shown, "rules file cannot be opened"]
        self.assertStopped(r, INSTALLED_3 + "\n".join(message) + "\n", popup("error", *message))
        r = self.box.run("-nopopup", "-fr", "a.fpl")
        message = [shown, "fichier de r\u00e8gles : ouverture impossible"]
        self.assertStopped(r, INSTALLED_3 + "\n".join(message) + "\n", popup("error", *message))
        self.box.write(rules, "# only comments\n\n[Task]\nCount<=\n")
        r = self.box.run("-nopopup", "a.fpl")
        message = "*** DEFAULT_CHECK.fpl : no test defined ***"
        self.assertStopped(r, INSTALLED_3 + message + "\n", popup("error", message))

    def test_at_most_200_rules(self):
        self.box.install()
        rules = self.box.path("DEFAULT_CHECK.fpl")
        self.box.write(rules, "".join(f"StartTime<={n}.5\n" for n in range(14, 214)))
        r = self.box.run("-nopopup", "a.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + "**  constraints to check\n \n"
                         + plan_block("a.fpl") + totals(1))
        with open(rules, "a") as f:
            f.write("StartTime>=12.0\n")
        r = self.box.run("-nopopup", "a.fpl")
        shown = self.box.program_path(rules)
        self.assertStopped(r, INSTALLED_3 + shown + "\nMore than 200 constraints\n",
                           popup("error", shown, "More than 200 constraints"))

    def test_plan_that_cannot_be_opened_ends_the_run(self):
        self.box.install()
        os.mkdir(self.box.path("plans"))
        head = INSTALLED_3 + rules_head(1) + plan_block(
            "late.fpl", ["StartTime : 15.0                       should be: <= 14.5"], 1)
        stop = "-" * 78 + "\n \nplans/missing.fpl\n \nplans/missing.fpl\ncannot be opened\n \n"
        late = ["late.fpl", " 1 invalid lines"]
        for mode, shown in (("1", ""), ("2", popup("error", *late)),
                            ("3", popup("error", *late, "-StartTime : 15.0, should be: <= 14.5"))):
            with self.subTest(popup_mode=mode):
                self.box.write("Brevanto.ini", f"Popup={mode}\n")
                r = self.box.run("late.fpl", "plans/missing.fpl", "c.fpl")
                # The plans before it are reported, the log says how many were not checked,
                # no summary follows.
                self.assertStopped(r, head + stop + totals(0, 1, 1) + stopped(1),
                                   shown + popup("error", "plans/missing.fpl", "cannot be opened"))
        r = self.box.run("-fr", "late.fpl", "plans/missing.fpl", "c.fpl")
        self.assertEqual(r.returncode, 1)
        self.assertTrue(r.log().endswith("\nplans/missing.fpl\nOuverture impossible\n \n"
                                         + totals(0, 1, 1, french=True) + stopped(1, french=True)))
        # With a BASE rule the plan is opened first to be read whole: the same stop.
        self.box.write("DEFAULT_CHECK.fpl", "TPHeight|<=BASE+500\n")
        r = self.box.run("-nopopup", "plans/missing.fpl", "c.fpl")
        self.assertStopped(r, INSTALLED_3 + rules_head(1) + stop + totals(unreadable=1)
                           + stopped(1), popup("error", "plans/missing.fpl", "cannot be opened"))

    def test_read_error_ends_the_run(self):
        self.box.install()
        self.box.write("Brevanto.ini", "Popup=2\n")
        # A regular file that opens but whose first read fails: the memory of the reading
        # process itself, read from its address 0.
        os.symlink("/proc/self/mem", self.box.path("memory.fpl"))
        r = self.box.run("a.fpl", "memory.fpl", "c.fpl")
        self.assertStopped(r, INSTALLED_3 + rules_head(1) + plan_block("a.fpl")
                           + "-" * 78 + "\n \nmemory.fpl\n \n*** memory.fpl : error reading ***\n \n"
                           + totals(1, 0, 1) + stopped(1),
                           popup("info", "a.fpl", "No error found")
                           + popup("error", "*** memory.fpl : error reading ***"))
        self.assertIn(" *** at line_number : 0  ***\n", r.stdout)
        # A turnpoint's sector type that is no number is a read error at its line, 12.
        self.box.write("bad sector.fpl", flight_plan(tp={0: {"SectorType": "x"}}))
        r = self.box.run("-fr", "bad sector.fpl", "c.fpl")
        self.assertStopped(r, INSTALLED_3 + rules_head(1, french=True)
                           + "-" * 78 + "\n \nbad sector.fpl\n \nTPSectorType ???? x\n"
                           + "*** bad sector.fpl : erreur de lecture ***\n \n"
                           + totals(unreadable=1, french=True) + stopped(1, french=True),
                           popup("error", "*** bad sector.fpl : erreur de lecture ***"))
        self.assertIn(" *** at line_number : 12  ***\n", r.stdout)

    def test_more_than_31_turnpoints_with_a_base_rule(self):
        self.box.install()
        self.box.write("DEFAULT_CHECK.fpl", "TPHeight|<=BASE+500\n")
        self.box.write("t31.fpl", flight_plan(count=31))
        self.box.write("t32.fpl", flight_plan(count=32))
        r = self.box.run("-nopopup", "t31.fpl", "t32.fpl", "c.fpl")
        self.assertStopped(r, INSTALLED_3 + rules_head(1) + plan_block("t31.fpl")
                           + "-" * 78 + "\n \nt32.fpl\n \n"
                           + "XCSoar does not support more than 30 turnpoints\n \n"
                           + totals(1, 0, 1) + stopped(1),
                           popup("error", "XCSoar does not support more than 30 turnpoints"))
        r = self.box.run("-nopopup", "-fr", "t32.fpl", "c.fpl")
        self.assertStopped(r, INSTALLED_3 + rules_head(1, french=True)
                           + "-" * 78 + "\n \nt32.fpl\n \n"
                           + "XCSoar n'accepte pas plus que 30 points de virage\n \n"
                           + totals(unreadable=1, french=True) + stopped(1, french=True),
                           popup("error", "XCSoar n'accepte pas plus que 30 points de virage"))

    def test_more_than_31_turnpoints_without_a_base_rule_are_checked(self):
        # The plan is read whole only for a BASE value: otherwise its Count is one more key.
        self.box.install()
        self.box.write("DEFAULT_CHECK.fpl", "Count>=32\n")
        self.box.write("t32.fpl", flight_plan(count=32))
        r = self.box.run("-nopopup", "t32.fpl")
        self.assertEqual((r.returncode, r.stderr), (0, ""))
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block("t32.fpl") + totals(1))


if __name__ == "__main__":
    unittest.main()
