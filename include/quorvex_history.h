/* The filing history (CLCFilingHistory.h) from C: the institution's record
 * of the CRS messages it filed, against which a message is checked for the
 * rejections only earlier filings show (50009, 80000, 80002, 80003).
 *
 * A quorvex_history is an opaque handle on one history file (SQLite). Strings
 * in and out are NUL-terminated UTF-8; those returned belong to the handle
 * until its next call or quorvex_history_close. No function throws. Separate
 * handles, in one process or several, may use one file at the same time; one
 * handle, one thread at a time. */
#ifndef QUORVEX_HISTORY_H
#define QUORVEX_HISTORY_H

#include "quorvex.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct quorvex_history quorvex_history;

/* Opens the history at path; NULL or "" names the default one
 * ($XDG_DATA_HOME/quorvex/history.sqlite3, else ~/.local/share/quorvex/...).
 * writable 0 opens an existing history; 1 also creates it, with its folders,
 * when absent. Returns a handle even when the file could not be opened (then
 * quorvex_history_error says why, and the other calls fail); NULL only when
 * memory is short. A file that is not a filing history, is damaged or is newer
 * than this library is refused and left as it was. */
QUORVEX_EXPORT quorvex_history* quorvex_history_open(const char* path, int writable) QUORVEX_NOEXCEPT;

/* Why the last call on the handle failed; "" after one that succeeded. */
QUORVEX_EXPORT const char* quorvex_history_error(const quorvex_history* history) QUORVEX_NOEXCEPT;

/* Records a filed message, and with csv_path (NULL for none) the CSV line of
 * each DocRefId, in one transaction. Returns 1 when recorded, 2 when the same
 * message was recorded already (nothing written), 0 when refused (see
 * quorvex_history_error; nothing written) and -1 for a NULL handle. */
QUORVEX_EXPORT int quorvex_history_add(quorvex_history* history, const char* xml_path,
                                       const char* csv_path) QUORVEX_NOEXCEPT;

/* Checks messages against the history: the validations of the converter
 * (quorvex_validate_xml_file, quorvex_validate_xml_buffer) then also apply the
 * rules that need earlier filings, their findings read like the others. The
 * history must stay open while set; NULL sets none. Returns 1, or -1 for a
 * NULL converter. */
QUORVEX_EXPORT int quorvex_set_history(quorvex_converter* converter, const quorvex_history* history) QUORVEX_NOEXCEPT;

/* Closes the file and frees the handle; NULL is ignored. */
QUORVEX_EXPORT void quorvex_history_close(quorvex_history* history) QUORVEX_NOEXCEPT;

#ifdef __cplusplus
}
#endif

#endif
