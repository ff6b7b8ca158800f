// A save cut off at any moment (the program killed while it writes) leaves the old file or the new one,
// whole, never a mix or a part: the settings, the saved grid and the sample-tree table, each through the
// writer the program uses.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <filesystem>
#include <functional>
#include <random>
#include <thread>

#include "common/boundary_file.h"
#include "common/paths.h"
#include "common/settings.h"
#include "simulator/sampling/evaluation.h"
#include "simulator/sampling/grid.h"
#include "simulator/stand/boundary.h"
#include "tests/support/fakes.h"

namespace tolvek {
namespace {

struct Save {
  std::string path;
  std::function<bool(bool fresh)> write;  // the old (false) or the new (true) version
  std::array<std::string, 2> bytes{};     // as the two versions lie on disk
  std::array<int, 2> seen{};
};

SampleGrid LaidGrid(int spacing) {
  BoundaryPolygon stand;
  SetBoundaryPoints(RectangleBoundary(300.0, 250.0), stand);
  SampleGrid grid;
  grid.dx = grid.dy = spacing;
  EXPECT_TRUE(NewGrid(grid, &stand, nullptr, GridContext{}).ok());
  return grid;
}

std::vector<std::string> TableLines(int rows) {
  std::vector<std::string> lines{"Stichpr.Nr  Baum Nr.   Baumart        BHD        Abstand      Probefläche"};
  for (int i = 1; i <= rows; ++i)
    lines.push_back(std::string(4, ' ') + std::to_string(i) + "         1        Fichte         20.0         3.3");
  return lines;
}

// A folder in memory where there is one: the writes then take microseconds rather than the disk's
// milliseconds for every flush, so a hundred kills cost a second and still fall anywhere in the saves.
class SaveFolder {
 public:
  SaveFolder() {
    std::error_code ec;
    if (!std::filesystem::is_directory("/dev/shm", ec)) return;
    std::string templ = "/dev/shm/tolvek-save-XXXXXX";
    if (::mkdtemp(templ.data())) path_ = templ + "/";
  }
  ~SaveFolder() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
  }
  std::string path() const { return path_.empty() ? disk_.path() : path_; }

 private:
  testing::TempDir disk_;
  std::string path_;
};

TEST(InterruptedSave, AWriterKilledAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  SaveFolder dir;
  const std::string program = dir.path();
  const SampleGrid oldGrid = LaidGrid(50), newGrid = LaidGrid(21);
  const std::vector<std::string> oldTable = TableLines(40), newTable = TableLines(4000);
  std::vector<Save> saves{
      {SettingsPath(program),
       [&](bool fresh) {
         return WriteSettingsFile(program, fresh ? Settings{7, false} : Settings{1, true}).ok();
       }},
      {GridFilePath(program, 1),
       [&](bool fresh) { return SaveGrid(fresh ? newGrid : oldGrid, GridFilePath(program, 1)).ok(); }},
      {SampleTreeTablePath(program),
       [&](bool fresh) { return WriteSampleTreeTable(program, fresh ? newTable : oldTable).ok(); }},
  };
  for (Save& s : saves) {
    for (bool fresh : {true, false}) {
      ASSERT_TRUE(s.write(fresh));
      ASSERT_TRUE(ReadWholeFile(s.path, s.bytes[fresh]));
    }
    ASSERT_NE(s.bytes[0], s.bytes[1]);
  }
  // Each kill is aimed at one save of the writer's sequence (every file new, then every file old, and
  // again), which the writer announces as it begins it, and lands a random moment after: within that save
  // or just after it, whatever the machine's load.
  constexpr int kSequence = 12;
  std::uniform_int_distribution<int> target(0, kSequence - 1);
  std::uniform_int_distribution<int> moment(0, 400);  // µs; the largest save takes a few milliseconds
  std::mt19937 random(20240611);
  constexpr int kRounds = 64;
  for (int round = 0; round < kRounds; ++round) {
    int announce[2];
    ASSERT_EQ(::pipe(announce), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    // Whatever fails below, the writer does not outlive the round.
    struct Stop {
      pid_t pid;
      ~Stop() {
        if (pid <= 0) return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
      }
    } stop{child};
    if (child == 0) {
      ::close(announce[0]);
      for (int n = 0;; ++n) {
        const char next = 1;
        if (::write(announce[1], &next, 1) != 1) ::_exit(2);
        const bool fresh = (n / 3) % 2 == 0;
        if (!saves[static_cast<std::size_t>(n % 3)].write(fresh)) ::_exit(3);
      }
    }
    ::close(announce[1]);
    const int aim = target(random);
    for (int n = 0; n <= aim; ++n) {
      char next = 0;
      ASSERT_EQ(::read(announce[0], &next, 1), 1);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(moment(random)));
    ASSERT_EQ(::kill(child, SIGKILL), 0);
    ::close(announce[0]);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    stop.pid = 0;
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;

    for (Save& s : saves) {
      std::string bytes;
      ASSERT_TRUE(ReadWholeFile(s.path, bytes)) << s.path;
      const bool isOld = bytes == s.bytes[0], isNew = bytes == s.bytes[1];
      ASSERT_TRUE(isOld || isNew) << s.path << " is neither version whole after round " << round << " ("
                                  << bytes.size() << " bytes)";
      ++s.seen[isNew];
    }
  }
  // The kills met both versions of every file on disk: they fell while the saves were at work.
  for (const Save& s : saves) {
    EXPECT_GT(s.seen[0], 0) << s.path;
    EXPECT_GT(s.seen[1], 0) << s.path;
  }

  // What the killed writers left half-written beside the files goes with the next save of each.
  for (Save& s : saves) ASSERT_TRUE(s.write(false));
  for (const auto& folder : {program, program + "Temp/"})
    for (const auto& entry : std::filesystem::directory_iterator(folder))
      EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

}  // namespace
}  // namespace tolvek
