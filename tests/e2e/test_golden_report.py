"""A dozen league plans from the benchmark's generator, checked against its 200 rules of every
kind: the report must stay, byte for byte, what the program wrote when they were chosen (see
bench/README.md)."""

import os
import re
import unittest

from harness import SOURCE, SandboxTest, cp1252
from soarix import write_file

GOLDEN = os.path.join(SOURCE, "tests", "data", "golden")


def airspace_file(blocks=120):
    """A landscape's airspace file, with room for the plans' 60 disabled blocks."""
    return "".join(f"AC R\r\nAN Zone {n}\r\n*\r\n" for n in range(blocks))


class GoldenReport(SandboxTest):
    def test_report_of_the_golden_plans(self):
        prefix = self.box.install()
        names = sorted(n for n in os.listdir(GOLDEN) if re.fullmatch(r"p\d+\.fpl", n))
        self.assertEqual(len(names), 12)
        landscapes = set()
        for name in names + ["DEFAULT_CHECK.fpl"]:
            with open(os.path.join(GOLDEN, name), "rb") as f:
                data = f.read()
            self.box.write(name, data)
            landscapes.update(re.findall(rb"^Landscape=(\w+)\r$", data, re.M))
        for landscape in sorted(landscapes):
            name = landscape.decode()
            write_file(os.path.join(prefix.install_dir(3), "Landscapes", name, name + ".air"),
                       airspace_file())

        r = self.box.run("-nopopup", *names)
        with open(os.path.join(GOLDEN, "report.txt"), "rb") as f:
            expected = cp1252(f.read())
        self.assertEqual(r.returncode, 0)
        self.assertEqual(r.stderr, "")
        self.assertEqual(r.report(), expected)


if __name__ == "__main__":
    unittest.main()
