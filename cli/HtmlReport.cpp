#include "HtmlReport.h"

#include "Findings.h"
#include "MessageLanguage.h"
#include "Problems.h"
#include "quorvex.h"

#include <algorithm>
#include <ctime>
#include <map>

namespace {

constexpr std::size_t kFoldSize = 1000;

constexpr const char* kStyle =
    "body{font-family:sans-serif;margin:2em;color:#222}"
    "table{border-collapse:collapse;margin:.5em 0 1.5em}"
    "th,td{border:1px solid #ccc;padding:.2em .6em;text-align:left;vertical-align:top}"
    "th{background:#f0f0f0}td.n{text-align:right}"
    ".pass{color:#176f2c;font-weight:bold}.fail{color:#b00020;font-weight:bold}"
    "details{margin:.3em 0}summary{cursor:pointer;padding:.2em 0}"
    "details details{margin-left:1.5em}code{font-size:1.05em}"
    "table.rows td:nth-child(-n+3){text-align:right}table.rows td:nth-last-child(-n+2){overflow-wrap:anywhere}";

// Optional: a box that shows only the problems whose row holds the text typed,
// opening the folds they are in. The page reads the same without it.
constexpr const char* kFilterScript =
    "<script>(function(){var h=document.getElementById('every')||document.getElementById('findings');if(!h)return;"
    "var box=document.createElement('input');box.type='search';box.placeholder='Show only rows containing...';"
    "box.size=40;h.after(box);box.addEventListener('change',function(){"
    "var text=box.value.toLowerCase();document.querySelectorAll('table.rows tr').forEach(function(row){"
    "if(!row.querySelector('td'))return;var shown=!text||row.textContent.toLowerCase().indexOf(text)>=0;"
    "row.hidden=!shown;if(shown&&text)for(var d=row.closest('details');d;d=d.parentElement.closest('details'))"
    "d.open=true;});});})();</script>";

// Text in the page: the five markup characters as references, and CR too, so
// that a value shows it as it is.
void Escaped(std::string& html, std::string_view text) {
  for (const char c : text) {
    switch (c) {
      case '"': html += "&quot;"; break;
      case '&': html += "&amp;"; break;
      case '\'': html += "&apos;"; break;
      case '<': html += "&lt;"; break;
      case '>': html += "&gt;"; break;
      case '\r': html += "&#13;"; break;
      default: html += c;
    }
  }
}

std::string Count(std::size_t number) {
  std::string digits = std::to_string(number);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(static_cast<std::size_t>(at), ",");
  return digits;
}

std::string Plural(std::size_t number, const char* noun) {
  return Count(number) + ' ' + noun + (number == 1 ? "" : "s");
}

// The message text of a CSV problem's code, or the title of a finding's.
std::string ProblemTitle(const std::string& code, ToolLanguage language) { return MessageLanguage::Text(code, language); }
std::string FindingTitle(const std::string& code, ToolLanguage language) {
  const char* title = quorvex_finding_title(code.c_str(), MessageLanguage::Code(language));
  return title != nullptr ? title : "";
}
using TitleOf = std::string (*)(const std::string&, ToolLanguage);

// A table of counts per code under its heading (if any), each code linking to
// its group below.
void RenderCodeTable(std::string& html, const char* heading, const std::string& idPrefix,
                     const std::map<std::string, std::size_t>& perCode, TitleOf title, ToolLanguage language,
                     const char* counted) {
  if (heading != nullptr) {
    html += "<h2>";
    html += heading;
    html += "</h2>";
  }
  html += "<table><tr><th>Code</th><th>Message</th><th>";
  html += counted;
  html += "</th></tr>";
  for (const auto& [code, count] : perCode) {
    html += "<tr><td><a href=\"#" + idPrefix + code + "\"><code>";
    Escaped(html, code);
    html += "</code></a></td><td>";
    Escaped(html, title(code, language));
    html += "</td><td class=\"n\">" + Count(count) + "</td></tr>";
  }
  html += "</table>";
}

// Entries grouped by code, each group a fold headed by the code and its
// title, in folds of a thousand; `row` writes the cells of one entry.
template <class Entry, class Row>
void RenderGroups(std::string& html, const std::map<std::string, std::vector<const Entry*>>& groups,
                  std::size_t total, const std::string& idPrefix, const char* noun, TitleOf title,
                  ToolLanguage language, const std::string& headerCells, Row row) {
  // A short list is shown open; a long one stays folded until asked for.
  const char* open = total <= kFoldSize ? " open" : "";
  for (const auto& [code, entries] : groups) {
    html += "<details id=\"" + idPrefix + code + "\"" + open + "><summary><code>" + code + "</code> ";
    Escaped(html, title(code, language));
    html += " (" + Plural(entries.size(), noun) + ")</summary>";
    for (std::size_t first = 0; first < entries.size(); first += kFoldSize) {
      const std::size_t last = std::min(first + kFoldSize, entries.size());
      const bool folded = entries.size() > kFoldSize;
      if (folded) html += "<details><summary>" + Count(first + 1) + " to " + Count(last) + "</summary>";
      html += "<table class=\"rows\"><tr>" + headerCells + "</tr>";
      // Rows leave their end tags out, as HTML allows: a fifth of the size at 100,000 rows.
      for (std::size_t i = first; i < last; ++i) {
        html += "<tr><td>";
        row(html, *entries[i]);
        html += '\n';
      }
      html += "</table>";
      if (folded) html += "</details>";
    }
    html += "</details>";
  }
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  gmtime_r(&now, &parts);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M UTC", &parts);
  return text;
}

}  // namespace

void HtmlReport::RenderFacts(std::string& html) const {
  const auto fact = [&](const char* name, std::string_view value) {
    html += "<tr><th>";
    html += name;
    html += "</th><td>";
    Escaped(html, value);
    html += "</td></tr>";
  };
  html += "<table>";
  fact("File", m_outcome.file);
  const bool validation = m_options.command == ToolCommand::Validate;
  if (m_options.command != ToolCommand::ReadXml && !validation) {
    fact("Schema", std::to_string(m_options.schema) + ".0");
    if (m_options.schema == 2 && m_options.yearGiven) fact("Reporting year", m_options.year);
  }
  fact("Operation", m_outcome.StepName(m_options));
  fact("Date", UtcNow());
  html += "<tr><th>Result</th><td class=\"";
  if (m_outcome.passed()) {
    html += "pass\">passed";
  } else if (!m_outcome.problems.empty() || !m_outcome.validationFailed) {
    html += "fail\">failed: " + Plural(m_outcome.problems.size(), "problem");
  } else {
    html += "fail\">failed: ";
    html += m_outcome.findings.empty() ? "the XML could not be validated" : FindingCounts(m_outcome.findings);
    if (!validation) html += " in the converted XML; nothing written";
  }
  if (!m_outcome.refusal.empty()) html += " (" + m_outcome.refusal + ")";
  html += "</td></tr>";
  if (m_outcome.validated) {
    fact("Validation", m_outcome.findings.empty() ? "no finding" : FindingCounts(m_outcome.findings));
    fact("Context", m_outcome.validationContext);
    if (!m_outcome.validationNote.empty()) fact("Note", m_outcome.validationNote);
  } else if (m_options.command == ToolCommand::Convert && m_options.noValidate) {
    fact("Validation", "skipped (--no-validate)");
  }
  if (validation) {
    html += "</table>";
    return;
  }
  if (m_outcome.passed()) {
    fact("Account reports", Count(static_cast<std::size_t>(m_outcome.record.getAccountReportCount())));
    if (!m_outcome.record.getHojinNo().empty()) fact("Corporate number", m_outcome.record.getHojinNo());
    if (!m_outcome.record.getGIIN().empty()) fact("GIIN", m_outcome.record.getGIIN());
  }
  html += "</table>";
}

void HtmlReport::RenderSummaries(std::string& html) const {
  std::map<std::string, std::size_t> perCode;
  std::map<std::string, std::size_t> perItem;
  for (const CLCErrorDescription& problem : m_outcome.problems) {
    ++perCode[problem.code];
    ++perItem[problem.item.empty() ? "(no item)" : problem.item];
  }
  RenderCodeTable(html, "Problems per message", "", perCode, ProblemTitle, m_options.language, "Problems");

  std::vector<std::pair<std::string, std::size_t>> items(perItem.begin(), perItem.end());
  std::stable_sort(items.begin(), items.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
  html += "<h2>Problems per item</h2><table><tr><th>Item</th><th>Problems</th></tr>";
  for (const auto& [item, count] : items) {
    html += "<tr><td>";
    Escaped(html, item);
    html += "</td><td class=\"n\">" + Count(count) + "</td></tr>";
  }
  html += "</table>";
}

void HtmlReport::RenderProblems(std::string& html) const {
  std::map<std::string, std::vector<const CLCErrorDescription*>> groups;
  for (const CLCErrorDescription& problem : m_outcome.problems) groups[problem.code].push_back(&problem);
  html += "<h2 id=\"every\">Every problem</h2>";
  const std::string header = "<th>Line</th><th>File line</th><th>Column</th><th>Item</th><th>Value</th>";
  RenderGroups(html, groups, m_outcome.problems.size(), "", "problem", ProblemTitle, m_options.language, header,
               [&](std::string& row, const CLCErrorDescription& problem) {
                 if (problem.isArgument || problem.line == 0) {
                   Escaped(row, m_printer.Where(problem));
                   row += "<td><td>";
                 } else {
                   row += std::to_string(problem.line) + "<td>";
                   if (problem.fileLine > 0) row += std::to_string(problem.fileLine);
                   row += "<td>";
                   if (problem.column > 0) row += std::to_string(problem.column);
                   if (problem.assistColumn >= 0) row += " (" + std::to_string(problem.assistColumn) + ")";
                 }
                 row += "<td>";
                 Escaped(row, problem.item);
                 row += "<td>";
                 if (problem.hasValue && problem.value.empty()) row += "<i>(empty)</i>";
                 if (problem.hasValue) Escaped(row, VisibleValue(problem.value));
               });
}

void HtmlReport::RenderFindings(std::string& html) const {
  // Findings of a message the tool converted name the CSV lines to correct.
  const bool converted = m_options.command == ToolCommand::Convert;
  std::map<std::string, std::size_t> perCode;
  std::map<std::string, std::vector<const SourcedFinding*>> groups;
  for (const SourcedFinding& sourced : m_outcome.findings) {
    ++perCode[sourced.finding.code];
    groups[sourced.finding.code].push_back(&sourced);
  }
  html += converted ? "<h2 id=\"findings\">Findings in the converted XML</h2>" : "<h2 id=\"findings\">Findings</h2>";
  RenderCodeTable(html, nullptr, "finding-", perCode, FindingTitle, m_options.language, "Findings");
  std::string header = converted ? "<th>CSV line</th>" : "";
  header += "<th>XML line</th><th>Column</th><th>Severity</th><th>Detail</th><th>DocRefId</th><th>Path</th>";
  RenderGroups(html, groups, m_outcome.findings.size(), "finding-", "finding", FindingTitle, m_options.language,
               header, [&](std::string& row, const SourcedFinding& sourced) {
                 const CLCValidationFinding& finding = sourced.finding;
                 if (converted) {
                   if (finding.docRefId.empty()) row += "<i>(message)</i>";
                   for (std::size_t i = 0; i < sourced.csvLines.size(); ++i) {
                     row += (i == 0 ? "" : ", ") + std::to_string(sourced.csvLines[i]);
                   }
                   if (!finding.docRefId.empty() && sourced.csvLines.empty()) row += "<i>(not found)</i>";
                   row += "<td>";
                 }
                 row += std::to_string(finding.line) + "<td>" + std::to_string(finding.column) + "<td>";
                 row += SeverityName(finding.severity);
                 row += "<td>";
                 Escaped(row, finding.message);
                 row += "<td>";
                 Escaped(row, finding.docRefId);
                 row += "<td>";
                 Escaped(row, finding.path);
               });
}

std::string HtmlReport::Render() const {
  std::string html = "<!DOCTYPE html><html lang=\"";
  html += MessageLanguage::Code(m_options.language);
  html += "\"><head><meta charset=\"utf-8\"><title>Quorvex report: ";
  Escaped(html, m_outcome.file);
  html += "</title><style>";
  html += kStyle;
  html += "</style></head><body><h1>Quorvex report</h1>";
  RenderFacts(html);
  if (!m_outcome.problems.empty()) {
    RenderSummaries(html);
    RenderProblems(html);
  }
  if (!m_outcome.findings.empty()) RenderFindings(html);
  if (!m_outcome.problems.empty() || !m_outcome.findings.empty()) html += kFilterScript;
  html += "</body></html>\n";
  return html;
}

bool HtmlReport::Write(const std::string& path) const {
  const std::string html = Render();
  return quorvex_write_file(path.c_str(), html.data(), html.size()) == 1;
}
