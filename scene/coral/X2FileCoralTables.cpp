#include "X2FileCoralTables.h"

#include "CoralData.h"
#include "fish/C6FishTables.h"
#include "servers/StateRecordList.h"
#include "servers/StaticTables.h"

#define QV_SHADER_BLOB(name) \
  CoralData::kShaderData + CoralData::k##name, CoralData::kShaderData + CoralData::k##name##Record

// The swaying piece reads the fish's layout: the 32-byte rest vertex on
// stream 0 and the 24-byte key frames on streams 1 and 2.
const ShaderDescriptor g_CoralShaders[kCoralShaderCount] = {
    {ShaderDescriptor::kVertexText, kDeclPosNormalTex, QV_SHADER_BLOB(CoralStaticVs)},
    {ShaderDescriptor::kVertexText, kFishMorphDecl, QV_SHADER_BLOB(CoralMorphVs)},
};

#undef QV_SHADER_BLOB

using namespace staterecords;

const uint32_t g_CoralStates[] = {
    D3DRS_ZWRITEENABLE, 1, D3DRS_ALPHABLENDENABLE, 0, D3DRS_SRCBLEND, D3DBLEND_SRCALPHA,
    D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA, D3DRS_FOGENABLE, 1, D3DRS_CULLMODE, D3DCULL_CCW,
    COLOUR, 3, 0, D3DTOP_MODULATE, D3DTA_TEXTURE, D3DTA_DIFFUSE,
    ALPHA, 2, 0, D3DTOP_SELECTARG1, D3DTA_TEXTURE,
    COLOUR, 3, 1, D3DTOP_ADD, D3DTA_TEXTURE, D3DTA_CURRENT,
    ALPHA, 2, 1, D3DTOP_SELECTARG1, D3DTA_CURRENT,
    COLOUR, 1, 2, D3DTOP_DISABLE,
    ALPHA, 1, 2, D3DTOP_DISABLE,
    kEnd};
