#include "simulator/enterprise/area_balance.h"

#include <algorithm>

#include "common/format.h"

namespace tolvek {

namespace {

std::string DashLine() { return "\r    " + std::string(102, '-'); }

// Cut to 20 characters, then padded to at least 19.
std::string NameCell(const std::string& name) {
  std::string cell = Utf8Left(name, 20);
  while (Utf8Length(cell) < 19) cell += ' ';
  return cell;
}

bool IsRule(const std::string& line) {
  return line.find('-') != std::string::npos && line.find_first_not_of(" -") == std::string::npos;
}

std::vector<std::string> Split(const std::string& text, char at) {
  std::vector<std::string> out(1);
  for (char c : text) {
    if (c == at)
      out.emplace_back();
    else
      out.back() += c;
  }
  return out;
}

}  // namespace

AreaBalance BuildAreaBalance(const std::vector<Compartment>& compartments) {
  AreaBalance b{};
  for (std::size_t a = 1; a < compartments.size(); ++a)
    for (const EnterpriseStand& st : compartments[a].stands) {
      const int t = st.typePosition, k = st.cls;
      if (t < 1 || t > 5 || k < 1 || k > 5) continue;
      b[static_cast<std::size_t>(t)][static_cast<std::size_t>(k)] += st.area;
      b[static_cast<std::size_t>(t)][0] += st.area;
      b[0][static_cast<std::size_t>(k)] += st.area;
      b[0][0] += st.area;
    }
  return b;
}

std::array<std::string, 6> PositionNames(const ChosenTypes& chosen, const std::array<std::string, 9>& typeNames) {
  std::array<std::string, 6> names;
  names[0] = typeNames[0];
  for (std::size_t p = 1; p <= 5; ++p) {
    const int code = chosen.codes[p];
    if (code >= 1 && code <= 8) names[p] = typeNames[static_cast<std::size_t>(code)];
  }
  return names;
}

std::string ClassName(int cls, bool forestDevelopmentTypes) {
  static const char* const kTreatment[6] = {"", "JPF", "DF", "VPF", "VN", "DW"};
  static const char* const kAge[6] = {"", "1./2.", "3.", "4.", "5.", "6.+"};
  if (cls < 1 || cls > 5) return {};
  return forestDevelopmentTypes ? kTreatment[cls] : kAge[cls];
}

std::string AreaBalanceText(const AreaBalance& b, bool forestDevelopmentTypes, const std::array<std::string, 6>& names,
                            const TranslateFn& tr) {
  const std::string d = DashLine();
  std::string text = "\t\t\t" + tr("Übersicht der Bestandes-Flächen") + "\r" + d + "\r";
  if (forestDevelopmentTypes) {
    text += "    " + PadRight(tr("Behandlungstyp"), 15) + "\t   JPF\t   DF\t  VPF\t   VN\t  DW\t  Alle" + d;
  } else {
    text += "    " + PadRight(tr("Altersklasse"), 15) + "\t  1./2.";
    for (int k = 3; k <= 6; ++k) text += "\t" + FormatInt(k, 5) + ".";
    text += "\t    Alle" + d;
  }
  for (int r : {1, 2, 3, 4, 5, 0}) {
    if (b[static_cast<std::size_t>(r)][0] > 0.0) {
      text += "\r    " + NameCell(names[static_cast<std::size_t>(r)]);
      for (int q : {1, 2, 3, 4, 5, 0})
        text += "\t" + FormatFixed(6, 1, b[static_cast<std::size_t>(r)][static_cast<std::size_t>(q)]);
    }
    if (r == 5) text += d;
  }
  text += d + "\r   " + tr("Bei großen Beständen können die Flächen von den Vorgaben abweichen");
  return text;
}

std::vector<std::string> AreaBalanceDisplayLines(const std::string& text) {
  constexpr std::size_t kColumn = 8;
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : Split(text, '\r')) rows.push_back(Split(line, '\t'));
  // The columns begin beyond every name.
  std::size_t first = kColumn;
  for (const auto& r : rows)
    if (r.size() > 1) first = std::max(first, Utf8Length(r[0]) + 1);
  std::vector<std::string> out;
  std::size_t width = 0;
  std::vector<std::size_t> titles;
  for (const auto& r : rows) {
    // A text after tabs alone is a title: centred over the table below.
    if (r.size() > 1 && std::all_of(r.begin(), r.end() - 1, [](const std::string& f) { return f.empty(); })) {
      titles.push_back(out.size());
      out.push_back(r.back());
      continue;
    }
    std::string line = r[0];
    std::size_t length = Utf8Length(line);
    for (std::size_t f = 1; f < r.size(); ++f) {
      // Field f right-aligned in column f; a longer one (a title) starts at the column.
      const std::size_t start = first + (f - 1) * kColumn, size = Utf8Length(r[f]);
      const std::size_t at = std::max(size <= kColumn ? start + kColumn - size : start, length + (f > 1 ? 1 : 0));
      if (size == 0) continue;
      line.append(at - length, ' ');
      line += r[f];
      length = at + size;
    }
    if (!IsRule(line)) width = std::max(width, length);
    out.push_back(line);
  }
  for (std::string& line : out)
    if (IsRule(line) && line.size() > width) line.resize(width);
  for (std::size_t t : titles) {
    const std::size_t size = Utf8Length(out[t]);
    if (size < width) out[t].insert(0, (width - size) / 2, ' ');
  }
  return out;
}

std::string MatrixColumnHeads(bool forestDevelopmentTypes, int charsPerCell) {
  std::string heads;
  for (const std::string& h : Split(forestDevelopmentTypes ? "JPF DF VPF VN DW Sa" : "1./2. 3. 4. 5. 6.+ Sa.", ' ')) {
    const int free = std::max(0, charsPerCell - static_cast<int>(h.size()));
    heads += std::string(static_cast<std::size_t>((free + 1) / 2), ' ') + h +
             std::string(static_cast<std::size_t>(free / 2), ' ');
  }
  return heads;
}

std::string BalanceCellText(const AreaBalance& b, int row, int column) {
  return FormatFixed(5, 0, b[static_cast<std::size_t>(row % 6)][static_cast<std::size_t>(column % 6)]);
}

void DrawAreaBalanceMatrix(Canvas& canvas, const AreaBalance& b, int cell, const std::string& family, int sizePt) {
  canvas.SetPen(kBlack, 1);
  for (int r = 1; r <= 6; ++r)
    for (int q = 1; q <= 6; ++q) {
      const int x = (q - 1) * cell, y = (r - 1) * cell;
      const Colour fill = ClassColour(r, q);
      // Perceived brightness (ITU-R 601 weights): the darkest shades of a type take white digits.
      const int brightness = (299 * ColourRed(fill) + 587 * ColourGreen(fill) + 114 * ColourBlue(fill)) / 1000;
      canvas.SetFont(family, sizePt, brightness < 110 ? kWhite : kBlack);
      canvas.SetBrush(fill);
      canvas.Rectangle(x, y, x + cell, y + cell);
      canvas.Text(x + 2, y + 10, BalanceCellText(b, r, q));
    }
}

}  // namespace tolvek
