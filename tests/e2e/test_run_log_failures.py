"""A report log that cannot be written, or that fills the disk, never costs the report: every
line still reaches the console, the failure is said once, and the run ends as usual. Whatever
stops the writing (a full disk, Ctrl-C, SIGTERM), the log ends at a whole line."""

import os
import resource
import signal
import time
import unittest

from harness import (DATE_HEAD, INSTALLED_3, WINDOWS, SandboxTest, plan_block, rules_head,
                     totals)
from soarix import flight_plan

VIOLATION = ["TPHeight1 : 1800".ljust(39) + "should be: <= 1500"]


def report_part(log):
    """The report log's bytes after its date line, as text."""
    head = DATE_HEAD.match(log.decode("cp1252"))
    if head is None:
        raise AssertionError("the report log does not start with its date line: " + repr(log[:80]))
    return log.decode("cp1252")[head.end():]


class LogFailures(SandboxTest):
    rules = "TPHeight1<=1500\n"

    def setUp(self):
        super().setUp()
        self.box.install()
        self.box.write("clean.fpl", flight_plan())
        self.box.write("bad.fpl", flight_plan(tp={1: {"Height": "1800"}}))
        healthy = self.box.run("-nopopup", "clean.fpl", "bad.fpl")
        self.assertEqual(healthy.report(), INSTALLED_3 + rules_head(1) + plan_block("clean.fpl")
                         + plan_block("bad.fpl", VIOLATION, 1) + totals(1, 1))
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

    @unittest.skipIf(WINDOWS, "a file size limit is a limit of POSIX processes: under Wine it ends the "
                              "Wine loader itself")
    def test_a_disk_that_fills_while_the_log_is_written(self):
        plans = ["clean.fpl", "bad.fpl"] * 20
        healthy = self.box.run("-nopopup", *plans)
        full = healthy.report()
        limit = os.path.getsize(self.box.path("Brevanto.log")) // 2 + 7  # inside a message
        os.remove(self.box.path("Brevanto.log"))

        def file_size_limit():
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))

        r = self.box.run("-nopopup", *plans, preexec_fn=file_size_limit)
        self.assertEqual(r.returncode, 0)
        self.assertEqual(self.without_create(r.stdout), self.without_create(healthy.stdout))
        self.assertEqual(r.stderr, "*** Brevanto.log : the report log cannot be written (error 27),"
                                   " the report goes on on the console ***\n")
        with open(self.box.path("Brevanto.log"), "rb") as f:
            log = f.read()
        self.assertLessEqual(len(log), limit)
        cut = report_part(log)
        self.assertTrue(cut.endswith("\n") and full.startswith(cut), cut[-200:])
        self.assertGreater(len(cut), len(full) // 3)

    def test_a_log_that_cannot_be_created(self):
        os.mkdir(self.box.path("Brevanto.log"))  # not even root can write a file there
        r = self.box.run("-nopopup", "clean.fpl", "bad.fpl")
        self.assertReportOnConsole(r)
        self.assertEqual(r.stderr, "")


@unittest.skipIf(WINDOWS, "SIGINT and SIGTERM are POSIX signals: under Wine they end the Wine loader "
                          "rather than reach the program as a console event")
class InterruptedRun(SandboxTest):
    rules = "TPHeight1<=1500\n"

    def test_an_interrupted_run_leaves_a_log_of_whole_lines(self):
        self.box.install()
        self.box.write("bad.fpl", flight_plan(tp={1: {"Height": "1800"}}))
        plans = ["bad.fpl"] * 20000
        full = INSTALLED_3 + rules_head(1) + plan_block("bad.fpl", VIOLATION, 1) * len(plans)
        log = self.box.path("Brevanto.log")

        def default_stops():  # a shell may have left Ctrl-C ignored for background jobs
            for s in (signal.SIGINT, signal.SIGTERM):
                signal.signal(s, signal.SIG_DFL)

        for stop in (signal.SIGINT, signal.SIGTERM):
            with self.subTest(signal=stop.name):
                if os.path.exists(log):
                    os.remove(log)
                proc = self.box.start("-nopopup", *plans, preexec_fn=default_stops)
                deadline = time.monotonic() + 60
                while proc.poll() is None and time.monotonic() < deadline and (
                        not os.path.exists(log) or os.path.getsize(log) < 200_000):
                    time.sleep(0.005)
                proc.send_signal(stop)
                self.assertEqual(proc.wait(60), -stop, "the run ended before the signal")
                with open(log, "rb") as f:
                    cut = report_part(f.read())
                self.assertTrue(cut.endswith("\n") and full.startswith(cut), cut[-200:])


if __name__ == "__main__":
    unittest.main()
