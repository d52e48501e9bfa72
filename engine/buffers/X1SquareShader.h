#pragma once
// A square covering the whole target, for objects that run a shader over a
// render target (the water simulation): four 20-byte vertices (position,
// texture coordinate) drawn as a triangle fan of two triangles.
#include <d3d9.h>

class VBServer;

class X1SquareShader {
 public:
  struct Vertex {
    float x, y, z;
    float u, v;
  };
  static const Vertex kVertices[4];

  X1SquareShader() = default;
  virtual ~X1SquareShader();
  X1SquareShader(const X1SquareShader&) = delete;
  X1SquareShader& operator=(const X1SquareShader&) = delete;

  // Makes and fills the managed vertex buffer; a failure goes through the
  // fatal check and is returned.
  virtual HRESULT CreateBuffer(IDirect3DDevice9* device);
  virtual HRESULT ReleaseBuffer();
  // The square on stream 0 (stride 20) through the buffer server.
  void SetStream(VBServer* server);

  IDirect3DVertexBuffer9* Buffer() const { return buffer_; }

 private:
  IDirect3DVertexBuffer9* buffer_ = nullptr;
};
static_assert(sizeof(X1SquareShader::Vertex) == 20, "square vertex is 20 bytes");
