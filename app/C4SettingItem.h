#pragma once
// One item of a settings table: an ini key under [system], its value and how
// the settings dialog shows it.

// How an item is shown (controlType).
enum SettingControlType {
  kSettingDecimal = 0,    // decimal edit field
  kSettingChoice = 1,     // combo box list of the labels
  kSettingHex = 2,        // hexadecimal edit field
  kSettingFloatBits = 3,  // a float held as its 32-bit pattern, never shown
  kSettingCheck = 4,      // check box
};

constexpr int kSettingLabelSlots = 10;

struct C4SettingItem {
  const char* name;  // ini key; null ends a source table
  int index;         // position in its table (lookups go by position)
  int controlType;   // SettingControlType
  int controlId;     // dialog control; 0: no control, never read from or written to the ini
  int value;         // for kSettingFloatBits the bits of a float
  const char* labels[kSettingLabelSlots];  // choice labels (Shift-JIS); end at the first null

  // Number of labels before the first null.
  int LabelCount() const {
    int n = 0;
    while (n < kSettingLabelSlots && labels[n]) ++n;
    return n;
  }

  // Whether `v` is a value the item can hold: a choice must name one of its
  // labels, a check box is 0 or 1; numbers take any value.
  bool Accepts(int v) const {
    if (controlType == kSettingChoice) return v >= 0 && v < LabelCount();
    if (controlType == kSettingCheck) return v == 0 || v == 1;
    return true;
  }
};
