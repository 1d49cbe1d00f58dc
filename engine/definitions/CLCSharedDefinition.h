#pragma once
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace quorvex::internal {

class CLCCRSDefinition;

// One definition shared by every operation of the process: loaded by the first
// operation that needs it and only read from then on. A failed load keeps its
// reason and leaves the slot empty, so that the next operation tries again;
// operations on several threads wait for one load instead of running their own.
class CLCSharedDefinition {
 public:
  // Builds the definition, or gives null with the reason in `problem`.
  using Loader = std::function<std::unique_ptr<const CLCCRSDefinition>(std::string& problem)>;

  explicit CLCSharedDefinition(Loader load);
  ~CLCSharedDefinition();
  CLCSharedDefinition(const CLCSharedDefinition&) = delete;
  CLCSharedDefinition& operator=(const CLCSharedDefinition&) = delete;

  // The loaded definition, loading it first when no load has succeeded yet;
  // null when this load failed too.
  const CLCCRSDefinition* Get();
  // Why the last load failed; empty once one has succeeded or before any.
  std::string LoadProblem() const;

 private:
  Loader m_load;
  mutable std::mutex m_mutex;
  std::unique_ptr<const CLCCRSDefinition> m_pDefinition;
  std::string m_strProblem;
};
}  // namespace quorvex::internal
