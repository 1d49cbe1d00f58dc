#include "DetailErrorPrinter.h"

#include "CLCCRSCommon.h"
#include "CLCCRSCsvCRSReport.h"
#include "CLCValidResult.h"
#include "CLCXDom.h"
#include "CRSMsgTable.h"

#include <cstdlib>
#include <sstream>

namespace {

constexpr long kArgumentLine = 99999;

long LeadingNumber(const std::string& text) { return std::strtol(text.c_str(), nullptr, 10); }

}  // namespace

DetailErrorPrinter::DetailErrorPrinter(Operation operation, int schema, const std::string& csvPath)
    : m_operation(operation) {
  if (operation == Operation::ReadXml) return;
  LoadItemNames(schema == 1 ? 205 : 207);
  LoadLineKinds(csvPath);
  // Reading for names must leave no trace in this thread's collector.
  CLCValidResult::destroy();
}

void DetailErrorPrinter::LoadItemNames(unsigned short resource) {
  const std::string document = CLCCRSCommon::LoadResoucePath(resource, "DEFINITION");
  if (document.empty()) return;
  CLCXDom dom;
  if (!dom.Initialize() || !dom.Parse(document.c_str(), "Quorvex", "Shift_JIS")) return;
  // The cursor starts on the root element; its children are the four record kinds.
  int kind = 0;
  for (int moved = dom.MoveFirstChild(); moved == 0; moved = dom.MoveNextSibling()) {
    ++kind;
    for (int item = dom.MoveFirstChild(); item == 0; item = dom.MoveNextSibling()) {
      const long column = LeadingNumber(dom.GetAttribute("column"));
      if (column > 0) m_itemNames.emplace(std::make_pair(kind, column), dom.GetAttribute("id"));
    }
    dom.MoveParent();
  }
}

void DetailErrorPrinter::LoadLineKinds(const std::string& csvPath) {
  CLCCRSCsvCRSReport report;
  if (!report.ReadFile(CLCCRSCommon::StringTrim(csvPath.c_str()).c_str())) return;
  for (long row = 0; row < report.GetRecordCount(); ++row) {
    const char* kind = report.GetItem(row, 0);
    if (kind != nullptr) m_lineKinds[row + 1] = std::atoi(kind);
  }
}

std::string DetailErrorPrinter::ItemName(long line, long column) const {
  if (line == kArgumentLine) {
    switch (m_operation) {
      case Operation::Check: return column == 1 ? "CSV file" : "reporting year";
      case Operation::Convert: return column == 1 ? "CSV file" : "output file";
      case Operation::ReadXml: return column == 1 ? "XML file" : "read limit";
    }
  }
  if (line == 0) return column == 0 ? "whole file" : "";
  const auto kind = m_lineKinds.find(line);
  if (kind == m_lineKinds.end()) return "";
  if (column == 0) return kind->second == 2 ? "AccountHolder" : "";
  const auto name = m_itemNames.find({kind->second, column});
  return name != m_itemNames.end() ? name->second : "";
}

void DetailErrorPrinter::Print(const std::string& document, std::ostream& out) const {
  std::istringstream items(document);
  std::string item;
  while (std::getline(items, item, ',')) {
    // LLLLL-CCCCCCC-CODE or LLLLL-CCC:AAA-CODE
    const std::size_t first = item.find('-');
    const std::size_t last = item.rfind('-');
    if (first == std::string::npos || last == first) {
      out << item << '\n';
      continue;
    }
    const long line = LeadingNumber(item.substr(0, first));
    const std::string position = item.substr(first + 1, last - first - 1);
    const std::string code = item.substr(last + 1);
    const long column = LeadingNumber(position);
    const std::size_t colon = position.find(':');

    out << "line " << line << ", column " << column;
    if (colon != std::string::npos) out << " (with column " << LeadingNumber(position.substr(colon + 1)) << ")";
    const std::string name = ItemName(line, column);
    if (!name.empty()) out << " [" << name << "]";
    out << ": " << code << ' ' << CRSMsgText(CRSMsgFromCode(code)) << '\n';
  }
}
