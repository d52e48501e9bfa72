// The pure parsers of the fuzz tests built on the host under AddressSanitizer
// and UndefinedBehaviorSanitizer (tools/fuzz-native.sh): parameter strings
// against the flock AI's key table, and fish records damaged in place inside
// a block that stands for a library's image, allocated to its exact size so
// that any read past it is caught. Same generators and seeds as the tests
// under Wine; exits non-zero on the first wrong answer.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "FuzzText.h"
#include "ParamCases.h"
#include "PurselTables.h"
#include "RecordFuzz.h"
#include "X2Host.h"

// The parameter table logs through the host; nothing to log to here.
void X2Host::Log(const char*, ...) const {}

namespace {

int failures = 0;

void Fail(const char* what, int c) {
  std::printf("case %d: %s\n", c, what);
  if (++failures > 10) std::exit(1);
}

int ParamCases() {
  fuzz::Rng rng(fuzz::kSeed);
  X2ParamTable fresh;
  fresh.Load(kPurselKeys);
  int n = 0;
  for (int c = 0; c < 20000; ++c, ++n) {
    fuzz::Expectation e = fuzz::Structured(rng, fresh);
    const bool mutated = c % 2 == 1;
    if (mutated) e.text = fuzz::Mutate(rng, e.text, rng.Between(1, 6));
    X2ParamTable t = fresh;
    const int rejected = t.Parse(e.text.c_str());
    if (!mutated && e.text.size() < X2ParamTable::kTextSize &&
        (rejected != e.rejected || fuzz::Values(t) != e.values))
      Fail("structured string read wrongly", c);
    const int room = rng.Between(1, X2ParamTable::kTextSize);
    std::unique_ptr<char[]> out(new char[static_cast<size_t>(room)]);  // exact room
    t.Format(out.get(), room);
    if (std::strlen(out.get()) >= static_cast<size_t>(room)) Fail("format overran", c);
  }
  return n;
}

// A sound fish record and everything it points at, in one block.
struct Blob {
  X2FishData record;
  X2FishModel model;
  float vertices[8 * 8];
  uint16_t indices[12];
  X2AttributeRange ranges[2];
  X2FishMesh base;
  float morph[8 * 6];
  X2FishMesh frame;
  X2FishMesh* frames[2];
  X2FishMesh farMesh;
  X2FarMesh farPair;
  X2FishMesh pm;
  X2FishPart parts[2];
  unsigned char textureData[16];
  X2FishTexture textures[2];
  char defaultAI[16];
  unsigned char rally[fuzz::kRallyRecordBytes];
};

void MakeSound(Blob* b) {
  std::memset(b, 0, sizeof *b);
  for (int i = 0; i < 12; ++i) b->indices[i] = static_cast<uint16_t>((i * 5) % 8);
  b->ranges[0] = {0, 0, 2, 0, 4};
  b->ranges[1] = {1, 2, 2, 4, 4};
  b->base = {8, b->vertices, 4, b->indices, X2_FVF_VERTEX, X2_STRIDE_VERTEX, b->ranges, 2, nullptr};
  b->frame = {8, b->morph, 4, nullptr, X2_FVF_MORPH, X2_STRIDE_MORPH, b->ranges, 2, nullptr};
  b->frames[0] = b->frames[1] = &b->frame;
  b->farMesh = b->base;
  b->farPair = {10.0f, &b->farMesh};
  b->pm = {8, b->morph, 4, b->indices, X2_FVF_MORPH, X2_STRIDE_MORPH, b->ranges, 2, nullptr};
  b->parts[0] = {0, 1, 0, 0.0f, 0.0f, 0.2f, 0.0f, 0};
  b->parts[1] = {1, 0, 1, 0.2f, 0.1f, 0.01f, 0.0f, 1};
  b->textureData[0] = 0x78, b->textureData[1] = 0x9C;
  b->textures[0] = {b->textureData, sizeof b->textureData};
  b->textures[1] = b->textures[0];
  std::strcpy(b->defaultAI, "ai_maker");
  b->rally[0] = 3;
  X2FishModel& m = b->model;
  m.textureCount = 1;
  m.textures = b->textures;
  m.hasExtraTexture = 1;
  m.scale = 1.0f;
  m.baseMesh = &b->base;
  m.hasSecondMesh = 1;
  m.secondMesh = &b->farPair;
  m.frameCount = 2;
  m.frames = b->frames;
  m.pminfoMesh = &b->pm;
  m.partCount = 2;
  m.parts = b->parts;
  X2FishData& r = b->record;
  r.header.version = X2_VERSION_FISH;
  std::strcpy(r.header.name, "Fish");
  std::strcpy(r.header.maker, "Maker");
  r.defaultAI = b->defaultAI;
  r.modelCount = 1;
  r.model = &m;
  r.rallyPoints = b->rally;
}

int RecordCases() {
  fuzz::Rng rng(fuzz::kSeed + 20);
  Blob* b = static_cast<Blob*>(std::malloc(sizeof(Blob)));  // exactly the image
  MakeSound(b);
  const X2ModuleImage image(reinterpret_cast<uintptr_t>(b), sizeof(Blob));
  if (const char* why = X2CheckFishRecord(&b->record, image)) {
    std::printf("the sound record is refused: %s\n", why);
    std::exit(1);
  }
  const std::vector<fuzz::Region> regions = fuzz::Collect(&b->record);
  int accepted = 0, n = 0;
  for (int c = 0; c < 20000; ++c, ++n) {
    std::vector<fuzz::Undo> undo;
    for (int k = rng.Between(1, 4); k > 0; --k) fuzz::Damage(rng, regions, image, &undo);
    for (X2FishUse use : {kX2UseFish, kX2UseCoral, kX2UseStructure}) {
      if (X2CheckFishRecord(&b->record, image, use)) continue;
      ++accepted;
      fuzz::Reader reader(image);
      reader.Fish(&b->record, use);
      if (!reader.ok()) Fail(reader.why().c_str(), c);
    }
    for (auto u = undo.rbegin(); u != undo.rend(); ++u) std::memcpy(u->at, u->saved, u->width);
  }
  std::printf("records: %d cases, %d accepted uses\n", n, accepted);
  std::free(b);
  return n;
}

}  // namespace

int main() {
  const int params = ParamCases();
  std::printf("parameter strings: %d cases\n", params);
  const int records = RecordCases();
  std::printf("%d cases, %d wrong answers\n", params + records, failures);
  return failures ? 1 : 0;
}
