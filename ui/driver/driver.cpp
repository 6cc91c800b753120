#include "ui/driver/driver.h"

#include <QAbstractButton>
#include <QLineEdit>

#include "ui/driver/json_line.h"
#include "ui/layout.h"

namespace orvalin {
namespace {

std::string Quoted(const std::string& name) { return JsonString(name); }

}  // namespace

std::string Driver::FieldText(std::string_view name) const {
  return window_.Field(name)->text().toStdString();
}

bool Driver::Run(std::string_view line) {
  const auto read = ReadAction(line);
  const Problem error = std::holds_alternative<Action>(read) ? Act(std::get<Action>(read))
                                                             : std::get<std::string>(read);
  if (!error) return true;
  Emit(JsonLine().Text("error", *error));
  return false;
}

Problem Driver::Act(const Action& action) {
  switch (action.kind) {
    case Action::Kind::Set:
      return Set(action);
    case Action::Kind::Click:
      return Click(action);
    case Action::Kind::Answer:
      dialogs_.QueueAnswer(action.yes ? Answer::Yes : Answer::No);
      return {};
    case Action::Kind::Input:
      dialogs_.QueueInput(action.input);
      return {};
    case Action::Kind::Get:
      return Get(action);
    case Action::Kind::Dump:
      return Dump(action);
  }
  return {};
}

Problem Driver::Set(const Action& action) {
  QLineEdit* field = window_.Field(action.name);
  if (field == nullptr) return "unknown field " + Quoted(action.name);
  if (field->isHidden()) return "the field " + Quoted(action.name) + " is hidden and cannot be set";
  // As typed over the selected whole text.
  field->selectAll();
  field->insert(QString::fromStdString(action.text));
  return {};
}

Problem Driver::Click(const Action& action) {
  QAbstractButton* button = window_.Button(action.name);
  if (button == nullptr) return "unknown button " + Quoted(action.name);
  button->click();
  return {};
}

Problem Driver::Get(const Action& action) {
  if (window_.Field(action.name) == nullptr) return "unknown field " + Quoted(action.name);
  Emit(JsonLine().Text("field", action.name).Text("text", FieldText(action.name)));
  return {};
}

Problem Driver::Dump(const Action& action) {
  if (action.listing == Action::Listing::Fields) {
    for (const ControlEntry& entry : kControls) {
      if (entry.kind != ControlKind::Field) continue;
      Emit(JsonLine().Text("field", entry.name).Text("text", FieldText(entry.name)));
    }
    return {};
  }
  Emit(JsonLine().Text("caption", kWindowControl).Text("text", window_.Caption(kWindowControl)));
  for (const ControlEntry& entry : kControls) {
    if (entry.kind == ControlKind::Field) continue;
    Emit(JsonLine().Text("caption", entry.name).Text("text", window_.Caption(entry.name)));
  }
  for (const std::string_view option : kLanguageOptions) {
    Emit(JsonLine().Text("option", option).Flag("on", window_.Button(option)->isChecked()));
  }
  return {};
}

}  // namespace orvalin
