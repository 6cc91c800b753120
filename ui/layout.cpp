#include "ui/layout.h"

#include <QFont>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <algorithm>
#include <vector>

#include "commands/captions.h"
#include "ui/qt_text.h"
#include "ui/text_field.h"

namespace orvalin {
namespace {

// Narrowest stretch (percent of the normal width) a replacement font may be given.
constexpr int kNarrowestStretch = 75;

// The layout was drawn for a narrow font; these have close metrics, in order of likeness.
QFont WindowFont(bool bold, int stretch) {
  QFont font;
  font.setFamilies({"Microsoft Sans Serif", "Tahoma", "Arial", "Liberation Sans", "Nimbus Sans",
                    "Helvetica", "FreeSans"});
  font.setStyleHint(QFont::SansSerif);
  font.setPointSizeF(8.25);
  font.setStretch(stretch);
  // Set explicitly so that a control never takes the bold of its frame.
  font.setWeight(bold ? QFont::Bold : QFont::Normal);
  return font;
}

QWidget* Create(const ControlEntry& entry, QWidget& parent) {
  const QString caption = ToQString(entry.caption);
  switch (entry.kind) {
    case ControlKind::Frame:
      return new QGroupBox(caption, &parent);
    case ControlKind::Label:
      return new QLabel(caption, &parent);
    case ControlKind::Field:
      return NewTextField(parent);
    case ControlKind::Command:
      return new QPushButton(caption, &parent);
    case ControlKind::Option:
      return new QRadioButton(caption, &parent);
  }
  return nullptr;
}

// A label's room ends where a control drawn over it begins.
int LabelRoom(const QWidget& label) {
  int room = label.width();
  for (const QObject* object : label.parentWidget()->children()) {
    const auto* sibling = qobject_cast<const QLineEdit*>(object);
    if (sibling == nullptr || !sibling->geometry().intersects(label.geometry())) continue;
    if (sibling->x() > label.x()) room = std::min(room, sibling->x() - label.x());
  }
  return room;
}

bool CaptionsFit(const QWidget& form, int stretch) {
  const QFontMetricsF normal(WindowFont(false, stretch)), bold(WindowFont(true, stretch));
  for (const ControlEntry& entry : kControls) {
    if (entry.kind == ControlKind::Field) continue;
    const auto& widget = *form.findChild<QWidget*>(ToQString(entry.name));
    const QFontMetricsF& metrics = entry.bold ? bold : normal;
    for (const QString& caption : Captions(entry)) {
      if (metrics.horizontalAdvance(caption) > CaptionRoom(entry, widget)) return false;
    }
  }
  return true;
}

}  // namespace

const ControlEntry* FindControl(std::string_view name) {
  for (const ControlEntry& entry : kControls) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

std::string_view FieldControlName(Field field) {
  for (const ControlEntry& entry : kControls) {
    if (entry.field == field) return entry.name;
  }
  return {};
}

std::vector<QString> Captions(const ControlEntry& entry) {
  std::vector<QString> captions{ToQString(entry.caption)};
  for (const CaptionRow& row : kCaptions) {
    if (row.control != entry.name) continue;
    for (const std::string_view text : row.text) captions.push_back(ToQString(text));
  }
  return captions;
}

int CaptionRoom(const ControlEntry& entry, const QWidget& widget) {
  const QStyle& style = *widget.style();
  switch (entry.kind) {
    case ControlKind::Label:
      return LabelRoom(widget);
    case ControlKind::Command:
      return widget.width() -
             2 * (style.pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, &widget) + 1);
    case ControlKind::Option:
      return widget.width() -
             style.pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, &widget) -
             style.pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, &widget);
    case ControlKind::Frame:
      return widget.width() - 16;
    case ControlKind::Field:
      break;
  }
  return widget.width();
}

void BuildControls(QWidget& form) {
  for (const ControlEntry& entry : kControls) {
    QWidget* parent = &form;
    if (!entry.container.empty()) parent = form.findChild<QWidget*>(ToQString(entry.container));
    QWidget* widget = Create(entry, *parent);
    widget->setObjectName(ToQString(entry.name));
    widget->setGeometry(entry.left / kTwipsPerPixel, entry.top / kTwipsPerPixel,
                        entry.width / kTwipsPerPixel, entry.height / kTwipsPerPixel);
  }
  form.findChild<QWidget*>(QStringLiteral("NameOfFile"))->hide();
  // A frame's border runs through the middle of its caption, leaving the room below the caption
  // to the controls placed there.
  for (QGroupBox* frame : form.findChildren<QGroupBox*>()) {
    frame->setStyleSheet(QStringLiteral(
        "QGroupBox { border: 1px solid palette(mid); border-radius: 2px; margin-top: 6px; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
  }

  // A replacement font wider than the one the layout was drawn for is narrowed until every
  // caption of both languages fits; its height stays.
  int stretch = 100;
  while (stretch > kNarrowestStretch && !CaptionsFit(form, stretch)) --stretch;
  form.setFont(WindowFont(false, stretch));
  for (const ControlEntry& entry : kControls) {
    form.findChild<QWidget*>(ToQString(entry.name))->setFont(WindowFont(entry.bold, stretch));
  }
}

}  // namespace orvalin
