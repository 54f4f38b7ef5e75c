#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/<target>/: the documented examples of each
kernel, laid out as libFuzzer's FuzzedDataProvider reads them (strings from the front,
numbers and flags from the back). Run from the top folder; existing seeds are kept."""
import hashlib
import os


class Seed:
    def __init__(self):
        self.front = b""
        self.back = []  # bytes in the order the provider takes them from the end

    def string(self, s):  # ConsumeRandomLengthString: "\\" escapes itself, "\\" + other ends
        s = s.encode("latin-1") if isinstance(s, str) else s
        self.front += s.replace(b"\\", b"\\\\") + b"\\x"
        return self

    def raw(self, s):  # ConsumeRemainingBytesAsString
        self.front += s.encode("latin-1") if isinstance(s, str) else s
        return self

    def integral(self, value, lo, hi, bits):  # ConsumeIntegralInRange
        span, offset, taken = hi - lo, 0, []
        while offset < bits and (span >> offset) > 0:
            taken.append(offset)
            offset += 8
        v = value - lo
        for i in range(len(taken)):  # most significant byte first
            self.back.append((v >> (8 * (len(taken) - 1 - i))) & 0xFF)
        return self

    def flag(self, b):
        return self.integral(1 if b else 0, 0, 255, 8)

    def u32(self, v):
        return self.integral(v & 0xFFFFFFFF, 0, 0xFFFFFFFF, 32)

    def i16(self, v):
        return self.integral(v, -32768, 32767, 16)

    def data(self):
        return self.front + bytes(reversed(self.back))


def write(target, seeds):
    folder = os.path.join("fuzz", "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for s in seeds:
        blob = s.data() if isinstance(s, Seed) else (s.encode("latin-1") if isinstance(s, str) else s)
        with open(os.path.join(folder, hashlib.sha1(blob).hexdigest()), "wb") as f:
            f.write(blob)


SJIS_TRAIL_BACKSLASH = "C:\\\x83\x5c\\\x95\x5c.txt"  # two characters whose second byte is 0x5C

write("wildcard", [Seed().string(p).string(n) for p, n in [
    ("*.TXT", "README.TXT"), ("*.TXT", "readme.txt"), ("*", "A"), ("*", ""), ("", ""), ("", "A"),
    ("A?C", "ABC"), ("A?C", "AC"), ("*.*", "FILE"), ("*.*", "FILE."), ("**", "ABC"), ("*?", "X.DAT"),
    ("*?", "X"), ("*?", ""), ("*X", "ABX"), ("*a*a*a*b", "a" * 200)]])

write("validate", ["C:\\DATA\\REPORT.TXT", "REPORT", "REPORT.", "..\\REPORT.TXT", "", "C:", "C:\\",
                   "C:\\DATA\\", ".", "..", ".\\X", "A.B.C", "A.B\\C.D", "C:\\.X", "C:.X", "..\\..\\X",
                   "\\\\\\X", "\\\\SERVER\\SHARE\\X", "1:\\X", "AB:X", "A*B", "A?B", "A<B", "A>B", "A|B",
                   "A/B", "A\"B", "A\tB", "x" * 516, "x" * 517, "N" * 256 + ".E", "N" * 257 + ".E",
                   "N." + "E" * 256, "N." + "E" * 257])

write("root", ["C\0", "C:\0", "C:\\DOS\\FILE.TXT\0", "\0", "\\\\server\\share\0", "abc"])

write("errno", [Seed().u32(c).flag(False) for c in [0, 1, 2, 3, 5, 17, 19, 32, 36, 80, 112, 145, 183,
                                                        188, 202, 1816, 0xFFFFFFFF]])

write("attr_filter", [Seed().u32(a).flag(False).i16(f) for a, f in [
    (0, 0), (0x21, -33), (0x01, 1), (0x02, 2), (0x02, -2), (0x800, 254), (0x820, 254), (0x10, 255),
    (0x27, 200), (0x0, -32768), (0x827, -0x827)]])

paths = ["C:\\DATA\\OLD.V1\\report.txt", "report.txt", "C:\\DATA\\", "C:", "\\\\server\\share\\f.x",
         "dir/sub.d/name", "C:\\A\\B.C.D", ".profile"]
write("split", [Seed().integral(0, 0, 2, 32).raw(p) for p in paths] +
      [Seed().integral(1, 0, 2, 32).raw(SJIS_TRAIL_BACKSLASH)])

write("join", [Seed().integral(lead, 0, 2, 32).integral(cap, 0, 600, 64).string(d).string(di).string(n).string(e)
               for lead, cap, d, di, n, e in [
                   (0, 260, "C", "\\DATA", "REPORT", "TXT"), (0, 260, "C:\\X", "\\DATA\\", "REPORT", ".TXT"),
                   (0, 260, "", "", "", ""), (0, 10, "C", "\\DATA", "REPORT", "TXT"),
                   (1, 260, "C", "\\\x83\x5c", "name", "ext"), (0, 260, "", "dir/", "n", "")]])

truncate = [("C:\\Program Files\\Some Long Folder\\Sub\\file.txt", 30),
            ("C:\\A\\BB\\CCC\\DDDD\\EEEEE\\FFFFFF\\report.doc", 30),
            ("D:\\Data\\Projects\\Reports\\Quarterly\\Summary\\results.xls", 35),
            ("C:\\VeryLongDirectoryName\\file.txt", 25), ("Docs\\Letters\\Archive\\Old\\letter.txt", 25),
            ("C:\\Short\\file.txt", 25), ("\\\\server\\share\\dir\\sub\\file.txt", 25),
            ("C:\\" + "d" * 300 + "\\f.txt", 40), ("C:\\x\\" + "n" * 250 + ".e", 30)]
write("truncate", [Seed().integral(0, 0, 2, 32).flag(True).integral(w, 20, 300, 32).string(p) for p, w in truncate] +
      [Seed().integral(1, 0, 2, 32).flag(True).integral(25, 20, 300, 32).string(SJIS_TRAIL_BACKSLASH * 4)])

acc = []
for sizes in ([1, 4096, 4097, 0], [0], [123456]):
    s = Seed().integral(1, 0, 3, 32).integral(3, 0, 10, 32).integral(len(sizes), 0, 20, 32)
    for b in sizes:
        s.flag(True).integral(b, 0, 1 << 20, 64)
    acc.append(s.raw("*.txt"))
acc.append(Seed().integral(2, 0, 3, 32).integral(0, 0, 20, 32).raw("p" * 256))
write("accounting", acc)

walk = Seed().integral(5, 0, 40, 64)
for p in ["C:\\T\\a", "C:\\T\\B", "C:\\T\\a\\x", "A.B", "A\\B"]:
    walk.string(p)
for _ in range(4):
    walk.flag(False)
write("walk", [walk.string("..")])

write("compare", [Seed().flag(False).string("Hello World").integral(1, 0, 4, 32).integral(0, 0, 10, 64)
                  .flag(True).flag(True),
                  Seed().flag(True).string("same\0after nul").integral(0, 0, 4, 32).flag(True)])

write("transforms", [Seed().flag(True).integral(tab, 2, 12, 32).integral(len(f), 0, 300, 64).raw(f).raw(t).raw(text)
                     for tab, f, t, text in [
                         (4, "ab", "bc", "a    b\t         x   "), (8, "\0", "x", "a\0b" + " " * 10 + "\tz"),
                         (3, "abc", "bca", "\t" * 40), (2, "", "", "no blanks at all")]] +
      [Seed().flag(False).integral(70000, 2, 0x7FFFFFFF, 32).integral(0, 0, 300, 64).raw("x\ty")])

write("count", [Seed().integral(k, 0, 8, 32).raw(text) for k, text in [
    (0, "two words\r\nthird"), (0, "lf\nonly\n"), (0, "\r\r\r"), (0, "\xe9\xe8 \xff"), (0, "")]])

write("textfilter", [Seed().flag(m).flag(p).string(c).raw(t) for m, p, c, t in [
    (False, False, "\r", "a\r\nb\r\n"), (True, True, "0123456789\n", "a1b2\nc3"), (True, False, "\0", "x\0y\0")]])

write("uu", [Seed().flag(False).raw(b) for b in ["Cat", "A", "x" * 45, "y" * 46, bytes(range(256))]] +
      [Seed().flag(True).raw(t) for t in ["#0V%T\n", "!00  \n", "M" + "!" * 60 + "\n", " \n", "`\n"]])

write("sort", [Seed().i16(t).flag(True).integral(0, -3, 45, 32).integral(0, -3, 45, 32).integral(3, 0, 60, 64)
               .string("b").integral(1, 0, 7, 32).string("a").integral(1, 0, 7, 32).string("A").integral(1, 0, 7, 32)
               for t in (1, 2, 9, 10, 0)] +
      [Seed().i16(1).flag(False).integral(10, 1, 40, 32).integral(2, -3, 45, 32).integral(3, -3, 45, 32)
       .integral(3, 0, 60, 64).raw("0123456789abXdefghijABxDEFGHIJ")])

write("search", [Seed().flag(f).string(s).string(r).flag(True).integral(0, 0, 40, 64).integral(0, 0, 4, 32)
                 .integral(0, 0, 600, 64).raw(t)
                 for f, s, r, t in [(False, "world", "x", "Hello World\n"), (True, "world", "earth", "Hello World\n"),
                                    (False, "aa", "b", "aaaa\n"), (True, "cat", "dog", "Cat cat CAT\n"),
                                    (False, "a", "", "banana\n"), (True, "a", "b", "AaB\n"),
                                    (False, "x", "y" * 513, "x" * 3000)]])
