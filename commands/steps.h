// Every trapped command of the window: the label its failure reports end with and the number of
// each of its steps, "<description> in line <step> of <label>". People quote these reports, so a
// step keeps its number wherever its code moves; the numbers are not in order of the steps.
#pragma once

#include <string_view>

namespace orvalin::steps {

// Loading the default place and making a place the default report under one label.
inline constexpr std::string_view kDefaultLabel = "DEFAULT";

// The day's calculation; it beeps before its report.
namespace calculate_day {
inline constexpr std::string_view kLabel = "ORVALIN";
inline constexpr int kTakePlace = 600, kCompute = 610, kShowResults = 650;
}  // namespace calculate_day

// Record 1 into the place fields. A missing record 1 there is no failure: the user is asked to
// store a place first.
namespace load_default {
inline constexpr std::string_view kLabel = kDefaultLabel;
inline constexpr int kChooseFile = 100, kOpen = 200, kRead = 210, kShow = 215;
}  // namespace load_default

// Button PreviousData.
namespace previous_record {
inline constexpr std::string_view kLabel = "PreviousRecord";
inline constexpr int kStart = 0, kOpen = 400, kShow = 410;
}  // namespace previous_record

// Button NextData.
namespace next_record {
inline constexpr std::string_view kLabel = "NextRecord";
inline constexpr int kStart = 330, kOpen = 300, kNumber = 305, kShow = 310;
}  // namespace next_record

// Button Newdata.
namespace add_record {
inline constexpr std::string_view kLabel = "AddRecord";
inline constexpr int kAsk = 0, kChooseFile = 520, kOpen = 530, kCount = 531, kNumber = 532,
                     kWrite = 533, kClose = 540;
}  // namespace add_record

// Button SaveModif; each part of the place is taken in a step of its own.
namespace save_modif {
inline constexpr std::string_view kLabel = "SaveModif";
inline constexpr int kStart = 720, kOpen = 730, kNumber = 740, kWrite = 780, kClose = 790;
// Name, country, latitude, longitude and offset, in the order of PlacePart.
inline constexpr int kTakePart[] = {741, 742, 743, 744, 745};
}  // namespace save_modif

// Button DefaultData: the place shown becomes record 1, then the others are sorted.
namespace default_data {
inline constexpr std::string_view kLabel = kDefaultLabel;
inline constexpr int kChooseFile = 920, kOpen = 930, kNoRecord = 931, kNumber = 932, kRead = 934,
                     kReadAll = 940, kReplace = 942, kShown = 944, kSort = 950;
}  // namespace default_data

// The sort of records 2 to N that DefaultData ends with.
namespace bubble_sort {
inline constexpr std::string_view kLabel = "Bubblesort";
inline constexpr int kChooseFile = 6520, kOpen = 6550, kCount = 6560, kCompare = 6630,
                     kExchange = 6650, kClose = 6660;
}  // namespace bubble_sort

// Button SearchName: kCount while records are left to read, kRead while one is read or the
// folded names are searched.
namespace search {
inline constexpr std::string_view kLabel = "Search";
inline constexpr int kAsk = 0, kChooseFile = 830, kOpen = 800, kCount = 820, kRead = 810;
}  // namespace search

}  // namespace orvalin::steps
