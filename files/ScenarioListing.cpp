#include "files/ScenarioListing.h"

#include <QStringDecoder>

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "core/Layout.h"
#include "files/Cp932.h"
#include "files/DataFolders.h"

namespace yuunagi {

namespace {

// Entries handed to the list in one turn of the event loop: well under
// 100 ms of work for the list even at 10,000 entries, so input never waits long.
constexpr std::size_t kBatchSize = 1000;

// The name a scenario is listed and played under: its file name when that is
// UTF-8, otherwise the name as Windows wrote it, in code page 932 (a file
// copied from Windows keeps those bytes).
std::string ShownName(const std::string& fileName) {
  QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString decoded =
      utf8.decode(QByteArrayView(fileName.data(), static_cast<qsizetype>(fileName.size())));
  if (!utf8.hasError()) return fileName;
  std::string fromCp932 = Cp932ToUtf8(fileName);
  return fromCp932.empty() ? decoded.toStdString() : fromCp932;
}

}  // namespace

ScenarioListing::ScenarioListing(QObject* parent) : QObject(parent) {
  handing_.setInterval(0);
  connect(&handing_, &QTimer::timeout, this, [this] { HandOverBatch(); });
}

ScenarioListing::~ScenarioListing() { Stop(); }

void ScenarioListing::Start(std::vector<std::filesystem::path> folders,
                            std::function<void(const Batch&)> batchReady,
                            std::function<void(std::size_t)> done) {
  Stop();
  stopped_ = false;
  batchReady_ = std::move(batchReady);
  done_ = std::move(done);
  const int listing = ++listing_;
  worker_ = std::thread([this, listing, folders = std::move(folders)] {
    std::vector<Entry> entries;
    for (const std::string& name : ListScenarios(folders)) {
      if (stopped_) return;
      entries.push_back(
          {ToQString(ShownName(name)), QByteArray(name.data(), static_cast<qsizetype>(name.size()))});
    }
    if (stopped_) return;
    QMetaObject::invokeMethod(
        this,
        [this, listing, entries = std::move(entries)]() mutable { Listed(listing, std::move(entries)); },
        Qt::QueuedConnection);
  });
}

void ScenarioListing::Stop() {
  stopped_ = true;
  ++listing_;  // whatever the worker already sent is dropped on arrival
  if (worker_.joinable()) worker_.join();
  handing_.stop();
  entries_.clear();
}

void ScenarioListing::Listed(int listing, std::vector<Entry> entries) {
  if (listing != listing_) return;
  worker_.join();
  entries_ = std::move(entries);
  handed_ = 0;
  if (entries_.empty()) {
    done_(0);
    return;
  }
  HandOverBatch();
  if (handed_ < entries_.size()) handing_.start();
}

void ScenarioListing::HandOverBatch() {
  const std::size_t end = std::min(entries_.size(), handed_ + kBatchSize);
  const Batch batch(std::make_move_iterator(entries_.begin() + static_cast<std::ptrdiff_t>(handed_)),
                    std::make_move_iterator(entries_.begin() + static_cast<std::ptrdiff_t>(end)));
  handed_ = end;
  const bool last = handed_ == entries_.size();
  if (last) {
    handing_.stop();
    entries_.clear();
  }
  batchReady_(batch);
  if (last) done_(end);
}

}  // namespace yuunagi
