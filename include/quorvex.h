/* Plain C interface to Quorvex, for callers that are not C++ (C, Python ctypes,
 * C#, Go...).
 *
 * A quorvex_converter is an opaque handle holding one converter and the result
 * of its last operation. Every string passed in or out is NUL-terminated UTF-8,
 * except the CSV bytes (data, size) of the buffer operations.
 *
 * Ownership: quorvex_new() gives a handle the caller frees with quorvex_free().
 * Strings returned by the quorvex_get_* functions belong to the handle and stay
 * valid until the next operation on it or until it is freed; never free them.
 *
 * No function throws, aborts or reads through a null pointer: a NULL handle
 * makes an operation return -1 and an accessor return "" or 0; a NULL or
 * ill-formed argument reaches the engine, which reports it in the detail error
 * document exactly as the C++ facade does. An operation that runs out of
 * memory returns 0 and reads as "E_FAIL" with every other field empty, never
 * with a field of the call before; its detail error document is
 * "00000-0000000-HE40000E" as far as memory allows. Separate handles may be
 * used on separate threads at the same time; one handle, one thread at a time. */
#ifndef QUORVEX_H
#define QUORVEX_H

#include <stddef.h>

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

/* The check and the conversion on a CSV file's bytes held in memory (what the
 * file would hold: Shift_JIS), with the results of the file operations above;
 * schema is 1 or 2. The bytes take the path's place as argument 1: a NULL
 * pointer with a size is 99999-0000001-HE40001E, an empty buffer
 * 99999-0000001-HE40005E, more than 19,922,944 bytes 00000-0000000-HE40023E.
 * Another schema is 99999-0000000-HE40009E. year is checked for schema 2 as
 * quorvex_crs_csv_check2 checks it (its errors at column 2) and ignored for
 * schema 1 (pass NULL). The conversion writes no file: its XML is read with
 * quorvex_get_crs_data. Same return values as the operations above. */
QUORVEX_EXPORT int quorvex_check_buffer(quorvex_converter* converter, int schema, const char* data, size_t size,
                                        const char* year) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT int quorvex_convert_buffer(quorvex_converter* converter, int schema, const char* data,
                                          size_t size) QUORVEX_NOEXCEPT;
/* quorvex_read_xml_file on an XML file's bytes held in memory, with its rules
 * and results; the bytes take the path's place as argument 1 as above. */
QUORVEX_EXPORT int quorvex_read_xml_buffer(quorvex_converter* converter, const char* data, size_t size,
                                           long limit_size) QUORVEX_NOEXCEPT;

/* The fields of the last result; "" (0) before the first operation. */
QUORVEX_EXPORT const char* quorvex_get_result(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_detail_error_info(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_hojin_no(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_giin(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT long quorvex_get_account_report_count(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_crs_data(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT const char* quorvex_get_xml_data(const quorvex_converter* converter) QUORVEX_NOEXCEPT;

/* Error descriptions. When on (off by default), a failed operation also
 * describes each item of its detail error document, in the same order: the
 * record kind, the name of the column's item (or of the argument) and the
 * value found there. Off, the count is 0. The setting stays with the handle. */
QUORVEX_EXPORT void quorvex_set_describe_errors(quorvex_converter* converter, int on) QUORVEX_NOEXCEPT;

typedef struct quorvex_error {
  long line;          /* record ordinal; 0 whole file or output; 99999 argument */
  long file_line;     /* physical line of the file where the record starts; 0 when none */
  long column;        /* 1-based column, or the argument's position */
  long assist_column; /* second column, or -1 */
  const char* code;        /* message code, "HE40001E" */
  const char* record_kind; /* "1" to "4" for a record item; "" otherwise */
  const char* item;        /* the item's or argument's name; "" when unknown */
  const char* value;       /* the value found; NULL when none */
  int is_argument;         /* 1 for an argument of the operation */
} quorvex_error;

/* Number of descriptions of the last result; 0 for a NULL handle. */
QUORVEX_EXPORT size_t quorvex_error_count(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
/* Fills *out with description `index` (from 0) and returns 1; returns 0, out
 * untouched, for a NULL handle, a NULL out or an index past the end. The
 * strings belong to the handle like those of quorvex_get_*. */
QUORVEX_EXPORT int quorvex_get_error(const quorvex_converter* converter, size_t index,
                                     quorvex_error* out) QUORVEX_NOEXCEPT;

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

/* Validation of a CRS XML message against the OECD CRS XML 2.0 schema built
 * into the library and the Status Message rules that one message shows. context
 * is 0 automatic (domestic when TransmittingCountry equals ReceivingCountry,
 * exchange otherwise), 1 domestic, 2 exchange. Returns 1 when no finding is an
 * error, 0 otherwise (also for an unreadable file: see quorvex_validation_note),
 * -1 for a NULL handle. The findings stay with the handle until its next
 * validation; the other operations leave them alone. */
QUORVEX_EXPORT int quorvex_validate_xml_file(quorvex_converter* converter, const char* xml_path,
                                             int context) QUORVEX_NOEXCEPT;
QUORVEX_EXPORT int quorvex_validate_xml_buffer(quorvex_converter* converter, const char* data, size_t size,
                                               int context) QUORVEX_NOEXCEPT;

typedef struct quorvex_finding {
  const char* code;       /* Status Message code, "50007" */
  int is_error;           /* 1 error, 0 warning */
  long line;              /* 1-based */
  long column;            /* 1-based */
  const char* path;       /* "/CRS_OECD/CrsBody/ReportingGroup/AccountReport[2]/DocSpec/DocRefId" */
  const char* doc_ref_id; /* the record's DocRefId; "" outside a record */
  const char* message;    /* English detail */
} quorvex_finding;

/* Number of findings of the last validation; 0 for a NULL handle. */
QUORVEX_EXPORT size_t quorvex_finding_count(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
/* Fills *out with finding `index` and returns 1; 0 (out untouched) for a NULL
 * handle or out, or an index past the end. */
QUORVEX_EXPORT int quorvex_get_finding(const quorvex_converter* converter, size_t index,
                                       quorvex_finding* out) QUORVEX_NOEXCEPT;
/* "domestic" or "exchange": the context the last validation applied; "" before one. */
QUORVEX_EXPORT const char* quorvex_validation_context(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
/* What the last validation did not check, or why it checked nothing; "" when none. */
QUORVEX_EXPORT const char* quorvex_validation_note(const quorvex_converter* converter) QUORVEX_NOEXCEPT;
/* Short title of a Status Message code the library reports, in "ja" or "en";
 * NULL for another code or language. The text is static. */
QUORVEX_EXPORT const char* quorvex_finding_title(const char* code, const char* lang) QUORVEX_NOEXCEPT;

/* The library version, "1.0.0". */
QUORVEX_EXPORT const char* quorvex_version(void) QUORVEX_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
