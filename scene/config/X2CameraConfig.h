#pragma once
// One camera rotation of CameraConfig.ini: "Source" entries name AIs of the
// camera-position list, "Target" entries AIs of the look-at list; the list
// moves to its next entry after the chosen change interval.
#include "X2ConfigList.h"

class X2CameraConfig : public X2ConfigList {
 public:
  static constexpr int kChangeTimeCount = 7;

  explicit X2CameraConfig(const char* listName);

  // Returns 0 when the file names no camera of this list.
  int Load(const char* file);
  bool Save(const char* file) const;
  // Appends an entry; -1 when the list holds 100 already.
  int AddCamera(const char* ai, const char* aiParam);

  const std::string& ListName() const { return listName_; }
  // Seconds between two changes for the current change-time index.
  float ChangeInterval() const;

  int changeTimeIndex = 0;

 private:
  std::string listName_;
};

// Seconds between camera changes by change-time index (0..6); indexes
// outside the table use its nearest end.
float CameraChangeInterval(int index);

extern X2CameraConfig* TheSourceCameraConfig;
extern X2CameraConfig* TheTargetCameraConfig;
