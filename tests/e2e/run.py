"""Runs one module of end-to-end tests for CTest, as "python3 -m unittest -v <module>" does, and
ends with status 0 when every test passed, 1 when one failed, and 77 (SKIP_RETURN_CODE) when
they passed but a test was skipped for a tool this machine lacks (harness.missing_tool): CTest
then shows the module as skipped, not as passed."""

import sys
import unittest

from harness import MISSING_TOOL

SKIPPED = 77


def main(module):
    suite = unittest.defaultTestLoader.loadTestsFromName(module)
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    if not result.wasSuccessful():
        return 1
    missing = sorted({reason for _, reason in result.skipped if reason.startswith(MISSING_TOOL)})
    if missing:
        print("skipped, " + "; ".join(missing), flush=True)
        return SKIPPED
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
