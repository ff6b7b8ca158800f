#pragma once
// The program's own message box ("Message"): sized to its text, "#" line breaks, optional named
// buttons named by a "[left,right]" part at the end of the text. Created once, reused for every message.
#include <QDialog>
#include <string>

#include "common/platform.h"
#include "simulator/message_layout.h"
#include "simulator/state.h"

class QFrame;
class QLabel;
class QPushButton;

namespace tolvek {

class TForm42 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm42(SimulatorState& state, QWidget* parent = nullptr);

  SimulatorState& state;
  QFrame* PnMsg = nullptr;
  QLabel* LbMeldung = nullptr;
  QLabel* ImgWarning = nullptr;
  QLabel* ImgInfo = nullptr;
  QLabel* ImgConfirm = nullptr;
  QPushButton* btnYES = nullptr;
  QPushButton* btnNO = nullptr;
  QPushButton* btnOK = nullptr;
  QPushButton* BtLinks = nullptr;
  QPushButton* BtRechts = nullptr;

  // Modal; the code of the button pressed (6 "ja", 7 "nein", 1 "OK", 5/6 the named buttons).
  int ShowMessageBox(const std::string& text, int kind, int buttons);
  // At the given screen position with "ja" and "nein"; the top is kept for later messages.
  int AskYesNoAt(const std::string& text, int kind, int left, int top);

  // Lays the window out for a message without showing it (tests look at it this way).
  void Prepare(const std::string& text, int kind, int buttons);
  const MessageLayout& Layout() const { return layout_; }

 public slots:
  void reject() override;

 private:
  void btnYESClick(MessageButton b);
  MessageLayout layout_;
};

// The message service of the running program: the own box for ShowMessageBox/AskYesNoAt, the
// platform's box for the rest.
class Form42Messages : public MessageService {
 public:
  Form42Messages(TForm42& box, MessageService& platform) : box_(box), platform_(platform) {}
  int ShowMessageBox(const std::string& text, int kind, int buttons) override {
    return box_.ShowMessageBox(text, kind, buttons);
  }
  int AskYesNoAt(const std::string& text, int kind, int left, int top) override {
    return box_.AskYesNoAt(text, kind, left, top);
  }
  int PlatformBox(const std::string& text, const std::string& title, PlatformButtons buttons,
                  PlatformIcon icon) override {
    return platform_.PlatformBox(text, title, buttons, icon);
  }
  int PlatformTableBox(const std::string& text, int left, int top) override {
    return platform_.PlatformTableBox(text, left, top);
  }

 private:
  TForm42& box_;
  MessageService& platform_;
};

}  // namespace tolvek
