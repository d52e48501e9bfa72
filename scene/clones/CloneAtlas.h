#pragma once
// The one texture atlas every render texture draws its source into. The
// sources asked for during the frame move are drawn together before the
// frame is drawn: one render-target switch and one clear per atlas page and
// one scene for all of them, each source in its own tile.
#include <d3d9.h>

#include <vector>

#include "CloneAtlasLayout.h"

class C4RenderTexture;

class CloneAtlas {
 public:
  static CloneAtlas& Instance();

  // A render texture takes a tile of `edge` texels (a second call changes
  // the edge); Leave gives it back.
  void Join(C4RenderTexture* texture, int edge);
  void Leave(C4RenderTexture* texture);
  bool HasJoined(const C4RenderTexture* texture) const { return Find(texture) != nullptr; }

  // The texture's source is to be drawn by the next Flush.
  void Queue(C4RenderTexture* texture);
  // Draws every queued source into its tile (C4RenderTexture::DrawSource)
  // and puts the device's render target and depth surface back (with the
  // target's whole-surface viewport).
  // Sources that could not be drawn hear of it (C4RenderTexture::CaptureFailed).
  void Flush(IDirect3DDevice9* device);

  // The page holding the texture's picture and where in it, when its source
  // was drawn by the last Flush; false otherwise.
  bool Picture(const C4RenderTexture* texture, IDirect3DTexture9** page, AtlasTileCoords* coords) const;

  // Default-pool objects go (device reset, last texture gone); the next
  // Flush makes them again.
  void ReleaseDeviceObjects();

  int PageCount() const { return static_cast<int>(pages_.size()); }

 private:
  struct Member {
    C4RenderTexture* texture;
    int edge;
    int tile;  // index into layout_.tiles; valid while !dirty_
    bool queued;
    bool drawn;
  };

  Member* Find(const C4RenderTexture* texture);
  const Member* Find(const C4RenderTexture* texture) const;
  // Lays the tiles out again and makes the pages and depth surface when the
  // members changed or the objects were released; false when it cannot.
  bool Prepare(IDirect3DDevice9* device);
  void ReportFailed();

  std::vector<Member> members_;
  AtlasLayout layout_;
  bool dirty_ = true;
  std::vector<IDirect3DTexture9*> pages_;
  std::vector<IDirect3DSurface9*> surfaces_;
  IDirect3DSurface9* depth_ = nullptr;
};
