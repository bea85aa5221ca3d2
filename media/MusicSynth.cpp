#include "media/MusicSynth.h"

#include <dlfcn.h>

#include <filesystem>
#include <fstream>
#include <mutex>

namespace yuunagi {
namespace {

thread_local std::string lastSynthError;

void KeepSynthMessage(int level, const char* message, void*) {
  if ((level == FLUID_PANIC || level == FLUID_ERR) && message) lastSynthError = message;
}

extern "C" void IgnoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

}  // namespace

std::string DefaultSoundFontPath() {
  for (const char* path : {"/usr/share/sounds/sf2/default-GM.sf2", "/usr/share/sounds/sf3/default-GM.sf3"}) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) return path;
  }
  return {};
}

bool IsSoundFontFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[12] = {};
  if (!in.read(head, sizeof head)) return false;
  return std::string(head, 4) == "RIFF" && std::string(head + 8, 4) == "sfbk";
}

SynthSettingsHandle NewMusicSynthSettings(double sampleRate) {
  SynthSettingsHandle settings(new_fluid_settings());
  fluid_settings_t* s = settings.get();
  if (!s) return settings;
  fluid_settings_setnum(s, "synth.sample-rate", sampleRate);
  fluid_settings_setint(s, "synth.cpu-cores", 1);
  fluid_settings_setint(s, "synth.polyphony", 96);
  fluid_settings_setint(s, "synth.reverb.active", 1);
  fluid_settings_setint(s, "synth.chorus.active", 0);
  fluid_settings_setnum(s, "synth.gain", 0.6);
  fluid_settings_setint(s, "player.reset-synth", 0);
  return settings;
}

void QuietSoundLibraries() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
      fluid_set_log_function(level, KeepSynthMessage, nullptr);
    // FluidSynth's ALSA output reports through libasound, which prints
    // straight to stderr; it is loaded with FluidSynth, so ask it politely.
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (void* f = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"))
      reinterpret_cast<SetHandler>(f)(IgnoreAlsaMessage);
  });
}

std::string LastSynthError() { return lastSynthError; }

bool ReadSmallFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  auto size = std::filesystem::file_size(path, ec);
  if (ec || size > maxBytes) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.resize(size);
  in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(size));
  return bool(in) || in.gcount() == std::streamsize(size);
}

}  // namespace yuunagi
