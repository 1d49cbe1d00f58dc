#pragma once
#include <string>

namespace quorvex::internal {

// Plain-text diagnostic log for support staff, off unless the switch variable
// is present in the environment when InitDebugDump runs.
class CLCDebugDump {
 public:
#if defined(QUORVEX_MACOS_FRAMEWORK)
  // macOS hosts name per-application settings in reverse-domain form.
  static constexpr const char* kSwitchVariable = "kvr.Quorvex.DebugOutput";
#else
  static constexpr const char* kSwitchVariable = "QUORVEX_OUTPUT";
#endif
  static constexpr const char* kUnexpectedError = "想定しないエラーが発生しました。";
  static constexpr const char* kCreateFailed = "クラスの生成(new)に失敗しました。";
  static constexpr const char* kAllocFailed = "メモリ確保に失敗しました。";

  CLCDebugDump() = default;
  virtual ~CLCDebugDump() = default;

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
