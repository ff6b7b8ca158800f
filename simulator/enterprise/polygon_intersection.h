#pragma once
// The intersection of two simple polygons, neither of which need be convex: the pieces a cross cut
// leaves of a compartment bend inwards at the cut's centre, and the next cut's pieces are clipped
// against them.
#include <vector>

#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

// The rings of a ∩ b, each closed and clockwise (positive area). The inputs may be closed or open and
// run either way round. Where the two boundaries touch (a corner on the other's edge, edges on one
// line), b is moved by a few micrometres until they cross cleanly; the area changes by less than that.
std::vector<Ring> IntersectPolygons(const Ring& a, const Ring& b);

}  // namespace tolvek
