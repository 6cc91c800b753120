"""orvalin, the desktop program: its command line, and the folder its first run sets up.

Usage: window_program_test.py PATH/TO/orvalin PATH/TO/sample/location.dat
"""

import os
import subprocess
import sys
import tempfile
import time
import unittest

PROGRAM = None
SAMPLE = None


def quiet_env(**extra):
    """An environment without a display: --help and friends must not need one."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME")}
    env.update(extra)
    return env


def waits_for_events(proc):
    """Whether the window's one thread is blocked waiting for events: its start-up is over."""
    try:
        with open(f"/proc/{proc.pid}/wchan") as f:
            return "poll" in f.read()
    except OSError:
        return False


class CommandLine(unittest.TestCase):
    def run_program(self, *args):
        return subprocess.run([PROGRAM, *args], capture_output=True, timeout=60, env=quiet_env())

    def test_help_and_version_need_no_display(self):
        for args in (["--help"], ["-h"]):
            done = self.run_program(*args)
            self.assertEqual(done.returncode, 0, args)
            self.assertTrue(done.stdout.startswith(b"Usage: orvalin [--dir DIR]\n"), done.stdout)
            self.assertIn(b"XDG_DATA_HOME", done.stdout)
            self.assertEqual(done.stderr, b"")
        for args in (["--version"], ["-V"]):
            done = self.run_program(*args)
            self.assertEqual(done.returncode, 0, args)
            self.assertRegex(done.stdout.decode(), r"^orvalin \d+\.\d+\.\d+\n$")

    def test_unknown_option_is_refused_with_one_line(self):
        for args in (["--bogus"], ["place.dat"], ["--dir"], ["-platform", "offscreen"]):
            done = self.run_program(*args)
            self.assertEqual(done.returncode, 2, args)
            self.assertEqual(done.stdout, b"")
            self.assertEqual(done.stderr, b"usage: orvalin [--dir DIR] [--help] [--version]\n")

    def test_missing_dir_is_a_failure(self):
        with tempfile.TemporaryDirectory() as tmp:
            done = self.run_program("--dir", os.path.join(tmp, "nowhere"))
            self.assertEqual(done.returncode, 1)
            self.assertIn(b"cannot make", done.stderr)


class FirstRun(unittest.TestCase):
    """The window is started offscreen, watched until its folder is ready, then stopped."""

    def setUp(self):
        self.tmp = tempfile.TemporaryDirectory(prefix="orvalin-first-run-")
        self.root = self.tmp.name
        self.cwd = os.path.join(self.root, "cwd")
        self.home = os.path.join(self.root, "home")
        os.makedirs(self.cwd)
        os.makedirs(self.home)

    def tearDown(self):
        self.tmp.cleanup()

    def start_until(self, args, ready, env):
        """Runs the window until ready() holds and its start-up is over (at most 60 s), then
        ends it."""
        proc = subprocess.Popen([PROGRAM, *args], cwd=self.cwd, env=env,
                                stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        try:
            deadline = time.monotonic() + 60
            while (not (ready() and waits_for_events(proc)) and proc.poll() is None
                   and time.monotonic() < deadline):
                time.sleep(0.05)
            self.assertIsNone(proc.poll(), proc.stderr.read() if proc.poll() is not None else "")
            self.assertTrue(ready())
            self.assertTrue(waits_for_events(proc))
        finally:
            proc.terminate()
            proc.wait(timeout=60)
            proc.stderr.close()

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def test_first_run_copies_the_sample_into_the_user_folder(self):
        folder = os.path.join(self.home, ".local", "share", "orvalin")
        places = os.path.join(folder, "location.dat")
        env = quiet_env(HOME=self.home, QT_QPA_PLATFORM="offscreen")
        self.start_until([], lambda: os.path.exists(places), env)
        self.assertEqual(self.read(places), self.read(SAMPLE))
        self.assertFalse(os.path.exists(os.path.join(self.cwd, "location.dat")))
        self.assertEqual(os.stat(folder).st_mode & 0o777, 0o700)
        self.assertEqual(sorted(os.listdir(folder)), [".location.dat.lock", "location.dat"])

    def test_xdg_data_home_is_followed(self):
        xdg = os.path.join(self.root, "data")
        places = os.path.join(xdg, "orvalin", "location.dat")
        env = quiet_env(HOME=self.home, XDG_DATA_HOME=xdg, QT_QPA_PLATFORM="offscreen")
        self.start_until([], lambda: os.path.exists(places), env)
        self.assertEqual(self.read(places), self.read(SAMPLE))
        self.assertFalse(os.path.exists(os.path.join(self.home, ".local")))

    def test_current_directory_with_places_is_used(self):
        mine = os.path.join(self.cwd, "location.dat")
        with open(mine, "wb") as f:
            f.write(self.read(SAMPLE)[:72])
        env = quiet_env(HOME=self.home, QT_QPA_PLATFORM="offscreen")
        # The folder is chosen before the window waits for its first event.
        self.start_until([], lambda: True, env)
        self.assertFalse(os.path.exists(os.path.join(self.home, ".local")))
        self.assertEqual(len(self.read(mine)), 72)

    def test_dir_is_used_as_the_window_uses_its_folder(self):
        named = os.path.join(self.root, "named")
        os.makedirs(named)
        places = os.path.join(named, "location.dat")
        env = quiet_env(HOME=self.home, QT_QPA_PLATFORM="offscreen")
        # A missing file is made empty there, as in the current folder before.
        self.start_until(["--dir", named], lambda: os.path.exists(places), env)
        self.assertEqual(self.read(places), b"")
        self.assertFalse(os.path.exists(os.path.join(self.home, ".local")))


if __name__ == "__main__":
    PROGRAM, SAMPLE = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
