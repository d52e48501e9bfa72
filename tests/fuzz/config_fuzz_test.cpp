// Hand-edited ini files at their worst: the [system] settings and [Display]
// keys of qelvar.ini and the four configuration files, written with good,
// bad and missing values among junk lines. Good values are kept, bad ones
// fall back to their defaults and are logged, nothing crashes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "C4SettingTable.h"
#include "DisplayOptions.h"
#include "FuzzText.h"
#include "LogTestSupport.h"
#include "Settings.h"
#include "TestSupport.h"
#include "config/X2CameraConfig.h"
#include "config/X2CoralConfig.h"
#include "config/X2FlockConfig.h"
#include "pluginlists/X2CoralList.h"

using namespace qvtest;
using fuzz::Rng;

namespace {

class ConfigFuzz : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = MakeTempDir("qvfuzz");
    ClearLog();
    SetDebugLogLevel(1);
  }
  void TearDown() override {
    SetDebugLogLevel(0);
    RemoveTree(dir_);
  }
  // Writes the file and empties the log before a case.
  std::string Write(const char* name, const std::string& text) {
    const std::string path = dir_ + name;
    EXPECT_TRUE(WriteFileText(path, text));
    DeleteFileA(kLogFilePath);
    return path;
  }
  std::string dir_;
};

// Lines no reader asks for: comments, keys of no item, lines without "=",
// sections of nobody. None starts a line with "[" inside a section in use.
std::string JunkLines(Rng& rng) {
  std::string out;
  for (int n = rng.Below(4); n > 0; --n) {
    switch (rng.Below(4)) {
      case 0: out += ";" + fuzz::WellFormedText(rng, rng.Between(1, 40)) + "\r\n"; break;
      case 1: out += "zz" + fuzz::Decimal(rng.Below(99)) + "=" + fuzz::NonNumber(rng) + "\r\n"; break;
      case 2: out += "zz" + fuzz::WellFormedText(rng, rng.Between(1, 20), "=[") + "\r\n"; break;
      default: out += "=" + fuzz::WellFormedText(rng, rng.Between(0, 20)) + "\r\n"; break;
    }
  }
  return out;
}

// A tail of other sections and raw bytes, after every section in use.
std::string JunkTail(Rng& rng) {
  std::string out;
  if (rng.Chance(40)) out += "[" + fuzz::WellFormedText(rng, rng.Between(1, 12), "[]\r\n") + "]\r\n" + JunkLines(rng);
  if (rng.Chance(20)) out += fuzz::Mutate(rng, "[x]\r\nkey=value\r\n", rng.Between(1, 8)) + "\r\n";
  return out;
}

// Values of each kind a user or a broken tool might leave.
enum class Slot { kMissing, kGood, kBad };

Slot PickSlot(Rng& rng) {
  const int r = rng.Below(100);
  return r < 25 ? Slot::kMissing : r < 60 ? Slot::kGood : Slot::kBad;
}

// Bad for any item: no number, too long to be one, or beyond an int.
std::string BadNumber(Rng& rng) {
  switch (rng.Below(4)) {
    case 0: return std::string(static_cast<size_t>(rng.Between(256, 400)), '1');
    case 1: return rng.Chance(50) ? "99999999999" : "-3000000000";
    case 2: return fuzz::Decimal(rng.Below(9)) + fuzz::NonNumber(rng) + "x";
    default: return fuzz::NonNumber(rng);
  }
}

TEST_F(ConfigFuzz, SettingsKeepGoodValuesAndLogBadOnes) {
  Rng rng(fuzz::kSeed + 10);
  for (int c = 0; c < 1200; ++c) {
    C4SettingTable table;
    table.Append(c % 2 ? kTechSettingDefaults : kSceneSettingDefaults);
    std::vector<int> expected;
    std::vector<std::string> badKeys;
    std::string text = rng.Chance(30) ? JunkTail(rng) : "";
    text += "[system]\r\n";
    for (int i = 0; i < table.Count(); ++i) {
      const C4SettingItem& item = *table.Item(i);
      expected.push_back(item.value);
      if (item.controlId == 0) {  // never read: any value stays unread
        if (rng.Chance(50)) text += std::string(item.name) + "=" + fuzz::NonNumber(rng) + "\r\n";
        continue;
      }
      const Slot slot = PickSlot(rng);
      if (slot == Slot::kMissing) continue;
      std::string value;
      if (slot == Slot::kGood) {
        int v = item.controlType == kSettingChoice  ? rng.Below(item.LabelCount())
                : item.controlType == kSettingCheck ? rng.Below(2)
                                                    : static_cast<int>(rng.Next());
        expected.back() = v;
        value = fuzz::Decimal(v);
        if (rng.Chance(20)) value = " " + value + "  ";
      } else {
        value = BadNumber(rng);
        if (item.controlType == kSettingChoice && rng.Chance(40))
          value = fuzz::Decimal(rng.Chance(50) ? -1 - rng.Below(5) : item.LabelCount() + rng.Below(5));
        if (item.controlType == kSettingCheck && rng.Chance(40)) value = fuzz::Decimal(rng.Between(2, 9));
        badKeys.push_back(item.name);
      }
      text += std::string(item.name) + "=" + value + "\r\n";
      if (rng.Chance(15)) text += JunkLines(rng);
    }
    text += JunkTail(rng);
    const std::string path = Write("qelvar.ini", text);
    table.LoadFile(path.c_str());
    for (int i = 0; i < table.Count(); ++i)
      ASSERT_EQ(table.Value(i), expected[static_cast<size_t>(i)]) << "case " << c << " " << table.Item(i)->name
                                                                  << "\n" << text;
    const std::string log = ReadLog();
    for (const std::string& key : badKeys)
      ASSERT_NE(log.find("Settings: " + key + "="), std::string::npos) << "case " << c << " " << key << "\n" << log;
  }
}

TEST_F(ConfigFuzz, DisplayKeysFallBackToDefaults) {
  Rng rng(fuzz::kSeed + 11);
  const FullscreenKeys defaults;
  for (int c = 0; c < 500; ++c) {
    const char* names[] = {"Adapter", "Format", "Height", "Width", "Refresh", "DevType"};
    int want[] = {defaults.adapter, defaults.format, defaults.height,
                  defaults.width,   defaults.refresh, defaults.devType};
    std::string text = "[Display]\r\n";
    int bad = 0;
    for (int k = 0; k < 6; ++k) {
      const Slot slot = PickSlot(rng);
      if (slot == Slot::kMissing) continue;
      if (slot == Slot::kGood) {
        want[k] = rng.Between(0, 5000);
        text += std::string(names[k]) + "=" + fuzz::Decimal(want[k]) + "\r\n";
      } else {
        text += std::string(names[k]) + "=" + fuzz::NonNumber(rng) + "\r\n";
        ++bad;
      }
    }
    text += JunkTail(rng);
    const FullscreenKeys keys = ReadFullscreenKeys(Write("qelvar.ini", text));
    const int got[] = {keys.adapter, keys.format, keys.height, keys.width, keys.refresh, keys.devType};
    for (int k = 0; k < 6; ++k) ASSERT_EQ(got[k], want[k]) << "case " << c << " " << names[k] << "\n" << text;
    ASSERT_EQ(CountOf(ReadLog(), "is not a number"), bad) << "case " << c << "\n" << text;
  }
}

// A text an entry keeps as it stands: well-formed, within the 259 bytes kept.
std::string EntryText(Rng& rng) {
  return fuzz::WellFormedText(rng, rng.Between(1, 60), "\"=;[]\r\n");
}

TEST_F(ConfigFuzz, FlockFilesKeepTheirEntriesAndClampCounts) {
  Rng rng(fuzz::kSeed + 12);
  for (int c = 0; c < 1200; ++c) {
    std::string text = "[flockConfig]\r\n";
    int count = 0, factor = 0, logged = 0;
    const Slot countSlot = PickSlot(rng);
    int written = rng.Between(0, 6);
    if (countSlot == Slot::kGood) {
      if (rng.Chance(5)) written = rng.Between(101, 300);
      count = std::clamp(written, 0, X2ConfigList::kMaxEntries);
      logged += count != written;
      text += "flockCount=" + fuzz::Decimal(written) + "\r\n";
    } else if (countSlot == Slot::kBad) {
      text += "flockCount=" + fuzz::NonNumber(rng) + "\r\n";
      ++logged;
    }
    const Slot factorSlot = PickSlot(rng);
    if (factorSlot == Slot::kGood) {
      const int f = rng.Between(0, 9);
      factor = std::clamp(f, 0, X2FlockConfig::kMultiplierCount - 1);
      logged += factor != f;
      text += "HighPowerFactor=" + fuzz::Decimal(f) + "\r\n";
    } else if (factorSlot == Slot::kBad) {
      text += "HighPowerFactor=" + fuzz::NonNumber(rng) + "\r\n";
      ++logged;
    }
    text += JunkLines(rng);
    struct Want { std::string fish, ai, param; };
    std::vector<Want> wants;
    for (int i = 0; i < std::min(count, 8); ++i) {
      Want w{rng.Chance(90) ? EntryText(rng) : "", rng.Chance(90) ? EntryText(rng) : "",
             rng.Chance(70) ? EntryText(rng) : ""};
      const std::string section = "[flock" + fuzz::Decimal(i) + "]\r\n";
      text += section;
      if (!w.fish.empty()) text += "fishType=" + w.fish + "\r\n";
      if (!w.ai.empty()) text += "ai=" + w.ai + "\r\n";
      if (!w.param.empty()) text += "aiParam=" + w.param + "\r\n";
      if (rng.Chance(10)) text += JunkLines(rng);
      wants.push_back(w);
    }
    text += JunkTail(rng);
    X2FlockConfig flocks;
    flocks.SetFolder(dir_.c_str());
    Write("FlockConfig.ini", text);
    flocks.Load("FlockConfig.ini");
    ASSERT_EQ(flocks.Count(), count) << "case " << c << "\n" << text;
    ASSERT_EQ(flocks.highPowerFactor, factor) << "case " << c << "\n" << text;
    ASSERT_EQ(CountOf(ReadLog(), "out of range") + CountOf(ReadLog(), "is not a number"), logged)
        << "case " << c << "\n" << text << "\n" << ReadLog();
    for (size_t i = 0; i < wants.size(); ++i) {
      const X2ConfigEntry* e = flocks.Entry(static_cast<int>(i));
      ASSERT_EQ(std::string(e->Name()), wants[i].fish) << "case " << c << " flock " << i;
      ASSERT_EQ(std::string(e->AI()), wants[i].ai) << "case " << c << " flock " << i;
      ASSERT_EQ(std::string(e->Param()), wants[i].param) << "case " << c << " flock " << i;
    }
  }
}

// Any bytes at all: loading and saving never fail hard, every text stays
// within its bound and what is saved loads back the same.
TEST_F(ConfigFuzz, MutatedFlockAndCameraFilesLoadAndRoundTrip) {
  Rng rng(fuzz::kSeed + 13);
  const std::string flockSeed =
      "[flockConfig]\r\nflockCount=3\r\nHighPowerFactor=2\r\n[flock0]\r\nfishType=\x83\x7D\x83\x41\x83\x57_m\r\n"
      "ai=\x92\xB7\x82\xA2_m\r\naiParam=Form:\x92\xB7\x82\xA2,Scale:X1\r\n[flock1]\r\nfishType=a_b\r\n"
      "[flock2]\r\nai=x\r\n";
  const std::string cameraSeed =
      "[TargetCameraConfig]\r\nCameraChangeTime=3\r\nCameraCount=2\r\n[TargetCamera0]\r\nai=a_b\r\n"
      "aiParam=Forelens:x\r\n[TargetCamera1]\r\nai=c_d\r\n";
  for (int c = 0; c < 1000; ++c) {
    const bool flock = c % 2 == 0;
    std::string text = fuzz::Mutate(rng, flock ? flockSeed : cameraSeed, rng.Between(1, 10));
    if (rng.Chance(5)) text += std::string(static_cast<size_t>(rng.Between(300, 5000)), 'A');
    Write("in.ini", text);
    DeleteFileA((dir_ + "out.ini").c_str());
    if (flock) {
      X2FlockConfig a, b;
      a.SetFolder(dir_.c_str());
      b.SetFolder(dir_.c_str());
      a.Load("in.ini");
      ASSERT_TRUE(a.Count() >= 0 && a.Count() <= X2ConfigList::kMaxEntries) << "case " << c;
      ASSERT_TRUE(a.highPowerFactor >= 0 && a.highPowerFactor < X2FlockConfig::kMultiplierCount);
      for (int i = 0; i < a.Count(); ++i)
        ASSERT_LT(std::string(a.Entry(i)->Param()).size(), size_t(X2ConfigList::kTextSize)) << "case " << c;
      a.Save("out.ini");
      b.Load("out.ini");
      ASSERT_EQ(b.Count(), a.Count()) << "case " << c;
      for (int i = 0; i < a.Count(); ++i) {
        ASSERT_STREQ(b.Entry(i)->Name(), a.Entry(i)->Name()) << "case " << c;
        ASSERT_STREQ(b.Entry(i)->Param(), a.Entry(i)->Param()) << "case " << c;
      }
    } else {
      X2CameraConfig a("Target"), b("Target");
      a.SetFolder(dir_.c_str());
      b.SetFolder(dir_.c_str());
      a.Load("in.ini");
      ASSERT_TRUE(a.changeTimeIndex >= 0 && a.changeTimeIndex < X2CameraConfig::kChangeTimeCount);
      a.Save("out.ini");
      b.Load("out.ini");
      ASSERT_EQ(b.Count(), a.Count()) << "case " << c;
      ASSERT_EQ(b.changeTimeIndex, a.changeTimeIndex) << "case " << c;
      for (int i = 0; i < a.Count(); ++i) ASSERT_STREQ(b.Entry(i)->AI(), a.Entry(i)->AI()) << "case " << c;
    }
  }
}

// The enable switches of coral and structure records: "0" hides, another
// number shows, anything else is logged and shows (the default).
TEST_F(ConfigFuzz, EnableSwitchesFallBackToShown) {
  Rng rng(fuzz::kSeed + 14);
  static X2FishData records[6] = {};
  X2CoralList list;
  for (int i = 0; i < 6; ++i) {
    snprintf(records[i].header.name, sizeof records[i].header.name, "Coral%d\x83\x5C", i);
    snprintf(records[i].header.maker, sizeof records[i].header.maker, "Maker%d", i);
    list.Append(&records[i].header, nullptr);
  }
  X2CoralList* saved = TheCoralList;
  TheCoralList = &list;
  for (int c = 0; c < 800; ++c) {
    std::string text = JunkTail(rng);
    std::vector<int> want;
    int bad = 0;
    for (int i = 0; i < 6; ++i) {
      const Slot slot = PickSlot(rng);
      want.push_back(1);
      if (slot == Slot::kMissing) continue;
      text += std::string("[") + records[i].header.name + "_" + records[i].header.maker + "]\r\n";
      if (slot == Slot::kGood) {
        const int v = rng.Chance(50) ? 0 : rng.Between(1, 9);
        want.back() = v != 0;
        text += "enable=" + fuzz::Decimal(v) + "\r\n";
      } else {
        text += "enable=" + fuzz::NonNumber(rng) + "\r\n";
        ++bad;
      }
      text += JunkLines(rng);
    }
    X2CoralConfig coral;
    coral.SetFolder(dir_.c_str());
    Write("CoralConfig.ini", text);
    coral.Load("CoralConfig.ini");
    ASSERT_EQ(coral.Count(), 6);
    for (int i = 0; i < 6; ++i) ASSERT_EQ(coral.Entry(i)->enable, want[static_cast<size_t>(i)]) << "case " << c << "\n" << text;
    ASSERT_EQ(CountOf(ReadLog(), "is not a number"), bad) << "case " << c << "\n" << text;
  }
  TheCoralList = saved;
}

}  // namespace
