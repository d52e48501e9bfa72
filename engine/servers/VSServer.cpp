#include "VSServer.h"

#include <d3dx9.h>

#include <cstring>
#include <vector>

#include "diagnostics/Diagnostics.h"
#include "util/Inflate.h"

#define VS_CHECK(code) FatalCheck("VSServer", __LINE__, __TIME__, (code))

IUnknown* const VSServer::kNoPixelShader = reinterpret_cast<IUnknown*>(static_cast<intptr_t>(-2));
IUnknown* const VSServer::kNoShader = reinterpret_cast<IUnknown*>(static_cast<intptr_t>(-1));

namespace {

// Process-wide work buffers, used within one call at a time.
unsigned char g_shaderText[VSServer::kTextBufferSize];
DWORD g_shaderTokens[VSServer::kTokenBufferSize / sizeof(DWORD)];

bool IsShader(IUnknown* shader) {
  return shader != nullptr && shader != VSServer::kNoShader && shader != VSServer::kNoPixelShader;
}

int LogHandle(const void* p) { return static_cast<int>(reinterpret_cast<intptr_t>(p)); }

}  // namespace

void ReadShaderSizeRecord(const void* record, uint32_t* compressedSize, uint32_t* inflatedSize) {
  const auto* b = static_cast<const unsigned char*>(record);
  auto word = [](const unsigned char* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
  };
  *compressedSize = record ? word(b) : 0;
  *inflatedSize = record ? word(b + 4) : 0;
}

VSServer::~VSServer() { ReleaseAll(); }

HRESULT VSServer::AssembleCompressedShader(const void* code, uint32_t size, DWORD* tokens,
                                           size_t capacity) {
  size_t length = 0;
  if (!InflateBlock(code, size, g_shaderText, sizeof(g_shaderText), &length)) {
    LogPrint("KWEX ASM expansion.\n");
    memset(g_shaderText, 0xCC, sizeof(g_shaderText));
    return 1;
  }
  ID3DXBuffer* assembled = nullptr;
  ID3DXBuffer* errors = nullptr;
  HRESULT hr = D3DXAssembleShader(reinterpret_cast<const char*>(g_shaderText),
                                  static_cast<UINT>(length), nullptr, nullptr, 0, &assembled,
                                  &errors);
  if (FAILED(hr) || assembled == nullptr) {
    if (SUCCEEDED(hr)) hr = E_FAIL;
    const char* text = "";
    std::vector<char> message;
    if (errors != nullptr) {
      const char* raw = static_cast<const char*>(errors->GetBufferPointer());
      message.assign(raw, raw + errors->GetBufferSize());
      message.push_back('\0');
      text = message.data();
    }
    LogPrint("VS ASM Error : %s\n", text);
  } else if (assembled->GetBufferSize() > capacity) {
    LogPrint("KWEX shader tokens too large: %u bytes\n",
             static_cast<unsigned>(assembled->GetBufferSize()));
    hr = E_FAIL;
  } else {
    memcpy(tokens, assembled->GetBufferPointer(), assembled->GetBufferSize());
    hr = 0;
  }
  memset(g_shaderText, 0xCC, sizeof(g_shaderText));
  if (assembled) assembled->Release();
  if (errors) errors->Release();
  return hr;
}

IUnknown* VSServer::GetShader(const ShaderDescriptor* descriptor,
                              IDirect3DVertexDeclaration9** declaration) {
  *declaration = nullptr;
  const uint32_t kind = descriptor->kind;
  const bool pixel = kind == ShaderDescriptor::kPixelTokens || kind == ShaderDescriptor::kPixelText;
  if (pixel && !UsePixelShaders()) return kNoPixelShader;

  for (int i = 0; i < count_; ++i) {
    if (entries_[i].descriptor.code == descriptor->code) {
      *declaration = entries_[i].declaration;
      return entries_[i].shader;
    }
  }

  IUnknown* shader = kNoShader;
  IDirect3DVertexDeclaration9* decl = nullptr;
  uint32_t compressed = 0, inflated = 0;
  ReadShaderSizeRecord(descriptor->sizeRecord, &compressed, &inflated);
  switch (kind) {
    case ShaderDescriptor::kVertexTokens:
    case ShaderDescriptor::kVertexText: {
      const DWORD* tokens = static_cast<const DWORD*>(descriptor->code);
      if (kind == ShaderDescriptor::kVertexText) {
        // A text that does not assemble ends the program here, before any
        // shader is made from an unfilled token buffer.
        VS_CHECK(AssembleCompressedShader(descriptor->code, compressed, g_shaderTokens,
                                          sizeof(g_shaderTokens)));
        tokens = g_shaderTokens;
      }
      IDirect3DVertexShader9* vs = nullptr;
      VS_CHECK(device_->CreateVertexShader(tokens, &vs));
      VS_CHECK(device_->CreateVertexDeclaration(descriptor->elements, &decl));
      shader = vs;
      LogPrint("======= Create Vertex Shader : %d \n", LogHandle(shader));
      break;
    }
    case ShaderDescriptor::kPixelTokens:
    case ShaderDescriptor::kPixelText: {
      IDirect3DPixelShader9* ps = nullptr;
      if (kind == ShaderDescriptor::kPixelTokens) {
        VS_CHECK(device_->CreatePixelShader(static_cast<const DWORD*>(descriptor->code), &ps));
      } else if (AssembleCompressedShader(descriptor->code, compressed, g_shaderTokens,
                                          sizeof(g_shaderTokens)) == 0) {
        if (FAILED(device_->CreatePixelShader(g_shaderTokens, &ps))) ps = nullptr;
      } else {
        // Drawn with the fixed-function stages instead.
        LogPrint("KWEX pixel shader %X not made\n", LogHandle(descriptor->code));
      }
      shader = ps;
      LogPrint("======= Create Pixel Shader : %d \n", LogHandle(shader));
      break;
    }
    default:
      break;
  }

  if (count_ > kCapacity - 1) {
    LogPrint("KWEX!! VS Array Over!\n");
    if (IsShader(shader)) shader->Release();
    if (decl) decl->Release();
    VS_CHECK(1);
    return kNoShader;
  }
  Entry& e = entries_[count_++];
  e.descriptor = *descriptor;
  e.shader = shader;
  e.declaration = decl;
  *declaration = decl;
  return shader;
}

void VSServer::SetShaders(IUnknown* vertexShader, IUnknown* pixelShader,
                          IDirect3DVertexDeclaration9* declaration, int /*unused*/) {
  if (declaration) VS_CHECK(device_->SetVertexDeclaration(declaration));
  IUnknown* vs = IsShader(vertexShader) ? vertexShader : nullptr;
  VS_CHECK(device_->SetVertexShader(static_cast<IDirect3DVertexShader9*>(vs)));
  IUnknown* ps = IsShader(pixelShader) ? pixelShader : nullptr;
  VS_CHECK(device_->SetPixelShader(static_cast<IDirect3DPixelShader9*>(ps)));
  currentVertex_ = vertexShader;
  currentPixel_ = pixelShader;
}

void VSServer::ResetCurrent() {
  currentVertex_ = kNoShader;
  currentPixel_ = kNoShader;
}

void VSServer::ReleaseAll() {
  for (int i = 0; i < count_; ++i) {
    Entry& e = entries_[i];
    if (IsShader(e.shader)) e.shader->Release();
    if (e.declaration) e.declaration->Release();
    e = Entry{};
  }
  count_ = 0;
}

HRESULT VSServer::InvalidateDeviceObjects() {
  ReleaseAll();
  ResetCurrent();
  return 0;
}
