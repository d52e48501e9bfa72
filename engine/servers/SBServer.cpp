#include "SBServer.h"

#include <vector>

#include "StateRecordList.h"
#include "diagnostics/Diagnostics.h"

#define SB_CHECK(code) FatalCheck("SBServer", __LINE__, __TIME__, (code))

IDirect3DStateBlock9* const SBServer::kNoBlock =
    reinterpret_cast<IDirect3DStateBlock9*>(static_cast<intptr_t>(-1));

namespace {
unsigned LogAddress(const void* p) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); }
}  // namespace

SBServer::SBServer() {
  for (auto& b : blocks_) b = kNoBlock;
}

SBServer::~SBServer() { ReleaseAll(); }

IDirect3DStateBlock9* SBServer::CreateSB(const uint32_t* list) {
  for (int i = 0; i < count_; ++i) {
    if (keys_[i] == list) return blocks_[i];
  }
  if (count_ >= kCapacity) {
    LogPrint("KWEX SBServer full: list %X not recorded\n", LogAddress(list));
    return kNoBlock;
  }
  std::vector<StateRecordList::Operation> ops;
  if (list == nullptr || !StateRecordList::Read(list, UsePixelShaders(), &ops)) {
    LogPrint("KWEX SBServer: record list %X has no end\n", LogAddress(list));
    return kNoBlock;
  }

  const int index = count_;
  keys_[index] = list;
  LogPrint("Create New State Block Data:%X\n", LogAddress(list));
  SB_CHECK(device_->BeginStateBlock());
  for (const auto& op : ops) {
    if (op.textureStage) {
      device_->SetTextureStageState(op.stage, static_cast<D3DTEXTURESTAGESTATETYPE>(op.type),
                                    op.value);
    } else {
      SB_CHECK(device_->SetRenderState(static_cast<D3DRENDERSTATETYPE>(op.type), op.value));
    }
  }
  IDirect3DStateBlock9* block = nullptr;
  SB_CHECK(device_->EndStateBlock(&block));
  blocks_[index] = block;
  count_ = index + 1;
  return block;
}

void SBServer::SetSB(IDirect3DStateBlock9* block) {
  if (block == kNoBlock || block == nullptr) {
    LogPrint("KWEX SBServer::SetSB\n");
    return;
  }
  SB_CHECK(block->Apply());
  current_ = block;
  // The test below only reports; while the log is off there is no one to tell.
  if (GetDebugLogLevel() <= 0) return;
  bool known = false;
  for (int i = 0; i < count_ && !known; ++i) known = blocks_[i] == block;
  if (!known) DebugPrint(1, "Illegal SB:%X\n", LogAddress(block));
}

void SBServer::ReleaseAll() {
  for (int i = 0; i < count_; ++i) {
    keys_[i] = nullptr;
    if (blocks_[i] != kNoBlock && blocks_[i] != nullptr) blocks_[i]->Release();
    blocks_[i] = kNoBlock;
  }
  count_ = 0;
}

HRESULT SBServer::InvalidateDeviceObjects() {
  ReleaseAll();
  current_ = kNoBlock;
  return 0;
}
