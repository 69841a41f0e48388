"""The organiser's additions: rules that can never match, rules that matched nothing (-unused), the
CSV export (-csv=FILE) and the HTML report (-html=FILE). Each is opt-in or speaks only when
something is wrong: with today's options a run writes today's report."""

import os
import unittest

from harness import (INSTALLED_3, SOURCE, WINDOWS, SandboxTest, cp1252, csv_text, plan_block,
                     popup, rule_warning, rules_head, stopped, totals)
from soarix import flight_plan

RULES = "StartTime<=14.5\nTPRaduis*>=500\nTPRadius|<=3000\nTPName1[]Start\n"
MISSPELLED = rule_warning(2, 2, "TPRaduis*>=500",
                          "its key is no flight-plan key: did you mean TPRadius*")
# A name with a quote, a comma and an accent: the CSV must quote it and keep the accent.
ODD_NAME = 'Col "du" T\u00e9l\u00e9graphe, Nord'
PROGRAM = "Brevanto.exe" if WINDOWS else "Brevanto"  # the program's copy in the run folder


class Outputs(SandboxTest):
    rules = RULES

    def setUp(self):
        super().setUp()
        self.box.install()
        self.box.write("clean.fpl", flight_plan())
        self.box.write("bad.fpl", flight_plan(tp={1: {"Name": ODD_NAME}},
                                              options={"StartTime": "15.0"}))

    def test_useless_and_unused_rules(self):
        rules = RULES + "Landscape=Alps<East\n[Plane]>=4\nTP*Name=x\nTPRadius$$>=500\n"
        self.box.write("DEFAULT_CHECK.fpl", rules)
        useless = MISSPELLED + "\n" + "".join(
            rule_warning(n, n, line, "its key can never match a flight-plan key") + "\n"
            for n, line in enumerate(rules.splitlines(), 1) if n > 4)
        bad = plan_block("bad.fpl", [
            "TPName1 : " + ODD_NAME + "    should be: [] Start",
            "StartTime : 15.0                       should be: <= 14.5"], 2)
        today = self.box.run("-nopopup", "clean.fpl", "bad.fpl")
        today_report = today.report()  # read now: the next run writes the log afresh
        self.assertEqual(today_report, INSTALLED_3 + " 8  constraints to check\n" + useless
                         + " \n" + plan_block("clean.fpl") + bad + totals(1, 1))
        self.assertIn("\n" + useless.splitlines()[1] + "\n", today.stdout)
        # The misspelled key and the useless ones matched nothing; the "|" rule matched the
        # finish of each plan.
        unused = ("-" * 78 + "\nRules that matched no line of any checked plan:\n"
                  + "".join(f"  {n} : {line}\n" for n, line in enumerate(rules.splitlines(), 1)
                            if n == 2 or n > 4))
        r = self.box.run("-nopopup", "-unused", "clean.fpl", "bad.fpl")
        self.assertEqual(r.report(), today_report + unused)
        self.assertTrue(r.stdout.endswith(unused), r.stdout[-400:])
        self.box.write("Brevanto.ini", "Unused=yes\n")
        r = self.box.run("-nopopup", "-fr", "clean.fpl")
        self.assertTrue(r.report().endswith(
            "-" * 78 + "\nR\u00e8gles qui ne correspondent \u00e0 aucune ligne des plans "
            "v\u00e9rifi\u00e9s :\n  2 : TPRaduis*>=500\n  5 : Landscape=Alps<East\n"
            "  6 : [Plane]>=4\n  7 : TP*Name=x\n  8 : TPRadius$$>=500\n"), r.report())
        self.assertIn("*** r\u00e8gle 5 (ligne 5) : Landscape=Alps<East : sa cl\u00e9 ne peut correspondre "
                      "\u00e0 aucune cl\u00e9 de plan de vol ***\n", r.report())

    def test_csv_and_html_leave_the_report_as_it_was(self):
        today = self.box.run("clean.fpl", "bad.fpl")
        today_report = today.report()
        r = self.box.run("-csv=out.csv", "-html=out.html", "clean.fpl", "bad.fpl")
        self.assertEqual((r.returncode, r.report(), r.stdout, r.stderr),
                         (today.returncode, today_report, today.stdout, today.stderr))
        self.assertEqual(csv_text(self.box.path("out.csv")).split("\r\n"), [
            "plan,line,key,value,relation,expected,verdict,turnpoint,weather_zone",
            "clean.fpl,,,,,,clean,,",
            'bad.fpl,20,TPName1,"Col ""du"" T\u00e9l\u00e9graphe, Nord",[],Start,violation,1,',
            "bad.fpl,60,StartTime,15.0,<=,14.5,violation,,", ""])
        with open(self.box.path("out.html"), "rb") as f:
            page = f.read().decode("utf-8")
        self.assertEqual(page.count("<svg class=\"task-map\""), 2)
        self.assertIn("Col &quot;du&quot; T\u00e9l\u00e9graphe, Nord (start)", page)
        self.assertEqual(sorted(os.listdir(self.box.folder)),
                         sorted([PROGRAM, "Brevanto.log", "DEFAULT_CHECK.fpl", "bad.fpl",
                                 "clean.fpl", "out.csv", "out.html"]))

    def test_plan_that_stops_the_run_is_unreadable_in_both_outputs(self):
        r = self.box.run("-nopopup", "-csv=out.csv", "-html=out.html", "clean.fpl", "gone.fpl",
                         "bad.fpl")
        message = "gone.fpl\ncannot be opened\n"
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(4, warnings=[MISSPELLED])
                         + plan_block("clean.fpl")
                         + "-" * 78 + "\n \ngone.fpl\n \n" + message + " \n" + totals(1, 0, 1)
                         + stopped(1))
        self.assertEqual(r.stderr, popup("error", "gone.fpl", "cannot be opened"))
        self.assertEqual(csv_text(self.box.path("out.csv")).split("\r\n")[1:],
                         ["clean.fpl,,,,,,clean,,", "gone.fpl,,,,,,unreadable,,", ""])
        with open(self.box.path("out.html"), "rb") as f:
            page = f.read().decode("utf-8")
        self.assertIn("gone.fpl</a></td><td class=\"n\">could not be read</td>", page)
        self.assertIn("The task of this plan cannot be drawn: the file cannot be opened.", page)

    def test_an_output_that_cannot_be_written_is_said_once(self):
        with open(self.box.path("bad.fpl"), "rb") as f:
            plan = f.read()
        cases = [("-csv=no/such/folder/out.csv",
                  "*** no/such/folder/out.csv : cannot be written ***\n"),
                 ("-html=Brevanto.log", "*** Brevanto.log : a file of this run, not replaced ***\n"),
                 ("-csv=bad.fpl", "*** bad.fpl : a file of this run, not replaced ***\n")]
        for option, message in cases:
            with self.subTest(option=option):
                today = self.box.run("-nopopup", "clean.fpl", "bad.fpl").report()
                r = self.box.run("-nopopup", option, "clean.fpl", "bad.fpl")
                self.assertEqual(r.returncode, 1)
                self.assertEqual(r.report(), today + message)
                self.assertTrue(r.stdout.endswith(message))
                with open(self.box.path("bad.fpl"), "rb") as f:
                    self.assertEqual(f.read(), plan)
        r = self.box.run("-nopopup", "-fr", "-csv=no/out.csv", "clean.fpl")
        self.assertTrue(r.report().endswith("*** no/out.csv : \u00e9criture impossible ***\n"))

    def test_map_reading_keeps_the_run_as_it_is(self):
        # 32 turnpoints stop a run only when a BASE rule has the plan read whole.
        self.box.write("big.fpl", flight_plan(count=32))
        today = self.box.run("-nopopup", "big.fpl", "clean.fpl")
        today_report = today.report()
        r = self.box.run("-nopopup", "-html=out.html", "big.fpl", "clean.fpl")
        self.assertEqual((r.returncode, r.report(), r.stdout, r.stderr),
                         (0, today_report, today.stdout, ""))
        with open(self.box.path("out.html"), "rb") as f:
            page = f.read().decode("utf-8")
        self.assertIn("cannot be drawn: it has more than 31 turnpoints.", page)
        self.assertEqual(page.count("<svg class=\"task-map\""), 1)


class TheExample(SandboxTest):
    """The README's main command on the example: today's options give today's log, byte for
    byte, and the HTML report does not change it."""

    def test_example_log_is_todays(self):
        plans = self.box.install_example()
        with open(os.path.join(SOURCE, "tests", "data", "example_report.txt"), "rb") as f:
            expected = cp1252(f.read())
        today = self.box.run("-nopopup", *plans)
        self.assertEqual((today.returncode, today.report()), (0, expected))  # read before the next run
        r = self.box.run("-nopopup", "-html=report.html", *plans)
        self.assertEqual((r.returncode, r.report(), r.stdout), (0, expected, today.stdout))
        self.assertTrue(os.path.getsize(self.box.path("report.html")) > 0)


if __name__ == "__main__":
    unittest.main()
