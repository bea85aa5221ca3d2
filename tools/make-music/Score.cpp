// Compiles a text score into notes and controller changes per track.
#include "Score.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>
#include <set>
#include <sstream>

namespace yuunagi::music {
namespace {

struct Token {
  std::string text;
  int line = 0;
};

struct Pattern {
  std::vector<Token> tokens;
  int line = 0;
};

// A drum grid as written: one row of hits per instrument.
struct GridRow {
  std::string lane;
  std::string steps;
  int line = 0;
};

struct Grid {
  int stepsPerBar = 16;
  std::vector<GridRow> rows;
  int line = 0;
};

struct TrackSource {
  std::string name;
  std::vector<Token> tokens;
  int line = 0;
};

// General MIDI percussion keys by the names used in drum grids.
const std::map<std::string, int>& DrumKeys() {
  static const std::map<std::string, int> keys = {
      {"kick", 36},    {"kick2", 35},    {"snare", 38},  {"snare2", 40}, {"rim", 37},     {"clap", 39},
      {"hat", 42},     {"phat", 44},     {"ohat", 46},   {"crash", 49},  {"crash2", 57},  {"ride", 51},
      {"bell", 53},    {"splash", 55},   {"china", 52},  {"tom1", 50},   {"tom2", 48},    {"tom3", 47},
      {"tom4", 45},    {"tom5", 43},     {"tom6", 41},   {"tamb", 54},   {"cowbell", 56}, {"mtri", 80},
      {"tri", 81},     {"shaker", 70},   {"cabasa", 69}, {"clave", 75},  {"wood", 76},    {"wood2", 77},
      {"timbale", 65}, {"timbale2", 66}, {"agogo", 67},  {"chimes", 84}, {"vslap", 58},
  };
  return keys;
}

// Intervals above the root for the chord qualities a score may name.
const std::map<std::string, std::vector<int>>& ChordQualities() {
  static const std::map<std::string, std::vector<int>> q = {
      {"", {0, 4, 7}},           {"m", {0, 3, 7}},           {"5", {0, 7}},
      {"7", {0, 4, 7, 10}},      {"maj7", {0, 4, 7, 11}},    {"m7", {0, 3, 7, 10}},
      {"mmaj7", {0, 3, 7, 11}},  {"dim", {0, 3, 6}},         {"dim7", {0, 3, 6, 9}},
      {"m7b5", {0, 3, 6, 10}},   {"aug", {0, 4, 8}},         {"sus4", {0, 5, 7}},
      {"sus2", {0, 2, 7}},       {"7sus4", {0, 5, 7, 10}},   {"6", {0, 4, 7, 9}},
      {"m6", {0, 3, 7, 9}},      {"add9", {0, 2, 4, 7}},     {"madd9", {0, 2, 3, 7}},
      {"9", {0, 2, 4, 7, 10}},   {"maj9", {0, 2, 4, 7, 11}}, {"m9", {0, 2, 3, 7, 10}},
      {"7b9", {0, 1, 4, 7, 10}},
  };
  return q;
}

int PitchClassOfLetter(char c) {
  switch (c) {
    case 'C': return 0;
    case 'D': return 2;
    case 'E': return 4;
    case 'F': return 5;
    case 'G': return 7;
    case 'A': return 9;
    case 'B': return 11;
    default: return -1;
  }
}

bool ParseInt(const std::string& s, long long& out) {
  if (s.empty()) return false;
  size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  if (i == s.size()) return false;
  for (size_t k = i; k < s.size(); ++k)
    if (!std::isdigit(static_cast<unsigned char>(s[k]))) return false;
  if (s.size() > 9) return false;
  out = std::stoll(s);
  return true;
}

// What follows a pitch: its duration, its articulation and, for a chord
// symbol, an optional arpeggio figure.
struct Tail {
  std::int64_t duration = 0;  // 0: keep the previous duration
  bool tie = false;
  bool staccato = false;
  bool accent = false;
  bool tenuto = false;
  std::string arpeggio;
};

struct OpenNote {
  std::int64_t start = 0;
  std::int64_t end = 0;  // written end, before the gap between notes
  std::int64_t gap = 0;
  int key = 0;
  int velocity = 0;
  bool tied = false;
};

class Compiler {
 public:
  Compiler(std::string_view text, const std::string& source) : source_(source) { ReadBlocks(text); }

  Song Run() {
    if (tracks_.empty()) Fail(0, "the score has no track");
    AssignChannels();
    for (size_t i = 0; i < tracks_.size(); ++i) CompileTrack(tracks_[i], channels_[i]);
    std::int64_t length = 0;
    for (const auto& [track, len] : trackLengths_) length = std::max(length, len);
    if (length == 0) Fail(0, "the song is empty");
    if (length % song_.BarTicks() != 0) Fail(0, "the song does not end on a bar line");
    for (size_t i = 0; i < tracks_.size(); ++i) {
      if (trackLengths_[i].second != length) {
        std::ostringstream m;
        m << "track " << tracks_[i].name << " lasts " << Bars(trackLengths_[i].second)
          << " bars but the song lasts " << Bars(length);
        Fail(tracks_[i].line, m.str());
      }
    }
    song_.lengthTicks = length;
    return song_;
  }

 private:
  [[noreturn]] void Fail(int line, const std::string& message) const {
    std::ostringstream m;
    m << source_;
    if (line > 0) m << ':' << line;
    m << ": " << message;
    throw ScoreError(m.str());
  }

  std::string Bars(std::int64_t ticks) const {
    std::ostringstream m;
    m << ticks / song_.BarTicks();
    if (ticks % song_.BarTicks()) m << " and " << ticks % song_.BarTicks() << " ticks";
    return m.str();
  }

  // ---- first pass: header lines and blocks ----

  static std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    std::string w;
    while (in >> w) {
      if (w[0] == '#') break;  // a comment runs to the end of the line
      words.push_back(w);
    }
    return words;
  }

  enum class Block { None, Pattern, Grid, Track };

  void ReadBlocks(std::string_view text) {
    Block block = Block::None;
    std::string name;
    int lineNo = 0;
    size_t at = 0;
    while (at <= text.size()) {
      size_t nl = text.find('\n', at);
      if (nl == std::string_view::npos) nl = text.size();
      std::string line(text.substr(at, nl - at));
      at = nl + 1;
      ++lineNo;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::vector<std::string> words = SplitWords(line);
      if (words.empty()) continue;
      if (block == Block::None) {
        block = ReadHeaderLine(words, line, lineNo, name);
      } else if (words.size() == 1 && words[0] == "end") {
        block = Block::None;
      } else {
        ReadBlockLine(block, name, words, lineNo);
      }
    }
    if (block != Block::None) Fail(lineNo, "missing 'end' before the end of the score");
  }

  // A line inside the block `name`: a row of a grid, or notes of a pattern or a track.
  void ReadBlockLine(Block block, const std::string& name, const std::vector<std::string>& words,
                     int lineNo) {
    if (block == Block::Grid) {
      GridRow row{words[0], "", lineNo};
      for (size_t i = 1; i < words.size(); ++i) row.steps += words[i];
      std::erase(row.steps, '|');
      grids_[name].rows.push_back(row);
    } else {
      std::vector<Token>& dest = block == Block::Pattern ? patterns_[name].tokens : tracks_.back().tokens;
      AppendTokens(words, lineNo, dest);
    }
  }

  // A line between blocks: a setting of the song, or the head of a block,
  // whose name goes to `name`. Returns the block it opens, if any.
  Block ReadHeaderLine(const std::vector<std::string>& words, const std::string& line, int lineNo,
                       std::string& name) {
    const std::string& kw = words[0];
    if (kw == "title") {
      std::string t;
      for (size_t i = 1; i < words.size(); ++i) t += (i > 1 ? " " : "") + words[i];
      song_.title = t;
    } else if (kw == "tempo" && words.size() == 2) {
      char* endp = nullptr;
      song_.tempo = std::strtod(words[1].c_str(), &endp);
      if (*endp || song_.tempo < 20 || song_.tempo > 300) Fail(lineNo, "tempo must be 20..300");
    } else if (kw == "meter" && words.size() == 2) {
      ParseMeter(words[1], lineNo);
    } else if (kw == "key" && words.size() == 2) {
      ParseKey(words[1], lineNo);
    } else if (kw == "pattern" && words.size() == 2) {
      name = words[1];
      if (patterns_.count(name) || grids_.count(name)) Fail(lineNo, "pattern " + name + " defined twice");
      patterns_[name].line = lineNo;
      return Block::Pattern;
    } else if (kw == "grid" && words.size() == 3) {
      name = words[1];
      if (patterns_.count(name) || grids_.count(name)) Fail(lineNo, "pattern " + name + " defined twice");
      long long steps = 0;
      if (!ParseInt(words[2], steps) || steps < 1 || steps > 96) Fail(lineNo, "grid steps must be 1..96");
      grids_[name].stepsPerBar = int(steps);
      grids_[name].line = lineNo;
      return Block::Grid;
    } else if (kw == "track" && words.size() == 2) {
      tracks_.push_back({words[1], {}, lineNo});
      return Block::Track;
    } else {
      Fail(lineNo, "unknown line: " + line);
    }
    return Block::None;
  }

  // Joins "[C4 E4 G4]q" back into one token.
  void AppendTokens(const std::vector<std::string>& words, int line, std::vector<Token>& dest) {
    for (size_t i = 0; i < words.size(); ++i) {
      std::string t = words[i];
      if (t[0] == '[') {
        while (t.find(']') == std::string::npos) {
          if (++i == words.size()) Fail(line, "chord without ']'");
          t += ' ' + words[i];
        }
      }
      dest.push_back({t, line});
    }
  }

  void ParseMeter(const std::string& s, int line) {
    size_t slash = s.find('/');
    long long top = 0, bottom = 0;
    if (slash == std::string::npos || !ParseInt(s.substr(0, slash), top) ||
        !ParseInt(s.substr(slash + 1), bottom) || top < 1 || top > 16 ||
        (bottom != 2 && bottom != 4 && bottom != 8))
      Fail(line, "meter must look like 4/4, 3/4 or 6/8");
    song_.meterTop = int(top);
    song_.meterBottom = int(bottom);
  }

  void ParseKey(const std::string& s, int line) {
    static const std::map<std::string, int> major = {
        {"C", 0},  {"G", 1},   {"D", 2},   {"A", 3},   {"E", 4},   {"B", 5},   {"F#", 6}, {"C#", 7},
        {"F", -1}, {"Bb", -2}, {"Eb", -3}, {"Ab", -4}, {"Db", -5}, {"Gb", -6}, {"Cb", -7}};
    static const std::map<std::string, int> minor = {
        {"A", 0},  {"E", 1},  {"B", 2},  {"F#", 3}, {"C#", 4},  {"G#", 5},  {"D#", 6}, {"A#", 7},
        {"D", -1}, {"G", -2}, {"C", -3}, {"F", -4}, {"Bb", -5}, {"Eb", -6}, {"Ab", -7}};
    bool isMinor = s.size() > 1 && s.back() == 'm';
    std::string tonic = isMinor ? s.substr(0, s.size() - 1) : s;
    const auto& table = isMinor ? minor : major;
    auto it = table.find(tonic);
    if (it == table.end()) Fail(line, "unknown key " + s);
    song_.keySharps = it->second;
    song_.minor = isMinor;
  }

  // Tracks with a channel of their own keep it; the others take the free
  // channels in order, leaving the drum channel alone.
  void AssignChannels() {
    channels_.assign(tracks_.size(), -1);
    std::set<int> taken;
    for (size_t i = 0; i < tracks_.size(); ++i) {
      for (const Token& t : tracks_[i].tokens) {
        if (t.text.rfind("ch=", 0) != 0) continue;
        long long c = 0;
        if (!ParseInt(t.text.substr(3), c) || c < 1 || c > 16) Fail(t.line, "ch must be 1..16");
        if (c != 10 && taken.count(int(c - 1))) Fail(t.line, "channel " + std::to_string(c) + " used twice");
        channels_[i] = int(c - 1);
        taken.insert(int(c - 1));
      }
    }
    int next = 0;
    for (size_t i = 0; i < tracks_.size(); ++i) {
      if (channels_[i] >= 0) continue;
      while (next == 9 || taken.count(next)) ++next;
      if (next > 15) Fail(tracks_[i].line, "no MIDI channel left for this track");
      channels_[i] = next;
      taken.insert(next++);
    }
  }

  // ---- second pass: one track at a time ----

  struct State {
    std::int64_t pos = 0;
    std::int64_t lastDuration = kTicksPerQuarter;
    int velocity = 90;
    int dynamics = 100;    // percent applied to every velocity of the track
    int gate = 90;         // percent of a note's written length that sounds
    int registerLow = 60;  // lowest note of a voiced chord symbol
    bool metricAccent = true;
    bool omitRoot = false;  // four-note chords leave their root to the bass
    bool started = false;   // a note or rest has been written
  };

  void CompileTrack(const TrackSource& src, int channel) {
    track_ = Track{};
    track_.name = src.name;
    track_.channel = channel;
    state_ = State{};
    if (channel == 9) state_.metricAccent = false;
    initial_ = {{-1, 0}, {7, 100}, {10, 64}, {11, 127}, {91, 40}, {93, 0}};
    open_.clear();
    done_.clear();
    Play(src.tokens, 0, 0);
    if (!open_.empty()) Fail(src.line, "track " + src.name + " ends inside a tie");
    for (const OpenNote& n : done_) {
      std::int64_t len = n.end - n.start - n.gap;
      track_.notes.push_back({n.start, std::max<std::int64_t>(len, 1), n.key, n.velocity});
    }
    std::stable_sort(track_.notes.begin(), track_.notes.end(),
                     [](const Note& a, const Note& b) { return a.start < b.start; });
    std::vector<Control> first;
    for (const auto& [number, value] : initial_) first.push_back({0, number, value});
    track_.controls.insert(track_.controls.begin(), first.begin(), first.end());
    trackLengths_.push_back({src.name, state_.pos});
    song_.tracks.push_back(track_);
  }

  void Play(const std::vector<Token>& tokens, int transpose, int depth) {
    if (depth > 16) Fail(tokens.empty() ? 0 : tokens[0].line, "patterns nested too deeply");
    for (const Token& t : tokens) PlayToken(t, transpose, depth);
  }

  void PlayToken(const Token& t, int transpose, int depth) {
    const std::string& s = t.text;
    char c = s[0];
    if (s == "|") {
      std::int64_t off = state_.pos % song_.BarTicks();
      if (off != 0) {
        std::ostringstream m;
        m << "bar line " << off << " ticks into bar " << state_.pos / song_.BarTicks() + 1 << " (a bar of "
          << song_.BarTicks() << " ticks is too long or too short)";
        Fail(t.line, m.str());
      }
    } else if (std::islower(static_cast<unsigned char>(c)) && s.find('=') != std::string::npos) {
      Setting(t);
    } else if (c == '@') {
      UsePattern(t, transpose, depth);
    } else if (c == '[') {
      size_t close = s.find(']');
      std::vector<int> keys;
      std::istringstream in(s.substr(1, close - 1));
      std::string p;
      while (in >> p) {
        size_t used = 0;
        keys.push_back(ParsePitch(p, used, t.line) + transpose);
        if (used != p.size()) Fail(t.line, "bad pitch in chord: " + p);
      }
      if (keys.empty()) Fail(t.line, "empty chord");
      Tail tail = ParseTail(s.substr(close + 1), t.line);
      if (!tail.arpeggio.empty()) Fail(t.line, "only a chord symbol takes an arpeggio figure");
      Sound(keys, tail, t.line);
    } else if (c == '{') {
      ChordSymbol(t, transpose);
    } else if (PitchClassOfLetter(c) >= 0) {
      size_t used = 0;
      int key = ParsePitch(s, used, t.line) + transpose;
      Tail tail = ParseTail(s.substr(used), t.line);
      if (!tail.arpeggio.empty()) Fail(t.line, "only a chord symbol takes an arpeggio figure");
      Sound({key}, tail, t.line);
    } else if (c == 'n' && s.size() > 1 && std::isdigit(static_cast<unsigned char>(s[1]))) {
      size_t i = 1;
      while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) ++i;
      long long key = 0;
      ParseInt(s.substr(1, i - 1), key);
      Tail tail = ParseTail(s.substr(i), t.line);
      Sound({int(key)}, tail, t.line);
    } else if (c == 'r') {
      Tail tail = ParseTail(s.substr(1), t.line);
      if (tail.tie || tail.staccato || tail.accent || tail.tenuto || !tail.arpeggio.empty())
        Fail(t.line, "a rest takes a duration only");
      Advance(Duration(tail), t.line);
    } else {
      Fail(t.line, "cannot read '" + s + "'");
    }
  }

  int ParsePitch(const std::string& s, size_t& used, int line) const {
    int pc = PitchClassOfLetter(s[0]);
    if (pc < 0) Fail(line, "bad pitch: " + s);
    size_t i = 1;
    while (i < s.size() && (s[i] == '#' || s[i] == 'b')) pc += s[i++] == '#' ? 1 : -1;
    bool negative = i < s.size() && s[i] == '-';
    if (negative) ++i;
    if (i >= s.size() || !std::isdigit(static_cast<unsigned char>(s[i])))
      Fail(line, "pitch without octave: " + s);
    int octave = s[i++] - '0';
    if (negative) octave = -octave;
    used = i;
    int key = (octave + 1) * 12 + pc;
    if (key < 0 || key > 127) Fail(line, "pitch out of range: " + s);
    return key;
  }

  Tail ParseTail(const std::string& s, int line) const {
    Tail tail;
    size_t i = 0;
    auto unitTicks = [](char u) -> std::int64_t {
      switch (u) {
        case 'w': return 1920;
        case 'h': return 960;
        case 'q': return 480;
        case 'e': return 240;
        case 's': return 120;
        case 't': return 60;
        default: return 0;
      }
    };
    while (i < s.size() && unitTicks(s[i]) > 0) {
      std::int64_t part = unitTicks(s[i++]);
      std::int64_t add = part;
      while (i < s.size() && s[i] == '.') {
        add /= 2;
        part += add;
        ++i;
      }
      if (i < s.size() && s[i] == '3') {
        if (part * 2 % 3) Fail(line, "triplet of an uneven length");
        part = part * 2 / 3;
        ++i;
      }
      tail.duration += part;
      if (i < s.size() && s[i] == '+') {
        ++i;
        if (i >= s.size() || unitTicks(s[i]) == 0) Fail(line, "'+' must join two durations");
      } else {
        break;
      }
    }
    while (i < s.size()) {
      char c = s[i];
      if (c == '~')
        tail.tie = true;
      else if (c == '\'')
        tail.staccato = true;
      else if (c == '>')
        tail.accent = true;
      else if (c == '_')
        tail.tenuto = true;
      else if (c == '/') {
        tail.arpeggio = s.substr(i + 1);
        if (tail.arpeggio.empty()) Fail(line, "empty arpeggio figure");
        for (char a : tail.arpeggio)
          if (!std::isdigit(static_cast<unsigned char>(a)) && a != '-' && a != '=')
            Fail(line, "arpeggio figures use digits, '-' (rest) and '=' (hold)");
        break;
      } else {
        Fail(line, "cannot read '" + s.substr(i) + "' after the pitch");
      }
      ++i;
    }
    return tail;
  }

  std::int64_t Duration(const Tail& tail) {
    if (tail.duration > 0) state_.lastDuration = tail.duration;
    return state_.lastDuration;
  }

  int MetricAccent(std::int64_t pos) const {
    if (!state_.metricAccent) return 0;
    std::int64_t bar = song_.BarTicks();
    bool compound = song_.meterBottom == 8 && song_.meterTop % 3 == 0 && song_.meterTop > 3;
    std::int64_t beat = compound ? 720 : 4 * kTicksPerQuarter / song_.meterBottom;
    if (pos % bar == 0) return 6;
    if (pos % beat == 0) return 2;
    return -3;
  }

  void Sound(const std::vector<int>& keys, const Tail& tail, int line) {
    std::int64_t dur = Duration(tail);
    int vel = state_.velocity + (tail.accent ? 16 : 0) + MetricAccent(state_.pos);
    vel = std::clamp(vel * state_.dynamics / 100, 1, 127);
    std::int64_t gap = 0;
    if (tail.staccato)
      gap = dur / 2;
    else if (!tail.tenuto && !tail.tie)
      gap = std::min<std::int64_t>(dur * (100 - state_.gate) / 100, 60);
    for (int key : keys) {
      if (key < 0 || key > 127) Fail(line, "pitch out of range after transposing");
      Start(key, vel, dur, gap, tail.tie);
    }
    Advance(dur, line);
  }

  // Starts a note, or continues the tied note of the same key that ends here.
  void Start(int key, int vel, std::int64_t dur, std::int64_t gap, bool tie) {
    for (size_t i = 0; i < open_.size(); ++i) {
      if (open_[i].key == key && open_[i].end == state_.pos) {
        open_[i].end += dur;
        open_[i].gap = gap;
        if (!tie) {
          open_[i].tied = false;
          done_.push_back(open_[i]);
          open_.erase(open_.begin() + long(i));
        }
        return;
      }
    }
    OpenNote n{state_.pos, state_.pos + dur, gap, key, vel, tie};
    if (tie)
      open_.push_back(n);
    else
      done_.push_back(n);
  }

  void Advance(std::int64_t dur, int line) {
    CheckTiesClosed(state_.pos, line);
    state_.pos += dur;
    state_.started = true;
  }

  // A tied note must be continued by the very next note of its key.
  void CheckTiesClosed(std::int64_t pos, int line) {
    for (const OpenNote& n : open_) {
      if (n.end <= pos)
        Fail(line, "tie on key " + std::to_string(n.key) + " is not followed by the same note");
    }
  }

  void ChordSymbol(const Token& t, int transpose) {
    const std::string& s = t.text;
    size_t close = s.find('}');
    if (close == std::string::npos) Fail(t.line, "chord symbol without '}'");
    std::string sym = s.substr(1, close - 1);
    size_t slash = sym.find('/');
    if (slash != std::string::npos) sym = sym.substr(0, slash);  // the bass belongs to the bass part
    if (sym.empty() || PitchClassOfLetter(sym[0]) < 0) Fail(t.line, "bad chord symbol: " + s);
    int root = PitchClassOfLetter(sym[0]);
    size_t i = 1;
    while (i < sym.size() && (sym[i] == '#' || sym[i] == 'b')) root += sym[i++] == '#' ? 1 : -1;
    auto q = ChordQualities().find(sym.substr(i));
    if (q == ChordQualities().end()) Fail(t.line, "unknown chord quality in " + s);
    root = ((root + transpose) % 12 + 12) % 12;
    // Close position above the register: each chord tone at its lowest
    // place not below registerLow, so successive chords move smoothly.
    std::vector<int> voiced;
    for (int interval : q->second) {
      if (state_.omitRoot && interval == 0 && q->second.size() >= 4) continue;
      int pc = (root + interval) % 12;
      int key = state_.registerLow + ((pc - state_.registerLow) % 12 + 12) % 12;
      voiced.push_back(key);
    }
    std::sort(voiced.begin(), voiced.end());
    Tail tail = ParseTail(s.substr(close + 1), t.line);
    if (tail.arpeggio.empty()) {
      Sound(voiced, tail, t.line);
      return;
    }
    Tail step = tail;
    step.arpeggio.clear();
    std::int64_t unit = Duration(tail);
    const std::string& fig = tail.arpeggio;
    for (size_t k = 0; k < fig.size(); ++k) {
      if (fig[k] == '-') {
        Advance(unit, t.line);
        continue;
      }
      if (fig[k] == '=') Fail(t.line, "'=' must follow a chord tone");
      int idx = fig[k] - '0';
      int n = int(voiced.size());
      int key = voiced[size_t(idx % n)] + 12 * (idx / n);
      size_t holds = 0;
      while (k + 1 + holds < fig.size() && fig[k + 1 + holds] == '=') ++holds;
      step.duration = unit * std::int64_t(1 + holds);
      Sound({key}, step, t.line);
      state_.lastDuration = unit;
      k += holds;
    }
  }

  void UsePattern(const Token& t, int transpose, int depth) {
    const std::string& s = t.text;
    size_t i = 1;
    while (i < s.size() && (std::isalnum(static_cast<unsigned char>(s[i])) || s[i] == '_' || s[i] == '-'))
      ++i;
    std::string name = s.substr(1, i - 1);
    long long repeat = 1;
    int shift = 0;
    while (i < s.size()) {
      char m = s[i++];
      size_t j = i;
      if (m == '*' || m == '^') {
        if (j < s.size() && (s[j] == '-' || s[j] == '+')) ++j;
        while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) ++j;
        long long v = 0;
        if (!ParseInt(s.substr(i, j - i), v)) Fail(t.line, "bad number in " + s);
        if (m == '*') {
          if (v < 1 || v > 64) Fail(t.line, "repeat count must be 1..64");
          repeat = v;
        } else {
          shift += int(v);
        }
      } else if (m == ':') {
        if (j >= s.size() || PitchClassOfLetter(s[j]) < 0) Fail(t.line, "bad root in " + s);
        int pc = PitchClassOfLetter(s[j++]);
        while (j < s.size() && (s[j] == '#' || s[j] == 'b')) pc += s[j++] == '#' ? 1 : -1;
        pc = (pc % 12 + 12) % 12;
        shift += pc > 5 ? pc - 12 : pc;  // patterns are written on C
      } else {
        Fail(t.line, "cannot read '" + s + "'");
      }
      i = j;
    }
    if (auto g = grids_.find(name); g != grids_.end()) {
      if (shift != 0) Fail(t.line, "a drum grid cannot be transposed");
      for (long long r = 0; r < repeat; ++r) PlayGrid(g->second, t.line);
      return;
    }
    auto p = patterns_.find(name);
    if (p == patterns_.end()) Fail(t.line, "no pattern named " + name);
    for (long long r = 0; r < repeat; ++r) Play(p->second.tokens, transpose + shift, depth + 1);
  }

  void PlayGrid(const Grid& grid, int line) {
    std::int64_t bar = song_.BarTicks();
    if (bar % grid.stepsPerBar != 0) Fail(grid.line, "the bar cannot be split into that many steps");
    std::int64_t step = bar / grid.stepsPerBar;
    size_t steps = grid.rows.empty() ? 0 : grid.rows[0].steps.size();
    if (steps == 0 || steps % size_t(grid.stepsPerBar) != 0)
      Fail(grid.line, "grid rows must fill whole bars");
    std::int64_t start = state_.pos;
    struct Hit {
      std::int64_t at;
      int key;
      int vel;
    };
    std::vector<Hit> hits;
    for (const GridRow& row : grid.rows) {
      if (row.steps.size() != steps) Fail(row.line, "grid rows differ in length");
      int key = 0;
      long long raw = 0;
      if (auto k = DrumKeys().find(row.lane); k != DrumKeys().end())
        key = k->second;
      else if (ParseInt(row.lane, raw) && raw >= 0 && raw < 128)
        key = int(raw);
      else
        Fail(row.line, "unknown drum " + row.lane);
      for (size_t i = 0; i < steps; ++i) {
        char c = row.steps[i];
        int vel = c == 'X' ? 118 : c == 'x' ? 96 : c == 'o' ? 64 : c == '.' || c == '-' ? 0 : -1;
        if (vel < 0) Fail(row.line, std::string("grid steps are X x o or . , not ") + c);
        if (vel > 0) hits.push_back({start + std::int64_t(i) * step, key, vel});
      }
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit& a, const Hit& b) { return a.at < b.at; });
    for (const Hit& h : hits) {
      int vel = std::clamp(h.vel * state_.dynamics / 100, 1, 127);
      done_.push_back({h.at, h.at + step, step / 4, h.key, vel, false});
    }
    CheckTiesClosed(start, line);
    state_.pos = start + std::int64_t(steps) * step;
    state_.started = true;
  }

  void Setting(const Token& t) {
    size_t eq = t.text.find('=');
    std::string key = t.text.substr(0, eq);
    std::string value = t.text.substr(eq + 1);
    if (key == "reg") {
      size_t used = 0;
      state_.registerLow = ParsePitch(value, used, t.line);
      if (used != value.size()) Fail(t.line, "bad register " + value);
      return;
    }
    if (key == "accent" || key == "omitroot") {
      if (value != "on" && value != "off") Fail(t.line, key + " is on or off");
      (key == "accent" ? state_.metricAccent : state_.omitRoot) = value == "on";
      return;
    }
    long long v = 0;
    if (!ParseInt(value, v)) Fail(t.line, "bad number in " + t.text);
    auto need = [&](long long lo, long long hi) {
      if (v < lo || v > hi) Fail(t.line, key + " must be " + std::to_string(lo) + ".." + std::to_string(hi));
    };
    static const std::map<std::string, int> controllers = {
        {"vol", 7}, {"pan", 10}, {"expr", 11}, {"rev", 91}, {"cho", 93}};
    if (key == "ch") {
      if (state_.started) Fail(t.line, "ch must come before the first note");
    } else if (key == "v") {
      need(1, 127);
      state_.velocity = int(v);
    } else if (key == "dyn") {
      need(10, 200);
      state_.dynamics = int(v);
    } else if (key == "gate") {
      need(10, 100);
      state_.gate = int(v);
    } else if (key == "prog") {
      need(0, 127);
      SetControl(-1, int(v));
    } else if (controllers.count(key)) {
      need(0, 127);
      SetControl(controllers.at(key), int(v));
    } else if (key.size() > 2 && key.rfind("cc", 0) == 0) {
      long long number = 0;
      if (!ParseInt(key.substr(2), number) || number < 0 || number > 119)
        Fail(t.line, "bad controller " + key);
      need(0, 127);
      SetControl(int(number), int(v));
    } else {
      Fail(t.line, "unknown setting " + key);
    }
  }

  // Before the first note a setting changes the track's opening state; later
  // it becomes a change at the current point.
  void SetControl(int number, int value) {
    if (!state_.started) {
      for (auto& [n, val] : initial_) {
        if (n == number) {
          val = value;
          return;
        }
      }
      initial_.push_back({number, value});
      return;
    }
    track_.controls.push_back({state_.pos, number, value});
  }

  std::string source_;
  Song song_;
  std::map<std::string, Pattern> patterns_;
  std::map<std::string, Grid> grids_;
  std::vector<TrackSource> tracks_;
  std::vector<int> channels_;
  std::vector<std::pair<std::string, std::int64_t>> trackLengths_;

  Track track_;
  State state_;
  std::vector<std::pair<int, int>> initial_;
  std::vector<OpenNote> open_;
  std::vector<OpenNote> done_;
};

}  // namespace

Song CompileScore(std::string_view text, const std::string& sourceName) {
  return Compiler(text, sourceName).Run();
}

}  // namespace yuunagi::music
