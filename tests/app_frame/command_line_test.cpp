// Mode choice from the command line.
#include <gtest/gtest.h>

#include <string>

#include "CommandLine.h"

TEST(CommandLineTest, EverySwitchPicksItsMode) {
  EXPECT_EQ(ParseCommandLine("/s").mode, kModeFullScreen);
  EXPECT_EQ(ParseCommandLine("/p 1234").mode, kModePreview);
  EXPECT_EQ(ParseCommandLine("/c").mode, kModeConfigure);
  EXPECT_EQ(ParseCommandLine("/a").mode, kModePassword);
  EXPECT_EQ(ParseCommandLine("/debug").mode, kModeDebug);
  EXPECT_EQ(ParseCommandLine("").mode, kModeConfigure);
  EXPECT_EQ(ParseCommandLine(nullptr).mode, kModeConfigure);
  EXPECT_EQ(ParseCommandLine("   ").mode, kModeConfigure);
}

TEST(CommandLineTest, OddSpellings) {
  EXPECT_EQ(ParseCommandLine("/S").mode, kModeFullScreen);
  EXPECT_EQ(ParseCommandLine("/s:12").mode, kModeFullScreen);
  EXPECT_EQ(ParseCommandLine("  /s  extra").mode, kModeFullScreen);
  EXPECT_EQ(ParseCommandLine("/DEBUG").mode, kModeDebug);
  EXPECT_EQ(ParseCommandLine("/sx").mode, kModeConfigure);
  EXPECT_EQ(ParseCommandLine("s").mode, kModeConfigure);
  EXPECT_EQ(ParseCommandLine("/c:4567").mode, kModeConfigure);
  EXPECT_EQ(ParseCommandLine("/P:88").mode, kModePreview);
}

TEST(CommandLineTest, PreviewHandle) {
  CommandLineChoice choice = ParseCommandLine("/p 1234");
  EXPECT_TRUE(choice.hasParent);
  EXPECT_EQ(choice.parent, 1234u);

  choice = ParseCommandLine("/p 0");
  EXPECT_TRUE(choice.hasParent);
  EXPECT_EQ(choice.parent, 0u);

  choice = ParseCommandLine("/p");
  EXPECT_EQ(choice.mode, kModePreview);
  EXPECT_FALSE(choice.hasParent);

  choice = ParseCommandLine("/p abc");
  EXPECT_FALSE(choice.hasParent);
  choice = ParseCommandLine("/p 12x");
  EXPECT_FALSE(choice.hasParent);
  choice = ParseCommandLine("/p 999999999999999999999999");
  EXPECT_FALSE(choice.hasParent);
}

TEST(CommandLineTest, ConfigureOwnerHandle) {
  const struct {
    const char* line;
    bool hasOwner;
    uintptr_t owner;
  } cases[] = {
      {"/c:4567", true, 4567}, {"/C 99", true, 99}, {"/c", false, 0},
      {"/c:", false, 0},       {"/c:12ab", false, 0}, {"", false, 0},
  };
  for (const auto& c : cases) {
    CommandLineChoice choice = ParseCommandLine(c.line);
    EXPECT_EQ(choice.mode, kModeConfigure) << c.line;
    EXPECT_EQ(choice.hasParent, c.hasOwner) << c.line;
    if (c.hasOwner) {
      EXPECT_EQ(choice.parent, c.owner) << c.line;
    }
  }
}

TEST(CommandLineTest, OverLongLinesAreCutNotOverrun) {
  // A switch followed by far more than the buffer holds.
  std::string line = "/s " + std::string(5000, 'x');
  EXPECT_EQ(ParseCommandLine(line.c_str()).mode, kModeFullScreen);

  // Only the first 255 characters are read: a handle past them is lost.
  std::string preview = "/p" + std::string(300, ' ') + "4321";
  CommandLineChoice choice = ParseCommandLine(preview.c_str());
  EXPECT_EQ(choice.mode, kModePreview);
  EXPECT_FALSE(choice.hasParent);

  // A handle that ends exactly at the cut is cut with it.
  std::string cut = "/p " + std::string(250, ' ') + "12345678";
  choice = ParseCommandLine(cut.c_str());
  EXPECT_TRUE(choice.hasParent);
  EXPECT_EQ(choice.parent, 12u);

  // One giant token is no switch.
  std::string giant = "/" + std::string(10000, 's');
  EXPECT_EQ(ParseCommandLine(giant.c_str()).mode, kModeConfigure);
}
