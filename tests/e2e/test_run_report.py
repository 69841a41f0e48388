"""A completed run over plans named on the command line: the report log, the popups of each
popup mode, the language of the messages, and the limits of the popup texts."""

import unittest

from harness import INSTALLED_3, WINDOWS, SandboxTest, plan_block, popup, rules_head, totals
from soarix import flight_plan

RULES = """# Club class
TPHeight1<=1500
StartTime<=14.5
WindSpeed<15
Class=Club;Standard
"""

BAD_LINES = [
    "TPHeight1 : 1800                       should be: <= 1500",
    "StartTime : 15.0                       should be: <= 14.5",
    "WindSpeed[1] : 18                      should be: < 15",
    "Class : Racing                         should be: = Club;Standard",
]
BAD_POPUP_LINES = [
    "-TPHeight1 : 1800, should be: <= 1500",
    "-StartTime : 15.0, should be: <= 14.5",
    "-WindSpeed[1] : 18, should be: < 15",
    "-Class : Racing, should be: = Club;Standard",
]


def bad_plan():
    return flight_plan(tp={1: {"Height": "1800"}}, options={"StartTime": "15.0"},
                       zones=[{}, {"WindSpeed": "18"}], plane={"Class": "Racing"})


class CommandLinePlans(SandboxTest):
    rules = RULES

    def setUp(self):
        super().setUp()
        self.box.install()
        self.box.write("clean.fpl", flight_plan())
        self.box.write("bad.fpl", bad_plan())

    def test_accented_native_name_is_shown_in_windows_1252(self):
        # Linux spells file names in UTF-8; the log and the popups hold Windows-1252 texts.
        # Output to a pipe: UTF-8 by the locale on Linux, the program's bytes on Windows.
        name = "\u00c9tape 1.fpl"
        self.box.write(name, flight_plan())
        r = self.box.run(name.encode("utf-8"), env={"LC_ALL": "C.UTF-8"})
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(4) + plan_block(name) + totals(1))
        self.assertIn(b"\n\xc9tape 1.fpl\n", r.log_bytes())
        piped = "cp1252" if WINDOWS else "utf-8"
        self.assertIn("\n" + name + "\n", r.stdout_bytes.decode(piped))
        self.assertEqual(r.stderr_bytes.decode(piped),
                         "Vantobre [info]\n\n" + name + "\nNo error found\n")

    def test_report_log_and_popups_of_each_popup_mode(self):
        report = (INSTALLED_3 + rules_head(4) + plan_block("clean.fpl")
                  + plan_block("bad.fpl", BAD_LINES, 4) + plan_block("clean.fpl") + totals(2, 1))
        per_plan = (popup("info", "clean.fpl", "No error found")
                    + popup("error", "bad.fpl", " 4 invalid lines")
                    + popup("info", "clean.fpl", "No error found"))
        listed = (popup("info", "clean.fpl", "No error found")
                  + popup("error", "bad.fpl", " 4 invalid lines", *BAD_POPUP_LINES)
                  + popup("info", "clean.fpl", "No error found"))
        # The summary's severity is the worst of the run, whatever the last plan's.
        summary = popup("error", "", "clean.fpl", "No error found", "bad.fpl", " 4 invalid lines",
                        "clean.fpl", "No error found")
        cases = [("-nopopup", None, ""), ("default", None, summary), ("Popup=1", "1", summary),
                 ("Popup=2", "2", per_plan), ("Popup=3", "3", listed), ("Popup=0", "0", ""),
                 ("Popup=4", "4", "")]
        for name, setting, stderr in cases:
            with self.subTest(mode=name):
                if setting is not None:
                    self.box.write("Brevanto.ini", f"Popup={setting}\n")
                options = ["-nopopup"] if name == "-nopopup" else []
                r = self.box.run(*options, "clean.fpl", "bad.fpl", "clean.fpl")
                self.assertEqual(r.returncode, 0)
                self.assertEqual(r.report(), report)
                self.assertEqual(r.stderr, stderr)

    def test_summary_is_an_error_when_the_last_plan_has_violations(self):
        r = self.box.run("clean.fpl", "bad.fpl")
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.stderr, popup("error", "", "clean.fpl", "No error found", "bad.fpl",
                                         " 4 invalid lines"))

    def test_counts_of_100_and_more_are_written_whole(self):
        self.box.write("DEFAULT_CHECK.fpl", "Penalty*<0\n")  # the log and the summary alike
        for count in (99, 100, 1234):
            with self.subTest(count=count):
                # The plan's two penalties and count - 2 more, each against the rule.
                self.box.write("many.fpl", flight_plan(options={
                    f"Penalty{n}": "5" for n in range(count - 2)}))
                r = self.box.run("many.fpl")
                line = f"{count:2d} invalid lines"
                self.assertIn(f"\n \n{line}\n \n", r.report()[-300:])
                self.assertEqual(r.stderr, popup("error", "", "many.fpl", line))

    def test_ok_lines_follow_the_plan_and_the_rules_order(self):
        r = self.box.run("-oklines", "-nopopup", "clean.fpl", "bad.fpl")
        ok = ["TPHeight1 : OK", "StartTime : OK", "WindSpeed : OK", "WindSpeed : OK",
              "Class : OK"]
        bad = [BAD_LINES[0], BAD_LINES[1], "WindSpeed : OK", BAD_LINES[2], BAD_LINES[3]]
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(4) + plan_block("clean.fpl", ok)
                         + plan_block("bad.fpl", bad, 4) + totals(1, 1))
        self.assertEqual(r.returncode, 0)

    def test_finish_rules_follow_each_plans_turnpoint_count(self):
        self.box.write("DEFAULT_CHECK.fpl", "FinishMaxAlt<=2000\nTPRadius|<=2000\n")
        self.box.write("six.fpl", flight_plan(count=6, tp={5: {"Height": "2500"}}))
        self.box.write("four.fpl", flight_plan(count=4, tp={3: {"Height": "2100"}}))
        r = self.box.run("-nopopup", "six.fpl", "four.fpl", "six.fpl")
        six = plan_block("six.fpl", [
            "TPRadius5 : 3000                       should be: <= 2000",
            "TPHeight5 : 2500                       should be: <= 2000"], 2)
        four = plan_block("four.fpl", [
            "TPRadius3 : 3000                       should be: <= 2000",
            "TPHeight3 : 2100                       should be: <= 2000"], 2)
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(2) + six + four + six + totals(0, 3))

    def test_options_among_the_plans_are_skipped(self):
        r = self.box.run("clean.fpl", "-v", "-nopopup", "bad.fpl")
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(4) + plan_block("clean.fpl")
                         + plan_block("bad.fpl", BAD_LINES, 4) + totals(1, 1))
        self.assertIn(" Qfinish  F\n", r.stdout)  # verbose
        self.assertEqual(r.returncode, 0)


FRENCH_BAD_LINES = [line.replace("should be: ", "devrait \u00eatre : ") for line in BAD_LINES]
FRENCH_POPUP_LINES = [line.replace(", should be: ", ", devrait \u00eatre : ")
                      for line in BAD_POPUP_LINES]


class Languages(SandboxTest):
    rules = RULES

    def setUp(self):
        super().setUp()
        self.box.install()
        self.box.write("bad.fpl", bad_plan())
        self.box.write("clean.fpl", flight_plan())
        self.box.write("Brevanto.ini", "Popup=3\n")

    def test_french_by_locale(self):
        r = self.box.run("bad.fpl", "clean.fpl", env={"LC_ALL": "fr_FR"})
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(4, french=True)
                         + plan_block("bad.fpl", FRENCH_BAD_LINES, 4, french=True)
                         + plan_block("clean.fpl", french=True) + totals(1, 1, french=True))
        # Without UTF-8 in the locale, the console gets the program's own bytes.
        self.assertEqual(r.stderr_bytes, (popup("error", "bad.fpl", " 4 lignes incorrectes",
                                                *FRENCH_POPUP_LINES)
                                          + popup("info", "clean.fpl", "Pas d'erreur"))
                         .encode("cp1252"))
        self.assertIn(" 4  contraintes \xe0 v\xe9rifier\n".encode("cp1252"), r.stdout_bytes)
        self.assertEqual(r.returncode, 0)

    @unittest.skipIf(WINDOWS, "the Windows program writes its own bytes to a pipe, as to a file")
    def test_utf8_locale_converts_the_console_but_not_the_log(self):
        r = self.box.run("bad.fpl", env={"LC_ALL": "fr_CA.UTF-8"})
        self.assertEqual(r.stderr_bytes, popup("error", "bad.fpl", " 4 lignes incorrectes",
                                               *FRENCH_POPUP_LINES).encode("utf-8"))
        self.assertIn(" 4  contraintes \u00e0 v\u00e9rifier\n".encode("utf-8"), r.stdout_bytes)
        self.assertIn(b"TPHeight1 : 1800                       devrait \xeatre : <= 1500\n",
                      r.log_bytes())

    def test_a_terminal_shows_the_accents(self):
        # On Windows a console has a code page of its own, where Windows-1252 bytes are other
        # letters ("\xe0" a Greek alpha); Wine's console shows its text in the locale's UTF-8.
        shown = self.box.run_on_terminal("-nopopup", "-fr", "bad.fpl", env={"LC_ALL": "C.UTF-8"})
        self.assertIn(" 4  contraintes \u00e0 v\u00e9rifier".encode("utf-8"), shown)

    def test_options_choose_the_messages_and_the_locale_the_see_file_text(self):
        # Many violations: the popup's list ends with the see-file text.
        self.box.write("DEFAULT_CHECK.fpl", "Penalty*>=1000\nTPPos*>=100000\n")
        cases = [("-fr", "C", "devrait \u00eatre : ", " lignes incorrectes",
                  "... See file Brevanto.log"),
                 ("-en", "fr_FR", "should be: ", " invalid lines",
                  "... Voir le fichier Brevanto.log")]
        for option, locale, should_be, invalid, see in cases:
            with self.subTest(option=option):
                r = self.box.run(option, "clean.fpl", env={"LC_ALL": locale})
                lines = r.stderr.split("\n")
                self.assertEqual(lines[:4], ["Vantobre [error]", "clean.fpl",
                                             "14" + invalid,
                                             "-TPPosX0 : 10000.0, " + should_be + ">= 100000"])
                self.assertEqual(lines[-2:], [see, ""])
                self.assertIn("\nPenaltyPlaneRecovery : 0 ", r.log())


class PopupLimits(SandboxTest):
    """What the popups leave out: the violations beyond the room of a plan's popup, the plans
    beyond the room of the summary, and the middle of a long name."""

    rules = "Penalty*>=1000\nTPPos*>=100000\n"

    def setUp(self):
        super().setUp()
        self.box.install()

    def test_violation_list_ends_with_the_see_file_text_when_full(self):
        self.box.write("clean.fpl", flight_plan())
        self.box.write("Brevanto.ini", "Popup=3\n")
        r = self.box.run("clean.fpl")
        listed = []
        for i, x in enumerate(["10000.0", "15000.0", "20000.0", "25000.0"]):
            listed += [f"-TPPosX{i} : {x}, should be: >= 100000",
                       f"-TPPosY{i} : 0.0, should be: >= 100000",
                       f"-TPPosZ{i} : 450.0, should be: >= 100000"]
        # Ten lines fit; the eleventh would pass the room left by the name (9 characters).
        self.assertEqual(r.stderr, popup("error", "clean.fpl", "14 invalid lines", *listed[:10],
                                         "... See file Brevanto.log"))
        # The log has them all.
        self.assertIn("TPPosZ3 : 450.0                        should be: >= 100000\n"
                      "PenaltyCloudFlying : 60                should be: >= 1000\n"
                      "PenaltyPlaneRecovery : 0               should be: >= 1000\n", r.log())
        self.assertEqual(r.returncode, 0)

    def test_violation_list_counts_a_slash_once(self):
        self.box.write("DEFAULT_CHECK.fpl", "K=x\n")
        self.box.write("Brevanto.ini", "Popup=3\n")
        self.box.write("slashes.fpl", "[Task]\n" + ("K=" + "/" * 30 + "\n") * 20)
        self.box.write("under.fpl", "[Task]\n" + ("K=" + "_" * 30 + "\n") * 20)
        r = self.box.run("slashes.fpl", "under.fpl")
        # Lines of 50 characters: seven fit in the room the names leave.
        self.assertEqual(r.stderr, "".join(
            popup("error", name, "20 invalid lines",
                  *[f"-K : {c * 30}, should be: = x"] * 7, "... See file Brevanto.log")
            for name, c in (("slashes.fpl", "/"), ("under.fpl", "_"))))

    def summary_of_clean_plans(self, names, *options, env=None):
        self.box.write("DEFAULT_CHECK.fpl", "Water=0\n")
        for name in names:
            self.box.write(name, flight_plan())
        return self.box.run(*options, *names, env=env)

    def test_summary_ends_with_the_see_file_text_when_full(self):
        names = [f"day{n:02d}.fpl" for n in range(1, 21)]
        # Each plan takes 25 characters: the nineteenth is the last that leaves room for
        # the see-file text.
        r = self.summary_of_clean_plans(names)
        listed = [t for name in names[:19] for t in (name, "No error found")]
        self.assertEqual(r.stderr, popup("info", "", *listed, "... See file Brevanto.log"))
        self.assertEqual(r.report().count("No error found"), 20)
        # The French see-file text (by the locale) is longer: one plan less.
        r = self.summary_of_clean_plans(names, "-en", env={"LC_ALL": "fr_FR"})
        listed = [t for name in names[:18] for t in (name, "No error found")]
        self.assertEqual(r.stderr, popup("info", "", *listed, "... Voir le fichier Brevanto.log"))

    def test_summary_room_counts_a_slash_once(self):
        names = [f"plans/day{n:02d}.fpl" for n in range(1, 18)]
        # 31 characters a plan: fifteen fit.
        r = self.summary_of_clean_plans(names)
        listed = [t for name in names[:15] for t in (name, "No error found")]
        self.assertEqual(r.stderr, popup("info", "", *listed, "... See file Brevanto.log"))

    def test_names_longer_than_62_characters_are_shortened_in_popups(self):
        self.box.write("DEFAULT_CHECK.fpl", "Water=0\n")
        n62 = "cup-2026/club/day-3-sisteron-digne-seyne-abcdefghijklmnopq.fpl"
        n63 = "cup-2026/club/day-3-sisteron-digne-seyne-abcdefghijklmnopqr.fpl"
        n80 = "cup-2026/club/day-4-sisteron-digne-seyne-barcelonnette-ubaye-gap-vercors-die.fpl"
        bare = "cup-2026/club/day-5-sisteron-digne-seyne-barcelonnette-gap-vercors"  # 66
        for name in (n62, n63, n80, bare + ".fpl"):
            self.box.write(name, flight_plan())
        self.box.write("Brevanto.ini", "Popup=2\n")
        r = self.box.run(n62, n63, n80, bare)
        # The first 10 characters, "..." and the last 49 (of a bare name, without ".fpl").
        shown = [n62, "cup-2026/c...day-3-sisteron-digne-seyne-abcdefghijklmnopqr.fpl",
                 "cup-2026/c...gne-seyne-barcelonnette-ubaye-gap-vercors-die.fpl",
                 "cup-2026/c...-5-sisteron-digne-seyne-barcelonnette-gap-vercors"]
        self.assertEqual(r.stderr, "".join(popup("info", name, "No error found")
                                           for name in shown))
        # The log keeps every name whole.
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(1) + plan_block(n62)
                         + plan_block(n63) + plan_block(n80) + plan_block(bare + ".fpl") + totals(4))


if __name__ == "__main__":
    unittest.main()
