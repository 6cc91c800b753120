// The logic's view of the window: texts by name, captions, options, and the dialogs.
#include <QAbstractButton>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>

#include "ui/layout.h"
#include "ui/main_window.h"
#include "ui/qt_text.h"

namespace orvalin {
namespace {

QWidget* Child(const QWidget& form, std::string_view name, ControlKind kind) {
  const ControlEntry* entry = FindControl(name);
  if (entry == nullptr || entry->kind != kind) return nullptr;
  return form.findChild<QWidget*>(ToQString(name));
}

// The busy cursor of a running command gives way to the arrow while a dialog waits.
template <typename Dialog>
auto WithArrowCursor(Dialog&& dialog) {
  QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
  const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
  return dialog();
}

}  // namespace

QLineEdit* MainWindow::Field(std::string_view name) const {
  return static_cast<QLineEdit*>(Child(*this, name, ControlKind::Field));
}

QAbstractButton* MainWindow::Button(std::string_view name) const {
  if (QWidget* command = Child(*this, name, ControlKind::Command)) {
    return static_cast<QAbstractButton*>(command);
  }
  return static_cast<QAbstractButton*>(Child(*this, name, ControlKind::Option));
}

std::string MainWindow::FieldText(orvalin::Field field) const {
  const QLineEdit* edit = Field(FieldControlName(field));
  return edit != nullptr ? edit->text().toStdString() : std::string();
}

void MainWindow::SetFieldText(orvalin::Field field, std::string_view text) {
  if (QLineEdit* edit = Field(FieldControlName(field))) edit->setText(ToQString(text));
}

std::string MainWindow::Caption(std::string_view control) const {
  if (control == kWindowControl) return windowTitle().toStdString();
  const QWidget* widget = findChild<QWidget*>(ToQString(control));
  if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
    return frame->title().toStdString();
  if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text().toStdString();
  if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
    return button->text().toStdString();
  }
  return {};
}

void MainWindow::SetCaption(std::string_view control, std::string_view caption) {
  const QString text = ToQString(caption);
  if (control == kWindowControl) return setWindowTitle(text);
  auto* widget = findChild<QWidget*>(ToQString(control));
  if (auto* frame = qobject_cast<QGroupBox*>(widget)) frame->setTitle(text);
  if (auto* label = qobject_cast<QLabel*>(widget)) label->setText(text);
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) button->setText(text);
  UpdateAccessibleNames();
}

Language MainWindow::SelectedLanguage() const {
  for (std::size_t k = 0; k < kLanguageCount; ++k) {
    if (Button(kLanguageOptions[k])->isChecked()) return static_cast<Language>(k);
  }
  return kFirstLanguage;
}

Answer MainWindow::ShowMessage(const MessageBox& box) {
  return WithArrowCursor([&] { return dialogs_->Message(this, box); });
}

std::string MainWindow::InputBox(std::string_view prompt, std::string_view title) {
  return WithArrowCursor([&] { return dialogs_->Input(this, prompt, title); });
}

void MainWindow::Beep() { dialogs_->Beep(); }

std::chrono::year_month_day MainWindow::Today() const { return dialogs_->Today(); }

// A screen reader names a field after the captions beside and above it, not after its text.
void MainWindow::UpdateAccessibleNames() {
  for (const ControlEntry& entry : kControls) {
    if (entry.kind != ControlKind::Field || entry.label.empty()) continue;
    std::string name = Caption(entry.label);
    if (!entry.column.empty()) name += " " + Caption(entry.column);
    Field(entry.name)->setAccessibleName(QString::fromStdString(name));
  }
}

}  // namespace orvalin
