"""Inputs of any size: files of 100 MB, made of ordinary lines or of one line, and a plan of a
million violations are checked in bounded memory, the CSV export and the HTML report made as the
run goes; lines past 2^31 keep their numbers; 10,000 plans and a dialog answer of 10 MB take time
in proportion to their size; a long run without a writable folder loses no report line and
writes nothing."""

import os
import subprocess
import tempfile
import time
import unittest

from harness import (INSTALLED_3, WINDOWS, SandboxTest, changes, missing_tool, plan_block,
                     rules_head, sanitized, skipped_block, totals)
from soarix import flight_plan

MIB = 1 << 20
GNU_TIME = "/usr/bin/time"
PEAK_KIB = 16 * 1024
# Ten times the input may cost ten times the time, with room for the noise of a loaded machine:
# work in proportion to the square of the input would cost a hundred times.
LINEAR = 25


def write_parts(path, size, *parts):
    """Writes the parts in turn: bytes once, a one-item list repeated up to `size` bytes."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        for part in parts:
            if isinstance(part, bytes):
                f.write(part)
                continue
            chunk = part[0] * max(1, (1 << 16) // len(part[0]))
            for _ in range(max(1, size // len(chunk))):
                f.write(chunk)


@unittest.skipIf(WINDOWS, "under Wine the peak memory measured is Wine's own; the readers are the "
                          "Linux build's code")
class HugeFiles(SandboxTest):
    """Each file the program reads, with 100 MB of ordinary lines and one line of 100 MB (10 MB
    each under AddressSanitizer, whose memory figures are not the program's: there only the run
    is checked)."""

    rules = "ThermalsInversionheight<=BASE+5000\nTPHeight1<=1500\n"

    def setUp(self):
        super().setUp()
        if not sanitized() and not os.path.exists(GNU_TIME):
            raise missing_tool(GNU_TIME + " (package time), which measures the peak memory")
        self.prefix = self.box.install()
        self.box.write("day.fpl", flight_plan())
        self.size = 10 * MIB if sanitized() else 100 * MIB

    def check(self, files, plans=("day.fpl",), report=None):
        """Writes `files` ({path: parts}), checks `plans` with the CSV export and the HTML report
        and compares the report; the peak memory stays under 16 MiB."""
        for path, parts in files.items():
            write_parts(path, self.size, *parts)
        peak_file = os.path.join(self.box.root, "peak")
        command = [self.box.exe, "-nopopup", "-csv=out.csv", "-html=out.html", *plans]
        if not sanitized():
            command = [GNU_TIME, "-o", peak_file, "-f", "%M"] + command
        proc = subprocess.run(command, cwd=self.box.folder, env=self.box.full_env(),
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, timeout=900)
        for path in files:
            os.remove(path)
        self.assertEqual(proc.returncode, 0, proc.stderr[-500:])
        with open(self.box.path("Brevanto.log"), "rb") as f:
            log = f.read().decode("cp1252")
        expected = report or (INSTALLED_3 + rules_head(2)
                              + "".join(plan_block(p) for p in plans) + totals(len(plans)))
        self.assertTrue(log.endswith("\n\n" + expected), log[-300:])
        with open(self.box.path("out.html"), "rb") as f:
            self.assertTrue(f.read().endswith(b"</html>\n"))
        self.peak_below_16_mib(peak_file)

    def peak_below_16_mib(self, peak_file):
        if not sanitized():
            with open(peak_file) as f:
                peak = int(f.read().split()[-1])
            self.assertLess(peak, PEAK_KIB, f"peak memory {peak} KiB")

    def test_plans_of_many_lines_and_of_one_line(self):
        plan = flight_plan().encode("cp1252")
        self.check({self.box.path("lines.fpl"): [plan, [b"TPName2=TP2\r\nTPRadius2=1000\r\n"]],
                    self.box.path("line.fpl"): [plan + b"DisabledAirspaces=", [b"1234,"],
                                                b"\r\n"]},
                   plans=("lines.fpl", "line.fpl"))

    def test_the_rules_file(self):
        # The rule's value is cut at 80 characters, where the plan's class breaks it.
        report = INSTALLED_3 + rules_head(3) + plan_block("day.fpl", [
            "Class : Standard".ljust(39) + "should be: = " + "x" * 80], 1) + totals(0, 1)
        self.check({self.box.path("DEFAULT_CHECK.fpl"): [
            self.rules.encode() + b"Class=", [b"x"], b"\n", [b"# a comment\n"]]}, report=report)

    def test_the_settings_file(self):
        # "OKlines" read from its line of 100 MB: every satisfied rule is reported.
        report = INSTALLED_3 + rules_head(2) + plan_block("day.fpl", [
            "TPHeight1 : OK", "ThermalsInversionheight : OK", "ThermalsInversionheight : OK"])
        report += totals(1)
        self.check({self.box.path("Brevanto.ini"): [
            b"OKlines=", [b"1"], b"\n", [b"# a comment\n"]]}, report=report)

    def test_the_registry_file(self):
        user_reg = os.path.join(self.prefix.folder, "user.reg")
        with open(user_reg, "rb") as f:
            hive = f.read()
        self.check({user_reg: [hive + b'\n[Software\\\\Soarix3] 1\n"Junk"="', [b"x"], b'"\n',
                               b"[Software\\\\Other] 1\n", [b'"Name"="value"\n']]})

    def test_the_airspace_file(self):
        air = os.path.join(self.prefix.install_dir(3), "Landscapes", "Alps", "Alps.air")
        self.check({air: [b"AN ", [b"x"], b"\r\n", [b"AC R\r\nAN Zone\r\n*\r\n"]]})

    def test_a_plan_of_a_million_violations(self):
        # Every finding reaches the CSV; the page shows the first 200 and says how many more.
        count = 100_000 if sanitized() else 1_000_000
        with open(self.box.path("many.fpl"), "wb") as f:
            f.write(b"[Weather]\r\nWZCount=1\r\n[WeatherZone0]\r\n"
                    + b"ThermalsInversionheight=90000\r\n" * count)
        peak_file = os.path.join(self.box.root, "peak")
        command = [self.box.exe, "-nopopup", "-csv=out.csv", "-html=out.html", "many.fpl"]
        if not sanitized():
            command = [GNU_TIME, "-o", peak_file, "-f", "%M"] + command
        proc = subprocess.run(command, cwd=self.box.folder, env=self.box.full_env(),
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.PIPE, timeout=900)
        self.assertEqual(proc.returncode, 0, proc.stderr[-500:])
        with open(self.box.path("Brevanto.log"), "rb") as f:
            f.seek(-300, os.SEEK_END)
            self.assertTrue(f.read().decode("cp1252").endswith(
                f" \n{count} invalid lines\n \n" + totals(0, 1)))
        with open(self.box.path("out.csv"), "rb") as f:
            self.assertEqual(sum(1 for _ in f), 1 + count)
        with open(self.box.path("out.html"), "rb") as f:
            page = f.read().decode("utf-8")
        self.assertEqual(page.count('<td class="report">'), 200)
        self.assertIn(f"... and {count - 200} more (see the log)", page)
        self.peak_below_16_mib(peak_file)


@unittest.skipIf(WINDOWS or sanitized(), "a plan of 2^31 lines: a minute's check by the Linux "
                                         "build, ten under the sanitizers")
class LinesPast2To31(SandboxTest):
    rules = "WindSpeed<15\n"

    def test_a_line_past_2_to_31_keeps_its_number(self):
        self.box.install()
        blank_lines = (1 << 31) + 5
        with open(self.box.path("long.fpl"), "wb") as f:
            f.write(b"[Weather]\n")
            chunk = b"\n" * (1 << 24)
            for _ in range(blank_lines // len(chunk)):
                f.write(chunk)
            f.write(b"\n" * (blank_lines % len(chunk)) + b"WindSpeed=18\n")
        r = self.box.run("-nopopup", "-csv=out.csv", "long.fpl", timeout=900)
        os.remove(self.box.path("long.fpl"))
        self.assertEqual(r.returncode, 0)
        with open(self.box.path("out.csv"), "rb") as f:
            self.assertEqual(f.read().decode("utf-8-sig").split("\r\n")[1:],
                             [f"long.fpl,{blank_lines + 2},WindSpeed,18,<,15,violation,,", ""])


class Measured:
    """A run to its end, with the processor time it used (not the wall time, which a loaded
    machine stretches)."""

    def __init__(self, box, *args, cwd=None, timeout=200):
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            proc = box.start(*args, cwd=cwd or box.folder, stdout=out, stderr=err)
            deadline = time.monotonic() + timeout
            while True:
                pid, status, usage = os.wait4(proc.pid, os.WNOHANG)
                if pid != 0:
                    break
                if time.monotonic() > deadline:
                    proc.kill()
                    proc.wait()
                    raise AssertionError(f"still running after {timeout} s")
                time.sleep(0.01)
            proc.returncode = self.returncode = os.waitstatus_to_exitcode(status)
            out.seek(0)
            err.seek(0)
            self.stdout = out.read().decode("cp1252")
            self.stderr = err.read().decode("cp1252")
        self.cpu = usage.ru_utime + usage.ru_stime


def without_create(stdout):
    return [line for line in stdout.split("\n") if not line.startswith(" CREATE ")]


@unittest.skipIf(WINDOWS, "a Windows command line holds at most 32,767 characters: 10,000 plans do "
                          "not fit")
class ManyPlans(SandboxTest):
    rules = "TPHeight1<=1500\n"

    def test_ten_thousand_plans_with_and_without_a_writable_folder(self):
        self.box.install()
        bad = ["TPHeight1 : 1800".ljust(39) + "should be: <= 1500"]
        texts = {True: flight_plan(tp={1: {"Height": "1800"}}), False: flight_plan()}
        plans, blocks = [], []
        for i in range(10000):
            heavy = i % 7 == 0
            plans.append(self.box.write(f"plans/p{i:05d}.fpl", texts[heavy]))
            blocks.append(plan_block(plans[-1], bad if heavy else (), 1 if heavy else 0))

        first = Measured(self.box, "-nopopup", *plans[:1000])
        every = Measured(self.box, "-nopopup", *plans)
        self.assertEqual((first.returncode, every.returncode), (0, 0))
        with open(self.box.path("Brevanto.log"), "rb") as f:
            log = f.read().decode("cp1252")
        heavy = (10000 + 6) // 7
        self.assertTrue(log.endswith("\n\n" + INSTALLED_3 + rules_head(1) + "".join(blocks)
                                     + totals(10000 - heavy, heavy)))
        self.assertLess(every.cpu, LINEAR * first.cpu, (first.cpu, every.cpu))

        # /proc: a folder where not even root can create a file.
        before = self.box.snapshot()
        blind = Measured(self.box, "-nopopup", *plans, cwd="/proc")
        self.assertEqual(blind.returncode, 0)
        self.assertEqual(blind.stderr, "")
        self.assertEqual(without_create(blind.stdout), without_create(every.stdout))
        self.assertEqual(changes(before, self.box.snapshot()), [])


@unittest.skipIf(WINDOWS, "the plans dialog is answered by a stand-in zenity")
class LongDialogAnswer(SandboxTest):
    """The plans dialog answering with 10 MB: many names, or one name of many folders."""

    rules = "TPHeight1<=1500\n"

    def test_an_answer_of_ten_megabytes(self):
        prefix = self.box.install()
        zenity = self.box.zenity()
        plan = self.box.write(os.path.join(prefix.flight_plans(3), "day.fpl"), flight_plan())
        other = "x" * 100 + ".txt"
        cpu = {}
        for size in (MIB, 10 * MIB):
            count = size // (len(other) + 1)
            zenity.answer(0, "|".join([plan] + [other] * count) + "\n")
            many = Measured(self.box)
            self.assertEqual(many.returncode, 0, many.stderr[-300:])
            self.assertEqual(many.stdout.count(other + " : not a Soarix flight plan, skipped\n"),
                             count)
            with open(self.box.path("Brevanto.log"), "rb") as f:
                self.assertTrue(f.read().decode("cp1252").endswith(
                    plan_block(plan) + "".join(skipped_block(other) for _ in range(count))
                    + totals(1, skipped=count)))

            folders = "/nowhere" + "/x" * (size // 2) + ".fpl"
            zenity.answer(0, folders + "\n")
            one = Measured(self.box, "-nopopup")
            self.assertEqual(one.returncode, 1)  # the plan cannot be opened: a fatal stop
            self.assertIn(folders + "\ncannot be opened\n", one.stdout)
            cpu[size] = (many.cpu, one.cpu)
        for small, large in zip(cpu[MIB], cpu[10 * MIB]):
            self.assertLess(large, LINEAR * max(small, 0.01), cpu)


if __name__ == "__main__":
    unittest.main()
