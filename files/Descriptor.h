// A file descriptor that closes itself, for the files of the game's data.
#pragma once

#include <unistd.h>

#include <utility>

namespace yuunagi {
namespace record_file {

class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      Close();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  ~Descriptor() { Close(); }
  int get() const { return fd_; }
  bool ok() const { return fd_ >= 0; }
  // Closes now; false when the close reported an error (a delayed write failure).
  bool Close() {
    const int result = fd_ >= 0 ? ::close(fd_) : 0;
    fd_ = -1;
    return result == 0;
  }

 private:
  int fd_;
};

}  // namespace record_file
}  // namespace yuunagi
