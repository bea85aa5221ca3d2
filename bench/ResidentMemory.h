// The benches' one measure of memory: what the process holds in RAM now.
#pragma once

#include <fstream>
#include <string>

namespace yuunagi::bench {

// The resident set of this process in kB (VmRSS), or -1 when unknown.
inline long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace yuunagi::bench
