#pragma once
// QCOMPARE_NEAR(actual, expected, tolerance): Qt Test's check that two reals agree within tolerance. A
// failure prints both values in full, their difference and the tolerance, which a plain QVERIFY of the
// difference does not.
#include <QtTest>
#include <cmath>
#include <string>

namespace tolvek::testing {

inline bool Near(double actual, double expected, double tolerance, const char* actualText, const char* expectedText,
                 const char* file, int line) {
  const double difference = std::abs(actual - expected);
  if (difference <= tolerance) return true;
  const QString message =
      QString("Reals differ by more than %1:\n   Actual   (%2): %3\n   Expected (%4): %5\n   Difference: %6")
          .arg(tolerance, 0, 'g', 17)
          .arg(QString::fromUtf8(actualText))
          .arg(actual, 0, 'g', 17)
          .arg(QString::fromUtf8(expectedText))
          .arg(expected, 0, 'g', 17)
          .arg(difference, 0, 'g', 17);
  QTest::qFail(qPrintable(message), file, line);
  return false;
}

}  // namespace tolvek::testing

#define QCOMPARE_NEAR(actual, expected, tolerance)                                                                   \
  do {                                                                                                               \
    if (!::tolvek::testing::Near((actual), (expected), (tolerance), #actual, #expected, __FILE__, __LINE__)) return; \
  } while (false)
