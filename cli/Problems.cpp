#include "Problems.h"

#include <cstdio>
#include <cstdlib>

std::vector<CLCErrorDescription> DescribeProblems(const CLCCsvConvResultCRS& record) {
  if (!record.getErrorDescriptions().empty()) return record.getErrorDescriptions();
  return ParseDetailErrorDocument(record.getDetailErrorInfo());
}

std::vector<CLCErrorDescription> ParseDetailErrorDocument(std::string_view document) {
  std::vector<CLCErrorDescription> problems;
  while (!document.empty()) {
    const std::size_t comma = document.find(',');
    const std::string item(document.substr(0, comma));
    document = comma == std::string_view::npos ? std::string_view() : document.substr(comma + 1);
    // LLLLL-CCCCCCC-CODE or LLLLL-CCC:AAA-CODE
    const std::size_t first = item.find('-');
    const std::size_t last = item.rfind('-');
    if (first == std::string::npos || last == first) continue;
    CLCErrorDescription problem;
    problem.line = std::strtol(item.c_str(), nullptr, 10);
    problem.column = std::strtol(item.c_str() + first + 1, nullptr, 10);
    const std::size_t colon = item.find(':', first);
    if (colon != std::string::npos && colon < last) problem.assistColumn = std::strtol(item.c_str() + colon + 1, nullptr, 10);
    problem.code = item.substr(last + 1);
    problems.push_back(std::move(problem));
  }
  return problems;
}

std::string ArgumentName(ToolCommand command, long column) {
  if (column == 1) return command == ToolCommand::ReadXml ? "FILE (XML file)" : "FILE (CSV file)";
  switch (command) {
    case ToolCommand::Check: return "--year (reporting year)";
    case ToolCommand::Convert: return "-o (output file)";
    case ToolCommand::ReadXml: return "--limit (read limit)";
    case ToolCommand::Validate:
    case ToolCommand::History: break;  // their findings name no argument
  }
  return {};
}

namespace {

// Length of the UTF-8 sequence at the start of text and its code point; 0 when
// the bytes there are not one.
std::size_t DecodeUtf8(std::string_view text, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = lead < 0x80 ? 1 : (lead >> 5) == 0x6 ? 2 : (lead >> 4) == 0xE ? 3 : (lead >> 3) == 0x1E ? 4 : 0;
  if (length == 0 || length > text.size()) return 0;
  codePoint = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
  return length;
}

void AppendEscape(std::string& out, const char* format, unsigned value) {
  char text[12];
  std::snprintf(text, sizeof text, format, value);
  out += text;
}

}  // namespace

std::string VisibleValue(std::string_view value, std::size_t limit) {
  std::string out;
  std::size_t characters = 0;
  std::size_t shownBytes = value.size();
  for (std::size_t at = 0; at < value.size(); ++characters) {
    char32_t codePoint = 0;
    std::size_t length = DecodeUtf8(value.substr(at), codePoint);
    if (characters == limit) shownBytes = at;
    if (characters < limit) {
      if (length == 0) {
        AppendEscape(out, "\\x%02X", static_cast<unsigned char>(value[at]));
      } else if (codePoint == '\t') {
        out += "\\t";
      } else if (codePoint == '\n') {
        out += "\\n";
      } else if (codePoint == '\r') {
        out += "\\r";
      } else if (codePoint < 0x20 || codePoint == 0x7F) {
        AppendEscape(out, "\\x%02X", static_cast<unsigned>(codePoint));
      } else if (codePoint >= 0x80 && codePoint < 0xA0) {
        AppendEscape(out, "\\u%04X", static_cast<unsigned>(codePoint));
      } else {
        out.append(value.substr(at, length));
      }
    }
    at += length == 0 ? 1 : length;
  }
  if (shownBytes < value.size()) out += "… (" + std::to_string(characters) + " characters)";
  return out;
}
