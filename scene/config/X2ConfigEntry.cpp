#include "X2ConfigEntry.h"

#include "X2FlockSet.h"

void X2ConfigEntry::SetName(const char* text, int enableValue) {
  if (text) {
    name_ = text;
    displayName_ = X2DisplayName(text);
    hasName_ = true;
  }
  enable = enableValue;
}

void X2ConfigEntry::SetAI(const char* text) {
  if (!text) return;
  ai_ = text;
  aiDisplayName_ = X2DisplayName(text);
  hasAI_ = true;
}

void X2ConfigEntry::SetParam(const char* text) {
  if (!text) return;
  param_ = text;
  hasParam_ = true;
}

void X2ConfigEntry::Set(const char* nameText, const char* aiText, const char* paramText) {
  SetName(nameText, 1);
  SetAI(aiText);
  SetParam(paramText);
}

void X2ConfigEntry::CopyFrom(const X2ConfigEntry& other) { *this = other; }
