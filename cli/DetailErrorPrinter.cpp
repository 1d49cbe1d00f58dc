#include "DetailErrorPrinter.h"

#include "CRSMsgTable.h"

std::string DetailErrorPrinter::ItemName(const CLCErrorDescription& item) const {
  if (item.isArgument) {
    switch (m_operation) {
      case Operation::Check: return item.column == 1 ? "CSV file" : "reporting year";
      case Operation::Convert: return item.column == 1 ? "CSV file" : "output file";
      case Operation::ReadXml: return item.column == 1 ? "XML file" : "read limit";
    }
  }
  if (item.line == 0) return item.column == 0 ? "whole file" : "";
  if (item.column == 0) return item.recordKind == "2" ? "AccountHolder" : "";
  return item.item;
}

void DetailErrorPrinter::Print(const std::vector<CLCErrorDescription>& items, std::ostream& out) const {
  for (const CLCErrorDescription& item : items) {
    out << "line " << item.line << ", column " << item.column;
    if (item.assistColumn != -1) out << " (with column " << item.assistColumn << ")";
    const std::string name = ItemName(item);
    if (!name.empty()) out << " [" << name << "]";
    out << ": " << item.code << ' ' << CRSMsgText(CRSMsgFromCode(item.code)) << '\n';
  }
}
