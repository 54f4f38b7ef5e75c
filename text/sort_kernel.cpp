// Comparators and the table sort of cFileSort. The sort is a three-way radix quicksort
// on the entry pointers: it looks at each byte of a common prefix once instead of once
// per comparison, which is what makes sorting text lines fast, and it falls back to the
// standard library's introsort where pivots keep going badly, so that no input makes it
// quadratic. Only pointers move; lines and records stay where they were read.
#include "text/sort_kernel.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "frame/ascii_kernel.h"
#include "frame/cpu_kernel.h"

namespace vnk {
namespace {

using Byte = unsigned char;

constexpr const std::array<Byte, 256>& kFolded = kFoldedAscii;

// Line keys: the byte at each depth, folded or not; a line ends at its "\n", and no
// other byte folds to "\n", so the value '\n' marks the end.
template <bool Fold>
struct LineKey {
  static constexpr int kEnd = '\n';
  static int Map(Byte c) { return Fold ? kFolded[c] : c; }
  int At(const char* p, size_t d) const { return Map(static_cast<Byte>(p[d])); }
  int Compare(const char* a, const char* b, size_t d) const {
    for (size_t i = d;; ++i) {
      int ca = Map(static_cast<Byte>(a[i])), cb = Map(static_cast<Byte>(b[i]));
      if (ca != cb) return ca - cb;
      if (ca == kEnd) return 0;
    }
  }
};

// Record keys: past the key's last byte the value is 0, and a NUL ends the comparison,
// so 0 marks the end either way (only NUL folds to NUL).
template <bool Fold>
struct RecordKeyAt {
  static constexpr int kEnd = 0;
  RecordKey key;
  static int Map(Byte c) { return Fold ? kFolded[c] : c; }
  int At(const char* p, size_t d) const {
    return d < key.length ? Map(static_cast<Byte>(p[key.offset + d])) : kEnd;
  }
  int Compare(const char* a, const char* b, size_t d) const {
    for (size_t i = d; i < key.length; ++i) {
      int ca = Map(static_cast<Byte>(a[key.offset + i])), cb = Map(static_cast<Byte>(b[key.offset + i]));
      if (ca != cb) return ca - cb;
      if (ca == kEnd) return 0;
    }
    return 0;
  }
};

constexpr size_t kSmall = 12;

template <class K>
void InsertionSort(const char** a, size_t n, size_t d, const K& k) {
  for (size_t i = 1; i < n; ++i) {
    const char* x = a[i];
    size_t j = i;
    for (; j > 0 && k.Compare(a[j - 1], x, d) > 0; --j) a[j] = a[j - 1];
    a[j] = x;
  }
}

int Median3(int x, int y, int z) {
  if (x < y) return y < z ? y : (x < z ? z : x);
  return x < z ? x : (y < z ? z : y);
}

template <class K>
int PivotValue(const char** a, size_t n, size_t d, const K& k) {
  if (n < 64) return Median3(k.At(a[0], d), k.At(a[n / 2], d), k.At(a[n - 1], d));
  size_t s = n / 8;
  auto m = [&](size_t i) { return Median3(k.At(a[i - s], d), k.At(a[i], d), k.At(a[i + s], d)); };
  return Median3(m(s), m(n / 2), m(n - 1 - s));
}

// Sorts a[0..n) whose entries agree on their first d key bytes. `budget` counts the
// splits into smaller and greater parts that may still happen before the sort gives the
// range to introsort; moving to the next byte of an equal part costs nothing, since
// each such step consumes a byte of every entry in it.
template <class K>
void RadixQuicksort(const char** a, size_t n, size_t d, int budget, const K& k) {
  for (;;) {
    if (n <= kSmall) {
      InsertionSort(a, n, d, k);
      return;
    }
    if (budget <= 0) {
      std::sort(a, a + n, [&](const char* x, const char* y) { return k.Compare(x, y, d) < 0; });
      return;
    }
    const int pivot = PivotValue(a, n, d, k);
    // The entries point all over a block as large as the file: asking for the line a few
    // entries ahead keeps the loop from waiting on memory at every step.
    const bool prefetch = n > 4096 && HasSse2();
    constexpr size_t kAhead = 8;
    size_t lt = 0, i = 0, gt = n;
    while (i < gt) {
      if (prefetch && i + kAhead < gt) PrefetchLine(a[i + kAhead] + d);
      int v = k.At(a[i], d);
      if (v < pivot)
        std::swap(a[lt++], a[i++]);
      else if (v > pivot)
        std::swap(a[i], a[--gt]);
      else
        ++i;
    }
    // Three parts: [0, lt) below the pivot byte, [lt, gt) equal, [gt, n) above. The
    // equal part continues one byte further unless the pivot byte ended the key.
    struct Part {
      const char** base;
      size_t n;
      size_t d;
      int budget;
    };
    Part parts[3] = {{a, lt, d, budget - 1},
                     {a + lt, pivot == K::kEnd ? 0 : gt - lt, d + 1, budget},
                     {a + gt, n - gt, d, budget - 1}};
    // Recurse into the two smaller parts (each at most half), loop on the largest, so the
    // stack stays logarithmic whatever the input.
    int largest = 0;
    for (int p = 1; p < 3; ++p)
      if (parts[p].n > parts[largest].n) largest = p;
    for (int p = 0; p < 3; ++p)
      if (p != largest && parts[p].n > 1) RadixQuicksort(parts[p].base, parts[p].n, parts[p].d, parts[p].budget, k);
    a = parts[largest].base;
    n = parts[largest].n;
    d = parts[largest].d;
    budget = parts[largest].budget;
  }
}

int InitialBudget(size_t n) {
  int log2 = 0;
  while (n > 1) {
    n >>= 1;
    ++log2;
  }
  return 2 * log2 + 4;
}

template <class K>
void SortTable(const char** a, size_t n, bool descending, const K& k) {
  if (n > 1) RadixQuicksort(a, n, 0, InitialBudget(n), k);
  // Equal entries have no defined order, so the ascending order reversed is a
  // descending order under the negated comparison.
  if (descending) std::reverse(a, a + n);
}

}  // namespace

SortOrder SortOrderOf(int16_t sort_type) {
  switch (sort_type) {
    case 2:
    case 6:
      return {true, false};
    case 9:
      return {false, true};
    case 10:
      return {true, true};
    default:  // 1, 5 and everything unrecognised
      return {false, false};
  }
}

int32_t CheckRecordKey(int32_t record_length, int32_t key_offset, int32_t key_length) {
  if (key_offset < 0) return SORT_KEY_OFFSET_NEGATIVE;
  int64_t length = key_length > 0 ? key_length : -1;
  if (static_cast<int64_t>(key_offset) + length > record_length) return SORT_KEY_OUTSIDE_RECORD;
  return 0;
}

RecordKey RecordKeyOf(int32_t record_length, int32_t key_offset, int32_t key_length) {
  RecordKey key;
  if (record_length <= 0 || key_offset >= record_length) return key;  // empty key
  key.offset = static_cast<size_t>(key_offset > 0 ? key_offset : 0);
  size_t rest = static_cast<size_t>(record_length) - key.offset;
  key.length = key_length > 0 ? std::min(static_cast<size_t>(key_length), rest) : rest;
  return key;
}

int CompareLines(const char* a, const char* b, bool fold) {
  return fold ? LineKey<true>().Compare(a, b, 0) : LineKey<false>().Compare(a, b, 0);
}

int CompareKeys(const char* a, const char* b, RecordKey key, bool fold) {
  return fold ? RecordKeyAt<true>{key}.Compare(a, b, 0) : RecordKeyAt<false>{key}.Compare(a, b, 0);
}

void SortLines(const char** lines, size_t n, SortOrder order) {
  if (order.fold)
    SortTable(lines, n, order.descending, LineKey<true>());
  else
    SortTable(lines, n, order.descending, LineKey<false>());
}

void SortRecords(const char** records, size_t n, RecordKey key, SortOrder order) {
  if (order.fold)
    SortTable(records, n, order.descending, RecordKeyAt<true>{key});
  else
    SortTable(records, n, order.descending, RecordKeyAt<false>{key});
}

}  // namespace vnk
