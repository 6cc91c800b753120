// The main window on the offscreen platform: layout, captions in both languages, keyboard.
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/caption_fits.h"
#include "ui/layout.h"

using namespace orvalin;

namespace {

// Answers every box with its default and every input box with Cancel; remembers the texts.
class QuietDialogs : public Dialogs {
 public:
  explicit QuietDialogs(std::vector<std::string>& shown) : shown_(shown) {}
  Answer Message(QWidget*, const MessageBox& box) override {
    shown_.push_back(box.text);
    return box.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
  }
  std::string Input(QWidget*, std::string_view prompt, std::string_view) override {
    shown_.emplace_back(prompt);
    return {};
  }
  void Beep() override {}
  std::chrono::year_month_day Today() override {
    return std::chrono::year{2024} / std::chrono::March / std::chrono::day{5};
  }

 private:
  std::vector<std::string>& shown_;
};

struct Placed {
  const char* name;
  const char* type;
  const char* parent;
  int x, y, w, h;  // pixels
};

// Written out in pixels from the window's description, independently of the twips table.
const Placed kPlaced[] = {
    {"Frame4", "QGroupBox", "Form1", 0, 8, 249, 97},
    {"Datejour", "QLineEdit", "Frame4", 8, 16, 81, 19},
    {"RunName", "QPushButton", "Frame4", 96, 16, 145, 17},
    {"PreviousDay", "QPushButton", "Frame4", 8, 56, 73, 17},
    {"Today", "QPushButton", "Frame4", 88, 56, 73, 17},
    {"NextDay", "QPushButton", "Frame4", 168, 56, 73, 17},
    {"Frame6", "QGroupBox", "Form1", 256, 8, 81, 97},
    {"Option1", "QRadioButton", "Frame6", 8, 16, 65, 13},
    {"Option2", "QRadioButton", "Frame6", 8, 56, 57, 17},
    {"Frame1", "QGroupBox", "Form1", 0, 104, 249, 161},
    {"Label2", "QLabel", "Frame1", 16, 16, 33, 17},
    {"City", "QLineEdit", "Frame1", 104, 16, 113, 19},
    {"Label5", "QLabel", "Frame1", 16, 40, 41, 17},
    {"Country", "QLineEdit", "Frame1", 104, 40, 113, 19},
    {"Label6", "QLabel", "Frame1", 16, 64, 41, 17},
    {"Latitude", "QLineEdit", "Frame1", 104, 64, 113, 19},
    {"Label7", "QLabel", "Frame1", 16, 88, 49, 17},
    {"Longitude", "QLineEdit", "Frame1", 104, 88, 113, 19},
    {"Label8", "QLabel", "Frame1", 16, 112, 41, 17},
    {"GMT", "QLineEdit", "Frame1", 104, 112, 57, 19},
    {"Label3", "QLabel", "Frame1", 16, 136, 41, 17},
    {"Horizon", "QLineEdit", "Frame1", 104, 136, 57, 19},
    {"Frame3", "QGroupBox", "Form1", 256, 104, 217, 161},
    {"Label9", "QLabel", "Frame3", 16, 24, 97, 17},
    {"RecordN", "QLineEdit", "Frame3", 112, 24, 89, 19},
    {"PreviousData", "QPushButton", "Frame3", 16, 64, 81, 17},
    {"SaveModif", "QPushButton", "Frame3", 112, 64, 89, 17},
    {"NextData", "QPushButton", "Frame3", 16, 80, 81, 17},
    {"Newdata", "QPushButton", "Frame3", 112, 80, 89, 17},
    {"DefaultData", "QPushButton", "Frame3", 16, 120, 185, 17},
    {"SearchName", "QPushButton", "Frame3", 16, 136, 185, 17},
    {"Frame2", "QGroupBox", "Form1", 0, 264, 473, 153},
    {"Label17", "QLabel", "Frame2", 64, 24, 65, 17},
    {"Label13", "QLabel", "Frame2", 184, 24, 41, 17},
    {"Label12", "QLabel", "Frame2", 8, 40, 41, 17},
    {"SunRise", "QLineEdit", "Frame2", 64, 40, 89, 19},
    {"Azimuth", "QLineEdit", "Frame2", 184, 40, 89, 19},
    {"Label14", "QLabel", "Frame2", 8, 64, 57, 17},
    {"Culmination", "QLineEdit", "Frame2", 64, 64, 89, 19},
    {"Azimuth3", "QLineEdit", "Frame2", 184, 64, 89, 19},
    {"Label16", "QLabel", "Frame2", 8, 88, 41, 17},
    {"SunSet", "QLineEdit", "Frame2", 64, 88, 89, 19},
    {"Azimuth2", "QLineEdit", "Frame2", 184, 88, 89, 19},
    {"Label18", "QLabel", "Frame2", 8, 120, 41, 17},
    {"Duration", "QLineEdit", "Frame2", 64, 120, 89, 19},
    {"Label19", "QLabel", "Frame2", 296, 64, 49, 17},
    {"Elevation", "QLineEdit", "Frame2", 376, 64, 89, 19},
    {"NameOfFile", "QLineEdit", "Form1", 288, 240, 129, 19},
};

const std::map<std::string, std::string> kEnglish{
    {"RunName", "Calculate with new date"},
    {"PreviousDay", "Previous day"},
    {"Today", "Today's date"},
    {"NextDay", "Next day"},
    {"Label2", "Place"},
    {"Label5", "Country"},
    {"Label12", "SunRise"},
    {"Label9", "Record number"},
    {"Label16", "SunSet"},
    {"Label18", "Duration"},
    {"Frame2", "Results"},
    {"Frame3", "Database of places"},
    {"PreviousData", "Previous place"},
    {"NextData", "Next Place"},
    {"SaveModif", "Update Place"},
    {"Newdata", "Save new place"},
    {"DefaultData", "Define as default place"},
    {"SearchName", "Search place"},
};

const std::map<std::string, std::string> kFrench{
    {"RunName", "Calcul avec nouvelle date"},
    {"PreviousDay", "Jr. précédent"},
    {"Today", "Aujourd'hui"},
    {"NextDay", "Jour suivant"},
    {"Label2", "Lieu"},
    {"Label5", "Pays"},
    {"Label12", "Lever"},
    {"Label9", "No de l'enregistr."},
    {"Label16", "Coucher"},
    {"Label18", "Durée"},
    {"Frame2", "Résultats"},
    {"Frame3", "Base de données des lieux"},
    {"PreviousData", "Lieu précédent"},
    {"NextData", "Lieu suivant"},
    {"SaveModif", "Mise à jour"},
    {"Newdata", "Sauve le nx. lieu"},
    {"DefaultData", "Défini comme lieu par défaut"},
    {"SearchName", "Cherche un lieu"},
};

const std::map<std::string, std::string> kUnchanging{
    {"Form1", "GMT"},        {"Frame4", "Date"},         {"Frame1", "Data"},
    {"Frame6", ""},          {"Label6", "Latitude"},     {"Label7", "Longitude"},
    {"Label8", "GMT"},       {"Label3", "Horizon"},      {"Label17", "U.T. time"},
    {"Label13", "Azimuth"},  {"Label14", "Culmination"}, {"Label19", "Elevation"},
    {"Option1", "Français"}, {"Option2", "English"},
};

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(folder_.isValid());
    QVERIFY(QDir::setCurrent(folder_.path()));  // start-up opens the places file here
    shown_.clear();
    form_ = std::make_unique<MainWindow>(std::make_unique<QuietDialogs>(shown_));
  }
  void cleanup() { form_.reset(); }

  void controlsArePlacedAndNamed() {
    QCOMPARE(form_->size(), QSize(474, 430));
    QCOMPARE(form_->minimumSize(), form_->maximumSize());
    for (const Placed& p : kPlaced) {
      auto* widget = form_->findChild<QWidget*>(p.name);
      QVERIFY2(widget != nullptr, p.name);
      QCOMPARE(widget->metaObject()->className(), p.type);
      QCOMPARE(widget->parentWidget()->objectName(), QString(p.parent));
      QCOMPARE(widget->geometry(), QRect(p.x, p.y, p.w, p.h));
    }
    QCOMPARE(form_->findChildren<QWidget*>().size(), std::size(kPlaced));
  }

  void fieldsStartAsSingleLineText1() {
    QWidget bare;
    BuildControls(bare);
    const auto fields = bare.findChildren<QLineEdit*>();
    QCOMPARE(fields.size(), 17);
    for (const QLineEdit* field : fields) QCOMPARE(field->text(), QString("Text1"));
  }

  void onlyFourFrameCaptionsAreBold() {
    for (const QWidget* widget : form_->findChildren<QWidget*>()) {
      const QString name = widget->objectName();
      const bool bold =
          name == "Frame4" || name == "Frame1" || name == "Frame3" || name == "Frame2";
      QVERIFY2(widget->font().bold() == bold, qPrintable(name));
      QCOMPARE(widget->font().pointSizeF(), 8.25);
    }
  }

  void everyCaptionFitsInBothLanguages() {
    for (const ControlEntry& entry : kControls) {
      if (entry.kind == ControlKind::Field) continue;
      const auto* widget = form_->findChild<QWidget*>(QString::fromUtf8(entry.name));
      QVERIFY2(orvalin::testing::CaptionFits(*widget), entry.name.data());
    }
  }

  void startsInEnglish() {
    QVERIFY(form_->SelectedLanguage() == Language::English);
    QVERIFY(form_->Button("Option2")->isChecked() && !form_->Button("Option1")->isChecked());
    for (const auto& [control, caption] : kEnglish) QCOMPARE(form_->Caption(control), caption);
    for (const auto& [control, caption] : kUnchanging) QCOMPARE(form_->Caption(control), caption);
    QCOMPARE(form_->windowTitle(), QString("GMT"));
  }

  void frenchThenEnglishRestoresEveryCaption() {
    std::map<std::string, std::string> before;
    for (const ControlEntry& entry : kControls)
      before[std::string(entry.name)] = form_->Caption(entry.name);
    form_->SetFieldText(orvalin::Field::City, "Genève");

    form_->Button("Option1")->click();
    QVERIFY(form_->SelectedLanguage() == Language::French);
    QVERIFY(form_->Button("Option1")->isChecked() && !form_->Button("Option2")->isChecked());
    for (const auto& [control, caption] : kFrench) QCOMPARE(form_->Caption(control), caption);
    for (const auto& [control, caption] : kUnchanging) QCOMPARE(form_->Caption(control), caption);
    form_->Button("Option1")->click();  // already on: nothing changes
    QCOMPARE(form_->Caption("Label2"), std::string("Lieu"));

    form_->Button("Option2")->click();
    for (const ControlEntry& entry : kControls) {
      QCOMPARE(form_->Caption(entry.name), before[std::string(entry.name)]);
    }
    QCOMPARE(form_->FieldText(orvalin::Field::City), std::string("Genève"));
  }

  void arrowKeysSelectTheOtherLanguage() {
    showActive();
    QAbstractButton* option1 = form_->Button("Option1");
    QAbstractButton* option2 = form_->Button("Option2");
    option2->setFocus();
    QTest::keyClick(option2, Qt::Key_Up);
    QVERIFY(option1->isChecked());
    QVERIFY(option1->hasFocus());
    QCOMPARE(form_->Caption("NextDay"), std::string("Jour suivant"));
    QTest::keyClick(option1, Qt::Key_Right);
    QVERIFY(option2->isChecked());
    QCOMPARE(form_->Caption("NextDay"), std::string("Next day"));
  }

  void tabGoesThroughControlsInOrder() {
    showActive();
    QCOMPARE(QApplication::focusWidget(), form_->Field("Elevation"));
    QStringList expected;  // from Elevation round to Elevation; Tab skips the option that is off
    for (const std::string_view name : kTabOrder) {
      if (name != "Option1" && name != "Elevation") expected << QString::fromUtf8(name);
    }
    expected << "Elevation";
    QCOMPARE(tabWalk(), expected);

    form_->Button("Option1")->click();  // now only the French option is reached
    expected.replace(expected.indexOf("Option2"), "Option1");
    form_->Field("Elevation")->setFocus();
    QCOMPARE(tabWalk(), expected);
  }

  void nameOfFileIsHidden() {
    showActive();
    QVERIFY(!form_->Field("NameOfFile")->isVisible());
    QVERIFY(form_->Field("Datejour")->isVisible());
  }

  void screenReaderNamesFollowTheCaptions() {
    const std::pair<const char*, const char*> english[] = {
        {"Datejour", "Date"},
        {"City", "Place"},
        {"Latitude", "Latitude"},
        {"RecordN", "Record number"},
        {"SunRise", "SunRise U.T. time"},
        {"Azimuth2", "SunSet Azimuth"},
        {"Elevation", "Elevation"},
    };
    for (const auto& [field, name] : english) {
      QCOMPARE(form_->Field(field)->accessibleName(), QString(name));
    }
    form_->Button("Option1")->click();
    QCOMPARE(form_->Field("City")->accessibleName(), QString("Lieu"));
    QCOMPARE(form_->Field("Culmination")->accessibleName(), QString("Culmination U.T. time"));
    QCOMPARE(form_->Field("Duration")->accessibleName(), QString("Durée"));
  }

  void windowTextsKeepEveryCharacter() {
    form_->SetFieldText(orvalin::Field::Latitude, " 46° 12' 0\" N ");
    QCOMPARE(form_->FieldText(orvalin::Field::Latitude), std::string(" 46° 12' 0\" N "));
    QCOMPARE(form_->Field("Latitude")->text(), QString(" 46° 12' 0\" N "));
    form_->SetCaption("Label9", "No de l'enregistr.");
    QCOMPARE(form_->findChild<QLabel*>("Label9")->text(), QString("No de l'enregistr."));
  }

  // Qt's undo steps for a long text cost a step a character until the program sets the field.
  void longTextsLeaveNoUndoStepsBehind() {
    QLineEdit* city = form_->Field("City");
    const auto type = [city](const QString& text) {
      city->selectAll();
      city->insert(text);
    };
    type("Bern");
    QVERIFY(city->isUndoAvailable());
    const QString long_text(32767, QChar('x'));
    for (const QString& text : {long_text, QString("Basel")}) {  // typed in, then typed over
      type(text);
      QCOMPARE(city->text(), text);
      QCOMPARE(city->cursorPosition(), text.size());
      QVERIFY(!city->isUndoAvailable());
    }
  }

  void commandButtonsRunTheirHandlers() {
    form_->SetFieldText(orvalin::Field::Date, "01-01-2000");
    form_->Button("Today")->click();
    QCOMPARE(form_->FieldText(orvalin::Field::Date), std::string("05-03-2024"));
    shown_.clear();
    form_->Button("SearchName")->click();
    QVERIFY(!shown_.empty());  // the input box at least
  }

  void returnOrEnterPressesTheFocusedButton() {
    showActive();
    form_->SetFieldText(orvalin::Field::Date, "21-06-2009");
    QAbstractButton* next = form_->Button("NextDay");
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return);
    QCOMPARE(form_->FieldText(orvalin::Field::Date), std::string("22-06-2009"));
    QTest::keyClick(next, Qt::Key_Enter, Qt::KeypadModifier);  // the keypad's Enter
    QCOMPARE(form_->FieldText(orvalin::Field::Date), std::string("23-06-2009"));
    QTest::keyClick(next, Qt::Key_Enter);
    QCOMPARE(form_->FieldText(orvalin::Field::Date), std::string("24-06-2009"));
    QTest::keyClick(next, Qt::Key_Space);  // as before
    QCOMPARE(form_->FieldText(orvalin::Field::Date), std::string("25-06-2009"));
    QVERIFY(next->hasFocus());

    QAbstractButton* today = form_->Button("Today");
    today->setFocus();
    QTest::keyClick(today, Qt::Key_Return);
    QCOMPARE(form_->FieldText(orvalin::Field::Date), std::string("05-03-2024"));
    shown_.clear();
    QAbstractButton* search = form_->Button("SearchName");
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Enter);
    QVERIFY(!shown_.empty());  // the input box at least
  }

  void returnInATextFieldDoesNothing() {
    showActive();
    form_->SetFieldText(orvalin::Field::Date, "21-06-2009");
    std::map<std::string, std::string> before;  // every field and caption
    for (const ControlEntry& entry : kControls) {
      before[std::string(entry.name)] = entry.kind == ControlKind::Field
                                            ? form_->Field(entry.name)->text().toStdString()
                                            : form_->Caption(entry.name);
    }
    shown_.clear();
    for (const char* name : {"Datejour", "City", "RecordN", "Elevation"}) {
      QLineEdit* field = form_->Field(name);
      field->setFocus();
      QTest::keyClick(field, Qt::Key_Return);
      QTest::keyClick(field, Qt::Key_Enter, Qt::KeypadModifier);
      QVERIFY2(field->hasFocus(), name);
    }
    QVERIFY(shown_.empty());
    for (const ControlEntry& entry : kControls) {
      QCOMPARE(entry.kind == ControlKind::Field ? form_->Field(entry.name)->text().toStdString()
                                                : form_->Caption(entry.name),
               before[std::string(entry.name)]);
    }
    // Return with Ctrl on a button is not a press either.
    QAbstractButton* next = form_->Button("NextDay");
    next->setFocus();
    QTest::keyClick(next, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(form_->FieldText(orvalin::Field::Date), std::string("21-06-2009"));
  }

  // The place's own clock beside the universal times, in tooltips and accessible descriptions,
  // emptied with the field.
  void timesCarryThePlacesOwnClock() {
    struct Case {
      const char *latitude, *longitude, *sunrise, *day;
    };
    // Sydney's sunrise of the UT day falls on the next local day; its second is rounded, as a table
    // on that clock shows it.
    const Case cases[] = {
        {"46 12 0 N", "6 9 0 E", "05:45:18 on 21-06-2027, Europe/Zurich, UTC+02:00",
         "The UT day runs from 02:00:00 on 21-06-2027 to 02:00:00 on 22-06-2027, "
         "Europe/Zurich, UTC+02:00"},
        {"33 52 0 S", "151 12 0 E", "07:01:24 on 22-06-2027, Australia/Sydney, UTC+10:00",
         "The UT day runs from 10:00:00 on 21-06-2027 to 10:00:00 on 22-06-2027, "
         "Australia/Sydney, UTC+10:00"}};
    for (const Case& c : cases) {
      form_->SetFieldText(orvalin::Field::Latitude, c.latitude);
      form_->SetFieldText(orvalin::Field::Longitude, c.longitude);
      form_->SetFieldText(orvalin::Field::Date, "21-06-2027");
      QTest::mouseClick(form_->Button("RunName"), Qt::LeftButton);
      QCOMPARE(form_->Field("SunRise")->toolTip(), QString(c.sunrise));
      QCOMPARE(form_->Field("SunRise")->accessibleDescription(), QString(c.sunrise));
      QCOMPARE(form_->Field("Datejour")->toolTip(), QString(c.day));
    }
    form_->SetFieldText(orvalin::Field::Latitude, "69 39 0 N");  // midnight sun: no sunset
    QTest::mouseClick(form_->Button("RunName"), Qt::LeftButton);
    QCOMPARE(form_->Field("SunSet")->toolTip(), QString());
    QCOMPARE(form_->Field("SunRise")->text(), QString());
    // Typed over, a time the day did not reach still has no clock: never another day's.
    form_->Field("SunSet")->setText("typed");
    QTest::mouseClick(form_->Button("PreviousData"), Qt::LeftButton);  // record 1: a beep only
    QCOMPARE(form_->Field("SunSet")->toolTip(), QString());
  }

 private:
  void showActive() {
    form_->show();
    form_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

  // Names of the focused controls while Tab is pressed until the focus is back in Elevation.
  QStringList tabWalk() {
    QStringList names;
    for (std::size_t i = 0; i <= kTabOrder.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      names << QApplication::focusWidget()->objectName();
      if (names.back() == "Elevation") break;
    }
    return names;
  }

  QTemporaryDir folder_;
  std::vector<std::string> shown_;
  std::unique_ptr<MainWindow> form_;
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
