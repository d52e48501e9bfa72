#pragma once
// State-block server: one state block per static render-state record list,
// shared by the list's address. Blocks are recorded on first request after a
// restore and released at invalidation.
#include <d3d9.h>

#include <cstdint>

#include "C3ResourceServer.h"

class SBServer : public C3ResourceServer {
 public:
  enum { kCapacity = 100 };
  // No block: a free entry, a list that could not be recorded.
  static IDirect3DStateBlock9* const kNoBlock;

  SBServer();
  ~SBServer() override;

  // The block recorded from a record list (see StateRecordList). When all
  // 100 entries are taken, or the list is unreadable, logs and returns
  // kNoBlock without touching the table.
  IDirect3DStateBlock9* CreateSB(const uint32_t* list);
  // Applies a block; kNoBlock only logs.
  void SetSB(IDirect3DStateBlock9* block);
  void ResetCurrent() { current_ = kNoBlock; }

  HRESULT InvalidateDeviceObjects() override;

  int Count() const { return count_; }
  IDirect3DStateBlock9* Current() const { return current_; }

 private:
  void ReleaseAll();

  IDirect3DStateBlock9* blocks_[kCapacity];
  const uint32_t* keys_[kCapacity] = {};
  int count_ = 0;
  IDirect3DStateBlock9* current_ = kNoBlock;
};
