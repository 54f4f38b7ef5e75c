// cFileSort's rules: the sort types, the record key check and the key it yields (never
// past the record), line and key comparison against a plain reading of them, and the
// table sorts, which must leave every entry exactly once in order. Lines and records sit
// in blocks of exactly their stored size, so no comparison reads past one.
#include "fuzz/fuzz_util.h"
#include "text/sort_kernel.h"

namespace {

unsigned char Map(unsigned char c, bool fold) { return (fold && c >= 'A' && c <= 'Z') ? c + 32 : c; }

int Sign(int v) { return (v > 0) - (v < 0); }

int LineRef(const std::string& a, const std::string& b, bool fold) {
  for (size_t i = 0;; ++i) {
    unsigned char x = Map(a[i], fold), y = Map(b[i], fold);
    if (x != y) return x < y ? -1 : 1;
    if (x == '\n') return 0;
  }
}

int KeyRef(const char* a, const char* b, vnk::RecordKey key, bool fold) {
  for (size_t i = 0; i < key.length; ++i) {
    unsigned char x = Map(a[key.offset + i], fold), y = Map(b[key.offset + i], fold);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
  return 0;
}

}  // namespace

static int CheckInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  int16_t type = in.ConsumeIntegral<int16_t>();
  vnk::SortOrder order = vnk::SortOrderOf(type);
  FUZZ_CHECK(order.descending == (type == 2 || type == 6 || type == 10) && order.fold == (type == 9 || type == 10),
             "sort type %d", type);

  int32_t rec = in.ConsumeBool() ? 0 : in.ConsumeIntegralInRange<int32_t>(1, 40);
  int32_t off = in.ConsumeIntegralInRange<int32_t>(-3, 45);
  int32_t len = in.ConsumeIntegralInRange<int32_t>(-3, 45);
  std::vector<std::string> items;
  size_t count = in.ConsumeIntegralInRange<size_t>(0, 60);
  for (size_t i = 0; i < count && in.remaining_bytes() > 0; ++i) {
    if (rec > 0) {
      std::string r = in.ConsumeBytesAsString(static_cast<size_t>(rec));
      if (r.size() < static_cast<size_t>(rec)) break;  // a partial record is dropped
      items.push_back(r);
    } else {
      std::string line = in.ConsumeRandomLengthString(200);
      line = line.substr(0, line.find('\n'));  // a line ends at its first LF
      items.push_back(line + "\n");            // stored with its LF and a NUL
    }
    // Now and then an entry equal to the previous one, or to it in another case.
    if (!items.empty() && in.ConsumeIntegralInRange<int>(0, 7) == 0) {
      std::string copy = items.back();
      for (char& c : copy)
        if (in.ConsumeBool() && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
      items.push_back(copy);
    }
  }
  std::vector<std::unique_ptr<vnk::fuzz::ExactBytes>> blocks;
  std::vector<const char*> table;
  for (const std::string& s : items) {
    blocks.push_back(std::make_unique<vnk::fuzz::ExactBytes>(rec > 0 ? s : s + std::string(1, '\0')));
    table.push_back(blocks.back()->data());
  }

  vnk::RecordKey key;
  if (rec > 0) {
    int32_t check = vnk::CheckRecordKey(rec, off, len);
    int64_t want_len = len > 0 ? len : -1;
    int32_t want = off < 0 ? vnk::SORT_KEY_OFFSET_NEGATIVE : (off + want_len > rec ? vnk::SORT_KEY_OUTSIDE_RECORD : 0);
    FUZZ_CHECK(check == want, "key check %d for record %d offset %d length %d", check, rec, off, len);
    if (check != 0) return 0;
    key = vnk::RecordKeyOf(rec, off, len);
    FUZZ_CHECK(key.offset + key.length <= static_cast<size_t>(rec), "key past the record");
    size_t want_key = off >= rec ? 0 : (len > 0 ? static_cast<size_t>(len) : static_cast<size_t>(rec - off));
    FUZZ_CHECK(key.length == want_key, "key length %zu, want %zu", key.length, want_key);
  }

  auto compare = [&](const char* a, const char* b) {
    return rec > 0 ? vnk::CompareKeys(a, b, key, order.fold) : vnk::CompareLines(a, b, order.fold);
  };
  for (size_t i = 1; i < table.size(); ++i) {
    int got = compare(table[i - 1], table[i]);
    int want = rec > 0 ? KeyRef(table[i - 1], table[i], key, order.fold)
                       : LineRef(items[i - 1], items[i], order.fold);
    FUZZ_CHECK(Sign(got) == want, "comparison of entries %zu and %zu", i - 1, i);
    FUZZ_CHECK(Sign(compare(table[i], table[i - 1])) == -want, "not antisymmetric");
  }

  // Each table of the sort in turn: four key bytes per slot (where the entries lie within
  // 4 GB of each other), and one byte at a time.
  for (vnk::SortTable t : {vnk::SortTable::Words, vnk::SortTable::Bytes}) {
    vnk::SetSortTable(t);
    std::vector<const char*> sorted = table;
    if (rec > 0)
      vnk::SortRecords(sorted.data(), sorted.size(), key, order);
    else
      vnk::SortLines(sorted.data(), sorted.size(), order);
    vnk::SetSortTable(vnk::SortTable::Auto);
    for (size_t i = 1; i < sorted.size(); ++i) {
      int c = compare(sorted[i - 1], sorted[i]);
      FUZZ_CHECK(order.descending ? c >= 0 : c <= 0, "out of order at %zu", i);
    }
    std::vector<const char*> a = table, b = sorted;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    FUZZ_CHECK(a == b, "the sort lost or doubled an entry");
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return vnk::fuzz::UnderBothLevels([&] { CheckInput(data, size); });
}
