// A fixed-size array whose index range is part of the model (0..30, 1..16, 0..8192, ...), so that
// code reads with the model's own indices. Every access is checked: an index from a file that
// falls outside is detected by contains() before use, and an unchecked one never writes outside.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>

namespace brevanto {

template <typename T, int Lo, int Hi>
class Bounded {
 public:
  static_assert(Lo <= Hi);
  static constexpr int lo = Lo;
  static constexpr int hi = Hi;

  static constexpr bool contains(long long i) { return i >= Lo && i <= Hi; }

  // Every element `value`: for a field whose default is not zero.
  static Bounded filled(const T& value) {
    Bounded b;
    b.data_.fill(value);
    return b;
  }

  T& operator[](long long i) {
    check(i);
    return data_[static_cast<std::size_t>(i - Lo)];
  }
  const T& operator[](long long i) const {
    check(i);
    return data_[static_cast<std::size_t>(i - Lo)];
  }

  void fill(const T& value) { data_.fill(value); }
  auto begin() { return data_.begin(); }
  auto end() { return data_.end(); }
  auto begin() const { return data_.begin(); }
  auto end() const { return data_.end(); }

  bool operator==(const Bounded&) const = default;

 private:
  static void check(long long i) {
    if (!contains(i)) throw std::out_of_range("index outside the model's bounds");
  }
  std::array<T, static_cast<std::size_t>(Hi - Lo + 1)> data_{};
};

}  // namespace brevanto
