#pragma once
#include "CLCCsvConvResultCRS.h"
#include "CLCErrorDescription.h"
#include "ToolOptions.h"

#include <string>
#include <string_view>
#include <vector>

// The problems of a failed operation, one per item of its detail error document
// and in the same order: the engine's descriptions of them when it made them.
std::vector<CLCErrorDescription> DescribeProblems(const CLCCsvConvResultCRS& record);

// Positions and codes read from the document itself, for a record that carries
// no descriptions (an operation that stopped on an unexpected error).
std::vector<CLCErrorDescription> ParseDetailErrorDocument(std::string_view document);

// The option or operand a person typed for the argument at this position, and
// what it is.
std::string ArgumentName(ToolCommand command, long column);

// The value as a person can read it on one line: control characters and bytes
// that are not UTF-8 as escapes, shortened past `limit` characters.
std::string VisibleValue(std::string_view value, std::size_t limit = 40);
