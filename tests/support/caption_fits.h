// Whether a control of the window shows each of its captions whole.
#pragma once

#include <QFontMetricsF>
#include <QString>
#include <QWidget>

#include "ui/layout.h"

namespace orvalin::testing {

// Each caption the control can show, in any language, fits inside it in its own font.
inline bool CaptionFits(const QWidget& control) {
  const ControlEntry* entry = FindControl(control.objectName().toStdString());
  if (entry == nullptr) return false;
  const QFontMetricsF metrics(control.font());
  for (const QString& caption : Captions(*entry)) {
    if (metrics.horizontalAdvance(caption) > CaptionRoom(*entry, control)) return false;
  }
  return true;
}

}  // namespace orvalin::testing
