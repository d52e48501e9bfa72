// The real Qelvar.scr in configure mode, driven as a user would through its
// windows: every page opens filled from the enumeration, the plug-in lists
// and the files; flocks are added, edited through the flock AI's own dialog
// and deleted; OK writes every file and a second start shows the same
// values; Cancel leaves every file as it was. A picture of each page and of
// the human-camera dialog goes to the build's artefacts folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "CaptureBmp.h"
#include "LogTestSupport.h"
#include "TestSupport.h"

using namespace qvtest;

namespace {

const char kTitle[] = "Reefmoor2 --Sallowen-- V1.7";
const DWORD kWait = 60000;

// Control ids of the dialog (the program's resource ids).
enum {
  kTabs = 1008,
  kAdapter = 1003, kDevice = 1000, kFormat = 1051, kResolution = 1027, kRefresh = 1006,
  kDualView = 1071, kDualViewSwap = 1091, kNoMouseExit = 1092,
  kFlockList = 1069, kFish = 1031, kFlockAI = 1053, kMultiplier = 1007, kTotal = 1029,
  kFlockParam = 1070, kFlockAdd = 1073, kFlockDelete = 1074,
  kSeaface = 1041, kSkydome = 1044, kWaterity = 1035, kStructures = 1076,
  kSourceList = 1077, kSourceAI = 1078, kTargetList = 1082, kTargetAI = 1083, kTargetAdd = 1084,
  kSourceInterval = 1087, kHumanCameraSetup = 1090, kStability = 1093,
  kCoralList = 1075, kPresetHeavy = 1098,
  kPurselForm = 1004,
};
const char* const kPageNames[] = {"device", "flocks", "world", "camera", "coral", "presets"};

// Every file under a folder, by path relative to it.
using Snapshot = std::map<std::string, std::vector<uint8_t>>;
void TakeSnapshot(const std::string& dir, const std::string& prefix, Snapshot* out) {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      TakeSnapshot(dir + name + "\\", prefix + name + "\\", out);
    else
      (*out)[prefix + name] = ReadFileBytes(dir + name);
  } while (FindNextFileA(h, &found));
  FindClose(h);
}

std::string IniText(const std::string& file, const char* section, const char* key) {
  char text[512];
  GetPrivateProfileStringA(section, key, "<missing>", text, sizeof text, file.c_str());
  return text;
}

std::string Narrow(const wchar_t* text) {
  char out[2048] = "";
  WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

LRESULT Send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, w, l, SMTO_NORMAL, kWait, &result);
  return static_cast<LRESULT>(result);
}

// A window of this test that owns the dialog ("/c:<hwnd>"), answering the
// messages the program sends it while the test waits.
class OwnerWindow {
 public:
  OwnerWindow() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "QvSettingsOwner";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowA("QvSettingsOwner", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 160, 80, nullptr,
                          nullptr, GetModuleHandleA(nullptr), nullptr);
    PumpMessages(50);
  }
  ~OwnerWindow() { DestroyWindow(hwnd_); }
  HWND Handle() const { return hwnd_; }

 private:
  HWND hwnd_;
};

// The open settings dialog of a running program.
class Dialog {
 public:
  Dialog(ChildProcess* program, HWND window) : program_(program), window_(window) {}
  HWND Window() const { return window_; }

  // The page holding control `id`; null when no page has it.
  HWND Page(int id) const {
    HWND tabs = GetDlgItem(window_, kTabs);
    for (HWND child = GetWindow(tabs, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      if (GetDlgItem(child, id)) return child;
    return nullptr;
  }
  HWND Control(int id) const { return GetDlgItem(Page(id), id); }

  // As a click on the tab would: the tab control notifies the dialog. (A
  // tab control that has never had a focused tab only takes the focus on
  // the first request.)
  void ShowTab(int index) {
    HWND tabs = GetDlgItem(window_, kTabs);
    for (int i = 0; i < 2 && Send(tabs, TCM_GETCURSEL) != index; ++i)
      Send(tabs, TCM_SETCURFOCUS, static_cast<WPARAM>(index), 0);
  }
  // A command from a control, handled before this returns.
  void Command(int id, int code) {
    Send(Page(id), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Control(id)));
  }
  // A command whose handling opens a modal window: posted, not waited for.
  void PostCommand(int id, int code) {
    PostMessageA(Page(id), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Control(id)));
  }
  void Click(int id) { Command(id, BN_CLICKED); }
  void Choose(int id, int item) {
    Send(Control(id), CB_SETCURSEL, static_cast<WPARAM>(item), 0);
    Command(id, CBN_SELCHANGE);
  }
  void Check(int id, bool on) {
    Send(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    Click(id);
  }
  void SelectRow(int id, int row) {
    Send(Control(id), LB_SETCURSEL, static_cast<WPARAM>(row), 0);
    Command(id, LBN_SELCHANGE);
  }

  int Count(int id) { return static_cast<int>(Send(Control(id), IsList(id) ? LB_GETCOUNT : CB_GETCOUNT)); }
  int Selection(int id) { return static_cast<int>(Send(Control(id), IsList(id) ? LB_GETCURSEL : CB_GETCURSEL)); }
  LPARAM Data(int id, int item) { return Send(Control(id), CB_GETITEMDATA, static_cast<WPARAM>(item)); }
  bool Checked(int id) { return Send(Control(id), BM_GETCHECK) == BST_CHECKED; }
  bool Enabled(int id) { return IsWindowEnabled(Control(id)) != FALSE; }
  // Texts travel between the processes as UTF-16 and come back here in the
  // ANSI code page (Shift-JIS), as the program wrote them.
  std::string Text(int id) {
    wchar_t text[512] = L"";
    SendMessageTimeoutW(Control(id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kWait, nullptr);
    return Narrow(text);
  }
  std::string Item(int id, int item) {
    const bool list = IsList(id);
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(Control(id), list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(item), 0,
                             SMTO_NORMAL, kWait, &length) ||
        static_cast<LRESULT>(length) < 0)
      return "<none>";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageTimeoutW(Control(id), list ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(item),
                        reinterpret_cast<LPARAM>(&text[0]), SMTO_NORMAL, kWait, nullptr);
    return Narrow(text.c_str());
  }
  // The index of the combo item whose text is `text`, -1 when none.
  int Find(int id, const std::string& text) {
    for (int i = 0; i < Count(id); ++i)
      if (Item(id, i) == text) return i;
    return -1;
  }

  bool Press(int id) {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(window_, id)));
    return WaitUntil([&] { return program_->Wait(0); }, kWait) && program_->ExitCode() == 0;
  }

 private:
  static bool IsList(int id) {
    return id == kFlockList || id == kStructures || id == kSourceList || id == kTargetList || id == kCoralList;
  }
  ChildProcess* program_;
  HWND window_;
};

// The window's pixels as the screen shows them, as a 24-bit bitmap.
bool SaveWindowPicture(HWND window, const std::string& path) {
  RECT r;
  if (!GetWindowRect(window, &r)) return false;
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  const int rows = GetDIBits(memory, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return rows == h && WriteBmp24File(path.c_str(), pixels.data(), w, h, w * 4);
}

std::string ArtefactFolder() {
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

class SettingsDialogProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvsettingsdlg");
    ASSERT_TRUE(CopyFileTo(DistDir() + "Qelvar.scr", dir_ + "Qelvar.scr"));
    for (const char* sub : {"ai", "model", "preset", "preset\\1", "preset\\2", "preset\\3"})
      CreateDirectoryA((dir_ + sub).c_str(), nullptr);
    for (const char* file : {"ai\\PurselAI.qva", "ai\\Forelens.qve", "model\\vassop.qvf", "model\\Calvesh.qvc"})
      ASSERT_TRUE(CopyFileTo(DistDir() + file, dir_ + file)) << file;
    for (int n = 1; n <= 3; ++n)
      for (const char* file :
           {"qelvar.ini", "FlockConfig.ini", "CameraConfig.ini", "CoralConfig.ini", "StructureConfig.ini"}) {
        const std::string preset = "preset\\" + std::to_string(n) + "\\" + file;
        ASSERT_TRUE(CopyFileTo(DistDir() + preset, dir_ + preset)) << preset;
        // The program folder starts with the standard preset.
        if (n == 2) {
          ASSERT_TRUE(CopyFileTo(DistDir() + preset, dir_ + file));
        }
      }
    WritePrivateProfileStringA("Display", "DebugLogLevel", "1", Ini().c_str());
  }
  void TearDown() override { RemoveTree(dir_); }

  std::string Ini() const { return dir_ + "qelvar.ini"; }

  // Starts the program with `arguments` and waits until its dialog is up
  // with every page filled (the device chain reaches the refresh box).
  std::unique_ptr<Dialog> Open(ChildProcess* program, const std::string& arguments) {
    if (!program->Start("\"" + dir_ + "Qelvar.scr\" " + arguments, dir_)) return nullptr;
    HWND window = WaitForWindow(kTitle, nullptr, program->Id(), kWait);
    if (!window) return nullptr;
    auto dialog = std::make_unique<Dialog>(program, window);
    const bool ready = WaitUntil(
        [&] {
          return dialog->Page(kCoralList) && dialog->Page(kPresetHeavy) && dialog->Page(kRefresh) &&
                 dialog->Selection(kRefresh) >= 0;
        },
        kWait);
    return ready ? std::move(dialog) : nullptr;
  }

  void Picture(HWND window, const std::string& name) {
    PumpMessages(300);  // let the page paint
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpMessages(300);
    EXPECT_TRUE(SaveWindowPicture(window, ArtefactFolder() + "settings_" + name + ".bmp")) << name;
  }

  std::string dir_;
};

}  // namespace

TEST_F(SettingsDialogProgram, EveryPageEditsAndOkWritesEveryFile) {
  OwnerWindow owner;
  ChildProcess program;
  auto dialog = Open(&program, "/c:" + std::to_string(reinterpret_cast<uintptr_t>(owner.Handle())));
  ASSERT_NE(dialog, nullptr) << ReadLog();
  Dialog& d = *dialog;
  EXPECT_EQ(GetWindow(d.Window(), GW_OWNER), owner.Handle());

  // Device page: the chain filled every box from the enumeration; one
  // adapter under Wine, so no dual view.
  for (int id : {kAdapter, kDevice, kFormat, kResolution, kRefresh}) {
    EXPECT_GT(d.Count(id), 0) << id;
    EXPECT_GE(d.Selection(id), 0) << id;
  }
  EXPECT_FALSE(d.Enabled(kDualView));
  EXPECT_FALSE(d.Enabled(kDualViewSwap));
  Picture(d.Window(), "1_device");
  // The smallest resolution; the chain refills the refresh rates for it.
  d.Choose(kResolution, 0);
  const LPARAM size = d.Data(kResolution, 0);
  const std::string sizeText = d.Item(kResolution, 0);
  ASSERT_TRUE(WaitUntil([&] { return d.Selection(kRefresh) >= 0; }, kWait));
  d.Check(kNoMouseExit, true);

  // Flock page: the five flocks of the standard preset.
  d.ShowTab(1);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(d.Page(kFlockList)) != FALSE; }, kWait));
  ASSERT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Selection(kFlockList), 0);
  EXPECT_EQ(d.Item(kFlockList, 0).substr(0, 2), "0\t");
  EXPECT_GE(d.Count(kFish), 8);  // seven built in and the plug-in's
  EXPECT_GE(d.Find(kFlockAI, "追跡(群)"), 0);
  EXPECT_EQ(d.Count(kMultiplier), 6);
  EXPECT_EQ(d.Item(kMultiplier, d.Selection(kMultiplier)), "X 1");
  EXPECT_EQ(d.Text(kTotal).substr(0, 11), "TOTAL Fish:");
  EXPECT_TRUE(d.Enabled(kFlockParam));
  Picture(d.Window(), "2_flocks");

  // Add a flock, then edit its parameters in the flock AI's own dialog.
  d.Click(kFlockAdd);
  ASSERT_EQ(d.Count(kFlockList), 6);
  EXPECT_EQ(d.Selection(kFlockList), 5);
  const std::string added = d.Item(kFlockList, 5);
  EXPECT_EQ(added.substr(0, 2), "5\t") << added;
  d.PostCommand(kFlockParam, BN_CLICKED);
  HWND pursel = WaitForWindow("Pursel AI Configuration.", nullptr, program.Id(), kWait);
  ASSERT_NE(pursel, nullptr) << ReadLog();
  Send(GetDlgItem(pursel, kPurselForm), CB_SETCURSEL, 1, 0);
  PostMessageA(pursel, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return d.Item(kFlockList, 5).find("Form:") != std::string::npos; }, kWait))
      << d.Item(kFlockList, 5) << "\n" << ReadLog();
  const std::string edited = d.Item(kFlockList, 5);
  EXPECT_NE(ReadLog().find("Editted Parameter:"), std::string::npos);

  // Delete in the middle: the row that moved up is selected. Delete the
  // last: the new last is selected.
  d.SelectRow(kFlockList, 2);
  d.Click(kFlockDelete);
  ASSERT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Selection(kFlockList), 2);
  const std::string editedAt4 = "4" + edited.substr(1);
  EXPECT_EQ(d.Item(kFlockList, 4), editedAt4);
  d.Click(kFlockAdd);
  ASSERT_EQ(d.Count(kFlockList), 6);
  d.SelectRow(kFlockList, 5);
  d.Click(kFlockDelete);
  ASSERT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Selection(kFlockList), 4);
  EXPECT_EQ(d.Item(kFlockList, 4), editedAt4);

  // World page: the sky follows the sea surface.
  d.ShowTab(2);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(d.Page(kSeaface)) != FALSE; }, kWait));
  EXPECT_TRUE(d.Checked(kSeaface));
  EXPECT_TRUE(d.Enabled(kSkydome));
  EXPECT_EQ(d.Count(kWaterity), 5);
  Picture(d.Window(), "3_world");
  d.Check(kSeaface, false);
  EXPECT_FALSE(d.Enabled(kSkydome));
  d.Choose(kWaterity, 0);

  // Camera page: both rotations, an added look-at camera, the human camera.
  d.ShowTab(3);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(d.Page(kTargetList)) != FALSE; }, kWait));
  EXPECT_EQ(d.Count(kSourceList), 0);
  ASSERT_EQ(d.Count(kTargetList), 2);
  EXPECT_EQ(d.Count(kSourceAI), 0);  // the one camera plug-in steers the look-at point only
  EXPECT_EQ(d.Item(kTargetAI, 0), "移動方向");
  EXPECT_EQ(d.Selection(kTargetAI), 0);
  EXPECT_EQ(d.Item(kSourceInterval, d.Selection(kSourceInterval)), "30sec");
  Picture(d.Window(), "4_camera");
  d.Click(kTargetAdd);
  EXPECT_EQ(d.Count(kTargetList), 3);
  EXPECT_EQ(d.Selection(kTargetList), 2);
  d.PostCommand(kHumanCameraSetup, BN_CLICKED);
  HWND human = WaitForWindow("Human Camera Parameter", nullptr, program.Id(), kWait);
  ASSERT_NE(human, nullptr);
  HWND stability = GetDlgItem(human, kStability);
  EXPECT_EQ(Send(stability, TBM_GETRANGEMIN), 5);
  EXPECT_EQ(Send(stability, TBM_GETRANGEMAX), 20);
  EXPECT_EQ(Send(stability, TBM_GETPOS), 18);
  Picture(human, "7_human_camera");
  Send(stability, TBM_SETPOS, TRUE, 7);
  PostMessageA(human, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(human); }, kWait));

  // Coral page: the coral plug-in's species, switched off by a click.
  d.ShowTab(4);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(d.Page(kCoralList)) != FALSE; }, kWait));
  ASSERT_EQ(d.Count(kCoralList), 1);
  const std::string coral = d.Item(kCoralList, 0);
  EXPECT_EQ(coral.substr(0, 3), "On\t") << coral;
  Picture(d.Window(), "5_coral");
  d.SelectRow(kCoralList, 0);
  EXPECT_EQ(d.Item(kCoralList, 0), "Off\t" + coral.substr(3));
  EXPECT_EQ(d.Selection(kCoralList), -1);

  d.ShowTab(5);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(d.Page(kPresetHeavy)) != FALSE; }, kWait));
  Picture(d.Window(), "6_presets");

  ASSERT_TRUE(d.Press(IDOK));

  // Every file holds the edits.
  EXPECT_EQ(IniText(Ini(), "system", "DisableMouseExit"), "1");
  EXPECT_EQ(IniText(Ini(), "system", "Seaface"), "0");
  EXPECT_EQ(IniText(Ini(), "system", "Waterity"), "0");
  EXPECT_EQ(IniText(Ini(), "system", "CameraAIStability"), "7");
  EXPECT_EQ(IniText(Ini(), "Display", "Width"), std::to_string(size & 0xFFFF));
  EXPECT_EQ(IniText(Ini(), "Display", "Height"), std::to_string(size >> 16));
  EXPECT_NE(IniText(Ini(), "Display", "DevType"), "<missing>");
  const std::string flocks = dir_ + "FlockConfig.ini";
  EXPECT_EQ(IniText(flocks, "flockConfig", "flockCount"), "5");
  EXPECT_NE(IniText(flocks, "flock4", "aiParam").find("Form:"), std::string::npos);
  EXPECT_EQ(IniText(dir_ + "CameraConfig.ini", "TargetCameraConfig", "CameraCount"), "3");
  EXPECT_EQ(IniText(dir_ + "CameraConfig.ini", "SourceCameraConfig", "CameraCount"), "0");
  const std::string corals = ReadFileText(dir_ + "CoralConfig.ini");
  EXPECT_NE(corals.find("enable=0"), std::string::npos) << corals;

  // A second start shows what was saved; its Cancel writes nothing.
  Snapshot saved;
  TakeSnapshot(dir_, "", &saved);
  ChildProcess again;
  dialog = Open(&again, "/c");
  ASSERT_NE(dialog, nullptr);
  Dialog& e = *dialog;
  EXPECT_TRUE(e.Checked(kNoMouseExit));
  EXPECT_EQ(e.Item(kResolution, e.Selection(kResolution)), sizeText);
  EXPECT_EQ(e.Count(kFlockList), 5);
  EXPECT_EQ(e.Item(kFlockList, 4), editedAt4);
  EXPECT_FALSE(e.Checked(kSeaface));
  EXPECT_FALSE(e.Enabled(kSkydome));
  EXPECT_EQ(e.Selection(kWaterity), 0);
  EXPECT_EQ(e.Count(kTargetList), 3);
  EXPECT_EQ(e.Item(kCoralList, 0), "Off\t" + coral.substr(3));
  ASSERT_TRUE(e.Press(IDCANCEL));
  Snapshot after;
  TakeSnapshot(dir_, "", &after);
  EXPECT_TRUE(saved == after);
}

TEST_F(SettingsDialogProgram, CancelWritesNothingAndOkWritesALoadedPreset) {
  Snapshot before;
  TakeSnapshot(dir_, "", &before);
  {
    ChildProcess program;
    auto dialog = Open(&program, "/c");
    ASSERT_NE(dialog, nullptr) << ReadLog();
    Dialog& d = *dialog;
    ASSERT_EQ(d.Count(kFlockList), 5);
    // Edits on every page, the heaviest preset on top, then Cancel.
    d.Choose(kResolution, 0);
    d.Check(kNoMouseExit, true);
    d.Click(kFlockAdd);
    d.Check(kSeaface, false);
    d.Click(kTargetAdd);
    d.SelectRow(kCoralList, 0);
    d.Click(kPresetHeavy);
    EXPECT_EQ(d.Count(kFlockList), 7);  // the heavy preset's flocks
    EXPECT_EQ(d.Item(kMultiplier, d.Selection(kMultiplier)), "X 2");
    EXPECT_TRUE(d.Checked(kSeaface));
    ASSERT_TRUE(d.Press(IDCANCEL));
  }
  Snapshot after;
  TakeSnapshot(dir_, "", &after);
  ASSERT_EQ(before.size(), after.size());
  for (const auto& file : before) EXPECT_TRUE(after[file.first] == file.second) << file.first << " changed";

  // The same preset and OK: the main files take the preset's values.
  ChildProcess program;
  auto dialog = Open(&program, "/c");
  ASSERT_NE(dialog, nullptr);
  dialog->Click(kPresetHeavy);
  ASSERT_TRUE(dialog->Press(IDOK));
  const std::string preset = dir_ + "preset\\3\\";
  EXPECT_EQ(IniText(dir_ + "FlockConfig.ini", "flockConfig", "flockCount"), "7");
  EXPECT_EQ(IniText(dir_ + "FlockConfig.ini", "flockConfig", "HighPowerFactor"), "3");
  EXPECT_EQ(IniText(dir_ + "FlockConfig.ini", "flock6", "fishType"), IniText(preset + "FlockConfig.ini", "flock6", "fishType"));
  for (const char* key : {"TwinfinTech", "Waterity", "CoralDensity", "MultiSurface", "UpsDowns"})
    EXPECT_EQ(IniText(Ini(), "system", key), IniText(preset + "qelvar.ini", "system", key)) << key;
}

TEST_F(SettingsDialogProgram, TheHundredthFlockIsTheLast) {
  std::string text = "[flockConfig]\r\nflockCount=99\r\nHighPowerFactor=0\r\n";
  for (int i = 0; i < 99; ++i)
    text += "[flock" + std::to_string(i) + "]\r\nfishType=マアジ_ハルベノルソフト\r\nai=追跡(群)_ハルベノルソフト\r\naiParam=\r\n";
  ASSERT_TRUE(WriteFileText(dir_ + "FlockConfig.ini", text));
  ChildProcess program;
  auto dialog = Open(&program, "/c");
  ASSERT_NE(dialog, nullptr) << ReadLog();
  Dialog& d = *dialog;
  ASSERT_EQ(d.Count(kFlockList), 99);
  d.Click(kFlockAdd);
  ASSERT_EQ(d.Count(kFlockList), 100);
  EXPECT_EQ(d.Selection(kFlockList), 99);
  EXPECT_EQ(d.Item(kFlockList, 99).substr(0, 3), "99\t");
  // The 101st is refused: no row is selected, and with no row the delete
  // and parameter buttons do nothing.
  d.Click(kFlockAdd);
  EXPECT_EQ(d.Count(kFlockList), 100);
  EXPECT_EQ(d.Selection(kFlockList), -1);
  d.Click(kFlockDelete);
  d.Click(kFlockParam);
  EXPECT_EQ(d.Count(kFlockList), 100);
  EXPECT_EQ(FindWindowA(nullptr, "Pursel AI Configuration."), nullptr);
  ASSERT_TRUE(d.Press(IDOK));
  EXPECT_EQ(IniText(dir_ + "FlockConfig.ini", "flockConfig", "flockCount"), "100");
  EXPECT_EQ(IniText(dir_ + "FlockConfig.ini", "flock99", "fishType"), "マアジ_ハルベノルソフト");
}

TEST_F(SettingsDialogProgram, WithoutAIPlugInsNothingIsAddedAndEntriesAreKept) {
  DeleteFileA((dir_ + "ai\\PurselAI.qva").c_str());
  DeleteFileA((dir_ + "ai\\Forelens.qve").c_str());
  ChildProcess program;
  auto dialog = Open(&program, "/c");
  ASSERT_NE(dialog, nullptr) << ReadLog();
  Dialog& d = *dialog;
  // The flocks name an AI that is not installed: shown, left unselected.
  ASSERT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Count(kFlockAI), 0);
  EXPECT_EQ(d.Selection(kFlockAI), -1);
  EXPECT_FALSE(d.Enabled(kFlockParam));
  EXPECT_EQ(d.Text(kTotal), "TOTAL Fish:0");
  d.Click(kFlockAdd);
  EXPECT_EQ(d.Count(kFlockList), 5);
  d.Choose(kFish, 1);  // a fish change keeps the flock's AI
  d.Click(kTargetAdd);
  EXPECT_EQ(d.Count(kTargetList), 2);
  EXPECT_EQ(d.Selection(kTargetAI), -1);
  EXPECT_NE(ReadLog().find("KWEX no AI ID"), std::string::npos);
  ASSERT_TRUE(d.Press(IDOK));
  EXPECT_EQ(IniText(dir_ + "FlockConfig.ini", "flockConfig", "flockCount"), "5");
  EXPECT_EQ(IniText(dir_ + "FlockConfig.ini", "flock0", "ai"), "追跡(群)_ハルベノルソフト");
  EXPECT_EQ(IniText(dir_ + "CameraConfig.ini", "TargetCamera1", "ai"), "移動方向_ハルベノルソフト");
}
