/* The C interface from a C program: every operation on the shipped sample, on
 * its bytes in memory, a NULL handle, NULL arguments, an ill-formed UTF-8 path
 * and indexes past the end; none may crash.
 * Usage: QuorvexCApiTest SAMPLE.csv OUTPUT.xml */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "quorvex.h"

static int failures = 0;

static void expect(int condition, const char* what) {
  if (!condition) {
    fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

/* The whole file in a buffer of *size bytes the caller frees; NULL when unreadable. */
static char* read_all(const char* path, size_t* size) {
  FILE* file = fopen(path, "rb");
  if (file == NULL) return NULL;
  char* data = malloc(1 << 20);
  *size = data != NULL ? fread(data, 1, 1 << 20, file) : 0;
  fclose(file);
  return data;
}

/* The bytes operations and the error descriptions. */
static void buffers(quorvex_converter* converter, const char* sample) {
  size_t size = 0;
  char* data = read_all(sample, &size);
  expect(data != NULL && size > 0, "the sample is read into memory");
  if (data == NULL) return;

  expect(quorvex_check_buffer(NULL, 2, data, size, "2023") == -1, "NULL handle fails a buffer check");
  expect(quorvex_convert_buffer(NULL, 2, data, size) == -1, "NULL handle fails a buffer conversion");
  expect(quorvex_check_buffer(converter, 2, data, size, "2023") == 1, "the sample's bytes pass the 2.0 check");
  expect(quorvex_get_account_report_count(converter) > 0, "the buffer check counts account reports");
  expect(quorvex_convert_buffer(converter, 2, data, size) == 1, "the sample's bytes convert");
  expect(strncmp(quorvex_get_crs_data(converter), "<crs:CRS_OECD", 13) == 0, "the buffer conversion gives XML");
  expect(quorvex_error_count(converter) == 0, "a success has no error descriptions");

  expect(quorvex_check_buffer(converter, 3, data, size, "2023") == 0, "schema 3 fails");
  expect(strcmp(quorvex_get_detail_error_info(converter), "99999-0000000-HE40009E") == 0, "schema 3 is refused");
  expect(quorvex_check_buffer(converter, 2, NULL, size, "2023") == 0, "NULL bytes with a size fail");
  expect(strcmp(quorvex_get_detail_error_info(converter), "99999-0000001-HE40001E") == 0,
         "NULL bytes are no value");
  expect(quorvex_convert_buffer(converter, 1, data, 0) == 0, "an empty buffer fails");
  expect(strcmp(quorvex_get_detail_error_info(converter), "99999-0000001-HE40005E") == 0,
         "an empty buffer is an empty file");

  /* Off by default: a failure describes nothing until asked. */
  expect(quorvex_check_buffer(converter, 2, data, size, "20x3") == 0, "a bad year fails");
  expect(quorvex_error_count(converter) == 0, "no descriptions unless asked");
  quorvex_set_describe_errors(converter, 1);
  quorvex_set_describe_errors(NULL, 1);
  expect(quorvex_check_buffer(converter, 2, data, size, "20x3") == 0, "a bad year fails again");
  expect(quorvex_error_count(converter) == 1, "one description");
  quorvex_error error;
  memset(&error, 0, sizeof error);
  expect(quorvex_get_error(converter, 0, &error) == 1, "the description is read");
  expect(error.line == 99999 && error.column == 2 && error.is_argument == 1, "at the year's argument position");
  expect(strcmp(error.code, "HE40027E") == 0 && strcmp(error.item, "nenbun") == 0, "code and item name");
  expect(error.value != NULL && strcmp(error.value, "20x3") == 0, "the value given");
  expect(quorvex_get_error(converter, 1, &error) == 0, "index past the end");
  expect(quorvex_get_error(converter, (size_t)-1, &error) == 0, "largest index");
  expect(quorvex_get_error(converter, 0, NULL) == 0, "NULL out");
  expect(quorvex_get_error(NULL, 0, &error) == 0, "NULL handle has no description");
  expect(quorvex_error_count(NULL) == 0, "NULL handle counts no description");
  expect(quorvex_check_buffer(converter, 2, NULL, 5, "2023") == 0 && quorvex_get_error(converter, 0, &error) == 1 &&
             error.value == NULL && strcmp(error.item, "data") == 0,
         "the bytes have no value to show");
  quorvex_set_describe_errors(converter, 0);

  expect(quorvex_message_text("HE40027E", "en") != NULL, "a known code has a text");
  expect(quorvex_message_text("HE99999E", "en") == NULL, "an unknown code has none");
  free(data);
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
  buffers(converter, sample);

  quorvex_free(converter);
  if (failures == 0) printf("all C interface cases passed\n");
  return failures == 0 ? 0 : 1;
}
