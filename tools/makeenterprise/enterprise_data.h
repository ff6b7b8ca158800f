#pragma once
// The shipped data of the model enterprises: the three compartment maps (in their three input formats),
// their default structures, the six pictures of the enterprise choice and the four arrow glyphs of the
// grid buttons.
#include <string>
#include <vector>

#include "simulator/enterprise/enterprise_model.h"

namespace tolvek::makeenterprise {

// How an enterprise is laid out, upright as the map shows it (metres of the turned map): a grid of
// cols × rows compartments of cellW × cellH from (x0, y0), without the cells listed as missing, the
// corners shared by four compartments moved at random by up to ±innerJitter in x and y, and the
// corners on the outline by up to ±edgeJitter across it.
struct EnterpriseDesign {
  int number = 0;
  int cols = 0, rows = 0;
  double x0 = 0, y0 = 0, cellW = 0, cellH = 0;
  std::vector<std::pair<int, int>> missing;  // (col, row), row 0 at the bottom
  double innerJitter = 40, edgeJitter = 20;
  std::uint32_t seed = 1;
};
const std::vector<EnterpriseDesign>& EnterpriseDesigns();

// The default structure of an enterprise: its classification and the target shares of its types; the
// classes are aimed at 20 % each, 15 % of the stands mix.
struct DefaultStructureDesign {
  int mode = 0;                                // 0 stand types with age classes, 1 forest development types
  std::vector<std::pair<int, double>> types;  // type code and target share (per cent)
  std::uint32_t seed = 1;
};
const DefaultStructureDesign& DefaultStructureOf(int enterprise);
// The enterprise cut into stands with its default kinds and given its default structure.
EnterpriseSession DefaultStructure(const EnterpriseDesign& design, const std::vector<Ring>& outlines);

// The lines of the map inputs of one enterprise, in the order EnterpriseMapFiles names them.
std::vector<std::vector<std::string>> MapInputLines(const EnterpriseDesign& design);

// What the shipped map must be: read back through the simulator's readers, each compartment convex,
// clockwise and within the cuts' reach, the whole within 1 % of the size the choice window shows. The
// reason when not.
bool CheckShippedOutlines(int enterprise, const std::vector<Ring>& outlines, std::string& reason);

// Writes every file below programFolder; the paths written (relative, "/") in order.
bool MakeEnterpriseData(const std::string& programFolder, std::vector<std::string>& written, std::string& error);

}  // namespace tolvek::makeenterprise
