"""The HTML report of the example as a person sees it: rendered by headless Chromium, it holds one
map per plan with a mark per turnpoint and the violations in red, its map labels overlap nothing,
nothing is wider than the screen on a desktop or a phone, and printed it gives one page per plan.
Skipped where Chromium is not installed (CI installs it)."""

import html
import json
import os
import re
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

# Measures the page, shown in a frame `width` pixels wide, once it is laid out and its folded
# rules opened: the elements that reach past the frame's viewport, and in each map the labels
# whose boxes overlap. (Chromium's window, which --dump-dom renders, is never narrower than 500
# pixels: a frame is.) The page itself has no script; the test adds this one around a copy.
PROBE = """<script>
const frame = document.getElementById('page');
frame.onload = () => {
  const doc = frame.contentDocument;
  for (const d of doc.querySelectorAll('details')) d.open = true;
  const width = doc.documentElement.clientWidth;
  const wide = [];
  for (const e of doc.querySelectorAll('body *')) {
    const r = e.getBoundingClientRect();
    if (r.width === 0 && r.height === 0) continue;
    if (r.left < -0.5 || r.right > width + 0.5)
      wide.push(e.tagName + '.' + e.getAttribute('class') + ' ' + r.left + '..' + r.right);
  }
  const overlaps = [];
  for (const map of doc.querySelectorAll('svg.task-map')) {
    const texts = [...map.querySelectorAll('text')].map(
        t => [t.textContent, t.getAttribute('class'), t.getBoundingClientRect()]);
    for (let i = 0; i < texts.length; ++i) {
      for (let j = i + 1; j < texts.length; ++j) {
        const [a, ca, ra] = texts[i], [b, cb, rb] = texts[j];
        if (!/tp-name|leg-length/.test(ca + ' ' + cb)) continue;
        const w = Math.min(ra.right, rb.right) - Math.max(ra.left, rb.left);
        const h = Math.min(ra.bottom, rb.bottom) - Math.max(ra.top, rb.top);
        if (w > 0.5 && h > 0.5) overlaps.push(a + ' / ' + b);
      }
    }
  }
  const out = document.createElement('pre');
  out.id = 'probe';
  out.textContent = JSON.stringify({width, scroll: doc.documentElement.scrollWidth, wide,
                                    overlaps});
  document.body.append(out);
};
</script>"""


def probe_page(page, width):
    """The page in a frame of `width` pixels (tall enough to need no scroll bar), measured."""
    return ('<!DOCTYPE html><html><body style="margin:0"><iframe id="page" style="border:0" '
            f'width="{width}" height="40000" srcdoc="{html.escape(page, quote=True)}"></iframe>'
            + PROBE + "</body></html>")


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
        self.page = self.box.path("report.html")

    def chromium(self, *args, page=None):
        profile = tempfile.mkdtemp(prefix="chromium-", dir=self.box.root)
        proc = subprocess.run(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu",
             "--disable-background-networking", "--disable-component-update", "--disable-sync",
             "--no-first-run", "--user-data-dir=" + profile, *args,
             "file://" + (page or self.page)],
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

    def test_nothing_wider_than_a_desktop_or_a_phone_and_no_label_over_another(self):
        with open(self.page, encoding="utf-8") as f:
            page = f.read()
        self.assertNotIn("<script", page)
        probe = self.box.path("probe.html")
        for width in (1400, 420):
            with self.subTest(width=width):
                with open(probe, "w", encoding="utf-8") as f:
                    f.write(probe_page(page, width))
                dom = self.chromium("--hide-scrollbars", "--window-size=1500,900", "--dump-dom",
                                    page=probe).decode("utf-8")
                found = re.search(r'<pre id="probe">(.*?)</pre>', dom, re.S)
                self.assertIsNotNone(found, dom[-500:])
                measured = json.loads(html.unescape(found.group(1)))
                self.assertEqual((measured["width"], measured["scroll"], measured["wide"]),
                                 (width, width, []))
                self.assertEqual(measured["overlaps"], [])

    def test_screenshots(self):
        for width, height in ((1400, 3000), (420, 4000)):
            picture = os.path.join(self.box.root, f"report-{width}.png")
            self.chromium("--hide-scrollbars", f"--window-size={width},{height}",
                          "--screenshot=" + picture)
            with open(picture, "rb") as f:
                head = f.read(24)
            self.assertEqual(head[:8], b"\x89PNG\r\n\x1a\n")
            self.assertEqual(struct.unpack(">II", head[16:24]), (width, height))
            self.assertGreater(os.path.getsize(picture), 50_000)  # a page, not a blank sheet

    def test_printed_each_plan_on_a_page_of_its_own(self):
        pdf = os.path.join(self.box.root, "report.pdf")
        self.chromium("--no-pdf-header-footer", "--print-to-pdf=" + pdf)
        with open(pdf, "rb") as f:
            data = f.read()
        self.assertTrue(data.startswith(b"%PDF"))
        # The head with the table of plans, then one page per plan: a plan that ran over its
        # page, or two plans on one, would change the count.
        pages = len(re.findall(rb"/Type\s*/Page(?![s\w])", data))
        self.assertEqual(pages, 1 + len(EXPECTED))


if __name__ == "__main__":
    unittest.main()
