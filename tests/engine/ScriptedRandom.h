// A random source that returns the numbers a test chose, in order, and
// fails the test when the engine draws more (or, checked by the test, fewer).
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <initializer_list>

#include "rules/Random.h"

namespace yuunagi::testing {

class ScriptedRandom : public RandomSource {
 public:
  ScriptedRandom() = default;
  ScriptedRandom(std::initializer_list<double> values) : values_(values) {}

  void Push(std::initializer_list<double> values) { values_.insert(values_.end(), values); }

  double Next() override {
    ++draws_;
    if (values_.empty()) {
      ADD_FAILURE() << "the engine drew more random numbers than scripted (draw " << draws_ << ")";
      return 0.99;
    }
    const double v = values_.front();
    values_.pop_front();
    return v;
  }

  int Draws() const { return draws_; }
  std::size_t Remaining() const { return values_.size(); }

 private:
  std::deque<double> values_;
  int draws_ = 0;
};

}  // namespace yuunagi::testing
