// Runs one server misuse that must end the program through the fatal road:
//   shaders   the 129th distinct shader
//   badvs     a vertex shader text that does not assemble
//   nullvb    binding a null vertex buffer
// Returns 0 when the program was not ended.
#include <zlib.h>

#include <cstring>
#include <string>
#include <vector>

#include "D3DTestDevice.h"
#include "EngineData.h"
#include "servers/StaticTables.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"

int main(int argc, char** argv) {
  const std::string what = argc > 1 ? argv[1] : "";
  qvtest::D3DTestDevice device;
  if (!device.Create(32, 32)) return 3;
  IDirect3DDevice9* d = device.Device();

  if (what == "shaders") {
    VSServer vs;
    vs.InitDeviceObjects(d);
    // 129 copies of one blob (stream and size record) at distinct addresses.
    uint32_t compressed = 0, inflated = 0;
    ReadShaderSizeRecord(g_TexturePanelShaders[0].sizeRecord, &compressed, &inflated);
    const size_t blob = compressed + 8;
    std::vector<unsigned char> copies(blob * (VSServer::kCapacity + 1));
    std::vector<ShaderDescriptor> descriptors;
    for (int i = 0; i <= VSServer::kCapacity; ++i) {
      memcpy(&copies[i * blob], g_TexturePanelShaders[0].code, blob);
      descriptors.push_back(ShaderDescriptor{ShaderDescriptor::kVertexText, kDeclPosTex,
                                             &copies[i * blob], &copies[i * blob + compressed]});
    }
    IDirect3DVertexDeclaration9* decl = nullptr;
    for (auto& desc : descriptors) vs.GetShader(&desc, &decl);
    return 0;
  }
  if (what == "badvs") {
    const char text[] = "vs_1_1\nthis is no instruction\n";
    std::vector<unsigned char> blob(256);
    uLongf size = static_cast<uLongf>(blob.size() - 8);
    compress(blob.data(), &size, reinterpret_cast<const Bytef*>(text), sizeof(text) - 1);
    const uint32_t record[2] = {static_cast<uint32_t>(size), sizeof(text) - 1};
    memcpy(&blob[size], record, 8);
    ShaderDescriptor desc{ShaderDescriptor::kVertexText, kDeclPosTex, blob.data(), &blob[size]};
    VSServer vs;
    vs.InitDeviceObjects(d);
    IDirect3DVertexDeclaration9* decl = nullptr;
    vs.GetShader(&desc, &decl);
    return 0;
  }
  if (what == "nullvb") {
    VBServer vb;
    vb.InitDeviceObjects(d);
    vb.SetVB(0, nullptr, 32, true);
    return 0;
  }
  return 2;
}
