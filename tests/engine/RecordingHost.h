// A host that writes down everything the engine asks of the outside world.
#pragma once

#include <string>
#include <vector>

#include "core/Host.h"

namespace yuunagi::testing {

class RecordingHost : public Host {
 public:
  std::vector<std::string> messages;  // the message line, in order
  std::vector<ActionReport> reports;
  std::vector<std::string> messageBoxes;
  std::vector<int> refreshed;      // districts whose panel was refreshed
  std::vector<std::string> music;  // "play:<name>" / "stop"
  std::vector<std::string> calls;  // everything, in order, for sequence checks
  int emblemDraws = 0;
  int scheduled = 0;
  float lastPause = -1;
  int endProgram = 0;
  int actionMenuPlayer = 0;
  int turnShown = -1;
  std::string screen;  // the scenario name of the game screen
  int strategyOf = -1;
  int highlighted = -1;

  void RefreshDistrictPanel(int d) override {
    refreshed.push_back(d);
    calls.push_back("refresh:" + std::to_string(d));
  }
  void DrawDistrictEmblems() override {
    ++emblemDraws;
    calls.push_back("emblems");
  }
  void ReportAction(const ActionReport& r) override {
    reports.push_back(r);
    messages.push_back(MessageLineText(r));
    calls.push_back("message");
  }
  void ShowGameLine(GameLine line) override {
    messages.emplace_back(GameLineText(line));
    calls.push_back("message");
  }
  void ShowNotice(const Notice& n) override {
    messageBoxes.push_back(NoticeText(n));
    calls.push_back("box:" + messageBoxes.back());
  }
  void PlayMusic(std::string_view n) override {
    music.push_back("play:" + std::string(n));
    calls.push_back("play");
  }
  void StopMusic() override {
    music.push_back("stop");
    calls.push_back("stop");
  }
  void Yield() override { calls.push_back("yield"); }
  void ShowGameScreen(std::string_view name) override {
    screen = name;
    calls.push_back("screen");
  }
  void ShowTurnNumber(int t) override {
    turnShown = t;
    calls.push_back("turn:" + std::to_string(t));
  }
  void ShowMoveStart(const MoveStart& m) override { strategyOf = m.faction; }
  void HighlightMover(int d, bool on) override {
    highlighted = on ? d : -1;
    calls.push_back((on ? "highlight:" : "unhighlight:") + std::to_string(d));
  }
  void ShowActionMenu(int p) override {
    actionMenuPlayer = p;
    calls.push_back("menu:" + std::to_string(p));
  }
  void ScheduleNextMove(float s) override {
    ++scheduled;
    lastPause = s;
    calls.push_back("schedule");
  }
  void EndProgram() override {
    ++endProgram;
    calls.push_back("end");
  }

  const std::string& LastMessage() const {
    static const std::string none;
    return messages.empty() ? none : messages.back();
  }
};

}  // namespace yuunagi::testing
