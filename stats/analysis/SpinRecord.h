#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <utility>

namespace vexilo::stats {

// Spins one byte each, oldest first, in one block that grows by realloc: a large block then
// keeps its pages where the system can move them (10^7 spins grow without being copied again
// and again, as they would in a vector).
class SpinRecord {
 public:
  SpinRecord() = default;
  SpinRecord(const SpinRecord& other) { Append(other.View()); }
  SpinRecord(SpinRecord&& other) noexcept
      : bytes_(std::move(other.bytes_)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  SpinRecord& operator=(const SpinRecord& other) {
    if (this != &other) {
      size_ = 0;
      Append(other.View());
    }
    return *this;
  }
  SpinRecord& operator=(SpinRecord&& other) noexcept {
    bytes_ = std::move(other.bytes_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
  }
  ~SpinRecord() = default;

  void Append(std::span<const std::uint8_t> spins) {
    if (spins.empty()) return;
    if (spins.size() > capacity_ - size_) Grow(size_ + spins.size());
    std::memcpy(bytes_.get() + size_, spins.data(), spins.size());
    size_ += spins.size();
  }

  std::span<const std::uint8_t> View() const { return {bytes_.get(), size_}; }

 private:
  struct Free {
    void operator()(std::uint8_t* bytes) const { std::free(bytes); }
  };

  void Grow(std::size_t needed) {
    constexpr std::size_t kSmallest = 4096;
    const std::size_t capacity = std::max({needed, 2 * capacity_, kSmallest});
    void* grown = std::realloc(bytes_.get(), capacity);
    if (grown == nullptr) throw std::bad_alloc();
    static_cast<void>(bytes_.release());
    bytes_.reset(static_cast<std::uint8_t*>(grown));
    capacity_ = capacity;
  }

  std::unique_ptr<std::uint8_t, Free> bytes_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

}  // namespace vexilo::stats
