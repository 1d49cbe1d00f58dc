#pragma once
#include "CLCErrorDescription.h"

#include <ostream>
#include <string>
#include <vector>

// Turns the described items of a detail error document into one readable line
// each: position, code, the catalogue's message text and the item's name.
class DetailErrorPrinter {
 public:
  enum class Operation { Check, Convert, ReadXml };

  explicit DetailErrorPrinter(Operation operation) : m_operation(operation) {}

  void Print(const std::vector<CLCErrorDescription>& items, std::ostream& out) const;

 private:
  std::string ItemName(const CLCErrorDescription& item) const;

  Operation m_operation;
};
