// The toolkit's dialogs as the desktop program shows them, answered by a timer.
#include "ui/dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace orvalin;

namespace {

// Runs `act` on the modal dialog once it is open.
template <typename Dialog>
void WhenOpen(std::function<void(Dialog&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    act(*dialog);
  });
}

}  // namespace

class DialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void okBoxCarriesTheCallersTitle() {
    QString title, text;
    QMessageBox::StandardButtons buttons;
    QMessageBox::Icon icon{};
    WhenOpen<QMessageBox>([&](QMessageBox& box) {
      title = box.windowTitle();
      text = box.text();
      buttons = box.standardButtons();
      icon = box.icon();
      box.button(QMessageBox::Ok)->click();
    });
    QCOMPARE(dialogs_.Message(nullptr, MessageBox{.text = "Place not found"}), Answer::Ok);
    QCOMPARE(title, QString("Orvalin"));
    QCOMPARE(text, QString("Place not found"));
    QCOMPARE(buttons, QMessageBox::Ok);
    QCOMPARE(icon, QMessageBox::NoIcon);
  }

  void yesNoBoxDefaultsToNo_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("answer");
    QTest::newRow("Enter takes the default") << int(Qt::Key_Return) << int(Answer::No);
    QTest::newRow("Escape") << int(Qt::Key_Escape) << int(Answer::No);
    QTest::newRow("Y") << int(Qt::Key_Y) << int(Answer::Yes);
  }
  void yesNoBoxDefaultsToNo() {
    QFETCH(int, key);
    QFETCH(int, answer);
    QString title = "unset";
    QMessageBox::Icon icon{};
    WhenOpen<QMessageBox>([&](QMessageBox& box) {
      title = box.windowTitle();
      icon = box.icon();
      QCOMPARE(static_cast<QAbstractButton*>(box.defaultButton()), box.button(QMessageBox::No));
      QCOMPARE(box.standardButtons(), QMessageBox::Yes | QMessageBox::No);
      QTest::keyClick(&box, static_cast<Qt::Key>(key));
    });
    const MessageBox question{.text = "Do you realy want to register these data ?",
                              .title = "",
                              .buttons = Buttons::YesNo,
                              .icon = Icon::Critical};
    QCOMPARE(dialogs_.Message(nullptr, question), static_cast<Answer>(answer));
    QCOMPARE(title, QString());
    QCOMPARE(icon, QMessageBox::Critical);
  }

  void inputBoxReturnsTheTextOrNothing_data() {
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("expected");
    QTest::newRow("confirmed") << true << "Genève";
    QTest::newRow("cancelled") << false << "";
  }
  void inputBoxReturnsTheTextOrNothing() {
    QFETCH(bool, confirm);
    QFETCH(QString, expected);
    QString prompt, title, start = "unset";
    WhenOpen<QInputDialog>([&](QInputDialog& input) {
      prompt = input.labelText();
      title = input.windowTitle();
      start = input.textValue();
      input.findChild<QLineEdit*>()->setText("Genève");
      if (confirm)
        input.accept();
      else
        input.reject();
    });
    const std::string typed = dialogs_.Input(nullptr, "Enter Place name", "Search");
    QCOMPARE(QString::fromStdString(typed), expected);
    QCOMPARE(prompt, QString("Enter Place name"));
    QCOMPARE(title, QString("Search"));
    QCOMPARE(start, QString());
  }

 private:
  QtDialogs dialogs_;
};

QTEST_MAIN(DialogsTest)
#include "dialogs_test.moc"
