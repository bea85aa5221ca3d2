// Shared helpers of the music tests: where the songs and SoundFonts are,
// and loudness measures of rendered sound.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace yuunagi::test {

inline const std::vector<std::string> kSongs = {"オープニング", "設定", "決戦の町", "港町の攻防", "嵐の前夜"};
inline const std::vector<std::string> kBattleSongs = {"決戦の町", "港町の攻防", "嵐の前夜"};

// The small SoundFont keeps the tests quick; the default one is tried once.
inline const std::string kSmallSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";

std::filesystem::path SourceDir();
// Music/ beside the test program: the copies the build makes for the game.
std::filesystem::path ShippedMusicDir();
std::string ShippedSong(const std::string& name);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

// Root mean square and peak of interleaved stereo samples [from, to) in frames.
double Rms(const std::vector<float>& stereo, std::size_t fromFrame, std::size_t toFrame);
double Peak(const std::vector<float>& stereo);

// A fresh empty folder under the system's temporary folder.
std::filesystem::path FreshTempDir(const std::string& name);

// Runs with the process's current folder changed, and changes it back.
class InFolder {
 public:
  explicit InFolder(const std::filesystem::path& folder);
  ~InFolder();

 private:
  std::filesystem::path previous_;
};

}  // namespace yuunagi::test
