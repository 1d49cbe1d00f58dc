#pragma once
#include "csv/CLCCRSCRSReport.h"
#include "csv/CLCCRSCsvFile.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quorvex::internal {

// The CRS CSV file: four record kinds, their lists and the cross-record checks.
class CLCCRSCsvCRSReport : public CLCCRSCsvFile {
 public:
  explicit CLCCRSCsvCRSReport(CLCValidResult& result);
  ~CLCCRSCsvCRSReport() override;

  bool Parse(std::string_view text) override;
  bool ParseShiftJis(std::string_view bytes) override;
  bool ValidateRecord(std::vector<std::string>& columns) override;
  bool ValidateCsv() override;
  bool DistributeRecord(long index) override;
  CLCCRSMessageSpecReportingFI* GetCRSMessageSpecReportingFI() override;
  CLCCRSAccountReport* GetCRSAccountReport() override;
  CLCCRSControllingPerson* GetCRSControllingPerson() override;
  CLCCRSPayment* GetCRSPayment() override;
  const char* GetColumnValue(long row, long column) const override;
  // Column lookup by kind name; only "MessageSpecReportingFI" is known.
  const char* GetColumnValue(const char* kindName, long record, long column) const;

  // Ends one column (and the record when endOfRecord); false stops tokenising.
  bool ColumnTerm(std::string& column, std::vector<std::string>& record, bool endOfRecord);

  // True when some column holds a character no value may carry (each one is
  // recorded as HE40011E at its line and column while tokenising).
  bool HasUnusableCharacters() const { return m_lUnusableCount != 0; }

  void SetNenbun(std::string year) { m_strNenbun = std::move(year); }
  CLCStatus NenbunCheck() override;
  // An account report names an individual or an organisation holder, never
  // both, with that holder's required columns: failed with HE40017E or
  // HE40018E recorded when it does not.
  CLCStatus AccountReportExclusiveCheck(long record);

  // Cross-record checks: failed with the last message recorded.
  CLCStatus MessageSpecReportingFIDocTypeIndicCheck();
  CLCStatus AccountReportDocTypeIndicCheck();
  CLCStatus AccountReportDocRefIdCheck();
  CLCStatus AccountReportDocRefIdOverlapCheck();
  CLCStatus AccountReportCorrDocRefIdCheck();
  CLCStatus AccountReportCorrDocRefIdOverlapCheck();
  CLCStatus AccountReportBirthDateCheck();
  CLCStatus AccountReportAcctHolderTypeCheck();
  CLCStatus ControllingPersonBirthDateCheck();
  CLCStatus ControllingPersonDocRefIdCheck();
  CLCStatus PaymentDocRefIdCheck();

 private:
  // The tokeniser of both: a comma, a quote, CR or LF byte always stands for
  // itself in UTF-8 and in Shift_JIS (whose trail bytes are never below 0x40).
  bool Tokenise(std::string_view text, bool shiftJis);

  CLCCRSMessageSpecReportingFI m_MessageSpecReportingFI;
  CLCCRSAccountReport m_AccountReport;
  CLCCRSControllingPerson m_ControllingPerson;
  CLCCRSPayment m_Payment;
  std::int32_t m_lKindCount[4] = {0, 0, 0, 0};
  std::int32_t m_lLastKind = 0;
  bool m_bKindOrderValid = true;
  // Records stored so far by this report; the next record's line number is one more.
  long m_lLineCnt = 0;
  long m_lUnusableCount = 0;
  // Column strings of earlier records, kept for their capacity.
  std::vector<std::string> m_vecSpareColumns;
  // Physical line of the file where the record being tokenised starts.
  long m_lRecordFileLine = 1;
  std::string m_strNenbun;
};
}  // namespace quorvex::internal
