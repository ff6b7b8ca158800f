#include "common/species.h"

namespace tolvek {

const char* const SpeciesNameTable::kNames[SpeciesNameTable::kRows][2] = {
    {"Bestand", "Bestand"}, {"Fichte", "Fichte"}, {"Tanne", "Kiefer"},   {"Kiefer", "Buche"},
    {"Douglas", "Eiche"},   {"Buche", "Esche"},   {"Eiche", "Ahorn"},    {"Esche", "HnBuche"},
    {"Ahorn", "Birke"},     {"s.Laubb", "s.Laubb"},
};

std::string SpeciesNameTable::Name(int code, int selector) {
  if (code < 0 || code >= kRows || (selector != kConiferList && selector != kBroadleafList)) return {};
  return kNames[code][selector - 1];
}

int DiameterClass(double dbh) {
  double c = (dbh + 4.0) / 8.0;
  if (!(c > 0.0)) return 0;  // also a dbh that is not a number
  if (c >= 10.0) return 10;
  return static_cast<int>(c);
}

}  // namespace tolvek
