"""The first run: the window on a fresh copy of the built sample places, as the first run of
orvalin makes it in the user's places folder."""

import os
import shutil
import unittest

from driver import DriverTest, fields, messages

SAMPLE = os.environ.get("ORVALIN_SAMPLE", "")


@unittest.skipUnless(os.path.isfile(SAMPLE), "ORVALIN_SAMPLE names no built sample location.dat")
class FirstRun(DriverTest):
    def setUp(self):
        super().setUp()
        shutil.copyfile(SAMPLE, self.path)

    def test_start_up_shows_geneva_calculated_without_a_message(self):
        events, _ = self.run_driver([{"dump": "fields"}])
        self.assertEqual(messages(events), [])
        self.assertEqual([e for e in events if "inputbox" in e], [])
        shown = fields(events)
        self.assertEqual(shown["City"].rstrip(), "Geneva")
        self.assertEqual(shown["Country"].rstrip(), "Switzerland")
        self.assertEqual(shown["RecordN"], "1")
        self.assertEqual(shown["Datejour"], "21-06-2009")
        for result in ("SunRise", "Culmination", "SunSet", "Duration", "Elevation"):
            self.assertNotEqual(shown[result].strip(), "", result)
        self.assertEqual(shown["SunRise"], " 3h 45mn 19.5s")
        self.assertEqual(shown["NameOfFile"], "location.dat")
        # The start-up reads the places; it writes nothing.
        with open(SAMPLE, "rb") as f:
            self.assertEqual(self.file_bytes(), f.read())

    def test_search_finds_world_towns_and_calculates_their_day(self):
        for typed, city, country in (("Reykjav", "Reykjavík", "Iceland"),
                                     ("tokyo", "Tokyo", "Japan"),
                                     ("São Paulo", "São Paulo", "Brazil"),
                                     ("Ouagadou", "Ouagadougou", "Burkina Faso")):
            with self.subTest(typed=typed):
                events, _ = self.run_driver([{"input": typed}, {"click": "SearchName"},
                                             {"dump": "fields"}])
                self.assertEqual(messages(events), [])
                shown = fields(events)
                self.assertEqual(shown["City"].rstrip(), city)
                self.assertEqual(shown["Country"].rstrip(), country)
                self.assertNotEqual(shown["SunRise"].strip(), "")
                self.assertNotEqual(shown["Elevation"].strip(), "")


if __name__ == "__main__":
    unittest.main()
