vs_1_1
// Four taps: the position passes through; texture coordinate k is the input
// coordinate moved by the x and y of constant k (k = 0 to 3).
dcl_position v0
dcl_texcoord0 v1
def c95, 1.0, 0.0, 0.0, 0.0
mov oPos.xyz, v0
mov oPos.w, c95.x
add oT0.xy, v1, c0
add oT1.xy, v1, c1
add oT2.xy, v1, c2
add oT3.xy, v1, c3
mov oFog, c95.x
