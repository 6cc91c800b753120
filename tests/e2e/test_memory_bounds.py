"""Memory that does not grow with the places file: every command on a 100 MB file stays within
150 MB of what the same program takes on a file of one place; nor with the problems of an
import: a million bad lines take no more than a few."""

import os
import resource
import subprocess
import tempfile
import unittest

from driver import DRIVER, DriverTest, GENEVA, record
from test_two_writers import PLACES

FILE_BYTES = 100 * 1024 * 1024
BOUND_KIB = 150 * 1024
# The CSV of a million bad lines, 24 MB, is held once as text; its problems add nothing.
BAD_LINES_BOUND_KIB = 64 * 1024
IMPORT_LIMIT_KIB = 256 * 1024
# Address space in which 160 MB of standard input cannot be held, as an adversary limited it.
OUT_OF_MEMORY_KIB = 300000
PLACES_COMMANDS = [["list"], ["list", "--format", "csv"], ["list", "--format", "json"],
                   ["export"], ["check"], ["import", "-"]]
WINDOW_ACTIONS = ('{"click": "NextData"}\n{"click": "NextData"}\n{"click": "DefaultData"}\n'
                  '{"input": "zz"}\n{"click": "SearchName"}\n')
ONE_PLACE_CSV = b"name,country,latitude,longitude,gmt\nBern,CH,46 57 0 N,7 26 0 E,1\n"


def peak_kib(argv, stdin=b"", expected=0):
    """The peak resident memory of one run of a program, in KiB."""
    with tempfile.TemporaryFile() as given:
        given.write(stdin)
        given.seek(0)
        proc = subprocess.Popen(argv, stdin=given, stdout=subprocess.DEVNULL,
                                stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(proc.pid, 0)
    proc.returncode = os.waitstatus_to_exitcode(status)
    if proc.returncode != expected:
        raise AssertionError(f"{argv} exited {proc.returncode}")
    return usage.ru_maxrss


class MemoryBounds(DriverTest):
    def fill(self, size):
        # Names out of order, so that the sort moves nearly every record.
        block = b"".join(record(f"P{(i * 7919) % 100003:06d}", "Country", "46 12 0 N",
                                "6 9 0 E", 1) for i in range(10000))
        with open(self.path, "wb") as f:
            f.write(GENEVA)
            for _ in range(size // len(block)):
                f.write(block)

    def peaks(self):
        runs = {" ".join(c): ([PLACES, "--file", self.path] + c, ONE_PLACE_CSV)
                for c in PLACES_COMMANDS}
        # The whole file back from its own export: a CSV as large as the file.
        csv = os.path.join(self.dir, "export.csv")
        subprocess.run([PLACES, "--file", self.path, "export", "--output", csv], check=True)
        runs["import --replace"] = ([PLACES, "--file", self.path, "import", "--replace", csv], b"")
        runs["window"] = ([DRIVER, "--dir", self.dir, "--today", "21-06-2009"],
                          WINDOW_ACTIONS.encode())
        return {name: peak_kib(argv, stdin) for name, (argv, stdin) in runs.items()}

    def test_every_command_on_a_large_file(self):
        self.write_file(GENEVA, GENEVA)
        small = self.peaks()
        self.fill(FILE_BYTES)
        large = self.peaks()
        for name in large:
            with self.subTest(name):
                self.assertLess(large[name] - small[name], BOUND_KIB,
                                f"{name}: {small[name] // 1024} MiB, then {large[name] // 1024} MiB")

    def test_an_import_of_a_million_bad_lines(self):
        csv = os.path.join(self.dir, "bad.csv")
        for lines in (10, 1_000_000):
            with open(csv, "wb") as f:
                f.write(b"name,country,latitude,longitude,gmt\n")
                f.write(b"Far,Y,45 0 0 N,20 0 0 E,20\nBad,Y,4612,6 9 0 E,1\n" * (lines // 2))
            peak = peak_kib([PLACES, "--file", self.path, "import", csv], expected=1)
            if lines == 10:
                few = peak
        self.assertLess(peak - few, BAD_LINES_BOUND_KIB,
                        f"{few // 1024} MiB for 10 bad lines, {peak // 1024} MiB for a million")
        self.assertLess(peak, IMPORT_LIMIT_KIB)

    def test_an_import_that_runs_out_of_memory_imports_nothing(self):
        """Standard input that outgrows the memory allowed: said so, never a prefix imported,
        never a bad line, and --dry-run reads just as far."""
        self.write_file(GENEVA)
        header = b"name,country,latitude,longitude,gmt".ljust(63) + b"\n"
        csv = header + b"Pq,X,1.5,2.25,1\n" * 10**7

        def limit():
            resource.setrlimit(resource.RLIMIT_AS,
                               (OUT_OF_MEMORY_KIB * 1024, resource.RLIM_INFINITY))
        for extra in ([], ["--dry-run"]):
            done = subprocess.run([PLACES, "--file", self.path, "import", "-", *extra], input=csv,
                                  capture_output=True, preexec_fn=limit, timeout=300)
            self.assertEqual((done.returncode, done.stderr.decode()),
                             (1, "orvalin-places: Out of memory\n"), extra)
        self.assertEqual(self.file_bytes(), GENEVA)


if __name__ == "__main__":
    unittest.main()
