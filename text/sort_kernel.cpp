// Comparators and the table sort of cFileSort. The sort is a radix sort on the entry
// pointers: it looks at each byte of a common prefix once instead of once per comparison,
// which is what makes sorting text lines fast. On x86-64 the table's slots carry four key
// bytes beside each entry's offset and large ranges are split 256 ways by counting; the
// i686 build, and small ranges everywhere, split by a three-way radix quicksort, which
// falls back to the standard library's introsort where pivots keep going badly, so that
// no input makes it quadratic. Only pointers move; lines and records stay where they were
// read. SetSortTable lets the tests run either table wherever they run.
#include "text/sort_kernel.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>

#include "frame/ascii_kernel.h"
#include "frame/cpu_kernel.h"

namespace vnk {
namespace {

using Byte = unsigned char;

// Constant-initialised: the library's own choice until a test asks for a table.
SortTable g_table = SortTable::Auto;

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

template <class T, class Ops>
void InsertionSort(T* a, size_t n, size_t d, const Ops& ops) {
  for (size_t i = 1; i < n; ++i) {
    T x = a[i];
    size_t j = i;
    for (; j > 0 && ops.Less(x, a[j - 1], d); --j) a[j] = a[j - 1];
    a[j] = x;
  }
}

template <class T>
T Median3(T x, T y, T z) {
  if (x < y) return y < z ? y : (x < z ? z : x);
  return x < z ? x : (y < z ? z : y);
}

// Sorts a[0..n) whose entries agree on their first d key bytes, split on the key unit at
// depth d that Ops gives for each entry: a byte read from the entry's line, or the four
// bytes a slot carries. `budget` counts the splits into smaller and greater parts that
// may still happen before the sort gives the range to introsort; moving to the next unit
// of an equal part costs nothing, since each such step consumes a unit of every entry
// in it.
template <class T, class Ops>
void RadixQuicksort(T* a, size_t n, size_t d, int budget, const Ops& ops) {
  for (;;) {
    if (n <= kSmall) {
      InsertionSort(a, n, d, ops);
      return;
    }
    if (budget <= 0) {
      std::sort(a, a + n, [&](T x, T y) { return ops.Less(x, y, d); });
      return;
    }
    auto u = [&](size_t i) { return ops.Unit(a[i], d); };
    std::uint32_t pivot;
    if (n < 64) {
      pivot = Median3(u(0), u(n / 2), u(n - 1));
    } else {
      size_t s = n / 8;
      auto m = [&](size_t i) { return Median3(u(i - s), u(i), u(i + s)); };
      pivot = Median3(m(s), m(n / 2), m(n - 1 - s));
    }
    const bool prefetch = Ops::kReadsLines && n > 4096 && HasSse2();
    constexpr size_t kAhead = 8;
    size_t lt = 0, i = 0, gt = n;
    while (i < gt) {
      if (prefetch && i + kAhead < gt) ops.Prefetch(a[i + kAhead], d);
      std::uint32_t v = u(i);
      if (v < pivot)
        std::swap(a[lt++], a[i++]);
      else if (v > pivot)
        std::swap(a[i], a[--gt]);
      else
        ++i;
    }
    // Three parts: [0, lt) below the pivot unit, [lt, gt) equal, [gt, n) above. The
    // equal part continues one unit further unless the pivot unit ended the key.
    size_t equal = ops.Ends(pivot) ? 0 : gt - lt;
    if (equal > 1) ops.Deepen(a + lt, equal, d + Ops::kUnitBytes);
    struct Part {
      T* base;
      size_t n;
      size_t d;
      int budget;
    };
    Part parts[3] = {
        {a, lt, d, budget - 1}, {a + lt, equal, d + Ops::kUnitBytes, budget}, {a + gt, n - gt, d, budget - 1}};
    // Recurse into the two smaller parts (each at most half), loop on the largest, so the
    // stack stays logarithmic whatever the input.
    int largest = 0;
    for (int p = 1; p < 3; ++p)
      if (parts[p].n > parts[largest].n) largest = p;
    for (int p = 0; p < 3; ++p)
      if (p != largest && parts[p].n > 1) RadixQuicksort(parts[p].base, parts[p].n, parts[p].d, parts[p].budget, ops);
    a = parts[largest].base;
    n = parts[largest].n;
    d = parts[largest].d;
    budget = parts[largest].budget;
  }
}

// Units of a table of entry pointers: the key byte at each depth, read from the line.
template <class K>
struct ByteUnits {
  static constexpr bool kReadsLines = true;
  static constexpr size_t kUnitBytes = 1;
  const K& k;
  std::uint32_t Unit(const char* x, size_t d) const { return static_cast<std::uint32_t>(k.At(x, d)); }
  bool Ends(std::uint32_t u) const { return static_cast<int>(u) == K::kEnd; }
  void Deepen(const char**, size_t, size_t) const {}
  bool Less(const char* x, const char* y, size_t d) const { return k.Compare(x, y, d) < 0; }
  // The entries point all over a block as large as the file: asking for the line a few
  // entries ahead keeps the loop from waiting on memory at every step.
  void Prefetch(const char* x, size_t d) const { PrefetchLine(x + d); }
};

int InitialBudget(size_t n) {
  int log2 = 0;
  while (n > 1) {
    n >>= 1;
    ++log2;
  }
  return 2 * log2 + 4;
}

// Four key bytes at a time, where an entry pointer is 8 bytes wide and every entry lies
// within 4 GB of the lowest one: each slot of the table then holds
// the entry's offset from that lowest entry in its low half and, in its high half, the
// key bytes at depth d..d+3 as one number that orders as they do (byte d highest; the
// bytes after the one that ends the key count as 0). The splits look at those numbers
// in the table itself, and only a part that goes four bytes deeper reads its lines
// again: a line is visited once per four bytes of common prefix, not once per byte and
// split, which is what the sort of a table far larger than the caches waits for.
using Slot = std::uint64_t __attribute__((may_alias));

template <class K>
std::uint32_t KeyWord(const char* p, size_t d, const K& k) {
  std::uint32_t w = 0;
  for (int j = 0; j < 4; ++j) {
    int c = k.At(p, d + static_cast<size_t>(j));
    w = (w << 8) | static_cast<std::uint32_t>(c);
    if (c == K::kEnd) return w << (8 * (3 - j));  // no byte past the end is read
  }
  return w;
}

// Whether a key word holds the end of the key: entries with that same word are equal.
template <class K>
bool EndsKey(std::uint32_t w) {
  for (int shift = 0; shift < 32; shift += 8)
    if (static_cast<int>((w >> shift) & 0xFF) == K::kEnd) return true;
  return false;
}

std::uint32_t WordOf(Slot s) { return static_cast<std::uint32_t>(s >> 32); }
size_t OffsetOf(Slot s) { return static_cast<size_t>(s & 0xFFFFFFFFu); }

// Units of a table of slots: the four key bytes each slot carries.
template <class K>
struct SlotKey {
  static constexpr bool kReadsLines = false;
  static constexpr size_t kUnitBytes = 4;
  const char* base;
  const K& k;
  const char* Entry(Slot s) const { return base + OffsetOf(s); }
  std::uint32_t Unit(Slot s, size_t) const { return WordOf(s); }
  bool Ends(std::uint32_t w) const { return EndsKey<K>(w); }
  // Reads the words at depth d of a[0..n) from their lines.
  void Deepen(Slot* a, size_t n, size_t d) const {
    const bool prefetch = n > 4096 && HasSse2();
    constexpr size_t kAhead = 8;
    for (size_t i = 0; i < n; ++i) {
      if (prefetch && i + kAhead < n) PrefetchLine(Entry(a[i + kAhead]) + d);
      a[i] = (Slot{KeyWord(Entry(a[i]), d, k)} << 32) | OffsetOf(a[i]);
    }
  }
  // s before t, both agreeing on their first d key bytes and holding their words at d.
  bool Less(Slot s, Slot t, size_t d) const {
    if (WordOf(s) != WordOf(t)) return WordOf(s) < WordOf(t);
    return !EndsKey<K>(WordOf(s)) && k.Compare(Entry(s), Entry(t), d + 4) < 0;
  }
  void Prefetch(Slot, size_t) const {}
};

// Ranges this large are split by counting, 256 ways at once on one byte of the words:
// no comparison to mispredict and one pass to count, one to move. Smaller ones go to
// RadixQuicksort.
constexpr size_t kCountingSplit = 64;

// Sorts a[0..n), whose entries agree on their first d + byte key bytes and whose words
// hold the bytes at depth d..d+3: the split is on byte `byte` of the words.
template <class K>
void RadixSlots(Slot* a, size_t n, size_t d, int byte, const SlotKey<K>& sk) {
  for (;;) {
    if (n < kCountingSplit) {
      if (n > 1) RadixQuicksort(a, n, d, InitialBudget(n), sk);
      return;
    }
    const int shift = 24 - 8 * byte;
    auto digit = [shift](Slot s) { return static_cast<unsigned>(WordOf(s) >> shift) & 0xFFu; };
    std::uint32_t count[256] = {};
    for (size_t i = 0; i < n; ++i) ++count[digit(a[i])];
    // Each slot is moved straight into its bucket, and the one it displaces into its
    // own, until the slot that belongs here comes back.
    std::uint32_t next[256];
    size_t at = 0;
    unsigned largest = 0;
    for (unsigned b = 0; b < 256; ++b) {
      next[b] = static_cast<std::uint32_t>(at);
      at += count[b];
      if (count[b] > count[largest]) largest = b;
    }
    size_t end = 0;
    for (unsigned b = 0; b < 256; ++b) {
      end += count[b];
      while (next[b] < end) {
        Slot v = a[next[b]];
        for (unsigned c = digit(v); c != b; c = digit(v)) std::swap(v, a[next[c]++]);
        a[next[b]++] = v;
      }
    }
    // Every bucket goes one byte deeper (past the word's last byte, with words read
    // anew) unless its byte ends the key. The largest is carried on by this loop, the
    // others (each at most half) by calls, so the stack stays logarithmic.
    Slot* base = a;
    for (unsigned b = 0; b < 256; ++b) {
      Slot* part = base;
      base += count[b];
      if (b == largest || count[b] < 2 || static_cast<int>(b) == K::kEnd) continue;
      if (byte < 3) {
        RadixSlots(part, count[b], d, byte + 1, sk);
      } else {
        sk.Deepen(part, count[b], d + 4);
        RadixSlots(part, count[b], d + 4, 0, sk);
      }
    }
    if (static_cast<int>(largest) == K::kEnd) return;
    a += next[largest] - count[largest];
    n = count[largest];
    if (byte < 3) {
      ++byte;
    } else {
      d += 4;
      byte = 0;
      sk.Deepen(a, n, d);
    }
  }
}

// Sorts slots[0..n), each holding an entry's offset from lo, and leaves the entries'
// pointers in a[0..n) in their order (slots and a may be the same storage).
template <class K>
void SortSlots(Slot* slots, const char** a, size_t n, const char* lo, const K& k) {
  SlotKey<K> sk{lo, k};
  sk.Deepen(slots, n, 0);
  RadixSlots(slots, n, 0, 0, sk);
  for (size_t i = 0; i < n; ++i) a[i] = lo + OffsetOf(slots[i]);
}

// Sorts through slots when the table's entries allow them; false when they do not. The
// library takes slots only where a pointer is as wide as a slot, so the table's own
// storage holds them, and only where the byte kernels take their vector paths (every
// x86-64 processor), so that the plain level, which the tests and fuzzers run as well,
// checks the byte-wise sort that the i686 build runs. A test that asks for slots gets them
// wherever the entries lie within 4 GB of each other.
template <class K>
bool SortBySlots(const char** a, size_t n, const K& k) {
  constexpr bool kSlotInPointer = sizeof(const char*) == sizeof(Slot);
  if (g_table == SortTable::Bytes) return false;
  if (g_table == SortTable::Auto && (!kSlotInPointer || !HasSse2())) return false;
  std::uintptr_t lo = reinterpret_cast<std::uintptr_t>(a[0]), hi = lo;
  for (size_t i = 1; i < n; ++i) {
    lo = std::min(lo, reinterpret_cast<std::uintptr_t>(a[i]));
    hi = std::max(hi, reinterpret_cast<std::uintptr_t>(a[i]));
  }
  if (static_cast<std::uint64_t>(hi - lo) > 0xFFFFFFFFu) return false;
  const char* base = reinterpret_cast<const char*>(lo);
  if constexpr (kSlotInPointer) {
    // The table's own storage, read as slots; each pointer becomes an offset and back.
    Slot* slots = reinterpret_cast<Slot*>(a);
    for (size_t i = 0; i < n; ++i) slots[i] = static_cast<Slot>(reinterpret_cast<std::uintptr_t>(a[i]) - lo);
    SortSlots(slots, a, n, base, k);
  } else {
    // Slots twice as wide as the table's pointers, beside it: only a test asks for this.
    std::unique_ptr<Slot[]> slots(new Slot[n]);
    for (size_t i = 0; i < n; ++i) slots[i] = static_cast<Slot>(reinterpret_cast<std::uintptr_t>(a[i]) - lo);
    SortSlots(slots.get(), a, n, base, k);
  }
  return true;
}

template <class K>
void SortEntries(const char** a, size_t n, bool descending, const K& k) {
  if (n > 1 && !SortBySlots(a, n, k)) RadixQuicksort(a, n, 0, InitialBudget(n), ByteUnits<K>{k});
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
    SortEntries(lines, n, order.descending, LineKey<true>());
  else
    SortEntries(lines, n, order.descending, LineKey<false>());
}

void SortRecords(const char** records, size_t n, RecordKey key, SortOrder order) {
  if (order.fold)
    SortEntries(records, n, order.descending, RecordKeyAt<true>{key});
  else
    SortEntries(records, n, order.descending, RecordKeyAt<false>{key});
}

void SetSortTable(SortTable table) { g_table = table; }

size_t SortInputCapacity(int64_t file_size) {
  if (file_size < 0) return 65536;
  if (static_cast<uint64_t>(file_size) >= SIZE_MAX / 2) return SIZE_MAX / 2;
  return static_cast<size_t>(file_size) + 1;
}

}  // namespace vnk
