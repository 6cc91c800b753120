#include "ui/form1.h"

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
#include "ui/layout.h"

namespace orvalin {
namespace {

struct Command {
  std::string_view button;
  void (*handler)(Session&);
};

constexpr std::array<Command, 10> kCommands{{
    {"RunName", &RunName},
    {"Today", &Today},
    {"NextDay", &NextDay},
    {"PreviousDay", &PreviousDay},
    {"PreviousData", &PreviousRecord},
    {"NextData", &NextRecord},
    {"SaveModif", &SaveModif},
    {"Newdata", &AddRecord},
    {"DefaultData", &DefaultData},
    {"SearchName", &Search},
}};

bool IsArrowKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right;
}

}  // namespace

Form1::Form1(std::unique_ptr<Dialogs> dialogs, QWidget* parent)
    : QWidget(parent), dialogs_(std::move(dialogs)) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("GMT"));
  BuildControls(*this);
  setFixedSize(kClientWidth, kClientHeight);
  Button("Option2")->setChecked(true);
  ConnectCommands();
  SetTabOrder();
  OptionChanged();
  UpdateAccessibleNames();
  Run(&StartUp);
  Field("Elevation")->setFocus();
}

Form1::~Form1() = default;

void Form1::ConnectCommands() {
  for (const Command& command : kCommands) {
    connect(Button(command.button), &QAbstractButton::clicked, this,
            [this, command] { Run(command.handler); });
  }
  for (const char* option : {"Option1", "Option2"}) {
    QAbstractButton* button = Button(option);
    button->installEventFilter(this);
    connect(button, &QAbstractButton::toggled, this, [this, button](bool on) {
      if (!on) return;
      if (button == Button("Option1")) FrenchCaptions(*this);
      if (button == Button("Option2")) EnglishCaptions(*this);
      OptionChanged();
    });
  }
}

void Form1::Run(void (*handler)(Session&)) {
  // A command on a large places file may take a while.
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  const auto restore = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
  try {
    handler(session_);
  } catch (const std::exception& failure) {
    // Handlers report their own failures; one that escapes must not end the program.
    ShowMessage(MessageBox{.text = failure.what()});
  }
}

void Form1::SetTabOrder() {
  for (std::size_t i = 1; i < kTabOrder.size(); ++i) {
    auto* previous = findChild<QWidget*>(QString::fromUtf8(kTabOrder[i - 1]));
    auto* next = findChild<QWidget*>(QString::fromUtf8(kTabOrder[i]));
    setTabOrder(previous, next);
  }
}

// Tab reaches only the option that is on, as in a group of option buttons.
void Form1::OptionChanged() {
  for (const char* option : {"Option1", "Option2"}) {
    QAbstractButton* button = Button(option);
    button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
  }
}

// Any arrow key on an option button selects the other one, as a click would, wrapping around.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
  QAbstractButton* option1 = Button("Option1");
  QAbstractButton* option2 = Button("Option2");
  if ((watched == option1 || watched == option2) && IsArrowKey(event)) {
    QAbstractButton* other = watched == option1 ? option2 : option1;
    other->setFocus(Qt::TabFocusReason);
    other->click();
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace orvalin
