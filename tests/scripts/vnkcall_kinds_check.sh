#!/bin/bash
# vnkcall.exe calls exports of every argument and result kind: string arrays, arrays of
# numbers, ByRef Longs, Integers, Longs, Strings; and records, ByRef Strings and Doubles
# where this build exports a function that takes them. Results and outputs (labelled with
# the declarations' argument names) are checked against what od, find and the shell see
# in the files. Then vnkcall's own reading of numbers, names and escapes.
# Usage: vnkcall_kinds_check.sh BUILD_DIR
set -uo pipefail
build=$(cd "$1" && pwd)
top=$(cd "$(dirname "$0")/../.." && pwd)
source "$top/scripts/wine-env.sh"
source "$top/tests/scripts/arch.sh"
wine_arch $bits
prefix=$WINEPREFIX
work=$(mktemp -d /tmp/vnk-kinds.XXXXXX)
drive=""
cleanup() {
    [ -n "$drive" ] && rm -f "$prefix/dosdevices/$drive"
    rm -rf "$work"
}
trap cleanup EXIT
win() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
W=$(win "$work")

failures=0
call() { "$top/tools/wine-run" "$build/vnkcall.exe" "$@" 2>&1 | tr -d '\r'; }
expect() {  # expect NAME EXPECTED ACTUAL
    if [ "$2" == "$3" ]; then
        echo "ok   $1"
    else
        echo "FAIL $1"; echo "  expected: $(printf '%q' "$2")"; echo "  actual:   $(printf '%q' "$3")"
        failures=$((failures + 1))
    fi
}
exported() { [[ "$(call "$1")" != *"is not exported"* ]]; }
hexdump() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

# String array in, Integer and ByRef Long: the string array file both ways.
out=$(call cArrayStringOnDisk "$W\\s.txt" 'ab||c' 0 -5)
expect "String() saved" $'9\nItems(1) = ab\nItems(2) = \nItems(3) = c\nElementCount = 3' "$out"
expect "string array file bytes" "61 62 0d 0a 0d 0a 63 0d 0a" "$(hexdump "$work/s.txt")"
out=$(call cArrayStringOnDisk "$W\\s.txt" '#5' 1 99)
expect "String() loaded" $'9\nItems(1) = ab\nItems(2) = \nItems(3) = c\nItems(4) = \nItems(5) = \nElementCount = 3' "$out"

# Array of numbers: the raw data block, little-endian, element 0 first.
out=$(call cArrayOnDisk "$W\\i.dat" 'I:1,2,-3' 0)
expect "Any() saved" $'6\nValues = 1 2 -3' "$out"
expect "array data file bytes" "01 00 02 00 fd ff" "$(hexdump "$work/i.dat")"
out=$(call cArrayOnDisk "$W\\i.dat" 'I#3' 1)
expect "Any() loaded" $'6\nValues = 1 2 -3' "$out"
out=$(call cArrayOnDisk "$W\\i.dat" 'L#2' 1)
expect "Any() of another byte size" $'-16\nValues = 0 0' "$out"

# A listing into a string array, a list file and one name per call, against ls.
mkdir "$work/d" "$work/d/sub"
for n in one.txt two.txt three.dat; do : > "$work/d/$n"; done
WD=$(win "$work/d")
out=$(call cFilesInDirToArray "$WD\\*.txt" 255 '#3' | sed -n '1p;2,4s/^Names([0-9]) = //p' | sort)
expect "String() listing" "$(printf '2\n\none.txt\ntwo.txt\n' | sort)" "$out"
out=$(call cFilesInDirOnDisk "$W\\list.txt" "$WD\\*.*" 255)
expect "Integer result" "3" "$out"
expect "list file" "$(ls -1 "$work/d" | grep -v '^sub$' | sort)" "$(tr -d '\r' < "$work/list.txt" | sort)"
expect "list file line ends" "3" "$(grep -c $'\r$' "$work/list.txt")"
out=$(call cFilesInDirectory "$WD\\three.*" -1)
expect "String result" "three.dat" "$out"

# Three Strings and a Long result: the search, from the root of a drive made for the run,
# against find. A root's files are written with one backslash.
mkdir -p "$work/root/a/b" "$work/root/c"
for f in top.log a/x.log a/b/y.log c/z.log c/not.txt; do : > "$work/root/$f"; done
for letter in r s t u v w; do
    if [ ! -e "$prefix/dosdevices/$letter:" ]; then
        drive="$letter:"
        ln -s "$work/root" "$prefix/dosdevices/$drive"
        break
    fi
done
if [ -n "$drive" ]; then
    D=$(printf '%s' "$drive" | tr a-z A-Z)
    out=$(call cSearchFile "$D\\" '*.log' "$W\\found.txt")
    expect "Long result" "4" "$out"
    want=$(cd "$work/root" && find . -type f -name '*.log' | sed "s|^\./|$D/|" | tr / '\\' | sort)
    expect "search result file" "$want" "$(tr -d '\r' < "$work/found.txt" | sort)"
    expect "root file line" "$D\\top.log" "$(tr -d '\r' < "$work/found.txt" | head -1)"
else
    echo "skip search from a drive root: no free drive letter"
fi

# Kinds whose exports live elsewhere in the library, when this build has them.
if exported cUniqueFileName; then
    out=$(call cUniqueFileName 'AB')
    expect "ByRef String" "1" "$(printf '%s\n' "$out" | grep -c '^Prefix = AB$')"
fi
if exported cSplitPath; then
    out=$(call cSplitPath 'C:\DATA\OLD.V1\report.txt' -)
    expect "PathParts record" $'-1\nParts.Drive = C:\nParts.Directory = \\DATA\\OLD.V1\\\nParts.FileName = report\nParts.Extension = .txt' "$out"
fi
if exported cFileGetAttrib; then
    out=$(call cFileGetAttrib "$W\\s.txt" -)
    expect "FileAttrib record" "1" "$(printf '%s\n' "$out" | grep -c '^Attr = Status -1 ')"
fi
if exported cGetDiskFree; then
    out=$(call cGetDiskFree 'C:')
    expect "Double result" "1" "$(printf '%s\n' "$out" | grep -cE '^[0-9]+(\.[0-9]+)?(e\+[0-9]+)?$')"
fi
if exported cFilesSlack; then
    out=$(call cFilesSlack "$WD\\*.*" 0 0)
    expect "ByRef Double" "2" "$(printf '%s\n' "$out" | grep -cE '^Size(OnDisk)? = [0-9.e+-]+$')"
fi

# The Unicode twins: arguments read from the UTF-16 command line (a shell's UTF-8 here,
# quotes and backslashes kept as given), Strings passed in UTF-16 and printed back in
# UTF-8. Text of a file's contents reaches the file in the ANSI code page (Wine's 1252
# here: é is E9, € is 80, ü FC), names and paths keep every character.
out=$(call cArrayStringOnDiskW "$W\\w.txt" 'aé|€ b|q"\r\"' 0 0)
expect "twin: String() saved" $'17\nItems(1) = aé\nItems(2) = € b\nItems(3) = q"\\r\\"\nElementCount = 3' "$out"
expect "twin: the lines in the ANSI code page" "61 e9 0d 0a 80 20 62 0d 0a 71 22 5c 72 5c 22 0d 0a" "$(hexdump "$work/w.txt")"
out=$(call cArrayStringOnDiskW "$W\\w.txt" '#3' 1 0)
expect "twin: String() loaded" $'17\nItems(1) = aé\nItems(2) = € b\nItems(3) = q"\\r\\"\nElementCount = 3' "$out"
out=$(call cFileChangeCharsW "$W\\w.txt" 'é€' '\u00fc\x41' '')
expect "twin: ByRef Strings, with \\u and \\x" $'17\nFromChars = é€\nToChars = üA' "$out"
expect "twin: characters changed in the ANSI code page" "61 fc 0d 0a 41 20 62 0d 0a 71 22 5c 72 5c 22 0d 0a" "$(hexdump "$work/w.txt")"
out=$(call cSplitPathW 'C:\Données\€ 日本\rapport.txt' -)
expect "twin: PathParts in UTF-8" $'-1\nParts.Drive = C:\nParts.Directory = \\Données\\€ 日本\\\nParts.FileName = rapport\nParts.Extension = .txt' "$out"
expect "twin: String result in UTF-8" 'C:\Données\日本\rapport.été.txt' "$(call cMakePathW 'C:' '\Données\日本\' 'rapport.été' '.txt')"
expect "twin: name in any case, Long argument" 'C:\Program Filés....filé.txt' "$(call CTRUNCATEPATHw 'C:\Program Filés\Some Long Folder\Sub\filé.txt' 30)"
out=$(call cTruncatePathW 'C:\x.txt' 3x); rc=$?
expect "twin: malformed number refused" "2 vnkcall: MaxLength: \"3x\" is not a Long" "$rc ${out%% (*}"
expect "twin: --help shows the prototype" 'long VARNOK32_API cFileCopyW(const wchar_t* Source, const wchar_t* Target);' "$(call --help cfilecopyw)"

# vnkcall's own reading of its arguments: whole numbers in decimal (a leading 0 is not
# octal) or 0x hexadecimal, anything else refused with exit status 2 before the DLL is
# called; export names in any letter case; result codes named; ByRef String escapes.
long='C:\Program Files\Some Long Folder\Sub\file.txt'
for n in 30 030 0x1E 0X1e +30; do
    expect "Long argument $n" 'C:\Program Files\Sub..file.txt' "$(call cTruncatePath "$long" "$n")"
done
expect "export name in another case" 'C:\Program Files\Sub..file.txt' "$(call CTRUNCATEPATH "$long" 30)"
for bad in 30x abc '' 0x 3.0 ' 30' 4294967296; do
    out=$(call cTruncatePath "$long" "$bad"); rc=$?
    expect "Long argument '$bad' refused" "2 vnkcall: MaxLength: \"$bad\" is not a Long" "$rc ${out%% (*}"
done
out=$(call cFileSort "$W\\none.txt" "$W\\o.txt" 70000 0 0 0 0); rc=$?
expect "Integer out of range refused" "2 vnkcall: SortType: \"70000\" is not an Integer" "$rc ${out%% (*}"
expect "no file made for a refused call" "absent" "$([ -e "$work/o.txt" ] && echo present || echo absent)"
out=$(call cArrayOnDisk "$W\\i.dat" 'I:1,x' 0); rc=$?
expect "array element refused" "2 vnkcall: Values: \"I:1,x\" is not an Integer" "$rc ${out%% (*}"
expect "negative result with its code name" "-32750 RC_CANT_OPEN_FIRST" "$(call cFileLineCount "$W\\none.txt")"
printf 'a\0b\\c\rd\x80e' > "$work/bytes.bin"
out=$("$top/tools/wine-run" "$build/vnkcall.exe" cFileFilter "$W\\bytes.bin" "$W\\kept.bin" '\0\\\x0D\x80' </dev/null |
    od -An -tx1 | tr -s ' \n' ' ')
expect "ByRef String escapes: the call" " 35 0a 43 68 61 72 73 20 3d 20 00 5c 0d 80 0a " "$out"
expect "ByRef String escapes: the bytes dropped" "61 62 63 64 65" "$(hexdump "$work/kept.bin")"
out=$(call cFileFilter "$W\\bytes.bin" "$W\\kept2.bin" 'a\qb'); rc=$?
expect "unknown escape refused" "2 vnkcall: Chars: \"a\\qb\" is not a ByRef String" "$rc ${out%% (*}"
raw=$("$top/tools/wine-run" "$build/vnkcall.exe" cNoSuchExport 2>&1 </dev/null | od -An -c | tr -d ' \n')
expect "messages end in a plain LF" "" "$(grep -o '\\r' <<<"$raw" || true)"

[ "$failures" -eq 0 ] && echo "all kinds called" || echo "$failures failure(s)"
exit $((failures != 0))
