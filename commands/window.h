// What the logic needs of the window. The Qt window implements it, for the desktop program and
// the driver; tests, benchmarks and fuzz targets use MemoryWindow (tests/support).
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

#include "commands/messages.h"

namespace orvalin {

inline constexpr std::string_view kProgramTitle = "Orvalin";

enum class Buttons { Ok, YesNo };  // YesNo: No is the default button
enum class Icon { None, Critical };
enum class Answer { Ok, Yes, No };

struct MessageBox {
  std::string text;
  std::string title{kProgramTitle};
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
};

// The window's text fields, in the order the driver dumps them.
enum class Field {
  Date,
  City,
  Country,
  Latitude,
  Longitude,
  Gmt,
  Horizon,
  RecordNumber,
  SunriseTime,
  SunriseAzimuth,
  CulminationTime,
  CulminationAzimuth,
  SunsetTime,
  SunsetAzimuth,
  DayLength,
  CulminationElevation,
  FileName,  // hidden: the places file's name for the places operations
};
inline constexpr std::size_t kFieldCount = 17;

class Window {
 public:
  virtual ~Window() = default;

  // Whole text of a text field.
  virtual std::string FieldText(Field field) const = 0;
  virtual void SetFieldText(Field field, std::string_view text) = 0;
  // Caption of a label, frame or button, by its name.
  virtual void SetCaption(std::string_view control, std::string_view caption) = 0;
  // The language of the option button that is on.
  virtual Language SelectedLanguage() const = 0;

  // Modal dialogs.
  virtual Answer ShowMessage(const MessageBox& box) = 0;
  // Prompt, title and an empty edit field; the typed text, or "" when cancelled.
  virtual std::string InputBox(std::string_view prompt, std::string_view title) = 0;
  virtual void Beep() = 0;

  // Today's local date from the system clock.
  virtual std::chrono::year_month_day Today() const = 0;
};

// An OK-only box with the program's title.
void Tell(Window& window, std::string_view text);

// A message of the catalogue in the window's selected language, and that message in an OK box.
std::string_view TextOf(const Window& window, Message message);
void Tell(Window& window, Message message);

}  // namespace orvalin
