#include "validate/CLCThreatScanner.h"

#include "validate/CLCElementPath.h"

#include <cstring>
#include <string>
#include <string_view>

namespace quorvex::internal {

namespace {

constexpr const char* kThreatCode = "50005";
constexpr const char* kPatterns[] = {"--", "/*", "&#"};

// Walks the bytes keeping the position as the parser counts it: lines end at
// LF, CR or CRLF; a column is one character, two for one outside the BMP
// (UTF-16 units), so positions agree with the schema findings.
class Cursor {
 public:
  Cursor(const char* data, std::size_t size) : m_data(data), m_size(size) {}
  bool AtEnd() const { return m_pos >= m_size; }
  bool Starts(const char* text) const {
    const std::size_t length = std::strlen(text);
    return m_size - m_pos >= length && std::memcmp(m_data + m_pos, text, length) == 0;
  }
  char Peek() const { return m_data[m_pos]; }
  void Advance() {
    const auto byte = static_cast<unsigned char>(m_data[m_pos]);
    if (byte == '\n') {
      if (!m_afterCR) NewLine();
      m_afterCR = false;
    } else if (byte == '\r') {
      NewLine();
      m_afterCR = true;
    } else {
      m_afterCR = false;
      if ((byte & 0xC0) != 0x80) m_column += byte >= 0xF0 ? 2 : 1;
    }
    ++m_pos;
  }
  void Skip(std::size_t count) {
    for (std::size_t i = 0; i < count && !AtEnd(); ++i) Advance();
  }
  // Advances past `end`; false when the text ends first.
  bool SkipPast(const char* end) {
    while (!AtEnd()) {
      if (Starts(end)) {
        Skip(std::strlen(end));
        return true;
      }
      Advance();
    }
    return false;
  }
  // The column of the character at the cursor.
  long Line() const { return m_line; }
  long Column() const { return m_column + 1; }

 private:
  void NewLine() {
    ++m_line;
    m_column = 0;
  }
  const char* m_data;
  std::size_t m_size;
  std::size_t m_pos = 0;
  long m_line = 1;
  long m_column = 0;  // characters before the cursor on its line
  bool m_afterCR = false;
};

std::string_view LocalName(std::string_view qname) {
  const std::size_t colon = qname.find(':');
  return colon == std::string_view::npos ? qname : qname.substr(colon + 1);
}

bool IsNameEnd(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/' || c == '='; }

class Scanner {
 public:
  Scanner(const char* data, std::size_t size, const CLCThreatScanner::Sink& sink)
      : m_cursor(data, size), m_sink(sink) {}

  void Run() {
    while (!m_cursor.AtEnd()) {
      if (m_cursor.Peek() != '<') {
        ScanData([&] { return m_cursor.Peek() == '<'; }, "");
        continue;
      }
      if (m_cursor.Starts("<!--")) {
        m_cursor.SkipPast("-->");
      } else if (m_cursor.Starts("<![CDATA[")) {
        m_cursor.Skip(9);
        ScanData([&] { return m_cursor.Starts("]]>"); }, "");
        m_cursor.Skip(3);
      } else if (m_cursor.Starts("<?") || m_cursor.Starts("<!")) {
        m_cursor.SkipPast(">");
      } else if (m_cursor.Starts("</")) {
        m_cursor.SkipPast(">");
        m_path.Pop();
      } else {
        StartTag();
      }
    }
  }

 private:
  std::string Name() {
    std::string name;
    while (!m_cursor.AtEnd() && !IsNameEnd(m_cursor.Peek())) {
      name.push_back(m_cursor.Peek());
      m_cursor.Advance();
    }
    return name;
  }

  void StartTag() {
    m_cursor.Advance();  // '<'
    m_path.Push(LocalName(Name()));
    while (!m_cursor.AtEnd()) {
      const char c = m_cursor.Peek();
      if (c == '>') {
        m_cursor.Advance();
        return;
      }
      if (c == '/') {
        m_cursor.SkipPast(">");
        m_path.Pop();
        return;
      }
      if (c == '"' || c == '\'') {
        m_cursor.Advance();
        ScanData([&] { return m_cursor.Peek() == c; }, "/@" + m_attribute);
        m_cursor.Advance();
      } else if (IsNameEnd(c)) {
        m_cursor.Advance();
      } else {
        m_attribute = std::string(LocalName(Name()));
      }
    }
  }

  // Scans data up to where `atEnd` holds, reporting each pattern once.
  template <typename AtEnd>
  void ScanData(AtEnd atEnd, const std::string& pathSuffix) {
    bool reported[3] = {false, false, false};
    while (!m_cursor.AtEnd() && !atEnd()) {
      const char c = m_cursor.Peek();
      for (int i = 0; i < 3 && (c == '-' || c == '/' || c == '&'); ++i) {
        if (!reported[i] && m_cursor.Starts(kPatterns[i])) {
          reported[i] = true;
          CLCValidationFinding finding;
          finding.code = kThreatCode;
          finding.line = m_cursor.Line();
          finding.column = m_cursor.Column();
          finding.path = m_path.Str() + pathSuffix;
          finding.message = std::string("the data contains \"") + kPatterns[i] +
                            "\", which receivers' threat scans refuse; remove or replace it";
          m_sink(std::move(finding));
        }
      }
      m_cursor.Advance();
    }
  }

  Cursor m_cursor;
  const CLCThreatScanner::Sink& m_sink;
  CLCElementPath m_path;
  std::string m_attribute;
};

}  // namespace

void CLCThreatScanner::Scan(const char* data, std::size_t size, const Sink& sink) {
  if (data == nullptr) return;
  Scanner(data, size, sink).Run();
}
}  // namespace quorvex::internal
