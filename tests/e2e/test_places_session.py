"""A session with the places database: browse, add, update, make a default, search."""

import unittest

from driver import DriverTest, GENEVA, BASEL, LAUSANNE, ZURICH, record, fields, messages


class PlacesSession(DriverTest):
    def test_browse_add_update_default_and_search(self):
        self.write_file(GENEVA, BASEL, LAUSANNE, ZURICH)
        events, _ = self.run_driver([
            # Browse: record 2, then before record 1 (a beep), then record 1 again.
            {"click": "NextData"}, {"get": "City"}, {"get": "RecordN"},
            {"click": "PreviousData"}, {"click": "PreviousData"}, {"get": "RecordN"},
            {"click": "NextData"}, {"get": "City"},
            # Add Bern after confirming, and a place refused by the default No.
            {"set": "City", "text": "Bern"}, {"set": "Country", "text": "Switzerland"},
            {"set": "Latitude", "text": "46 57 0 N"}, {"set": "Longitude", "text": "7 26 0 E"},
            {"set": "GMT", "text": "1"}, {"answer": "yes"}, {"click": "Newdata"},
            {"get": "RecordN"}, {"get": "SunRise"}, {"click": "Newdata"},
            # Update Bern's offset, then make Lausanne (record 3) the default.
            {"set": "GMT", "text": "2"}, {"click": "SaveModif"},
            {"click": "PreviousData"}, {"click": "PreviousData"}, {"click": "DefaultData"},
            {"get": "City"}, {"get": "RecordN"}, {"get": "SunRise"},
            # Search: a hit by the start of the name in any case, then a miss.
            {"input": "zür"}, {"click": "SearchName"}, {"get": "City"}, {"get": "RecordN"},
            {"click": "Option1"}, {"input": "xyz"}, {"click": "SearchName"}, {"get": "RecordN"},
        ])
        texts = [e["text"] for e in events if "field" in e]
        self.assertEqual(texts, [
            "Basel               ", " 2", " 1", "Geneva              ",
            " 5", "",
            "Lausanne            ", " 1", " 3h 42mn 3.54s",
            "Zürich              ", " 5", " 5"])
        self.assertEqual(messages(events), [
            "Do you realy want to register these data ?",
            "Do you realy want to register these data ?",
            "Lieu inconnu"])
        boxes = [e for e in events if "message" in e]
        self.assertEqual([(b["title"], b["buttons"], b["icon"], b["answer"]) for b in boxes[:2]],
                         [("", "yesno", "critical", "yes"), ("", "yesno", "critical", "no")])
        self.assertEqual(len([e for e in events if "beep" in e]), 1)
        bern = record("Bern", "Switzerland", "46 57 0 N", "7 26 0 E", 2)
        self.assertEqual(self.file_bytes(), LAUSANNE + BASEL + bern + GENEVA + ZURICH)


if __name__ == "__main__":
    unittest.main()
