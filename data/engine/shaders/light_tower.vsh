vs_1_1
// Light shaft: the vertices are in world space already (the world matrix is
// the identity); the colour is the shaft's intensity in c43, faded by the
// fog so that far shafts sink into the water instead of glowing through it,
// and faded close to the eye so that passing through one is not a flash.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c95, 1.0, 0.0, 0.5, 0.33
mov r0.xyz, v0
mov r0.w, c95.x
m4x4 oPos, r0, c0
mov oT0.xy, v2
// Fog: (end - distance) / (end - start) from c23 = (0, end, 1 / (end - start), 0);
// with no fog set (c23.z = 0) nothing fades.
m4x3 r5.xyz, r0, c12
add r6.xyz, r5, -c22
dp3 r6.w, r6, r6
rsq r6.x, r6.w
rcp r6.w, r6.x
mov r8, c23
add r7.x, r8.y, -r6.w
mul r7.x, r7.x, r8.z
mul r7.y, r8.z, r8.z
sge r7.y, -r7.y, c95.y
add r7.x, r7.x, r7.y
max r7.x, r7.x, c95.y
min r7.x, r7.x, c95.x
mov oFog, r7.x
// Near fade over the first three units.
mul r7.z, r6.w, c95.w
min r7.z, r7.z, c95.x
mul r7.x, r7.x, r7.z
mul oD0, c43, r7.x
