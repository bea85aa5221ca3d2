// What the data-file and tool tests share: a scratch folder that removes
// itself, whole-file reads and writes, sample records with a different value
// in every field, and running code or a tool in a child process.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "files/Records.h"

namespace yuunagi::testing {

namespace fs = std::filesystem;

class TempFolder {
 public:
  explicit TempFolder(const fs::path& base = fs::temp_directory_path()) {
    std::string pattern = (base / "yuunagi-files-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a scratch folder";
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  fs::path operator/(std::string_view name) const { return path_ / name; }

 private:
  fs::path path_;
};

inline void WriteBytes(const fs::path& file, std::string_view bytes) {
  std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), std::ssize(bytes));
}

// The bytes of a plain file (following links); "" for anything else.
inline std::string ReadBytes(const fs::path& file) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return "";
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Names in a folder, sorted, so a test sees that nothing was added or left behind.
inline std::vector<std::string> FolderEntries(const fs::path& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A playable scenario (a faction a district) and hot-seat save (players 1 and 2
// on factions 1 and 3, district 3 to move), every field a different value.
// clang-format off
inline ScenarioRecord SampleScenario() {
  return {1, "戦闘1", "ユウナギ町の六つの地区が町の覇権を争う。～初級～",
          {"やさしい", "ふつう", "むずかしい", "ふつう", "やさしい", "鬼"}, {0, 1, 2, 3, 4, 5},
          {100, 200, 300, 0, 32767, 10000}, {50, 60, 70, 80, 90, -32768}, {10, 11, 12, 13, 14, 15},
          {1, 2, 3, 4, 5, 1}, {20, 30, 40, 50, 60, 1000}};
}
inline SaveRecord SampleSave(std::int16_t turn = 12) {
  return {turn, "戦闘1", "初級", {0, 1, 1, 3, 4, 5}, {100, 200, 300, 400, 500, 10000}, {1, 2, 3, 4, 5, 6},
          {7, 8, 9, 10, 11, -12}, {1, 2, 3, 4, 5, 5}, {21, 22, 23, 24, 25, 26}, 3, {0, 1, 0, 2, 0, 0}, 2};
}
// clang-format on

// Runs `child` in a forked process: 0 when it returned true, or the negated signal that ended it.
inline int RunInChild(const std::function<bool()>& child) {
  const pid_t pid = fork();
  if (pid == 0) _exit(child() ? 0 : 1);
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
}

struct ToolRun {
  int status;  // as RunInChild
  std::string out, err;
};

// Runs `program` with `args`, capturing what it prints. `prepare` runs in the
// child just before the program starts (to set a limit, say).
inline ToolRun RunTool(const std::string& program, std::vector<std::string> args,
                       const std::function<void()>& prepare = {}) {
  char out[] = "/tmp/yuunagi-out-XXXXXX", err[] = "/tmp/yuunagi-err-XXXXXX";
  const int outFd = mkstemp(out), errFd = mkstemp(err);
  args.insert(args.begin(), program);
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const int status = RunInChild([&] {
    dup2(outFd, 1);
    dup2(errFd, 2);
    if (prepare) prepare();
    execv(argv[0], argv.data());
    return false;
  });
  ToolRun run{status, ReadBytes(out), ReadBytes(err)};
  for (const char* name : {out, err}) unlink(name);
  close(outFd);
  close(errFd);
  return run;
}

}  // namespace yuunagi::testing
