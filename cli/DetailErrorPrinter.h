#pragma once
#include <map>
#include <ostream>
#include <string>
#include <utility>

// Turns a detail error document into one readable line per item: position,
// code, the catalogue's message text and the name of the column's item.
class DetailErrorPrinter {
 public:
  enum class Operation { Check, Convert, ReadXml };

  // Item names come from the validation definition of the schema (205 or 207);
  // the kinds of the CSV lines from the CSV file itself, when it can be read.
  DetailErrorPrinter(Operation operation, int schema, const std::string& csvPath);

  void Print(const std::string& document, std::ostream& out) const;

 private:
  std::string ItemName(long line, long column) const;
  void LoadItemNames(unsigned short resource);
  void LoadLineKinds(const std::string& csvPath);

  Operation m_operation;
  std::map<std::pair<int, long>, std::string> m_itemNames;  // (kind, column) -> item id
  std::map<long, int> m_lineKinds;                          // line -> record kind
};
