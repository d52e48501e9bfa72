// Static descriptor tables: the five start-up lists word for word, the fog
// colour word, the angle constants and the record-list reader.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"

namespace {

const uint32_t E = 0xFFFFFFFFu;

std::vector<uint32_t> Words(const uint32_t* list) {
  std::vector<uint32_t> out;
  for (int i = 0; i < 100; ++i) {
    out.push_back(list[i]);
    if (i == StateRecordList::EndIndex(list, false)) break;
  }
  return out;
}

// The published words of S2 with the fog colour c; the other lists differ
// from it as described next to each test.
std::vector<uint32_t> S2(uint32_t c) {
  return {14, 1, 27, 0, 19, 5, 20, 6, 28, 0, 34, c, 22, 1, 1, 2, 0, 2, 2,
          2, 2, 0, 2, 2, 1, 1, 1, 1, 2, 1, 1, 1, E};
}

class StaticTablesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    const float start[4] = {0.0f, 0.2f, 0.4f, 1.0f};
    CompleteStaticTables(start);
  }
};

TEST_F(StaticTablesTest, FogColourChannelsRoundAndClamp) {
  const float a[4] = {0.5f, 1.2f, -0.1f, 1.0f};
  EXPECT_EQ(0xFF80FF00u, PackFogColor(a));
  const float b[4] = {0.0f, 0.0f, 0.0f, 0.0f};
  EXPECT_EQ(0u, PackFogColor(b));
  const float c[4] = {1.0f, 0.2f, 0.999f, 0.5f};
  // 0.2 * 255 + 0.5 = 51.5 -> 51; 0.999 * 255 + 0.5 = 255.245 -> 255.
  EXPECT_EQ(0x80FF33FFu, PackFogColor(c));
}

TEST_F(StaticTablesTest, StartUpListsMatchTheirWords) {
  const float fog[4] = {0.5f, 1.2f, -0.1f, 1.0f};
  CompleteStaticTables(fog);
  const uint32_t c = 0xFF80FF00u;

  EXPECT_EQ(S2(c), Words(g_StateListS2));

  std::vector<uint32_t> s1 = S2(c);
  s1[13] = 2;  // CULLMODE CW
  const uint32_t colour[] = {1, 3, 0, 4, 0, 2}, alpha[] = {2, 3, 0, 4, 0, 2};
  s1.erase(s1.begin() + 14, s1.begin() + 24);
  s1.insert(s1.begin() + 14, std::begin(alpha), std::end(alpha));
  s1.insert(s1.begin() + 14, std::begin(colour), std::end(colour));
  EXPECT_EQ(s1, Words(g_StateListS1));

  std::vector<uint32_t> s3 = S2(c);
  const uint32_t head3[] = {14, 0, 27, 0, 19, 5, 20, 6};
  std::copy(std::begin(head3), std::end(head3), s3.begin());
  EXPECT_EQ(s3, Words(g_StateListS3));

  std::vector<uint32_t> s4 = S2(c);
  const uint32_t head4[] = {14, 0, 27, 1, 19, 2, 20, 2};
  std::copy(std::begin(head4), std::end(head4), s4.begin());
  EXPECT_EQ(s4, Words(g_StateListS4));

  const std::vector<uint32_t> s5 = {14, 0, 19, 5, 20, 6, 28, 0, 34, c, 22, 1, 27, 1, 1, 2, 0, 2,
                                    2, 2, 3, 0, 4, 2, 3, 1, 1, 1, 1, 2, 1, 1, 1, E};
  EXPECT_EQ(s5, Words(g_StateListS5));
}

TEST_F(StaticTablesTest, AWhiteFogColourDoesNotEndTheLists) {
  const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  CompleteStaticTables(white);
  EXPECT_EQ(0xFFFFFFFFu, g_StateListS2[11]);
  for (const uint32_t* list :
       {g_StateListS1, g_StateListS2, g_StateListS3, g_StateListS4, g_StateListS5}) {
    std::vector<StateRecordList::Operation> ops;
    ASSERT_TRUE(StateRecordList::Read(list, true, &ops));
    bool fogColour = false, stage1 = false;
    for (const auto& op : ops) {
      if (!op.textureStage && op.type == D3DRS_FOGCOLOR) fogColour = op.value == 0xFFFFFFFFu;
      if (op.textureStage && op.stage == 1 && op.type == D3DTSS_ALPHAOP) stage1 = true;
    }
    EXPECT_TRUE(fogColour);
    EXPECT_TRUE(stage1) << "the list was cut short at the fog colour";
  }
}

TEST_F(StaticTablesTest, AngleConstants) {
  EXPECT_FLOAT_EQ(3.14159265f, g_Pi);
  EXPECT_FLOAT_EQ(2.0f * g_Pi, g_TwoPi);
  EXPECT_FLOAT_EQ(g_Pi * 0.5f, g_HalfPi);
}

TEST_F(StaticTablesTest, DescriptorListsUseTheRightKindsAndDeclarations) {
  EXPECT_EQ(ShaderDescriptor::kVertexText, g_GlareBufferShaders[0].kind);
  EXPECT_EQ(ShaderDescriptor::kPixelText, g_GlareBufferShaders[1].kind);
  EXPECT_EQ(ShaderDescriptor::kVertexText, g_GlareBufferShaders[2].kind);
  EXPECT_EQ(kDeclPosTex, g_GlareBufferShaders[2].elements);
  EXPECT_EQ(ShaderDescriptor::kPixelText, g_GlareBufferShaders[3].kind);
  EXPECT_EQ(nullptr, g_GlareBufferShaders[3].elements);
  EXPECT_EQ(kDeclPosNormalTex, g_RenderingSceneShaders[0].elements);
  // The copy vertex shader is one blob shared by every list that names it.
  EXPECT_EQ(g_GlareBufferShaders[0].code, g_TexturePanelShaders[0].code);
  EXPECT_EQ(g_GlareBufferShaders[0].code, g_TexViewerShaders[0].code);
  EXPECT_EQ(g_GlareBufferShaders[0].code, g_RenderingBufferShaders[0].code);
}

// --- The record-list reader -------------------------------------------------

std::vector<StateRecordList::Operation> Read(std::vector<uint32_t> list, bool pixelShaders) {
  std::vector<StateRecordList::Operation> ops;
  EXPECT_TRUE(StateRecordList::Read(list.data(), pixelShaders, &ops));
  return ops;
}

TEST(StateRecordListTest, AlphaRecordWithTwoArguments) {
  auto ops = Read({2, 3, 0, 4, 2, 0, E}, true);
  ASSERT_EQ(3u, ops.size());
  EXPECT_TRUE(ops[0].textureStage);
  EXPECT_EQ(0u, ops[0].stage);
  EXPECT_EQ(DWORD(D3DTSS_ALPHAOP), ops[0].type);
  EXPECT_EQ(4u, ops[0].value);
  EXPECT_EQ(DWORD(D3DTSS_ALPHAARG1), ops[1].type);
  EXPECT_EQ(2u, ops[1].value);
  EXPECT_EQ(DWORD(D3DTSS_ALPHAARG2), ops[2].type);
  EXPECT_EQ(0u, ops[2].value);
}

TEST(StateRecordListTest, ColourRecordArgumentsByCount) {
  auto four = Read({1, 4, 2, 7, 1, 2, 3, E}, true);
  ASSERT_EQ(4u, four.size());
  EXPECT_EQ(DWORD(D3DTSS_COLORARG0), four[3].type);
  EXPECT_EQ(3u, four[3].value);
  EXPECT_EQ(2u, four[3].stage);
  // Any other count: the operation alone, and reading goes on after it.
  auto odd = Read({1, 9, 0, 5, 7, 1, E}, true);
  ASSERT_EQ(2u, odd.size());
  EXPECT_FALSE(odd[1].textureStage);
  EXPECT_EQ(7u, odd[1].type);
}

TEST(StateRecordListTest, FixedFunctionPartOnlyWithoutPixelShaders) {
  auto withPs = Read({7, 1, 3, 137, 0, E}, true);
  ASSERT_EQ(1u, withPs.size());
  EXPECT_EQ(7u, withPs[0].type);
  EXPECT_EQ(1u, withPs[0].value);
  auto without = Read({7, 1, 3, 137, 0, E}, false);
  ASSERT_EQ(2u, without.size());
  EXPECT_EQ(137u, without[1].type);
}

TEST(StateRecordListTest, MinusOneEndsOnlyAtARecordStart) {
  auto ops = Read({60, E, 1, 2, 0, 2, E, 2, 1, 0, 1, E}, true);
  ASSERT_EQ(4u, ops.size());
  EXPECT_EQ(60u, ops[0].type);
  EXPECT_EQ(E, ops[0].value);
  EXPECT_EQ(E, ops[2].value);  // COLORARG1 = 0xFFFFFFFF
  EXPECT_EQ(DWORD(D3DTSS_ALPHAOP), ops[3].type);
}

TEST(StateRecordListTest, UnendedListIsRefused) {
  std::vector<uint32_t> list(StateRecordList::kMaxWords + 10, 7);
  std::vector<StateRecordList::Operation> ops;
  EXPECT_FALSE(StateRecordList::Read(list.data(), true, &ops));
  EXPECT_EQ(-1, StateRecordList::EndIndex(list.data(), true));
  EXPECT_TRUE(StateRecordList::Read(nullptr, true, &ops));
  EXPECT_TRUE(ops.empty());
}

}  // namespace
