"""orvalin-driver end to end: the JSON Lines protocol over the real window.

Usage: driver_test.py PATH/TO/orvalin-driver
"""

import json
import os
import struct
import subprocess
import sys
import tempfile
import unittest

DRIVER = None

FIELDS = ["Datejour", "City", "Country", "Latitude", "Longitude", "GMT", "Horizon", "RecordN",
          "SunRise", "Azimuth", "Culmination", "Azimuth3", "SunSet", "Azimuth2", "Duration",
          "Elevation", "NameOfFile"]
CAPTIONED = ["Form1", "Frame4", "RunName", "PreviousDay", "Today", "NextDay", "Frame6", "Option1",
             "Option2", "Frame1", "Label2", "Label5", "Label6", "Label7", "Label8", "Label3",
             "Frame3", "Label9", "PreviousData", "SaveModif", "NextData", "Newdata",
             "DefaultData", "SearchName", "Frame2", "Label17", "Label13", "Label12", "Label14",
             "Label16", "Label18", "Label19"]
COMMANDS = ["RunName", "Today", "NextDay", "PreviousDay", "PreviousData", "NextData",
            "SaveModif", "Newdata", "DefaultData", "SearchName"]


def record(name, country, latitude, longitude, gmt):
    def text(value, width):
        return value.encode("cp1252").ljust(width, b" ")
    return (text(name, 20) + text(country, 20) + text(latitude, 15) + text(longitude, 15)
            + struct.pack("<h", gmt))


class Run:
    """One run of the driver: its raw output lines, parsed events and exit code."""

    def __init__(self, folder, lines, *arguments):
        script = "".join(line if isinstance(line, str) else json.dumps(line) + "\n"
                         for line in lines)
        done = subprocess.run([DRIVER, "--dir", folder, *arguments], input=script.encode(),
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, timeout=60,
                              check=False)
        self.raw = done.stdout.decode("utf-8").splitlines()
        self.events = [json.loads(line) for line in self.raw]
        self.code = done.returncode

    def kind(self, key):
        return [e for e in self.events if key in e]

    def texts(self):
        return {e["field"]: e["text"] for e in self.kind("field")}

    def captions(self):
        return {e["caption"]: e["text"] for e in self.kind("caption")}


class DriverTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        with open(os.path.join(self.folder.name, "location.dat"), "wb") as places:
            places.write(record("Geneva", "Switzerland", "46 12 0 N", "6 9 0 E", 1))
            places.write(record("Anchorage", "United States", "61 13 0 N", "149 54 0 W", -9))

    def tearDown(self):
        self.folder.cleanup()

    def run_driver(self, *lines, today="05-03-2024"):
        return Run(self.folder.name, lines, "--today", today)

    def test_example_of_the_protocol(self):
        run = self.run_driver({"set": "Datejour", "text": "21-06-2009"}, {"click": "RunName"},
                              {"get": "SunRise"})
        self.assertEqual(run.code, 0)
        self.assertEqual(run.raw, ['{"field": "SunRise", "text": " 3h 45mn 19.5s"}'])

    def test_start_up_shows_today_and_the_default_place(self):
        run = self.run_driver({"dump": "fields"}, today="29-02-2024")
        self.assertEqual([e["field"] for e in run.events], FIELDS)
        texts = run.texts()
        self.assertEqual(texts["Datejour"], "29-02-2024")
        self.assertEqual(texts["City"], "Geneva".ljust(20))
        self.assertEqual(texts["RecordN"], "1")
        self.assertEqual(texts["Horizon"], "-.61")
        self.assertEqual(texts["NameOfFile"], "location.dat")

    def test_start_up_events_come_before_replies(self):
        os.remove(os.path.join(self.folder.name, "location.dat"))
        run = self.run_driver({"get": "RecordN"})
        self.assertTrue(run.kind("message"), "an empty places file is reported at start")
        self.assertEqual(list(run.events[-1]), ["field", "text"])
        self.assertTrue(os.path.exists(os.path.join(self.folder.name, "location.dat")))

    def test_set_then_get_keeps_every_character(self):
        texts = ["", "  Genève  ", 'a "quoted" \\ path', "tab\there", "46° 12' 0\" N",
                 "\u65e5\u672c", "bell\u0007"]
        for text in texts:
            with self.subTest(text=text):
                run = self.run_driver({"set": "Country", "text": text}, {"get": "Country"})
                self.assertEqual(run.events, [{"field": "Country", "text": text}])

    def test_events_are_escaped_json_with_a_blank_after_each_separator(self):
        run = self.run_driver({"set": "City", "text": 'x"\\\u0001é'}, {"get": "City"})
        self.assertEqual(run.raw, ['{"field": "City", "text": "x\\"\\\\\\u0001é"}'])

    def test_dump_of_captions_follows_the_language(self):
        run = self.run_driver({"dump": "captions"}, {"click": "Option1"}, {"dump": "captions"},
                              {"click": "Option1"}, {"click": "Option2"}, {"dump": "captions"})
        self.assertEqual(run.code, 0)
        dumps = [run.events[i:i + len(CAPTIONED) + 2]
                 for i in range(0, len(run.events), len(CAPTIONED) + 2)]
        english, french, back = dumps
        self.assertEqual([e["caption"] for e in english[:-2]], CAPTIONED)
        self.assertEqual(english[-2:], [{"option": "Option1", "on": False},
                                        {"option": "Option2", "on": True}])
        self.assertEqual(french[-2:], [{"option": "Option1", "on": True},
                                       {"option": "Option2", "on": False}])
        by_name = dict((e["caption"], e["text"]) for e in french[:-2])
        self.assertEqual(by_name["Form1"], "GMT")
        self.assertEqual(by_name["Label9"], "No de l'enregistr.")
        self.assertEqual(by_name["Label6"], "Latitude")
        self.assertEqual(by_name["Frame6"], "")
        self.assertEqual(back, english)

    def test_every_button_can_be_clicked(self):
        for button in COMMANDS + ["Option1", "Option2"]:
            with self.subTest(button=button):
                run = self.run_driver({"click": button}, {"get": "Datejour"})
                self.assertEqual(run.code, 0)
                self.assertEqual(run.kind("error"), [])
                self.assertEqual(run.events[-1]["field"], "Datejour")

    def test_yes_no_boxes_take_queued_answers_then_no(self):
        run = self.run_driver({"answer": "yes"}, {"answer": "no"}, {"click": "Newdata"},
                              {"click": "Newdata"}, {"click": "Newdata"})
        boxes = [e for e in run.kind("message") if e["buttons"] == "yesno"]
        self.assertEqual([e["answer"] for e in boxes], ["yes", "no", "no"])
        self.assertEqual(list(boxes[0]), ["message", "title", "buttons", "icon", "answer"])
        self.assertEqual(boxes[0]["message"], "Do you realy want to register these data ?")
        self.assertEqual(boxes[0]["title"], "")
        self.assertEqual(boxes[0]["icon"], "critical")

    def test_input_boxes_take_queued_texts_then_cancel(self):
        run = self.run_driver({"input": "ANCH"}, {"input": None}, {"click": "SearchName"},
                              {"click": "SearchName"}, {"click": "SearchName"})
        boxes = run.kind("inputbox")
        self.assertEqual([e["answer"] for e in boxes], ["ANCH", None, None])
        self.assertEqual(list(boxes[0]), ["inputbox", "title", "answer"])
        self.assertEqual(boxes[0]["title"], "Search")

    def test_ok_boxes_leave_queued_answers_alone(self):
        run = self.run_driver({"answer": "yes"}, {"set": "Datejour", "text": "nonsense"},
                              {"click": "RunName"}, {"set": "Datejour", "text": "05-03-2024"},
                              {"click": "Newdata"})
        self.assertEqual(run.events[0], {"beep": True})
        self.assertEqual(run.events[1], {"message": "error date format dd-mm-yyyy",
                                         "title": "Orvalin", "buttons": "ok", "icon": "none",
                                         "answer": "ok"})
        self.assertEqual(run.events[2]["buttons"], "yesno")
        self.assertEqual(run.events[2]["answer"], "yes")

    def test_blank_lines_are_ignored(self):
        run = self.run_driver("\n", "   \n", {"get": "GMT"}, "\n")
        self.assertEqual(run.code, 0)
        self.assertEqual(run.events, [{"field": "GMT", "text": " 1"}])

    def test_a_bad_line_stops_the_script_with_code_2(self):
        bad_lines = [
            "{not json\n",
            "[1, 2]\n",
            {"jump": "RunName"},
            {"get": "Nowhere"},
            {"get": "Label2"},
            {"set": "Nowhere", "text": "x"},
            {"set": "NameOfFile", "text": "other.dat"},
            {"set": "City"},
            {"set": "City", "text": 5},
            {"click": "Nowhere"},
            {"click": "City"},
            {"click": "Frame4"},
            {"answer": "maybe"},
            {"input": 3},
            {"dump": "everything"},
            {"get": "City", "extra": 1},
        ]
        for bad in bad_lines:
            with self.subTest(line=bad):
                run = self.run_driver({"get": "GMT"}, bad, {"get": "City"})
                self.assertEqual(run.code, 2)
                self.assertEqual(run.events[0], {"field": "GMT", "text": " 1"})
                self.assertEqual(len(run.events), 2)
                self.assertEqual(list(run.events[1]), ["error"])

    def test_bad_arguments_are_errors(self):
        for arguments in (["--today", "31-02-2024"], ["--today", "2024-03-05"], ["--speed"],
                          ["--dir", os.path.join(self.folder.name, "missing")]):
            with self.subTest(arguments=arguments):
                run = Run(self.folder.name, [], *arguments)
                self.assertEqual(run.code, 2)
                self.assertEqual([list(e) for e in run.events], [["error"]])

    def test_events_are_flushed_as_they_happen(self):
        driver = subprocess.Popen([DRIVER, "--dir", self.folder.name], stdin=subprocess.PIPE,
                                  stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        try:
            driver.stdin.write(b'{"get": "RecordN"}\n')
            driver.stdin.flush()
            self.assertEqual(json.loads(driver.stdout.readline()),
                             {"field": "RecordN", "text": "1"})
            driver.stdin.close()
            self.assertEqual(driver.wait(timeout=60), 0)
        finally:
            driver.kill()
            driver.stdout.close()


if __name__ == "__main__":
    DRIVER = sys.argv.pop(1)
    unittest.main()
