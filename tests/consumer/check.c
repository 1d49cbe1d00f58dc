/* Checks a CRS CSV file through the C interface: check YEAR FILE */
#include <quorvex.h>
#include <stdio.h>

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  quorvex_converter* converter = quorvex_new();
  if (converter == NULL) return 1;
  int ok = quorvex_crs_csv_check2(converter, argv[2], argv[1]);
  printf("%s %ld\n", quorvex_get_result(converter), quorvex_get_account_report_count(converter));
  if (ok != 1) printf("%s\n", quorvex_get_detail_error_info(converter));
  quorvex_free(converter);
  return ok == 1 ? 0 : 1;
}
