// The saved grid "Temp\Betrieb" + n + "Netz.txt": 4200 records of 48 bytes and six numbers, 201624 bytes.
// An input of exactly that size is the file; any other input is laid out with the six numbers first,
// then the records, and padded with zeros to the file's size, so that short inputs reach every field.
// A grid read is then marked against a stand and made into its labels, as "lesen" does.
#include <algorithm>

#include "common/boundary_file.h"
#include "simulator/sampling/grid.h"
#include "simulator/stand/boundary.h"
#include "simulator/translate.h"
#include "tests/fuzz/fuzz_support.h"

using namespace tolvek;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kTrailer = kGridFileSize - 24;
  const std::string_view input = fuzz::Bytes(data, size);
  std::string file;
  if (size == kGridFileSize) {
    file.assign(input);
  } else {
    file.assign(kGridFileSize, '\0');
    const std::size_t head = std::min<std::size_t>(size, 24);
    file.replace(kTrailer, head, input.substr(0, head));
    const std::size_t records = std::min<std::size_t>(size - head, kTrailer);
    file.replace(0, records, input.substr(head, records));
  }

  SampleGrid grid;
  grid.dx = 37;
  if (const Outcome decoded = DecodeGridFile(file, grid); !decoded.ok()) {
    fuzz::Check(!decoded.problem().message.empty() && grid.dx == 37 && !grid.exists,
                "a refusal says why and changes nothing");
    return 0;
  }
  fuzz::Check(grid.pointCount >= 0 && grid.pointCount <= kMaxGridPoints, "at most 4200 points");
  fuzz::Check(grid.insideCount <= grid.pointCount, "no more points inside than points");

  // What is read is what is written again.
  SampleGrid back;
  fuzz::Check(DecodeGridFile(EncodeGridFile(grid), back).ok(), "a grid read is written readably");
  fuzz::Check(back.pointCount == grid.pointCount && back.dx == grid.dx && back.dy == grid.dy &&
                  back.originX == grid.originX && back.originY == grid.originY,
              "a grid read is written as read");
  for (int i = 1; i <= grid.pointCount; ++i)
    fuzz::Check(back.Point(i).x == grid.Point(i).x && back.Point(i).y == grid.Point(i).y &&
                    back.Point(i).inside == grid.Point(i).inside,
                "every point is written as read");

  BoundaryPolygon stand;
  SetBoundaryPoints(RectangleBoundary(300.0, 250.0), stand);
  MarkInsidePoints(grid, &stand, nullptr, false, false);
  fuzz::Check(grid.insideCount >= 0 && grid.insideCount <= grid.pointCount, "marking counts what it marks");
  const LanguageTable language;
  SpacingLabel(language, grid, 6, 3);
  PointCountLabel(language, grid.insideCount, 7);
  ResultOriginLabel(language, grid);
  return 0;
}
