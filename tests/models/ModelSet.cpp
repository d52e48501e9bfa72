#include "ModelSet.h"

#include "TestSupport.h"
#include "fish/BuiltinFish.h"

namespace qvspecies {

X2GetFishDataFn LoadFishExport(const char* file, HMODULE* module) {
  *module = LoadLibraryA((qvtest::DistDir() + "model\\" + file).c_str());
  if (!*module) return nullptr;
  return reinterpret_cast<X2GetFishDataFn>(
      reinterpret_cast<void*>(GetProcAddress(*module, X2_FISH_EXPORT_NAME)));
}

SpeciesSet::~SpeciesSet() {
  for (HMODULE m : modules_) FreeLibrary(m);
}

bool SpeciesSet::LoadPlugin(const char* file, const char* tag, std::string* error) {
  HMODULE module = nullptr;
  X2GetFishDataFn get = LoadFishExport(file, &module);
  if (module) modules_.push_back(module);
  if (!get) {
    *error = std::string("cannot load ") + file + " or its export";
    return false;
  }
  const X2FishData* record = get(nullptr, nullptr);
  if (!record) {
    *error = std::string(file) + " returned no record";
    return false;
  }
  species_.push_back({tag, record, true});
  return true;
}

bool SpeciesSet::Load(std::string* error) {
  static const char* const kTags[] = {"maaji", "buri", "maiwashi", "madai",
                                      "kurodai", "madai_blue", "madai_yellow"};
  int count = 0;
  const X2FishData* const* builtin = GetBuiltinSpecies(&count);
  if (count != 7) {
    *error = "built-in species count is not 7";
    return false;
  }
  for (int i = 0; i < count; ++i) species_.push_back({kTags[i], builtin[i], false});
  return LoadPlugin("vassop.qvf", "vassop", error) && LoadPlugin("Calvesh.qvc", "calvesh", error);
}

}  // namespace qvspecies
