// The comparison rules and the in-memory sort behind cFileSort: sort types, record keys,
// line and key comparison, and the sort of a table of entry pointers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vnk {

// Results of cFileSort that its callers test for; they are its own, not the shared codes.
constexpr int32_t SORT_INPUT_EMPTY = -1;
constexpr int32_t SORT_OUTPUT_EMPTY = -2;
constexpr int32_t SORT_KEY_OFFSET_NEGATIVE = -3;
constexpr int32_t SORT_READ_FAILED = -4;
constexpr int32_t SORT_KEY_OUTSIDE_RECORD = -6;
constexpr int32_t SORT_SAME_FILE = -7;
constexpr int32_t SORT_CANT_OPEN_INPUT = -8;
constexpr int32_t SORT_CANT_OPEN_OUTPUT = -9;
constexpr int32_t SORT_NO_TABLE = -11;
constexpr int32_t SORT_CANT_STORE_FIRST = -12;
constexpr int32_t SORT_CANT_STORE_LATER = -13;
constexpr int32_t SORT_TOO_MANY_ENTRIES = -14;
constexpr int32_t SORT_CANT_GROW_TABLE = -15;
constexpr int32_t SORT_WRITE_FAILED = -16;

// Stage markers left in Count by a failure: before anything was read, while reading.
constexpr int32_t SORT_STAGE_OPEN = -1;
constexpr int32_t SORT_STAGE_READ = -2;

// The entry table never holds more entries than this.
constexpr size_t SORT_MAX_ENTRIES = 0x3FFFFFFF;

// The first buffer for a whole input of `file_size` bytes (-1: unknown): room for all of
// it (text mode only ever shrinks it) and one byte more, for the line end of a last line
// that lacks one, so that the first read meets the end at once; 65536 when the size is
// unknown. A size that the address space cannot hold (a 2 GB file where size_t has 32
// bits) asks for SIZE_MAX / 2, which fails to allocate: the sort reports the failure
// rather than wrap the count around to a small buffer.
size_t SortInputCapacity(int64_t file_size);

// What a SortType asks for. Only 1/5, 2/6, 9 and 10 are recognised; every other value
// (0, 3, 4, 7, 8, 11, negatives...) sorts ascending and case-sensitive.
struct SortOrder {
  bool descending = false;
  bool fold = false;  // A to Z compare as a to z
};
SortOrder SortOrderOf(int16_t sort_type);

// The key of record mode: `length` bytes starting `offset` bytes into each record.
struct RecordKey {
  size_t offset = 0;
  size_t length = 0;
};

// Record-mode argument check, in the order the caller sees the codes: 0 when the key
// fits, else SORT_KEY_OFFSET_NEGATIVE or SORT_KEY_OUTSIDE_RECORD. A key length of 0 or
// less means "to the end of the record" and counts as -1 in the fit test, so an offset
// of record_length or record_length + 1 passes and yields an empty key.
int32_t CheckRecordKey(int32_t record_length, int32_t key_offset, int32_t key_length);

// The key that CheckRecordKey accepted, clipped to the record (an offset at or past the
// record's end gives an empty key, and all records then compare equal).
RecordKey RecordKeyOf(int32_t record_length, int32_t key_offset, int32_t key_length);

// Line comparison: lines are stored with their "\n" and compared byte by byte as
// unsigned values up to the first difference; the "\n" takes part, so "abc\t" sorts
// before "abc" and "abc" before "abc d". Every line must end with "\n". Result <0, 0, >0.
int CompareLines(const char* a, const char* b, bool fold);

// Key comparison of record mode: up to key.length bytes, ending early at a NUL that both
// keys hold at the same place.
int CompareKeys(const char* a, const char* b, RecordKey key, bool fold);

// Sorts a table of pointers to "\n"-terminated lines (or to records by their key). Only
// the pointers move. The order of entries that compare equal is not defined.
void SortLines(const char** lines, size_t n, SortOrder order);
void SortRecords(const char** records, size_t n, RecordKey key, SortOrder order);

// How the sort splits the table. Auto is the library's own choice: slots of four key
// bytes beside each entry's offset where a pointer is 8 bytes wide, the byte kernels take
// their vector paths and the entries lie within 4 GB of each other, one key byte at a
// time from the lines everywhere else (the i686 build always). The native tests and the
// sort fuzz target force Words and Bytes in turn, so that each runs on both
// architectures and at both vector levels on the same inputs: Words then runs wherever
// the entries lie within 4 GB of each other (the lines of one block always do), in a
// table of slots of its own where a pointer is too narrow to hold a slot.
enum class SortTable { Auto, Words, Bytes };
void SetSortTable(SortTable table);

}  // namespace vnk
