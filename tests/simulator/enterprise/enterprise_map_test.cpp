// The enterprise map: the turn and scale from metres to pixels and back, the fill of the stands, and the
// compartment under a click.
#include <gtest/gtest.h>

#include <cmath>

#include "common/recording_canvas.h"
#include "simulator/enterprise/enterprise_map.h"

using namespace tolvek;

namespace {

Ring Square(double x0, double y0, double side) {
  return {{x0, y0}, {x0, y0 + side}, {x0 + side, y0 + side}, {x0 + side, y0}, {x0, y0}};
}

EnterpriseSession TwoCompartments() {
  EnterpriseSession s;
  s.compartmentCount = 2;
  s.outlines = {{}, Square(0, 0, 100), Square(100, 0, 100)};
  s.compartments.assign(3, Compartment{});
  EnterpriseStand a{0.5, 2, 3, 0, 0, Square(0, 0, 50)};
  EnterpriseStand b{0.5, 2, 4, 0, 0, Square(50, 50, 50)};
  s.At(1).stands = {a, b};
  s.At(2).stands = {EnterpriseStand{1.0, 1, 1, 0, 0, Square(100, 0, 100)}};
  s.At(2).typePosition = 3;
  return s;
}

std::vector<Colour> Fills(const RecordingCanvas& c) {
  std::vector<Colour> out;
  for (const DrawCommand& d : c.commands)
    if (d.kind == DrawCommand::Kind::Brush) out.push_back(d.colour);
  return out;
}

}  // namespace

TEST(EnterpriseMapTransform, TurnedScaledAndBack) {
  // Enterprise 1 on a screen of scale 1: (1000, 1000) turns to (1118.89, 864.93).
  const EnterpriseMapTransform t{-0.1273239544568912, 0.312, 968};
  const GeoPoint r = RotateByGridAngle(t.angle, 1000, 1000);
  EXPECT_NEAR(r.x, 1118.89, 0.005);
  EXPECT_NEAR(r.y, 864.93, 0.005);
  const CanvasPoint p = t.ToPixel({1000, 1000});
  EXPECT_EQ(p.x, 349);
  EXPECT_EQ(p.y, 698);
  // A point on the y axis turns as any other (no unturned special case).
  const GeoPoint axis = RotateByGridAngle(0.15915494307111402, 1000, 0);
  EXPECT_NEAR(axis.x, -1000 * std::sin(0.15915494307111402), 1e-9);
  // Back from the pixel: within half a pixel of where it was.
  const GeoPoint back = t.ToMetres(p.x, p.y);
  EXPECT_NEAR(back.x, 1000, 0.5 / 0.312 * 1.5);
  EXPECT_NEAR(back.y, 1000, 0.5 / 0.312 * 1.5);
}

TEST(EnterpriseMapScale, ByEnterpriseAndScreen) {
  EXPECT_DOUBLE_EQ(EnterpriseMapScale(3, 1.0, 1024), 0.15294117647058825);
  EXPECT_DOUBLE_EQ(EnterpriseMapScale(3, 0.8, 768), 0.8 * 0.14181818181818182);
  EXPECT_DOUBLE_EQ(EnterpriseMapScale(1, 0.8, 768), 0.8 * 0.312);
  EXPECT_DOUBLE_EQ(EnterpriseMapScale(2, 1.0, 769), 0.26);
}

TEST(ClassColours, TableAndOutOfRange) {
  EXPECT_EQ(ClassColour(1, 1), 0xBBFFBBu);
  EXPECT_EQ(ClassColour(2, 3), 0x0000FFu);  // pure red in $BBGGRR
  EXPECT_EQ(ClassColour(5, 5), 0xFF1111u);
  EXPECT_EQ(ClassColour(7, 7), 0xFFFFFFu);
  EXPECT_EQ(ClassColour(0, 3), 1u);
  EXPECT_EQ(ClassColour(3, 8), 1u);
}

TEST(DrawCompartment, FillsByClassMarkedCompartmentModeAndFirstDrawing) {
  EnterpriseSession s = TwoCompartments();
  const EnterpriseMapTransform t{0.0, 1.0, 300};
  RecordingCanvas c;
  DrawCompartment(c, s, 1, 0, t);
  EXPECT_EQ(Fills(c), (std::vector<Colour>{ClassColour(2, 3), ClassColour(2, 4)}));
  EXPECT_DOUBLE_EQ(s.At(1).area, 1.0);  // summed from its stands
  // The outline last, twice as thick, as an open line through all its corners.
  ASSERT_EQ(c.commands.back().kind, DrawCommand::Kind::Pen);
  const DrawCommand& outline = c.commands[c.commands.size() - 2];
  ASSERT_EQ(outline.kind, DrawCommand::Kind::Polyline);
  EXPECT_EQ(outline.points.size(), 5u);
  EXPECT_EQ(outline.points[1].x, 0);
  EXPECT_EQ(outline.points[1].y, 200);  // 300 - 100

  s.markedCompartment = 2;
  RecordingCanvas marked;
  DrawCompartment(marked, s, 2, 0, t);
  EXPECT_EQ(Fills(marked), (std::vector<Colour>{ClassColour(3, 1)}));
  RecordingCanvas mode1;
  DrawCompartment(mode1, s, 1, 1, t);
  EXPECT_EQ(Fills(mode1), (std::vector<Colour>{kTypeColours[2], kTypeColours[2]}));
  s.firstDrawing = true;
  RecordingCanvas first;
  DrawCompartment(first, s, 1, 1, t);
  EXPECT_EQ(Fills(first), (std::vector<Colour>{kFirstDrawingColour, kFirstDrawingColour}));
}

TEST(DrawEnterpriseMap, ClearsToBlackAndEndsTheFirstDrawing) {
  EnterpriseSession s = TwoCompartments();
  s.firstDrawing = true;
  RecordingCanvas c;
  DrawEnterpriseMap(c, s, {0.0, 1.0, 300}, 400, 300);
  EXPECT_FALSE(s.firstDrawing);
  const std::vector<Colour> fills = Fills(c);
  ASSERT_EQ(fills.size(), 4u);
  EXPECT_EQ(fills[0], kBlack);
  EXPECT_EQ(fills[1], ClassColour(2, 3));
}

TEST(CompartmentAt, FindsTheOutlineUnderAPoint) {
  const EnterpriseSession s = TwoCompartments();
  EXPECT_EQ(CompartmentAt(s, {50, 50}), 1);
  EXPECT_EQ(CompartmentAt(s, {150, 20}), 2);
  EXPECT_EQ(CompartmentAt(s, {250, 20}), 0);
  // Through the transform of a click.
  const EnterpriseMapTransform t{0.3, 2.0, 600};
  const CanvasPoint p = t.ToPixel({160, 60});
  EXPECT_EQ(CompartmentAt(s, t.ToMetres(p.x, p.y)), 2);
}
