"""Start-up of the program: settings file, command line, report log, console window."""

import os
import re
import unittest

from harness import WINDOWS, SandboxTest

USAGE = "[-v] [-help] [-nopopup] [-en][-fr] [-oklines] file(s)"
DATE_LINE = re.compile(r"^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\n\n$")


class StartUp(SandboxTest):
    def settings_line(self, result):
        lines = [l for l in result.stdout.splitlines() if l.startswith(" npopup,qverb,qoklines")]
        self.assertEqual(len(lines), 1, result.stdout)
        return lines[0]

    def test_defaults_without_settings_file(self):
        result = self.box.run("-nopopup")
        self.assertIn(" CREATE Brevanto.log 0\n", result.stdout)
        self.assertIn(" Nvers  0 1810\n", result.stdout)
        self.assertEqual(self.settings_line(result), " npopup,qverb,qoklines 0 F F")

    def test_settings_keys(self):
        self.box.write("Brevanto.ini", "# settings\nVersion=1800\nPopup=2\nverbose=1\nOKlines=Y\n",
                       crlf=True)
        result = self.box.run("-keep")
        self.assertIn(" Nvers  1800 1810\n", result.stdout)
        self.assertEqual(self.settings_line(result), " npopup,qverb,qoklines 2 T T")

    def test_failed_number_stops_the_reading(self):
        self.box.write("Brevanto.ini", "OKlines=1\nPopup=x\nverbose=yes\n")
        result = self.box.run()
        self.assertEqual(self.settings_line(result), " npopup,qverb,qoklines 0 F T")

    def test_options_override_settings_in_their_order(self):
        self.box.write("Brevanto.ini", "Popup=2\n")
        result = self.box.run("plan.fpl", "-nopopup", "-oklines")
        self.assertEqual(self.settings_line(result), " npopup,qverb,qoklines 0 F T")

    def test_help_shows_usage_and_stops_with_status_0(self):
        result = self.box.run("plan.fpl", "-help", "-x")
        self.assertEqual(result.returncode, 0)
        self.assertIn(" Usage :\n " + self.box.exe + " " + USAGE + "\n", result.stdout)
        self.assertNotIn("npopup,qverb,qoklines", result.stdout)
        self.assertRegex(result.log(), DATE_LINE)

    def test_unrecognised_option_stops_with_status_1(self):
        result = self.box.run("plan.fpl", "-nopopups")
        self.assertEqual(result.returncode, 1)
        self.assertIn(" -nopopups : unrecognized option\n " + self.box.exe + " " + USAGE + "\n",
                      result.stdout)
        self.assertRegex(result.log(), DATE_LINE)
        self.assertEqual(result.stderr, "")  # no popup

    def test_settings_file_beside_the_executable(self):
        self.box.write("Brevanto.ini", "Popup=3\n")
        elsewhere = os.path.join(self.box.root, "elsewhere")
        os.mkdir(elsewhere)
        self.box.write(os.path.join(elsewhere, "Brevanto.ini"), "Popup=2\n")
        result = self.box.run("-keep", cwd=elsewhere)
        self.assertEqual(self.settings_line(result), " npopup,qverb,qoklines 3 F F")
        self.assertTrue(os.path.exists(os.path.join(elsewhere, "Brevanto.log")))

    def test_bare_name_reads_the_current_folder_and_keeps_the_console(self):
        self.box.write("Brevanto.ini", "Popup=3\n")
        elsewhere = os.path.join(self.box.root, "elsewhere")
        os.mkdir(elsewhere)
        self.box.write(os.path.join(elsewhere, "Brevanto.ini"), "Popup=2\n")
        result = self.box.run(argv0="Brevanto", cwd=elsewhere)
        self.assertEqual(self.settings_line(result), " npopup,qverb,qoklines 2 F F")
        self.assertNotIn("nb proc", result.stdout)

    def test_console_of_its_own_is_hidden_unless_kept(self):
        result = self.box.run()
        # Wine gives a program whose output goes to pipes no console at all.
        self.assertIn(f"nb proc {0 if WINDOWS else 1}\nI'm the last one!\n", result.stdout)
        for keep in ("-keep", "-v"):
            self.assertNotIn("nb proc", self.box.run(keep).stdout)

    def test_journal_that_cannot_be_written(self):
        os.mkdir(self.box.path("Brevanto.log"))  # not even root can write a file there
        result = self.box.run("-help")
        self.assertRegex(result.stdout, r" CREATE Brevanto.log [1-9]\d*\n")
        self.assertIn(" Usage :\n", result.stdout)
        self.assertEqual(result.returncode, 0)


if __name__ == "__main__":
    unittest.main()
