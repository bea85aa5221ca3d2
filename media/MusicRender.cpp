#include "media/MusicRender.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "media/MidiFile.h"
#include "media/MusicSynth.h"

namespace yuunagi {
namespace {

constexpr std::size_t kLargestSong = 4 << 20;
constexpr int kBlock = 64;  // the synthesizer's own block: the player is timed per block

// Counts the passes of a looping player by watching its tick fall back.
struct PassCounter {
  fluid_synth_t* synth;
  fluid_player_t* player;
  int wanted;  // passes to play; 0: no end
  int passes = 0;
  int lastTick = -1;
  bool finished = false;

  void See(int tick) {
    if (lastTick >= 0 && tick < lastTick && ++passes == wanted) finished = true;
    lastTick = tick;
  }
  static int OnEvent(void* data, fluid_midi_event_t* event) {
    auto* self = static_cast<PassCounter*>(data);
    self->See(fluid_player_get_current_tick(self->player));
    return self->finished ? FLUID_OK : fluid_synth_handle_midi_event(self->synth, event);
  }
  static int OnTick(void* data, int tick) {
    static_cast<PassCounter*>(data)->See(tick);
    return FLUID_OK;
  }
};

// Reads and checks the song, and refuses a render longer than
// kLongestRenderedSeconds or one that would never end.
bool ReadSongToRender(const std::string& midiPath, const MusicRenderOptions& options,
                      std::vector<std::uint8_t>& bytes, std::string& error) {
  MidiSong song;
  if (!ReadSmallFile(midiPath, kLargestSong, bytes)) {
    error = "cannot read " + midiPath;
    return false;
  }
  if (!ReadMidiFile(bytes, song, error)) {
    error = midiPath + ": " + error;
    return false;
  }
  if (options.loops <= 0 && options.maxSeconds <= 0) {
    error = "an endless loop needs a time limit";
    return false;
  }
  double asked = options.loops > 0 ? song.lengthSeconds * options.loops : options.maxSeconds;
  if (options.maxSeconds > 0) asked = std::min(asked, options.maxSeconds);
  if (!(asked <= kLongestRenderedSeconds)) {
    error = midiPath + ": " + std::to_string(std::lround(asked)) + " seconds asked for; songs longer than " +
            std::to_string(std::lround(kLongestRenderedSeconds / 60)) + " minutes are not rendered";
    return false;
  }
  return true;
}

// A synthesizer of its own for one render. The player is declared last, so
// it is freed first, then the synthesizer, then its settings.
struct RenderSynth {
  SynthSettingsHandle settings;
  SynthHandle synth;
  MidiPlayerHandle player;
};

// Loads the SoundFont and hands the song to a player.
bool StartRenderSynth(const std::string& soundFont, const std::vector<std::uint8_t>& bytes, int sampleRate,
                      RenderSynth& r, std::string& error) {
  r.settings = NewMusicSynthSettings(sampleRate);
  r.synth.reset(r.settings ? new_fluid_synth(r.settings.get()) : nullptr);
  if (!r.synth || !IsSoundFontFile(soundFont) ||
      fluid_synth_sfload(r.synth.get(), soundFont.c_str(), 1) == FLUID_FAILED) {
    error = "cannot load the SoundFont " + soundFont;
    return false;
  }
  r.player.reset(new_fluid_player(r.synth.get()));
  if (!r.player || fluid_player_add_mem(r.player.get(), bytes.data(), bytes.size()) != FLUID_OK) {
    error = "the MIDI player cannot start";
    return false;
  }
  return true;
}

// One block of the synthesizer's sound, appended to `samples`.
void RenderBlock(fluid_synth_t* synth, std::vector<float>& samples) {
  float block[2 * kBlock];
  fluid_synth_write_float(synth, kBlock, block, 0, 2, block, 1, 2);
  samples.insert(samples.end(), block, block + 2 * kBlock);
}

// Plays the passes asked for (or up to maxSeconds), then the fading tail.
void PlayThrough(RenderSynth& r, const MusicRenderOptions& options, RenderedMusic& out) {
  fluid_synth_t* synth = r.synth.get();
  fluid_player_t* player = r.player.get();
  // The player loops as it does in the game; a pass ends where it wraps
  // back to the first tick, and from then on its events are held back.
  PassCounter counter{synth, player, std::max(0, options.loops)};
  fluid_player_set_playback_callback(player, &PassCounter::OnEvent, &counter);
  fluid_player_set_tick_callback(player, &PassCounter::OnTick, &counter);
  fluid_player_set_loop(player, -1);
  fluid_player_play(player);
  const std::size_t limit =
      options.maxSeconds > 0 ? std::size_t(options.maxSeconds * options.sampleRate) : SIZE_MAX;
  std::size_t frames = 0;
  while (frames < limit) {
    RenderBlock(synth, out.samples);
    if (counter.finished) break;  // the wrap came at the start of this block
    frames += kBlock;
  }
  out.finished = counter.finished;
  out.songSeconds = double(frames) / options.sampleRate;
  fluid_player_stop(player);
  fluid_synth_all_notes_off(synth, -1);
  std::size_t tail = std::size_t(options.tailSeconds * options.sampleRate);
  for (std::size_t t = 0; t < tail; t += kBlock) RenderBlock(synth, out.samples);
}

void PutLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.put(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

bool RenderMusicFile(const std::string& midiPath, const MusicRenderOptions& options, RenderedMusic& out,
                     std::string& error) {
  QuietSoundLibraries();
  out = RenderedMusic{};
  out.sampleRate = options.sampleRate;

  std::vector<std::uint8_t> bytes;
  if (!ReadSongToRender(midiPath, options, bytes, error)) return false;
  const std::string soundFont = options.soundFont.empty() ? DefaultSoundFontPath() : options.soundFont;
  if (soundFont.empty()) {
    error = "no General MIDI SoundFont installed";
    return false;
  }
  RenderSynth synth;
  if (!StartRenderSynth(soundFont, bytes, options.sampleRate, synth, error)) return false;
  PlayThrough(synth, options, out);
  return true;
}

bool WriteWavFile(const std::string& path, const RenderedMusic& music, std::string& error) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) {
    error = "cannot write " + path;
    return false;
  }
  const std::uint32_t dataBytes = std::uint32_t(music.samples.size() * 2);
  out.write("RIFF", 4);
  PutLittleEndian(out, 36 + dataBytes, 4);
  out.write("WAVEfmt ", 8);
  PutLittleEndian(out, 16, 4);
  PutLittleEndian(out, 1, 2);  // PCM
  PutLittleEndian(out, 2, 2);  // stereo
  PutLittleEndian(out, std::uint32_t(music.sampleRate), 4);
  PutLittleEndian(out, std::uint32_t(music.sampleRate) * 4, 4);
  PutLittleEndian(out, 4, 2);
  PutLittleEndian(out, 16, 2);
  out.write("data", 4);
  PutLittleEndian(out, dataBytes, 4);
  for (float s : music.samples) {
    long v = std::lround(std::clamp(s, -1.0f, 1.0f) * 32767.0f);
    PutLittleEndian(out, std::uint32_t(std::int16_t(v)) & 0xFFFF, 2);
  }
  out.flush();
  if (!out) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

int RenderMusicCommand(const std::string& midiPath, const std::string& outWav, const std::string& soundfont) {
  MusicRenderOptions options;
  options.soundFont = soundfont;
  options.tailSeconds = 2.0;
  RenderedMusic music;
  std::string error;
  if (!RenderMusicFile(midiPath, options, music, error) || !WriteWavFile(outWav, music, error)) {
    std::fprintf(stderr, "render-music: %s\n", error.c_str());
    return 1;
  }
  int seconds = int(std::lround(music.songSeconds));
  std::printf("%s: %d:%02d\n", outWav.c_str(), seconds / 60, seconds % 60);
  return 0;
}

}  // namespace yuunagi
