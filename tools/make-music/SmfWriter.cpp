#include "SmfWriter.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace yuunagi::music {
namespace {

struct Event {
  std::int64_t tick = 0;
  int order = 0;  // at the same tick: note-offs, then settings, then note-ons
  std::vector<std::uint8_t> bytes;
};

void AppendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(std::uint8_t(value >> (8 * i)));
}

Event Meta(std::int64_t tick, std::uint8_t type, const std::vector<std::uint8_t>& data) {
  Event e{tick, 1, {0xFF, type}};
  AppendVarLength(e.bytes, std::uint32_t(data.size()));
  e.bytes.insert(e.bytes.end(), data.begin(), data.end());
  return e;
}

Event TrackName(const std::string& name) {
  return Meta(0, 0x03, std::vector<std::uint8_t>(name.begin(), name.end()));
}

// Sorts the events, writes them with delta times and closes the track with
// its end marker exactly at the song's end, so a looping player comes back
// to the beginning on the beat.
void AppendTrack(std::vector<std::uint8_t>& out, std::vector<Event> events, std::int64_t end) {
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  std::vector<std::uint8_t> body;
  std::int64_t now = 0;
  for (const Event& e : events) {
    AppendVarLength(body, std::uint32_t(e.tick - now));
    body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    now = e.tick;
  }
  AppendVarLength(body, std::uint32_t(end - now));
  body.insert(body.end(), {0xFF, 0x2F, 0x00});
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  AppendBigEndian(out, std::uint32_t(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
}

}  // namespace

void AppendVarLength(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int n = 0;
  do {
    groups[n++] = value & 0x7F;
    value >>= 7;
  } while (value != 0);
  while (n > 1) out.push_back(std::uint8_t(groups[--n] | 0x80));
  out.push_back(groups[0]);
}

std::vector<std::uint8_t> WriteSmf(const Song& song) {
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  AppendBigEndian(out, std::uint32_t(song.tracks.size() + 1), 2);
  AppendBigEndian(out, kTicksPerQuarter, 2);

  std::vector<Event> conductor;
  conductor.push_back(TrackName(song.title));
  int denominatorPower = song.meterBottom == 2 ? 1 : song.meterBottom == 4 ? 2 : 3;
  bool compound = song.meterBottom == 8 && song.meterTop % 3 == 0 && song.meterTop > 3;
  std::uint8_t clocksPerClick = compound ? 36 : std::uint8_t(96 / song.meterBottom);
  conductor.push_back(
      Meta(0, 0x58, {std::uint8_t(song.meterTop), std::uint8_t(denominatorPower), clocksPerClick, 8}));
  conductor.push_back(Meta(0, 0x59, {std::uint8_t(std::int8_t(song.keySharps)), std::uint8_t(song.minor)}));
  std::uint32_t microsPerQuarter = std::uint32_t(std::lround(60'000'000.0 / song.tempo));
  std::vector<std::uint8_t> tempo;
  AppendBigEndian(tempo, microsPerQuarter, 3);
  conductor.push_back(Meta(0, 0x51, tempo));
  AppendTrack(out, conductor, song.lengthTicks);

  for (const Track& track : song.tracks) {
    std::vector<Event> events;
    events.push_back(TrackName(track.name));
    const std::uint8_t ch = std::uint8_t(track.channel);
    for (const Control& c : track.controls) {
      if (c.number < 0)
        events.push_back({c.tick, 1, {std::uint8_t(0xC0 | ch), std::uint8_t(c.value)}});
      else
        events.push_back(
            {c.tick, 1, {std::uint8_t(0xB0 | ch), std::uint8_t(c.number), std::uint8_t(c.value)}});
    }
    for (const Note& n : track.notes) {
      events.push_back(
          {n.start, 2, {std::uint8_t(0x90 | ch), std::uint8_t(n.key), std::uint8_t(n.velocity)}});
      events.push_back({n.start + n.length, 0, {std::uint8_t(0x80 | ch), std::uint8_t(n.key), 0x40}});
    }
    AppendTrack(out, events, song.lengthTicks);
  }
  return out;
}

}  // namespace yuunagi::music
