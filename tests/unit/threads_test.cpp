// The generator on several threads at once: each run composes what its form gives when composed
// alone. Run under ThreadSanitizer by the test command's sanitizer step.
#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

#include "wondergen/generator.h"

namespace wondergen {
namespace {

TEST(ThreadsTest, RunsOnSeveralThreadsComposeWhatEachFormGivesAlone) {
  constexpr int kThreads = 4;
  std::array<std::map<int, std::string>, kThreads> forms;
  std::array<ModPackage, kThreads> alone;
  for (int t = 0; t < kThreads; ++t) {
    std::error_code error;
    forms[t][ValueBoxId(t)] = std::to_string(t + 1);
    forms[t][TextBoxId(t)] = FromUtf8("奇观" + std::to_string(t), error).value();
    alone[t] = ComposeModPackage([&form = forms[t]](int id) { return form[id]; });
  }
  std::atomic<int> differing{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::map<int, std::string> form = forms[t];
      for (int round = 0; round < 200; ++round) {
        const ModPackage package = ComposeModPackage([&form](int id) { return form[id]; });
        for (Document document : kDocuments)
          differing += package[Index(document)].utf8 != alone[t][Index(document)].utf8;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace wondergen
