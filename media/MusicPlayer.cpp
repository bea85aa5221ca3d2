#include "media/MusicPlayer.h"

#include <sys/resource.h>
#include <unistd.h>

#include <condition_variable>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "media/MidiFile.h"
#include "media/MusicSynth.h"

namespace yuunagi {
namespace fs = std::filesystem;

namespace {
constexpr std::size_t kLargestSong = 4 << 20;
constexpr int kOfflineBlock = 512;
constexpr const char* kDebianSoundFonts =
    "/usr/share/sounds/sf2/default-GM.sf2 and /usr/share/sounds/sf3/default-GM.sf3";

// The SoundFont FluidSynth itself is set up to use (synth.default-soundfont),
// when that names a SoundFont file; empty otherwise.
std::string FluidSynthSoundFont(fluid_settings_t* settings, std::string& named) {
  char* value = nullptr;
  if (!settings || fluid_settings_dupstr(settings, "synth.default-soundfont", &value) != FLUID_OK || !value)
    return {};
  named = value;
  fluid_free(value);
  std::error_code ec;
  return fs::is_regular_file(named, ec) && IsSoundFontFile(named) ? named : std::string();
}
}  // namespace

struct MusicPlayer::Impl {
  enum class Phase { NotOpened, Loading, Ready, Silent, Closed };

  explicit Impl(MusicOptions o) : options(std::move(o)) {}

  MusicOptions options;

  // Guards everything the window thread and the loader share.
  mutable std::mutex mutex;
  mutable std::condition_variable loadingDone;
  Phase phase = Phase::NotOpened;
  bool closing = false;
  std::string wanted;  // the song asked for last
  int handle = 0;
  std::set<std::string> reported;
  std::thread loader;

  // Guards the synthesizer and its player against the audio thread, which
  // takes it for every block of sound it pulls.
  // Declared so that, should any be left, the driver goes first, then the
  // player, the synthesizer and its settings.
  mutable std::mutex audioMutex;
  SynthSettingsHandle settings;
  SynthHandle synth;
  MidiPlayerHandle player;
  AudioDriverHandle driver;
  std::vector<float> left, right;

  // One line on stderr per cause, never more.
  void Report(const std::string& cause, const std::string& line) {
    if (reported.insert(cause).second) std::cerr << "music: " << line << std::endl;
  }

  // ---- the loader thread ----

  // The SoundFont asked for; else FluidSynth's own; else Debian's.
  std::string ChooseSoundFont(fluid_settings_t* s, std::string& fluidSynthOwn) const {
    std::string path = options.soundFont;
    if (path.empty()) path = FluidSynthSoundFont(s, fluidSynthOwn);
    if (path.empty()) path = DefaultSoundFontPath();
    return path;
  }

  // Loads the SoundFont at `path` into `sy`; why it cannot, or "" when it did.
  static std::string LoadSoundFont(fluid_synth_t* sy, const std::string& path,
                                   const std::string& fluidSynthOwn) {
    std::error_code ec;
    if (!sy) return "cannot start the synthesizer";
    if (path.empty()) {
      return "no General MIDI SoundFont installed (looked for " +
             (fluidSynthOwn.empty() ? std::string() : fluidSynthOwn + ", ") + kDebianSoundFonts + ")";
    }
    if (!fs::is_regular_file(path, ec)) return "no SoundFont at " + path;
    if (!IsSoundFontFile(path) || fluid_synth_sfload(sy, path.c_str(), 1) == FLUID_FAILED)
      return "cannot load the SoundFont " + path;
    return {};
  }

  // Opens the audio device over the synthesizer, unless the sound is pulled
  // offline; why it cannot, or "" when it did.
  std::string OpenOutput(fluid_settings_t* s, AudioDriverHandle& drv) {
    if (!options.liveOutput) return {};
    if (!options.alsaDevice.empty())
      fluid_settings_setstr(s, "audio.alsa.device", options.alsaDevice.c_str());
    drv.reset(new_fluid_audio_driver2(s, &Impl::PullSound, this));
    if (drv) return {};
    std::string why = LastSynthError();
    return "no audio output" + (why.empty() ? std::string() : " (" + why + ")");
  }

  void Load() {
    // Loading a SoundFont takes a core for a while: the window, being built
    // at the same moment, goes first.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    QuietSoundLibraries();
    SynthSettingsHandle s = NewMusicSynthSettings();
    std::string fluidSynthOwn;
    const std::string path = ChooseSoundFont(s.get(), fluidSynthOwn);
    SynthHandle sy(s ? new_fluid_synth(s.get()) : nullptr);
    std::string failure = LoadSoundFont(sy.get(), path, fluidSynthOwn);
    AudioDriverHandle drv;
    const bool handedOver = failure.empty();
    if (handedOver) {
      fluid_settings_t* const handedSettings = s.get();
      {
        std::lock_guard audio(audioMutex);
        settings = std::move(s);
        synth = std::move(sy);
      }
      failure = OpenOutput(handedSettings, drv);
    }

    std::unique_lock lock(mutex);
    driver = std::move(drv);
    if (!failure.empty()) {
      Report("output", failure + "; the game goes on without music");
      if (handedOver) ReleaseSynth();
      sy.reset();  // when not handed over: the synthesizer before its settings
      s.reset();
      phase = Phase::Silent;
    } else {
      phase = Phase::Ready;
      if (!closing && !wanted.empty()) StartSong(wanted);
    }
    loadingDone.notify_all();
  }

  // The audio device's request for `len` frames. Effects are mixed into the
  // two output buffers when the device gives no separate ones.
  static int PullSound(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
    auto* self = static_cast<Impl*>(data);
    for (int i = 0; i < nout; ++i) std::memset(out[i], 0, sizeof(float) * std::size_t(len));
    for (int i = 0; i < nfx; ++i) std::memset(fx[i], 0, sizeof(float) * std::size_t(len));
    std::lock_guard audio(self->audioMutex);
    fluid_synth_t* synth = self->synth.get();
    if (!synth) return FLUID_OK;
    if (nfx == 0) return fluid_synth_process(synth, len, nout, out, nout, out);
    return fluid_synth_process(synth, len, nfx, fx, nout, out);
  }

  // ---- songs (called with `mutex` held) ----

  bool FindSong(const std::string& name, std::string& path, std::string& searched) {
    fs::path local = fs::path("Music") / (name + ".mid");
    std::error_code ec;
    if (fs::is_regular_file(local, ec)) {
      path = local.string();
      return true;
    }
    fs::path folder = options.fallbackFolder;
    if (folder.empty()) folder = fs::read_symlink("/proc/self/exe", ec).parent_path() / "Music";
    fs::path beside = folder / (name + ".mid");
    searched = "./Music or " + folder.string();
    if (fs::is_regular_file(beside, ec)) {
      path = beside.string();
      return true;
    }
    return false;
  }

  void StartSong(const std::string& name) {
    StopSong();
    if (name.empty()) return;  // a scenario without music
    if (name.find('/') != std::string::npos || name.find('\0') != std::string::npos) {
      Report("name:" + name, "the song name \"" + name + "\" is not a file name; no music");
      return;
    }
    std::string path, searched;
    if (!FindSong(name, path, searched)) {
      Report("missing:" + name, "no song " + name + ".mid in " + searched + "; no music");
      return;
    }
    std::vector<std::uint8_t> bytes;
    MidiSong song;
    std::string error;
    if (!ReadSmallFile(path, kLargestSong, bytes)) {
      Report("unreadable:" + path, "cannot read " + path + " (unreadable or too large); no music");
      return;
    }
    if (!ReadMidiFile(bytes, song, error)) {
      Report("broken:" + path, path + " cannot be played: " + error + "; no music");
      return;
    }
    std::lock_guard audio(audioMutex);
    player.reset(new_fluid_player(synth.get()));
    if (!player || fluid_player_add_mem(player.get(), bytes.data(), bytes.size()) != FLUID_OK) {
      player.reset();
      Report("player", "the MIDI player cannot start; no music");
      return;
    }
    fluid_player_set_loop(player.get(), -1);
    fluid_player_play(player.get());
    ++handle;
  }

  void StopSong() {
    std::lock_guard audio(audioMutex);
    if (!player) return;
    fluid_player_stop(player.get());
    player.reset();
    // The deleted player can no longer release its notes; let them fade,
    // and clear what the song set on its channels before the next one.
    fluid_synth_all_notes_off(synth.get(), -1);
    for (int ch = 0; ch < 16; ++ch) fluid_synth_cc(synth.get(), ch, 121, 0);
  }

  // Frees the synthesizer; the audio driver must already be gone.
  // The player goes under the lock, as the audio thread may still run; the
  // synthesizer and then its settings are freed after it, outside the lock.
  void ReleaseSynth() {
    SynthSettingsHandle s;
    SynthHandle sy;
    {
      std::lock_guard audio(audioMutex);
      player.reset();
      sy = std::move(synth);
      s = std::move(settings);
    }
  }
};

MusicPlayer::MusicPlayer(MusicOptions options) : impl_(std::make_unique<Impl>(std::move(options))) {}

MusicPlayer::~MusicPlayer() { CloseMusic(); }

void MusicPlayer::OpenMusic() {
  std::lock_guard lock(impl_->mutex);
  if (impl_->phase != Impl::Phase::NotOpened) return;
  impl_->phase = Impl::Phase::Loading;
  impl_->loader = std::thread(&Impl::Load, impl_.get());
}

void MusicPlayer::PlayMusic(std::string_view name) {
  std::lock_guard lock(impl_->mutex);
  if (impl_->phase == Impl::Phase::NotOpened || impl_->phase == Impl::Phase::Closed || impl_->closing) return;
  impl_->wanted = std::string(name);
  if (impl_->phase == Impl::Phase::Ready) impl_->StartSong(impl_->wanted);
}

void MusicPlayer::StopMusic() {
  std::lock_guard lock(impl_->mutex);
  impl_->wanted.clear();
  if (impl_->phase == Impl::Phase::Ready) impl_->StopSong();
}

void MusicPlayer::CloseMusic() {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->phase == Impl::Phase::Closed) return;
    impl_->closing = true;
    impl_->wanted.clear();
    if (impl_->phase == Impl::Phase::Ready) impl_->StopSong();
  }
  // The SoundFont cannot be abandoned half-read; wait for the loader.
  if (impl_->loader.joinable()) impl_->loader.join();
  std::lock_guard lock(impl_->mutex);
  // Deleting the driver waits for the audio thread, which needs audioMutex:
  // it is deleted before the synthesizer and without that lock.
  impl_->driver.reset();
  impl_->ReleaseSynth();
  impl_->phase = Impl::Phase::Closed;
  impl_->loadingDone.notify_all();
}

int MusicPlayer::MusicHandle() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->handle;
}

std::string MusicPlayer::CurrentSong() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->wanted;
}

bool MusicPlayer::IsPlaying() const {
  std::lock_guard audio(impl_->audioMutex);
  return impl_->player && fluid_player_get_status(impl_->player.get()) == FLUID_PLAYER_PLAYING;
}

bool MusicPlayer::IsReady() const {
  std::lock_guard lock(impl_->mutex);
  return impl_->phase == Impl::Phase::Ready;
}

bool MusicPlayer::WaitUntilLoaded(std::chrono::milliseconds timeout) const {
  std::unique_lock lock(impl_->mutex);
  return impl_->loadingDone.wait_for(lock, timeout, [this] {
    return impl_->phase != Impl::Phase::Loading && impl_->phase != Impl::Phase::NotOpened;
  });
}

void MusicPlayer::RenderOffline(float* stereo, int frames) {
  Impl& m = *impl_;
  if (m.options.liveOutput) {
    std::memset(stereo, 0, sizeof(float) * 2 * std::size_t(frames));
    return;
  }
  m.left.resize(kOfflineBlock);
  m.right.resize(kOfflineBlock);
  for (int done = 0; done < frames;) {
    int n = std::min(kOfflineBlock, frames - done);
    float* out[2] = {m.left.data(), m.right.data()};
    Impl::PullSound(&m, n, 0, nullptr, 2, out);
    for (int i = 0; i < n; ++i) {
      stereo[2 * (done + i)] = m.left[std::size_t(i)];
      stereo[2 * (done + i) + 1] = m.right[std::size_t(i)];
    }
    done += n;
  }
}

}  // namespace yuunagi
