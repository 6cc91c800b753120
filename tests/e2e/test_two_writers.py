"""Two programs on one places file: two windows, or a window and orvalin-places import. Nothing
written by either is lost, and an update never lands on a record that changed under it."""

import contextlib
import json
import os
import subprocess
import threading
import time
import unittest

from driver import DriverTest, LiveDriver, GENEVA, BASEL, LAUSANNE, ZURICH, holds_open, messages

PLACES = os.environ.get("ORVALIN_PLACES", "orvalin-places")
ROUNDS = 25
HOLD = "ORVALIN_TEST_HOLD_LOCK"
holds_locks = unittest.skipIf(os.environ.get("ORVALIN_TEST_HOOKS") == "0",
                              "orvalin-driver built without ORVALIN_TEST_HOOKS")
BUSY = "Places file busy"
CONFIRM = "Do you realy want to register these data ?"
LARGE_RECORDS = 200_000  # 14 MB, long enough to copy that other writers come in between


def names(data):
    return sorted(data[at:at + 20].decode("cp1252").rstrip() for at in range(0, len(data), 72))


def add_place(name):
    return [{"set": "City", "text": name}, {"set": "Country", "text": "Test"},
            {"set": "Latitude", "text": "46 0 0 N"}, {"set": "Longitude", "text": "7 0 0 E"},
            {"answer": "yes"}, {"click": "Newdata"}]


def csv_of(*cities):
    return "name,country,latitude,longitude,gmt\n" + "".join(
        f"{c},Test,46 0 0 N,7 0 0 E,1\n" for c in cities)


class TwoWriters(DriverTest):
    def import_csv(self, text, **kwargs):
        return subprocess.run([PLACES, "--file", self.path, "import", "-"], input=text.encode(),
                              capture_output=True, timeout=60, **kwargs)

    def run_together(self, *workers):
        """Runs each worker in a thread of its own; the messages each one's windows showed."""
        shown = [[] for _ in workers]
        threads = [threading.Thread(target=w, args=(shown[i],)) for i, w in enumerate(workers)]
        for t in threads:
            t.start()
        for t in threads:
            t.join(timeout=600)
        return shown

    def appender(self, prefix):
        def work(shown):
            live = LiveDriver(self.dir)
            for i in range(ROUNDS):
                shown += messages(live.act(*add_place(f"{prefix}{i:03d}")))
            self.assertEqual(live.close(), 0)
        return work

    def sorter(self, shown):
        live = LiveDriver(self.dir)
        for _ in range(ROUNDS):
            # Record 1 made the default again: the other records are sorted and replaced.
            shown += messages(live.act({"click": "DefaultData"}))
        self.assertEqual(live.close(), 0)

    def importer(self, shown):
        for i in range(ROUNDS):
            done = self.import_csv(csv_of(f"I{i:03d}"))
            shown += [done.stderr.decode()] if done.returncode else []

    def test_nothing_is_lost_between_two_writers(self):
        pairs = {"appender and sorter": ([self.appender("A"), self.sorter], "A"),
                 "two appenders": ([self.appender("A"), self.appender("B")], "AB"),
                 "window and import": ([self.appender("A"), self.importer], "AI")}
        for pair, (workers, prefixes) in pairs.items():
            with self.subTest(pair):
                self.write_file(GENEVA, ZURICH, BASEL)
                shown = self.run_together(*workers)
                for text in sum(shown, []):
                    self.assertEqual(text, "Do you realy want to register these data ?")
                added = [f"{p}{i:03d}" for p in prefixes for i in range(ROUNDS)]
                self.assertEqual(names(self.file_bytes()),
                                 sorted(["Basel", "Geneva", "Zürich"] + added))

    def test_a_lock_file_deleted_again_and_again_loses_nothing_unsaid(self):
        """Another program deletes the lock file over and over while a window adds places and
        imports copy a large file: a write may be refused, and says so, but none is lost unsaid."""
        self.write_file(*[GENEVA] * LARGE_RECORDS)
        lock = os.path.join(self.dir, ".location.dat.lock")
        kept, imports_done = [], threading.Event()
        changed = "Places file changed by another program"

        def unexpected(told):
            return changed not in told and BUSY not in told

        def window(shown):
            live = LiveDriver(self.dir)
            for i in range(1000):
                if imports_done.is_set():
                    break
                told = [m for m in messages(live.act(*add_place(f"A{i:03d}"))) if m != CONFIRM]
                shown += [m for m in told if unexpected(m)]
                kept.extend([] if told else [f"A{i:03d}"])
            self.assertEqual(live.close(), 0)

        def imports(shown):
            for i in range(ROUNDS // 2):
                done = self.import_csv(csv_of(f"I{i:03d}"))
                shown += [told for told in [done.stderr.decode()] if told and unexpected(told)]
                kept.extend([] if done.returncode else [f"I{i:03d}"])
            imports_done.set()

        def deleter(shown):
            while not imports_done.is_set():
                with contextlib.suppress(FileNotFoundError):
                    os.remove(lock)
                time.sleep(0.001)

        self.assertEqual(self.run_together(window, imports, deleter), [[], [], []])
        self.assertEqual(set(kept) - set(names(self.file_bytes())), set())

    def test_update_refused_after_another_window_sorted(self):
        self.write_file(GENEVA, BASEL, LAUSANNE)
        a, b = LiveDriver(self.dir), LiveDriver(self.dir)
        a.act({"click": "NextData"}, {"click": "NextData"})  # Basel, record 2
        self.assertEqual(messages(b.act({"click": "NextData"}, {"click": "NextData"},
                                        {"click": "NextData"}, {"click": "DefaultData"})), [])
        events = a.act({"set": "GMT", "text": "2"}, {"click": "SaveModif"}, {"get": "GMT"})
        self.assertEqual(messages(events),
                         ["Places file changed by another program in line 780 of SaveModif"])
        self.assertEqual(events[-1], {"field": "GMT", "text": "2"})
        self.assertEqual(self.file_bytes(), LAUSANNE + BASEL + GENEVA)
        self.assertEqual((a.close(), b.close()), (0, 0))

    @holds_locks
    def test_a_writer_inside_the_lock_makes_the_other_wait(self):
        self.write_file(GENEVA)
        flag = os.path.join(self.dir, "holding")
        holder = LiveDriver(self.dir, env={**os.environ, HOLD: flag})
        self.addCleanup(holder.proc.kill)
        holder.act()
        # The holder's add stops inside the lock until the flag is removed.
        for action in add_place("Held"):
            holder.proc.stdin.write((json.dumps(action) + "\n").encode())
        holder.proc.stdin.flush()
        deadline = time.monotonic() + 60
        while not os.path.exists(flag) and time.monotonic() < deadline:
            time.sleep(0.01)
        self.assertTrue(os.path.exists(flag))

        start = time.monotonic()
        busy = self.import_csv(csv_of("Refused"))
        self.assertGreaterEqual(time.monotonic() - start, 0.9)
        self.assertEqual(busy.returncode, 1)
        self.assertIn(BUSY, busy.stderr.decode())

        waiter = subprocess.Popen([PLACES, "--file", self.path, "import", "-"],
                                  stdin=subprocess.PIPE, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.PIPE)
        waiter.stdin.write(csv_of("Waited").encode())
        waiter.stdin.close()
        # The waiter has reached the lock once it holds the lock file open.
        lock_file = os.path.join(self.dir, ".location.dat.lock")
        deadline = time.monotonic() + 60
        while not holds_open(waiter, lock_file) and time.monotonic() < deadline:
            time.sleep(0.01)
        self.assertTrue(holds_open(waiter, lock_file))
        os.remove(flag)
        self.assertEqual(waiter.wait(timeout=60), 0, waiter.stderr.read().decode())
        waiter.stderr.close()
        self.assertEqual(messages(holder.act()), ["Do you realy want to register these data ?"])
        self.assertEqual(holder.close(), 0)
        self.assertEqual(names(self.file_bytes()), ["Geneva", "Held", "Waited"])
        self.assertEqual(self.file_bytes()[72:76], b"Held")

    @holds_locks
    def test_a_killed_writer_leaves_neither_its_lock_nor_its_temporary_file(self):
        self.write_file(GENEVA, BASEL)
        flag = os.path.join(self.dir, "holding")
        holder = LiveDriver(self.dir, env={**os.environ, HOLD: flag})
        self.addCleanup(holder.proc.kill)
        holder.act()
        holder.proc.stdin.write(b'{"click": "DefaultData"}\n')
        holder.proc.stdin.flush()
        deadline = time.monotonic() + 60
        while not os.path.exists(flag) and time.monotonic() < deadline:
            time.sleep(0.01)
        holder.proc.kill()
        holder.proc.wait()
        # What a writer killed between its temporary file and the rename leaves behind.
        leftover = os.path.join(self.dir, ".location.dat.orvalin-new-k1LLed")
        with open(leftover, "wb") as f:
            f.write(GENEVA)
        done = self.import_csv(csv_of("After"))
        self.assertEqual(done.returncode, 0, done.stderr.decode())
        self.assertFalse(os.path.exists(leftover))
        self.assertEqual(names(self.file_bytes()), ["After", "Basel", "Geneva"])


if __name__ == "__main__":
    unittest.main()
