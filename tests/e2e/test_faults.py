"""Faults of the disk and of the places file: each is reported exactly, the program goes on, and
no stored place is lost."""

import os
import resource
import shutil
import stat
import unittest

import driver as driver_module

from driver import (DriverTest, LiveDriver, GENEVA, BASEL, LAUSANNE, ZURICH, fields, messages,
                    run)

TEXT1_ANGLES = ["Erreur Insmin = 0 module VerifAngl. Wrong angle",
                "Erreur Inssec = 0 module VerifAngle. Wrong Angle",
                "Erreur signe module VerifAngle. Wrong Angle"] * 2


def as_unprivileged_user():
    """Permissions mean nothing to root: drop to nobody when running as root."""
    if os.getuid() == 0:
        os.setgroups([])
        os.setgid(65534)
        os.setuid(65534)


def file_size_limit(limit):
    def apply():
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, resource.RLIM_INFINITY))
    return apply


class Permissions(DriverTest):
    def setUp(self):
        super().setUp()
        os.chmod(self.dir, 0o777)
        # The build folder may be out of an unprivileged user's reach: run a copy of the driver.
        self.driver = os.path.join(self.dir, "orvalin-driver")
        shutil.copy(driver_module.DRIVER, self.driver)
        os.chmod(self.driver, 0o755)

    def run_driver(self, actions, **kwargs):
        return run(self.dir, actions, driver=self.driver, **kwargs)

    def test_read_only_file(self):
        """A file that may only be read is shown and searched; only a write is refused."""
        self.write_file(GENEVA, BASEL)
        os.chmod(self.path, 0o444)
        events, _ = self.run_driver([
            {"get": "City"}, {"click": "NextData"}, {"answer": "yes"}, {"click": "Newdata"},
            {"input": "Ba"}, {"click": "SearchName"}, {"get": "RecordN"}, {"click": "DefaultData"},
            {"set": "City", "text": "still working"}, {"get": "City"}],
            preexec_fn=as_unprivileged_user)
        self.assertEqual(messages(events), [
            "Do you realy want to register these data ?",
            "Permission denied in line 530 of AddRecord",
            "Permission denied in line 930 of DEFAULT"])
        shown = [e for e in events if "field" in e]
        self.assertEqual(shown[0], {"field": "City", "text": "Geneva              "})
        self.assertEqual(shown[1], {"field": "RecordN", "text": " 2"})
        self.assertEqual(fields(events)["City"], "still working")
        self.assertEqual(self.file_bytes(), GENEVA + BASEL)

    def test_read_only_folder_without_file(self):
        os.chmod(self.dir, 0o555)
        events, _ = self.run_driver([{"answer": "yes"}, {"click": "Newdata"}],
                                    preexec_fn=as_unprivileged_user)
        self.assertEqual(messages(events), [
            "Permission denied in line 200 of DEFAULT", *TEXT1_ANGLES,
            "Do you realy want to register these data ?",
            f"Places file cannot be locked: {self.dir}/.location.dat.lock cannot be made: its "
            "folder is not writable in line 530 of AddRecord"])
        self.assertFalse(os.path.exists(self.path))

    def test_a_lock_that_cannot_be_taken_refuses_the_write(self):
        """Never written unlocked: a writable file in a read-only folder, or a lock file that
        another user made readable by none."""
        lock = os.path.join(self.dir, ".location.dat.lock")

        def read_only_folder():
            os.chmod(self.dir, 0o555)

        def unreadable_lock():
            with open(lock, "wb"):
                pass
            os.chmod(lock, 0o600)

        cases = {read_only_folder: "cannot be made: its folder is not writable",
                 unreadable_lock: "may not be read (permission denied)"}
        for make, why in cases.items():
            with self.subTest(make.__name__):
                os.chmod(self.dir, 0o777)
                if os.path.exists(lock):
                    os.remove(lock)
                self.write_file(GENEVA)
                os.chmod(self.path, 0o666)
                make()
                events, _ = self.run_driver([{"answer": "yes"}, {"click": "Newdata"}],
                                            preexec_fn=as_unprivileged_user)
                self.assertEqual(messages(events)[-1], f"Places file cannot be locked: {lock} "
                                 f"{why} in line 530 of AddRecord")
                self.assertEqual(self.file_bytes(), GENEVA)

    def test_folder_in_the_place_of_the_file(self):
        os.mkdir(self.path)
        events, _ = self.run_driver([{"click": "NextData"}])
        self.assertEqual(messages(events), [
            "Permission denied in line 200 of DEFAULT", *TEXT1_ANGLES,
            "Permission denied in line 300 of NextRecord"])


class Disappearing(DriverTest):
    def test_folder_removed_while_the_program_runs(self):
        folder = os.path.join(self.dir, "places")
        os.mkdir(folder)
        with open(os.path.join(folder, "location.dat"), "wb") as f:
            f.write(GENEVA + BASEL)
        live = LiveDriver(folder)
        self.assertEqual(messages(live.act()), [])
        shutil.rmtree(folder)
        events = live.act({"click": "NextData"}, {"click": "SearchName"}, {"click": "PreviousDay"})
        self.assertEqual(messages(events), ["Path not found in line 300 of NextRecord",
                                            "Path not found in line 800 of Search"])
        self.assertEqual(fields(live.act({"get": "Datejour"}))["Datejour"], "20-06-2009")
        self.assertEqual(live.close(), 0)

    def test_file_truncated_by_another_program_between_two_commands(self):
        self.write_file(GENEVA, BASEL, LAUSANNE)
        live = LiveDriver(self.dir)
        live.act({"click": "NextData"}, {"click": "NextData"})  # record 3 is current
        with open(self.path, "r+b") as f:
            f.truncate(72 + 70)  # record 2 without its offset, record 3 gone
        events = live.act({"click": "DefaultData"}, {"click": "PreviousData"},
                          {"get": "City"}, {"get": "RecordN"})
        self.assertEqual(messages(events),
                         ["Places file changed by another program in line 934 of DEFAULT"])
        shown = fields(events)
        self.assertEqual(shown["RecordN"], " 2")
        self.assertEqual(shown["City"], "Basel               ")
        self.assertEqual(fields(live.act({"get": "GMT"}))["GMT"], " 0")  # the missing bytes
        self.assertEqual(live.close(), 0)
        self.assertEqual(self.file_bytes(), (GENEVA + BASEL)[:142])


class FullDisk(DriverTest):
    def test_new_place_on_a_full_disk(self):
        self.write_file(GENEVA, BASEL)
        events, _ = self.run_driver([{"answer": "yes"}, {"click": "Newdata"}],
                                    preexec_fn=file_size_limit(150))
        self.assertEqual(messages(events)[-1], "Disk full in line 533 of AddRecord")
        self.assertEqual(self.file_bytes(), GENEVA + BASEL)

    def test_update_of_a_partial_last_record_on_a_full_disk(self):
        self.write_file(GENEVA, BASEL[:36])
        events, _ = self.run_driver([{"click": "NextData"}, {"click": "SaveModif"}],
                                    preexec_fn=file_size_limit(120))
        self.assertIn("Disk full in line 780 of SaveModif", messages(events))
        self.assertEqual(self.file_bytes()[:72], GENEVA)
        self.assertEqual(len(self.file_bytes()), 108)

    def test_default_place_on_a_full_disk(self):
        self.write_file(GENEVA, ZURICH, BASEL, LAUSANNE)
        events, _ = self.run_driver([{"click": "NextData"}, {"click": "NextData"},
                                     {"click": "DefaultData"}],
                                    preexec_fn=file_size_limit(200))
        reports = [m for m in messages(events) if "Disk full" in m]
        self.assertEqual(len(reports), 1)
        self.assertRegex(reports[0], r"^Disk full in line 94[0-4] of DEFAULT$")
        self.assertEqual(self.file_bytes(), GENEVA + ZURICH + BASEL + LAUSANNE)


if __name__ == "__main__":
    unittest.main()
