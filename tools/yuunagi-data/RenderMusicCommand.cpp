// render-music: lets anyone listen to a song of the game without starting it.
#include <CLI/CLI.hpp>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>

#include "DataCommands.h"
#include "media/MusicRender.h"

namespace yuunagi::data_tool {
namespace {

void RenderMusic(const std::string& midi, const std::string& output, const std::string& soundfont) {
  MusicRenderOptions options;
  options.soundFont = soundfont;
  options.tailSeconds = 2.0;
  RenderedMusic music;
  std::string error;
  if (!RenderMusicFile(midi, options, music, error)) throw DataError("render-music: " + error);
  if (!WriteWavFile(output, music, error)) {
    std::error_code ec;
    std::filesystem::remove(output, ec);  // never leave half a WAV file
    throw DataError("render-music: " + error);
  }
  const int seconds = static_cast<int>(std::lround(music.songSeconds));
  std::cout << output << ": " << seconds / 60 << ':' << (seconds % 60 < 10 ? "0" : "") << seconds % 60
            << '\n';
}

}  // namespace

void AddRenderMusicCommand(CLI::App& app, int& status) {
  CLI::App* render = app.add_subcommand(
      "render-music",
      "Render one pass of a song (a .mid file of at most 30 minutes) through FluidSynth into a WAV file, "
      "with no sound card.");
  auto midi = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto soundfont = std::make_shared<std::string>();
  render->add_option("MIDI", *midi, "the song, e.g. Music/決戦の町.mid")->required();
  render->add_option("-o,--output", *output, "the .wav file to write")->required();
  render->add_option("--soundfont", *soundfont,
                     "the SoundFont (default: Debian's General MIDI SoundFont, default-GM.sf2)");
  render->callback([midi, output, soundfont, &status] {
    RenderMusic(*midi, *output, *soundfont);
    status = kExitOk;
  });
}

}  // namespace yuunagi::data_tool
