// The error reporter's text builder.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ErrorText.h"
#include "TestSupport.h"

using namespace qvtest;

namespace {

const char kHeader[] = "Halvenorsoft Reefmoor 2:\r\n";
// "エラーが発生したので強制終了しました。" in Shift-JIS.
const char kNoFile[] =
    "\x83\x47\x83\x89\x81\x5b\x82\xaa\x94\xad\x90\xb6\x82\xb5\x82\xbd\x82\xcc\x82\xc5\x8b\xad"
    "\x90\xa7\x8f\x49\x97\xb9\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81\x42";

class ErrorTextTest : public ::testing::Test {
 protected:
  void SetUp() override { dir_ = MakeTempDir("errtext"); }
  void TearDown() override { RemoveTree(dir_); }

  std::string Build(const std::string& content, size_t size = kErrorTextSize) {
    std::string path = dir_ + "LastError.txt";
    WriteFileText(path, content);
    std::string out(size + 16, '#');
    size_t n = BuildErrorText(path.c_str(), &out[0], size);
    EXPECT_EQ(out[n], '\0');
    EXPECT_EQ(out[size + 1], '#');  // nothing written past the buffer
    return out.substr(0, n);
  }

  std::string dir_;
};

}  // namespace

TEST_F(ErrorTextTest, MissingFileGivesHeaderAndFixedMessage) {
  char out[kErrorTextSize];
  BuildErrorText((dir_ + "absent.txt").c_str(), out, sizeof out);
  EXPECT_EQ(std::string(out), std::string(kHeader) + kNoFile);
}

TEST_F(ErrorTextTest, EmptyFileGivesHeaderOnly) { EXPECT_EQ(Build(""), kHeader); }

TEST_F(ErrorTextTest, LineEndsBecomeOneCrLf) {
  EXPECT_EQ(Build("one\r\ntwo\r\n\r\nthree\n"),
            std::string(kHeader) + "one\r\ntwo\r\n\r\nthree\r\n");
}

TEST_F(ErrorTextTest, LastLineWithoutLineEndGetsOne) {
  EXPECT_EQ(Build("alpha\r\nomega"), std::string(kHeader) + "alpha\r\nomega\r\n");
}

TEST_F(ErrorTextTest, ShiftJisPassesThroughUnchanged) {
  // "表示" and "ソ" carry 0x5C trail bytes.
  std::string sjis = "\x95\x5c\x8e\xa6\x83\x5c";
  EXPECT_EQ(Build(sjis + "\r\n"), std::string(kHeader) + sjis + "\r\n");
}

TEST_F(ErrorTextTest, LongLinesArriveInPiecesAndTheTextIsCut) {
  std::string content;
  for (int i = 0; i < 40; ++i) content += std::string(500, 'a' + i % 26) + "\r\n";
  content += std::string(7000, 'z');
  std::string text = Build(content);
  EXPECT_EQ(text.size(), kErrorTextSize - 1);
  EXPECT_EQ(text.compare(0, strlen(kHeader), kHeader), 0);
  EXPECT_EQ(text.substr(strlen(kHeader), 500), std::string(500, 'a'));
}

TEST_F(ErrorTextTest, CutNeverSplitsADoubleByteCharacter) {
  // Header (26 bytes) + 2-byte characters into a 32-byte buffer: 31 usable bytes.
  std::string text = Build(std::string(20, '\x83') + "\r\n", 32);
  // 0x83 0x83 pairs: 26 + 4 = 30 fits, 32 would not.
  EXPECT_EQ(text.size(), 30u);
}

TEST(LastErrorPathTest, SitsBesideTheProgram) {
  char out[MAX_PATH];
  LastErrorPathFor("C:\\Program Files\\Qelvar\\Wexnote.exe", out, sizeof out);
  EXPECT_STREQ(out, "C:\\Program Files\\Qelvar\\LastError.txt");
  LastErrorPathFor("Wexnote.exe", out, sizeof out);
  EXPECT_STREQ(out, "LastError.txt");
  char small[8];
  LastErrorPathFor("C:\\a\\Wexnote.exe", small, sizeof small);
  EXPECT_EQ(strlen(small), 7u);
}

