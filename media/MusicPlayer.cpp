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
  mutable std::mutex audioMutex;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  fluid_player_t* player = nullptr;
  fluid_audio_driver_t* driver = nullptr;
  std::vector<float> left, right;

  // One line on stderr per cause, never more.
  void Report(const std::string& cause, const std::string& line) {
    if (reported.insert(cause).second) std::cerr << "music: " << line << std::endl;
  }

  // ---- the loader thread ----

  void Load() {
    // Loading a SoundFont takes a core for a while: the window, being built
    // at the same moment, goes first.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 10);
    QuietSoundLibraries();
    fluid_settings_t* s = NewMusicSynthSettings();
    // The SoundFont asked for; else FluidSynth's own; else Debian's.
    std::string path = options.soundFont, fluidSynthOwn;
    if (path.empty()) path = FluidSynthSoundFont(s, fluidSynthOwn);
    if (path.empty()) path = DefaultSoundFontPath();
    fluid_synth_t* sy = s ? new_fluid_synth(s) : nullptr;
    std::string failure;
    std::error_code ec;
    if (!sy) {
      failure = "cannot start the synthesizer";
    } else if (path.empty()) {
      failure = "no General MIDI SoundFont installed (looked for " +
                (fluidSynthOwn.empty() ? std::string() : fluidSynthOwn + ", ") + kDebianSoundFonts + ")";
    } else if (!fs::is_regular_file(path, ec)) {
      failure = "no SoundFont at " + path;
    } else if (!IsSoundFontFile(path) || fluid_synth_sfload(sy, path.c_str(), 1) == FLUID_FAILED) {
      failure = "cannot load the SoundFont " + path;
    }
    fluid_audio_driver_t* drv = nullptr;
    bool handedOver = false;
    if (failure.empty()) {
      handedOver = true;
      {
        std::lock_guard audio(audioMutex);
        settings = s;
        synth = sy;
      }
      if (options.liveOutput) {
        if (!options.alsaDevice.empty())
          fluid_settings_setstr(s, "audio.alsa.device", options.alsaDevice.c_str());
        drv = new_fluid_audio_driver2(s, &Impl::PullSound, this);
        if (!drv) {
          std::string why = LastSynthError();
          failure = "no audio output" + (why.empty() ? std::string() : " (" + why + ")");
        }
      }
    }

    std::unique_lock lock(mutex);
    driver = drv;
    if (!failure.empty()) {
      Report("output", failure + "; the game goes on without music");
      if (handedOver) {
        ReleaseSynth();
      } else {
        if (sy) delete_fluid_synth(sy);
        if (s) delete_fluid_settings(s);
      }
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
    if (!self->synth) return FLUID_OK;
    if (nfx == 0) return fluid_synth_process(self->synth, len, nout, out, nout, out);
    return fluid_synth_process(self->synth, len, nfx, fx, nout, out);
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
    player = new_fluid_player(synth);
    if (!player || fluid_player_add_mem(player, bytes.data(), bytes.size()) != FLUID_OK) {
      if (player) delete_fluid_player(player);
      player = nullptr;
      Report("player", "the MIDI player cannot start; no music");
      return;
    }
    fluid_player_set_loop(player, -1);
    fluid_player_play(player);
    ++handle;
  }

  void StopSong() {
    std::lock_guard audio(audioMutex);
    if (!player) return;
    fluid_player_stop(player);
    delete_fluid_player(player);
    player = nullptr;
    // The deleted player can no longer release its notes; let them fade,
    // and clear what the song set on its channels before the next one.
    fluid_synth_all_notes_off(synth, -1);
    for (int ch = 0; ch < 16; ++ch) fluid_synth_cc(synth, ch, 121, 0);
  }

  // Frees the synthesizer; the audio driver must already be gone.
  void ReleaseSynth() {
    fluid_synth_t* sy = nullptr;
    fluid_settings_t* s = nullptr;
    {
      std::lock_guard audio(audioMutex);
      if (player) delete_fluid_player(player);
      player = nullptr;
      sy = synth;
      s = settings;
      synth = nullptr;
      settings = nullptr;
    }
    if (sy) delete_fluid_synth(sy);
    if (s) delete_fluid_settings(s);
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
  if (impl_->driver) delete_fluid_audio_driver(impl_->driver);
  impl_->driver = nullptr;
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
  return impl_->player && fluid_player_get_status(impl_->player) == FLUID_PLAYER_PLAYING;
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
