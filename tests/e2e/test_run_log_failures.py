"""A report log that cannot be written, or that fills the disk, never costs the report: every
line still reaches the console, the failure is said once, and the run ends as usual."""

import os
import unittest

from harness import INSTALLED_3, SandboxTest, plan_block, rules_head
from soarix import flight_plan


class LogFailures(SandboxTest):
    rules = "TPHeight1<=1500\n"

    def setUp(self):
        super().setUp()
        self.box.install()
        self.box.write("clean.fpl", flight_plan())
        self.box.write("bad.fpl", flight_plan(tp={1: {"Height": "1800"}}))
        healthy = self.box.run("-nopopup", "clean.fpl", "bad.fpl")
        self.assertEqual(healthy.report(), INSTALLED_3 + rules_head(1) + plan_block("clean.fpl")
                         + plan_block("bad.fpl", ["TPHeight1 : 1800".ljust(39)
                                                  + "should be: <= 1500"], 1))
        self.console = self.without_create(healthy.stdout)
        os.remove(self.box.path("Brevanto.log"))

    @staticmethod
    def without_create(stdout):
        return [line for line in stdout.split("\n") if not line.startswith(" CREATE ")]

    def assertReportOnConsole(self, r):
        """The run's console is a healthy run's, but for the CREATE line."""
        self.assertEqual(r.returncode, 0)
        self.assertEqual(self.without_create(r.stdout), self.console)

    def test_a_full_disk_is_said_once_and_the_report_goes_on(self):
        os.symlink("/dev/full", self.box.path("Brevanto.log"))
        r = self.box.run("-nopopup", "clean.fpl", "bad.fpl")
        self.assertReportOnConsole(r)
        self.assertEqual(r.stderr, "*** Brevanto.log : the report log cannot be written (error 28),"
                                   " the report goes on on the console ***\n")

    def test_a_log_that_cannot_be_created(self):
        os.mkdir(self.box.path("Brevanto.log"))  # not even root can write a file there
        r = self.box.run("-nopopup", "clean.fpl", "bad.fpl")
        self.assertReportOnConsole(r)
        self.assertEqual(r.stderr, "")


if __name__ == "__main__":
    unittest.main()
