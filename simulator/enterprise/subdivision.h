#pragma once
// The random subdivision of a compartment into stands by nested cross cuts: a cut is a centre inside
// the polygon with four arms of kCutArmLength, its pieces (two, three or four) are clipped against the
// polygon, and each piece is cut again, down to the compartment's stand level. Kind k of a compartment
// gives its level L and its pieces per cut P (P^(L - 1) stands).
//
// The random numbers are drawn from the program's one generator in the order the cuts are made,
// including the cuts of the levels below the last one needed, so a seed replays a whole enterprise.
#include <array>

#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

struct SubdivisionKind {
  int level = 3;   // L
  int pieces = 3;  // P
};
// Kinds 0..9 (compartments use 1..8).
SubdivisionKind KindTable(int kind);
// The kind a compartment gets at every new subdivision of the enterprise: (a mod 8) + 1.
inline int DefaultKind(int compartment) { return compartment % 8 + 1; }
// The kind after kind: one more, 1 after 8.
inline int NextKind(int kind) { return kind >= 8 ? 1 : kind + 1; }

// One cross cut: centre, the ends of the west, north, east and south arms, and whether the centre was
// placed inside the polygon.
struct CrossCut {
  GeoPoint m, w, n, e, s;
  bool inside = false;
};

// The cut of a closed ring: the centre near the mean of its corners (moved at random by up to
// spread / 2 per cent of the extent), tried again at random within 90 % of the extent when it falls
// outside (91 tries); the arms' ends moved across by a random 0..spread - 1 minus spread / 2 metres.
CrossCut RandomCutLines(const Ring& ring, int spread, RandomDraws& random);

// Piece i (1..pieces) of a cut: the polygon it covers before clipping. The eastern pieces of a four-way
// cut start at a centre moved 80 / level metres north.
Ring CutPiece(const CrossCut& cut, int i, int pieces, int level);

// The part of ring that piece covers: the largest ring of the intersection, corners nearer than 0.1 m
// in x and y to the one before them dropped (the ring stays closed). Empty when nothing of worth is left
// (fewer than three corners or less than 1 m²).
Ring ClipPiece(const Ring& ring, const Ring& piece);
// Drops every corner within 0.1 m (in x and in y) of the one before it; the closing corner stays, the
// one before it goes instead.
void RemoveNearDuplicates(Ring& ring);

struct Subdivision {
  std::vector<EnterpriseStand> stands;
  // A cut whose centre could not be placed inside its piece left that piece whole: at the third level
  // the program says so once ("Außerhalb").
  bool outsideAtThirdLevel = false;
};
// Cuts a compartment (closed ring) of the given kind. Each stand gets type position 1 and a random
// class 1..4; a cut that fails keeps its piece as one stand, so the stands always cover the
// compartment (up to the gap or overlap a four-way cut leaves between its halves).
Subdivision SubdivideRing(const Ring& compartment, int kind, int spread, RandomDraws& random);

// The session's compartment a (1..count) cut anew: its kind reset to the default unless a compartment
// is marked, the mark cleared, its stands replaced and its area summed.
Subdivision SubdivideCompartment(EnterpriseSession& s, int a, RandomDraws& random);
// A click into compartment a: the next kind, a marked, cut anew.
Subdivision CycleCompartmentKind(EnterpriseSession& s, int a, RandomDraws& random);

}  // namespace tolvek
