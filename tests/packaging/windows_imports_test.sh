#!/bin/sh
# The 32-bit Windows program cannot run here, so what it would do with time is checked in its import table: it must
# take none of the C runtime's time functions, which in the 32-bit runtime count seconds in 32 bits and end in
# January 2038, and which read a TZ variable in a format of their own.
#   usage: windows_imports_test.sh PROGRAM.exe
set -u
exe=$1
if [ ! -f "$exe" ]; then
    echo "FAIL: no 32-bit Windows program at $exe (make windows builds it)"
    exit 1
fi
objdump=i686-w64-mingw32-objdump
command -v "$objdump" >/dev/null 2>&1 || objdump=objdump
if ! table=$("$objdump" -p "$exe" 2>&1); then
    echo "FAIL: $objdump cannot read $exe:"
    echo "$table"
    exit 1
fi
if ! echo "$table" | grep -q 'DLL Name:'; then
    echo "FAIL: $objdump shows no import table in $exe"
    exit 1
fi
status=0
for name in time mktime localtime gmtime difftime _time32 _mktime32 _localtime32 _gmtime32; do
    # An import line is the hint's address, the hint and the name.
    if echo "$table" | grep -Eq "^[[:space:]]+[0-9a-f]+[[:space:]]+[0-9]+[[:space:]]+$name\$"; then
        echo "FAIL: $exe imports $name"
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "$exe imports none of the C runtime's 32-bit time functions"
exit $status
