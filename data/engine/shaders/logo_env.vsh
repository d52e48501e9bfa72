vs_1_1
// Logo, pixel-shader path: the relief's coordinates (repeated c38.w times),
// and the rows of the surface frame in world space (tangent, bitangent,
// normal) with the eye vector in their w, for the reflection into the
// environment cube.
dcl_position0 v0
dcl_normal0 v1
dcl_texcoord0 v2
def c95, 1.0, 0.0, 0.5, 0.0001
def c94, 1.0, 0.0, 0.0, 0.0
def c93, 0.82, 0.88, 0.95, 1.0
mov r0.xyz, v0
mov r0.w, c95.x
m4x4 oPos, r0, c0
m4x3 r5.xyz, r0, c12
// Normal N in world space.
m3x3 r1.xyz, v1, c12
dp3 r1.w, r1, r1
rsq r1.w, r1.w
mul r1.xyz, r1, r1.w
// Tangent T: the object's x axis in world space, made square to N.
mov r3, c94
m3x3 r2.xyz, r3, c12
dp3 r4.x, r2, r1
mad r2.xyz, r1, -r4.x, r2
dp3 r2.w, r2, r2
add r2.w, r2.w, c95.w
rsq r2.w, r2.w
mul r2.xyz, r2, r2.w
// Bitangent B = N x T.
mul r3.xyz, r1.yzxw, r2.zxyw
mad r3.xyz, -r1.zxyw, r2.yzxw, r3
// Eye vector: from the surface to the camera.
add r6.xyz, c22, -r5
mov oT1.x, r2.x
mov oT1.y, r3.x
mov oT1.z, r1.x
mov oT1.w, r6.x
mov oT2.x, r2.y
mov oT2.y, r3.y
mov oT2.z, r1.y
mov oT2.w, r6.y
mov oT3.x, r2.z
mov oT3.y, r3.z
mov oT3.z, r1.z
mov oT3.w, r6.z
mul oT0.xy, v2, c38.w
// Colour: cool silver, a little darker on the side away from the sun.
dp3 r7.x, r1, c24
max r7.x, r7.x, c95.y
mov r9, c95
mad r7.x, r7.x, r9.z, r9.z
mul r8, c93, r7.x
mov r8.w, c95.x
mov oD0, r8
mov oFog, c95.x
