"""Runs orvalin-driver on a folder with a script of actions and reads back its events."""

import json
import os
import struct
import subprocess
import tempfile
import unittest

DRIVER = os.environ.get("ORVALIN_DRIVER", "orvalin-driver")


def record(name, country, latitude, longitude, gmt):
    """72 bytes of location.dat."""
    def text(value, width):
        return value[:width].encode("cp1252", errors="replace").ljust(width, b" ")
    return (text(name, 20) + text(country, 20) + text(latitude, 15) + text(longitude, 15)
            + struct.pack("<h", gmt))


GENEVA = record("Geneva", "Switzerland", "46 12 0 N", "6 9 0 E", 1)
BASEL = record("Basel", "Switzerland", "47 33 0 N", "7 35 0 E", 1)
LAUSANNE = record("Lausanne", "Switzerland", "46 31 0 N", "6 38 0 E", 1)
ZURICH = record("Zürich", "Switzerland", "47 22 0 N", "8 33 0 E", 1)
TROMSO = record("Tromsø", "Norway", "69 39 0 N", "18 57 0 E", 1)


def holds_open(proc, path):
    """Whether the running process has `path` open."""
    folder = f"/proc/{proc.pid}/fd"
    try:
        links = [os.readlink(os.path.join(folder, fd)) for fd in os.listdir(folder)]
    except OSError:  # ended, or a descriptor closed while looked at
        return False
    return os.path.realpath(path) in links


def run(folder, actions, today="21-06-2009", env=None, preexec_fn=None, check=True, driver=None):
    """Events written by the driver for these actions, and its exit code."""
    script = "".join(json.dumps(a) + "\n" for a in actions)
    done = subprocess.run([driver or DRIVER, "--dir", folder, "--today", today],
                          input=script.encode(),
                          capture_output=True, timeout=300, env=env, preexec_fn=preexec_fn)
    events = [json.loads(line) for line in done.stdout.decode().splitlines() if line.strip()]
    if check and done.returncode != 0:
        raise AssertionError(f"driver exited {done.returncode}: {done.stderr.decode()} {events}")
    return events, done.returncode


def fields(events):
    """The last text seen of each field."""
    return {e["field"]: e["text"] for e in events if "field" in e}


def messages(events):
    return [e["message"] for e in events if "message" in e]


class DriverTest(unittest.TestCase):
    """A test with a fresh folder for location.dat."""

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="orvalin-e2e-")
        self.dir = self.tmp.name
        self.path = os.path.join(self.dir, "location.dat")

    def tearDown(self):
        self.tmp.cleanup()

    def write_file(self, *records):
        with open(self.path, "wb") as f:
            f.write(b"".join(records))

    def file_bytes(self):
        with open(self.path, "rb") as f:
            return f.read()

    def run_driver(self, actions, **kwargs):
        return run(self.dir, actions, **kwargs)


class LiveDriver:
    """A driver kept running, so that the test can change the disk between two commands."""

    def __init__(self, folder, today="21-06-2009", preexec_fn=None, env=None):
        # Standard error goes to a file: a pipe nobody reads could fill and stall the driver.
        self.stderr = tempfile.TemporaryFile()
        self.proc = subprocess.Popen([DRIVER, "--dir", folder, "--today", today],
                                     stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=self.stderr, preexec_fn=preexec_fn, env=env)

    def act(self, *actions):
        """Events written in answer to these actions (and to start-up on the first call)."""
        # The answer to a final get of NameOfFile marks the end; dumps report that field too.
        marks = 1 + sum(a in ({"dump": "fields"}, {"get": "NameOfFile"}) for a in actions)
        for a in list(actions) + [{"get": "NameOfFile"}]:
            self.proc.stdin.write((json.dumps(a) + "\n").encode())
        self.proc.stdin.flush()
        events = []
        while True:
            line = self.proc.stdout.readline()
            if not line:
                self.stderr.seek(0)
                raise AssertionError("driver ended: " + self.stderr.read().decode(errors="replace"))
            event = json.loads(line)
            if event.get("field") == "NameOfFile":
                marks -= 1
                if marks == 0:
                    return events
            events.append(event)

    def close(self):
        self.proc.stdin.close()
        code = self.proc.wait(timeout=60)
        self.proc.stdout.close()
        self.stderr.close()
        return code
