"""Files that once passed as "No error found", or went unmentioned: a plan without a readable
Count, files that are no flight plan, a deleted key, names that are not a plan's, and a damaged
plan in the middle of a batch."""

import os
import unittest

from harness import (INSTALLED_3, SKIPPED, SandboxTest, plan_block, popup, rules_head,
                     skipped_block, stopped, totals)
from soarix import flight_plan

FINISH_UNKNOWN = '*** finish turnpoint unknown: "|" rules not checked ***'
NOT_A_PLAN = "*** not a flight plan: no flight-plan line found ***"
LATE = "StartTime : 15.0".ljust(39) + "should be: <= 14.5"


def csv_rows(path):
    with open(path, "rb") as f:
        return f.read().decode("utf-8-sig").split("\r\n")[1:-1]


class Verdicts(SandboxTest):
    rules = "TPRadius|<=3000\nAllowPDA=0\nStartTime<=14.5\n"

    def setUp(self):
        super().setUp()
        self.box.install()

    def test_a_plan_without_a_readable_count_is_checked_against_the_other_rules(self):
        late = flight_plan(options={"StartTime": "15.0"})
        self.box.write("none.fpl", late.replace("Count=4\r\n", ""))
        self.box.write("word.fpl", late.replace("Count=4", "Count=four"))
        r = self.box.run("-nopopup", "-csv=out.csv", "none.fpl", "word.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(3)
                         + plan_block("none.fpl", ["Count : missing".ljust(39) + FINISH_UNKNOWN,
                                                   LATE], 2)
                         + plan_block("word.fpl", ["Count : four".ljust(39) + FINISH_UNKNOWN,
                                                   LATE], 2)
                         + totals(0, 2))
        self.assertEqual(csv_rows(self.box.path("out.csv"))[2:4], [
            "word.fpl,6,Count,four,,,finish unknown,,", "word.fpl,60,StartTime,15.0,<=,14.5,violation,,"])
        r = self.box.run("-nopopup", "-fr", "none.fpl")
        self.assertIn("\nCount : missing".ljust(40) + "*** point d'arriv\u00e9e inconnu : r\u00e8gles "
                      '"|" non v\u00e9rifi\u00e9es ***\n', r.report())

    def test_files_that_are_no_flight_plan(self):
        texts = {"empty.fpl": "", "mail.fpl": "From: pilot@example.org\r\nSubject: Day 2\r\n\r\n"
                 "Here is my task.\r\n", "README.fpl": "# Day 2\n\nThe task is attached.\n"}
        for name, text in texts.items():
            self.box.write(name, text)
        self.box.write("alps.fpl", "Landscape=Alps\r\n")  # a plan, if a poor one
        r = self.box.run("-csv=out.csv", *texts, "alps.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(3)
                         + "".join(plan_block(name, [NOT_A_PLAN], 1) for name in texts)
                         + plan_block("alps.fpl", ["Count : missing".ljust(39) + FINISH_UNKNOWN], 1)
                         + totals(0, 4))
        self.assertEqual(csv_rows(self.box.path("out.csv")), [
            "empty.fpl,,,,,,not a plan,,", "mail.fpl,,,,,,not a plan,,",
            "README.fpl,,,,,,not a plan,,", "alps.fpl,,Count,missing,,,finish unknown,,"])
        self.assertTrue(r.stderr.startswith(popup("error", "", "empty.fpl", " 1 invalid lines")))
        r = self.box.run("-nopopup", "-fr", "empty.fpl")
        self.assertIn("\n*** pas un plan de vol : aucune ligne de plan de vol ***\n", r.report())

    def test_a_deleted_key_is_missing_on_request(self):
        self.box.write("nopda.fpl", flight_plan().replace("AllowPDA=0\r\n", ""))
        r = self.box.run("-nopopup", "nopda.fpl")
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(3) + plan_block("nopda.fpl")
                         + totals(1))
        r = self.box.run("-nopopup", "-missing", "nopda.fpl")
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(3) + plan_block(
            "nopda.fpl", ["AllowPDA : missing".ljust(39) + "should be: = 0"], 1) + totals(0, 1))
        self.box.write("Brevanto.ini", "Missing=yes\n")
        r = self.box.run("-nopopup", "-fr", "nopda.fpl")
        self.assertIn("\nAllowPDA : manquante".ljust(40) + "devrait \u00eatre : = 0\n", r.report())

    def test_names_that_are_not_a_plans_reach_every_output(self):
        names = ["A.Dupont_Day2.fpl", "Day2.final.fpl", "Day2_Jones.Fpl", "Day2.fpl.bak",
                 "Day2.fpl.txt"]
        for name in names + ["Day2_Smith.fpl"]:
            self.box.write(name, flight_plan())
        r = self.box.run("-csv=out.csv", "-html=out.html", *names, "Day2_Smith.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(3)
                         + "".join(skipped_block(name) for name in names)
                         + plan_block("Day2_Smith.fpl") + totals(1, skipped=5))
        self.assertEqual(csv_rows(self.box.path("out.csv")),
                         [name + ",,,,,,skipped,," for name in names] + ["Day2_Smith.fpl,,,,,,clean,,"])
        with open(self.box.path("out.html"), "rb") as f:
            page = f.read().decode("utf-8")
        for name in names:
            self.assertIn(f">{name}</a></td><td class=\"n\">{SKIPPED}</td>", page)
        self.assertIn("6 plans checked: 1 without error, 0 with invalid lines, 0 unreadable, "
                      "5 skipped", page)
        self.assertEqual(r.stderr, popup("warning", "", *[t for name in names for t in (name, SKIPPED)],
                                         "Day2_Smith.fpl", "No error found"))


class Batch(SandboxTest):
    """A plan that cannot be opened or read, the second of five."""

    rules = "StartTime<=14.5\n"

    def setUp(self):
        super().setUp()
        self.box.install()
        for name in ("a.fpl", "c.fpl"):
            self.box.write(name, flight_plan())
        self.box.write("late.fpl", flight_plan(options={"StartTime": "15.0"}))
        self.box.write("sector.fpl", flight_plan(tp={0: {"SectorType": "x"}}))
        self.names = ["a.fpl", "gone.fpl", "late.fpl", "sector.fpl", "c.fpl"]

    def test_the_run_stops_and_says_how_many_plans_it_did_not_check(self):
        r = self.box.run("-nopopup", *self.names)
        self.assertEqual(r.returncode, 1)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block("a.fpl")
                         + "-" * 78 + "\n \ngone.fpl\n \ngone.fpl\ncannot be opened\n \n"
                         + totals(1, 0, 1) + stopped(3))

    def test_keepgoing_checks_every_plan_and_ends_in_error(self):
        gone = "-" * 78 + "\n \ngone.fpl\n \ngone.fpl\ncannot be opened\n \n"
        sector = ("-" * 78 + "\n \nsector.fpl\n \nTPSectorType ???? x\n"
                  "*** sector.fpl : error reading ***\n \n")
        for option, settings in (("-keepgoing", ""), ("-v", "KeepGoing=yes\n")):
            with self.subTest(option=option):
                self.box.write("Brevanto.ini", settings)
                r = self.box.run(option, *self.names)
                self.assertEqual(r.returncode, 1)
                self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block("a.fpl")
                                 + gone + plan_block("late.fpl", [LATE], 1) + sector
                                 + plan_block("c.fpl") + totals(2, 1, 2))
                self.assertEqual(r.stderr, popup(
                    "error", "", "a.fpl", "No error found", "gone.fpl", "cannot be opened",
                    "late.fpl", " 1 invalid lines", "sector.fpl", "error reading", "c.fpl",
                    "No error found"))


if __name__ == "__main__":
    unittest.main()
