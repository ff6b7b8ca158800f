#pragma once
// The shipped program in front of enterprise 1, ready to be inventoried: the structure dealt by rule,
// fixed circles of 500 m² and the grid shown. Shared by the inventory's window test and the layout
// checks of an enterprise run.
#include <QImage>
#include <QtTest>

#include "simulator/enterprise/model_stand_assignment.h"
#include "simulator/forms/enterprise_windows.h"
#include "simulator/forms/form1.h"
#include "simulator/sampling/method.h"
#include "tests/support/dealt_structure.h"
#include "tests/support/qt_helpers.h"

namespace tolvek::testing {

struct EnterpriseProgram : ShippedProgram {
  explicit EnterpriseProgram(int language = 1) {
    form1().show();
    if (language != 1) form1().BitBtn16Click(language);
  }
  TForm1& f1() { return form1(); }

  // The white pixels of the map: the grid's crosses inside the enterprise.
  int WhitePixels() {
    f1().SettleMap();
    const QImage& map = *f1().mapImage;
    int white = 0;
    for (int y = 0; y < map.height(); ++y)
      for (int x = 0; x < map.width(); ++x) white += (map.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
    return white;
  }

  // "Betrieb" and enterprise 1 in stand types; the structure dealt directly: types (A) (D) (F) by
  // compartment, the classes by stand, a model stand drawn for every stand; fixed circles of 500 m².
  void EnterWithStructure() {
    TForm37* choice = forms().form37;
    WhenModal(choice, [choice] { QTest::mouseDClick(choice->Image[1], Qt::LeftButton); });
    f1().Button14->click();
    f1().LoadModelStandTable();
    EnterpriseSession& e = state.enterprise;
    DealStructureByRule(e);
    GeneratorDraws draws(state.random);
    AssignModelStands(e, state.modelStands, 0, draws);
    f1().DrawEnterpriseMap();
    f1().Panel8->hide();
    MethodSettings& m = state.sampling.method;
    BeginFixedCircle(m, state.language);
    static_cast<void>(ConfirmFixedCircle(m, state.language, 500.0));
    f1().ShowMethodLabels();
    f1().sBtGitter->setEnabled(true);
    f1().sBtGitter->click();
  }
};

}  // namespace tolvek::testing
