vs_1_1
// Sea surface with pixel shaders. Texture set 0: the normal map's
// coordinate. Sets 1..3: the rows of the 3 x 3 matrix that carries a normal
// of the map (tangent x, binormal y, the vertex normal z) into world space,
// the tangents scaled by the bump scale (c38.w / 10), with the unit eye
// vector in their w components for the mirrored lookup. Diffuse colour
// (1, 1, 1, 1 - eye . normal); linear fog from c23.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c95, 1.0, 0.0, 0.5, 0.1
m4x4 oPos, v0, c0
// Normal into world space, normalised.
m3x3 r1.xyz, v1, c12
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1.xyz, r1, r1.w
// Tangent: the x axis less its part along the normal; binormal = N x T.
mul r2.xyz, r1, -r1.x
add r2.x, r2.x, c95.x
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
mul r3.xyz, r1.yzxw, r2.zxyw
mad r3.xyz, -r1.zxyw, r2.yzxw, r3
mul r9.x, c38.w, c95.w
mul r2.xyz, r2, r9.x
mul r3.xyz, r3, r9.x
// Eye vector.
m4x3 r4.xyz, v0, c12
add r5.xyz, c22, -r4
dp3 r5.w, r5, r5
rsq r6.x, r5.w
mul r5.xyz, r5, r6.x
// Matrix rows with the eye in w.
mov oT1.x, r2.x
mov oT1.y, r3.x
mov oT1.z, r1.x
mov oT1.w, r5.x
mov oT2.x, r2.y
mov oT2.y, r3.y
mov oT2.z, r1.y
mov oT2.w, r5.y
mov oT3.x, r2.z
mov oT3.y, r3.z
mov oT3.z, r1.z
mov oT3.w, r5.z
mov oT0.xy, v2
// Diffuse: white, alpha 1 - eye . normal.
dp3 r7.x, r5, r1
add oD0.w, c95.x, -r7.x
mov oD0.xyz, c95.x
// Fog.
rcp r6.y, r6.x
mov r8, c23
add r7.x, r8.y, -r6.y
mul r7.x, r7.x, r8.z
mul r7.y, r8.z, r8.z
sge r7.y, -r7.y, c95.y
add r7.x, r7.x, r7.y
max r7.x, r7.x, c95.y
min r7.x, r7.x, c95.x
mov oFog, r7.x
