// A session with a usable place and no places file, for the date commands.
#pragma once

#include "commands/session.h"
#include "common/text.h"
#include "engine/sun_day.h"
#include "tests/support/memory_window.h"

struct DateHarness {
  DateHarness() : session(window) {
    session.DataDirectory = "/nonexistent-orvalin-fuzz/";
    session.HorizonAltitude = orvalin::kHorizonAltitude;
    window.SetFieldText(orvalin::Field::City, "Geneva");
    window.SetFieldText(orvalin::Field::Latitude, "46 12 0 N");
    window.SetFieldText(orvalin::Field::Longitude, "6 9 0 E");
    window.SetFieldText(orvalin::Field::Gmt, "1");
    session.WorkPlace.LatitudeText = orvalin::FixedText("46 12 0 N", 15);
    session.WorkPlace.LongitudeText = orvalin::FixedText("6 9 0 E", 15);
  }
  bool Refused() const {
    const auto m = window.MessageTexts();
    return !m.empty() && m.back() == "error date format dd-mm-yyyy" && window.BeepCount() == 1;
  }
  orvalin::MemoryWindow window;
  orvalin::Session session;
};
