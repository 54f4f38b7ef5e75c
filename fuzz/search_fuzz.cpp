// The search matcher and the replacement pass over blocks of any size, raw or in the
// text-mode view, with and without SSE2: the first match and the non-overlapping count
// against a piece-by-piece search, and the replaced file's bytes and total against a
// plain rewrite of each line piece written as the runtime's text mode writes it.
#include "fuzz/fuzz_util.h"
#include "text/search_kernel.h"

namespace {

std::string Folded(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

// What the runtime's text-mode read makes of a file, one byte at a time: CR LF is LF,
// the text ends at the first 0x1A.
std::string TextView(const std::string& raw) {
  std::string text;
  for (size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i)
    if (!(raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')) text += raw[i];
  return text;
}

// The line pieces of a text: each line cut into pieces of `piece` characters, its "\n"
// in the piece where it falls.
std::vector<std::string> Pieces(const std::string& text, size_t piece) {
  std::vector<std::string> pieces;
  for (size_t at = 0; at < text.size();) {
    size_t lf = text.find('\n', at);
    size_t n = std::min(piece, (lf == std::string::npos ? text.size() : lf + 1) - at);
    pieces.push_back(text.substr(at, n));
    at += n;
  }
  return pieces;
}

// The search as a line-by-line read does it: the occurrences counted in each piece on
// its own.
uint64_t CountByPieces(const std::string& text, const std::string& needle, size_t piece, bool fold) {
  uint64_t count = 0;
  for (std::string p : Pieces(text, piece)) {
    if (fold) p = Folded(p);
    for (size_t k = p.find(needle); k != std::string::npos; k = p.find(needle, k + needle.size())) ++count;
  }
  return count;
}

// The replacement as a line-by-line read and write does it: each piece rewritten on its
// own, matched folded and copied as read, then every "\n" written as CR LF.
std::string ReplaceByPieces(const std::string& text, const std::string& needle, const std::string& replacement,
                            size_t piece, bool fold, uint64_t* total) {
  std::string out;
  for (const std::string& p : Pieces(text, piece)) {
    const std::string match = fold ? Folded(p) : p;
    size_t kept = 0;
    for (size_t at = match.find(needle); at != std::string::npos; at = match.find(needle, kept)) {
      out.append(p, kept, at - kept).append(replacement);
      kept = at + needle.size();
    }
    out.append(p, kept, std::string::npos);
  }
  *total = out.size();
  std::string written;
  for (char c : out) {
    if (c == '\n') written += '\r';
    written += c;
  }
  return written;
}

// Hands a file to a scan in reads of the sizes the fuzzer picks: its raw bytes, or their
// text-mode view where the scan wants that.
struct Chunks {
  std::string raw;
  std::vector<size_t> sizes;
  template <class Scanner>
  void Scan(Scanner& scanner, size_t buffer_size) const {
    const std::string input = scanner.wants_text_view() ? TextView(raw) : raw;
    size_t at = 0, next = 0;
    std::vector<char> buffer(buffer_size);
    vnk::ScanBlocks(scanner, buffer.data(), buffer.size(), [&](char* to, size_t want, size_t* got) {
      *got = std::min({want, input.size() - at, sizes.empty() ? want : sizes[next++ % sizes.size()]});
      std::memcpy(to, input.data() + at, *got);
      at += *got;
      return true;
    });
  }
};

void Append(void* out, const char* bytes, size_t n) { static_cast<std::string*>(out)->append(bytes, n); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  bool fold = in.ConsumeBool();
  std::string needle = in.ConsumeRandomLengthString(vnk::REPLACE_SEARCH_TEXT_MAX);
  std::string replacement = in.ConsumeRandomLengthString(vnk::REPLACE_TEXT_MAX);
  const bool long_pieces = in.ConsumeBool();
  const size_t short_piece = 1 + in.ConsumeIntegralInRange<size_t>(0, 40);
  Chunks chunks;
  for (int k = in.ConsumeIntegralInRange(0, 4); k > 0; --k) chunks.sizes.push_back(in.ConsumeIntegralInRange<size_t>(1, 700));
  const size_t buffer_size = 2 * vnk::REPLACE_SEARCH_TEXT_MAX + 2 + in.ConsumeIntegralInRange<size_t>(0, 600);
  chunks.raw = in.ConsumeRemainingBytesAsString();
  if (fold) needle = Folded(needle);
  {
    std::string f = chunks.raw;
    vnk::FoldInPlace(f.data(), f.size());
    FUZZ_CHECK(f == Folded(chunks.raw), "folding");
  }
  const size_t m = needle.size();
  if (m == 0) return 0;
  vnk::fuzz::ExactBytes pin(needle), rep(replacement);
  const std::string text = TextView(chunks.raw);

  // The one-pass search against the piece-by-piece search of the text-mode view.
  if (m <= vnk::SEARCH_TEXT_MAX) {
    const size_t piece = long_pieces ? vnk::SEARCH_PIECE : short_piece;
    const uint64_t want_count = CountByPieces(text, needle, piece, fold);
    for (int pass = 0; pass < 4; ++pass) {
      bool first_only = pass & 1, vector = pass & 2;
      vnk::LineSearch search(pin.data(), m, fold, piece, first_only, vector);
      chunks.Scan(search, buffer_size);
      if (first_only)
        FUZZ_CHECK((search.count() > 0) == (want_count > 0), "found (sse2 %d, piece %zu)", vector, piece);
      else
        FUZZ_CHECK(search.count() == want_count, "count %llu, by pieces %llu (sse2 %d, piece %zu)",
                   static_cast<unsigned long long>(search.count()), static_cast<unsigned long long>(want_count),
                   vector, piece);
    }
  }

  // The replacement pass against the piece-by-piece rewrite.
  const size_t piece = long_pieces ? vnk::REPLACE_PIECE : short_piece;
  uint64_t want_total = 0;
  const std::string want = ReplaceByPieces(text, needle, replacement, piece, fold, &want_total);
  for (bool vector : {false, true}) {
    std::string out;
    vnk::LineReplace pass(pin.data(), m, fold, rep.data(), replacement.size(), piece, vector, Append, &out);
    chunks.Scan(pass, buffer_size);
    FUZZ_CHECK(out == want, "replacement of %zu bytes (sse2 %d, piece %zu)", chunks.raw.size(), vector, piece);
    FUZZ_CHECK(pass.total() == want_total, "total %llu, by pieces %llu", static_cast<unsigned long long>(pass.total()),
               static_cast<unsigned long long>(want_total));
  }
  return 0;
}
