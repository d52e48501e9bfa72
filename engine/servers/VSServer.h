#pragma once
// Shader server: vertex and pixel shaders (with their vertex declarations)
// made once per static shader descriptor and shared by the address of the
// descriptor's code. Shaders live from the first request after a restore to
// the next invalidation.
#include <d3d9.h>

#include <cstddef>
#include <cstdint>

#include "C3ResourceServer.h"

// One shader of a class's static descriptor list (16 bytes in the program).
struct ShaderDescriptor {
  enum Kind : uint32_t {
    kVertexTokens = 1,    // code: vertex shader token stream
    kVertexText = 2,      // code: zlib-compressed vs_1_1 assembly text
    kPixelTokens = 3,     // code: pixel shader token stream
    kPixelText = 4,       // code: zlib-compressed ps.1.1 assembly text
  };
  uint32_t kind;
  const D3DVERTEXELEMENT9* elements;  // vertex shaders only
  const void* code;
  // Kinds 2 and 4: the blob's size record, two little-endian 32-bit words
  // (compressed length, inflated length) right after the zlib stream.
  const void* sizeRecord;
};

static_assert(sizeof(void*) != 4 || sizeof(ShaderDescriptor) == 16, "shader descriptor is 16 bytes");

// Reads a size record (it need not be aligned).
void ReadShaderSizeRecord(const void* record, uint32_t* compressedSize, uint32_t* inflatedSize);

class VSServer : public C3ResourceServer {
 public:
  enum { kCapacity = 128, kTextBufferSize = 16384, kTokenBufferSize = 32768 };

  // GetShader's answer for a pixel shader while pixel shaders are not used;
  // SetShaders turns it into "no pixel shader".
  static IUnknown* const kNoPixelShader;
  // Stored for a descriptor of an unknown kind.
  static IUnknown* const kNoShader;

  VSServer() = default;
  ~VSServer() override;

  // The shader of a descriptor, made on first request; *declaration gets the
  // vertex declaration of a vertex shader (null otherwise).
  IUnknown* GetShader(const ShaderDescriptor* descriptor, IDirect3DVertexDeclaration9** declaration);
  // Binds a shader pair (and the declaration when given).
  void SetShaders(IUnknown* vertexShader, IUnknown* pixelShader,
                  IDirect3DVertexDeclaration9* declaration, int unused = 0);
  void ResetCurrent();

  HRESULT InvalidateDeviceObjects() override;

  int Count() const { return count_; }
  IUnknown* CurrentVertexShader() const { return currentVertex_; }
  IUnknown* CurrentPixelShader() const { return currentPixel_; }

  // Inflates a compressed shader text and assembles it into tokens
  // (capacity in bytes). Returns 0 with the tokens copied, or a failure
  // code: 1 when the text does not inflate, E_FAIL when the tokens do not
  // fit, else the assembler's result. Nothing is created on the device.
  static HRESULT AssembleCompressedShader(const void* code, uint32_t size, DWORD* tokens,
                                          size_t capacity);

 private:
  struct Entry {
    ShaderDescriptor descriptor;
    IUnknown* shader;
    IDirect3DVertexDeclaration9* declaration;
  };
  void ReleaseAll();

  Entry entries_[kCapacity] = {};
  int count_ = 0;
  IUnknown* currentVertex_ = kNoShader;
  IUnknown* currentPixel_ = kNoShader;
};
