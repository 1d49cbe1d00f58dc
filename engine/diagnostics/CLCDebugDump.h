#pragma once
#include <string>

namespace quorvex::internal {

// Plain-text diagnostic log for support staff, off unless the switch variable
// is present in the environment when InitDebugDump runs.
class CLCDebugDump {
 public:
  static constexpr const char* kUnexpectedError = "想定しないエラーが発生しました。";
  static constexpr const char* kCreateFailed = "クラスの生成(new)に失敗しました。";
  static constexpr const char* kAllocFailed = "メモリ確保に失敗しました。";

  CLCDebugDump() = default;
  virtual ~CLCDebugDump() = default;

  // The environment variable that switches the log on; its name is the
  // platform body's (QUORVEX_OUTPUT, a reverse-domain name on macOS).
  static const char* SwitchVariable();

  static void InitDebugDump();
  // Appends one record; does nothing when logging is off or file/function is null.
  static void OutputLog(const char* file, int line, const char* function, const char* message);

  static bool IsOutput();
  static std::string GetOutputPath();

 private:
  // Process-wide; read and written only under the lock of CLCDebugDump.cpp,
  // since operations may run on several threads at once.
  static bool m_bOutput;
  static std::string m_strOutputPath;
};
}  // namespace quorvex::internal
