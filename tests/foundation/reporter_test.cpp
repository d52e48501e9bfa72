// The error reporter: its text builder, and the real program driven as a user would.
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

// The dialog window exists before its controls are filled; wait for the text.
std::string WaitForEditText(HWND dialog, DWORD timeoutMs) {
  char text[4096] = "";
  DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    if (HWND edit = GetDlgItem(dialog, 1000)) {
      SendMessageA(edit, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
      if (text[0]) break;
    }
    Sleep(20);
  }
  return text;
}

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

// The real reporter: find its dialog, read the edit control, press OK.
TEST(WexnoteProgramTest, ShowsLastErrorAndEndsWithZeroOnOk) {
  std::string dir = MakeTempDir("wexnote");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Wexnote.exe", dir + "Wexnote.exe"));
  ASSERT_TRUE(WriteFileText(dir + "LastError.txt", "first line\r\nFatal Error:x.cpp:1 - 1:2:3:1\r\n"));

  ChildProcess reporter;
  ASSERT_TRUE(reporter.Start("\"" + dir + "Wexnote.exe\"", dir));
  HWND dialog = WaitForWindow("Halvenorsoft Error Reporter", nullptr, reporter.Id(), 60000);
  ASSERT_NE(dialog, nullptr);

  EXPECT_EQ(WaitForEditText(dialog, 60000),
            "Halvenorsoft Reefmoor 2:\r\nfirst line\r\nFatal Error:x.cpp:1 - 1:2:3:1\r\n");
  HWND edit = GetDlgItem(dialog, 1000);
  ASSERT_NE(edit, nullptr);

  // The controls sit where the dialog template puts them.
  HWND ok = GetDlgItem(dialog, IDOK);
  ASSERT_NE(ok, nullptr);
  char caption[16] = "";
  GetWindowTextA(ok, caption, sizeof caption);
  EXPECT_STREQ(caption, "OK");
  LONG style = GetWindowLongA(edit, GWL_STYLE);
  EXPECT_TRUE(style & ES_MULTILINE);
  EXPECT_TRUE(style & ES_READONLY);
  EXPECT_TRUE(style & WS_VSCROLL);

  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
  ASSERT_TRUE(reporter.Wait(60000));
  EXPECT_EQ(reporter.ExitCode(), 0u);
  RemoveTree(dir);
}

TEST(WexnoteProgramTest, EscapeClosesWithZeroAndMissingFileShowsMessage) {
  std::string dir = MakeTempDir("wexnote_nofile");
  ASSERT_TRUE(CopyFileTo(DistDir() + "Wexnote.exe", dir + "Wexnote.exe"));
  ChildProcess reporter;
  ASSERT_TRUE(reporter.Start("\"" + dir + "Wexnote.exe\"", dir));
  HWND dialog = WaitForWindow("Halvenorsoft Error Reporter", nullptr, reporter.Id(), 60000);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WaitForEditText(dialog, 60000), std::string(kHeader) + kNoFile);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
  ASSERT_TRUE(reporter.Wait(60000));
  EXPECT_EQ(reporter.ExitCode(), 0u);
  RemoveTree(dir);
}
