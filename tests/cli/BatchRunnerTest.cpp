// The tool's batch runner with file tasks of the test's own: what one file's
// run throws fails that file alone, on whichever thread it ran, and every other
// file still runs and is delivered in command-line order.
#include "BatchRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum class Behaviour { Pass, Fail, ThrowStandard, ThrowOther };

TEST(BatchRunner, AFileWhoseRunThrowsFailsAloneAndTheOthersRun) {
  struct Case {
    std::string file;
    Behaviour behaviour;
    bool passed;
    std::string refusal;
  };
  const std::vector<Case> cases = {
      {"/no/such/a.csv", Behaviour::Pass, true, ""},
      {"/no/such/b.csv", Behaviour::ThrowStandard, false, "stopped by an unexpected error (disk on fire)"},
      {"/no/such/c.csv", Behaviour::ThrowOther, false, "stopped by an unexpected error (not a standard exception)"},
      {"/no/such/d.csv", Behaviour::Fail, false, ""},
      {"/no/such/e.csv", Behaviour::Pass, true, ""},
  };
  for (const unsigned jobs : {1u, 2u}) {
    ToolOptions options;
    options.jobs = jobs;
    for (const Case& c : cases) options.files.push_back(c.file);
    const BatchRunner runner(options, [&](const std::string& file, const std::string&) {
      const Behaviour behaviour =
          std::find_if(cases.begin(), cases.end(), [&](const Case& c) { return c.file == file; })->behaviour;
      if (behaviour == Behaviour::ThrowStandard) throw std::runtime_error("disk on fire");
      if (behaviour == Behaviour::ThrowOther) throw 42;
      FileOutcome outcome;
      outcome.file = file;
      outcome.record.putResult(behaviour == Behaviour::Pass ? "S_OK" : "E_FAIL");
      return outcome;
    });

    std::vector<FileOutcome> delivered;
    runner.Run([&](FileOutcome&& outcome) { delivered.push_back(std::move(outcome)); });
    ASSERT_EQ(delivered.size(), cases.size()) << jobs << " threads";
    for (std::size_t i = 0; i < cases.size(); ++i) {
      EXPECT_EQ(delivered[i].file, cases[i].file) << jobs << " threads";
      EXPECT_EQ(delivered[i].passed(), cases[i].passed) << cases[i].file;
      EXPECT_EQ(delivered[i].refusal, cases[i].refusal) << cases[i].file;
      EXPECT_FALSE(delivered[i].interrupted) << cases[i].file;
      EXPECT_EQ(delivered[i].record.getResult(), cases[i].passed ? "S_OK" : "E_FAIL") << cases[i].file;
    }
  }
}

}  // namespace
