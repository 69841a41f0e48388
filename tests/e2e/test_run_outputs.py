"""Outputs that cannot be turned against the organiser: the CSV stays data in a spreadsheet
whichever separator it splits at, no output replaces a file of the run or anything but a regular
file, a replaced output keeps its permission bits, and a stop signal leaves no temporary file."""

import csv
import io
import os
import re
import signal
import stat
import time
import unittest

from harness import WINDOWS, SandboxTest, csv_text
from soarix import flight_plan

# Plan values a spreadsheet would run, or cannot read: each violates the rule "*=safe".
HOSTILE = ["x;=1+1", "=1+1", "+1+1", "-1+1", "@SUM(A1)", "a,=1", " =1", '"=1', "a;\"@x",
           "\t=1", "-200", "x\x00y", "ESC\x1bz", "\x81\x8d\x8f\x90\x9d", "DEL\x7f"]
FORMULA = re.compile(r"[=+\-@]")
NUMBER = re.compile(r"[+-]?(\d+\.?\d*|\.\d+)([eE][+-]?\d+)?")
CONTROL = re.compile("[\x00-\x08\x0a-\x1f\x7f-\x9f]")


class HostileValues(SandboxTest):
    rules = "*=safe\n"

    def test_no_cell_is_a_formula_or_holds_a_control_whichever_the_separator(self):
        self.box.install()
        plan = "[Task]\r\n" + "".join(f"Hostile{i}={v}\r\n" for i, v in enumerate(HOSTILE))
        name = "=x;@y.fpl"
        self.box.write(name, plan.encode("latin-1"))  # the controls as the bytes they are
        for option, written in (("", ","), ("-csv-sep=;", ";"), ("-csv-sep=,", ",")):
            with self.subTest(separator=written):
                r = self.box.run("-nopopup", "-csv=out.csv", *([option] if option else []), name)
                self.assertEqual(r.returncode, 0, r.stdout[-300:])
                text = csv_text(self.box.path("out.csv"))
                self.assertTrue(text.startswith(written.join(["plan", "line", "key"])))
                rows = list(csv.reader(io.StringIO(text, newline=""), delimiter=written))
                self.assertEqual(len(rows), 2 + len(HOSTILE))  # the header, [Task], the values
                for delimiter in (",", ";"):
                    for row in csv.reader(io.StringIO(text, newline=""), delimiter=delimiter):
                        for cell in row:
                            start = cell.lstrip(' \t"')
                            self.assertFalse(FORMULA.match(start) and not NUMBER.fullmatch(start),
                                             (delimiter, cell))
                            self.assertIsNone(CONTROL.search(cell), (delimiter, cell))


class OutputsOfTheRun(SandboxTest):
    rules = "TPHeight1<=1500\n"

    def setUp(self):
        super().setUp()
        self.box.install()
        self.box.write("clean.fpl", flight_plan())
        self.box.write("day3.fpl", flight_plan(tp={1: {"Height": "1800"}}))

    def contents(self, *names):
        found = {}
        for name in names:
            path = self.box.path(name)
            if os.path.isfile(path):
                with open(path, "rb") as f:
                    found[name] = f.read()
            else:
                found[name] = stat.S_IFMT(os.lstat(path).st_mode) if os.path.lexists(path) else None
        return found

    def test_files_of_the_run_and_what_is_no_regular_file_are_never_replaced(self):
        self.box.write("Brevanto.ini", "OKlines=0\n")
        self.box.write("Brevanto.log", "")
        os.mkdir(self.box.path("folder"))
        taken = " : a file of this run, not replaced ***\n"
        unwritable = " : cannot be written ***\n"
        cases = [(["-csv=Brevanto.ini"], "Brevanto.ini" + taken),
                 (["-html=DEFAULT_CHECK.fpl"], "DEFAULT_CHECK.fpl" + taken),
                 (["-csv=Brevanto.log"], "Brevanto.log" + taken),
                 (["-csv=day3.fpl"], "day3.fpl" + taken),  # the plan "day3" is read as day3.fpl
                 (["-csv=out.csv", "-html=out.csv"], "out.csv" + taken),
                 (["-csv=folder"], "folder" + unwritable)]
        if not WINDOWS:
            os.mkfifo(self.box.path("pipe"))
            cases.append((["-html=pipe"], "pipe" + unwritable))
            if os.geteuid() == 0:  # a device of its own, as /dev/null is
                os.mknod(self.box.path("null"), stat.S_IFCHR | 0o666, os.makedev(1, 3))
                cases.append((["-csv=null"], "null" + unwritable))
        for options, message in cases:
            with self.subTest(options=options):
                names = ["Brevanto.ini", "DEFAULT_CHECK.fpl", "day3.fpl", "clean.fpl", "folder",
                         "pipe", "null"]
                before = self.contents(*names)
                r = self.box.run("-nopopup", *options, "clean.fpl", "day3")
                self.assertEqual(r.returncode, 1)
                self.assertTrue(r.report().endswith(message), r.report()[-300:])
                self.assertEqual(self.contents(*names), before)
                self.assertEqual([n for n in os.listdir(self.box.folder) if ".tmp" in n], [])

    def test_a_plan_named_after_the_one_that_stops_the_run_is_not_replaced(self):
        before = self.contents("day3.fpl")
        r = self.box.run("-nopopup", "-csv=day3.fpl", "clean.fpl", "missing.fpl", "day3.fpl")
        self.assertEqual(r.returncode, 1)
        self.assertTrue(r.report().endswith("day3.fpl : a file of this run, not replaced ***\n"))
        self.assertEqual(self.contents("day3.fpl"), before)

    @unittest.skipIf(WINDOWS, "POSIX permission bits")
    def test_a_replaced_output_keeps_its_permission_bits(self):
        for mode in (0o600, 0o640):
            with self.subTest(mode=oct(mode)):
                self.box.write("out.csv", "old")
                os.chmod(self.box.path("out.csv"), mode)
                r = self.box.run("-nopopup", "-csv=out.csv", "clean.fpl")
                self.assertEqual(r.returncode, 0)
                self.assertTrue(csv_text(self.box.path("out.csv")).startswith("plan,"))
                self.assertEqual(stat.S_IMODE(os.stat(self.box.path("out.csv")).st_mode), mode)

    def test_a_name_as_long_as_a_folder_takes(self):
        name = "r" * 246 + ".csv"
        r = self.box.run("-nopopup", "-csv=" + name, "-html=" + name[:-4] + ".htm", "clean.fpl")
        self.assertEqual(r.returncode, 0, r.report()[-200:])
        self.assertTrue(csv_text(self.box.path(name)).startswith("plan,"))
        self.assertTrue(os.path.getsize(self.box.path(name[:-4] + ".htm")) > 0)


class Attribution(SandboxTest):
    rules = "TPHeight3<=1500\nWindSpeed<15\nClass=Club\n"

    def test_a_section_header_ends_the_turnpoint_list_of_the_outputs(self):
        # Without PZCount, the last turnpoint's list ends at "[Weather]": the weather and the
        # glider are no part of the finish, in the CSV or on the map.
        self.box.install()
        plan = flight_plan(tp={3: {"Height": "1800"}}, zones=[{}, {"WindSpeed": "18"}],
                           plane={"Class": "Racing"}).replace("PZCount=0\r\n", "")
        self.box.write("day.fpl", plan)
        r = self.box.run("-nopopup", "-csv=out.csv", "-html=out.html", "day.fpl")
        self.assertEqual(r.returncode, 0)
        rows = csv_text(self.box.path("out.csv")).split("\r\n")[1:]
        self.assertEqual([row.split(",")[2:] for row in rows[:-1]],
                         [["TPHeight3", "1800", "<=", "1500", "violation", "3", ""],
                          ["WindSpeed", "18", "<", "15", "violation", "", "1"],
                          ["Class", "Racing", "'=", "Club", "violation", "", ""]])
        with open(self.box.path("out.html"), "rb") as f:
            page = f.read().decode("utf-8")
        task_map = re.search(r'<svg class="task-map".*?</svg>', page, re.S).group(0)
        self.assertEqual(re.findall(r'class="tp-mark[^"]*bad"', task_map),
                         ['class="tp-mark finish bad"'])
        self.assertEqual(re.findall(r'class="key-mark bad"[^>]*><title>[^<]*</title>([^<]*)<', task_map),
                         ["Class", "WindSpeed[1]"])


@unittest.skipIf(WINDOWS, "POSIX stop signals")
class StopSignals(SandboxTest):
    rules = "WindSpeed<15\n"

    def test_a_stop_signal_during_the_run_leaves_no_temporary_file(self):
        self.box.install()
        with open(self.box.path("many.fpl"), "wb") as f:
            f.write(b"[Weather]\r\nWZCount=1\r\n[WeatherZone0]\r\n" + b"WindSpeed=18\r\n" * 3_000_000)
        for sig in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            with self.subTest(signal=sig.name):
                self.box.write("out.csv", "old")
                proc = self.box.start("-nopopup", "-csv=out.csv", "-html=out.html", "many.fpl")
                deadline = time.monotonic() + 60
                while not [n for n in os.listdir(self.box.folder) if n.endswith(".tmp")]:
                    self.assertIsNone(proc.poll(), "the run ended before it was stopped")
                    self.assertLess(time.monotonic(), deadline)
                    time.sleep(0.01)
                proc.send_signal(sig)
                self.assertEqual(proc.wait(timeout=60), -sig)
                self.assertEqual(sorted(os.listdir(self.box.folder)),
                                 ["Brevanto", "Brevanto.log", "DEFAULT_CHECK.fpl", "many.fpl",
                                  "out.csv"])
                with open(self.box.path("out.csv"), "rb") as f:
                    self.assertEqual(f.read(), b"old")


if __name__ == "__main__":
    unittest.main()
