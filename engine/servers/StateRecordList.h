#pragma once
// Reader of the render-state record lists that scene classes keep as static
// data. A list is a run of 32-bit words read front to back:
//   1, n, stage, op, args...   colour stage: op, then ARG1 (n >= 2), ARG2
//                              (n >= 3), ARG0 (n == 4); other n: op alone
//   2, n, stage, op, args...   alpha stage: op, then ARG1 (n >= 2), ARG2 (n == 3)
//   3                          end of the pixel-shader part: with pixel
//                              shaders in use the list stops here
//   w, v                       render state w = v (any other w)
//   -1                         end of the list, where a record would start
// Only a word in the place of a record's first word ends the list, so a value
// (a fog colour, for one) may be 0xFFFFFFFF.
#include <d3d9.h>

#include <cstdint>
#include <vector>

class StateRecordList {
 public:
  enum : uint32_t { kColourStage = 1, kAlphaStage = 2, kFixedFunctionEnd = 3, kEnd = 0xFFFFFFFFu };
  // Lists longer than this are taken as missing their end word.
  enum { kMaxWords = 4096 };

  struct Operation {
    bool textureStage;  // SetTextureStageState (stage, type, value), else SetRenderState
    DWORD stage;
    DWORD type;         // D3DTEXTURESTAGESTATETYPE or D3DRENDERSTATETYPE
    DWORD value;
  };

  // The operations of a list in order. Returns false (with the operations
  // read so far) when the list has no end word within kMaxWords or ends
  // inside a record; a null list gives no operations.
  static bool Read(const uint32_t* list, bool usePixelShaders, std::vector<Operation>* out);

  // Index of the word that ends the list (the -1 at a record start, or the 3
  // where pixel shaders stop reading), or -1 when there is none.
  static int EndIndex(const uint32_t* list, bool usePixelShaders);
};

// Short names for the record words, for the static lists of the scene's
// table files (which bring them in with a using-directive).
namespace staterecords {
constexpr uint32_t kEnd = StateRecordList::kEnd;
constexpr uint32_t kPixelShaderEnd = StateRecordList::kFixedFunctionEnd;
constexpr uint32_t COLOUR = StateRecordList::kColourStage;
constexpr uint32_t ALPHA = StateRecordList::kAlphaStage;
}  // namespace staterecords
