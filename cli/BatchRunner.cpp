#include "BatchRunner.h"

#include "Interruption.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <sys/stat.h>
#include <thread>

namespace {

// The file's identity, so that two spellings of one path are seen as one file;
// the path itself when it cannot be examined (the operation reports why).
std::string FileIdentity(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0) return "path:" + path;
  return "inode:" + std::to_string(status.st_dev) + ':' + std::to_string(status.st_ino);
}

bool EndsWithCsv(const std::string& name) {
  if (name.size() < 4) return false;
  std::string extension = name.substr(name.size() - 4);
  std::transform(extension.begin(), extension.end(), extension.begin(), [](unsigned char c) { return std::tolower(c); });
  return extension == ".csv";
}

}  // namespace

std::string BatchRunner::OutputPath(const std::string& file) const {
  if (m_options.command != ToolCommand::Convert) return {};
  if (m_options.outputFolder.empty()) return m_options.output;
  std::string name = file.substr(file.find_last_of('/') + 1);
  if (EndsWithCsv(name)) name.resize(name.size() - 4);
  std::string folder = m_options.outputFolder;
  if (folder.back() != '/') folder += '/';
  return folder + name + ".xml";
}

BatchRunner::Plan BatchRunner::MakePlan() const {
  const std::vector<std::string>& files = m_options.files;
  Plan plan{std::vector<std::string>(files.size()), std::vector<std::string>(files.size())};
  std::map<std::string, std::size_t> inputs;   // identity -> first index
  std::map<std::string, std::size_t> outputs;  // output path -> first index
  for (std::size_t i = 0; i < files.size(); ++i) {
    plan.outputs[i] = OutputPath(files[i]);
    const auto input = inputs.emplace(FileIdentity(files[i]), i);
    if (!input.second) {
      plan.refusals[i] = "the same file as argument " + std::to_string(input.first->second + 1) + " (" +
                         files[input.first->second] + "); skipped";
      continue;
    }
    if (plan.outputs[i].empty() || !m_options.batch()) continue;
    const auto output = outputs.emplace(plan.outputs[i], i);
    if (!output.second) {
      plan.refusals[i] = "its output " + plan.outputs[i] + " is also the output of " + files[output.first->second] +
                         "; skipped";
    }
  }
  return plan;
}

FileOutcome BatchRunner::RunFile(const Plan& plan, std::size_t i) const {
  const std::string& file = m_options.files[i];
  if (!plan.refusals[i].empty() || Interruption::Requested()) {
    FileOutcome outcome;
    outcome.file = file;
    outcome.interrupted = plan.refusals[i].empty();
    outcome.refusal = outcome.interrupted ? "not run: interrupted" : plan.refusals[i];
    return outcome;
  }
  // The thread's edge: an exception that left here would end the whole process.
  try {
    return m_task ? m_task(file, plan.outputs[i]) : FileTask(m_options, file, plan.outputs[i]).Run();
  } catch (const std::exception& error) {
    return FileOutcome::Unexpected(file, error.what());
  } catch (...) {
    return FileOutcome::Unexpected(file, "not a standard exception");
  }
}

void BatchRunner::Run(const std::function<void(FileOutcome&&)>& deliver) const {
  const std::vector<std::string>& files = m_options.files;
  const Plan plan = MakePlan();
  std::vector<std::optional<FileOutcome>> done(files.size());
  std::mutex mutex;
  std::condition_variable ready;
  std::atomic<std::size_t> next{0};

  const auto work = [&] {
    for (std::size_t i = next++; i < files.size(); i = next++) {
      FileOutcome outcome = RunFile(plan, i);
      {
        std::lock_guard<std::mutex> lock(mutex);
        done[i] = std::move(outcome);
      }
      ready.notify_all();
    }
  };

  const std::size_t threads = std::min<std::size_t>(std::max(1u, m_options.jobs), files.size());
  std::vector<std::thread> pool;
  for (std::size_t t = 0; t < threads; ++t) pool.emplace_back(work);
  for (std::size_t i = 0; i < files.size(); ++i) {
    FileOutcome outcome;
    {
      std::unique_lock<std::mutex> lock(mutex);
      ready.wait(lock, [&] { return done[i].has_value(); });
      outcome = std::move(*done[i]);
      done[i].reset();
    }
    deliver(std::move(outcome));
  }
  for (std::thread& thread : pool) thread.join();
}
