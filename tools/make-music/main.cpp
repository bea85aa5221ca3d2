// make-music: compiles the game's text scores into MIDI files.
//   make-music --out DIR SCORE...
// Each SCORE (e.g. scores/オープニング.score) becomes DIR/オープニング.mid.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "Score.h"
#include "SmfWriter.h"

namespace fs = std::filesystem;
using namespace yuunagi::music;

namespace {

int Usage() {
  std::cerr << "usage: make-music --out DIR SCORE...\n";
  return 2;
}

bool ReadText(const fs::path& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  text = s.str();
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  fs::path outDir;
  std::vector<fs::path> scores;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--out" && i + 1 < argc)
      outDir = argv[++i];
    else if (!a.empty() && a[0] == '-')
      return Usage();
    else
      scores.emplace_back(a);
  }
  if (outDir.empty() || scores.empty()) return Usage();

  std::error_code ec;
  fs::create_directories(outDir, ec);
  if (ec) {
    std::cerr << "make-music: cannot create " << outDir.string() << ": " << ec.message() << '\n';
    return 1;
  }
  for (const fs::path& score : scores) {
    std::string text;
    if (!ReadText(score, text)) {
      std::cerr << "make-music: cannot read " << score.string() << '\n';
      return 1;
    }
    try {
      Song song = CompileScore(text, score.filename().string());
      std::vector<std::uint8_t> bytes = WriteSmf(song);
      fs::path target = outDir / (score.stem().string() + ".mid");
      std::ofstream out(target, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
      if (!out) {
        std::cerr << "make-music: cannot write " << target.string() << '\n';
        return 1;
      }
      int seconds = int(song.Seconds() + 0.5);
      std::printf("%s: %lld bars, %d:%02d, %zu tracks\n", target.filename().string().c_str(),
                  static_cast<long long>(song.lengthTicks / song.BarTicks()), seconds / 60, seconds % 60,
                  song.tracks.size());
    } catch (const ScoreError& e) {
      std::cerr << e.what() << '\n';
      return 1;
    }
  }
  return 0;
}
