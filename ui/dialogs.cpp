#include "ui/dialogs.h"

#include <QApplication>
#include <QDate>
#include <QInputDialog>
#include <QMessageBox>

#include "ui/qt_text.h"

namespace orvalin {

Answer QtDialogs::Message(QWidget* parent, const MessageBox& box) {
  QMessageBox dialog(parent);
  dialog.setWindowTitle(ToQString(box.title));
  dialog.setText(ToQString(box.text));
  dialog.setTextFormat(Qt::PlainText);
  dialog.setIcon(box.icon == Icon::Critical ? QMessageBox::Critical : QMessageBox::NoIcon);
  if (box.buttons == Buttons::Ok) {
    dialog.setStandardButtons(QMessageBox::Ok);
    dialog.exec();
    return Answer::Ok;
  }
  dialog.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
  dialog.setDefaultButton(QMessageBox::No);
  dialog.setEscapeButton(QMessageBox::No);
  return dialog.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
}

std::string QtDialogs::Input(QWidget* parent, std::string_view prompt, std::string_view title) {
  QInputDialog dialog(parent);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQString(title));
  dialog.setLabelText(ToQString(prompt));
  dialog.setTextValue(QString());
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdString();
}

void QtDialogs::Beep() { QApplication::beep(); }

std::chrono::year_month_day QtDialogs::Today() {
  const QDate today = QDate::currentDate();
  return std::chrono::year_month_day{std::chrono::year{today.year()},
                                     std::chrono::month{static_cast<unsigned>(today.month())},
                                     std::chrono::day{static_cast<unsigned>(today.day())}};
}

}  // namespace orvalin
