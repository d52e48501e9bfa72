// The record of one frame's draw calls: written and read back whole, and
// damaged or foreign text refused with a message naming the line.
#include <gtest/gtest.h>

#include <string>

#include "diagnostics/DrawRecord.h"

namespace {

DrawRecord SampleRecord() {
  DrawRecord r;
  r.targets.push_back({1024, 768, D3DFMT_X8R8G8B8, D3DFMT_D24S8, true});
  r.targets.push_back({512, 384, D3DFMT_A8R8G8B8, D3DFMT_UNKNOWN, false});
  DrawRecordEvent clear;
  clear.kind = DrawRecordEvent::kClear;
  clear.target = 0;
  clear.clearFlags = D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER;
  r.events.push_back(clear);
  DrawRecordEvent mesh;
  mesh.target = 0;
  mesh.type = D3DPT_TRIANGLESTRIP;
  mesh.primitives = 300;
  mesh.vertices = 180;
  mesh.indexBytes = 2;
  mesh.stride = 32;
  mesh.vertexShader = 0xFFFE0101;
  mesh.pixelShader = 0xFFFF0101;
  mesh.textures = 2;
  mesh.depthTest = true;
  mesh.pixels = 5120;
  r.events.push_back(mesh);
  DrawRecordEvent quad;
  quad.target = 1;
  quad.type = D3DPT_TRIANGLEFAN;
  quad.primitives = 2;
  quad.vertices = 4;
  quad.stride = 20;
  quad.alphaBlend = true;
  r.events.push_back(quad);  // pixels not measured
  return r;
}

TEST(DrawRecordTest, RoundTripKeepsEveryField) {
  const DrawRecord original = SampleRecord();
  const std::string text = FormatDrawRecord(original);
  DrawRecord back;
  std::string error;
  ASSERT_TRUE(ParseDrawRecord(text, &back, &error)) << error << "\n" << text;
  ASSERT_EQ(back.targets.size(), 2u);
  EXPECT_EQ(back.targets[0].width, 1024u);
  EXPECT_EQ(back.targets[0].depthFormat, D3DFMT_D24S8);
  EXPECT_TRUE(back.targets[0].backBuffer);
  EXPECT_EQ(back.targets[1].format, D3DFMT_A8R8G8B8);
  EXPECT_EQ(back.targets[1].depthFormat, D3DFMT_UNKNOWN);
  EXPECT_FALSE(back.targets[1].backBuffer);
  ASSERT_EQ(back.events.size(), 3u);
  EXPECT_EQ(back.events[0].kind, DrawRecordEvent::kClear);
  EXPECT_EQ(back.events[0].clearFlags, static_cast<DWORD>(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER));
  const DrawRecordEvent& mesh = back.events[1];
  EXPECT_EQ(mesh.type, D3DPT_TRIANGLESTRIP);
  EXPECT_EQ(mesh.primitives, 300u);
  EXPECT_EQ(mesh.vertices, 180u);
  EXPECT_EQ(mesh.indexBytes, 2u);
  EXPECT_EQ(mesh.stride, 32u);
  EXPECT_EQ(mesh.vertexShader, 0xFFFE0101u);
  EXPECT_EQ(mesh.pixelShader, 0xFFFF0101u);
  EXPECT_EQ(mesh.textures, 2u);
  EXPECT_TRUE(mesh.depthTest);
  EXPECT_FALSE(mesh.alphaBlend);
  EXPECT_EQ(mesh.pixels, 5120);
  EXPECT_EQ(back.events[2].target, 1);
  EXPECT_TRUE(back.events[2].alphaBlend);
  EXPECT_EQ(back.events[2].pixels, -1);
  EXPECT_EQ(back.DrawCount(), 2u);
  EXPECT_EQ(back.PrimitiveCount(), 302u);
  // Written again, the text is the same: nothing is lost or added.
  EXPECT_EQ(FormatDrawRecord(back), text);
}

TEST(DrawRecordTest, CarriageReturnsAndBlankLinesAreRead) {
  std::string text = FormatDrawRecord(SampleRecord());
  std::string crlf;
  for (char c : text) crlf += c == '\n' ? std::string("\r\n\r\n") : std::string(1, c);
  DrawRecord back;
  std::string error;
  EXPECT_TRUE(ParseDrawRecord(crlf, &back, &error)) << error;
  EXPECT_EQ(back.events.size(), 3u);
}

struct Damage {
  const char* what;
  std::string (*apply)(std::string);
  const char* message;  // part of the error text
};

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(DrawRecordTest, DamagedTextIsRefusedWithTheLine) {
  const Damage cases[] = {
      {"empty", [](std::string) { return std::string(); }, "empty"},
      {"foreign file", [](std::string) { return std::string("[Display]\nDebugLogLevel=2\n"); }, "line 1"},
      {"cut short", [](std::string t) { return t.substr(0, t.find("draw 1")); }, "cut short"},
      {"cut inside a line", [](std::string t) { return t.substr(0, t.find("end") + 5); }, "bad end line"},
      {"totals differ", [](std::string t) { return Replace(t, "end 2 302", "end 2 303"); }, "totals"},
      {"unknown target", [](std::string t) { return Replace(t, "draw 1 6", "draw 7 6"); }, "unknown target 7"},
      {"negative target", [](std::string t) { return Replace(t, "clear 0", "clear -1"); }, "unknown target"},
      {"primitive type", [](std::string t) { return Replace(t, "draw 1 6", "draw 1 9"); }, "primitive type"},
      {"huge vertex count", [](std::string t) { return Replace(t, " 300 180 ", " 300 99999999 "); }, "vertex count"},
      {"index size", [](std::string t) { return Replace(t, " 180 2 32 ", " 180 3 32 "); }, "index size"},
      {"letters for a number", [](std::string t) { return Replace(t, " 300 180 ", " 300 many "); }, "bad draw line"},
      {"extra field", [](std::string t) { return Replace(t, "clear 0 3", "clear 0 3 9"); }, "bad clear line"},
      {"zero target size", [](std::string t) { return Replace(t, "target 512 384", "target 0 384"); }, "size"},
      {"target after draws", [](std::string t) { return Replace(t, "end", "target 4 4 22 0 0\nend"); }, "target after"},
      {"unknown item", [](std::string t) { return Replace(t, "end", "flush\nend"); }, "unknown item"},
      {"text after the end", [](std::string t) { return t + "draw 0 4 1 3 0 12 0 0 0 0 0 -1\n"; }, "after the end"},
  };
  const std::string good = FormatDrawRecord(SampleRecord());
  for (const Damage& c : cases) {
    const std::string text = c.apply(good);
    ASSERT_NE(text, good) << c.what;
    DrawRecord out;
    out.targets.resize(3);  // left over from an earlier read
    std::string error;
    EXPECT_FALSE(ParseDrawRecord(text, &out, &error)) << c.what;
    EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
    EXPECT_TRUE(out.targets.empty() && out.events.empty()) << c.what;
  }
}

}  // namespace
