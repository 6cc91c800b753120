#include "app/driver.h"

#include <QAbstractButton>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QStringList>

#include "app/json_line.h"
#include "ui/layout.h"

namespace orvalin {
namespace {

// The keys of an action's object, the first one naming the action.
bool HasKeys(const QJsonObject& action, QStringList keys) {
  QStringList present = action.keys();
  present.sort();
  keys.sort();
  return present == keys;
}

std::string Quoted(const QString& name) { return JsonString(name.toStdString()); }

bool IsCaptioned(const ControlSpec& spec) { return spec.kind != ControlKind::Field; }

}  // namespace

bool Driver::Run(std::string_view line) {
  QJsonParseError parse{};
  const QJsonDocument document =
      QJsonDocument::fromJson(QByteArray(line.data(), static_cast<qsizetype>(line.size())), &parse);
  std::string error;
  if (parse.error != QJsonParseError::NoError) {
    error = "not valid JSON: " + parse.errorString().toStdString();
  } else if (!document.isObject()) {
    error = "an action must be a JSON object";
  } else {
    error = Act(document.object());
  }
  if (error.empty()) return true;
  Emit(JsonLine().Text("error", error));
  return false;
}

std::string Driver::Act(const QJsonObject& action) {
  if (HasKeys(action, {"set", "text"})) return Set(action);
  if (HasKeys(action, {"click"})) return Click(action);
  if (HasKeys(action, {"answer"})) return AnswerBox(action);
  if (HasKeys(action, {"input"})) return AnswerInput(action);
  if (HasKeys(action, {"get"})) return Get(action);
  if (HasKeys(action, {"dump"})) return Dump(action);
  return "unknown action: " + QJsonDocument(action).toJson(QJsonDocument::Compact).toStdString();
}

std::string Driver::Set(const QJsonObject& action) {
  const QString name = action["set"].toString();
  if (!action["set"].isString() || !action["text"].isString()) {
    return "set needs a field name and a text";
  }
  QLineEdit* field = window_.Field(name.toStdString());
  if (field == nullptr) return "unknown field " + Quoted(name);
  if (field->isHidden()) return "the field " + Quoted(name) + " is hidden and cannot be set";
  // As typed over the selected whole text.
  field->selectAll();
  field->insert(action["text"].toString());
  return {};
}

std::string Driver::Click(const QJsonObject& action) {
  const QString name = action["click"].toString();
  QAbstractButton* button = window_.Button(name.toStdString());
  if (button == nullptr) return "unknown button " + Quoted(name);
  button->click();
  return {};
}

std::string Driver::AnswerBox(const QJsonObject& action) {
  const QJsonValue answer = action["answer"];
  if (answer == QJsonValue("yes")) {
    dialogs_.QueueAnswer(Answer::Yes);
  } else if (answer == QJsonValue("no")) {
    dialogs_.QueueAnswer(Answer::No);
  } else {
    return "answer must be \"yes\" or \"no\"";
  }
  return {};
}

std::string Driver::AnswerInput(const QJsonObject& action) {
  const QJsonValue input = action["input"];
  if (input.isNull()) {
    dialogs_.QueueInput(std::nullopt);
  } else if (input.isString()) {
    dialogs_.QueueInput(input.toString().toStdString());
  } else {
    return "input must be a text or null";
  }
  return {};
}

std::string Driver::Get(const QJsonObject& action) {
  const QString name = action["get"].toString();
  if (window_.Field(name.toStdString()) == nullptr) return "unknown field " + Quoted(name);
  Emit(JsonLine()
           .Text("field", name.toStdString())
           .Text("text", window_.FieldText(name.toStdString())));
  return {};
}

std::string Driver::Dump(const QJsonObject& action) {
  const QJsonValue what = action["dump"];
  if (what == QJsonValue("fields")) {
    for (const ControlSpec& spec : kControls) {
      if (spec.kind != ControlKind::Field) continue;
      Emit(JsonLine().Text("field", spec.name).Text("text", window_.FieldText(spec.name)));
    }
    return {};
  }
  if (what == QJsonValue("captions")) {
    Emit(JsonLine().Text("caption", "Form1").Text("text", window_.Caption("Form1")));
    for (const ControlSpec& spec : kControls) {
      if (!IsCaptioned(spec)) continue;
      Emit(JsonLine().Text("caption", spec.name).Text("text", window_.Caption(spec.name)));
    }
    for (const char* option : {"Option1", "Option2"}) {
      Emit(JsonLine().Text("option", option).Flag("on", window_.IsOptionOn(option)));
    }
    return {};
  }
  return "dump must be \"fields\" or \"captions\"";
}

}  // namespace orvalin
