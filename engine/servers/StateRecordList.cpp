#include "StateRecordList.h"

namespace {

const D3DTEXTURESTAGESTATETYPE kColourArgs[] = {D3DTSS_COLORARG1, D3DTSS_COLORARG2, D3DTSS_COLORARG0};
const D3DTEXTURESTAGESTATETYPE kAlphaArgs[] = {D3DTSS_ALPHAARG1, D3DTSS_ALPHAARG2};

// Walks the list; calls emit for each operation; returns the index of the end
// word, or -1 when the list runs out (no end within the limit, or inside a
// record).
template <typename Emit>
int Walk(const uint32_t* list, bool usePixelShaders, Emit emit) {
  if (list == nullptr) return -1;
  const int limit = StateRecordList::kMaxWords;
  int i = 0;
  while (i < limit) {
    const uint32_t word = list[i];
    if (word == StateRecordList::kEnd) return i;
    if (word == StateRecordList::kFixedFunctionEnd) {
      if (usePixelShaders) return i;
      ++i;
      continue;
    }
    if (word == StateRecordList::kColourStage || word == StateRecordList::kAlphaStage) {
      if (i + 3 >= limit) return -1;
      const bool colour = word == StateRecordList::kColourStage;
      const uint32_t n = list[i + 1];
      const DWORD stage = list[i + 2];
      emit(StateRecordList::Operation{true, stage,
                                      DWORD(colour ? D3DTSS_COLOROP : D3DTSS_ALPHAOP),
                                      list[i + 3]});
      int args = 0;
      if (colour && n >= 2 && n <= 4) args = int(n) - 1;
      if (!colour && n >= 2 && n <= 3) args = int(n) - 1;
      if (i + 4 + args > limit) return -1;
      for (int a = 0; a < args; ++a) {
        emit(StateRecordList::Operation{true, stage,
                                        DWORD(colour ? kColourArgs[a] : kAlphaArgs[a]),
                                        list[i + 4 + a]});
      }
      i += 4 + args;
      continue;
    }
    if (i + 1 >= limit) return -1;
    emit(StateRecordList::Operation{false, 0, word, list[i + 1]});
    i += 2;
  }
  return -1;
}

}  // namespace

bool StateRecordList::Read(const uint32_t* list, bool usePixelShaders, std::vector<Operation>* out) {
  out->clear();
  if (list == nullptr) return true;
  return Walk(list, usePixelShaders, [out](const Operation& op) { out->push_back(op); }) >= 0;
}

int StateRecordList::EndIndex(const uint32_t* list, bool usePixelShaders) {
  return Walk(list, usePixelShaders, [](const Operation&) {});
}
