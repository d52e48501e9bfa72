vs_1_1
// Copy: the position passes through with w = 1, texture coordinate 0 as given.
dcl_position v0
dcl_texcoord0 v1
def c95, 1.0, 0.0, 0.0, 0.0
mov oPos.xyz, v0
mov oPos.w, c95.x
mov oT0.xy, v1
mov oFog, c95.x
