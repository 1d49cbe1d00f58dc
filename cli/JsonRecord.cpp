#include "JsonRecord.h"

#include "MessageLanguage.h"

using namespace quorvex::internal;

nlohmann::json JsonRecord(const CLCCsvConvResultCRS& record, const std::vector<CLCErrorDescription>& problems,
                          CRSMsgLanguage language) {
  nlohmann::json errors = nlohmann::json::array();
  for (const CLCErrorDescription& problem : problems) {
    errors.push_back({
        {"line", problem.line},
        {"fileLine", problem.fileLine},
        {"column", problem.column},
        {"assistColumn", problem.assistColumn},
        {"code", problem.code},
        {"message", MessageLanguage::Text(problem.code, language)},
        {"item", problem.item},
        {"value", problem.hasValue ? nlohmann::json(problem.value) : nlohmann::json()},
    });
  }
  return {
      {"Result", record.getResult()},
      {"DetailErrorInfo", record.getDetailErrorInfo()},
      {"HojinNo", record.getHojinNo()},
      {"GIIN", record.getGIIN()},
      {"AccountReportCount", record.getAccountReportCount()},
      {"CRSData", record.getCRSData()},
      {"XMLData", record.getXMLData()},
      {"Errors", std::move(errors)},
  };
}
