#pragma once
// The nine species of the product as the program sees them: the seven
// built-in records and the records of the two species plug-ins, loaded from
// the dist folder by their decorated export name.
#include <windows.h>

#include <string>
#include <vector>

#include "X2PluginAbi.h"

namespace qvspecies {

struct Species {
  std::string tag;  // ASCII name for messages and file names
  const X2FishData* record = nullptr;
  bool isPlugin = false;
};

class SpeciesSet {
 public:
  SpeciesSet() = default;
  ~SpeciesSet();
  SpeciesSet(const SpeciesSet&) = delete;
  SpeciesSet& operator=(const SpeciesSet&) = delete;

  // Loads both plug-ins; false with *error when one is missing or refuses.
  bool Load(std::string* error);
  const std::vector<Species>& All() const { return species_; }

 private:
  bool LoadPlugin(const char* file, const char* tag, std::string* error);

  std::vector<Species> species_;
  std::vector<HMODULE> modules_;
};

// Loads a species plug-in from dist\model and returns its export, or null.
X2GetFishDataFn LoadFishExport(const char* file, HMODULE* module);

}  // namespace qvspecies
