#pragma once
// The process-wide texture table: textures shared by name. A texture from a
// file is keyed by its file name, one from memory by the data's address (in
// upper-case hexadecimal), so objects naming the same image share one
// texture. Data that begins 0x78 0x9C is a zlib stream and is inflated
// first. A file that cannot be loaded is replaced by a small built-in image.
#include <d3d9.h>

#include <string>
#include <vector>

class TextureTable {
 public:
  enum { kCapacity = 1000, kInflateBufferSize = 2107392 };
  static const DWORD kFilter = 0x70004;  // triangle filter, mirrored in u, v and w

  static TextureTable& Instance();

  HRESULT LoadFile(IDirect3DDevice9* device, const char* name, IDirect3DTexture9** texture,
                   D3DFORMAT format);
  HRESULT LoadFromMemory(IDirect3DDevice9* device, const void* data, UINT size,
                         IDirect3DTexture9** texture, D3DFORMAT format, int singleLevel);
  // Releases the texture and empties the first entry holding it (which a
  // later load may take); a texture not in the table is left alone.
  HRESULT Release(IDirect3DTexture9* texture);

  // Entries in use or released (released ones have an empty name).
  int Count() const { return static_cast<int>(entries_.size()); }
  const std::string& Name(int i) const { return entries_[i].name; }
  IDirect3DTexture9* Texture(int i) const { return entries_[i].texture; }
  int LiveCount() const;
  // The key of data in memory.
  static std::string AddressKey(const void* data);

 private:
  struct Entry {
    std::string name;
    IDirect3DTexture9* texture = nullptr;
  };
  TextureTable() = default;
  int Find(const std::string& name) const;
  // Index for a new entry (a released one first), or -1 when the table is full.
  int FreeSlot();

  std::vector<Entry> entries_;
};

// The table's operations as the scene calls them.
HRESULT LoadTextureFile(IDirect3DDevice9* device, const char* name, IDirect3DTexture9** texture,
                        D3DFORMAT format);
HRESULT LoadTextureFromMemory(IDirect3DDevice9* device, const void* data, UINT size,
                              IDirect3DTexture9** texture, D3DFORMAT format, int singleLevel);
HRESULT ReleaseTexture(IDirect3DTexture9* texture);
// An environment cube map from memory (inflated first when compressed); not
// kept in the table: the caller releases it.
HRESULT CreateCubeTextureFromMemory(IDirect3DDevice9* device, const void* data, UINT size,
                                    IDirect3DCubeTexture9** texture);
