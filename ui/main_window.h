// The main window: the controls of the layout table, each command button wired to its handler,
// and the logic's Window interface over the real widgets.
#pragma once

#include <QWidget>
#include <memory>
#include <string>
#include <string_view>

#include "commands/session.h"
#include "commands/window.h"
#include "ui/dialogs.h"
#include "ui/local_times.h"

class QAbstractButton;
class QLineEdit;

namespace orvalin {

class MainWindow : public QWidget, public Window {
 public:
  // Builds the controls, then runs the start-up sequence with `dialogs`.
  explicit MainWindow(std::unique_ptr<Dialogs> dialogs, QWidget* parent = nullptr);
  ~MainWindow() override;

  std::string FieldText(orvalin::Field field) const override;
  void SetFieldText(orvalin::Field field, std::string_view text) override;
  void SetCaption(std::string_view control, std::string_view caption) override;
  Language SelectedLanguage() const override;
  Answer ShowMessage(const MessageBox& box) override;
  std::string InputBox(std::string_view prompt, std::string_view title) override;
  void Beep() override;
  std::chrono::year_month_day Today() const override;

  // Caption of a control (kWindowControl: the window title); "" for a name without one.
  std::string Caption(std::string_view control) const;
  // Controls by name, nullptr when the name is not one of that kind.
  QLineEdit* Field(std::string_view name) const;
  QAbstractButton* Button(std::string_view name) const;

  Session& session() { return session_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ConnectCommands();
  void Run(void (*handler)(Session&));
  void SetTabOrder();
  void OptionChanged();
  void UpdateAccessibleNames();

  std::unique_ptr<Dialogs> dialogs_;
  Session session_{*this};
  LocalTimes local_times_;
};

}  // namespace orvalin
