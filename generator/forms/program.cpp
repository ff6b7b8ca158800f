#include "generator/forms/program.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QRadioButton>
#include <QScreen>
#include <clocale>

#include "common/qt/hint_filter.h"
#include "common/qt/qt_services.h"
#include "generator/texts.h"

namespace tolvek::generator {

namespace {

QObject* FindNamed(QWidget* window, const std::string& name) {
  if (name.empty()) return window;
  return window->findChild<QObject*>(Q(name));
}

void ApplyControlTexts(const LanguageTable& table, const char* formId, QWidget* window) {
  // The window's own caption, then every button, radio button, label and check box by its name.
  ComponentTexts own = GeneratorControlTexts(table, formId, S(window->objectName()), ControlKind::kWindow);
  if (own.caption) window->setWindowTitle(Q(*own.caption));
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const std::string name = S(w->objectName());
    if (name.empty()) continue;
    ControlKind kind;
    if (qobject_cast<QRadioButton*>(w)) kind = ControlKind::kRadioButton;
    else if (qobject_cast<QCheckBox*>(w)) kind = ControlKind::kCheckBox;
    else if (qobject_cast<QAbstractButton*>(w)) kind = ControlKind::kButton;
    else if (qobject_cast<QLabel*>(w)) kind = ControlKind::kLabel;
    else continue;
    const ComponentTexts t = GeneratorControlTexts(table, formId, name, kind);
    if (t.hint) w->setToolTip(Q(*t.hint));
    if (!t.caption) continue;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) b->setText(Q(*t.caption));
    else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(Q(*t.caption));
  }
  for (auto* b : window->findChildren<QAbstractButton*>())
    for (const char* word : kTranslatedButtonWords)
      if (b->text() == Q(word))
        b->setText(Q(Translate(table, word)));
}

}  // namespace

void TranslateGeneratorForms(const LanguageTable& table, const std::vector<QWidget*>& windows) {
  for (QWidget* window : windows)
    for (const GeneratorForm& f : kGeneratorForms)
      if (window->objectName() == f.window) ApplyControlTexts(table, f.formId, window);
  for (const FixedText& t : ParameterDialogTexts(table))
    for (QWidget* window : windows) {
      if (S(window->objectName()) != t.window) continue;
      QObject* o = FindNamed(window, t.component);
      auto* w = qobject_cast<QWidget*>(o);
      if (!w) continue;
      if (t.hint) w->setToolTip(Q(t.text));
      else if (auto* l = qobject_cast<QLabel*>(w)) l->setText(Q(t.text));
    }
}

GeneratorProgram::GeneratorProgram(GeneratorState& st) : state(st) {
  form1 = Add(new TForm1([this] { Start(); }));
  form3 = Add(new TForm3());
  btnBottomDlg = Add(new TBtnBottomDlg(state));
  btnBottomDlg1 = Add(new TBtnBottomDlg1());
  form6 = Add(new TForm6());
  form7 = Add(new TForm7(state));
  btnBottomDlg1->FillSimulStandList();
  saver = std::make_unique<WindowStandSaver>(state, *btnBottomDlg1, *form7);
  state.saver = saver.get();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect s = screen->geometry(), a = screen->availableGeometry();
    form3->FitToScreen(s.width(), s.height(), a.width(), a.height());
  }
}

GeneratorProgram::~GeneratorProgram() {
  if (state.saver == saver.get()) state.saver = nullptr;
  while (!owned_.empty()) owned_.pop_back();  // the reverse of the creation order
}

void GeneratorProgram::Start() {
  GeneratorFlow flow(state, *this);
  flow.Run();
}

void GeneratorProgram::ApplyLanguage(const LanguageTable& table) {
  std::vector<QWidget*> windows;
  for (const auto& w : owned_) windows.push_back(w.get());
  TranslateGeneratorForms(table, windows);
}

std::optional<GenerationLevel> GeneratorProgram::AskLevel() {
  if (form6->exec() != 1) return std::nullopt;
  return form6->level;
}

bool GeneratorProgram::EditParameters(GeneratorState&) {
  btnBottomDlg->ShowParameters();
  return btnBottomDlg->exec() == QDialog::Accepted;
}

ResultChoice GeneratorProgram::ShowResult(GeneratorState& st, const std::vector<std::string>& memo,
                                          const std::function<bool()>& save) {
  form3->ShowStand(*st.stand, memo, st.language, save);
  form3->exec();
  form3->Memo1->clear();
  return form3->choice;
}

int ProgramStart(int argc, char** argv) {
  QApplication app(argc, argv);
  std::setlocale(LC_NUMERIC, "C");
  // The session runs from one handler through modal windows; the level dialog closing is not the end.
  QApplication::setQuitOnLastWindowClosed(false);
  HintFilter hints;
  HintFilter::SetHintPalette();
  app.installEventFilter(&hints);
  QtServices qt;
  GeneratorState state(qt.services);
  // The first parameter (help file, language, table) is read and not used: the language comes from the
  // settings file.
  state.folders = ProgramFoldersFor(S(QCoreApplication::applicationDirPath()));
  GeneratorProgram program(state);
  program.form1->Timer1->start();
  return app.exec();
}

}  // namespace tolvek::generator
