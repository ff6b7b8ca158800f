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

}  // namespace tolvek
