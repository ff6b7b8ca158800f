#include "common/paths.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unistd.h>

#include "common/format.h"

namespace fs = std::filesystem;

namespace tolvek {

namespace {
constexpr const char* kByteOrderMark = "\xEF\xBB\xBF";  // U+FEFF in UTF-8
}  // namespace

std::string NormalizeSeparators(std::string_view path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    char d = c == '\\' ? '/' : c;
    if (d == '/' && !out.empty() && out.back() == '/') continue;
    out.push_back(d);
  }
  return out;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
  std::string f = NormalizeSeparators(folder);
  std::string n = NormalizeSeparators(name);
  while (!n.empty() && n.front() == '/') n.erase(0, 1);
  if (f.empty()) return n;
  if (f.back() != '/') f.push_back('/');
  return f + n;
}

static bool EqualsNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::string ResolvePath(std::string_view path) {
  std::string p = NormalizeSeparators(path);
  if (p.empty()) return p;
  std::error_code ec;
  if (fs::exists(p, ec)) return p;
  bool trailing = p.back() == '/';
  std::string cur = p.front() == '/' ? "/" : "";
  std::size_t i = p.front() == '/' ? 1 : 0;
  bool lost = false;  // once a component does not exist, the rest is kept as given
  while (i < p.size()) {
    std::size_t j = p.find('/', i);
    if (j == std::string::npos) j = p.size();
    std::string comp = p.substr(i, j - i);
    std::string base = cur.empty() ? "." : cur;
    std::string chosen = comp;
    if (!lost && !comp.empty() && comp != "." && comp != "..") {
      if (!fs::exists(fs::path(base) / comp, ec)) {
        bool found = false;
        for (fs::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
          std::string name = it->path().filename().string();
          if (EqualsNoCase(name, comp)) {
            chosen = name;
            found = true;
            break;
          }
        }
        if (!found) lost = true;
      }
    }
    cur += chosen;
    if (j < p.size()) cur += '/';
    i = j + 1;
  }
  if (trailing && (cur.empty() || cur.back() != '/')) cur += '/';
  return cur;
}

std::string ResolveIn(std::string_view folder, std::string_view name) { return ResolvePath(JoinPath(folder, name)); }

ProgramFolders ProgramFoldersFromFolder(const std::string& folder) {
  ProgramFolders f;
  std::string p = NormalizeSeparators(folder);
  if (p.find('#') != std::string::npos) p = kFixedProgramFolder;
  if (p.empty() || p.back() != '/') p.push_back('/');
  f.program = p;
  f.stands = p + "Bestande/";
  f.presets = p + "Vorgaben/";
  return f;
}

ProgramFolders ProgramFoldersFor(const std::string& executableFolder) {
  if (const char* env = std::getenv(kProgramDirVariable); env && *env) {
    std::string p = NormalizeSeparators(env);
    if (p.back() != '/') p.push_back('/');
    ProgramFolders f;
    f.program = p;
    f.stands = p + "Bestande/";
    f.presets = p + "Vorgaben/";
    return f;
  }
  return ProgramFoldersFromFolder(executableFolder);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(ResolvePath(path), ec);
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(ResolvePath(path), std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  if (in.bad()) return false;
  bytes = ss.str();
  return true;
}

FileRead ReadFileUpTo(const std::string& path, std::size_t maxBytes, std::string& bytes) {
  std::ifstream in(ResolvePath(path), std::ios::binary);
  if (!in) return FileRead::kCannotRead;
  in.seekg(0, std::ios::end);
  const std::streamoff size = in.tellg();
  if (size < 0) return FileRead::kCannotRead;
  if (static_cast<unsigned long long>(size) > maxBytes) return FileRead::kTooLarge;
  in.seekg(0, std::ios::beg);
  std::string read(static_cast<std::size_t>(size), '\0');
  in.read(read.data(), size);
  if (in.gcount() != size) return FileRead::kCannotRead;
  // A file that grew while it was read is no more trustworthy than one that was too large at once.
  if (in.peek() != std::ifstream::traits_type::eof()) return FileRead::kTooLarge;
  bytes = std::move(read);
  return FileRead::kOk;
}

namespace {

constexpr std::string_view kTempMark = ".tmp";

std::string TempNameFor(const std::string& target, long pid) { return target + std::string(kTempMark) + std::to_string(pid); }

// The temporary files of writers that died before their rename: target name + ".tmp" + the process id
// of a process that no longer runs. A live writer's file is left to it.
void RemoveOrphanedTempFiles(const std::string& target) {
  const fs::path t(target);
  const std::string prefix = t.filename().string() + std::string(kTempMark);
  const fs::path folder = t.has_parent_path() ? t.parent_path() : fs::path(".");
  std::error_code ec;
  std::vector<fs::path> orphans;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = name.substr(prefix.size());
    if (digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos) continue;
    const long pid = std::stol(digits);
    if (pid <= 0 || pid == static_cast<long>(::getpid())) continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;
    orphans.push_back(it->path());
  }
  for (const fs::path& p : orphans) fs::remove(p, ec);
}

}  // namespace

Outcome WriteFileAtomic(const std::string& path, std::string_view bytes) {
  const std::string target = ResolvePath(path);
  const std::string tmp = TempNameFor(target, static_cast<long>(::getpid()));
  const Problem notWritten{"Datei konnte nicht geschrieben werden:", path};
  {
    std::FILE* f = std::fopen(tmp.c_str(), "wb");
    if (!f) return notWritten;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fflush(f) == 0) && ok;
    ok = (::fsync(::fileno(f)) == 0) && ok;
    ok = (std::fclose(f) == 0) && ok;
    if (!ok) {
      std::remove(tmp.c_str());
      return notWritten;
    }
  }
  if (std::rename(tmp.c_str(), target.c_str()) != 0) {
    std::remove(tmp.c_str());
    return notWritten;
  }
  RemoveOrphanedTempFiles(target);
  return {};
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  std::vector<std::string> lines;
  // Editors that mark UTF-8 files put these three bytes first; they are not text of the first line.
  std::size_t i = bytes.substr(0, 3) == kByteOrderMark ? 3 : 0;
  while (i < bytes.size()) {
    std::size_t j = bytes.find('\n', i);
    std::size_t end = j == std::string_view::npos ? bytes.size() : j;
    std::size_t e = end;
    if (e > i && bytes[e - 1] == '\r') --e;
    lines.push_back(DecodeTextLine(bytes.substr(i, e - i)));
    if (j == std::string_view::npos) break;
    i = j + 1;
  }
  return lines;
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return false;
  lines = SplitTextLines(bytes);
  return true;
}

Outcome WriteTextLines(const std::string& path, const std::vector<std::string>& lines) {
  std::string out;
  // A first line that begins with the byte-order mark's character keeps it: the readers take one mark
  // off the start of a file, so it is written after one more.
  if (!lines.empty() && lines.front().compare(0, 3, kByteOrderMark) == 0) out = kByteOrderMark;
  for (const auto& l : lines) {
    out += l;
    out += "\r\n";
  }
  return WriteFileAtomic(path, out);
}

}  // namespace tolvek
