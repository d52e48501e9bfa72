#include "CloneAtlas.h"

#include <algorithm>

#include "C4RenderTexture.h"
#include "diagnostics/C3DrawCounter.h"
#include "diagnostics/Diagnostics.h"
#include "frame/C3SceneHost.h"
#include "util/ComRelease.h"

#define ATLAS_CHECK(code) FatalCheck("CloneAtlas", __LINE__, __TIME__, (code))

CloneAtlas& CloneAtlas::Instance() {
  static CloneAtlas atlas;
  return atlas;
}

CloneAtlas::Member* CloneAtlas::Find(const C4RenderTexture* texture) {
  for (Member& m : members_)
    if (m.texture == texture) return &m;
  return nullptr;
}

const CloneAtlas::Member* CloneAtlas::Find(const C4RenderTexture* texture) const {
  for (const Member& m : members_)
    if (m.texture == texture) return &m;
  return nullptr;
}

void CloneAtlas::Join(C4RenderTexture* texture, int edge) {
  if (!texture) return;
  if (Member* m = Find(texture)) {
    if (m->edge != edge) dirty_ = true;
    m->edge = edge;
    return;
  }
  members_.push_back({texture, edge, -1, false, false});
  dirty_ = true;
}

void CloneAtlas::Leave(C4RenderTexture* texture) {
  auto at = std::find_if(members_.begin(), members_.end(), [&](const Member& m) { return m.texture == texture; });
  if (at == members_.end()) return;
  members_.erase(at);
  dirty_ = true;
  if (members_.empty()) ReleaseDeviceObjects();
}

void CloneAtlas::Queue(C4RenderTexture* texture) {
  if (Member* m = Find(texture)) {
    m->queued = true;
    m->drawn = false;
  }
}

void CloneAtlas::ReleaseDeviceObjects() {
  for (IDirect3DSurface9*& s : surfaces_) SafeRelease(s);
  for (IDirect3DTexture9*& t : pages_) SafeRelease(t);
  surfaces_.clear();
  pages_.clear();
  SafeRelease(depth_);
  dirty_ = true;
}

bool CloneAtlas::Prepare(IDirect3DDevice9* device) {
  if (!dirty_) return !pages_.empty();
  ReleaseDeviceObjects();
  D3DCAPS9 caps{};
  if (FAILED(device->GetDeviceCaps(&caps))) return false;
  const int pageEdge = AtlasPageEdge(static_cast<int>(caps.MaxTextureWidth), static_cast<int>(caps.MaxTextureHeight));
  std::vector<int> edges;
  for (const Member& m : members_) edges.push_back(m.edge);
  layout_ = LayoutCloneAtlas(edges, pageEdge);
  for (size_t i = 0; i < members_.size(); ++i) members_[i].tile = static_cast<int>(i);
  if (layout_.pages.empty()) return false;

  // The depth surface matches the back buffer's format where there is one.
  D3DFORMAT depthFormat = D3DFMT_D16;
  IDirect3DSurface9* current = nullptr;
  if (SUCCEEDED(device->GetDepthStencilSurface(&current)) && current) {
    D3DSURFACE_DESC desc{};
    if (SUCCEEDED(current->GetDesc(&desc))) depthFormat = desc.Format;
    current->Release();
  }
  UINT depthWidth = 0, depthHeight = 0;
  for (const AtlasPage& page : layout_.pages) {
    IDirect3DTexture9* texture = nullptr;
    IDirect3DSurface9* surface = nullptr;
    if (ATLAS_CHECK(device->CreateTexture(page.width, page.height, 1, D3DUSAGE_RENDERTARGET, D3DFMT_A8R8G8B8,
                                          D3DPOOL_DEFAULT, &texture, nullptr)) != 0)
      return false;
    pages_.push_back(texture);
    if (ATLAS_CHECK(texture->GetSurfaceLevel(0, &surface)) != 0) return false;
    surfaces_.push_back(surface);
    depthWidth = std::max(depthWidth, static_cast<UINT>(page.width));
    depthHeight = std::max(depthHeight, static_cast<UINT>(page.height));
  }
  if (ATLAS_CHECK(device->CreateDepthStencilSurface(depthWidth, depthHeight, depthFormat, D3DMULTISAMPLE_NONE, 0,
                                                    TRUE, &depth_, nullptr)) != 0)
    return false;
  dirty_ = false;
  LogPrint("clone atlas: %d pictures on %d pages\n", static_cast<int>(members_.size()),
           static_cast<int>(pages_.size()));
  return true;
}

void CloneAtlas::ReportFailed() {
  // Gathered first: the list is not walked while the textures hear of it.
  std::vector<C4RenderTexture*> failed;
  for (Member& m : members_) {
    if (!m.queued) continue;
    failed.push_back(m.texture);
    m.queued = false;
    m.drawn = false;
  }
  for (C4RenderTexture* t : failed) t->CaptureFailed();
}

void CloneAtlas::Flush(IDirect3DDevice9* device) {
  const bool any = std::any_of(members_.begin(), members_.end(), [](const Member& m) { return m.queued; });
  if (!any) return;
  if (!device || !Prepare(device)) {
    ReportFailed();
    return;
  }
  IDirect3DSurface9* savedTarget = nullptr;
  IDirect3DSurface9* savedDepth = nullptr;
  ATLAS_CHECK(device->GetRenderTarget(0, &savedTarget));
  device->GetDepthStencilSurface(&savedDepth);  // none is allowed

  if (FAILED(device->BeginScene())) {
    SafeRelease(savedTarget);
    SafeRelease(savedDepth);
    ReportFailed();
    return;
  }
  // The frame's light and camera constants are written at the start of the
  // frame's own scene, after this: the sources need them now.
  GetSceneHost()->SetFrameShaderConstants();
  ATLAS_CHECK(device->SetDepthStencilSurface(depth_));
  for (size_t p = 0; p < pages_.size(); ++p) {
    bool used = false;
    for (const Member& m : members_) used |= m.queued && layout_.tiles[m.tile].page == static_cast<int>(p);
    if (!used) continue;
    ATLAS_CHECK(device->SetRenderTarget(0, surfaces_[p]));
    ATLAS_CHECK(C3DrawCounter::Clear(device, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0, 1.0f, 0));
    for (Member& m : members_) {
      const AtlasTile& tile = layout_.tiles[m.tile];
      if (!m.queued || tile.page != static_cast<int>(p)) continue;
      const D3DVIEWPORT9 viewport = {static_cast<DWORD>(tile.x), static_cast<DWORD>(tile.y),
                                     static_cast<DWORD>(tile.edge), static_cast<DWORD>(tile.edge), 0.0f, 1.0f};
      ATLAS_CHECK(device->SetViewport(&viewport));
      m.texture->DrawSource();
      m.queued = false;
      m.drawn = true;
    }
  }
  ATLAS_CHECK(device->EndScene());
  ATLAS_CHECK(device->SetRenderTarget(0, savedTarget));
  // Setting the target again also gives it its whole-surface viewport back
  // (a pure device cannot be asked for the one it had).
  ATLAS_CHECK(device->SetDepthStencilSurface(savedDepth));
  SafeRelease(savedTarget);
  SafeRelease(savedDepth);
  // Tiles too large for any page were not drawn.
  ReportFailed();
}

bool CloneAtlas::Picture(const C4RenderTexture* texture, IDirect3DTexture9** page, AtlasTileCoords* coords) const {
  const Member* m = Find(texture);
  if (!m || !m->drawn || dirty_) return false;
  const AtlasTile& tile = layout_.tiles[m->tile];
  if (tile.page < 0 || tile.page >= static_cast<int>(pages_.size())) return false;
  *page = pages_[tile.page];
  *coords = TileCoords(tile, layout_.pages[tile.page]);
  return true;
}
