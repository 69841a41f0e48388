"""Texts that come from outside the program (a plan's path, its keys and values, a rule's value)
are written to the report as they are: none of them can start a new report file, frame itself
with a banner or lose its quotes."""

import os
import unittest

from harness import INSTALLED_3, SandboxTest, plan_block, rule_warning, rules_head, totals
from soarix import flight_plan

KEPT = b"an organiser's own file\n"


NO_PLAN_KEY = "its key is no flight-plan key"


class OutsideText(SandboxTest):
    rules = 'CREATE*>10\n"Q"="z"\n'
    head = rules_head(2, warnings=[rule_warning(1, 1, "CREATE*>10", NO_PLAN_KEY),
                                   rule_warning(2, 2, '"Q"="z"', NO_PLAN_KEY)])

    def setUp(self):
        super().setUp()
        self.box.install()

    def run_untouched(self, *args):
        """Runs the program; only its report log may be written, and it must complete."""
        before = self.box.snapshot()
        r = self.box.run("-nopopup", *args)
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertOnlyLogWritten(before)
        return r

    def test_plan_paths_are_names_not_commands(self):
        outside = os.path.join(self.box.root, "x")
        self.box.write(os.path.join(outside, "victim.fpl"), KEPT)
        self.box.write("_day1.fpl", KEPT)
        names = ["CREATE_day1.fpl", "CREATE" + outside + "/victim.fpl", "{E}day.fpl"]
        for name in names:
            self.box.write(name, flight_plan())
        r = self.run_untouched(*names)
        self.assertEqual(r.report(), INSTALLED_3 + self.head
                         + "".join(plan_block(name) for name in names) + totals(len(names)))
        for name in names:
            self.assertIn("\n" + name + "\n", r.stdout)

    def test_plan_keys_and_values_are_text(self):
        plan = flight_plan(options={"CREATEx": "5"}) + '\r\n[Extra]\r\n"Q"="y"\r\n'
        self.box.write("day.fpl", plan)
        r = self.run_untouched("day.fpl")
        self.assertEqual(r.report(), INSTALLED_3 + self.head + plan_block("day.fpl", [
            "CREATEx : 5".ljust(39) + "should be: > 10",
            '"Q" : "y"'.ljust(39) + 'should be: = "z"'], 2) + totals(0, 1))


class OutsideRuleValue(SandboxTest):
    def test_a_rule_value_is_text(self):
        self.box.install()
        self.box.write("keep.txt", KEPT)
        self.box.write("day.fpl", flight_plan())
        for value in (b"CREATE hijacked", b"CREATE keep.txt\0"):
            with self.subTest(value=value):
                self.box.write("DEFAULT_CHECK.fpl", b"Class=" + value + b"AGL\n")
                if os.path.exists(self.box.path("Brevanto.log")):
                    os.remove(self.box.path("Brevanto.log"))
                before = self.box.snapshot()
                r = self.box.run("-nopopup", "day.fpl")
                self.assertEqual(r.returncode, 0, r.stderr)
                self.assertOnlyLogWritten(before)
                self.assertIn(b" 1  constraints to check\n*** rule 1 (line 1) : Class=" + value
                              + b"AGL : AGL only for real or integer values ***\n \n",
                              r.log_bytes())


if __name__ == "__main__":
    unittest.main()
