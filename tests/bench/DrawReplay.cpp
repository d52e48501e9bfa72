#include "DrawReplay.h"

#include <d3dx9.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "util/ComRelease.h"

namespace {

constexpr UINT kPositionBytes = 12;
constexpr UINT kTexcoordBytes = 8;
constexpr UINT kMaxCoordSets = 4;  // texture coordinate sets the trivial vertex shaders pass on

UINT ReplayStride(UINT recorded) { return std::max(recorded, kPositionBytes); }
bool HasTexcoord(UINT stride) { return stride >= kPositionBytes + kTexcoordBytes; }

// The rectangle (w x h pixels at most) whose area is `area`, as near square as it fits.
void RectangleOf(double area, UINT w, UINT h, double* rw, double* rh) {
  *rw = *rh = 0.0;
  if (area <= 0.0) return;
  const double side = std::sqrt(area);
  if (side <= std::min(w, h)) {
    *rw = *rh = side;
  } else if (w >= h) {
    *rw = std::min<double>(w, area / h);
    *rh = std::min<double>(h, area / *rw);
  } else {
    *rh = std::min<double>(h, area / w);
    *rw = std::min<double>(w, area / *rh);
  }
}

// Vertex k of a zigzag over `columns` columns: bottom and top edge in turn.
void Zigzag(UINT k, UINT columns, double rw, double rh, double* x, double* y) {
  *x = rw * (k / 2) / std::max(columns, 1u);
  *y = (k % 2) ? rh : 0.0;
}

std::string VersionName(const char* kind, DWORD version) {
  const unsigned major = (version >> 8) & 0xFF, minor = version & 0xFF;
  if (major == 1) return std::string(kind) + "_1_" + std::to_string(std::string(kind) == "vs" ? 1 : minor);
  if (major == 2 || major == 3) return std::string(kind) + "_" + std::to_string(major) + "_0";
  return "";
}

// A vertex shader that passes the position (already in clip space) and, when
// the vertices carry one, the texture coordinate on to every set.
std::string VertexShaderText(DWORD version, bool texcoord) {
  const std::string name = VersionName("vs", version);
  if (name.empty()) return "";
  const bool three = name == "vs_3_0";
  std::string text = name + "\ndcl_position v0\n";
  if (texcoord) text += "dcl_texcoord v1\n";
  if (three) {
    text += "dcl_position o0\n";
    for (UINT k = 0; texcoord && k < kMaxCoordSets; ++k)
      text += "dcl_texcoord" + std::to_string(k) + " o" + std::to_string(k + 1) + "\n";
    text += "mov o0, v0\n";
    for (UINT k = 0; texcoord && k < kMaxCoordSets; ++k) text += "mov o" + std::to_string(k + 1) + ", v1\n";
  } else {
    text += "mov oPos, v0\n";
    for (UINT k = 0; texcoord && k < kMaxCoordSets; ++k) text += "mov oT" + std::to_string(k) + ", v1\n";
  }
  return text;
}

// A pixel shader that multiplies its textures together, or gives a fixed
// colour without any.
std::string PixelShaderText(DWORD version, UINT textures) {
  const std::string name = VersionName("ps", version);
  if (name.empty()) return "";
  std::string text = name + "\n";
  const bool one = name.compare(0, 4, "ps_1") == 0;
  const std::string out = one ? "r0" : "oC0";
  if (textures == 0) return text + "def c0, 0.5, 0.5, 0.5, 0.5\nmov " + out + ", c0\n";
  auto n = [](UINT k) { return std::to_string(k); };
  if (name == "ps_1_4") {
    for (UINT k = 0; k < textures; ++k) text += "texld r" + n(k) + ", t" + n(k) + "\n";
    for (UINT k = 1; k < textures; ++k) text += "mul r0, r0, r" + n(k) + "\n";
    return text;
  }
  if (one) {
    for (UINT k = 0; k < textures; ++k) text += "tex t" + n(k) + "\n";
    text += "mov r0, t0\n";
    for (UINT k = 1; k < textures; ++k) text += "mul r0, r0, t" + n(k) + "\n";
    return text;
  }
  const bool three = name == "ps_3_0";
  for (UINT k = 0; k < textures; ++k) {
    text += three ? "dcl_texcoord" + n(k) + " v" + n(k) + ".xy\n" : "dcl t" + n(k) + ".xy\n";
    text += "dcl_2d s" + n(k) + "\n";
  }
  for (UINT k = 0; k < textures; ++k)
    text += "texld r" + n(k) + ", " + (three ? "v" : "t") + n(k) + ", s" + n(k) + "\n";
  for (UINT k = 1; k < textures; ++k) text += "mul r0, r0, r" + n(k) + "\n";
  return text + "mov oC0, r0\n";
}

// Textures a trivial pixel shader of this version samples at most (its
// coordinate sets, or the version's own limit).
UINT ShaderTextures(DWORD version, UINT textures) {
  const unsigned major = (version >> 8) & 0xFF, minor = version & 0xFF;
  UINT limit = major == 1 ? (minor >= 4 ? 6 : 4) : 8;
  return std::min({textures, limit, kMaxCoordSets});
}

ID3DXBuffer* Assemble(const std::string& text, std::string* error) {
  ID3DXBuffer* code = nullptr;
  ID3DXBuffer* errors = nullptr;
  const HRESULT hr = D3DXAssembleShader(text.c_str(), static_cast<UINT>(text.size()), nullptr, nullptr, 0, &code,
                                        &errors);
  if (FAILED(hr)) {
    *error = "cannot assemble:\n" + text;
    if (errors) *error += static_cast<const char*>(errors->GetBufferPointer());
  }
  SafeRelease(errors);
  return SUCCEEDED(hr) ? code : nullptr;
}

}  // namespace

ReplayGeometry LayoutReplayDraw(const DrawRecordEvent& d, UINT w, UINT h, size_t slot) {
  ReplayGeometry g;
  const bool indexed = d.indexBytes != 0;
  const UINT count = VerticesForPrimitives(d.type, d.primitives);  // vertices, or indices when indexed
  const UINT vertices = indexed ? std::max(d.vertices, 1u) : count;
  const bool triangles = d.type >= D3DPT_TRIANGLELIST;
  // Indices that name fewer vertices than the call has triangles draw some
  // of them more than once.
  const double unique = indexed && triangles ? std::max(1.0, std::min<double>(d.primitives, vertices - 2.0))
                                             : std::max<double>(d.primitives, 1.0);
  const double overdraw = std::max(1.0, d.primitives / unique);
  double area = d.pixels >= 0 ? static_cast<double>(d.pixels) : std::min<double>(double(w) * h, d.primitives * 16.0);
  area /= overdraw;
  const bool fan = d.type == D3DPT_TRIANGLEFAN;
  if (fan) area *= 2.0;  // a fan over the rectangle covers half of it
  double rw = 0.0, rh = 0.0;
  RectangleOf(area, w, h, &rw, &rh);

  std::vector<double> px(2 * static_cast<size_t>(vertices));
  if (fan) {
    for (UINT k = 0; k < vertices; ++k) {
      px[2 * k] = k == 0 ? 0.0 : rw;
      px[2 * k + 1] = k == 0 ? rh / 2 : (vertices > 2 ? rh * (k - 1) / (vertices - 2) : 0.0);
    }
  } else if (!indexed && d.type == D3DPT_TRIANGLELIST) {
    // Two triangles a column.
    const UINT columns = (d.primitives + 1) / 2;
    for (UINT t = 0; t < d.primitives; ++t) {
      const double l = rw * (t / 2) / columns, r = rw * (t / 2 + 1) / columns;
      const double corners[2][6] = {{l, 0, l, rh, r, 0}, {l, rh, r, rh, r, 0}};
      std::copy(corners[t % 2], corners[t % 2] + 6, px.begin() + 6 * t);
    }
  } else {
    const UINT columns = vertices >= 4 ? (vertices + 1) / 2 - 1 : 1;
    for (UINT k = 0; k < vertices; ++k) Zigzag(k, columns, rw, rh, &px[2 * k], &px[2 * k + 1]);
  }
  // Low-discrepancy corners: successive draws land far apart.
  const double fx = std::fmod(slot * 0.6180339887, 1.0), fy = std::fmod(slot * 0.7548776662, 1.0);
  const double x0 = fx * std::max(0.0, w - rw), y0 = fy * std::max(0.0, h - rh);
  g.xy.resize(px.size());
  for (size_t k = 0; k < px.size(); k += 2) {
    g.xy[k] = static_cast<float>(-1.0 + 2.0 * (x0 + px[k]) / w);
    g.xy[k + 1] = static_cast<float>(1.0 - 2.0 * (y0 + px[k + 1]) / h);
  }
  if (!indexed) return g;

  g.indices.resize(count);
  const UINT span = vertices >= 3 ? vertices - 2 : 1;
  for (UINT k = 0; k < count; ++k) {
    UINT v = 0;
    switch (d.type) {
      case D3DPT_TRIANGLELIST:
        v = (k / 3) % span + k % 3;
        break;
      case D3DPT_TRIANGLESTRIP: {
        // Back and forth along the zigzag: no triangle spans the rectangle.
        const UINT period = vertices > 1 ? 2 * (vertices - 1) : 1;
        const UINT at = k % period;
        v = at < vertices ? at : period - at;
        break;
      }
      case D3DPT_TRIANGLEFAN:
        v = k == 0 || vertices < 2 ? 0 : 1 + (k - 1) % (vertices - 1);
        break;
      default:
        v = k % vertices;
        break;
    }
    g.indices[k] = std::min(v, vertices - 1);
  }
  return g;
}

DrawReplay::DrawReplay(IDirect3DDevice9* device, const DrawRecord& record, bool fill)
    : device_(device), record_(record), fill_(fill) {}

DrawReplay::~DrawReplay() {
  for (Target& t : targets_) {
    SafeRelease(t.colour);
    SafeRelease(t.depth);
    SafeRelease(t.texture);
  }
  for (auto& [k, b] : vertexBuffers_) SafeRelease(b);
  for (auto& [k, b] : indexBuffers_) SafeRelease(b);
  for (auto& [k, d] : declarations_) SafeRelease(d);
  for (auto& [k, s] : vertexShaders_) SafeRelease(s);
  for (auto& [k, s] : pixelShaders_) SafeRelease(s);
  SafeRelease(texture_);
}

bool DrawReplay::Prepare(std::string* error) {
  if (!MakeTargets(error) || !MakeBuffers(error) || !MakeShaders(error)) return false;
  if (FAILED(device_->CreateTexture(256, 256, 1, 0, D3DFMT_A8R8G8B8, D3DPOOL_MANAGED, &texture_, nullptr))) {
    *error = "cannot make the dummy texture";
    return false;
  }
  D3DLOCKED_RECT lock;
  if (SUCCEEDED(texture_->LockRect(0, &lock, nullptr, 0))) {
    for (int y = 0; y < 256; ++y)
      for (int x = 0; x < 256; ++x)
        reinterpret_cast<DWORD*>(static_cast<BYTE*>(lock.pBits) + y * lock.Pitch)[x] =
            0x80000000u | ((x * 7) & 0xFF) << 16 | ((y * 5) & 0xFF) << 8 | ((x ^ y) & 0xFF);
    texture_->UnlockRect(0);
  }
  D3DMATRIX identity{};
  identity._11 = identity._22 = identity._33 = identity._44 = 1.0f;
  device_->SetTransform(D3DTS_WORLD, &identity);
  device_->SetTransform(D3DTS_VIEW, &identity);
  device_->SetTransform(D3DTS_PROJECTION, &identity);
  device_->SetRenderState(D3DRS_LIGHTING, FALSE);
  device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
  device_->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
  device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
  for (DWORD s = 0; s < 8; ++s) {
    device_->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    device_->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device_->SetTextureStageState(s, D3DTSS_TEXCOORDINDEX, 0);
  }
  return true;
}

bool DrawReplay::MakeTargets(std::string* error) {
  for (const DrawRecordTarget& r : record_.targets) {
    Target t;
    if (r.backBuffer) {
      device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &t.colour);
      if (r.depthFormat != D3DFMT_UNKNOWN) device_->GetDepthStencilSurface(&t.depth);
    } else {
      for (D3DFORMAT f : {r.format, D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8})
        if (SUCCEEDED(device_->CreateTexture(r.width, r.height, 1, D3DUSAGE_RENDERTARGET, f, D3DPOOL_DEFAULT,
                                             &t.texture, nullptr)))
          break;
      if (t.texture) t.texture->GetSurfaceLevel(0, &t.colour);
      if (r.depthFormat != D3DFMT_UNKNOWN)
        for (D3DFORMAT f : {r.depthFormat, D3DFMT_D24S8, D3DFMT_D16})
          if (SUCCEEDED(device_->CreateDepthStencilSurface(r.width, r.height, f, D3DMULTISAMPLE_NONE, 0, TRUE,
                                                           &t.depth, nullptr)))
            break;
    }
    const bool ok = t.colour && (r.depthFormat == D3DFMT_UNKNOWN || t.depth);
    targets_.push_back(t);
    if (!ok) {
      *error = "cannot make a render target of " + std::to_string(r.width) + "x" + std::to_string(r.height);
      return false;
    }
  }
  return true;
}

bool DrawReplay::MakeBuffers(std::string* error) {
  // Sizes first: one vertex buffer a stride and one index buffer an index size.
  std::map<UINT, UINT> vertexTotals, indexTotals;
  placed_.resize(record_.events.size());
  for (size_t i = 0; i < record_.events.size(); ++i) {
    const DrawRecordEvent& e = record_.events[i];
    if (e.kind != DrawRecordEvent::kDraw) continue;
    const UINT stride = ReplayStride(e.stride);
    placed_[i].stride = stride;
    placed_[i].firstVertex = vertexTotals[stride];
    vertexTotals[stride] += e.indexBytes ? e.vertices : VerticesForPrimitives(e.type, e.primitives);
    if (e.indexBytes) {
      placed_[i].firstIndex = indexTotals[e.indexBytes];
      indexTotals[e.indexBytes] += VerticesForPrimitives(e.type, e.primitives);
    }
  }
  for (const auto& [stride, total] : vertexTotals)
    if (FAILED(device_->CreateVertexBuffer(stride * total, D3DUSAGE_WRITEONLY, 0, D3DPOOL_MANAGED,
                                           &vertexBuffers_[stride], nullptr))) {
      *error = "cannot make a vertex buffer of " + std::to_string(total) + " vertices";
      return false;
    }
  for (const auto& [bytes, total] : indexTotals)
    if (FAILED(device_->CreateIndexBuffer(bytes * total, D3DUSAGE_WRITEONLY,
                                          bytes == 4 ? D3DFMT_INDEX32 : D3DFMT_INDEX16, D3DPOOL_MANAGED,
                                          &indexBuffers_[bytes], nullptr))) {
      *error = "cannot make an index buffer of " + std::to_string(total) + " indices";
      return false;
    }
  std::map<UINT, BYTE*> vertexData, indexData;
  for (auto& [stride, buffer] : vertexBuffers_) {
    void* p = nullptr;
    buffer->Lock(0, 0, &p, 0);
    vertexData[stride] = static_cast<BYTE*>(p);
    std::memset(p, 0, static_cast<size_t>(stride) * vertexTotals[stride]);
  }
  for (auto& [bytes, buffer] : indexBuffers_) {
    void* p = nullptr;
    buffer->Lock(0, 0, &p, 0);
    indexData[bytes] = static_cast<BYTE*>(p);
  }
  for (size_t i = 0; i < record_.events.size(); ++i) {
    const DrawRecordEvent& e = record_.events[i];
    if (e.kind != DrawRecordEvent::kDraw || !vertexData[placed_[i].stride]) continue;
    const DrawRecordTarget& t = record_.targets[e.target];
    DrawRecordEvent laid = e;
    if (!fill_) laid.pixels = 0;
    const ReplayGeometry g = LayoutReplayDraw(laid, t.width, t.height, i);
    Placed& p = placed_[i];
    p.vertices = vertexBuffers_[p.stride];
    BYTE* base = vertexData[p.stride] + static_cast<size_t>(p.firstVertex) * p.stride;
    for (size_t k = 0; k < g.xy.size() / 2; ++k) {
      float* v = reinterpret_cast<float*>(base + k * p.stride);
      v[0] = g.xy[2 * k];
      v[1] = g.xy[2 * k + 1];
      v[2] = 0.5f;
      if (HasTexcoord(p.stride)) {
        float* uv = reinterpret_cast<float*>(base + k * p.stride + p.stride - kTexcoordBytes);
        uv[0] = (g.xy[2 * k] + 1.0f) * t.width / 512.0f;
        uv[1] = (1.0f - g.xy[2 * k + 1]) * t.height / 512.0f;
      }
    }
    if (!e.indexBytes || !indexData[e.indexBytes]) continue;
    p.indices = indexBuffers_[e.indexBytes];
    BYTE* at = indexData[e.indexBytes] + static_cast<size_t>(p.firstIndex) * e.indexBytes;
    for (size_t k = 0; k < g.indices.size(); ++k) {
      if (e.indexBytes == 4)
        reinterpret_cast<uint32_t*>(at)[k] = g.indices[k];
      else
        reinterpret_cast<uint16_t*>(at)[k] = static_cast<uint16_t>(g.indices[k]);
    }
  }
  for (auto& [stride, buffer] : vertexBuffers_) buffer->Unlock();
  for (auto& [bytes, buffer] : indexBuffers_) buffer->Unlock();
  return true;
}

IDirect3DVertexDeclaration9* DrawReplay::Declaration(UINT stride) {
  IDirect3DVertexDeclaration9*& d = declarations_[stride];
  if (d) return d;
  std::vector<D3DVERTEXELEMENT9> elements = {{0, 0, D3DDECLTYPE_FLOAT3, D3DDECLMETHOD_DEFAULT, D3DDECLUSAGE_POSITION, 0}};
  if (HasTexcoord(stride))
    elements.push_back({0, static_cast<WORD>(stride - kTexcoordBytes), D3DDECLTYPE_FLOAT2, D3DDECLMETHOD_DEFAULT,
                        D3DDECLUSAGE_TEXCOORD, 0});
  elements.push_back(D3DDECL_END());
  device_->CreateVertexDeclaration(elements.data(), &d);
  return d;
}

bool DrawReplay::MakeShaders(std::string* error) {
  for (size_t i = 0; i < record_.events.size(); ++i) {
    const DrawRecordEvent& e = record_.events[i];
    if (e.kind != DrawRecordEvent::kDraw) continue;
    Placed& p = placed_[i];
    p.declaration = Declaration(p.stride);
    if (!p.declaration) {
      *error = "cannot make a vertex declaration";
      return false;
    }
    if (e.vertexShader) {
      IDirect3DVertexShader9*& s = vertexShaders_[{e.vertexShader, HasTexcoord(p.stride)}];
      if (!s) {
        const std::string text = VertexShaderText(e.vertexShader, HasTexcoord(p.stride));
        ID3DXBuffer* code = text.empty() ? nullptr : Assemble(text, error);
        if (code) device_->CreateVertexShader(static_cast<const DWORD*>(code->GetBufferPointer()), &s);
        SafeRelease(code);
        if (!s) {
          if (error->empty()) *error = "no vertex shader of version " + std::to_string(e.vertexShader & 0xFFFF);
          return false;
        }
      }
      p.vertexShader = s;
    }
    if (e.pixelShader) {
      const UINT textures = ShaderTextures(e.pixelShader, e.textures);
      IDirect3DPixelShader9*& s = pixelShaders_[{e.pixelShader, textures}];
      if (!s) {
        const std::string text = PixelShaderText(e.pixelShader, textures);
        ID3DXBuffer* code = text.empty() ? nullptr : Assemble(text, error);
        if (code) device_->CreatePixelShader(static_cast<const DWORD*>(code->GetBufferPointer()), &s);
        SafeRelease(code);
        if (!s) {
          if (error->empty()) *error = "no pixel shader of version " + std::to_string(e.pixelShader & 0xFFFF);
          return false;
        }
      }
      p.pixelShader = s;
    }
  }
  return true;
}

void DrawReplay::SetFixedStages(UINT textures) {
  for (DWORD s = 0; s <= textures && s < 8; ++s) {
    if (s == textures) {
      device_->SetTextureStageState(s, D3DTSS_COLOROP, D3DTOP_DISABLE);
      device_->SetTextureStageState(s, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
      break;
    }
    device_->SetTextureStageState(s, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device_->SetTextureStageState(s, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(s, D3DTSS_COLORARG2, s == 0 ? D3DTA_DIFFUSE : D3DTA_CURRENT);
    device_->SetTextureStageState(s, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device_->SetTextureStageState(s, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device_->SetTextureStageState(s, D3DTSS_ALPHAARG2, s == 0 ? D3DTA_DIFFUSE : D3DTA_CURRENT);
  }
}

HRESULT DrawReplay::Frame() {
  HRESULT first = S_OK;
  auto note = [&first](HRESULT hr) {
    if (FAILED(hr) && SUCCEEDED(first)) first = hr;
  };
  note(device_->BeginScene());
  int current = -1;
  UINT texturesBound = 0;
  for (size_t i = 0; i < record_.events.size(); ++i) {
    const DrawRecordEvent& e = record_.events[i];
    const Target& t = targets_[e.target];
    if (e.target != current) {
      note(device_->SetRenderTarget(0, t.colour));
      note(device_->SetDepthStencilSurface(t.depth));
      current = e.target;
    }
    if (e.kind == DrawRecordEvent::kClear) {
      const DWORD flags = t.depth ? e.clearFlags : e.clearFlags & D3DCLEAR_TARGET;
      if (flags) note(device_->Clear(0, nullptr, flags, 0xFF204060, 1.0f, 0));
      continue;
    }
    const Placed& p = placed_[i];
    device_->SetRenderState(D3DRS_ZENABLE, e.depthTest && t.depth ? D3DZB_TRUE : D3DZB_FALSE);
    device_->SetRenderState(D3DRS_ZWRITEENABLE, e.depthTest && t.depth);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, e.alphaBlend);
    device_->SetVertexDeclaration(p.declaration);
    device_->SetVertexShader(p.vertexShader);
    device_->SetPixelShader(p.pixelShader);
    const UINT textures = std::min(e.textures, 8u);
    for (UINT s = 0; s < std::max(textures, texturesBound); ++s) device_->SetTexture(s, s < textures ? texture_ : nullptr);
    texturesBound = textures;
    if (!p.pixelShader) SetFixedStages(textures);
    device_->SetStreamSource(0, p.vertices, 0, p.stride);
    if (p.indices) {
      device_->SetIndices(p.indices);
      note(device_->DrawIndexedPrimitive(e.type, static_cast<INT>(p.firstVertex), 0, e.vertices, p.firstIndex,
                                         e.primitives));
    } else {
      note(device_->DrawPrimitive(e.type, p.firstVertex, e.primitives));
    }
  }
  note(device_->EndScene());
  note(device_->Present(nullptr, nullptr, nullptr, nullptr));
  return first;
}
