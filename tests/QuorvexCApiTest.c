/* The C interface from a C program: every operation on the shipped sample, a
 * NULL handle, NULL arguments and an ill-formed UTF-8 path; none may crash.
 * Usage: QuorvexCApiTest SAMPLE.csv OUTPUT.xml */
#include <stdio.h>
#include <string.h>

#include "quorvex.h"

static int failures = 0;

static void expect(int condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const char* sample = argv[1];
  const char* output = argv[2];

  expect(quorvex_crs_csv_check(NULL, sample) == -1, "NULL handle fails the operation");
  expect(strcmp(quorvex_get_result(NULL), "") == 0, "NULL handle reads as empty text");
  expect(quorvex_get_account_report_count(NULL) == 0, "NULL handle counts 0");
  quorvex_free(NULL);

  quorvex_converter* converter = quorvex_new();
  expect(converter != NULL, "a handle is created");
  if (converter == NULL) return 1;
  expect(strcmp(quorvex_get_result(converter), "") == 0, "no result before the first operation");

  expect(quorvex_crs_csv_check2(converter, sample, "2023") == 1, "the sample passes the 2.0 check");
  expect(quorvex_get_account_report_count(converter) > 0, "the check counts account reports");
  expect(strlen(quorvex_get_hojin_no(converter)) + strlen(quorvex_get_giin(converter)) > 0,
         "the check names the institution");
  expect(quorvex_csv_conv_crs_data2(converter, sample, output) == 1, "the sample converts");
  expect(strncmp(quorvex_get_crs_data(converter), "<", 1) == 0, "the conversion gives XML");
  expect(quorvex_read_xml_file(converter, output, -1) == 1, "the written XML reads back");
  expect(strlen(quorvex_get_xml_data(converter)) > 0, "the text read back is kept");
  expect(quorvex_crs_csv_check(converter, sample) == 0, "the 2.0 sample fails the 1.0 check");
  expect(strlen(quorvex_get_detail_error_info(converter)) > 0, "a failure has a detail error document");

  /* NULL and ill-formed arguments are the engine's argument errors (line 99999). */
  expect(quorvex_crs_csv_check2(converter, NULL, "2023") == 0, "NULL path fails");
  expect(strncmp(quorvex_get_detail_error_info(converter), "99999-", 6) == 0,
         "NULL path is an argument error");
  expect(quorvex_csv_conv_crs_data(converter, "\xff\xfe.csv", NULL) == 0, "ill-formed UTF-8 path fails");
  expect(strncmp(quorvex_get_detail_error_info(converter), "99999-", 6) == 0,
         "ill-formed path is an argument error");
  expect(quorvex_read_xml_file(converter, NULL, -1) == 0, "NULL XML path fails");
  expect(strcmp(quorvex_get_result(converter), "E_FAIL") == 0, "a failure reads E_FAIL");
  expect(strcmp(quorvex_version(), "") != 0, "the version is known");

  quorvex_free(converter);
  if (failures == 0) printf("all C interface cases passed\n");
  return failures == 0 ? 0 : 1;
}
