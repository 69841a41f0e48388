"""Plans and rules files as other programs write them: lines ending in CR CR LF or in a lone CR,
a UTF-8 byte-order mark, UTF-8 text. Each is read as the same file in the simulator's own format
(CR LF, Windows-1252) would be."""

import unittest

from harness import INSTALLED_3, SandboxTest, plan_block, rules_head, totals
from soarix import flight_plan

CONVERTED = " : UTF-8 text, converted to Windows-1252"


class LineEnds(SandboxTest):
    # A "|" rule needs the plan's Count, a section-qualified rule its "[Task]" header, a BASE
    # rule the plan's model (read before the check).
    rules = "TPRadius|<=2000\n[Task]Count>=5\nTPAltitude|<=BASE-2000\n"

    def test_every_kind_of_line_end_gives_the_same_violations(self):
        self.box.install()
        plan = flight_plan(count=4).replace("\r\n", "\n")
        ends = {"lf.fpl": "\n", "crcrlf.fpl": "\r\r\n", "cr.fpl": "\r"}
        for name, end in ends.items():
            self.box.write(name, plan.replace("\n", end))
        r = self.box.run("-nopopup", *ends)
        self.assertEqual(r.returncode, 0, r.stderr)
        lines = ["Count : 4".ljust(39) + "should be: >= 5",
                 "TPRadius3 : 3000".ljust(39) + "should be: <= 2000",
                 "TPAltitude3 : 1500".ljust(39) + "should be: <= BASE-2000 (325)"]
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(3)
                         + "".join(plan_block(name, lines, 3) for name in ends)
                         + totals(invalid=3))


class Utf8Files(SandboxTest):
    def test_a_byte_order_mark_and_utf8_text_read_as_windows_1252(self):
        self.box.install()
        # The rules: UTF-8 with a mark, the first rule right after it. The plans: one in UTF-8,
        # one in the simulator's Windows-1252, the same text.
        self.box.write("DEFAULT_CHECK.fpl", "\ufeffTPName1=Pr\u00e9 \u0152\r\nTPName2=Col\r\n"
                       .encode("utf-8"))
        names = {1: "Pr\u00e9 \u0152", 2: "C\u00f4te \u4e2d"}
        text = flight_plan(tp={i: {"Name": name} for i, name in names.items()})
        self.box.write("utf8.fpl", text.encode("utf-8"))
        self.box.write("cp1252.fpl", text.replace("\u4e2d", "?").encode("cp1252"))
        r = self.box.run("-nopopup", "utf8.fpl", "cp1252.fpl")
        self.assertEqual(r.returncode, 0, r.stderr)
        # The character that Windows-1252 lacks is "?"; the log holds Windows-1252 bytes.
        line = ["TPName2 : C\u00f4te ?".ljust(39) + "should be: = Col"]
        self.assertEqual(r.report(), INSTALLED_3 + rules_head(2) + plan_block("utf8.fpl", line, 1)
                         + plan_block("cp1252.fpl", line, 1) + totals(invalid=2))
        self.assertIn(b"\nTPName2 : C\xf4te ?", r.log_bytes())
        said = [s for s in r.stdout.split("\n") if s.endswith(CONVERTED)]
        self.assertEqual(len(said), 2, said)
        self.assertTrue(said[0].startswith(" ") and said[0].endswith("DEFAULT_CHECK.fpl" + CONVERTED),
                        said[0])
        self.assertEqual(said[1], " utf8.fpl" + CONVERTED)


if __name__ == "__main__":
    unittest.main()
