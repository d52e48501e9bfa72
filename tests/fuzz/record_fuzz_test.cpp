// Mutated plug-in records inside real plug-in images: the shipped species
// and AI libraries and the test structure library are loaded, their record
// and everything it points at are damaged in place (counts, offsets,
// pointers), and the record checks run. A record the checks accept is then
// read the way the program reads it, and every byte of that lies inside
// the library's image.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "FuzzText.h"
#include "RecordFuzz.h"
#include "TestSupport.h"
#include "X2PluginAbi.h"
#include "pluginlists/X2ModuleImage.h"
#include "pluginlists/X2RecordCheck.h"

using namespace qvtest;
using fuzz::Rng;
using namespace fuzz;

namespace {

struct Library {
  std::string path;
  const char* exportName;
  bool ai;
  X2FishUse use;
  int cases;
};

class RecordFuzz : public ::testing::TestWithParam<Library> {};

TEST_P(RecordFuzz, AcceptedRecordsStayInsideTheirImage) {
  const Library& lib = GetParam();
  HMODULE module = LoadLibraryA(lib.path.c_str());
  ASSERT_NE(module, nullptr) << lib.path;
  X2ModuleImage image;
  ASSERT_TRUE(image.Attach(module));
  FARPROC entry = GetProcAddress(module, lib.exportName);
  ASSERT_NE(entry, nullptr);
  DWORD oldProtect;
  ASSERT_TRUE(VirtualProtect(reinterpret_cast<void*>(image.Begin()), image.Size(), PAGE_EXECUTE_READWRITE, &oldProtect));

  X2AIData* ai = nullptr;
  X2FishData* fish = nullptr;
  std::vector<Region> regions;
  if (lib.ai) {
    ai = reinterpret_cast<X2GetAIDataFn>(reinterpret_cast<void*>(entry))(nullptr, nullptr);
    ASSERT_EQ(X2CheckAIRecord(ai, image), nullptr);
    regions.push_back({(unsigned char*)ai, sizeof *ai});
    regions.push_back({(unsigned char*)ai + sizeof(X2RecordHeader), sizeof *ai - sizeof(X2RecordHeader)});
  } else {
    fish = reinterpret_cast<X2GetFishDataFn>(reinterpret_cast<void*>(entry))(nullptr, nullptr);
    ASSERT_EQ(X2CheckFishRecord(fish, image, lib.use), nullptr);
    regions = Collect(fish);
  }

  Rng rng(fuzz::kSeed + 20 + static_cast<uint32_t>(lib.use) + (lib.ai ? 7 : 0));
  int accepted = 0;
  for (int c = 0; c < lib.cases; ++c) {
    std::vector<Undo> undo;
    for (int n = rng.Between(1, 4); n > 0; --n) Damage(rng, regions, image, &undo);
    Reader reader(image);
    const char* why = nullptr;
    if (ai) {
      why = X2CheckAIRecord(ai, image);
      if (!why) reader.AI(ai);
    } else {
      why = X2CheckFishRecord(fish, image, lib.use);
      if (!why) reader.Fish(fish, lib.use);
    }
    accepted += why == nullptr;
    ASSERT_TRUE(reader.ok()) << lib.path << " case " << c << ": accepted, but reads " << reader.why()
                             << " outside the image";
    for (auto u = undo.rbegin(); u != undo.rend(); ++u) std::memcpy(u->at, u->saved, u->width);
  }
  // Every damage undone, the record is whole again.
  EXPECT_EQ(ai ? X2CheckAIRecord(ai, image) : X2CheckFishRecord(fish, image, lib.use), nullptr);
  std::printf("%s: %d cases, %d accepted\n", lib.path.c_str(), lib.cases, accepted);
  FreeLibrary(module);
}

const char kFishExport[] = "?GetFishData@@YAPAUX2FishData@@PBD0@Z";
const char kAIExport[] = "?GetAIData@@YAPAUX2AIData@@PAD0@Z";

INSTANTIATE_TEST_SUITE_P(
    Libraries, RecordFuzz,
    ::testing::Values(Library{DistDir() + "model\\vassop.qvf", kFishExport, false, kX2UseFish, 1500},
                      Library{DistDir() + "model\\Calvesh.qvc", kFishExport, false, kX2UseCoral, 800},
                      Library{TestBinDir() + "plugins\\structure.qvs", kFishExport, false, kX2UseStructure, 500},
                      Library{DistDir() + "ai\\PurselAI.qva", kAIExport, true, kX2UseFish, 500}));

}  // namespace
