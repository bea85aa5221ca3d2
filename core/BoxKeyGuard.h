// The keys a message box answers: only those pressed while it is on screen.
// A key pressed before the box appeared (waiting in the queue while the
// computer moved, or held down and repeating) never answers a question the
// player has not seen.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>

class QWidget;

namespace yuunagi {

// How long a box is on screen before it takes keys. Keys queued before it
// came arrive within its first moments; a player who reads it takes longer.
// The timestamps of key events cannot tell this: their clock is the window
// system's own and differs from one platform to the next.
constexpr int kBoxKeyDelayMs = 200;

class BoxKeyGuard : public QObject {
 public:
  // Guards the keys of `box`, which is shown now, for as long as this lives.
  explicit BoxKeyGuard(QWidget& box);
  ~BoxKeyGuard() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget& box_;
  QElapsedTimer shown_;
  QSet<int> pressed_;  // keys pressed while the box took keys, until released
};

}  // namespace yuunagi
