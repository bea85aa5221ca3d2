// render-music: lets anyone listen to a song of the game without starting it.
#include <CLI/CLI.hpp>
#include <memory>
#include <string>

#include "DataCommands.h"
#include "media/MusicRender.h"

namespace yuunagi::data_tool {

void AddRenderMusicCommand(CLI::App& app, int& status) {
  CLI::App* render = app.add_subcommand(
      "render-music",
      "Render one pass of a song (a .mid file) through FluidSynth into a WAV file, with no sound card.");
  auto midi = std::make_shared<std::string>();
  auto output = std::make_shared<std::string>();
  auto soundfont = std::make_shared<std::string>();
  render->add_option("MIDI", *midi, "the song, e.g. Music/決戦の町.mid")->required();
  render->add_option("-o,--output", *output, "the .wav file to write")->required();
  render->add_option("--soundfont", *soundfont,
                     "the SoundFont (default: Debian's General MIDI SoundFont, default-GM.sf2)");
  render->callback([midi, output, soundfont, &status] {
    status = RenderMusicCommand(*midi, *output, *soundfont) == 0 ? kExitOk : kExitError;
  });
}

}  // namespace yuunagi::data_tool
