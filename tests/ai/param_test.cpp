// Parameter strings: parsing, limits, defaults and writing back.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FakeHost.h"
#include "PurselTables.h"
#include "X2ForelensAI.h"
#include "X2ParamTable.h"

namespace {

class PurselParamTest : public ::testing::Test {
 protected:
  void SetUp() override { table.Load(kPurselKeys); }
  std::string Format(int length = 520) {
    std::string out(static_cast<size_t>(length > 0 ? length : 1) + 8, '#');
    table.Format(&out[0], length);
    return out.c_str();
  }
  X2ParamTable table;
};

}  // namespace

TEST_F(PurselParamTest, LoadGivesTheKeyTableAndItsDefaults) {
  ASSERT_EQ(table.Count(), 8);
  EXPECT_STREQ(table.Desc(kParamFlockID).key, "FlockID");
  EXPECT_EQ(table.Value(kParamScale), 1);
  EXPECT_EQ(table.Value(kParamSizeVarie), 1);
  EXPECT_EQ(table.Value(kParamCharacter), 1);
  EXPECT_EQ(table.Value(kParamDepth), 2);
  EXPECT_EQ(table.Desc(kParamDepth).defaultValue, 2);
  EXPECT_EQ(Format(), "");  // the all-defaults string is empty
  // Choice texts come out as Shift-JIS: "長い" = 92 B7 82 A2.
  EXPECT_STREQ(table.Desc(kParamForm).choices[1], "\x92\xb7\x82\xa2");
}

TEST_F(PurselParamTest, KeysMatchInAnyCaseAndChoicesByText) {
  table.Parse("form:長い,SCALE:少ない");
  EXPECT_EQ(table.Value(kParamForm), 1);
  EXPECT_EQ(table.Value(kParamScale), 2);
  table.Parse("Character:おとなしい\tFishPosition:後尾");  // tabs separate too
  EXPECT_EQ(table.Value(kParamCharacter), 0);
  EXPECT_EQ(table.Value(kParamFishPosition), 2);
}

TEST_F(PurselParamTest, BadItemsAreIgnored) {
  table.Parse("Scale:3,Unknown:7,Form,:長い,Depth:,Density:狭い:more,,FlockID:12");
  EXPECT_EQ(table.Value(kParamScale), 1);  // a choice takes texts, not numbers
  EXPECT_EQ(table.Value(kParamForm), 0);
  EXPECT_EQ(table.Value(kParamDepth), 2);
  EXPECT_EQ(table.Value(kParamDensity), 2);  // up to the next colon only
  EXPECT_EQ(table.Value(kParamFlockID), 12);
}

TEST_F(PurselParamTest, NullAndEmptyLeaveTheDefaults) {
  table.Parse(nullptr);
  table.Parse("");
  EXPECT_EQ(Format(), "");
}

TEST_F(PurselParamTest, OnlyTwentyItemsAndTheFirst259CharactersCount) {
  std::string text;
  for (int i = 0; i < 20; ++i) text += "X:1,";
  table.Parse((text + "FlockID:5").c_str());
  EXPECT_EQ(table.Value(kParamFlockID), 0);  // the 21st item is dropped

  std::string longText = std::string(248, ' ') + ",FlockID:12345";
  table.Parse(longText.c_str());  // cut after "FlockID:12"
  EXPECT_EQ(table.Value(kParamFlockID), 12);
}

TEST_F(PurselParamTest, FormatWritesNonDefaultsInTableOrder) {
  table.Parse("FlockID:3,Depth:表層");
  EXPECT_EQ(Format(), "Depth:表層,FlockID:3");
  table.Parse("Scale:多い");  // the default text
  EXPECT_EQ(Format(), "Depth:表層,FlockID:3");
}

TEST_F(PurselParamTest, FormatRoundTrips) {
  table.Parse("Form:広い,Density:広い,Scale:巨大,SizeVarie:X2-X3,Character:おとなしい,"
              "Depth:底層,FlockID:42,FishPosition:真ん中");
  std::string text = Format();
  X2ParamTable again;
  again.Load(kPurselKeys);
  again.Parse(text.c_str());
  for (int k = 0; k < table.Count(); ++k) EXPECT_EQ(again.Value(k), table.Value(k)) << k;
}

TEST_F(PurselParamTest, FormatStaysWithinTheGivenLength) {
  table.Parse("FlockID:3,Depth:表層");
  EXPECT_EQ(Format(9), "Depth:表");  // 8 characters and the terminator
  std::string out = "unchanged";
  table.Format(&out[0], -1);
  EXPECT_STREQ(out.c_str(), "");
  table.Format(nullptr, 10);  // no buffer: nothing happens
}

TEST_F(PurselParamTest, ChoiceAndValueAccessorsClamp) {
  table.SetValue(kParamForm, 7);
  EXPECT_EQ(table.Choice(kParamForm), 2);
  table.SetValue(kParamForm, -1);
  EXPECT_EQ(table.Choice(kParamForm), 0);
  EXPECT_EQ(table.Value(99), 0);
  EXPECT_EQ(table.Value(-1), 0);
}

TEST(ParamTableTest, HexAndCheckItemsReadBase16) {
  static const X2ParamDesc keys[] = {
      {"Mask", 0, kParamHex, 0, 0, {}, 0},
      {"On", 1, kParamCheck, 0, 0, {}, 0},
      {nullptr, 0, 0, 0, 0, {}, 0},
  };
  X2ParamTable table;
  table.Load(keys);
  table.Parse("mask:1F,On:1");
  EXPECT_EQ(table.Value(0), 0x1F);
  EXPECT_EQ(table.Value(1), 1);
  char out[64];
  table.Format(out, sizeof out);
  EXPECT_STREQ(out, "Mask:1F,On:1");
  table.Clear();
  EXPECT_EQ(table.Count(), 0);
}

TEST(ParamTableTest, ShiftJisTrailBytesAreNotCaseFolded) {
  // "広" is 8D 4C: its trail byte is a Latin capital L. A text differing only
  // in that byte's case must not match.
  X2ParamTable table;
  table.Load(kPurselKeys);
  table.Parse("Density:\x8d\x6c\x82\xa2");
  EXPECT_EQ(table.Value(kParamDensity), 0);
  table.Parse("Density:\x8d\x4c\x82\xa2");
  EXPECT_EQ(table.Value(kParamDensity), 1);
}

TEST(ForelensParamTest, LookBackParsesAndFormats) {
  X2ParamTable table;
  table.Load(kForelensKeys);
  ASSERT_EQ(table.Count(), 1);
  table.Parse("Forelens:進行方向と逆");
  EXPECT_EQ(table.Value(kParamForelens), 1);
  char out[64];
  table.Format(out, sizeof out);
  EXPECT_STREQ(out, "Forelens:進行方向と逆");
}
