vs_1_1
// Water simulation: a full-target quad, its coordinate as it stands.
dcl_position0 v0
dcl_texcoord0 v1
mov oPos, v0
mov oT0, v1
