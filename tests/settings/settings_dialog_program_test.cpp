// The real Qelvar.scr in configure mode, driven through its windows: pages
// filled from the enumeration, the plug-in lists and the files; flocks added,
// edited in the flock AI's own dialog and deleted; OK writes every file and a
// second start shows the same values; Cancel writes nothing. A picture of
// each page and of the human-camera dialog goes to the artefacts folder.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "LogTestSupport.h"
#include "TestSupport.h"
#include "diagnostics/CaptureBmp.h"

using namespace qvtest;

namespace {

const char kTitle[] = "Reefmoor2 --Sallowen-- V1.7";
const char kPursel[] = "Pursel AI Configuration.";
const DWORD kWait = 60000;

enum {  // the program's control ids
  kTabs = 1008, kResolution = 1027, kRefresh = 1006, kDualView = 1071, kNoMouseExit = 1092,
  kFlockList = 1069, kFish = 1031, kFlockAI = 1053, kMultiplier = 1007, kTotal = 1029,
  kFlockParam = 1070, kFlockAdd = 1073, kFlockDelete = 1074, kSeaface = 1041, kSkydome = 1044,
  kWaterity = 1035, kSourceList = 1077, kSourceAI = 1078, kTargetList = 1082, kTargetAI = 1083,
  kTargetAdd = 1084, kSourceInterval = 1087, kHumanCamera = 1090, kStability = 1093, kCoralList = 1075,
  kPresetHeavy = 1098, kPurselForm = 1004,
};

// Every file under a folder, by relative path.
using Snapshot = std::map<std::string, std::vector<uint8_t>>;
void TakeSnapshot(const std::string& dir, Snapshot* out, const std::string& prefix = "") {
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((dir + "*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      TakeSnapshot(dir + name + "\\", out, prefix + name + "\\");
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

LRESULT Send(HWND window, UINT message, WPARAM w = 0, LPARAM l = 0, bool wide = false) {
  DWORD_PTR result = 0;
  (wide ? SendMessageTimeoutW : SendMessageTimeoutA)(window, message, w, l, SMTO_NORMAL, kWait, &result);
  return static_cast<LRESULT>(result);
}

// The open settings dialog of a running program.
class Dialog {
 public:
  Dialog(ChildProcess* program, HWND window) : program_(program), window_(window) {}
  HWND Window() const { return window_; }

  // The page holding control `id`.
  HWND Page(int id) const {
    for (HWND p = GetWindow(GetDlgItem(window_, kTabs), GW_CHILD); p; p = GetWindow(p, GW_HWNDNEXT))
      if (GetDlgItem(p, id)) return p;
    return nullptr;
  }
  HWND Control(int id) const { return GetDlgItem(Page(id), id); }

  // As a click on tab `index` would; true once the page holding `id` shows.
  // (A tab control that never had a focused tab takes the focus first.)
  bool ShowTab(int index, int id) {
    HWND tabs = GetDlgItem(window_, kTabs);
    for (int i = 0; i < 2 && Send(tabs, TCM_GETCURSEL) != index; ++i) Send(tabs, TCM_SETCURFOCUS, index);
    return IsWindowVisible(Page(id)) != FALSE;
  }
  void Command(int id, int code, bool post = false) {
    const WPARAM w = MAKEWPARAM(id, code);
    const LPARAM l = reinterpret_cast<LPARAM>(Control(id));
    if (post)  // its handling opens a modal window
      PostMessageA(Page(id), WM_COMMAND, w, l);
    else
      Send(Page(id), WM_COMMAND, w, l);
  }
  void Click(int id, bool post = false) { Command(id, BN_CLICKED, post); }
  void Choose(int id, int item) {
    Send(Control(id), CB_SETCURSEL, item);
    Command(id, CBN_SELCHANGE);
  }
  void Check(int id, bool on) {
    Send(Control(id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
    Click(id);
  }
  void SelectRow(int id, int row) {
    Send(Control(id), LB_SETCURSEL, row);
    Command(id, LBN_SELCHANGE);
  }
  bool IsList(int id) const { return id == kFlockList || id == kSourceList || id == kTargetList || id == kCoralList; }
  int Count(int id) { return static_cast<int>(Send(Control(id), IsList(id) ? LB_GETCOUNT : CB_GETCOUNT)); }
  int Selection(int id) { return static_cast<int>(Send(Control(id), IsList(id) ? LB_GETCURSEL : CB_GETCURSEL)); }
  bool Checked(int id) { return Send(Control(id), BM_GETCHECK) == BST_CHECKED; }
  bool Enabled(int id) { return IsWindowEnabled(Control(id)) != FALSE; }
  // Texts cross between the processes as UTF-16; back in Shift-JIS here.
  std::string Text(int id) {
    wchar_t text[512] = L"";
    Send(Control(id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), true);
    return Narrow(text);
  }
  std::string Item(int id, int item) {
    const bool list = IsList(id);
    const LRESULT length = Send(Control(id), list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, item, 0, true);
    if (length < 0) return "<none>";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    Send(Control(id), list ? LB_GETTEXT : CB_GETLBTEXT, item, reinterpret_cast<LPARAM>(&text[0]), true);
    return Narrow(text.c_str());
  }
  std::string Chosen(int id) { return Item(id, Selection(id)); }
  // OK or Cancel; true once the program ended with 0.
  bool Press(int id) {
    PostMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    return WaitUntil([&] { return program_->Wait(0); }, kWait) && program_->ExitCode() == 0;
  }

 private:
  static std::string Narrow(const wchar_t* text) {
    char out[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof out, nullptr, nullptr);
    return out;
  }
  ChildProcess* program_;
  HWND window_;
};

// The window as the screen shows it, into the artefacts folder.
bool SavePicture(HWND window, const std::string& name) {
  PumpMessages(300);
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
  info.bmiHeader = {sizeof info.bmiHeader, w, -h, 1, 32, BI_RGB};
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  const int rows = GetDIBits(memory, bitmap, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  const std::string folder = TestBinDir() + "..\\..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return rows == h && WriteBmp24File((folder + "settings_" + name + ".bmp").c_str(), pixels.data(), w, h, w * 4);
}

// A program folder with both AI plug-ins, both species plug-ins, the
// presets, and the standard preset's files as its own.
class SettingsDialogProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    ClearLog();
    dir_ = MakeTempDir("qvsettingsdlg");
    for (const char* sub : {"ai", "model", "preset", "preset\\1", "preset\\2", "preset\\3"})
      CreateDirectoryA((dir_ + sub).c_str(), nullptr);
    for (const char* file :
         {"Qelvar.scr", "ai\\PurselAI.qva", "ai\\Forelens.qve", "model\\vassop.qvf", "model\\Calvesh.qvc"})
      ASSERT_TRUE(CopyFileTo(DistDir() + file, dir_ + file)) << file;
    for (const char* file : {"qelvar.ini", "FlockConfig.ini", "CameraConfig.ini", "CoralConfig.ini", "StructureConfig.ini"})
      for (const std::string n : {"1", "2", "3"}) {
        const std::string preset = "preset\\" + n + "\\" + file;
        ASSERT_TRUE(CopyFileTo(DistDir() + preset, dir_ + preset)) << preset;
        if (n == "2") {
          ASSERT_TRUE(CopyFileTo(DistDir() + preset, dir_ + file)) << file;
        }
      }
    WritePrivateProfileStringA("Display", "DebugLogLevel", "1", Ini().c_str());
  }
  void TearDown() override { RemoveTree(dir_); }
  std::string Ini() const { return dir_ + "qelvar.ini"; }
  std::string Flocks() const { return dir_ + "FlockConfig.ini"; }

  // Starts the program and waits until its dialog shows every page filled
  // (the device chain reaches the refresh box).
  std::unique_ptr<Dialog> Open(ChildProcess* program, const std::string& arguments) {
    if (!program->Start("\"" + dir_ + "Qelvar.scr\" " + arguments, dir_)) return nullptr;
    HWND window = WaitForWindow(kTitle, nullptr, program->Id(), kWait);
    if (!window) return nullptr;
    auto d = std::make_unique<Dialog>(program, window);
    const bool ready =
        WaitUntil([&] { return d->Page(kPresetHeavy) && d->Page(kRefresh) && d->Selection(kRefresh) >= 0; }, kWait);
    return ready ? std::move(d) : nullptr;
  }
  // Opens the flock AI's dialog of the selected flock, picks its second form
  // and presses OK.
  bool EditFormation(Dialog& d, ChildProcess& program) {
    d.Click(kFlockParam, true);
    HWND pursel = WaitForWindow(kPursel, nullptr, program.Id(), kWait);
    if (!pursel) return false;
    Send(GetDlgItem(pursel, kPurselForm), CB_SETCURSEL, 1);
    PostMessageA(pursel, WM_COMMAND, IDOK, 0);
    return WaitUntil([&] { return !IsWindow(pursel); }, kWait);
  }

  std::string dir_;
};

}  // namespace

TEST_F(SettingsDialogProgram, EveryPageEditsAndOkWritesEveryFile) {
  HWND owner = CreateWindowA("STATIC", "owner", WS_POPUP | WS_VISIBLE, 0, 0, 80, 40, nullptr, nullptr, nullptr, nullptr);
  ChildProcess program;
  auto dialog = Open(&program, "/c:" + std::to_string(reinterpret_cast<uintptr_t>(owner)));
  ASSERT_NE(dialog, nullptr) << ReadLog();
  Dialog& d = *dialog;
  EXPECT_EQ(GetWindow(d.Window(), GW_OWNER), owner);

  // Device page: one adapter under Wine, so no dual view. The smallest
  // resolution; the chain refills the rates for it.
  EXPECT_FALSE(d.Enabled(kDualView));
  EXPECT_TRUE(SavePicture(d.Window(), "1_device"));
  const std::string size = d.Item(kResolution, 0);
  d.Choose(kResolution, 0);
  ASSERT_TRUE(WaitUntil([&] { return d.Selection(kRefresh) >= 0; }, kWait));
  d.Check(kNoMouseExit, true);

  // Flock page: the standard preset's five flocks.
  ASSERT_TRUE(d.ShowTab(1, kFlockList));
  ASSERT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Selection(kFlockList), 0);
  EXPECT_GE(d.Count(kFish), 8);  // seven built in and the plug-in's
  EXPECT_EQ(d.Chosen(kFlockAI), "追跡(群)");
  EXPECT_EQ(d.Chosen(kMultiplier), "X 1");
  EXPECT_EQ(d.Text(kTotal).substr(0, 11), "TOTAL Fish:");
  EXPECT_TRUE(d.Enabled(kFlockParam));
  EXPECT_TRUE(SavePicture(d.Window(), "2_flocks"));

  // A new flock, its parameters edited in the flock AI's dialog.
  d.Click(kFlockAdd);
  ASSERT_EQ(d.Count(kFlockList), 6);
  EXPECT_EQ(d.Selection(kFlockList), 5);
  ASSERT_TRUE(EditFormation(d, program)) << ReadLog();
  const std::string edited = d.Item(kFlockList, 5);
  EXPECT_NE(edited.find("\tForm:"), std::string::npos) << edited;
  EXPECT_NE(ReadLog().find("Editted Parameter:"), std::string::npos);

  // Deleting a middle row selects the row that moved up; deleting the last
  // selects the new last.
  d.SelectRow(kFlockList, 2);
  d.Click(kFlockDelete);
  EXPECT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Selection(kFlockList), 2);
  const std::string editedAt4 = "4" + edited.substr(1);
  EXPECT_EQ(d.Item(kFlockList, 4), editedAt4);
  d.Click(kFlockAdd);
  d.SelectRow(kFlockList, 5);
  d.Click(kFlockDelete);
  EXPECT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Selection(kFlockList), 4);

  // World page: the sky follows the sea surface.
  ASSERT_TRUE(d.ShowTab(2, kSeaface));
  EXPECT_TRUE(d.Enabled(kSkydome));
  EXPECT_TRUE(SavePicture(d.Window(), "3_world"));
  d.Check(kSeaface, false);
  EXPECT_FALSE(d.Enabled(kSkydome));
  d.Choose(kWaterity, 0);

  // Camera page: the one camera plug-in steers the look-at point only.
  ASSERT_TRUE(d.ShowTab(3, kTargetList));
  EXPECT_EQ(d.Count(kSourceAI), 0);
  EXPECT_EQ(d.Count(kTargetList), 1);
  EXPECT_EQ(d.Chosen(kTargetAI), "移動方向");
  EXPECT_EQ(d.Chosen(kSourceInterval), "30sec");
  EXPECT_TRUE(SavePicture(d.Window(), "4_camera"));
  d.Click(kTargetAdd);
  EXPECT_EQ(d.Count(kTargetList), 2);
  EXPECT_EQ(d.Selection(kTargetList), 1);
  d.Click(kHumanCamera, true);
  HWND human = WaitForWindow("Human Camera Parameter", nullptr, program.Id(), kWait);
  ASSERT_NE(human, nullptr);
  HWND stability = GetDlgItem(human, kStability);
  EXPECT_EQ(Send(stability, TBM_GETRANGEMIN), 5);
  EXPECT_EQ(Send(stability, TBM_GETRANGEMAX), 20);
  EXPECT_EQ(Send(stability, TBM_GETPOS), 18);
  EXPECT_TRUE(SavePicture(human, "7_human_camera"));
  Send(stability, TBM_SETPOS, TRUE, 7);
  PostMessageA(human, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(human); }, kWait));

  // Coral page: a click switches the species off and clears the selection.
  ASSERT_TRUE(d.ShowTab(4, kCoralList));
  ASSERT_EQ(d.Count(kCoralList), 1);
  const std::string coral = d.Item(kCoralList, 0);
  EXPECT_EQ(coral.substr(0, 3), "On\t");
  EXPECT_TRUE(SavePicture(d.Window(), "5_coral"));
  d.SelectRow(kCoralList, 0);
  EXPECT_EQ(d.Item(kCoralList, 0), "Off" + coral.substr(2));
  EXPECT_EQ(d.Selection(kCoralList), -1);

  ASSERT_TRUE(d.ShowTab(5, kPresetHeavy));
  EXPECT_TRUE(SavePicture(d.Window(), "6_presets"));
  ASSERT_TRUE(d.Press(IDOK));
  DestroyWindow(owner);

  for (const auto& key : std::map<std::string, std::string>{
           {"DisableMouseExit", "1"}, {"Seaface", "0"}, {"Waterity", "0"}, {"CameraAIStability", "7"}})
    EXPECT_EQ(IniText(Ini(), "system", key.first.c_str()), key.second) << key.first;
  EXPECT_EQ(IniText(Ini(), "Display", "Width") + " by " + IniText(Ini(), "Display", "Height"), size);
  EXPECT_EQ(IniText(Flocks(), "flockConfig", "flockCount"), "5");
  EXPECT_NE(IniText(Flocks(), "flock4", "aiParam").find("Form:"), std::string::npos);
  EXPECT_EQ(IniText(dir_ + "CameraConfig.ini", "TargetCameraConfig", "CameraCount"), "2");
  EXPECT_NE(ReadFileText(dir_ + "CoralConfig.ini").find("enable=0"), std::string::npos);

  // A second start shows what was saved; its Cancel writes nothing.
  Snapshot saved, after;
  TakeSnapshot(dir_, &saved);
  ChildProcess again;
  dialog = Open(&again, "/c");
  ASSERT_NE(dialog, nullptr);
  Dialog& e = *dialog;
  EXPECT_TRUE(e.Checked(kNoMouseExit));
  EXPECT_EQ(e.Chosen(kResolution), size);
  EXPECT_EQ(e.Item(kFlockList, 4), editedAt4);
  EXPECT_FALSE(e.Checked(kSeaface));
  EXPECT_FALSE(e.Enabled(kSkydome));
  EXPECT_EQ(e.Selection(kWaterity), 0);
  EXPECT_EQ(e.Count(kTargetList), 2);
  EXPECT_EQ(e.Item(kCoralList, 0), "Off" + coral.substr(2));
  ASSERT_TRUE(e.Press(IDCANCEL));
  TakeSnapshot(dir_, &after);
  EXPECT_TRUE(saved == after);
}

TEST_F(SettingsDialogProgram, CancelWritesNothingAndOkWritesALoadedPreset) {
  Snapshot before, after;
  TakeSnapshot(dir_, &before);
  for (int button : {IDCANCEL, IDOK}) {
    ChildProcess program;
    auto dialog = Open(&program, "/c");
    ASSERT_NE(dialog, nullptr) << ReadLog();
    Dialog& d = *dialog;
    ASSERT_EQ(d.Count(kFlockList), 5);
    d.Choose(kResolution, 0);
    d.Check(kNoMouseExit, true);
    d.Click(kFlockAdd);
    d.Click(kTargetAdd);
    d.SelectRow(kCoralList, 0);
    d.Click(kPresetHeavy);  // the heavy preset over the edits
    EXPECT_EQ(d.Count(kFlockList), 8);
    EXPECT_EQ(d.Chosen(kMultiplier), "X 2");
    EXPECT_FALSE(d.Checked(kNoMouseExit));
    ASSERT_TRUE(d.Press(button));
    if (button == IDCANCEL) {
      TakeSnapshot(dir_, &after);
      EXPECT_TRUE(before == after) << "Cancel wrote a file";
    }
  }
  const std::string preset = dir_ + "preset\\3\\";
  EXPECT_EQ(IniText(Flocks(), "flockConfig", "flockCount"), "8");
  EXPECT_EQ(IniText(Flocks(), "flockConfig", "HighPowerFactor"), "3");
  EXPECT_EQ(IniText(Flocks(), "flock7", "fishType"), IniText(preset + "FlockConfig.ini", "flock7", "fishType"));
  for (const char* key : {"TwinfinTech", "Waterity", "CoralDensity", "MultiSurface", "UpsDowns"})
    EXPECT_EQ(IniText(Ini(), "system", key), IniText(preset + "qelvar.ini", "system", key)) << key;
}

TEST_F(SettingsDialogProgram, TheHundredthFlockIsTheLast) {
  std::string text = "[flockConfig]\r\nflockCount=99\r\n";
  for (int i = 0; i < 99; ++i)
    text += "[flock" + std::to_string(i) + "]\r\nfishType=マアジ_ハルベノルソフト\r\nai=追跡(群)_ハルベノルソフト\r\n";
  ASSERT_TRUE(WriteFileText(Flocks(), text));
  ChildProcess program;
  auto dialog = Open(&program, "/c");
  ASSERT_NE(dialog, nullptr) << ReadLog();
  Dialog& d = *dialog;
  d.Click(kFlockAdd);
  ASSERT_EQ(d.Count(kFlockList), 100);
  EXPECT_EQ(d.Selection(kFlockList), 99);
  // The 101st is refused and leaves no row selected; with none, delete and
  // parameter do nothing.
  d.Click(kFlockAdd);
  d.Click(kFlockDelete);
  d.Click(kFlockParam);
  EXPECT_EQ(d.Count(kFlockList), 100);
  EXPECT_EQ(d.Selection(kFlockList), -1);
  EXPECT_EQ(FindWindowA(nullptr, kPursel), nullptr);
  ASSERT_TRUE(d.Press(IDOK));
  EXPECT_EQ(IniText(Flocks(), "flockConfig", "flockCount"), "100");
  EXPECT_EQ(IniText(Flocks(), "flock99", "fishType"), "マアジ_ハルベノルソフト");
}

TEST_F(SettingsDialogProgram, WithoutAIPlugInsNothingIsAddedAndEntriesAreKept) {
  DeleteFileA((dir_ + "ai\\PurselAI.qva").c_str());
  DeleteFileA((dir_ + "ai\\Forelens.qve").c_str());
  ChildProcess program;
  auto dialog = Open(&program, "/c");
  ASSERT_NE(dialog, nullptr) << ReadLog();
  Dialog& d = *dialog;
  ASSERT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Count(kFlockAI), 0);
  EXPECT_FALSE(d.Enabled(kFlockParam));
  EXPECT_EQ(d.Text(kTotal), "TOTAL Fish:0");
  d.Click(kFlockAdd);
  d.Click(kFlockParam);
  d.Choose(kFish, 1);  // a fish change keeps the flock's AI
  d.Click(kTargetAdd);
  EXPECT_EQ(d.Count(kFlockList), 5);
  EXPECT_EQ(d.Count(kTargetList), 1);
  EXPECT_EQ(d.Selection(kTargetAI), -1);
  EXPECT_NE(ReadLog().find("KWEX no AI ID"), std::string::npos);
  ASSERT_TRUE(d.Press(IDOK));
  EXPECT_EQ(IniText(Flocks(), "flockConfig", "flockCount"), "5");
  EXPECT_EQ(IniText(Flocks(), "flock0", "ai"), "追跡(群)_ハルベノルソフト");
  EXPECT_EQ(IniText(dir_ + "CameraConfig.ini", "TargetCamera0", "ai"), "移動方向_ハルベノルソフト");
}
