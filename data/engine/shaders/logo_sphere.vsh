vs_1_1
// Logo, fixed-function path: the reflection picture is looked up by the
// normal in view space (x right, y up).
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c95, 1.0, 0.0, 0.5, 0.0
def c93, 0.82, 0.88, 0.95, 1.0
mov r0.xyz, v0
mov r0.w, c95.x
m4x4 oPos, r0, c0
// Normal in view space (c4..c7: transposed world x view).
m3x3 r1.xyz, v1, c4
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1.xyz, r1, r1.w
mov r9, c95
mad oT0.x, r1.x, r9.z, r9.z
mad oT0.y, -r1.y, r9.z, r9.z
// Colour: cool silver, a little darker on the side away from the sun.
m3x3 r2.xyz, v1, c12
dp3 r2.w, r2, r2
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
dp3 r7.x, r2, c24
max r7.x, r7.x, c95.y
mad r7.x, r7.x, r9.z, r9.z
mul r8, c93, r7.x
mov r8.w, c95.x
mov oD0, r8
mov oFog, c95.x
