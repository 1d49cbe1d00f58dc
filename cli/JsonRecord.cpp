#include "JsonRecord.h"

nlohmann::json JsonRecord(const CLCCsvConvResultCRS& record, const std::vector<CLCErrorDescription>& problems,
                          ToolLanguage language) {
  nlohmann::json object = nlohmann::json::object();
  record.ForEachField([&object](const char* name, const auto& value) { object[name] = value; });
  nlohmann::json& errors = object["Errors"] = nlohmann::json::array();
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
  return object;
}
