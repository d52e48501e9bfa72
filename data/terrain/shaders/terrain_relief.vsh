vs_1_1
// Sea floor for the pixel-shader path. Stages 0, 1 and 3 take the floor
// coordinate, stage 2 (caustic) four times it. The diffuse colour carries
// the feature blend (hill x trench weight, also in alpha; trench weight);
// the specular colour the sun direction in the vertex's tangent frame,
// scaled by the bump scale (c38.w) and the sun's colour (c26), biased to 0.5.
dcl_position0 v0
dcl_normal0 v1
dcl_color0 v2
dcl_texcoord0 v3
def c95, 1.0, 0.0, 0.5, 4.0
m4x4 oPos, v0, c0
// Normal into world space, normalised.
m3x3 r2.xyz, v1, c12
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
// Tangent: the x axis less its part along the normal; binormal = T x N
// (the z axis on a flat floor), the directions the floor texture runs.
mul r3.xyz, r2, -r2.x
add r3.x, r3.x, c95.x
dp3 r3.w, r3, r3
rsq r3.w, r3.w
mul r3.xyz, r3, r3.w
mul r4.xyz, r3.yzxw, r2.zxyw
mad r4.xyz, -r3.zxyw, r2.yzxw, r4
// The way to the sun (c24) in that frame.
dp3 r5.x, c24, r3
dp3 r5.y, c24, r4
dp3 r5.z, c24, r2
mul r5.xyz, r5, c38.w
mul r5.xyz, r5, c26
mad oD1.xyz, r5, c95.z, c95.z
mov oD1.w, c95.x
// Feature blend.
mul r6.x, v2.x, v2.y
mov oD0.x, r6.x
mov oD0.y, v2.y
mov oD0.z, c95.y
mov oD0.w, r6.x
// Fog: (end - distance) / (end - start) from c23 = (0, end, 1 / (end - start), 0);
// with no fog set (c23.z = 0) the floor stays clear.
m4x3 r7.xyz, v0, c12
add r8.xyz, r7, -c22
dp3 r8.w, r8, r8
rsq r8.x, r8.w
rcp r8.w, r8.x
mov r9, c23
add r10.x, r9.y, -r8.w
mul r10.x, r10.x, r9.z
mul r10.y, r9.z, r9.z
sge r10.y, -r10.y, c95.y
add r10.x, r10.x, r10.y
max r10.x, r10.x, c95.y
min r10.x, r10.x, c95.x
mov oFog, r10.x
mov oT0.xy, v3
mov oT1.xy, v3
mul oT2.xy, v3, c95.w
mov oT3.xy, v3
