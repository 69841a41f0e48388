"""The HTML report of the example as a person sees it: rendered by headless Chromium, it holds one
map per plan with a mark per turnpoint and the violations in red, and it makes a picture.
Skipped where Chromium is not installed (CI installs it)."""

import os
import shutil
import struct
import subprocess
import tempfile
import unittest
from html.parser import HTMLParser

from harness import SandboxTest, missing_tool

CHROMIUM = shutil.which("chromium") or shutil.which("chromium-browser")

# Per plan: turnpoint marks (Count), red marks (turnpoints and keys with violations).
EXPECTED = {
    "1. Day1_Sisteron_Digne.fpl": (5, 0),
    "2. Day2_Digne_Seyne.fpl": (5, 4),    # start (TPWidth1), TP2 (TPRadius2), StartTime, AllowPDA
    "3. Day3_Ventoux.fpl": (6, 5),        # start, finish, WindSpeed[1], Class, Water
    "4. Day4_Ubaye.fpl": (6, 0),
}


class Maps(HTMLParser):
    """Counts, in each plan's section, its maps, turnpoint marks and red marks."""

    def __init__(self):
        super().__init__()
        self.plans = {}
        self.current = None
        self.in_heading = False
        self.in_map = False

    def handle_starttag(self, tag, attrs):
        classes = (dict(attrs).get("class") or "").split()
        if tag == "h2":
            self.in_heading = True
            self.current = ""
        elif tag == "svg" and "task-map" in classes:
            self.plans[self.current][0] += 1
            self.in_map = True
        elif self.in_map:
            self.plans[self.current][1] += "tp-mark" in classes
            self.plans[self.current][2] += "bad" in classes

    def handle_endtag(self, tag):
        if tag == "h2":
            self.in_heading = False
            self.plans[self.current] = [0, 0, 0]
        elif tag == "svg":
            self.in_map = False

    def handle_data(self, data):
        if self.in_heading:
            self.current += data


class ExampleInChromium(SandboxTest):
    def setUp(self):
        if not CHROMIUM:
            raise missing_tool("chromium")
        super().setUp()
        r = self.box.run("-nopopup", "-html=report.html", *self.box.install_example())
        self.assertEqual(r.returncode, 0)
        self.url = "file://" + self.box.path("report.html")

    def chromium(self, *args):
        profile = tempfile.mkdtemp(prefix="chromium-", dir=self.box.root)
        proc = subprocess.run(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--no-first-run", "--user-data-dir=" + profile, *args, self.url],
            env={"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "HOME": self.box.root,
                 "LC_ALL": "C.UTF-8"},
            stdin=subprocess.DEVNULL, capture_output=True, timeout=180)
        self.assertEqual(proc.returncode, 0, proc.stderr.decode(errors="replace")[-2000:])
        return proc.stdout

    def test_one_map_per_plan_with_its_marks(self):
        dom = Maps()
        dom.feed(self.chromium("--dump-dom").decode("utf-8"))
        self.assertEqual({name: tuple(counts) for name, counts in dom.plans.items()},
                         {name: (1, *marks) for name, marks in EXPECTED.items()})

    def test_screenshot(self):
        picture = os.path.join(self.box.root, "report.png")
        self.chromium("--hide-scrollbars", "--window-size=1000,2600", "--screenshot=" + picture)
        with open(picture, "rb") as f:
            head = f.read(24)
        self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
        self.assertEqual(struct.unpack(">II", head[16:24]), (1000, 2600))
        self.assertGreater(os.path.getsize(picture), 50_000)  # a page, not a blank sheet


if __name__ == "__main__":
    unittest.main()
