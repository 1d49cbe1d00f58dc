#include "definitions/CLCSharedDefinition.h"

#include "definitions/CLCCRSDefinition.h"

#include <utility>

namespace quorvex::internal {

CLCSharedDefinition::CLCSharedDefinition(Loader load) : m_load(std::move(load)) {}

CLCSharedDefinition::~CLCSharedDefinition() = default;

const CLCCRSDefinition* CLCSharedDefinition::Get() {
  // Held while loading: a second caller waits and then finds the result.
  const std::lock_guard<std::mutex> lock(m_mutex);
  if (m_pDefinition) return m_pDefinition.get();
  std::string problem;
  m_pDefinition = m_load(problem);
  m_strProblem = m_pDefinition ? std::string() : std::move(problem);
  return m_pDefinition.get();
}

std::string CLCSharedDefinition::LoadProblem() const {
  const std::lock_guard<std::mutex> lock(m_mutex);
  return m_strProblem;
}
}  // namespace quorvex::internal
