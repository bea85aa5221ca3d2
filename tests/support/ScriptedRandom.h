// A random source for tests: returns the numbers the test chose, in order.
// Drawing more than scripted is recorded (and answered with 0.99), so the
// test can tell that the game asked for chances it did not expect.
#pragma once

#include <deque>
#include <initializer_list>

#include "rules/Random.h"

namespace yuunagi::test {

class ScriptedRandom : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<double> values) : values_(values) {}

  void Push(std::initializer_list<double> values) { values_.insert(values_.end(), values); }

  double Next() override {
    ++draws_;
    if (values_.empty()) {
      overdrawn_ = true;
      return 0.99;
    }
    const double v = values_.front();
    values_.pop_front();
    return v;
  }

  int Draws() const { return draws_; }
  int Remaining() const { return static_cast<int>(values_.size()); }
  bool Overdrawn() const { return overdrawn_; }

 private:
  std::deque<double> values_;
  int draws_ = 0;
  bool overdrawn_ = false;
};

}  // namespace yuunagi::test
