// Record keys: Shift-JIS aware lowering, independent of the code page.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "pluginlists/X2PluginKey.h"

namespace {

X2RecordHeader Header(const char* name, const char* maker) {
  X2RecordHeader h = {};
  std::strncpy(h.name, name, sizeof(h.name) - 1);
  std::strncpy(h.maker, maker, sizeof(h.maker) - 1);
  return h;
}

}  // namespace

TEST(PluginKey, LowersLatinLettersOnly) {
  EXPECT_EQ(X2LowerKey(std::string("Hiking_MAKER 1-Z")), "hiking_maker 1-z");
  EXPECT_EQ(X2LowerKey(std::string("")), "");
}

TEST(PluginKey, LeavesBothBytesOfDoubleByteCharactersAlone) {
  // ダ is 83 5F, ア is 83 41, ツ is 83 63, 表 is 95 5C: trail bytes that look
  // like '_', 'A', 'c' and '\\'.
  EXPECT_EQ(std::string("ダ"), "\x83\x5F");
  EXPECT_EQ(X2LowerKey(std::string("\x83\x41" "B")), "\x83\x41" "b");
  EXPECT_EQ(X2LowerKey(std::string("ア")), "\x83\x41");
  EXPECT_EQ(X2LowerKey(std::string("ダイバーAI")), std::string("ダイバー") + "ai");
  // A lead byte in the E0-FC block (漢 is 8A BF; 縺 is E4 41).
  EXPECT_EQ(X2LowerKey(std::string("\xE4\x41Q")), "\xE4\x41q");
  // A lone lead byte at the end does not swallow the terminator.
  EXPECT_EQ(X2LowerKey(std::string("A\x83")), "a\x83");
  // Half-width katakana (A1-DF) are single bytes.
  EXPECT_EQ(X2LowerKey(std::string("\xB1" "A")), "\xB1" "a");
}

TEST(PluginKey, BuildsNameUnderscoreMakerLowered) {
  X2RecordHeader h = Header("ハイキング(群)", "ハルベノルソフト");
  char key[X2_NAME_SIZE];
  X2BuildKey(&h, key, sizeof(key));
  EXPECT_STREQ(key, "ハイキング(群)_ハルベノルソフト");

  X2RecordHeader latin = Header("Diver", "QvTest");
  X2BuildKey(&latin, key, sizeof(key));
  EXPECT_STREQ(key, "diver_qvtest");
}

TEST(PluginKey, LongKeysAreCutWithoutSplittingACharacter) {
  std::string name(200, 'A');
  std::string maker;
  for (int i = 0; i < 40; ++i) maker += "ダ";
  X2RecordHeader h = Header(name.c_str(), maker.c_str());
  char key[X2_NAME_SIZE];
  X2BuildKey(&h, key, sizeof(key));
  size_t len = std::strlen(key);
  EXPECT_LE(len, 259u);
  EXPECT_EQ((len - 201) % 2, 0u);  // whole double-byte characters after "a..a_"
  EXPECT_EQ(std::string(key, 201), std::string(200, 'a') + "_");
}

TEST(PluginKey, UnterminatedFieldsStayInBounds) {
  X2RecordHeader h;
  std::memset(&h, 'N', sizeof(h));
  char key[X2_NAME_SIZE];
  X2BuildKey(&h, key, sizeof(key));
  EXPECT_EQ(std::strlen(key), 259u);
  EXPECT_EQ(key[0], 'n');
}
