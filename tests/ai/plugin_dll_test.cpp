// The built plug-in libraries: loaded by their decorated export, driven
// through their records, their AI objects stepped and deleted through the
// virtual table, and their dialogs shown.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <string>
#include <thread>

#include "FakeHost.h"
#include "PurselDialog.h"
#include "PurselTables.h"
#include "TestSupport.h"
#include "X2ParamDialog.h"
#include "X2ForelensAI.h"
#include "X2ParamTable.h"

using aitest::FakeHost;

namespace {

class PluginLibrary {
 public:
  explicit PluginLibrary(const char* file) {
    module_ = LoadLibraryA((qvtest::DistDir() + "ai\\" + file).c_str());
    if (module_) {
      auto get = reinterpret_cast<X2GetAIDataFn>(GetProcAddress(module_, X2_AI_EXPORT_NAME));
      if (get) record_ = get(nullptr, nullptr);
    }
  }
  ~PluginLibrary() {
    if (module_) FreeLibrary(module_);
  }
  HMODULE Module() const { return module_; }
  X2AIData* Record() const { return record_; }

 private:
  HMODULE module_ = nullptr;
  X2AIData* record_ = nullptr;
};

std::string ComboText(HWND dialog, int id, int index) {
  char text[256] = "";
  SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
  return text;
}

int ComboCount(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
}

int ComboSel(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

std::string WindowText(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// The library's configuration dialog (resource 101), modeless, on `context`.
HWND OpenDialog(const PluginLibrary& lib, DLGPROC proc, void* context) {
  return CreateDialogParamA(lib.Module(), MAKEINTRESOURCEA(101), nullptr, proc,
                            reinterpret_cast<LPARAM>(context));
}

// Presses OK in the first window with this caption once it shows up,
// after choosing item `pick` in combo `combo` (when combo is non-zero).
void PressOkLater(const char* caption, int combo, int pick, std::atomic<bool>* found) {
  for (int i = 0; i < 500; ++i) {
    HWND dialog = FindWindowA(nullptr, caption);
    // The window exists before its controls are filled: wait until it shows.
    if (dialog && IsWindowVisible(dialog) &&
        (!combo || SendDlgItemMessageA(dialog, combo, CB_GETCOUNT, 0, 0) > 0)) {
      if (combo) {
        SendDlgItemMessageA(dialog, combo, CB_SETCURSEL, pick, 0);
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, combo)));
      }
      *found = true;
      PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
      return;
    }
    Sleep(20);
  }
}

// Names of the libraries a loaded module imports, lower-cased.
std::vector<std::string> ImportedLibraries(HMODULE module) {
  std::vector<std::string> names;
  auto* base = reinterpret_cast<const BYTE*>(module);
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return names;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    std::string name = reinterpret_cast<const char*>(base + d->Name);
    for (char& c : name) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    names.push_back(name);
  }
  return names;
}

}  // namespace

// Static linking: nothing but system libraries, and nothing of the program.
TEST(PluginDllTest, LibrariesImportOnlySystemLibraries) {
  for (const char* file : {"PurselAI.qva", "Forelens.qve"}) {
    PluginLibrary lib(file);
    ASSERT_NE(lib.Module(), nullptr) << file;
    for (const std::string& name : ImportedLibraries(lib.Module())) {
      EXPECT_TRUE(name == "kernel32.dll" || name == "user32.dll" || name == "msvcrt.dll")
          << file << " imports " << name;
    }
  }
}

TEST(PluginDllTest, TheAnsiCodePageIsJapanese) { EXPECT_EQ(GetACP(), 932u); }

TEST(PluginDllTest, PurselLoadsByItsDecoratedExport) {
  PluginLibrary lib("PurselAI.qva");
  ASSERT_NE(lib.Module(), nullptr);
  ASSERT_NE(lib.Record(), nullptr);
  EXPECT_EQ(lib.Record()->header.version, 0x00010101u);
  // "追跡(群)" in Shift-JIS.
  EXPECT_STREQ(lib.Record()->header.name, "\x92\xc7\x90\xd5(\x8c\x51)");
  EXPECT_EQ(lib.Record()->capabilities, 0x01u);
  EXPECT_EQ(GetProcAddress(lib.Module(), "GetAIData"), nullptr);  // only the decorated name
}

TEST(PluginDllTest, ForelensLoadsByItsDecoratedExport) {
  PluginLibrary lib("Forelens.qve");
  ASSERT_NE(lib.Record(), nullptr);
  EXPECT_STREQ(lib.Record()->header.name, "移動方向");
  EXPECT_EQ(lib.Record()->capabilities, 0x10u);
}

// Flock AIs made inside the library, stepped and deleted through slots 1 and 0.
TEST(PluginDllTest, FlockBuiltByTheLibraryStepsThroughItsVirtualSlots) {
  PluginLibrary lib("PurselAI.qva");
  ASSERT_NE(lib.Record(), nullptr);
  static X2FishData fish = {};
  {
    FakeHost host;
    X2Object followed = host.NewObject();
    host.flocks = {{followed}};
    EXPECT_EQ(lib.Record()->CountFish(0, "Scale:少ない", host.Table(), 2), 36);
    lib.Record()->BuildFlock(0, &fish, "Scale:少ない", host.Table(), 2);
    ASSERT_EQ(host.objects.size(), 1u + 2 + 36);

    // A crude host move: heading from yaw and climb, position by speed.
    for (int frame = 1; frame <= 600; ++frame) {
      float now = frame / 60.0f, prev = (frame - 1) / 60.0f;
      host.Obj(followed)->position = {10 * std::cos(now * 0.3f), -3, 10 * std::sin(now * 0.3f)};
      for (auto& o : host.objects) {
        if (!o->ai) continue;
        X2AIObject* next = o->ai->Step(now, prev, o.get());
        EXPECT_EQ(next, nullptr);
        if (o.get() == followed) continue;
        float c = std::cos(o->roll);
        o->position.x += -std::cos(o->yaw) * c * o->speed / 60.0f;
        o->position.y += -std::sin(o->roll) * o->speed / 60.0f;
        o->position.z += std::sin(o->yaw) * c * o->speed / 60.0f;
      }
    }
    for (auto& o : host.objects) {
      EXPECT_TRUE(std::isfinite(o->position.x) && std::isfinite(o->position.y) &&
                  std::isfinite(o->position.z));
      EXPECT_LE(o->speed, 4.0f * 5.0f + 1e-3f);
    }
    // The leader swam towards the followed fish.
    float dx = host.objects[2]->position.x - host.Obj(followed)->position.x;
    float dz = host.objects[2]->position.z - host.Obj(followed)->position.z;
    EXPECT_LT(std::sqrt(dx * dx + dz * dz), 20.0f);
  }  // the fake host deletes every AI through slot 0
}

TEST(PluginDllTest, ForelensInstanceStepsAndDeletesThroughItsVirtualSlots) {
  PluginLibrary lib("Forelens.qve");
  ASSERT_NE(lib.Record(), nullptr);
  FakeHost host;
  X2Object camera = host.NewObject();
  X2Object lookAt = host.NewObject();
  host.cameraSource = camera;
  X2AIObject* ai = lib.Record()->CreateInstance("Forelens:進行方向と逆", host.Table());
  ASSERT_NE(ai, nullptr);
  for (int i = 0; i < 8; ++i) {
    host.Obj(camera)->position = {static_cast<float>(i), 0, 0};
    EXPECT_EQ(ai->Step(i * 0.1f, i * 0.1f - 0.1f, lookAt), nullptr);
  }
  EXPECT_NEAR(host.Obj(lookAt)->position.x, 7 - 5, 1e-4f);
  ai->Destroy(1);
}

TEST(PluginDllTest, PurselDialogFillsItsControlsAndWritesBackOnOk) {
  PluginLibrary lib("PurselAI.qva");
  ASSERT_NE(lib.Module(), nullptr);
  FakeHost host;
  host.flockNames = {"マアジ", "ブリ", "マイワシ", nullptr};
  X2ParamTable table;
  table.Load(kPurselKeys);
  table.Parse("FlockID:2,Character:おとなしい");
  X2ParamDialogContext ctx{&table, X2Host(host.Table())};

  HWND dialog = OpenDialog(lib, PurselDialogProc, &ctx);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Pursel AI Configuration.");

  ASSERT_EQ(ComboCount(dialog, 1004), 3);
  EXPECT_EQ(ComboText(dialog, 1004, 0), "");
  EXPECT_EQ(ComboText(dialog, 1004, 1), "\x92\xb7\x82\xa2");  // 長い
  EXPECT_EQ(ComboCount(dialog, 1002), 3);
  EXPECT_EQ(ComboSel(dialog, 1002), 1);
  EXPECT_EQ(ComboText(dialog, 1002, 2), "少ない");  // unsorted: table order
  EXPECT_EQ(ComboCount(dialog, 1005), 3);
  EXPECT_EQ(ComboCount(dialog, 1007), 4);
  EXPECT_EQ(ComboSel(dialog, 1008), 0);
  EXPECT_EQ(ComboCount(dialog, 1010), 3);
  ASSERT_EQ(ComboCount(dialog, 1003), 3);
  EXPECT_EQ(ComboText(dialog, 1003, 1), "1   ブリ");
  EXPECT_EQ(ComboSel(dialog, 1003), 2);
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 1006)), "128 Fishes");
  // Depth has no control in this dialog.
  EXPECT_EQ(host.logs, std::vector<std::string>{"No Dlg Item\n"});

  // Form 広い: label for index 2 x 3 + 1.
  SendDlgItemMessageA(dialog, 1004, CB_SETCURSEL, 2, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1004, CBN_SELCHANGE),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, 1004)));
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 1006)), "144 Fishes");

  SendDlgItemMessageA(dialog, 1003, CB_SETCURSEL, 0, 0);
  SendDlgItemMessageA(dialog, 1010, CB_SETCURSEL, 1, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(ctx.result, 1);
  char param[520];
  table.Format(param, sizeof param);
  EXPECT_STREQ(param, "Form:広い,Character:おとなしい,FishPosition:真ん中");
  DestroyWindow(dialog);
}

TEST(PluginDllTest, PurselDialogWithoutSelectionKeepsValues) {
  PluginLibrary lib("PurselAI.qva");
  FakeHost host;  // no flock names: the flock list stays empty
  X2ParamTable table;
  table.Load(kPurselKeys);
  table.Parse("FlockID:4,Form:長い");
  X2ParamDialogContext ctx{&table, X2Host(host.Table())};
  HWND dialog = OpenDialog(lib, PurselDialogProc, &ctx);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(ComboSel(dialog, 1003), -1);
  SendDlgItemMessageA(dialog, 1004, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(1004, CBN_SELCHANGE), 0);
  // No Form selection: the table's Form (長い) with Scale 多い.
  EXPECT_EQ(WindowText(GetDlgItem(dialog, 1006)), "120 Fishes");
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  EXPECT_EQ(ctx.result, 2);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  EXPECT_EQ(table.Value(kParamFlockID), 4);
  EXPECT_EQ(table.Value(kParamForm), 1);
  DestroyWindow(dialog);
}

TEST(PluginDllTest, ForelensDialogShowsItsChoices) {
  PluginLibrary lib("Forelens.qve");
  FakeHost host;
  X2ParamTable table;
  table.Load(kForelensKeys);
  X2ParamDialogContext ctx{&table, X2Host(host.Table())};
  HWND dialog = OpenDialog(lib, X2ParamDialogProc, &ctx);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(dialog), "Forelens AI Configuration.");
  ASSERT_EQ(ComboCount(dialog, 1004), 2);
  EXPECT_EQ(ComboText(dialog, 1004, 1), "進行方向と逆");
  EXPECT_EQ(ComboSel(dialog, 1004), 0);
  HWND label = FindWindowExA(dialog, nullptr, "Static", nullptr);
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(WindowText(label), "\x83\x4a\x83\x81\x83\x89\x82\xcc\x8c\xfc\x82\xab");  // カメラの向き
  EXPECT_TRUE(host.logs.empty());
  SendDlgItemMessageA(dialog, 1004, CB_SETCURSEL, 1, 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  char param[64];
  table.Format(param, sizeof param);
  EXPECT_STREQ(param, "Forelens:進行方向と逆");
  DestroyWindow(dialog);
}

// The library's own Configure: modal, ended by another thread pressing OK.
TEST(PluginDllTest, PurselConfigureWritesTheParameterOnOk) {
  PluginLibrary lib("PurselAI.qva");
  ASSERT_NE(lib.Record(), nullptr);
  FakeHost host;
  host.flockNames = {"マアジ", "ブリ", nullptr};
  host.flocks = {{}, {}};
  std::atomic<bool> found{false};
  std::thread presser(PressOkLater, "Pursel AI Configuration.", 1002, 2, &found);
  char param[520] = "FlockID:9";
  int result = lib.Record()->Configure(lib.Module(), 0, param, sizeof param, host.Table(), 2);
  presser.join();
  EXPECT_TRUE(found);
  EXPECT_EQ(result, 1);
  // FlockID 9 opened as the last flock (1); Scale now 少ない.
  EXPECT_STREQ(param, "Scale:少ない,FlockID:1");
  ASSERT_GE(host.logs.size(), 3u);
  EXPECT_EQ(host.logs.front(), "Configure Booted\n");
  EXPECT_EQ(host.logs.back(), "RetVal 1\n");
}

TEST(PluginDllTest, ForelensConfigureLogsTheParameter) {
  PluginLibrary lib("Forelens.qve");
  ASSERT_NE(lib.Record(), nullptr);
  FakeHost host;
  std::atomic<bool> found{false};
  std::thread presser(PressOkLater, "Forelens AI Configuration.", 1004, 1, &found);
  char param[520] = "";
  int result = lib.Record()->Configure(lib.Module(), 0, param, sizeof param, host.Table(), 0);
  presser.join();
  EXPECT_EQ(result, 1);
  EXPECT_STREQ(param, "Forelens:進行方向と逆");
  EXPECT_EQ(host.logs.back(), "AIParam:Forelens:進行方向と逆\n");
}

TEST(PluginDllTest, ConfigureWithoutTheDialogReportsMinusOne) {
  PluginLibrary lib("PurselAI.qva");
  FakeHost host;
  char param[520] = "Form:長い";
  // The program's module has no dialog 101.
  int result = lib.Record()->Configure(GetModuleHandleA(nullptr), 0, param, sizeof param, host.Table(), 0);
  EXPECT_EQ(result, -1);
  EXPECT_STREQ(param, "Form:長い");
  ASSERT_GE(host.logs.size(), 3u);
  EXPECT_EQ(host.logs[1], "RetVal -1\n");
  EXPECT_EQ(host.logs[2].substr(0, 5), "CODE ");
}
