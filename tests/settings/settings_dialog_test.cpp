// Settings against a dialog page: combo boxes, check boxes and edit fields
// found by control id.
#include <gtest/gtest.h>

#include <string>

#include "Settings.h"
#include "SettingsTestSupport.h"

using settingstest::ProgramFolderFixture;

namespace {

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogTest() : folder_("settings_dialog") {}

  void SetUp() override {
    page_ = CreateWindowExA(0, "STATIC", "page", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                            GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(page_, nullptr);
    Child("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 1035);  // Waterity
    Child("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 1036);  // Lights
    Child("COMBOBOX", CBS_DROPDOWNLIST | WS_VSCROLL, 1009);  // MultiSurface
    Child("BUTTON", BS_AUTOCHECKBOX, 1041);                  // Seaface
    Child("BUTTON", BS_AUTOCHECKBOX, 1045);                  // TwinfinTech
    Child("EDIT", ES_AUTOHSCROLL, 1093);                     // CameraAIStability
    LoadSettings(0);
    ProgramFolderFixture::ClearLog();
  }
  void TearDown() override {
    if (page_) DestroyWindow(page_);
  }
  HWND Child(const char* cls, DWORD style, int id) {
    return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 120, page_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleA(nullptr), nullptr);
  }
  LRESULT Send(int id, UINT msg, WPARAM w = 0, LPARAM l = 0) {
    return SendDlgItemMessageA(page_, id, msg, w, l);
  }
  std::string Text(int id) {
    char text[64] = "";
    GetDlgItemTextA(page_, id, text, sizeof text);
    return text;
  }

  ProgramFolderFixture folder_;
  HWND page_ = nullptr;
};

}  // namespace

TEST_F(SettingsDialogTest, ToDialogFillsTheControlsFound) {
  SetSceneSetting(kSceneCameraAIStability, -5);
  SettingsToDialog(page_);

  ASSERT_EQ(Send(1035, CB_GETCOUNT), 5);
  EXPECT_EQ(Send(1035, CB_GETCURSEL), 4);
  for (int k = 0; k < 5; ++k) EXPECT_EQ(Send(1035, CB_GETITEMDATA, k), k);
  char label[64] = "";
  Send(1035, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(label));
  EXPECT_EQ(std::string(label), "\x90\xC2\x82\xA2");  // 青い
  EXPECT_EQ(Send(1036, CB_GETCOUNT), 4);
  EXPECT_EQ(Send(1036, CB_GETCURSEL), 3);
  EXPECT_EQ(Send(1009, CB_GETCOUNT), 4);
  EXPECT_EQ(Send(1009, CB_GETCURSEL), 1);
  EXPECT_EQ(Send(1041, BM_GETCHECK), BST_CHECKED);
  EXPECT_EQ(Send(1045, BM_GETCHECK), BST_UNCHECKED);
  EXPECT_EQ(Text(1093), "4294967291");  // shown unsigned

  // A second push refills rather than appends.
  SettingsToDialog(page_);
  EXPECT_EQ(Send(1035, CB_GETCOUNT), 5);

  std::string log = ProgramFolderFixture::Log();
  EXPECT_NE(log.find("No Dlg Item Flare\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("No Dlg Item PixelShader11\r\n"), std::string::npos) << log;
  EXPECT_EQ(log.find("No Dlg Item Waterity"), std::string::npos) << log;
  // Items without a control are never looked for.
  EXPECT_EQ(log.find("FBRotation"), std::string::npos) << log;
  EXPECT_EQ(log.find("CrashGuard"), std::string::npos) << log;
}

TEST_F(SettingsDialogTest, FromDialogReadsTheControlsBack) {
  SettingsToDialog(page_);
  Send(1035, CB_SETCURSEL, 1);
  Send(1036, CB_SETCURSEL, 0);
  Send(1041, BM_SETCHECK, BST_UNCHECKED);
  Send(1045, BM_SETCHECK, BST_CHECKED);
  SetDlgItemTextA(page_, 1093, "7");
  ProgramFolderFixture::ClearLog();
  SettingsFromDialog(page_);
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 1);
  EXPECT_EQ(GetSceneSetting(kSceneLights), 0);
  EXPECT_EQ(GetSceneSetting(kSceneSeaface), 0);
  EXPECT_EQ(GetTechSetting(kTechTwinfinTech), 1);
  EXPECT_EQ(GetSceneSetting(kSceneCameraAIStability), 7);
  SetDlgItemTextA(page_, 1093, "4294967291");  // unsigned text of -5
  SettingsFromDialog(page_);
  EXPECT_EQ(GetSceneSetting(kSceneCameraAIStability), -5);
  // Controls missing from the page keep their values silently.
  EXPECT_EQ(GetSceneSetting(kSceneFlare), 1);
  EXPECT_EQ(ProgramFolderFixture::Log().find("No Dlg Item"), std::string::npos);
}

TEST_F(SettingsDialogTest, NoSelectionKeepsTheOldValue) {
  SetSceneSetting(kSceneWaterity, 2);
  SettingsToDialog(page_);
  Send(1035, CB_SETCURSEL, static_cast<WPARAM>(-1));
  ASSERT_EQ(Send(1035, CB_GETCURSEL), CB_ERR);
  SettingsFromDialog(page_);
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 2);

  // A value that names no label selects nothing and survives the read.
  SetSceneSetting(kSceneWaterity, 9);
  SettingsToDialog(page_);
  EXPECT_EQ(Send(1035, CB_GETCURSEL), CB_ERR);
  SettingsFromDialog(page_);
  EXPECT_EQ(GetSceneSetting(kSceneWaterity), 9);

  // An empty combo box (never filled) keeps it too.
  Send(1036, CB_RESETCONTENT);
  SettingsFromDialog(page_);
  EXPECT_EQ(GetSceneSetting(kSceneLights), 3);
}

