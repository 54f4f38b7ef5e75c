// Heap blocks of exactly the size a kernel is given, as the fuzz targets use: a read or
// write one byte past the end stops the test under AddressSanitizer, where the spare
// capacity of a std::string or a roomy stack array would hide it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace vnk {

class ExactBlock {
 public:
  explicit ExactBlock(size_t size) : size_(size), data_(new uint8_t[size]) { std::memset(data_.get(), 0xA5, size); }
  explicit ExactBlock(std::string_view bytes) : ExactBlock(bytes.size()) {
    if (!bytes.empty()) std::memcpy(data_.get(), bytes.data(), bytes.size());
  }
  uint8_t* data() { return data_.get(); }
  const uint8_t* data() const { return data_.get(); }
  char* chars() { return reinterpret_cast<char*>(data_.get()); }
  size_t size() const { return size_; }
  // The first n bytes as a string, to compare with an expectation.
  std::string str(size_t n) const { return std::string(reinterpret_cast<const char*>(data_.get()), n); }
  std::string str() const { return str(size_); }

 private:
  size_t size_;
  std::unique_ptr<uint8_t[]> data_;
};

}  // namespace vnk
