#include "GlareDraw.h"
#include "diagnostics/C3DrawCounter.h"

#include "GlarePasses.h"
#include "diagnostics/Diagnostics.h"
#include "servers/SBServer.h"
#include "servers/ShaderConstantCopy.h"
#include "servers/VBServer.h"
#include "servers/VSServer.h"

namespace {

const char kSource[] = "X1GlareBuffer";

void BindTarget(IDirect3DDevice9* d, IDirect3DSurface9* target) {
  FatalCheck(kSource, __LINE__, __TIME__, d->SetRenderTarget(0, target));
  FatalCheck(kSource, __LINE__, __TIME__, d->SetDepthStencilSurface(nullptr));
  FatalCheck(kSource, __LINE__, __TIME__, C3DrawCounter::Clear(d, D3DCLEAR_TARGET, 0, 1.0f, 0));
}

void ClampLinear(IDirect3DDevice9* d, DWORD stages) {
  for (DWORD s = 0; s < stages; ++s) {
    d->SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    d->SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    d->SetSamplerState(s, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    d->SetSamplerState(s, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
  }
}

void BindFourTap(const GlareDrawContext& c, RenderTargets& t) {
  c.shaders->SetShaders(c.fourTapVs, c.fourTapPs, c.fourTapDecl);
  c.buffers->SetVB(0, t.Quad(), 20, true);
}

void SetStageWeights(IDirect3DDevice9* d, const float weight[4]) {
  for (int j = 0; j < 4; ++j) {
    const float w[4] = {weight[j], weight[j], weight[j], weight[j]};
    SetPixelConstants(d, kGlareWeightRegister[j], w, 1);
  }
}

void DrawQuad(IDirect3DDevice9* d) { C3DrawCounter::Draw(d, D3DPT_TRIANGLESTRIP, 0, 2); }

void BlurPass(const GlareDrawContext& c, const X1GlareKernel& kernel, float intensity,
              bool horizontal, float step) {
  IDirect3DDevice9* d = c.device;
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  for (int g = 0; g < GlareBlurDraws(kernel); ++g) {
    // Later groups add to the first.
    if (g == 1) d->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    const GlareTapDraw draw = GlareBlurDraw(kernel, g, intensity, horizontal, step);
    SetStageWeights(d, draw.weight);
    SetVertexConstants(d, 0, &draw.vertex[0][0], 4);
    DrawQuad(d);
  }
}

}  // namespace

void RunGlarePasses(const GlareDrawContext& c, RenderTargets& t, int selector,
                    const X1GlareKernel& kernel, float intensity, float dt) {
  IDirect3DDevice9* d = c.device;
  if (!d || t.Count() < 4 || !c.shaders || !c.states || !c.buffers) return;
  selector = selector ? 1 : 0;
  const int smoothed = GlareSmoothedTarget(selector), output = GlareOutputTarget(selector);

  // 1. Smoothing: S = a x sources + b x previous S.
  c.states->SetSB(c.block);
  BindTarget(d, t.Surface(smoothed));
  ClampLinear(d, 2);
  d->SetRenderState(D3DRS_ZENABLE, FALSE);
  BindFourTap(c, t);
  d->SetTexture(0, t.Texture(kGlareSourceTarget));
  for (DWORD s = 1; s < 4; ++s) d->SetTexture(s, t.Texture(output));
  d->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFFFFFFFF);
  d->SetTextureStageState(1, D3DTSS_TEXCOORDINDEX, 1);
  d->SetTextureStageState(1, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  d->SetTextureStageState(1, D3DTSS_COLORARG2, D3DTA_CURRENT);
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO);
  d->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
  const GlareBlend blend = GlareSmoothingBlend(dt);
  const float weights[4] = {blend.current, blend.previous, 0.0f, 0.0f};
  SetStageWeights(d, weights);
  const float zero[16] = {};
  SetVertexConstants(d, 0, zero, 4);
  DrawQuad(d);

  // 2. Horizontal blur of S into target 3.
  BindTarget(d, t.Surface(kGlareHorizontalTarget));
  c.states->SetSB(c.block);
  ClampLinear(d, 4);
  d->SetRenderState(D3DRS_ZENABLE, FALSE);
  BindFourTap(c, t);
  for (DWORD s = 0; s < 4; ++s) d->SetTexture(s, t.Texture(smoothed));
  d->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE);
  d->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
  BlurPass(c, kernel, intensity, true, t.Width() ? 2.0f / t.Width() : 0.0f);

  // 3. Vertical blur of target 3 into the output.
  BindTarget(d, t.Surface(output));
  for (DWORD s = 0; s < 4; ++s) d->SetTexture(s, t.Texture(kGlareHorizontalTarget));
  BlurPass(c, kernel, intensity, false, t.Height() ? 2.0f / t.Height() : 0.0f);

  // 4. The screen again, and the usual addressing and z test.
  t.EndTarget();
  for (DWORD s = 0; s < 4; ++s) {
    d->SetTexture(s, nullptr);
    d->SetSamplerState(s, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP);
    d->SetSamplerState(s, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP);
  }
  d->SetRenderState(D3DRS_ZENABLE, TRUE);
}

void DrawGlareOverlay(const GlareDrawContext& c, RenderTargets& t, int selector) {
  IDirect3DDevice9* d = c.device;
  if (!d || t.Count() < 4 || !c.shaders || !c.states || !c.buffers) return;
  c.states->SetSB(c.block);
  c.shaders->SetShaders(c.copyVs, c.copyPs, c.copyDecl);
  c.buffers->SetVB(0, t.Quad(), 20, true);
  FatalCheck(kSource, __LINE__, __TIME__,
             d->SetTexture(0, t.Texture(GlareOutputTarget(selector ? 1 : 0))));
  DrawQuad(d);
}
