#include "diagnostics/CLCDebugDump.h"

#include "CLCCRSCommon.h"

#include <cstdio>
#include <mutex>

namespace quorvex::internal {

bool CLCDebugDump::m_bOutput = false;
std::string CLCDebugDump::m_strOutputPath;

namespace {

// Guards the two statics and keeps records of concurrent callers whole.
std::mutex& LogMutex() {
  static std::mutex mutex;
  return mutex;
}

// The record's first and third lines are each limited to 511 bytes.
constexpr std::size_t kLineBufferSize = 512;

}  // namespace

const char* CLCDebugDump::SwitchVariable() { return CLCCRSCommon::DebugSwitchVariable(); }

void CLCDebugDump::InitDebugDump() {
  // Only the presence of the variable counts, not its value.
  if (CLCCRSCommon::GetEnvironment(SwitchVariable()) == nullptr) return;
  std::string path = CLCCRSCommon::appendFilePath(CLCCRSCommon::LogDirectory().c_str(),
                                                  CLCCRSCommon::Now("'_KVR_QUORVEX_'yyyyMMdd'.log'", nullptr).c_str());
  std::lock_guard<std::mutex> lock(LogMutex());
  m_bOutput = true;
  m_strOutputPath = std::move(path);
}

void CLCDebugDump::OutputLog(const char* file, int line, const char* function, const char* message) {
  if (file == nullptr || function == nullptr) return;
  std::lock_guard<std::mutex> lock(LogMutex());
  if (!m_bOutput) return;

  const std::string now = CLCCRSCommon::Now("yyyy'-'MM'-'dd", "HH':'mm':'ss");
  char header[kLineBufferSize];
  std::snprintf(header, sizeof header, "--%s %s--\n", now.c_str(), function);
  char place[kLineBufferSize];
  std::snprintf(place, sizeof place, "[File:%s Line:%d]\n", file, line);

  std::string record(header);
  if (message != nullptr) {
    record.append(message);
    record.push_back('\n');
  }
  record.append(place);
  record.push_back('\n');

  // The log never reports failure: an unopenable file drops the record.
  CLCCRSCommon::AppendLogRecord(m_strOutputPath.c_str(), record);
}

bool CLCDebugDump::IsOutput() {
  std::lock_guard<std::mutex> lock(LogMutex());
  return m_bOutput;
}

std::string CLCDebugDump::GetOutputPath() {
  std::lock_guard<std::mutex> lock(LogMutex());
  return m_strOutputPath;
}
}  // namespace quorvex::internal
