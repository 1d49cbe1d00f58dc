/* Plain C interface to Quorvex, for callers that are not C++ (C, Python ctypes,
 * C#, Go...).
 *
 * A quorvex_converter is an opaque handle holding one converter and the result
 * of its last operation. Every string passed in or out is NUL-terminated UTF-8.
 *
 * Ownership: quorvex_new() gives a handle the caller frees with quorvex_free().
 * Strings returned by the quorvex_get_* functions belong to the handle and stay
 * valid until the next operation on it or until it is freed; never free them.
 *
 * No function throws, aborts or reads through a null pointer: a NULL handle
 * makes an operation return -1 and an accessor return "" or 0; a NULL or
 * ill-formed argument reaches the engine, which reports it in the detail error
 * document exactly as the C++ facade does. Separate handles may be used on
 * separate threads at the same time; one handle, one thread at a time. */
#ifndef QUORVEX_H
#define QUORVEX_H

#include "quorvex_export.h"

#include <stddef.h>

#ifdef __cplusplus
#define QUORVEX_NOEXCEPT noexcept
extern "C" {
#else
#define QUORVEX_NOEXCEPT
#endif

typedef struct quorvex_converter quorvex_converter;

/* A new handle, or NULL when memory is short. */
QUORVEX_EXPORT quorvex_converter* quorvex_new(void) QUORVEX_NOEXCEPT;
/* Frees the handle and its strings; NULL is ignored. */
QUORVEX_EXPORT void quorvex_free(quorvex_converter* converter) QUORVEX_NOEXCEPT;

/* The five operations. Each returns 1 when the result is "S_OK", 0 when it is
 * "E_FAIL" (the detail error document says why) and -1 for a NULL handle. */

/* Checks a CSV file against the schema 1.0 rules. */
QUORVEX_EXPORT int quorvex_crs_csv_check(quorvex_converter* converter, const char* csv_path) QUORVEX_NOEXCEPT;
/* Checks a CSV file against the schema 2.0 rules and a four-digit reporting year. */
QUORVEX_EXPORT int quorvex_crs_csv_check2(quorvex_converter* converter, const char* csv_path,
                                          const char* year) QUORVEX_NOEXCEPT;
/* Converts a CSV file to CRS XML schema 1.0; writes output_path unless it is empty. */
QUORVEX_EXPORT int quorvex_csv_conv_crs_data(quorvex_converter* converter, const char* csv_path,
                                             const char* output_path) QUORVEX_NOEXCEPT;
/* The same for schema 2.0. */
QUORVEX_EXPORT int quorvex_csv_conv_crs_data2(quorvex_converter* converter, const char* csv_path,
                                              const char* output_path) QUORVEX_NOEXCEPT;
/* Reads an XML file back; limit_size in bytes, -1 for none. */
QUORVEX_EXPORT int quorvex_read_xml_file(quorvex_converter* converter, const char* xml_path,
                                         long limit_size) QUORVEX_NOEXCEPT;

/* The fields of the last result; "" (0) before the first operation. */
QUORVEX_EXPORT const char* quorvex_get_result(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_detail_error_info(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_hojin_no(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_giin(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT long quorvex_get_account_report_count(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_crs_data(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_xml_data(const quorvex_converter* converter) QUORVEX_NOEXCEPT;

/* Text of a message code ("HE40001E") in "ja" (the catalogue's own text) or
 * "en"; NULL for an unknown code or language. The text is static. */
QUORVEX_EXPORT const char* quorvex_message_text(const char* code, const char* lang) QUORVEX_NOEXCEPT;

/* 1 when the engine takes the text as not entered: NULL, empty, or nothing but
 * white space (the Unicode White_Space characters, the full-width space U+3000
 * included), which the operations trim from every argument; 0 otherwise. */
QUORVEX_EXPORT int quorvex_is_blank(const char* text) QUORVEX_NOEXCEPT;

/* Writes size bytes to path the way the conversions write their output: into a
 * temporary file in the target's folder that is then put in place atomically,
 * so that a failure or a killed process never leaves a partial file. A symbolic
 * link is followed and kept; an existing file keeps its permissions, and only a
 * regular file the process may write is replaced. Returns 1 on success, 0 on
 * failure (a NULL or empty path, NULL data with a nonzero size, a missing
 * folder...), when the target is left as it was. */
QUORVEX_EXPORT int quorvex_write_file(const char* path, const char* data, size_t size) QUORVEX_NOEXCEPT;

/* The library version, "1.0.0". */
QUORVEX_EXPORT const char* quorvex_version(void) QUORVEX_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
