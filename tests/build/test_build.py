"""The build itself: the files the program finds beside itself follow their sources, and a
machine without GoogleTest builds the program alone and says that the tests are off."""

import os
import shutil
import subprocess
import unittest

CMAKE = os.environ.get("CMAKE_COMMAND", "cmake")
BUILD = os.environ.get("BREVANTO_BUILD", "")
SOURCE = os.environ.get("BREVANTO_SOURCE", "")
SCRATCH = os.environ.get("BREVANTO_SCRATCH", "")
TOOLCHAIN = os.environ.get("BREVANTO_TOOLCHAIN", "")
GENERATOR = os.environ.get("BREVANTO_GENERATOR", "")


def read(path):
    with open(path, "rb") as f:
        return f.read()


@unittest.skipUnless(BUILD and SOURCE and SCRATCH, "run by CTest, which names the build")
class Build(unittest.TestCase):
    def test_files_beside_the_program_follow_their_sources(self):
        # An edited source is newer than its copy: so is any source than a copy dated 1970.
        copies = {"DEFAULT_CHECK.fpl": os.path.join(SOURCE, "examples", "DEFAULT_CHECK.fpl"),
                  "Brevanto.ini": os.path.join(BUILD, "package-texts", "Brevanto.ini")}
        for name in copies:
            path = os.path.join(BUILD, name)
            with open(path, "wb") as f:
                f.write(b"an old copy\n")
            os.utime(path, (0, 0))
        subprocess.run([CMAKE, "--build", BUILD, "--target", "Brevanto"], check=True,
                       stdout=subprocess.DEVNULL)
        for name, source in copies.items():
            self.assertEqual(read(os.path.join(BUILD, name)), read(source), name)

    def test_without_googletest_the_program_builds_alone(self):
        shutil.rmtree(SCRATCH, ignore_errors=True)
        command = [CMAKE, "-S", SOURCE, "-B", SCRATCH, "-DCMAKE_DISABLE_FIND_PACKAGE_GTest=ON"]
        if TOOLCHAIN:  # the Windows build takes GoogleTest's sources
            command += ["-DCMAKE_TOOLCHAIN_FILE=" + TOOLCHAIN,
                        "-DBREVANTO_GTEST_SOURCE=" + os.path.join(SCRATCH, "no-googletest")]
        if GENERATOR:
            command += ["-G", GENERATOR]
        r = subprocess.run(command, capture_output=True, text=True)
        self.assertEqual(r.returncode, 0, r.stderr)
        said = " ".join(r.stderr.split())  # CMake folds its warnings
        self.assertIn("GoogleTest", said)
        self.assertIn("not found: the tests are off; the program builds alone", said)
        targets = subprocess.run([CMAKE, "--build", SCRATCH, "--target", "help"],
                                 capture_output=True, text=True, check=True).stdout
        self.assertIn("Brevanto", targets.split())
        self.assertNotIn("brevanto_tests", targets)
        shutil.rmtree(SCRATCH)


if __name__ == "__main__":
    unittest.main()
