#pragma once
#include "CLCCsvConvResultCRS.h"
#include "CLCErrorDescription.h"
#include "MessageLanguage.h"

#include <nlohmann/json.hpp>

#include <vector>

// The seven fields of the result record under their own names, and "Errors":
// one object per item of the detail error document, in its order.
nlohmann::json JsonRecord(const CLCCsvConvResultCRS& record, const std::vector<CLCErrorDescription>& problems,
                          ToolLanguage language);
