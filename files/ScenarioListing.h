// Lists the scenario folders on a worker thread and hands the entries to the
// window's thread a batch at a time, in the list's order, so that the window
// keeps answering over a folder of thousands of scenarios.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>
#include <vector>

namespace yuunagi {

class ScenarioListing : public QObject {
  Q_OBJECT
 public:
  // One entry of the list: the name shown, and the bytes of the file's name.
  struct Entry {
    QString name;
    QByteArray fileName;
  };
  using Batch = std::vector<Entry>;

  explicit ScenarioListing(QObject* parent);
  // Stops a listing under way; its worker is waited for.
  ~ScenarioListing() override;

  // Lists `folders`; `batchReady` receives the entries in order, a batch
  // per turn of the event loop, and `done` the count once all were handed
  // over (0 when there was none: `batchReady` is then never called).
  void Start(std::vector<std::filesystem::path> folders, std::function<void(const Batch&)> batchReady,
             std::function<void(std::size_t count)> done);
  // Drops the listing under way: nothing more is handed over.
  void Stop();
  bool Busy() const { return worker_.joinable() || handing_.isActive(); }

 private:
  // On the window's thread: the worker's whole list has arrived.
  void Listed(int listing, std::vector<Entry> entries);
  void HandOverBatch();

  std::thread worker_;
  std::atomic<bool> stopped_{false};
  int listing_ = 0;  // counts the listings started, so a dropped one is known on arrival
  QTimer handing_;
  std::vector<Entry> entries_;
  std::size_t handed_ = 0;
  std::function<void(const Batch&)> batchReady_;
  std::function<void(std::size_t)> done_;
};

}  // namespace yuunagi
