#pragma once
// The host callback table: the one static table of function pointers through
// which plug-in code reads and changes the scene. Its address is the host
// argument of every plug-in entry point; it is complete before the first
// plug-in call and never changes.
#include "X2PluginAbi.h"

X2HostCallbacks* GetHostCallbacks();

// A plug-in's object handle is the address of the host object (its C3Object
// part); these are the only conversions between the two.
class C3Object;
inline C3Object* HostObject(X2Object handle) { return static_cast<C3Object*>(handle); }
inline X2Object HostHandle(C3Object* object) { return static_cast<void*>(object); }
