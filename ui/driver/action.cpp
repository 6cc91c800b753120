#include "ui/driver/action.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

namespace orvalin {
namespace {

// The action's keys exactly, in any order.
bool HasKeys(const QJsonObject& object, QStringList keys) {
  QStringList present = object.keys();
  present.sort();
  keys.sort();
  return present == keys;
}

Action Make(Action::Kind kind, const QJsonValue& name = {}, const QJsonValue& text = {}) {
  Action action;
  action.kind = kind;
  action.name = name.toString().toStdString();
  action.text = text.toString().toStdString();
  return action;
}

std::variant<Action, std::string> Named(Action::Kind kind, const QJsonValue& name,
                                        const char* what) {
  if (!name.isString()) return std::string(what) + " needs a name";
  return Make(kind, name);
}

std::variant<Action, std::string> FromObject(const QJsonObject& o) {
  if (HasKeys(o, {"set", "text"})) {
    if (!o["set"].isString() || !o["text"].isString()) {
      return std::string("set needs a field name and a text");
    }
    return Make(Action::Kind::Set, o["set"], o["text"]);
  }
  if (HasKeys(o, {"click"})) return Named(Action::Kind::Click, o["click"], "click");
  if (HasKeys(o, {"get"})) return Named(Action::Kind::Get, o["get"], "get");
  if (HasKeys(o, {"answer"})) {
    const QJsonValue answer = o["answer"];
    if (answer != QJsonValue("yes") && answer != QJsonValue("no")) {
      return std::string(R"(answer must be "yes" or "no")");
    }
    Action action = Make(Action::Kind::Answer);
    action.yes = answer == QJsonValue("yes");
    return action;
  }
  if (HasKeys(o, {"input"})) {
    const QJsonValue input = o["input"];
    if (!input.isNull() && !input.isString()) return std::string("input must be a text or null");
    Action action = Make(Action::Kind::Input);
    if (input.isString()) action.input = input.toString().toStdString();
    return action;
  }
  if (HasKeys(o, {"dump"})) {
    const QJsonValue what = o["dump"];
    if (what != QJsonValue("fields") && what != QJsonValue("captions")) {
      return std::string(R"(dump must be "fields" or "captions")");
    }
    Action action = Make(Action::Kind::Dump);
    action.listing =
        what == QJsonValue("fields") ? Action::Listing::Fields : Action::Listing::Captions;
    return action;
  }
  return "unknown action: " + QJsonDocument(o).toJson(QJsonDocument::Compact).toStdString();
}

}  // namespace

std::variant<Action, std::string> ReadAction(std::string_view line) {
  QJsonParseError parse{};
  const QJsonDocument document = QJsonDocument::fromJson(
      QByteArray(line.data(), static_cast<qsizetype>(line.size())), &parse);
  if (parse.error != QJsonParseError::NoError) {
    return "not valid JSON: " + parse.errorString().toStdString();
  }
  if (!document.isObject()) return std::string("an action must be a JSON object");
  return FromObject(document.object());
}

}  // namespace orvalin
