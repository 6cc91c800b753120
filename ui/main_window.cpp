#include "ui/main_window.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopeGuard>
#include <array>
#include <exception>

#include "commands/browse.h"
#include "commands/captions.h"
#include "commands/date_commands.h"
#include "commands/default_place.h"
#include "commands/search.h"
#include "commands/start_up.h"
#include "ui/layout.h"
#include "ui/qt_text.h"

namespace orvalin {
namespace {

struct Command {
  std::string_view button;
  void (*handler)(Session&);
};

constexpr std::array<Command, 10> kCommands{{
    {"RunName", &CalculateWithNewDate},
    {"Today", &Today},
    {"NextDay", &NextDay},
    {"PreviousDay", &PreviousDay},
    {"PreviousData", &PreviousRecord},
    {"NextData", &NextRecord},
    {"SaveModif", &UpdatePlace},
    {"Newdata", &AddRecord},
    {"DefaultData", &DefaultData},
    {"SearchName", &Search},
}};

bool IsArrowKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

// Return or Enter (the keypad's too) without Shift, Ctrl, Alt or Meta.
bool IsReturnKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const auto* key = static_cast<const QKeyEvent*>(event);
  return (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
         (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

}  // namespace

MainWindow::MainWindow(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)) {
  setObjectName(ToQString(kWindowControl));
  setWindowTitle(QStringLiteral("GMT"));
  BuildControls(*this);
  setFixedSize(kClientWidth, kClientHeight);
  Button(kLanguageOptions[static_cast<std::size_t>(kFirstLanguage)])->setChecked(true);
  ConnectCommands();
  SetTabOrder();
  OptionChanged();
  UpdateAccessibleNames();
  Run(&StartUp);
  Field("Elevation")->setFocus();
}

MainWindow::~MainWindow() = default;

void MainWindow::ConnectCommands() {
  for (const Command& command : kCommands) {
    QAbstractButton* button = Button(command.button);
    button->installEventFilter(this);
    connect(button, &QAbstractButton::clicked, this, [this, command] { Run(command.handler); });
  }
  for (std::size_t k = 0; k < kLanguageCount; ++k) {
    QAbstractButton* button = Button(kLanguageOptions[k]);
    button->installEventFilter(this);
    connect(button, &QAbstractButton::toggled, this, [this, k](bool on) {
      if (!on) return;
      SetCaptions(*this, static_cast<Language>(k));
      OptionChanged();
    });
  }
}

void MainWindow::Run(void (*handler)(Session&)) {
  // A command on a large places file may take a while.
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
  try {
    handler(session_);
  } catch (const std::exception& failure) {
    // Handlers report their own failures; one that escapes must not end the program.
    ShowMessage(MessageBox{.text = failure.what()});
  }
  local_times_.Update(session_, [this](orvalin::Field f) { return Field(FieldControlName(f)); });
}

void MainWindow::SetTabOrder() {
  for (std::size_t i = 1; i < kTabOrder.size(); ++i) {
    auto* previous = findChild<QWidget*>(QString::fromUtf8(kTabOrder[i - 1]));
    auto* next = findChild<QWidget*>(QString::fromUtf8(kTabOrder[i]));
    setTabOrder(previous, next);
  }
}

// Tab reaches only the option that is on, as in a group of option buttons.
void MainWindow::OptionChanged() {
  for (const std::string_view option : kLanguageOptions) {
    QAbstractButton* button = Button(option);
    button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

// Any arrow key on an option button selects the next one, as a click would, wrapping around.
// Return or Enter on a command button presses it, as Space does; the window has no default
// button, so Return elsewhere (in a text field) does nothing.
bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  for (std::size_t k = 0; k < kLanguageCount; ++k) {
    if (watched != Button(kLanguageOptions[k])) continue;
    if (!IsArrowKey(event)) return QWidget::eventFilter(watched, event);
    QAbstractButton* other = Button(kLanguageOptions[(k + 1) % kLanguageCount]);
    other->setFocus(Qt::TabFocusReason);
    other->click();
    return true;
  }
  if (IsReturnKey(event)) {
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (button != nullptr && button->isEnabled()) {
      button->click();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace orvalin
