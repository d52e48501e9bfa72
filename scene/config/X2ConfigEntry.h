#pragma once
// One entry of a configuration list: the key of its fish, coral or structure
// record, the key of its AI record with the AI's parameter string, and
// whether it is shown. Display names are the keys cut at their first
// underscore (a Shift-JIS trail byte is never taken for one).
#include <string>

class X2ConfigEntry {
 public:
  // Replaces name and displayName when text is non-null; always sets enable.
  void SetName(const char* text, int enableValue);
  // Replaces ai and aiDisplayName when text is non-null.
  void SetAI(const char* text);
  // Replaces aiParam when text is non-null.
  void SetParam(const char* text);
  void Set(const char* nameText, const char* aiText, const char* paramText);
  void CopyFrom(const X2ConfigEntry& other);

  // Null while unset (camera entries have no name, coral and structure
  // entries no AI).
  const char* Name() const { return hasName_ ? name_.c_str() : nullptr; }
  const char* AI() const { return hasAI_ ? ai_.c_str() : nullptr; }
  const char* Param() const { return hasParam_ ? param_.c_str() : nullptr; }
  const std::string& DisplayName() const { return displayName_; }
  const std::string& AIDisplayName() const { return aiDisplayName_; }

  int enable = 1;

 private:
  std::string name_, ai_, param_, displayName_, aiDisplayName_;
  bool hasName_ = false, hasAI_ = false, hasParam_ = false;
};
