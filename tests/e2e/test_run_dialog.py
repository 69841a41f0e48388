"""Which names are taken as flight plans: the extension rules for the names of the command line,
and the plans chosen in the multiple-selection dialog (a stand-in zenity on a desktop; the
dialog's windows on both systems are in test_run_popups)."""

import os
import unittest

from harness import (INSTALLED_3, SKIPPED, WINDOWS, SandboxTest, plan_block, popup, rules_head,
                     skipped_block, totals)
from soarix import flight_plan


def skipped(name):
    """The console lines of a name that is not a flight plan."""
    return "-" * 52 + "\n\n" + name + " : not a Soarix flight plan, skipped\n\n"


class ExtensionRules(SandboxTest):
    rules = "Water=0\n"

    def setUp(self):
        super().setUp()
        self.box.install()

    def test_only_fpl_and_FPL_extensions_are_checked(self):
        for name in ("task1.fpl", "task2.FPL", "task.Fpl", "task.fpl", "Round.2/task.fpl",
                     "notes.txt"):
            self.box.write(name, flight_plan())
        r = self.box.run("-nopopup", "task1.fpl", "task2.FPL", "task.Fpl", "task",
                         "Round.2\\task.fpl", "Round.2/task.fpl", "./task.fpl", "notes.txt")
        self.assertEqual(r.returncode, 0)
        # "task" is taken as "task.fpl". In a Windows path a "." in a folder's name hides the
        # extension; on Linux a native path's folders (before its last "/") are not part of
        # the name, on Windows "/" is no separator there.
        # A skipped name has a block of its own in the report too.
        native = ["Round.2/task.fpl", "./task.fpl"]
        block = skipped_block if WINDOWS else plan_block
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block("task1.fpl")
                         + plan_block("task2.FPL") + skipped_block("task.Fpl")
                         + plan_block("task.fpl") + skipped_block("Round.2\\task.fpl")
                         + "".join(block(name) for name in native) + skipped_block("notes.txt")
                         + (totals(3, skipped=5) if WINDOWS else totals(5, skipped=3)))
        for name in ["task.Fpl", "Round.2\\task.fpl", "notes.txt"] + (native if WINDOWS else []):
            self.assertIn(skipped(name), r.stdout)

    def test_skipped_names_are_in_the_summary_with_a_warning(self):
        self.box.write("task.Fpl", flight_plan())
        self.box.write("task.fpl", flight_plan())
        r = self.box.run("task.Fpl", "task.fpl", "notes.txt")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + skipped_block("task.Fpl")
                         + plan_block("task.fpl") + skipped_block("notes.txt")
                         + totals(1, skipped=2))
        self.assertEqual(r.stderr, popup("warning", "", "task.Fpl", SKIPPED, "task.fpl",
                                         "No error found", "notes.txt", SKIPPED))


@unittest.skipIf(WINDOWS, "the plans dialog is answered by a stand-in zenity; under Wine without "
                          "a display it can only be cancelled (test_run_fatal)")
class DialogPlans(SandboxTest):
    rules = "StartTime<=14.5\n"

    def setUp(self):
        super().setUp()
        self.prefix = self.box.install()
        self.folder = self.prefix.flight_plans(3)
        self.zenity = self.box.zenity()

    def plan(self, name, text=None):
        path = os.path.join(self.folder, name)
        self.box.write(path, text or flight_plan())
        return path

    def test_plans_below_a_folder_with_a_dot_are_checked(self):
        # Wine's default prefix is ~/.wine: every native path chosen there holds "/.wine/".
        path = self.plan(os.path.join(".wine", "Day 1.fpl"))
        self.zenity.answer(1, path + "\n")
        r = self.box.run("-nopopup")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(path) + totals(1))

    def test_a_result_of_thousands_of_characters_is_taken_whole(self):
        folder = os.path.join(self.folder, "Championship of the southern Alps " * 5)
        paths = [os.path.join(folder, f"Task {n:02d} of the championship, "
                              f"{'from Sisteron to Digne and back ' * 3}.fpl")
                 for n in range(90)]
        for path in paths:
            self.box.write(path, flight_plan())
        answer = "|".join(paths)
        self.assertGreater(len(answer), 32767)  # more than a Windows dialog's buffer
        self.zenity.answer(1, answer + "\n")
        r = self.box.run("-nopopup")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1)
                         + "".join(plan_block(p) for p in paths) + totals(90))
        self.assertEqual(len(self.zenity.calls()), 1)


if __name__ == "__main__":
    unittest.main()
