#pragma once
// The programs' hint handler: a hint's first "#" and the character after it become a line break; the
// hint is shown as plain text on a pale yellow ground and hidden again after 5 s.
#include <QObject>

namespace tolvek {

class HintFilter : public QObject {
 public:
  using QObject::QObject;
  // Sets the hint colours ($ACFFFF) for the whole application.
  static void SetHintPalette();

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
};

}  // namespace tolvek
