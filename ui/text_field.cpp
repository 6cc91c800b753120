#include "ui/text_field.h"

#include <QLineEdit>
#include <algorithm>
#include <memory>

namespace orvalin {
namespace {

// Longer texts than this are never undone step by step.
constexpr qsizetype kLongText = 256;

void DropUndoSteps(QLineEdit& field) {
  const int cursor = field.cursorPosition();
  const int selection_start = field.selectionStart();
  const qsizetype selection_length = field.selectedText().size();
  field.setText(field.text());  // setting the text clears the history
  if (selection_start >= 0) {
    field.setSelection(selection_start, static_cast<int>(selection_length));
  } else {
    field.setCursorPosition(cursor);
  }
}

}  // namespace

QLineEdit* NewTextField(QWidget& parent) {
  auto* field = new QLineEdit(QStringLiteral("Text1"), &parent);
  // textEdited comes before textChanged: it still sees the length before the edit.
  auto length_before = std::make_shared<qsizetype>(field->text().size());
  QObject::connect(field, &QLineEdit::textEdited, field,
                   [field, length_before](const QString& text) {
                     if (std::max(text.size(), *length_before) > kLongText) DropUndoSteps(*field);
                   });
  QObject::connect(field, &QLineEdit::textChanged, field,
                   [length_before](const QString& text) { *length_before = text.size(); });
  return field;
}

}  // namespace orvalin
