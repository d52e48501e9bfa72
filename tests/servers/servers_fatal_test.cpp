// Misuses of the servers that end the program: exit code 1 and the server's
// name in LastError.txt.
#include <gtest/gtest.h>

#include <string>

#include "TestSupport.h"

namespace {

using namespace qvtest;

class ServerFatalTest : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(ServerFatalTest, EndsThroughTheFatalRoad) {
  const std::string dir = MakeTempDir("servers_fatal");
  ASSERT_TRUE(CopyFileTo(TestBinDir() + "servers_fatal_probe.exe", dir + "probe.exe"));
  EXPECT_EQ(1, RunProcess("\"" + dir + "probe.exe\" " + GetParam().first, dir, 60000));
  auto bytes = ReadFileBytes(dir + "LastError.txt");
  const std::string text(bytes.begin(), bytes.end());
  EXPECT_NE(std::string::npos, text.find(GetParam().second)) << text;
  // Capacity and null-buffer ends pass code 1; an assembly failure passes the
  // assembler's own code, before any shader is created.
  const bool codeOne = text.size() >= 4 && text.compare(text.size() - 4, 4, ":1\r\n") == 0;
  EXPECT_EQ(std::string(GetParam().first) != "badvs", codeOne) << text;
  RemoveTree(dir);
}

INSTANTIATE_TEST_SUITE_P(Cases, ServerFatalTest,
                         ::testing::Values(std::make_pair("shaders", "Fatal Error:VSServer:"),
                                           std::make_pair("badvs", "Fatal Error:VSServer:"),
                                           std::make_pair("nullvb", "Fatal Error:VBServer:")));

}  // namespace
