# Sourced by the checks once $build is set: the architecture that build folder was
# configured for (its VNK_TARGET), and from it bits (32 or 64), dll_name (VARNOK-32.DLL
# or VARNOK-64.DLL), dll (its path) and triple (the MinGW tools' prefix, as in
# "$triple-objdump").
case $(sed -n 's/^VNK_TARGET:[A-Z]*=//p' "$build/CMakeCache.txt" 2>/dev/null) in
    win64) bits=64 triple=x86_64-w64-mingw32 ;;
    *) bits=32 triple=i686-w64-mingw32 ;;
esac
dll_name=VARNOK-$bits.DLL
dll=$build/$dll_name
