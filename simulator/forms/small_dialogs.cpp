#include "simulator/forms/small_dialogs.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include "common/qt/qt_services.h"

namespace tolvek {

namespace {

QLabel* MakeLabel(QWidget* parent, const char* name, const char* text, QRect r) {
  auto* l = new QLabel(QString::fromUtf8(text), parent);
  l->setObjectName(name);
  l->setTextFormat(Qt::PlainText);
  l->setGeometry(r);
  return l;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, QRect r) {
  auto* b = new QPushButton(QString::fromUtf8(caption), parent);
  b->setObjectName(name);
  b->setGeometry(r);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

TBtnRightDlg8::TBtnRightDlg8(QWidget* parent) : QDialog(parent) {
  setObjectName("BtnRightDlg8");
  setWindowTitle("Dialog");
  setModal(true);
  setFixedSize(260, 260);
  Label1 = MakeLabel(this, "Label1", "BHD Grenzdurchmesser ", QRect(12, 12, 150, 20));
  Label2 = MakeLabel(this, "Label2", "cm", QRect(140, 36, 40, 20));
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName("ListBox1");
  ListBox1->setGeometry(12, 36, 120, 210);
  BtWeiter = MakeButton(this, "BtWeiter", "OK", QRect(176, 12, 72, 28));
  BtWeiter->setDefault(true);
  connect(BtWeiter, &QPushButton::clicked, this, [this] { done(1); });
}

TForm32::TForm32(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("Form32");
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  setModal(true);
  setFixedSize(420, 160);
  setStyleSheet("QDialog#Form32 { background: white; border: 1px solid #404040; }");
  LbFrage = MakeLabel(this, "LbFrage", "", QRect(12, 10, 396, 40));
  LbFrage->setWordWrap(true);
  LbTabelle = MakeLabel(this, "LbTabelle", "", QRect(12, 54, 396, 60));
  LbTabelle->setWordWrap(true);
  Button1 = MakeButton(this, "Button1", "No", QRect(220, 122, 80, 28));
  Button2 = MakeButton(this, "Button2", "Yes", QRect(120, 122, 80, 28));
  connect(Button1, &QPushButton::clicked, this, [this] {
    state.structureAnswer = 1;
    done(1);
  });
  connect(Button2, &QPushButton::clicked, this, [this] {
    state.structureAnswer = 0;
    done(1);
  });
}

void TForm32::LayOutTable(const std::vector<std::string>& lines, int points, bool withQuestion) {
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPointSize(points);
  QString text;
  for (const std::string& line : lines) text += (text.isEmpty() ? "" : "\n") + Q(line);
  LbTabelle->setWordWrap(false);
  LbTabelle->setFont(font);
  LbTabelle->setText(text);
  const QFontMetrics fm(font);
  int width = 0;
  for (const QString& line : text.split('\n')) width = std::max(width, fm.horizontalAdvance(line));
  const int height = fm.lineSpacing() * static_cast<int>(lines.size());
  LbTabelle->setGeometry(12, 10, width + 4, height + 4);
  LbFrage->setVisible(withQuestion);
  Button1->setVisible(withQuestion);
  Button2->setVisible(withQuestion);
  int bottom = LbTabelle->y() + LbTabelle->height() + 8;
  if (withQuestion) {
    LbFrage->setGeometry(30, bottom, width - 18, 24);
    Button2->move(30, bottom + 30);
    Button1->move(140, bottom + 30);
    bottom += 30 + Button1->height() + 12;
  }
  setFixedSize(std::max(width + 28, withQuestion ? 480 : 400), std::max(bottom, withQuestion ? 350 : 236));
}

namespace {

// The window's corner at `at`, moved so that the whole window stays on the screen.
QPoint OnScreen(QPoint at, QSize size) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return at;
  const QRect r = screen->availableGeometry();
  return {std::max(r.left(), std::min(at.x(), r.right() + 1 - size.width())),
          std::max(r.top(), std::min(at.y(), r.bottom() + 1 - size.height()))};
}

}  // namespace

void TForm32::ShowTablePreview(const std::vector<std::string>& lines, QPoint at, QWidget* over) {
  LayOutTable(lines, 8, false);
  setModal(false);
  move(OnScreen(at, size()));
  // Kept above the window it belongs to, which stays the one taking the clicks.
  setAttribute(Qt::WA_ShowWithoutActivating);
  winId();
  if (over && over->windowHandle()) windowHandle()->setTransientParent(over->windowHandle());
  show();
  raise();
}

void TForm32::AskAboutTable(const std::vector<std::string>& lines, const std::string& question, QPoint at) {
  LayOutTable(lines, 10, true);
  LbFrage->setText(Q(question));
  setAttribute(Qt::WA_ShowWithoutActivating, false);
  if (windowHandle()) windowHandle()->setTransientParent(nullptr);
  setModal(true);
  move(OnScreen(at, size()));
  state.structureAnswer = 1;
  exec();
}

TForm34::TForm34(QWidget* parent) : QDialog(parent) {
  setObjectName("Form34");
  setWindowFlags(Qt::Tool);
  setModal(true);
  setFixedSize(300, 110);
  setToolTip("Zum Baumarten-Aufruf diese Tabelle schliessen");
  LbFrage = MakeLabel(this, "LbFrage", "", QRect(12, 10, 276, 50));
  LbFrage->setWordWrap(true);
  Btja = MakeButton(this, "Btja", "ja", QRect(80, 70, 64, 28));
  BtNein = MakeButton(this, "BtNein", "nein", QRect(156, 70, 64, 28));
  connect(Btja, &QPushButton::clicked, this, [this] {
    Tag = 1;
    done(1);
  });
  connect(BtNein, &QPushButton::clicked, this, [this] {
    Tag = 0;
    done(1);
  });
}

TForm38::TForm38(SimulatorState& st, QWidget* parent) : QDialog(parent), state(st) {
  setObjectName("Form38");
  setWindowFlags(Qt::Tool);
  setWindowTitle(QString::fromUtf8("Druckposition"));
  setModal(true);
  setFixedSize(260, 90);
  Label1 = MakeLabel(this, "Label1", "Druckposition", QRect(12, 10, 236, 20));
  BtOben = MakeButton(this, "BtOben", "oben", QRect(12, 44, 70, 28));
  BtMitte = MakeButton(this, "BtMitte", "mitte", QRect(95, 44, 70, 28));
  BtUnten = MakeButton(this, "BtUnten", "unten", QRect(178, 44, 70, 28));
  const std::pair<QPushButton*, int> choices[] = {{BtOben, 70}, {BtMitte, 155}, {BtUnten, 240}};
  for (auto [button, top] : choices)
    connect(button, &QPushButton::clicked, this, [this, top = top] {
      state.printTop = top;
      done(1);
    });
}

}  // namespace tolvek
