#pragma once
#include "CLCCsvConvResultCRS.h"
#include "CLCLocalTime.h"
#include "CLCRecordOrigin.h"
#include "CLCValidationResult.h"
#include "quorvex_export.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace quorvex::internal {
class CLCCRSDataManager;
}
class CLCFilingHistory;

// The engine's single entry point. Each operation runs the data-manager steps
// for one call and returns the facade's result record, which every later
// operation on the same object reuses and overwrites. Text arguments are UTF-8
// and may be null; problems are reported in the record, never thrown.
class QUORVEX_EXPORT CLCCsvConvDataCRS {
 public:
  CLCCsvConvDataCRS();
  ~CLCCsvConvDataCRS();
  CLCCsvConvDataCRS(const CLCCsvConvDataCRS&) = delete;
  CLCCsvConvDataCRS& operator=(const CLCCsvConvDataCRS&) = delete;

  CLCCsvConvResultCRS* CRSCsvCheck(const char* csvPath);
  CLCCsvConvResultCRS* CRSCsvCheck2(const char* csvPath, const char* nenbun);
  CLCCsvConvResultCRS* CsvConvCRSData(const char* csvPath, const char* outputPath);
  CLCCsvConvResultCRS* CsvConvCRSData2(const char* csvPath, const char* outputPath);
  CLCCsvConvResultCRS* ReadXMLFile(const char* xmlPath, long limitSize);

  // The check and the conversion on a CSV file's bytes held in memory (what
  // the file would hold: Shift_JIS), with the rules and results of the
  // path-based operation of the schema, 1 (CRSCsvCheck, CsvConvCRSData) or 2
  // (CRSCsvCheck2, CsvConvCRSData2). The bytes take the path's place as
  // argument 1 (line 99999, column 1): a null pointer with a size is HE40001E,
  // an empty buffer HE40005E; more than 19,922,944 bytes is HE40023E at line 0.
  // The reporting year is argument 2 of a schema 2 check; schema 1 ignores it.
  // Another schema is HE40009E at line 99999, column 0. A conversion writes
  // no file: the XML is in CRSData.
  CLCCsvConvResultCRS* CRSCsvCheckBuffer(int schema, const char* data, std::size_t size,
                                         const char* nenbun = nullptr);
  CLCCsvConvResultCRS* CsvConvCRSDataBuffer(int schema, const char* data, std::size_t size);
  // ReadXMLFile on an XML file's bytes held in memory, with its rules and
  // results; the bytes take the path's place as argument 1 as above.
  CLCCsvConvResultCRS* ReadXMLBuffer(const char* data, std::size_t size, long limitSize);

  // Whether a CRS XML message would pass the receiving authority's checks:
  // the OECD CRS XML 2.0 schema built into the library and the Status Message
  // rules one message shows, each finding under its official code. The result
  // stays valid until the next validation on this object. A file that cannot
  // be read is not valid, with no finding and the reason in `note`.
  const CLCValidationResult& ValidateXMLFile(const char* xmlPath,
                                             CLCValidationContext context = CLCValidationContext::Automatic);
  const CLCValidationResult& ValidateXMLBuffer(const char* data, std::size_t size,
                                               CLCValidationContext context = CLCValidationContext::Automatic);
  // With a filing history (CLCFilingHistory.h, in builds that have it) the
  // validations also apply the rules that need earlier filings: 50009, 80000,
  // 80002 and 80003. The history stays the caller's and must stay open while
  // set; null, the default, sets none.
  void SetFilingHistory(const CLCFilingHistory* history) { m_pHistory = history; }

  // The CSV line of each DocRefId (header and accounts) of a CSV file, in
  // file order, to show findings in a message converted from it at their
  // source. Only the file is read, no rule runs; a file that cannot be read
  // gives none.
  std::vector<CLCRecordOrigin> CsvRecordOrigins(const char* csvPath);
  std::vector<CLCRecordOrigin> CsvRecordOriginsBuffer(const char* data, std::size_t size);

  // The local time a conversion stamps its message with (Timestamp), read once
  // per conversion. An empty clock, the default, reads the system's; a fixed
  // one makes the output reproducible. A time that does not exist fails the
  // conversion with the unexpected error.
  using Clock = std::function<CLCLocalTime()>;
  void SetClock(Clock clock) { m_clock = std::move(clock); }

  // Sees the XML a conversion made before the output file, if any, is
  // written. A gate that returns false keeps the file from being written
  // (an existing one stays as it was); the conversion still succeeds, with
  // the XML in CRSData, so that the caller, who knows why it refused, decides
  // what to report. The gate may call ValidateXMLBuffer on this facade. Empty
  // by default: every conversion writes.
  using OutputGate = std::function<bool(const std::string& xml)>;
  void SetOutputGate(OutputGate gate) { m_outputGate = std::move(gate); }

  // When on, a failed operation also describes each item of its detail error
  // document (record kind, item name, value found) in the result record. Off
  // by default: the descriptions cost a little time and memory.
  void SetDescribeErrors(bool describe) { m_bDescribeErrors = describe; }

 private:
  // The steps of one operation on a fresh data manager; true when all passed.
  // The second argument receives the generated XML or the text read back.
  using Steps = std::function<bool(quorvex::internal::CLCCRSDataManager&, std::string&)>;

  // Runs the steps and fills the record from their outcome. Nothing thrown
  // inside an operation gets past here.
  CLCCsvConvResultCRS* Run(const char* function, const Steps& steps, bool textIsXmlData = false);
  CLCCsvConvResultCRS* Convert(const char* function, const char* csvPath, const char* outputPath,
                               unsigned short resource);
  CLCCsvConvResultCRS* Record();
  CLCLocalTime ReadClock() const;

  const CLCValidationResult& PutValidation(CLCValidationResult&& result);

  std::unique_ptr<CLCCsvConvResultCRS> m_pResult;
  std::unique_ptr<CLCValidationResult> m_pValidation;
  const CLCFilingHistory* m_pHistory = nullptr;
  bool m_bDescribeErrors = false;
  Clock m_clock;
  OutputGate m_outputGate;
};
