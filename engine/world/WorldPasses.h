#pragma once
// The world's draw decisions as plain functions: name-based render
// disabling, first-pass routing, list-pass gating and the depth-sort order.
#include "C3Object.h"

// True when name occurs in the disable text and the character after its
// first occurrence is the end of the text, a blank or a comma.
bool IsNameRenderDisabled(const char* disableText, const char* className);

// Eye of view v in the dual view: right when exactly one of (eye swap, v) is
// set, else left.
int EyeForView(bool swapped, int view);

enum class FirstPassRoute { kSkip, kSorted, kLate, kDrawNow };

// Where the first pass puts an object. disabled: IsRenderDisabled;
// hiddenRider: the object is the camera's rider while HideCameraObject holds.
FirstPassRoute RouteFirstPass(const C3Object& object, bool disabled, bool hiddenRider, bool debugRun);
// Whether the sorted and late passes draw an object of their list.
bool DrawInListPass(const C3Object& object, bool disabled, bool hiddenRider, bool debugRun);

// qsort comparison of two C3Object* entries: larger camera distance + sort
// bias first; equal keys compare equal.
int CompareDrawDepth(const void* a, const void* b);
// Sorts the first count entries farthest first.
void SortByDrawDepth(C3Object** items, int count);

// The clear colour from the fog colour (r, g, b, a as floats), packed as the
// fog words of the state lists are (PackFogColor).
D3DCOLOR FogClearColor(const D3DXVECTOR4& rgba);
