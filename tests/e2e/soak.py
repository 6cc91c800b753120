"""A seeded random soak of the real window through orvalin-driver.

Every field, every button, both languages, Yes/No/Cancel answers, good and malformed texts up to
1 MB, on a file of 1,000 places. After every command that may write the file, the file is compared
with a model of what the commands should have done to it. The driver's memory is sampled to show
it stays flat. Usage: soak.py [--actions N] [--seed S] [--records R]
"""

import argparse
import os
import random
import sys
import tempfile

sys.path.insert(0, os.path.dirname(__file__))
from driver import LiveDriver, record  # noqa: E402

FIELDS = ["Datejour", "City", "Country", "Latitude", "Longitude", "GMT", "Horizon", "RecordN",
          "SunRise", "Azimuth", "Culmination", "Azimuth3", "SunSet", "Azimuth2", "Duration",
          "Elevation"]
BUTTONS = ["RunName", "Today", "NextDay", "PreviousDay", "PreviousData", "NextData",
           "SaveModif", "Newdata", "DefaultData", "SearchName", "Option1", "Option2"]
LETTERS = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ éèüÉŒœšŠ東-."


def read_number(text):
    """The numeric value of the leading part of a text, or None for an overflow."""
    s = "".join(c for c in text if c not in " \t\n")
    i, n = 0, len(s)
    mant = ""
    if i < n and s[i] in "+-":
        mant += s[i]
        i += 1
    digits = point = False
    while i < n and (s[i].isdigit() and s[i] in "0123456789" or (s[i] == "." and not point)):
        digits |= s[i] != "."
        point |= s[i] == "."
        mant += s[i]
        i += 1
    if not digits:
        return 0.0
    if i < n and s[i] in "EeDd":
        j = i + 1
        exp = ""
        if j < n and s[j] in "+-":
            exp += s[j]
            j += 1
        if j < n and s[j] in "0123456789":
            while j < n and s[j] in "0123456789":
                exp += s[j]
                j += 1
            mant += "e" + exp
    try:
        value = float(mant)
    except OverflowError:
        return None
    return None if value in (float("inf"), float("-inf")) else value


def round_to_int16(value):
    if value is None:
        return None
    r = round(value)  # halves to even, as the program rounds
    return r if -32768 <= r <= 32767 else None


def fixed(text, width):
    return text[:width].ljust(width)


def encode(fields, gmt):
    return record(fixed(fields["City"], 20), fixed(fields["Country"], 20),
                  fixed(fields["Latitude"], 15), fixed(fields["Longitude"], 15), gmt)


def name_key(rec):
    return rec[:20].decode("cp1252")


def place_text(rng):
    return "".join(rng.choice(LETTERS) for _ in range(rng.randint(0, 24)))


def angle_text(rng, letters):
    if rng.random() < 0.2:
        return place_text(rng)
    return (f"{rng.randint(0, 89)} {rng.randint(0, 59)} {rng.randint(0, 59)} "
            f"{rng.choice(letters)}")


def field_text(rng, name):
    roll = rng.random()
    if roll < 0.0005:
        return rng.choice(LETTERS) * rng.randint(100_000, 1_000_000)  # up to 1 MB
    if name == "Datejour":
        return rng.choice([f"{rng.randint(1, 28)}-{rng.randint(1, 12)}-{rng.randint(1700, 2300)}",
                           "31-02-2024", "29-02-2100", "abc", "15-13-2024", "", "99999-1-1",
                           f"{rng.randint(1, 31)}-{rng.randint(1, 12)}-{rng.randint(-50, 9999)}"])
    if name == "Latitude":
        return angle_text(rng, "NSNSx")
    if name == "Longitude":
        return angle_text(rng, "EWOEy")
    if name == "GMT":
        return rng.choice([str(rng.randint(-12, 12)), "2.5", "abc", "", "40000", "1e400", "-3.5"])
    if name == "City":
        return rng.choice([place_text(rng), "", "Not defined", "Geneva"])
    return place_text(rng)


def sample_file(count, rng):
    names = [place_text(rng)[:20] or "X" for _ in range(count)]
    return [record(n, "Country", f"{rng.randint(0, 60)} {rng.randint(0, 59)} 0 N",
                   f"{rng.randint(0, 170)} {rng.randint(0, 59)} 0 E", rng.randint(-12, 12))
            for n in names]


def rss_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


class Model:
    """What the places file should hold, and which record is current."""

    def __init__(self, records):
        self.records = list(records)
        self.current = 1

    def usable(self, city):
        return city not in ("", "Not defined")

    def after(self, button, fields, events, answer_yes):
        """Applies a command, given the fields before it and the events it wrote."""
        n = len(self.records)
        gmt = round_to_int16(read_number(fields["GMT"]))
        city = fields["City"]
        if button == "PreviousData":
            self.current = 0 if self.current <= 1 else self.current - 1
        elif button == "NextData":
            if self.current < n:
                self.current += 1
        elif button == "Newdata" and answer_yes:
            self.current = n + 1
            if gmt is not None:
                self.records.append(encode(fields, gmt))
        elif button == "SaveModif" and self.current != 0 and gmt is not None:
            rec = encode(fields, gmt)
            if self.current <= n:
                self.records[self.current - 1] = rec
            else:
                self.records.append(rec)
            if not self.usable(city):
                self.current = 1
        elif button == "DefaultData":
            k = self.current or 1
            if k <= n:
                chosen = self.records[k - 1]
                rest = self.records[:k - 1] + self.records[k:]
                self.records = [chosen] + sorted(rest, key=name_key)
                self.current = 1
        elif button == "SearchName":
            missed = any(e.get("message") in ("Place not found", "Lieu inconnu") for e in events)
            if not missed and n > 0:
                self.current = int(events_field(events, "RecordN"))
        elif button in ("RunName", "Today", "NextDay", "PreviousDay") and not self.usable(city):
            self.current = 1


def events_field(events, name):
    texts = [e["text"] for e in events if e.get("field") == name]
    return texts[-1]


def dump(live):
    events = live.act({"dump": "fields"})
    return {e["field"]: e["text"] for e in events if "field" in e}, events


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--actions", type=int, default=100_000)
    parser.add_argument("--seed", type=int, default=20261207)
    parser.add_argument("--records", type=int, default=1000)
    args = parser.parse_args()
    rng = random.Random(args.seed)
    base = "/dev/shm" if os.path.isdir("/dev/shm") else None
    with tempfile.TemporaryDirectory(prefix="orvalin-soak-", dir=base) as folder:
        path = os.path.join(folder, "location.dat")
        model = Model(sample_file(args.records, rng))
        with open(path, "wb") as f:
            f.write(b"".join(model.records))
        # A small quarantine keeps a sanitized driver's memory a measure of its own use.
        env = dict(os.environ)
        # Large texts stay in mapped memory, returned when freed, so that RSS measures what the
        # program holds rather than how glibc's heap happens to be fragmented.
        env.setdefault("MALLOC_MMAP_THRESHOLD_", "131072")
        if env.get("ASAN_OPTIONS") is not None:
            env["ASAN_OPTIONS"] += ":quarantine_size_mb=4:thread_local_quarantine_size_kb=64"
        live = LiveDriver(folder, today="07-12-2026", env=env)
        live.act()
        fields, _ = dump(live)
        done, checks, memory = 1, 0, []
        while done < args.actions:
            roll = rng.random()
            if roll < 0.45:
                name = rng.choice(FIELDS)
                text = field_text(rng, name)
                live.act({"set": name, "text": text})
                fields[name] = text
                done += 1
                continue
            button = rng.choice(BUTTONS)
            answer_yes = False
            actions = []
            if button == "Newdata":  # answered Yes, No, or left to the default No
                answer = rng.choice(["yes", "yes", "no", None])
                answer_yes = answer == "yes"
                actions = [{"answer": answer}] if answer else []
            if button == "SearchName":
                choice = rng.random()
                typed = None if choice < 0.2 else (rng.choice(model.records)[:rng.randint(1, 8)]
                                                   .decode("cp1252").lower()
                                                   if choice < 0.7 else place_text(rng))
                actions = [{"input": typed}]
            events = live.act(*actions, {"click": button}, {"get": "RecordN"})
            model.after(button, fields, events, answer_yes)
            fields, _ = dump(live)
            done += 4
            if button in ("Newdata", "SaveModif", "DefaultData"):
                with open(path, "rb") as f:
                    actual = f.read()
                expected = b"".join(model.records)
                if actual != expected:
                    print(f"file differs from the model after {button} at action {done}",
                          file=sys.stderr)
                    return 1
                checks += 1
            if not memory or done * 20 // args.actions > len(memory) - 1:
                memory.append(rss_kib(live.proc.pid))
        memory.append(rss_kib(live.proc.pid))
        code = live.close()
        if code != 0:
            print(f"driver exited {code}", file=sys.stderr)
            return 1
    # Flat: the second half of the run adds no more than a few MiB to the first half's peak.
    half = memory[:len(memory) // 2]
    growth = memory[-1] - max(half) if half else 0
    print(f"soak: {done} actions, {checks} file checks, {len(model.records)} records at the end; "
          f"RSS (MiB) every 5%: {' '.join(str(m // 1024) for m in memory)}")
    if growth > 16 * 1024:
        print(f"memory grew by {growth // 1024} MiB in the second half", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
