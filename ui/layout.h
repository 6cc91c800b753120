// Every control of the main window: its name, kind, container, place and first caption.
#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "commands/captions.h"
#include "commands/messages.h"
#include "commands/window.h"

class QString;
class QWidget;

namespace orvalin {

enum class ControlKind { Frame, Label, Field, Command, Option };

struct ControlEntry {
  std::string_view name;
  ControlKind kind;
  std::string_view container;    // empty: the window itself
  int left, top, width, height;  // twips, relative to the container
  std::string_view caption;      // frames, labels and buttons
  bool bold = false;             // frame captions only
  // Fields: the labels whose captions name the field for a screen reader (row, then column).
  std::string_view label = {}, column = {};
  std::optional<orvalin::Field> field = {};  // text fields: the field the logic names
};

// The window itself, whose title the driver lists among the captions.
inline constexpr std::string_view kWindowControl = "Form1";

inline constexpr int kTwipsPerPixel = 15;
inline constexpr int kClientWidth = 7110 / kTwipsPerPixel;
inline constexpr int kClientHeight = 6450 / kTwipsPerPixel;

// Captions that follow the language are the catalogue's. Containers come before their controls.
// Fields and captioned controls each appear in the order the driver dumps them.
// clang-format off
inline constexpr auto kControls = std::to_array<ControlEntry>({
    {"Frame4", ControlKind::Frame, "", 0, 120, 3735, 1455, "Date", true},
    {"Datejour", ControlKind::Field, "Frame4", 120, 240, 1215, 285, "", false, "Frame4", {},
     Field::Date},
    {"RunName", ControlKind::Command, "Frame4", 1440, 240, 2175, 255, FirstCaption("RunName")},
    {"PreviousDay", ControlKind::Command, "Frame4", 120, 840, 1095, 255,
     FirstCaption("PreviousDay")},
    {"Today", ControlKind::Command, "Frame4", 1320, 840, 1095, 255, FirstCaption("Today")},
    {"NextDay", ControlKind::Command, "Frame4", 2520, 840, 1095, 255, FirstCaption("NextDay")},

    {"Frame6", ControlKind::Frame, "", 3840, 120, 1215, 1455, ""},
    {"Option1", ControlKind::Option, "Frame6", 120, 240, 975, 195, "Français"},
    {"Option2", ControlKind::Option, "Frame6", 120, 840, 855, 255, "English"},

    {"Frame1", ControlKind::Frame, "", 0, 1560, 3735, 2415, "Data", true},
    {"Label2", ControlKind::Label, "Frame1", 240, 240, 495, 255, FirstCaption("Label2")},
    {"City", ControlKind::Field, "Frame1", 1560, 240, 1695, 285, "", false, "Label2", {},
     Field::City},
    {"Label5", ControlKind::Label, "Frame1", 240, 600, 615, 255, FirstCaption("Label5")},
    {"Country", ControlKind::Field, "Frame1", 1560, 600, 1695, 285, "", false, "Label5", {},
     Field::Country},
    {"Label6", ControlKind::Label, "Frame1", 240, 960, 615, 255, "Latitude"},
    {"Latitude", ControlKind::Field, "Frame1", 1560, 960, 1695, 285, "", false, "Label6", {},
     Field::Latitude},
    {"Label7", ControlKind::Label, "Frame1", 240, 1320, 735, 255, "Longitude"},
    {"Longitude", ControlKind::Field, "Frame1", 1560, 1320, 1695, 285, "", false, "Label7", {},
     Field::Longitude},
    {"Label8", ControlKind::Label, "Frame1", 240, 1680, 615, 255, "GMT"},
    {"GMT", ControlKind::Field, "Frame1", 1560, 1680, 855, 285, "", false, "Label8", {},
     Field::Gmt},
    {"Label3", ControlKind::Label, "Frame1", 240, 2040, 615, 255, "Horizon"},
    {"Horizon", ControlKind::Field, "Frame1", 1560, 2040, 855, 285, "", false, "Label3", {},
     Field::Horizon},

    {"Frame3", ControlKind::Frame, "", 3840, 1560, 3255, 2415, FirstCaption("Frame3"), true},
    {"Label9", ControlKind::Label, "Frame3", 240, 360, 1455, 255, FirstCaption("Label9")},
    {"RecordN", ControlKind::Field, "Frame3", 1680, 360, 1335, 285, "", false, "Label9", {},
     Field::RecordNumber},
    {"PreviousData", ControlKind::Command, "Frame3", 240, 960, 1215, 255,
     FirstCaption("PreviousData")},
    {"SaveModif", ControlKind::Command, "Frame3", 1680, 960, 1335, 255,
     FirstCaption("SaveModif")},
    {"NextData", ControlKind::Command, "Frame3", 240, 1200, 1215, 255, FirstCaption("NextData")},
    {"Newdata", ControlKind::Command, "Frame3", 1680, 1200, 1335, 255, FirstCaption("Newdata")},
    {"DefaultData", ControlKind::Command, "Frame3", 240, 1800, 2775, 255,
     FirstCaption("DefaultData")},
    {"SearchName", ControlKind::Command, "Frame3", 240, 2040, 2775, 255,
     FirstCaption("SearchName")},

    {"Frame2", ControlKind::Frame, "", 0, 3960, 7095, 2295, FirstCaption("Frame2"), true},
    {"Label17", ControlKind::Label, "Frame2", 960, 360, 975, 255, "U.T. time"},
    {"Label13", ControlKind::Label, "Frame2", 2760, 360, 615, 255, "Azimuth"},
    {"Label12", ControlKind::Label, "Frame2", 120, 600, 615, 255, FirstCaption("Label12")},
    {"SunRise", ControlKind::Field, "Frame2", 960, 600, 1335, 285, "", false, "Label12", "Label17",
     Field::SunriseTime},
    {"Azimuth", ControlKind::Field, "Frame2", 2760, 600, 1335, 285, "", false, "Label12", "Label13",
     Field::SunriseAzimuth},
    {"Label14", ControlKind::Label, "Frame2", 120, 960, 855, 255, "Culmination"},
    {"Culmination", ControlKind::Field, "Frame2", 960, 960, 1335, 285, "", false, "Label14", "Label17",
     Field::CulminationTime},
    {"Azimuth3", ControlKind::Field, "Frame2", 2760, 960, 1335, 285, "", false, "Label14", "Label13",
     Field::CulminationAzimuth},
    {"Label16", ControlKind::Label, "Frame2", 120, 1320, 615, 255, FirstCaption("Label16")},
    {"SunSet", ControlKind::Field, "Frame2", 960, 1320, 1335, 285, "", false, "Label16", "Label17",
     Field::SunsetTime},
    {"Azimuth2", ControlKind::Field, "Frame2", 2760, 1320, 1335, 285, "", false, "Label16", "Label13",
     Field::SunsetAzimuth},
    {"Label18", ControlKind::Label, "Frame2", 120, 1800, 615, 255, FirstCaption("Label18")},
    {"Duration", ControlKind::Field, "Frame2", 960, 1800, 1335, 285, "", false, "Label18", {},
     Field::DayLength},
    {"Label19", ControlKind::Label, "Frame2", 4440, 960, 735, 255, "Elevation"},
    {"Elevation", ControlKind::Field, "Frame2", 5640, 960, 1335, 285, "", false, "Label19", {},
     Field::CulminationElevation},

    // Holds the places file's name for the places operations; never shown.
    {"NameOfFile", ControlKind::Field, "", 4320, 3600, 1935, 285, "", false, {}, {},
     Field::FileName},
});
// clang-format on

// The option button of each language, in the order of Language.
inline constexpr std::array<std::string_view, kLanguageCount> kLanguageOptions = {"Option1",
                                                                                  "Option2"};

// Tab key order.
inline constexpr auto kTabOrder = std::to_array<std::string_view>({
    "Elevation",   "Duration", "Azimuth2",     "SunSet",   "Azimuth3", "Culmination",
    "Azimuth",     "SunRise",  "GMT",          "Country",  "Latitude", "Longitude",
    "City",        "RecordN",  "PreviousData", "NextData", "Newdata",  "SaveModif",
    "DefaultData", "Datejour", "RunName",      "Today",    "NextDay",  "PreviousDay",
    "SearchName",  "Option1",  "Option2",      "Horizon",
});

const ControlEntry* FindControl(std::string_view name);
// The control name of a text field.
std::string_view FieldControlName(Field field);

// Creates every control of kControls on `form`, named, placed and captioned, fields holding
// "Text1", NameOfFile hidden.
void BuildControls(QWidget& form);

// Every caption a control shows, in any language.
std::vector<QString> Captions(const ControlEntry& entry);
// Width a caption may take in a control, after the style's frame or indicator.
int CaptionRoom(const ControlEntry& entry, const QWidget& widget);

}  // namespace orvalin
