// Linked into every test program: when a test that started a program fails,
// the random seeds that program logged are printed with the failure, so the
// run's scenery, floor and flocks can be traced back.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "TestSupport.h"

namespace {

// The program's debug log, where it notes its seed at the start of a run.
constexpr const char* kProgramLog = "c:\\log\\orvexlog.txt";

class ProgramSeedReport : public ::testing::EmptyTestEventListener {
 public:
  void OnTestStart(const ::testing::TestInfo&) override { startedBefore_ = qvtest::ProgramsStarted(); }

  void OnTestEnd(const ::testing::TestInfo& test) override {
    if (!test.result()->Failed() || qvtest::ProgramsStarted() == startedBefore_) return;
    std::istringstream log(qvtest::ReadFileText(kProgramLog));
    std::string line;
    bool any = false;
    while (std::getline(log, line)) {
      if (line.find("random seed ") == std::string::npos) continue;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      std::printf("program's %s\n", line.c_str());
      any = true;
    }
    if (!any) std::printf("no random seed of a program in %s (its log was off)\n", kProgramLog);
    std::fflush(stdout);
  }

 private:
  int startedBefore_ = 0;
};

const bool registered = [] {
  ::testing::UnitTest::GetInstance()->listeners().Append(new ProgramSeedReport);
  return true;
}();

}  // namespace
