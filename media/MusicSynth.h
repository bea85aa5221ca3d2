// The FluidSynth set-up shared by the music player and offline rendering,
// so the game and the tests hear the songs the same way.
#pragma once

#include <fluidsynth.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace yuunagi {

// FluidSynth's objects, each freed by its own deleter. Whoever holds several
// frees the player before the synthesizer, the audio driver before the
// synthesizer, and the synthesizer before its settings.
struct SynthSettingsDeleter {
  void operator()(fluid_settings_t* settings) const { delete_fluid_settings(settings); }
};
struct SynthDeleter {
  void operator()(fluid_synth_t* synth) const { delete_fluid_synth(synth); }
};
struct MidiPlayerDeleter {
  void operator()(fluid_player_t* player) const { delete_fluid_player(player); }
};
struct AudioDriverDeleter {
  void operator()(fluid_audio_driver_t* driver) const { delete_fluid_audio_driver(driver); }
};
using SynthSettingsHandle = std::unique_ptr<fluid_settings_t, SynthSettingsDeleter>;
using SynthHandle = std::unique_ptr<fluid_synth_t, SynthDeleter>;
using MidiPlayerHandle = std::unique_ptr<fluid_player_t, MidiPlayerDeleter>;
using AudioDriverHandle = std::unique_ptr<fluid_audio_driver_t, AudioDriverDeleter>;

// Debian's General MIDI SoundFont, or empty when none is installed.
std::string DefaultSoundFontPath();

// True for a SoundFont 2 or 3 file (a RIFF "sfbk"). Anything else is kept
// away from FluidSynth, whose fallback loaders print to stderr.
bool IsSoundFontFile(const std::string& path);

// Settings for one synthesizer: modest polyphony, one core, reverb on, and
// no reset between loops of a song so its reverb tail runs into the repeat.
SynthSettingsHandle NewMusicSynthSettings(double sampleRate = 44100.0);

// Keeps FluidSynth's and ALSA's own chatter off stderr; the music player
// writes one line of its own instead. Safe to call from any thread, any time.
void QuietSoundLibraries();

// The last error FluidSynth reported on the calling thread.
std::string LastSynthError();

// Reads a whole (small) file; false if it cannot be read or exceeds maxBytes.
bool ReadSmallFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes);

}  // namespace yuunagi
