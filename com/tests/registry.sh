#!/bin/sh
# Registration and unregistration as the registry shows them, through Wine's
# regsvr32 and reg. Arguments: wine loader, the server's Windows path.
# Leaves the server registered. Prints "N passed, M failed".
WINE=$1
SERVER=$2
DATA_CLSID='{2C105232-2683-4E6C-9AC7-C0397035719B}'
RESULT_CLSID='{B4D31638-1B2E-4906-B00C-0CAFFFF11A52}'
LIBID='{A1E7F34F-6615-476A-B1F5-E15160DC8EF9}'
passed=0
failed=0

# expect present|absent KEY [reg query options...] [-- TEXT that the output must hold]
expect() {
  want=$1 key=$2
  shift 2
  text=""
  args=""
  while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then text=$2; break; fi
    args="$args $1"
    shift
  done
  # shellcheck disable=SC2086
  output=$("$WINE" reg query "$key" $args 2>/dev/null)
  found=$?
  if [ "$want" = present ] && [ $found -eq 0 ] && { [ -z "$text" ] || printf '%s' "$output" | grep -qF -- "$text"; }; then
    passed=$((passed + 1))
  elif [ "$want" = absent ] && [ $found -ne 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL: %s should be %s %s\n' "$key" "$want" "${text:+holding $text}"
  fi
}

"$WINE" regsvr32 /s "$SERVER"
for class in CLCCsvConvDataCRS CLCCsvConvResultCRS; do
  expect present "HKCR\\kvr.$class.1\\CLSID"
  expect present "HKCR\\kvr.$class\\CurVer" -- "kvr.$class.1"
done
expect present "HKCR\\CLSID\\$DATA_CLSID\\InprocServer32" /v ThreadingModel -- Apartment
expect present "HKCR\\CLSID\\$RESULT_CLSID\\InprocServer32" /v ThreadingModel -- Apartment
expect present "HKCR\\CLSID\\$DATA_CLSID\\ProgID" -- kvr.CLCCsvConvDataCRS.1
expect present "HKCR\\CLSID\\$DATA_CLSID\\TypeLib" -- "$LIBID"
expect present "HKCR\\CLSID\\$DATA_CLSID\\Programmable"
expect present "HKCR\\TypeLib\\$LIBID\\1.0"
expect present "HKCR\\AppID\\Quorvex.DLL" /v AppID

"$WINE" regsvr32 /s /u "$SERVER"
for class in CLCCsvConvDataCRS CLCCsvConvResultCRS; do
  expect absent "HKCR\\kvr.$class.1"
  expect absent "HKCR\\kvr.$class"
done
expect absent "HKCR\\CLSID\\$DATA_CLSID"
expect absent "HKCR\\CLSID\\$RESULT_CLSID"
expect absent "HKCR\\TypeLib\\$LIBID\\1.0"
expect present "HKCR\\AppID\\Quorvex.DLL" /v AppID

"$WINE" regsvr32 /s "$SERVER"
echo "$passed passed, $failed failed"
