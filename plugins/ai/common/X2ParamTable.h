#pragma once
// The plug-in side of a parameter string: "key:value" items separated by
// commas or tabs. A table of typed descriptors parses the string, writes back
// only the values that differ from their defaults, and binds each descriptor
// to a control of the plug-in's configuration dialog.
#include <windows.h>

class X2Host;

enum X2ParamKind {
  kParamDecimal = 0,
  kParamChoice = 1,
  kParamHex = 2,
  kParamCheck = 4,
};

struct X2ParamDesc {
  const char* key;       // null ends a static key table
  int id;
  int kind;              // X2ParamKind
  int control;           // dialog control id, 0 for none
  int value;             // for a choice list: index of the chosen text
  const char* choices[10];  // ends at the first null
  int defaultValue;
};

class X2ParamTable {
 public:
  static constexpr int kMaxDescs = 100;
  static constexpr int kTextSize = 260;  // parsed text is cut at 259 characters
  static constexpr int kMaxItems = 20;

  X2ParamTable() = default;

  void Clear() { count_ = 0; }
  // Appends the descriptors of a static key table up to its null key; each
  // value starts at, and defaults to, the static value.
  void Load(const X2ParamDesc* keys);
  // Updates values from a parameter string; null reads as empty. A value
  // that is no number (decimal, hex, check box) or no choice text keeps the
  // value it had, logged through log when given. Returns how many were kept.
  int Parse(const char* text, const X2Host* log = nullptr);
  // Writes the non-default values; a negative length writes an empty string.
  void Format(char* out, int length) const;

  // Fills the dialog's controls; a missing control is logged and skipped.
  void ToDialog(HWND dialog, const X2Host& host) const;
  // Reads the dialog's controls back; a combo without a selection keeps its value.
  void FromDialog(HWND dialog);

  int Count() const { return count_; }
  const X2ParamDesc& Desc(int position) const { return descs_[position]; }
  // Value at a table position; 0 for a position past the table.
  int Value(int position) const;
  // A choice value at a position, forced into 0 .. choices - 1.
  int Choice(int position) const;
  void SetValue(int position, int value);
  // Number of choice texts of a descriptor.
  int ChoiceCount(int position) const;

 private:
  bool SetFromText(X2ParamDesc& desc, const char* value);

  int count_ = 0;
  X2ParamDesc descs_[kMaxDescs] = {};
};
