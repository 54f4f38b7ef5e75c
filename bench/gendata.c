/* Data of the benchmark, the same bytes on every run (a fixed pseudo-random sequence):
 *   gendata text FILE MB    lines of prose, log and program text with CR LF line ends
 *   gendata binary FILE MB  pseudo-random bytes
 *   gendata tree DIR TOPS SUBS FILES
 *                           TOPS folders below DIR, SUBS folders in each, FILES small files in
 *                           every folder (half *.txt, half *.dat)
 */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

static uint64_t state = 0x9E3779B97F4A7C15ull;
static uint64_t next(void) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  return state;
}
static unsigned below(unsigned n) { return (unsigned)((next() >> 33) % n); }

static const char* words[] = {
    "the", "of", "and", "to", "in", "is", "that", "for", "it", "as", "was", "with", "be", "by", "on",
    "not", "he", "this", "are", "or", "his", "from", "at", "which", "but", "have", "an", "had", "they",
    "you", "were", "their", "one", "all", "we", "can", "her", "has", "there", "been", "if", "more",
    "when", "will", "would", "who", "so", "no", "file", "record", "customer", "invoice", "order",
    "amount", "total", "account", "report", "window", "printer", "database", "network", "server",
    "error", "warning", "value", "number", "string", "address", "London", "Paris", "Berlin", "Monday",
    "January", "Windows", "Basic", "Smith", "Johnson", "Miller", "quarterly", "balance", "payment",
    "shipment", "delivered", "pending", "approved", "rejected", "cancelled", "received", "updated",
    "directory", "program", "memory", "disk", "drive", "copy", "delete", "search", "replace", "sort"};
enum { NWORDS = sizeof words / sizeof words[0] };

static size_t put(char* p, const char* s) {
  size_t n = strlen(s);
  memcpy(p, s, n);
  return n;
}

/* One line into p; returns its length (CR LF included). */
static size_t line(char* p) {
  size_t o = 0;
  unsigned kind = below(10);
  if (kind < 5) { /* prose */
    unsigned n = 4 + below(14);
    for (unsigned i = 0; i < n; ++i) {
      const char* w = words[below(NWORDS)];
      if (i) p[o++] = ' ';
      size_t start = o;
      o += put(p + o, w);
      if (i == 0 && p[start] >= 'a' && p[start] <= 'z') p[start] -= 32;
      if (i + 1 < n && below(12) == 0) p[o++] = ',';
    }
    p[o++] = '.';
  } else if (kind < 8) { /* log record */
    o += (size_t)sprintf(p + o, "2024-%02u-%02u %02u:%02u:%02u %s user%u %s %s=%u", 1 + below(12), 1 + below(28),
                         below(24), below(60), below(60), below(4) ? "INFO " : "ERROR", below(5000),
                         words[below(NWORDS)], words[below(NWORDS)], below(100000));
  } else if (kind < 9) { /* indented program text, with TABs */
    unsigned depth = below(4);
    for (unsigned i = 0; i < depth; ++i) p[o++] = '\t';
    o += (size_t)sprintf(p + o, "If %s(%u) > %s Then %s = %s + %u", words[below(NWORDS)], below(100),
                         words[below(NWORDS)], words[below(NWORDS)], words[below(NWORDS)], below(1000));
  } else if (kind < 10 && below(3) == 0) { /* blank line */
  } else { /* table row, blank padded */
    o += (size_t)sprintf(p + o, "%-12s%10u    %-10s%8u.%02u", words[below(NWORDS)], below(1000000),
                         words[below(NWORDS)], below(10000), below(100));
  }
  p[o++] = '\r';
  p[o++] = '\n';
  return o;
}

static int text(const char* path, uint64_t bytes) {
  FILE* f = fopen(path, "wb");
  if (!f) return 1;
  static char buf[1 << 20];
  uint64_t done = 0;
  while (done < bytes) {
    size_t o = 0;
    while (o < sizeof buf - 512 && done + o < bytes) o += line(buf + o);
    if (done + o > bytes) { /* end on a whole line: drop the one that overshoots */
      while (o > 0 && done + o > bytes) {
        --o;
        while (o > 0 && buf[o - 1] != '\n') --o;
      }
      if (o == 0) break;
    }
    fwrite(buf, 1, o, f);
    done += o;
  }
  return fclose(f) != 0;
}

static int binary(const char* path, uint64_t bytes) {
  FILE* f = fopen(path, "wb");
  if (!f) return 1;
  static uint64_t buf[1 << 17];
  for (uint64_t done = 0; done < bytes; done += sizeof buf) {
    for (size_t i = 0; i < sizeof buf / 8; ++i) buf[i] = next();
    fwrite(buf, 1, bytes - done < sizeof buf ? (size_t)(bytes - done) : sizeof buf, f);
  }
  return fclose(f) != 0;
}

static int files_in(const char* dir, unsigned count) {
  static char data[4096];
  char path[512];
  for (unsigned i = 0; i < count; ++i) {
    snprintf(path, sizeof path, "%s/file%04u.%s", dir, i, (i & 1) ? "dat" : "txt");
    FILE* f = fopen(path, "wb");
    if (!f) return 1;
    size_t n = below(sizeof data);
    for (size_t k = 0; k < n; ++k) data[k] = (char)('a' + below(26));
    fwrite(data, 1, n, f);
    if (fclose(f) != 0) return 1;
  }
  return 0;
}

static int tree(const char* root, unsigned tops, unsigned subs, unsigned files) {
  char top[512], sub[600];
  mkdir(root, 0777);
  for (unsigned t = 0; t < tops; ++t) {
    snprintf(top, sizeof top, "%s/top%02u", root, t);
    if (mkdir(top, 0777) != 0 || files_in(top, files) != 0) return 1;
    for (unsigned s = 0; s < subs; ++s) {
      snprintf(sub, sizeof sub, "%s/sub%03u", top, s);
      if (mkdir(sub, 0777) != 0 || files_in(sub, files) != 0) return 1;
    }
  }
  return 0;
}

int main(int argc, char** argv) {
  if (argc == 4 && strcmp(argv[1], "text") == 0) return text(argv[2], strtoull(argv[3], 0, 10) << 20);
  if (argc == 4 && strcmp(argv[1], "binary") == 0) return binary(argv[2], strtoull(argv[3], 0, 10) << 20);
  if (argc == 6 && strcmp(argv[1], "tree") == 0)
    return tree(argv[2], (unsigned)atoi(argv[3]), (unsigned)atoi(argv[4]), (unsigned)atoi(argv[5]));
  fprintf(stderr, "usage: gendata text|binary FILE MB | tree DIR TOPS SUBS FILES\n");
  return 2;
}
