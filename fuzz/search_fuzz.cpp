// The search matcher and the replacement writer: pieces, folding, the first match and
// the non-overlapping count against plain searches, and a replacement checked against a
// plain rewrite, with the output cut into writes of more than 4096 bytes (or a piece's
// end) and never a byte lost, doubled or written after the sink failed.
#include "fuzz/fuzz_util.h"
#include "text/search_kernel.h"

namespace {

struct Sink {
  std::string written;
  std::vector<size_t> writes;
  size_t fail_after = static_cast<size_t>(-1);  // writes that succeed before one fails
  bool failed = false;
  static bool Write(void* context, const char* bytes, size_t n) {
    auto* s = static_cast<Sink*>(context);
    FUZZ_CHECK(!s->failed, "a write after the sink failed");
    if (s->writes.size() == s->fail_after) {
      s->failed = true;
      return false;
    }
    s->writes.push_back(n);
    s->written.append(bytes, n);
    return true;
  }
};

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

// The search as a line-by-line read does it: each line cut into pieces of `piece`
// characters, the occurrences counted in each piece on its own.
uint64_t CountByPieces(const std::string& text, const std::string& needle, size_t piece) {
  uint64_t count = 0;
  for (size_t at = 0; at < text.size();) {
    size_t lf = text.find('\n', at);
    size_t n = std::min(piece, (lf == std::string::npos ? text.size() : lf + 1) - at);
    std::string p = text.substr(at, n);
    for (size_t k = p.find(needle); k != std::string::npos; k = p.find(needle, k + needle.size())) ++count;
    at += n;
  }
  return count;
}

// Hands out the file in reads of the sizes the fuzzer picks.
struct Chunks {
  const std::string* raw;
  size_t at = 0;
  std::vector<size_t> sizes;
  size_t next = 0;
  static size_t Read(void* self, char* to, size_t want, bool* end) {
    auto* c = static_cast<Chunks*>(self);
    size_t n = std::min({want, c->raw->size() - c->at, c->sizes.empty() ? want : c->sizes[c->next++ % c->sizes.size()]});
    std::memcpy(to, c->raw->data() + c->at, n);
    c->at += n;
    if (n == 0 || c->at == c->raw->size()) *end = true;
    return n;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  bool fold = in.ConsumeBool();
  std::string needle = in.ConsumeRandomLengthString(vnk::REPLACE_SEARCH_TEXT_MAX);
  std::string replacement = in.ConsumeRandomLengthString(vnk::REPLACE_TEXT_MAX);
  size_t fail_after = in.ConsumeBool() ? in.ConsumeIntegralInRange<size_t>(0, 4) : static_cast<size_t>(-1);
  std::string text = in.ConsumeRemainingBytesAsString();
  if (text.size() > vnk::REPLACE_PIECE) text.resize(vnk::REPLACE_PIECE);
  if (fold) needle = Folded(needle);

  // Pieces: up to and including the first LF within the limit.
  {
    vnk::fuzz::ExactBytes t(text);
    size_t limit = 1 + in.ConsumeIntegralInRange<size_t>(0, 3000);
    size_t got = vnk::PieceLength(t.data(), text.size(), limit);
    size_t span = std::min(text.size(), limit);
    size_t lf = text.find('\n');
    FUZZ_CHECK(got == (lf != std::string::npos && lf < span ? lf + 1 : span), "piece length");
  }

  std::string match = fold ? Folded(text) : text;
  {
    std::string f = text;
    vnk::FoldInPlace(f.data(), f.size());
    FUZZ_CHECK(f == Folded(text), "folding");
  }
  vnk::fuzz::ExactBytes hay(match), as_read(text), pin(needle), rep(replacement);
  const size_t n = text.size(), m = needle.size(), r = replacement.size();

  // First match from any place, and the non-overlapping count.
  size_t from = n == 0 ? 0 : in.ConsumeIntegralInRange<size_t>(0, n + 1);
  size_t got = vnk::FindFrom(hay.data(), n, from, pin.data(), m);
  size_t want = (m == 0 || from > n) ? std::string::npos : match.find(needle, from);
  FUZZ_CHECK(got == (want == std::string::npos ? vnk::NO_MATCH : want), "first match from %zu", from);
  size_t count = 0;
  if (m > 0)
    for (size_t at = match.find(needle); at != std::string::npos; at = match.find(needle, at + m)) ++count;
  FUZZ_CHECK(vnk::CountMatches(hay.data(), n, pin.data(), m) == count, "count");
  if (m == 0) return 0;

  // The one-pass search over blocks of any size, with and without SSE2, against the
  // piece-by-piece search of the text-mode view.
  if (m <= vnk::SEARCH_TEXT_MAX) {
    size_t piece = in.ConsumeBool() ? vnk::SEARCH_PIECE : 1 + in.ConsumeIntegralInRange<size_t>(0, 40);
    uint64_t want_count = CountByPieces(fold ? Folded(TextView(text)) : TextView(text), needle, piece);
    Chunks chunks{&text};
    for (int k = in.ConsumeIntegralInRange(0, 4); k > 0; --k) chunks.sizes.push_back(in.ConsumeIntegralInRange<size_t>(1, 700));
    size_t size = 2 * vnk::SEARCH_TEXT_MAX + 2 + in.ConsumeIntegralInRange<size_t>(0, 600);
    for (int pass = 0; pass < 4; ++pass) {
      bool first_only = pass & 1, vector = pass & 2;
      vnk::LineSearch search(pin.data(), m, fold, piece, first_only, vector);
      chunks.at = chunks.next = 0;
      std::vector<char> buffer(size);
      vnk::SearchBlocks(search, buffer.data(), size, &Chunks::Read, &chunks);
      if (first_only)
        FUZZ_CHECK((search.count() > 0) == (want_count > 0), "found (sse2 %d, piece %zu)", vector, piece);
      else
        FUZZ_CHECK(search.count() == want_count, "count %llu, by pieces %llu (sse2 %d, piece %zu)",
                   static_cast<unsigned long long>(search.count()), static_cast<unsigned long long>(want_count),
                   vector, piece);
    }
  }

  // The replacement of one piece.
  std::string expect;
  size_t kept = 0;
  for (size_t at = match.find(needle); at != std::string::npos; at = match.find(needle, kept)) {
    expect.append(text, kept, at - kept).append(replacement);
    kept = at + m;
  }
  expect.append(text, kept, std::string::npos);

  Sink sink;
  sink.fail_after = fail_after;
  auto out = std::make_unique<vnk::ReplaceOutput>(&Sink::Write, &sink);
  bool ok = vnk::ReplacePiece(as_read.data(), hay.data(), n, pin.data(), m, rep.data(), r, *out);
  FUZZ_CHECK(ok == !sink.failed && out->failed() == sink.failed, "failure not reported");
  if (ok) {
    FUZZ_CHECK(sink.written == expect, "replacement of %zu bytes", n);
    FUZZ_CHECK(out->total() == expect.size(), "total");
  } else {
    FUZZ_CHECK(expect.compare(0, sink.written.size(), sink.written) == 0, "written before the failure");
  }
  for (size_t i = 0; i + 1 < sink.writes.size(); ++i)
    FUZZ_CHECK(sink.writes[i] > vnk::REPLACE_FLUSH, "a write of %zu bytes before the piece ended", sink.writes[i]);
  return 0;
}
