// The window's single-line text fields.
#pragma once

class QLineEdit;
class QWidget;

namespace orvalin {

// A field whose undo history never holds a long text: Qt keeps one undo step for every
// character an edit inserts or removes, until the program next sets the text, so long texts
// typed over one another would pile up megabytes. After an edit that involves a long text, the
// steps are dropped; the text, the cursor and the selection stay.
QLineEdit* NewTextField(QWidget& parent);

}  // namespace orvalin
