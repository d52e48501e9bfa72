#include "TextureTable.h"

#include <d3dx9.h>

#include <cstdint>

#include "EngineData.h"
#include "diagnostics/Diagnostics.h"
#include "util/Inflate.h"

namespace {

std::vector<unsigned char>& InflateBuffer() {
  static std::vector<unsigned char> buffer;
  if (buffer.empty()) buffer.resize(TextureTable::kInflateBufferSize);
  return buffer;
}

// Inflates compressed image data in place of the caller's pointer and size.
bool PrepareImageData(const void** data, UINT* size) {
  if (!IsZlibStream(*data, *size)) return true;
  std::vector<unsigned char>& buffer = InflateBuffer();
  size_t length = 0;
  if (!InflateBlock(*data, *size, buffer.data(), buffer.size(), &length)) {
    LogPrint("KWEX texture expansion.\n");
    return false;
  }
  *data = buffer.data();
  *size = static_cast<UINT>(length);
  return true;
}

}  // namespace

TextureTable& TextureTable::Instance() {
  static TextureTable table;
  return table;
}

std::string TextureTable::AddressKey(const void* data) {
  static const char kDigits[] = "0123456789ABCDEF";
  uintptr_t value = reinterpret_cast<uintptr_t>(data);
  std::string key;
  do {
    key.insert(key.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value);
  return key;
}

int TextureTable::Find(const std::string& name) const {
  if (name.empty()) return -1;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

int TextureTable::FreeSlot() {
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (entries_[i].name.empty() && entries_[i].texture == nullptr) return static_cast<int>(i);
  }
  if (entries_.size() >= kCapacity) return -1;
  entries_.emplace_back();
  return static_cast<int>(entries_.size() - 1);
}

int TextureTable::LiveCount() const {
  int n = 0;
  for (const auto& e : entries_) n += e.texture != nullptr;
  return n;
}

HRESULT TextureTable::LoadFile(IDirect3DDevice9* device, const char* name,
                               IDirect3DTexture9** texture, D3DFORMAT format) {
  *texture = nullptr;
  const std::string key = name ? name : "";
  const int found = Find(key);
  if (found >= 0) {
    *texture = entries_[found].texture;
    return 0;
  }
  HRESULT hr = E_FAIL;
  if (!key.empty()) {
    hr = D3DXCreateTextureFromFileExA(device, key.c_str(), D3DX_DEFAULT, D3DX_DEFAULT, D3DX_DEFAULT,
                                      0, format, D3DPOOL_MANAGED, kFilter, kFilter, 0xFF000000,
                                      nullptr, nullptr, texture);
  }
  if (FAILED(hr)) {
    *texture = nullptr;
    LogPrint("KWEX texture file %s not loaded: the fallback image is used\n", key.c_str());
    return LoadFromMemory(device, EngineData::kFallbackImage, EngineData::kFallbackImageSize,
                          texture, format, 0);
  }
  const int slot = FreeSlot();
  if (slot < 0) {
    LogPrint("KWEX texture table full: %s\n", key.c_str());
    (*texture)->Release();
    *texture = nullptr;
    return E_OUTOFMEMORY;
  }
  entries_[slot].name = key;
  entries_[slot].texture = *texture;
  return hr;
}

HRESULT TextureTable::LoadFromMemory(IDirect3DDevice9* device, const void* data, UINT size,
                                     IDirect3DTexture9** texture, D3DFORMAT format,
                                     int singleLevel) {
  *texture = nullptr;
  const std::string key = AddressKey(data);
  const int found = Find(key);
  if (found >= 0) {
    *texture = entries_[found].texture;
    return 0;
  }
  if (data == nullptr || size == 0) return E_INVALIDARG;
  // A load that fails leaves no entry, so asking again fails again.
  if (!PrepareImageData(&data, &size)) return D3DXERR_INVALIDDATA;
  const int slot = FreeSlot();
  if (slot < 0) {
    LogPrint("KWEX texture table full: %s\n", key.c_str());
    return E_OUTOFMEMORY;
  }
  HRESULT hr = D3DXCreateTextureFromFileInMemoryEx(
      device, data, size, D3DX_DEFAULT, D3DX_DEFAULT, singleLevel ? 1 : D3DX_DEFAULT, 0, format,
      D3DPOOL_MANAGED, kFilter, kFilter, 0, nullptr, nullptr, texture);
  if (FAILED(hr) || *texture == nullptr) {
    if (*texture) (*texture)->Release();
    *texture = nullptr;
    if (entries_.size() == size_t(slot) + 1 && entries_[slot].name.empty()) entries_.pop_back();
    return FAILED(hr) ? hr : E_FAIL;
  }
  entries_[slot].name = key;
  entries_[slot].texture = *texture;
  return hr;
}

HRESULT TextureTable::Release(IDirect3DTexture9* texture) {
  if (texture == nullptr) return 0;
  for (auto& e : entries_) {
    if (e.texture == texture) {
      e.texture = nullptr;
      e.name.clear();
      texture->Release();
      break;
    }
  }
  return 0;
}

HRESULT LoadTextureFile(IDirect3DDevice9* device, const char* name, IDirect3DTexture9** texture,
                        D3DFORMAT format) {
  return TextureTable::Instance().LoadFile(device, name, texture, format);
}

HRESULT LoadTextureFromMemory(IDirect3DDevice9* device, const void* data, UINT size,
                              IDirect3DTexture9** texture, D3DFORMAT format, int singleLevel) {
  return TextureTable::Instance().LoadFromMemory(device, data, size, texture, format, singleLevel);
}

HRESULT ReleaseTexture(IDirect3DTexture9* texture) {
  return TextureTable::Instance().Release(texture);
}

HRESULT CreateCubeTextureFromMemory(IDirect3DDevice9* device, const void* data, UINT size,
                                    IDirect3DCubeTexture9** texture) {
  *texture = nullptr;
  if (data == nullptr || size == 0) return E_INVALIDARG;
  if (!PrepareImageData(&data, &size)) return D3DXERR_INVALIDDATA;
  return D3DXCreateCubeTextureFromFileInMemoryEx(device, data, size, D3DX_DEFAULT, 5, 0,
                                                 D3DFMT_UNKNOWN, D3DPOOL_MANAGED,
                                                 D3DX_FILTER_LINEAR, D3DX_FILTER_LINEAR, 0, nullptr,
                                                 nullptr, texture);
}
