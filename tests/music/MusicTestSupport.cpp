#include "MusicTestSupport.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace yuunagi::test {
namespace fs = std::filesystem;

fs::path SourceDir() { return YUUNAGI_SOURCE_DIR; }

fs::path ShippedMusicDir() { return fs::read_symlink("/proc/self/exe").parent_path() / "Music"; }

std::string ShippedSong(const std::string& name) { return (ShippedMusicDir() / (name + ".mid")).string(); }

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteBytes(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

double Rms(const std::vector<float>& stereo, std::size_t fromFrame, std::size_t toFrame) {
  toFrame = std::min(toFrame, stereo.size() / 2);
  if (toFrame <= fromFrame) return 0;
  double sum = 0;
  for (std::size_t i = 2 * fromFrame; i < 2 * toFrame; ++i) sum += double(stereo[i]) * stereo[i];
  return std::sqrt(sum / double(2 * (toFrame - fromFrame)));
}

double Peak(const std::vector<float>& stereo) {
  double peak = 0;
  for (float s : stereo) peak = std::max(peak, double(std::abs(s)));
  return peak;
}

fs::path FreshTempDir(const std::string& name) {
  fs::path dir = fs::temp_directory_path() / ("yuunagi-music-" + std::to_string(getpid()) + "-" + name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir;
}

InFolder::InFolder(const fs::path& folder) : previous_(fs::current_path()) { fs::current_path(folder); }
InFolder::~InFolder() { fs::current_path(previous_); }

}  // namespace yuunagi::test
