"""The popups and dialogs of a run as a user meets them, alike on both systems. The Linux build
shows them through zenity, here a stand-in that answers and records what each window was to
say; under Wine the Windows program shows them for real on a virtual display (Xvfb), where
dialog_driver reads each window and answers it. Each case expects the same windows of both."""

import os
import shutil
import subprocess
import unittest

from harness import (INSTALLED_3, WINDOWS, Result, SandboxTest, ZenityStandIn, missing_tool,
                     plan_block, rules_head, shown_name, totals)
from soarix import flight_plan
from wine import WINE

DRIVER = os.environ.get("BREVANTO_DIALOG_DRIVER", "")
PLANS = "Flight plans (*.fpl)|All files (*.*)"
RULES = "Rules files (*.fpl)|All files (*.*)"
LATE = "StartTime : 15.0                       should be: <= 14.5"

DISPLAY = {}  # under Wine: the Xvfb of this module and its display name


def setUpModule():
    if not WINDOWS:
        return
    if not DRIVER or not shutil.which("Xvfb"):
        raise missing_tool("Xvfb and dialog_driver, for the windows shown under Wine")
    # One display for every case: Xvfb says which one it took once it takes clients.
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                               "1024x768x24", "-nolisten", "tcp"], pass_fds=(write_end,),
                              stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                              stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as f:
        number = f.readline().strip()
    if not number:
        server.kill()
        server.wait()
        raise AssertionError("Xvfb did not start")
    DISPLAY.update(server=server, name=":" + number)
    # Without a window manager, Wine waits two seconds at each window's end for one to let the
    # window go: its windows are left unmanaged.
    WINE.reg_add("HKCU\\Software\\Wine\\X11 Driver", "Managed", "N")


def tearDownModule():
    if "server" in DISPLAY:
        DISPLAY["server"].terminate()
        DISPLAY["server"].wait(timeout=30)


def box(title, icon, *lines):
    """A message box as the user reads it."""
    return ("box", title, icon, "\n".join(lines))


def open_dialog(title, folder, filters):
    """An Open dialog: its title, the name of the folder it opens in, the names of its filters
    and whether it has an "Open as read-only" box."""
    return ("open", title, folder, filters, "")


class Answer:
    """What the user does with a window: presses a button, or types names in an Open dialog
    that shows `folder` (a native path), and confirms."""

    def __init__(self, button=None, folder=None, names=()):
        self.button, self.folder, self.names = button, folder, names


OK = Answer("OK")
CANCEL = Answer("Cancel")


def typed(folder, *names):
    return Answer(folder=folder, names=names)


class Screen:
    """Runs the program of a sandbox with the user answering its windows in turn; returns the
    run's result and what each window said."""

    def __init__(self, box):
        self.box = box
        self.runs = 0

    def run(self, args, answers):
        return self._wine(args, answers) if WINDOWS else self._linux(args, answers)

    def _linux(self, args, answers):
        self.runs += 1
        zenity = ZenityStandIn(os.path.join(self.box.root, f"zenity-{self.runs}"))
        for i, answer in enumerate(answers, 1):
            if answer.names:
                paths = [os.path.join(answer.folder, name) for name in answer.names]
                zenity.answer(i, "|".join(paths) + "\n")
            else:
                zenity.answer(i, "", 0 if answer.button == "OK" else 1)
        r = self.box.run(*args, env={"DISPLAY": ":97", "PATH": zenity.folder})
        shown = []
        for call in zenity.calls():
            options = dict(a[2:].split("=", 1) for a in call if "=" in a)
            if call[0] == "--file-selection":
                filters = [a[len("--file-filter="):].split(" | ")[0] for a in call
                           if a.startswith("--file-filter=")]
                # A start path that does not end with "/" proposes a file of its folder.
                folder = os.path.basename(os.path.dirname(options["filename"]))
                shown.append(open_dialog(options["title"], folder, "|".join(filters)))
            else:
                shown.append(box(options.get("title", ""), call[0][2:], options["text"]))
        return r, shown

    def _wine(self, args, answers):
        report = os.path.join(self.box.root, "windows.txt")
        actions = ["type:" + "|".join(a.names) if a.names else "press:" + a.button
                   for a in answers]
        command, executable, env = self.box.command(args)
        env["DISPLAY"] = DISPLAY["name"]
        command = [WINE.loader, DRIVER, WINE.windows_path(report), *actions, "--", *command[1:]]
        proc = subprocess.run(command, executable=executable, cwd=self.box.folder, env=env,
                              stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
        with open(report, "rb") as f:
            records = f.read().decode("utf-8").split("\x1e")[:-1]
        shown = []
        for fields in (record.split("\x1f") for record in records):
            shown.append(tuple(fields[:4]) if fields[0] == "box" else tuple(fields))
        return Result(proc, self.box.folder), shown


class ScreenTest(SandboxTest):
    rules = "StartTime<=14.5\n"

    def setUp(self):
        super().setUp()
        self.prefix = self.box.install()
        self.screen = Screen(self.box)


class PopupModes(ScreenTest):
    def test_each_mode_with_and_without_violations(self):
        self.box.write("good.fpl", flight_plan())
        self.box.write("late.fpl", flight_plan(options={"StartTime": "15.0"}))
        good = ("good.fpl", "No error found")
        late = ("late.fpl", " 1 invalid lines")
        # The summary's icon is the worst of the run.
        cases = [(0, ["good.fpl", "late.fpl"], []),
                 (1, ["good.fpl", "late.fpl"], [box("Vantobre", "error", "", *good, *late)]),
                 (1, ["late.fpl", "good.fpl"], [box("Vantobre", "error", "", *late, *good)]),
                 (2, ["good.fpl", "late.fpl"], [box("Vantobre", "info", *good),
                                                box("Vantobre", "error", *late)]),
                 (3, ["good.fpl", "late.fpl"],
                  [box("Vantobre", "info", *good),
                   box("Vantobre", "error", *late, "-StartTime : 15.0, should be: <= 14.5")]),
                 (4, ["good.fpl", "late.fpl"], [])]
        for mode, plans, expected in cases:
            with self.subTest(mode=mode, plans=plans):
                self.box.write("Brevanto.ini", f"Popup={mode}\n")
                r, shown = self.screen.run(plans, [OK] * len(expected))
                self.assertEqual(r.returncode, 0)
                self.assertEqual(shown, expected)


class Dialogs(ScreenTest):
    def setUp(self):
        super().setUp()
        self.plans = self.prefix.flight_plans(3)
        self.chooser = open_dialog("Brevanto : Select flight plan(s)", "FlightPlans", PLANS)
        self.no_file = box("Error", "error", "No file specification returned")

    def plan(self, name, **options):
        self.box.write(os.path.join(self.plans, name), flight_plan(options=options))
        return self.box.program_path(os.path.join(self.plans, name))

    def test_plans_dialog_cancelled(self):
        r, shown = self.screen.run([], [CANCEL, OK, OK])
        self.assertEqual(r.returncode, 1)
        self.assertEqual(shown, [self.chooser, self.no_file,
                                 box("Vantobre", "error", "*** No input file specified ***")])
        self.assertEqual(r.report(), INSTALLED_3)

    def test_several_plans_in_the_order_chosen(self):
        names = ["Day 2.fpl", "Day 1.fpl", "Day 3.fpl"]
        paths = [self.plan(names[0], StartTime="15.0"), self.plan(names[1]), self.plan(names[2])]
        r, shown = self.screen.run([], [typed(self.plans, *names), OK])
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(paths[0], [LATE], 1)
                         + plan_block(paths[1]) + plan_block(paths[2]) + totals(2, 1))
        answer = "|".join(paths)
        # The console's traces: the dialog's folder and its answer.
        self.assertIn(" C:\\users\\organiser\\Documents\\Soarix3\\FlightPlans\\\n", r.stdout)
        self.assertIn(f" {answer} {len(answer)}\n", r.stdout)
        short = [shown_name(p) for p in paths]
        self.assertEqual(shown, [self.chooser, box(
            "Vantobre", "error", "", short[0], " 1 invalid lines", short[1], "No error found",
            short[2], "No error found")])

    def test_rules_dialog_cancelled_keeps_the_default_rules(self):
        self.box.write("late.fpl", flight_plan(options={"StartTime": "15.0"}))
        r, shown = self.screen.run(["-ask", "late.fpl"], [CANCEL, OK, OK])
        self.assertEqual(r.returncode, 0)
        self.assertEqual(shown, [open_dialog("Brevanto : Select rules file", "run", RULES),
                                 self.no_file,
                                 box("Vantobre", "error", "", "late.fpl", " 1 invalid lines")])

    def test_rules_then_a_plan_named_in_any_script(self):
        self.box.write("club.fpl", "StartTime<=15.5\n")
        name = "\u0141\u00f3d\u017a.fpl"
        path = self.plan(name, StartTime="15.0")
        r, shown = self.screen.run(["-ask"], [typed(self.box.folder, "club.fpl"),
                                              typed(self.plans, name), OK])
        self.assertEqual(r.returncode, 0)
        # The letters Windows-1252 lacks show as "?" in the report and in the popup.
        shown_path = path.replace("\u0141", "?").replace("\u017a", "?")
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(shown_path)
                         + totals(1))
        self.assertEqual(shown, [open_dialog("Brevanto : Select rules file", "run", RULES),
                                 self.chooser,
                                 box("Vantobre", "info", "", shown_name(shown_path),
                                     "No error found")])


if __name__ == "__main__":
    unittest.main()
