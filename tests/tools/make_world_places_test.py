"""The row rules of tools/make_world_places.py, which makes the shipped world list: a row that
breaks one must stop the script, a good one must pass, and angles are written to the second;
and which other names tools/make_world_names.py keeps."""

import os
import sys
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tools"))
import make_world_names as names  # noqa: E402
import make_world_places as maker  # noqa: E402

GOOD = ["Geneva", "Switzerland", "46 12 8 N", "6 8 34 E", "1", "Europe/Zurich"]


class RowRules(unittest.TestCase):
    def test_rows(self):
        cases = [
            (GOOD, None),
            (["Kathmandu", "Nepal", "27 42 5 N", "85 18 50 E", "5", "Asia/Kathmandu"], None),
            (GOOD[:5], "5 fields"),
            ([" Geneva"] + GOOD[1:], "blanks at an end"),
            (["G" * 21] + GOOD[1:], "longer than 20"),
            (["Gen\x07va"] + GOOD[1:], "Windows-1252"),
            (["Łódź"] + GOOD[1:], "Windows-1252"),
            (GOOD[:2] + ["91 0 0 N"] + GOOD[3:], "beyond 90"),
            (GOOD[:2] + ["46 60 0 N"] + GOOD[3:], "past 59"),
            (GOOD[:3] + ["0 0 0 W"] + GOOD[4:], "zero is N or E"),
            (GOOD[:3] + ["6 8 34 X"] + GOOD[4:], "malformed"),
            (GOOD[:4] + ["15"] + GOOD[5:], "from -12 to 14"),
            (GOOD[:4] + ["2"] + GOOD[5:], "not the standard offset"),
            (GOOD[:5] + ["Europe/Nowhere"], "unknown"),
        ]
        for row, error in cases:
            with self.subTest(row=row):
                if error is None:
                    maker.check_row(row, "line 2")
                else:
                    with self.assertRaises(maker.Fail) as caught:
                        maker.check_row(row, "line 2")
                    self.assertIn(error, str(caught.exception))
                    self.assertTrue(str(caught.exception).startswith("line 2: "))

    def test_angles_are_whole_seconds_rounded_half_up(self):
        for value, text in [("46.2", "46 12 0 N"), ("-0.0001", "0 0 0 N"),
                            ("-0.00014", "0 0 1 S"), ("59.99999", "60 0 0 N"),
                            ("6.142917", "6 8 35 N")]:
            self.assertEqual(maker.angle_text(value, "N", "S"), text, value)

    def test_name_falls_back_to_its_ascii_form(self):
        self.assertEqual(maker.place_name("Zürich", "Zurich"), "Zürich")
        self.assertEqual(maker.place_name("Łódź", "Lodz"), "Lodz")
        self.assertIsNone(maker.place_name("  ", ""))


class OtherNames(unittest.TestCase):
    def test_abbreviations_are_initials_and_airport_codes_are_not(self):
        self.assertEqual(names.other_names("New York City", "JFK,NYC,N.Y.,New Amsterdam,NA,nyc"),
                         ["New Amsterdam", "NYC", "NA"])


if __name__ == "__main__":
    unittest.main(verbosity=2)
