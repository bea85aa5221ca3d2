// A random source for tests: returns the numbers the test chose, in order.
// One draw more than scripted fails the test at once (an exception), so an
// unexpected chance can never spin a loop of the game.
#pragma once

#include <deque>
#include <initializer_list>
#include <stdexcept>

#include "rules/Random.h"

namespace yuunagi::test {

class ScriptedRandom : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<double> values) : values_(values) {}

  void Push(std::initializer_list<double> values) { values_.insert(values_.end(), values); }
  template <typename Range>
  void PushAll(const Range& values) {
    values_.insert(values_.end(), values.begin(), values.end());
  }

  double Next() override {
    if (values_.empty()) throw std::logic_error("the game drew a random number the test did not script");
    ++draws_;
    const double v = values_.front();
    values_.pop_front();
    return v;
  }

  int Draws() const { return draws_; }
  int Remaining() const { return static_cast<int>(values_.size()); }

 private:
  std::deque<double> values_;
  int draws_ = 0;
};

}  // namespace yuunagi::test
