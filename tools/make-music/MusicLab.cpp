// music-lab: listen to the songs and measure the music player.
//   music-lab render SONG.mid -o OUT.wav [--soundfont SF] [--loops N] [--seconds T]
//   music-lab measure [--soundfont SF] [--song NAME] [--seconds T]
// `measure` reports how long OpenMusic takes to return, how long until the
// SoundFont is ready, and the CPU share while a song plays in real time
// (the sound is pulled block by block at the pace a sound card would).
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "media/MusicPlayer.h"
#include "media/MusicRender.h"

using namespace yuunagi;
using Clock = std::chrono::steady_clock;

namespace {

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

int Usage() {
  std::fprintf(stderr,
               "usage: music-lab render SONG.mid -o OUT.wav [--soundfont SF] [--loops N] [--seconds T]\n"
               "       music-lab measure [--soundfont SF] [--song NAME] [--seconds T]\n");
  return 2;
}

int Render(int argc, char** argv) {
  std::string in, out;
  MusicRenderOptions options;
  options.tailSeconds = 2.0;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-o" && i + 1 < argc)
      out = argv[++i];
    else if (a == "--soundfont" && i + 1 < argc)
      options.soundFont = argv[++i];
    else if (a == "--loops" && i + 1 < argc)
      options.loops = std::atoi(argv[++i]);
    else if (a == "--seconds" && i + 1 < argc)
      options.maxSeconds = std::atof(argv[++i]);
    else if (in.empty() && a[0] != '-')
      in = a;
    else
      return Usage();
  }
  if (in.empty() || out.empty()) return Usage();
  RenderedMusic music;
  std::string error;
  if (!RenderMusicFile(in, options, music, error) || !WriteWavFile(out, music, error)) {
    std::fprintf(stderr, "music-lab: %s\n", error.c_str());
    return 1;
  }
  std::printf("%s: song %.2f s, file %.2f s\n", out.c_str(), music.songSeconds, music.Seconds());
  return 0;
}

int Measure(int argc, char** argv) {
  MusicOptions options;
  options.liveOutput = false;
  std::string song = "決戦の町";
  double seconds = 10;
  for (int i = 2; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--soundfont" && i + 1 < argc)
      options.soundFont = argv[++i];
    else if (a == "--song" && i + 1 < argc)
      song = argv[++i];
    else if (a == "--seconds" && i + 1 < argc)
      seconds = std::atof(argv[++i]);
    else
      return Usage();
  }
  MusicPlayer player(options);
  auto t0 = Clock::now();
  player.OpenMusic();
  auto t1 = Clock::now();
  player.PlayMusic(song);
  player.WaitUntilLoaded(std::chrono::seconds(60));
  auto t2 = Clock::now();
  std::printf("OpenMusic returned after %.1f us\n",
              std::chrono::duration<double, std::micro>(t1 - t0).count());
  std::printf("SoundFont ready after %.1f ms\n", std::chrono::duration<double, std::milli>(t2 - t0).count());
  if (!player.IsPlaying()) {
    std::fprintf(stderr, "music-lab: %s is not playing\n", song.c_str());
    return 1;
  }
  auto t3 = Clock::now();
  player.PlayMusic(song);  // a change of song, as the window makes it
  auto t4 = Clock::now();
  std::printf("PlayMusic returned after %.1f us\n",
              std::chrono::duration<double, std::micro>(t4 - t3).count());

  // Pull 512-frame blocks at the pace of a 44.1 kHz sound card.
  const int block = 512;
  std::vector<float> buffer(2 * block);
  double cpu0 = CpuSeconds();
  auto start = Clock::now();
  auto next = start;
  long blocks = 0;
  double peak = 0;
  while (Clock::now() - start < std::chrono::duration<double>(seconds)) {
    player.RenderOffline(buffer.data(), block);
    for (float s : buffer) peak = std::max(peak, double(std::abs(s)));
    ++blocks;
    next += std::chrono::microseconds(block * 1000000LL / 44100);
    std::this_thread::sleep_until(next);
  }
  double wall = std::chrono::duration<double>(Clock::now() - start).count();
  double cpu = CpuSeconds() - cpu0;
  std::printf("played %s for %.1f s (%ld blocks, peak %.2f): CPU %.2f s = %.1f%% of one core\n", song.c_str(),
              wall, blocks, peak, cpu, 100.0 * cpu / wall);
  player.CloseMusic();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  std::string mode = argv[1];
  if (mode == "render") return Render(argc, argv);
  if (mode == "measure") return Measure(argc, argv);
  return Usage();
}
