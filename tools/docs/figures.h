#pragma once
// The figures of the theory documents, drawn as vector graphics. Each has a fixed size in millimetres
// and its labels in German or English.
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace docs {

// Size in millimetres; an empty size for an unknown name.
QSizeF FigureSizeMm(const QString& name);
// Draws the figure into rect (device units, dotsPerMm device units per millimetre). English labels
// when english is set.
void DrawFigure(QPainter* p, const QString& name, const QRectF& rect, qreal dotsPerMm, bool english);

}  // namespace docs
