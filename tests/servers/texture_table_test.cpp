// The texture table on a real device: sharing by file name and by data
// address, the fallback image, compressed-data detection, release and reuse
// of entries, the 1000-entry limit, long names and cube maps, across a device
// reset and a re-initialisation.
#include <d3dx9.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "EngineData.h"
#include "TestSupport.h"
#include "servers/TextureTable.h"

namespace {

std::vector<unsigned char> Tga(int w, int h, unsigned char r, unsigned char g, unsigned char b) {
  std::vector<unsigned char> out(18, 0);
  out[2] = 2;
  out[12] = static_cast<unsigned char>(w);
  out[13] = static_cast<unsigned char>(w >> 8);
  out[14] = static_cast<unsigned char>(h);
  out[15] = static_cast<unsigned char>(h >> 8);
  out[16] = 24;
  out[17] = 0x20;
  for (int i = 0; i < w * h; ++i) out.insert(out.end(), {b, g, r});
  return out;
}

std::vector<unsigned char> Zip(const std::vector<unsigned char>& data) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<unsigned char> out(size);
  compress(out.data(), &size, data.data(), static_cast<uLong>(data.size()));
  out.resize(size);
  return out;
}

// An uncompressed 32-bit cube-map DDS with six faces of size x size, one level.
std::vector<unsigned char> CubeDds(int size) {
  std::vector<uint32_t> h(32, 0);
  h[0] = 0x20534444;  // "DDS "
  h[1] = 124;
  h[2] = 0x1007;
  h[3] = size;
  h[4] = size;
  h[5] = size * 4;
  h[19] = 32;          // pixel format size
  h[20] = 0x41;        // RGB with alpha
  h[22] = 32;
  h[23] = 0x00FF0000;
  h[24] = 0x0000FF00;
  h[25] = 0x000000FF;
  h[26] = 0xFF000000;
  h[27] = 0x1008;      // complex texture
  h[28] = 0xFE00;      // cube map, all six faces
  std::vector<unsigned char> out(128);
  memcpy(out.data(), h.data(), 128);
  for (int face = 0; face < 6; ++face)
    for (int i = 0; i < size * size; ++i) out.insert(out.end(), {0x10, uint8_t(face * 40), 0x80, 0xFF});
  return out;
}

UINT Width(IDirect3DTexture9* t) {
  D3DSURFACE_DESC d;
  t->GetLevelDesc(0, &d);
  return d.Width;
}

using qvtest::DeviceReferences;

class TextureTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(device_.Create(64, 64)) << device_.Error();
    d_ = device_.Device();
    baseRefs_ = DeviceReferences(d_);
    folder_ = qvtest::MakeTempDir("texture_table");
  }
  void TearDown() override {
    for (auto* t : loaded_) ReleaseTexture(t);
    EXPECT_EQ(0, table().LiveCount());
    if (d_) {
      EXPECT_EQ(baseRefs_, DeviceReferences(d_));
    }
    qvtest::RemoveTree(folder_);
  }
  TextureTable& table() { return TextureTable::Instance(); }

  IDirect3DTexture9* FromMemory(const void* data, UINT size, HRESULT expect = S_OK) {
    IDirect3DTexture9* t = nullptr;
    EXPECT_EQ(expect, LoadTextureFromMemory(d_, data, size, &t, D3DFMT_UNKNOWN, 0));
    if (t) Keep(t);
    return t;
  }
  IDirect3DTexture9* FromFile(const std::string& name) {
    IDirect3DTexture9* t = nullptr;
    EXPECT_EQ(S_OK, LoadTextureFile(d_, name.c_str(), &t, D3DFMT_UNKNOWN));
    if (t) Keep(t);
    return t;
  }
  void Keep(IDirect3DTexture9* t) {
    for (auto* k : loaded_)
      if (k == t) return;
    loaded_.push_back(t);
  }
  void Forget(IDirect3DTexture9* t) {
    ReleaseTexture(t);
    for (auto& k : loaded_)
      if (k == t) k = nullptr;
  }

  qvtest::D3DTestDevice device_;
  IDirect3DDevice9* d_ = nullptr;
  ULONG baseRefs_ = 0;
  std::string folder_;
  std::vector<IDirect3DTexture9*> loaded_;
};

TEST_F(TextureTableTest, FilesAreSharedByNameAndMissingFilesGetTheFallback) {
  const auto image = Tga(8, 8, 200, 10, 10);
  const std::string name = folder_ + "red.tga";
  ASSERT_TRUE(qvtest::WriteFileBytes(name, image.data(), image.size()));
  const int before = table().Count();
  IDirect3DTexture9* a = FromFile(name);
  IDirect3DTexture9* b = FromFile(name);
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(a, b);
  EXPECT_EQ(before + 1, table().Count());
  EXPECT_EQ(8u, Width(a));

  IDirect3DTexture9* missing = FromFile(folder_ + "nowhere.tga");
  IDirect3DTexture9* missing2 = FromFile(folder_ + "elsewhere.dds");
  ASSERT_NE(nullptr, missing);
  EXPECT_EQ(missing, missing2);
  EXPECT_EQ(64u, Width(missing));
  // Kept under the fallback data's key, not under either file name.
  bool fallbackKey = false;
  for (int i = 0; i < table().Count(); ++i) {
    EXPECT_EQ(std::string::npos, table().Name(i).find("nowhere"));
    if (table().Name(i) == TextureTable::AddressKey(EngineData::kFallbackImage))
      fallbackKey = table().Texture(i) == missing;
  }
  EXPECT_TRUE(fallbackKey);
}

TEST_F(TextureTableTest, MemoryImagesAreSharedByAddressAndInflatedWhenCompressed) {
  const auto plain = Tga(4, 4, 1, 2, 3);
  IDirect3DTexture9* a = FromMemory(plain.data(), static_cast<UINT>(plain.size()));
  IDirect3DTexture9* b = FromMemory(plain.data(), 10);  // same address, other size
  EXPECT_EQ(a, b);

  const auto packed = Zip(Tga(16, 16, 9, 9, 9));
  ASSERT_EQ(0x78, packed[0]);
  ASSERT_EQ(0x9C, packed[1]);
  IDirect3DTexture9* c = FromMemory(packed.data(), static_cast<UINT>(packed.size()));
  ASSERT_NE(nullptr, c);
  EXPECT_EQ(16u, Width(c));

  // Compressed-looking data that does not inflate fails, leaves no entry and
  // fails again the next time.
  std::vector<unsigned char> broken(packed.begin(), packed.begin() + packed.size() / 2);
  const int before = table().Count();
  EXPECT_EQ(nullptr, FromMemory(broken.data(), static_cast<UINT>(broken.size()), D3DXERR_INVALIDDATA));
  EXPECT_EQ(nullptr, FromMemory(broken.data(), static_cast<UINT>(broken.size()), D3DXERR_INVALIDDATA));
  EXPECT_EQ(before, table().Count());
  // An image that D3DX refuses is no entry either.
  const char junk[] = "not an image";
  IDirect3DTexture9* t = nullptr;
  EXPECT_NE(S_OK, LoadTextureFromMemory(d_, junk, sizeof(junk), &t, D3DFMT_UNKNOWN, 0));
  EXPECT_EQ(nullptr, t);
  EXPECT_NE(S_OK, LoadTextureFromMemory(d_, junk, sizeof(junk), &t, D3DFMT_UNKNOWN, 0));
  EXPECT_EQ(before, table().Count());
}

TEST_F(TextureTableTest, ReleasedEntriesAreReused) {
  const auto one = Tga(4, 4, 10, 0, 0), two = Tga(4, 4, 0, 10, 0), three = Tga(4, 4, 0, 0, 10);
  IDirect3DTexture9* a = FromMemory(one.data(), static_cast<UINT>(one.size()));
  FromMemory(two.data(), static_cast<UINT>(two.size()));
  const int count = table().Count();
  int slot = -1;
  for (int i = 0; i < count; ++i)
    if (table().Texture(i) == a) slot = i;
  ASSERT_GE(slot, 0);
  Forget(a);
  EXPECT_EQ(nullptr, table().Texture(slot));
  EXPECT_TRUE(table().Name(slot).empty());

  IDirect3DTexture9* c = FromMemory(three.data(), static_cast<UINT>(three.size()));
  EXPECT_EQ(count, table().Count());
  EXPECT_EQ(c, table().Texture(slot));

  // A texture the table does not hold is left alone.
  IDirect3DTexture9* outsider = nullptr;
  ASSERT_EQ(S_OK, d_->CreateTexture(4, 4, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &outsider, nullptr));
  EXPECT_EQ(0, ReleaseTexture(outsider));
  EXPECT_EQ(0u, outsider->Release());  // still ours to release
}

TEST_F(TextureTableTest, LongNamesNeverOverrun) {
  const auto image = Tga(4, 4, 50, 60, 70);
  const std::string name = folder_ + std::string(150, 'n') + ".tga";
  ASSERT_TRUE(qvtest::WriteFileBytes(name, image.data(), image.size()));
  IDirect3DTexture9* a = FromFile(name);
  ASSERT_NE(nullptr, a);
  EXPECT_EQ(4u, Width(a));
  EXPECT_EQ(a, FromFile(name));
  // A name that differs only after the 100th byte is another texture.
  const std::string other = folder_ + std::string(150, 'n') + "2.tga";
  ASSERT_TRUE(qvtest::WriteFileBytes(other, image.data(), image.size()));
  EXPECT_NE(a, FromFile(other));
}

TEST_F(TextureTableTest, TheThousandAndFirstEntryFails) {
  const auto image = Tga(1, 1, 1, 1, 1);
  std::vector<unsigned char> copies(image.size() * (TextureTable::kCapacity + 1));
  for (int i = 0; i <= TextureTable::kCapacity; ++i) memcpy(&copies[i * image.size()], image.data(), image.size());
  const UINT size = static_cast<UINT>(image.size());
  int i = 0;
  while (table().Count() < TextureTable::kCapacity || table().LiveCount() < table().Count()) {
    ASSERT_NE(nullptr, FromMemory(&copies[i * image.size()], size));
    ++i;
  }
  ASSERT_LE(i, TextureTable::kCapacity);
  EXPECT_EQ(nullptr, FromMemory(&copies[i * image.size()], size, E_OUTOFMEMORY));
  EXPECT_EQ(TextureTable::kCapacity, table().Count());
  // One released entry makes room again.
  Forget(table().Texture(17));
  EXPECT_NE(nullptr, FromMemory(&copies[i * image.size()], size));
}

TEST_F(TextureTableTest, CubeMapsFromCompressedDataAreNotKept) {
  const auto cube = Zip(CubeDds(16));
  const int before = table().Count();
  IDirect3DCubeTexture9* t = nullptr;
  ASSERT_EQ(S_OK, CreateCubeTextureFromMemory(d_, cube.data(), static_cast<UINT>(cube.size()), &t));
  ASSERT_NE(nullptr, t);
  EXPECT_EQ(5u, t->GetLevelCount());
  D3DSURFACE_DESC desc;
  t->GetLevelDesc(0, &desc);
  EXPECT_EQ(16u, desc.Width);
  EXPECT_EQ(before, table().Count());
  t->Release();

  std::vector<unsigned char> broken(cube.begin(), cube.begin() + 40);
  EXPECT_NE(S_OK, CreateCubeTextureFromMemory(d_, broken.data(), static_cast<UINT>(broken.size()), &t));
  EXPECT_EQ(nullptr, t);
}

TEST_F(TextureTableTest, ReleaseResetAndReloadKeepTheTableSmall) {
  const auto a = Zip(Tga(8, 8, 1, 1, 1));
  const auto b = Tga(8, 8, 2, 2, 2);
  const std::string file = folder_ + "c.tga";
  const auto c = Tga(8, 8, 3, 3, 3);
  ASSERT_TRUE(qvtest::WriteFileBytes(file, c.data(), c.size()));
  int count = -1;
  for (int cycle = 0; cycle < 4; ++cycle) {
    IDirect3DTexture9* ta = FromMemory(a.data(), static_cast<UINT>(a.size()));
    IDirect3DTexture9* tb = FromMemory(b.data(), static_cast<UINT>(b.size()));
    IDirect3DTexture9* tc = FromFile(file);
    ASSERT_TRUE(ta && tb && tc);
    if (count < 0) count = table().Count();
    EXPECT_EQ(count, table().Count()) << "cycle " << cycle;
    // What objects do when the device goes: release, then reset.
    Forget(ta);
    Forget(tb);
    Forget(tc);
    EXPECT_EQ(0, table().LiveCount());
    if (cycle % 2 == 0) {
      ASSERT_EQ(S_OK, device_.Reset());
    } else {
      device_.Release();
      ASSERT_TRUE(device_.Create(64, 64));
      d_ = device_.Device();
      baseRefs_ = DeviceReferences(d_);
    }
  }
}

}  // namespace
