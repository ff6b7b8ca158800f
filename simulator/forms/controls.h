#pragma once
// Controls made with their design name (objectName) and place, as every window of the simulator makes
// them: the language tables and the tests find them by that name.
#include <QRect>

class QCheckBox;
class QLabel;
class QPushButton;
class QWidget;

namespace tolvek {

QPushButton* NamedButton(QWidget* parent, const char* name, const char* caption, QRect place,
                         const char* hint = nullptr);
// A plain-text label that wraps its words.
QLabel* NamedLabel(QWidget* parent, const char* name, const char* text, QRect place);
QCheckBox* NamedCheckBox(QWidget* parent, const char* name, const char* caption, QRect place, bool checked);

}  // namespace tolvek
