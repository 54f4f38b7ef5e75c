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
