"""The program writes nothing but its report log, whatever road the run takes: rules and plans
chosen in dialogs, and every fatal stop. Every file of the sandbox (the Wine prefix with the
simulator's files and registry, the plans, the rules, the settings) keeps its bytes and its
modification time."""

import os
import unittest

from harness import INSTALLED_3, WINDOWS, Sandbox, SandboxTest, plan_block, rules_head, totals
from soarix import flight_plan


@unittest.skipIf(WINDOWS, "the dialogs are answered by a stand-in zenity")
class DialogRoad(SandboxTest):
    def test_rules_and_plans_chosen_in_dialogs(self):
        prefix = self.box.install()
        zenity = self.box.zenity()
        rules = self.box.write(os.path.join(self.box.root, "league", "rules.fpl"),
                               "TPHeight1<=1500\n")
        plans = [self.box.write(os.path.join(prefix.flight_plans(3), name), text) for name, text in
                 (("a.fpl", flight_plan()), ("b.fpl", flight_plan(tp={1: {"Height": "1800"}})))]
        zenity.answer(1, rules + "\n")
        zenity.answer(2, "|".join(plans) + "\n")
        before = self.box.snapshot()
        r = self.box.run("-ask")  # the summary popup too: a third zenity call
        self.assertEqual(r.returncode, 0, r.stderr)
        self.assertEqual(len(zenity.calls()), 3)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(plans[0])
                         + plan_block(plans[1], ["TPHeight1 : 1800".ljust(39)
                                                 + "should be: <= 1500"], 1) + totals(1, 1))
        self.assertOnlyLogWritten(before)


def no_installation(box):
    box.write("a.fpl", flight_plan())
    return ["a.fpl"]


def installed(box, rules=None, plans=(("a.fpl", flight_plan()),)):
    box.install()
    if rules is not None:
        box.write("DEFAULT_CHECK.fpl", rules)
    return [box.write(name, text) for name, text in plans]


class FatalStops(SandboxTest):
    def test_every_fatal_stop_writes_only_its_log(self):
        cases = {
            "no installation": no_installation,
            "no plan chosen": lambda box: installed(box, plans=()),
            "rules file missing": lambda box: (os.remove(box.path("DEFAULT_CHECK.fpl")),
                                               installed(box))[1],
            "no rule": lambda box: installed(box, rules="# none\n"),
            "more than 200 rules": lambda box: installed(
                box, rules="".join(f"StartTime<={n}\n" for n in range(201))),
            "plan missing": lambda box: installed(box) + ["missing.fpl"],
            "plan unreadable": lambda box: installed(
                box, plans=(("a.fpl", flight_plan(tp={0: {"SectorType": "x"}})),)),
            "more than 31 turnpoints": lambda box: installed(
                box, rules="TPHeight|<=BASE+500\n", plans=(("a.fpl", flight_plan(count=32)),)),
        }
        for name, prepare in cases.items():
            with self.subTest(stop=name):
                box = Sandbox(rules="StartTime<=14.5\n")
                self.addCleanup(box.cleanup)
                args = prepare(box)
                before = box.snapshot()
                r = box.run(*args)
                self.assertEqual(r.returncode, 1, r.stderr)
                self.assertIn(" [error]\n", r.stderr)
                self.assertOnlyLogWritten(before, box)


if __name__ == "__main__":
    unittest.main()
