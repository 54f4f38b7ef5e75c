// A value or a named failure code, kept apart inside the library: a byte count can never
// be mistaken for a code. The export turns it into the VB number once, at its boundary.
#pragma once

#include <cstdint>
#include <utility>

#include "frame/host.h"
#include "frame/result_codes.h"

namespace vnk {

// A failure: one of the negative result codes.
struct Failure {
  int32_t code;
};

template <class T>
class [[nodiscard]] Outcome {
 public:
  Outcome(T value) : value_(std::move(value)) {}  // NOLINT: a value is a success
  Outcome(Failure f) : code_(f.code) {}           // NOLINT: a failure converts as it is

  bool ok() const { return code_ == 0; }
  explicit operator bool() const { return ok(); }
  // The failure's code; only meaningful when !ok().
  int32_t code() const { return code_; }
  Failure failure() const { return Failure{code_}; }
  const T& value() const { return value_; }
  T& value() { return value_; }
  const T& operator*() const { return value_; }
  T& operator*() { return value_; }
  const T* operator->() const { return &value_; }
  T* operator->() { return &value_; }

 private:
  T value_{};
  int32_t code_ = 0;
};

// Success with nothing to carry, or a failure.
struct Done {};
using Status = Outcome<Done>;
inline Status Ok() { return Done{}; }

// A byte total as a VB Long: the total (clamped to the largest Long), or the code.
inline int32_t LongResult(const Outcome<uint64_t>& r) {
  return r.ok() ? ClampTotal(*r) : r.code();
}

}  // namespace vnk
