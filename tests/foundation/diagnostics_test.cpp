// Logging and the fatal-error road.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TestSupport.h"
#include "diagnostics/Diagnostics.h"

using namespace qvtest;

namespace {

// LastError.txt's fixed text in Shift-JIS with CR LF line ends, as bytes.
const unsigned char kFixedText[] = {
    0x56, 0x69, 0x64, 0x65, 0x6F, 0x20, 0x83, 0x81, 0x83, 0x82, 0x83, 0x8A, 0x95, 0x73, 0x91, 0xAB,
    0x82, 0xC5, 0x8B, 0x4E, 0x93, 0xAE, 0x82, 0xC5, 0x82, 0xAB, 0x82, 0xDC, 0x82, 0xB9, 0x82, 0xF1,
    0x82, 0xC5, 0x82, 0xB5, 0x82, 0xBD, 0x81, 0x42, 0x0D, 0x0A, 0x88, 0xC8, 0x89, 0xBA, 0x82, 0xCC,
    0x90, 0xDD, 0x92, 0xE8, 0x82, 0xAA, 0x4D, 0x65, 0x6D, 0x6F, 0x72, 0x79, 0x82, 0xF0, 0x8F, 0xC1,
    0x94, 0xEF, 0x82, 0xB5, 0x82, 0xDC, 0x82, 0xB7, 0x82, 0xCC, 0x82, 0xC5, 0x90, 0xDD, 0x92, 0xE8,
    0x95, 0xCF, 0x8D, 0x58, 0x82, 0xB5, 0x82, 0xC4, 0x82, 0xDD, 0x82, 0xC4, 0x89, 0xBA, 0x82, 0xB3,
    0x82, 0xA2, 0x81, 0x42, 0x0D, 0x0A, 0x82, 0xDC, 0x82, 0xBD, 0x82, 0xCD, 0x81, 0x41, 0x90, 0xDD,
    0x92, 0xE8, 0x83, 0x5F, 0x83, 0x43, 0x83, 0x41, 0x83, 0x8D, 0x83, 0x4F, 0x81, 0x46, 0x90, 0xDD,
    0x92, 0xE8, 0x81, 0x46, 0x8D, 0xC5, 0x8F, 0xAC, 0x8D, 0x5C, 0x90, 0xAC, 0x20, 0x82, 0xF0, 0x91,
    0x49, 0x91, 0xF0, 0x82, 0xB5, 0x82, 0xC4, 0x82, 0xDD, 0x82, 0xC4, 0x89, 0xBA, 0x82, 0xB3, 0x82,
    0xA2, 0x81, 0x42, 0x0D, 0x0A, 0x0D, 0x0A, 0x8C, 0xB6, 0x8A, 0x6F, 0x8C, 0xF8, 0x89, 0xCA, 0x2D,
    0x3E, 0x4F, 0x46, 0x46, 0x0D, 0x0A, 0x8B, 0x9B, 0x2D, 0x3E, 0x8C, 0xB8, 0x82, 0xE7, 0x82, 0xB7,
    0x0D, 0x0A, 0x54, 0x77, 0x69, 0x6E, 0x66, 0x69, 0x6E, 0x20, 0x54, 0x65, 0x63, 0x68, 0x6E, 0x6F,
    0x6C, 0x6F, 0x67, 0x79, 0x2D, 0x3E, 0x4F, 0x46, 0x46, 0x0D, 0x0A, 0x0D, 0x0A,
};

std::string ReadLog() {
  auto bytes = ReadFileBytes(kLogFilePath);
  return std::string(bytes.begin(), bytes.end());
}

class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("c:\\log", nullptr);
    DeleteFileA(kLogFilePath);
  }
  void TearDown() override {
    SetDebugLogLevel(0);
    DeleteFileA(kLogFilePath);
  }
};

}  // namespace

TEST_F(LogTest, LevelZeroWritesNothing) {
  SetDebugLogLevel(0);
  LogPrint("nothing %d\n", 1);
  EXPECT_FALSE(FileExists(kLogFilePath));
}

TEST_F(LogTest, LevelOneWritesDatedLinesWithCrLf) {
  SetDebugLogLevel(1);
  LogPrint("WORLD AddChild : %s\n", "C6Fish");
  LogPrint("second\n");
  std::string log = ReadLog();
  // "[MM/DD/YY:HH:MM:SS] text\r\n" twice.
  ASSERT_EQ(log.size(), 2 * 20 + strlen("WORLD AddChild : C6Fish\r\n") + strlen("second\r\n")) << log;
  EXPECT_EQ(log[0], '[');
  EXPECT_EQ(log[3], '/');
  EXPECT_EQ(log[6], '/');
  EXPECT_EQ(log[9], ':');
  EXPECT_EQ(log[12], ':');
  EXPECT_EQ(log[15], ':');
  EXPECT_EQ(log.substr(18, 2), "] ");
  EXPECT_EQ(log.substr(20, 25), "WORLD AddChild : C6Fish\r\n");
  EXPECT_EQ(log.substr(log.size() - 8), "second\r\n");
}

TEST_F(LogTest, LongTextIsCutNotOverrun) {
  SetDebugLogLevel(1);
  std::string big(5000, 'x');
  LogPrint("%s%s\n", big.c_str(), big.c_str());
  std::string log = ReadLog();
  EXPECT_EQ(log.size(), 1023u);  // the dated line holds at most 1023 characters
  EXPECT_EQ(log.back(), 'x');
}

TEST_F(LogTest, MissingFolderLosesTheLineSilently) {
  SetDebugLogLevel(1);
  RemoveTree("c:\\log\\");  // other programs' files in it too
  ASSERT_EQ(GetFileAttributesA("c:\\log"), INVALID_FILE_ATTRIBUTES);
  LogPrint("lost\n");
  EXPECT_FALSE(FileExists(kLogFilePath));
}

TEST(FormatBoundedTest, TerminatesAndReportsWhatWasKept) {
  char buffer[8];
  memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(FormatBoundedV(buffer, sizeof buffer, "%s", "0123456789"), 7);
  EXPECT_STREQ(buffer, "0123456");
  EXPECT_EQ(FormatBoundedV(buffer, sizeof buffer, "%d", 42), 2);
  EXPECT_STREQ(buffer, "42");
}

TEST(ProgramFolderTest, DefaultsToTheExecutableFolderAndEndsInBackslash) {
  std::string folder = GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_TRUE(FileExists(folder + "foundation_tests.exe"));
  SetProgramFolder("c:\\somewhere");
  EXPECT_STREQ(GetProgramFolder(), "c:\\somewhere\\");
  SetProgramFolder(folder.c_str());
  EXPECT_EQ(GetProgramFolder(), folder);
}

TEST(FatalLineTest, UpperCaseHexWithoutLeadingZeros) {
  char line[268];
  FormatFatalLine(line, sizeof line, "C3World.cpp", 120, "10:11:12", static_cast<HRESULT>(0x8876086C));
  EXPECT_STREQ(line, "Fatal Error:C3World.cpp:120 - 10:11:12:8876086C\n");
  FormatFatalLine(line, sizeof line, "x", 1, "t", 1);
  EXPECT_STREQ(line, "Fatal Error:x:1 - t:1\n");
  std::string longName(400, 'n');
  FormatFatalLine(line, sizeof line, longName.c_str(), 1, "t", 1);
  EXPECT_EQ(strlen(line), 267u);
}

TEST(FatalCheckTest, ZeroPasses) { EXPECT_EQ(FatalCheck("a", 1, "b", 0), 0); }

// The real fatal road, in a child process in its own folder with a stand-in reporter.
class FatalRoadTest : public ::testing::TestWithParam<std::pair<unsigned, const char*>> {};

TEST_P(FatalRoadTest, WritesLastErrorStartsReporterAndExitsWithOne) {
  std::string dir = MakeTempDir("fatal");
  ASSERT_TRUE(CopyFileTo(TestBinDir() + "fatal_probe.exe", dir + "fatal_probe.exe"));
  ASSERT_TRUE(CopyFileTo(TestBinDir() + "reporter_standin.exe", dir + "Wexnote.exe"));
  char args[32];
  snprintf(args, sizeof args, " %X", GetParam().first);
  long code = RunProcess("\"" + dir + "fatal_probe.exe\"" + args, dir, 30000);
  EXPECT_EQ(code, 1);

  auto bytes = ReadFileBytes(dir + "LastError.txt");
  std::string expected(reinterpret_cast<const char*>(kFixedText), sizeof kFixedText);
  expected += "Fatal Error:probe.cpp:42 - 12:34:56:";
  expected += GetParam().second;
  expected += "\r\n";
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);

  // The reporter is started asynchronously; give it a moment.
  for (int i = 0; i < 100 && !FileExists(dir + "started.txt"); ++i) Sleep(50);
  EXPECT_TRUE(FileExists(dir + "started.txt"));
  RemoveTree(dir);
}

INSTANTIATE_TEST_SUITE_P(Codes, FatalRoadTest,
                         ::testing::Values(std::make_pair(1u, "1"),  // S_FALSE is fatal too
                                           std::make_pair(0x8876086Cu, "8876086C")));

TEST(FatalRoadTest, ExitsWithOneWhenNoReporterExists) {
  std::string dir = MakeTempDir("fatal_noreporter");
  ASSERT_TRUE(CopyFileTo(TestBinDir() + "fatal_probe.exe", dir + "fatal_probe.exe"));
  EXPECT_EQ(RunProcess("\"" + dir + "fatal_probe.exe\" 80004005", dir, 30000), 1);
  EXPECT_TRUE(FileExists(dir + "LastError.txt"));
  RemoveTree(dir);
}
