# Checks a CRS CSV file through the C interface: python3 check.py LIBRARY YEAR FILE
import ctypes
import sys

lib = ctypes.CDLL(sys.argv[1])
lib.quorvex_new.restype = ctypes.c_void_p
lib.quorvex_free.argtypes = [ctypes.c_void_p]
lib.quorvex_crs_csv_check2.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_char_p]
for name in ("quorvex_get_result", "quorvex_get_detail_error_info"):
    getattr(lib, name).argtypes = [ctypes.c_void_p]
    getattr(lib, name).restype = ctypes.c_char_p
lib.quorvex_get_account_report_count.argtypes = [ctypes.c_void_p]
lib.quorvex_get_account_report_count.restype = ctypes.c_long

converter = lib.quorvex_new()
try:
    ok = lib.quorvex_crs_csv_check2(converter, sys.argv[3].encode(), sys.argv[2].encode())
    print(lib.quorvex_get_result(converter).decode(), lib.quorvex_get_account_report_count(converter))
    if ok != 1:
        print(lib.quorvex_get_detail_error_info(converter).decode())
finally:
    lib.quorvex_free(converter)
sys.exit(0 if ok == 1 else 1)
