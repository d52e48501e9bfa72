// The per-frame vertex buffer shared by the halation, the soft fog, the light
// shafts and the flare: made on restore, let go on release, never leaked by a
// second restore, and an upload never writes past the buffer or the copy.
#include <gtest/gtest.h>

#include <vector>

#include "D3DTestDevice.h"
#include "buffers/DynamicVertexBuffer.h"

namespace {

using qvtest::DeviceReferences;

TEST(DynamicVertexBufferTest, RestoreReleaseAndUploadWithinBounds) {
  qvtest::D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(32, 32)) << dev.Error();
  IDirect3DDevice9* d = dev.Device();
  const ULONG base = DeviceReferences(d);
  {
    DynamicVertexBuffer quads("DynamicVertexBufferTest");
    EXPECT_EQ(quads.Upload(64), 0);  // nothing made yet: nothing to do
    ASSERT_EQ(quads.Restore(d, 96, 24), 0);
    ASSERT_EQ(quads.Restore(d, 96, 24), 0);  // again: the first buffer is let go
    EXPECT_EQ(DeviceReferences(d), base + 1);
    ASSERT_NE(quads.Buffer(), nullptr);
    ASSERT_EQ(quads.Floats(), 24u);
    for (size_t i = 0; i < quads.Floats(); ++i) EXPECT_EQ(quads.Vertices()[i], 0.0f);

    // More than the copy holds, more than the buffer holds.
    EXPECT_EQ(quads.Upload(4096), 0);
    const std::vector<float> big(1024, 1.0f);
    EXPECT_EQ(quads.Upload(big.size() * sizeof(float), big.data()), 0);

    quads.Release();
    EXPECT_EQ(quads.Buffer(), nullptr);
    EXPECT_EQ(quads.Floats(), 0u);
    EXPECT_EQ(DeviceReferences(d), base);
    ASSERT_EQ(quads.Restore(d, 96, 24), 0);
  }  // the destructor lets the last one go
  EXPECT_EQ(DeviceReferences(d), base);
}

}  // namespace
