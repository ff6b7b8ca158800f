#pragma once
// How the enterprise's area divides among the strata (type position × class): the table of hectares,
// its text (TAB-separated columns, "\r" line ends) and the coloured matrix that also explains the
// colours of the map.
#include <array>
#include <string>
#include <vector>

#include "common/canvas.h"
#include "simulator/enterprise/enterprise_model.h"

namespace tolvek {

// [type position 0..5][class 0..5] in ha; index 0 holds the sum over that index.
using AreaBalance = std::array<std::array<double, 6>, 6>;

// The stands of compartments 1..n (index 0 unused) summed into their strata. Stands of a type position
// or class outside 1..5 belong to no stratum.
AreaBalance BuildAreaBalance(const std::vector<Compartment>& compartments);

// The names of the type positions 0..5 of the chosen types from the names of the types by code (0 all
// types, 1..8): "" for a position without a type.
std::array<std::string, 6> PositionNames(const ChosenTypes& chosen, const std::array<std::string, 9>& typeNames);
// The short name of class 1..5: a treatment type ("JPF" ...) or an age class ("1./2." ...).
std::string ClassName(int cls, bool forestDevelopmentTypes);

// The table as text: a title, the column head of the classes, a row per type position with area (in
// the order 1..5, then the sums), and a closing remark.
std::string AreaBalanceText(const AreaBalance& balance, bool forestDevelopmentTypes,
                            const std::array<std::string, 6>& positionNames, const TranslateFn& tr);
// The text laid out for a window with a font of even widths: lines at "\r", the TAB columns right-aligned
// in columns of 8 characters after the widest name, a title centred, the dashed rules as wide as the table.
std::vector<std::string> AreaBalanceDisplayLines(const std::string& text);

// The heads of the matrix's columns (the classes, then the sums), each centred over its cell of
// charsPerCell characters of a font of even widths.
std::string MatrixColumnHeads(bool forestDevelopmentTypes, int charsPerCell);
// The number of matrix cell (row 1..6, column 1..6): rows and columns 6 are the sums.
std::string BalanceCellText(const AreaBalance& balance, int row, int column);
// The matrix: 6 × 6 cells of the map's class colours (row 6 and column 6 the sums), each with its hectares
// in the font family at sizePt, white on the dark shades so that every number stays legible.
void DrawAreaBalanceMatrix(Canvas& canvas, const AreaBalance& balance, int cell, const std::string& family,
                           int sizePt);

}  // namespace tolvek
