#include "media/MidiFile.h"

#include <algorithm>
#include <map>

namespace yuunagi {
namespace {

constexpr int kMaxTracks = 64;

// Bounded reading inside one chunk.
class Reader {
 public:
  Reader(std::span<const std::uint8_t> bytes, std::size_t begin, std::size_t end)
      : bytes_(bytes), pos_(begin), end_(end) {}

  bool AtEnd() const { return pos_ >= end_; }
  bool Byte(int& out) {
    if (pos_ >= end_) return false;
    out = bytes_[pos_++];
    return true;
  }
  bool Bytes(std::uint32_t n, std::vector<std::uint8_t>& out) {
    if (n > end_ - pos_) return false;
    out.assign(bytes_.begin() + long(pos_), bytes_.begin() + long(pos_ + n));
    pos_ += n;
    return true;
  }
  bool VarLength(std::uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      int b = 0;
      if (!Byte(b)) return false;
      out = (out << 7) | std::uint32_t(b & 0x7F);
      if (!(b & 0x80)) return true;
    }
    return false;  // longer than four bytes
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t pos_;
  std::size_t end_;
};

std::uint32_t BigEndian(std::span<const std::uint8_t> b, std::size_t at, int n) {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = (v << 8) | b[at + std::size_t(i)];
  return v;
}

// Reads the events of one track chunk, which must close with an end marker:
// its clock, its running status, and the notes still sounding.
class TrackReader {
 public:
  TrackReader(Reader& r, int trackIndex, MidiSong& song, bool& sawKey, std::string& error)
      : r_(r), trackIndex_(trackIndex), song_(song), sawKey_(sawKey), error_(error) {}

  // Every event up to the end marker; false, with the reason, for a broken track.
  bool ReadAll(std::int64_t& trackEnd) {
    for (Step step = Step::More; step != Step::End;) {
      step = ReadEvent();
      if (step == Step::Broken) return false;
    }
    for (auto& [key, open] : sounding_) {
      for (std::size_t i : open) {
        song_.notes[i].end = tick_;
        ++song_.unfinishedNotes;
      }
    }
    trackEnd = tick_;
    return true;
  }

 private:
  enum class Step { More, End, Broken };

  Step Fail(const std::string& why) {
    error_ = "track " + std::to_string(trackIndex_ + 1) + ": " + why;
    return Step::Broken;
  }

  // A delta time and the event after it.
  Step ReadEvent() {
    std::uint32_t delta = 0;
    if (r_.AtEnd()) return Fail("no end-of-track marker");
    if (!r_.VarLength(delta)) return Fail("bad delta time");
    tick_ += delta;
    if (tick_ > (std::int64_t(1) << 31)) return Fail("song too long");
    int status = 0;
    if (!r_.Byte(status)) return Fail("unexpected end of track");
    int first = -1;  // a data byte read in place of a repeated status
    if (status < 0x80) {
      if (running_ < 0) return Fail("data byte without a status");
      first = status;
      status = running_;
    }
    if (status == 0xFF) return ReadMeta();
    if (status == 0xF0) return ReadSystemExclusive();
    if (status >= 0xF0) return Fail("unexpected system message");
    return ReadChannelMessage(status, first);
  }

  // Tempo, key and the end of the track; other meta events are skipped.
  Step ReadMeta() {
    int type = 0;
    std::uint32_t len = 0;
    std::vector<std::uint8_t> data;
    if (!r_.Byte(type) || !r_.VarLength(len) || !r_.Bytes(len, data)) return Fail("broken meta event");
    running_ = -1;
    static const std::map<int, std::uint32_t> fixedLength = {
        {0x2F, 0}, {0x51, 3}, {0x54, 5}, {0x58, 4}, {0x59, 2}};
    if (auto f = fixedLength.find(type); f != fixedLength.end() && f->second != len)
      return Fail("meta event of the wrong length");
    if (type == 0x51) {
      std::uint32_t micros = BigEndian(data, 0, 3);
      if (micros == 0) return Fail("tempo of zero");
      song_.tempos.push_back(micros);
      song_.tempoMap.push_back({tick_, micros});
    }
    if (type == 0x59 && !sawKey_) {
      song_.keySharps = std::int8_t(data[0]);
      song_.minorKey = data[1] != 0;
      sawKey_ = true;
    }
    return type == 0x2F ? Step::End : Step::More;
  }

  Step ReadSystemExclusive() {
    std::uint32_t len = 0;
    std::vector<std::uint8_t> data;
    if (!r_.VarLength(len) || !r_.Bytes(len, data)) return Fail("broken system exclusive message");
    running_ = -1;
    return Step::More;
  }

  // Notes and the first program of each channel count; the rest is checked only.
  Step ReadChannelMessage(int status, int first) {
    running_ = status;
    int type = status & 0xF0;
    int channel = status & 0x0F;
    int d1 = first;
    if (d1 < 0 && !r_.Byte(d1)) return Fail("unexpected end of track");
    int d2 = 0;
    bool two = type != 0xC0 && type != 0xD0;
    if (two && !r_.Byte(d2)) return Fail("unexpected end of track");
    if (d1 > 0x7F || d2 > 0x7F) return Fail("data byte out of range");

    if (type == 0x90 && d2 > 0) {
      song_.notes.push_back({trackIndex_, channel, d1, d2, tick_, -1});
      sounding_[{channel, d1}].push_back(song_.notes.size() - 1);
    } else if (type == 0x80 || type == 0x90) {
      NoteOff(channel, d1);
    } else if (type == 0xC0 && song_.programs[std::size_t(channel)] < 0) {
      song_.programs[std::size_t(channel)] = d1;
    }
    return Step::More;
  }

  // Ends the earliest sounding note of that key on that channel.
  void NoteOff(int channel, int key) {
    auto it = sounding_.find({channel, key});
    if (it == sounding_.end() || it->second.empty()) return;
    song_.notes[it->second.front()].end = tick_;
    it->second.erase(it->second.begin());
  }

  Reader& r_;
  const int trackIndex_;
  MidiSong& song_;
  bool& sawKey_;
  std::string& error_;
  std::int64_t tick_ = 0;
  int running_ = -1;
  std::map<std::pair<int, int>, std::vector<std::size_t>> sounding_;  // (channel, key) -> notes
};

// The header chunk: the format, the number of tracks, ticks per quarter.
bool ReadHeader(std::span<const std::uint8_t> bytes, MidiSong& song, std::string& error) {
  if (bytes.size() < 14 || BigEndian(bytes, 0, 4) != 0x4D546864 /* MThd */ || BigEndian(bytes, 4, 4) != 6) {
    error = "not a MIDI file";
    return false;
  }
  song.format = int(BigEndian(bytes, 8, 2));
  song.trackCount = int(BigEndian(bytes, 10, 2));
  std::uint32_t division = BigEndian(bytes, 12, 2);
  if (song.format > 1) {
    error = "MIDI format " + std::to_string(song.format) + " is not played";
    return false;
  }
  if (song.trackCount < 1 || song.trackCount > kMaxTracks || (song.format == 0 && song.trackCount != 1)) {
    error = "bad number of tracks";
    return false;
  }
  if (division == 0 || (division & 0x8000)) {
    error = "unsupported time division";
    return false;
  }
  song.division = int(division);
  return true;
}

// The chunks after the header, until every track the header promised is
// read; a chunk of another kind with a printable name is skipped.
bool ReadTracks(std::span<const std::uint8_t> bytes, MidiSong& song, std::string& error) {
  std::size_t at = 14;
  int found = 0;
  bool sawKey = false;
  while (found < song.trackCount) {
    if (bytes.size() - at < 8) {
      error = "file ends before track " + std::to_string(found + 1);
      return false;
    }
    std::uint32_t id = BigEndian(bytes, at, 4);
    std::uint32_t len = BigEndian(bytes, at + 4, 4);
    at += 8;
    if (len > bytes.size() - at) {
      error = "track " + std::to_string(found + 1) + " runs past the end of the file";
      return false;
    }
    if (id != 0x4D54726B /* MTrk */) {
      for (int i = 0; i < 4; ++i) {
        std::uint8_t c = std::uint8_t(id >> (24 - 8 * i));
        if (c < 0x20 || c > 0x7E) {
          error = "damaged chunk header";
          return false;
        }
      }
      at += len;  // a chunk of some other kind: not ours to read
      continue;
    }
    Reader r(bytes, at, at + len);
    std::int64_t end = 0;
    if (!TrackReader(r, found, song, sawKey, error).ReadAll(end)) return false;
    song.lengthTicks = std::max(song.lengthTicks, end);
    at += len;
    ++found;
  }
  return true;
}

}  // namespace

double MidiSong::SecondsAt(std::int64_t tick) const {
  double seconds = 0;
  std::int64_t at = 0;
  std::uint32_t micros = 500000;  // 120 beats a minute until told otherwise
  for (const auto& [changeTick, value] : tempoMap) {
    if (changeTick >= tick) break;
    seconds += double(changeTick - at) / division * micros / 1e6;
    at = changeTick;
    micros = value;
  }
  return seconds + double(tick - at) / division * micros / 1e6;
}

bool ReadMidiFile(std::span<const std::uint8_t> bytes, MidiSong& song, std::string& error) {
  song = MidiSong{};
  song.programs.fill(-1);
  if (!ReadHeader(bytes, song, error) || !ReadTracks(bytes, song, error)) return false;
  if (song.lengthTicks < song.division) {
    error = "song shorter than one beat";
    return false;
  }
  std::stable_sort(song.tempoMap.begin(), song.tempoMap.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::stable_sort(song.notes.begin(), song.notes.end(),
                   [](const MidiNote& a, const MidiNote& b) { return a.start < b.start; });
  song.lengthSeconds = song.SecondsAt(song.lengthTicks);
  return true;
}

}  // namespace yuunagi
