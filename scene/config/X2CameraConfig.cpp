#include "X2CameraConfig.h"

#include <algorithm>
#include <cstdio>

X2CameraConfig* TheSourceCameraConfig = nullptr;
X2CameraConfig* TheTargetCameraConfig = nullptr;

float CameraChangeInterval(int index) {
  static const float kSeconds[X2CameraConfig::kChangeTimeCount] = {10, 20, 30, 60, 180, 300, 600};
  return kSeconds[std::clamp(index, 0, X2CameraConfig::kChangeTimeCount - 1)];
}

X2CameraConfig::X2CameraConfig(const char* listName) : listName_(listName ? listName : "") {
  if (listName_.size() >= kTextSize) listName_.resize(kTextSize - 1);
}

float X2CameraConfig::ChangeInterval() const { return CameraChangeInterval(changeTimeIndex); }

int X2CameraConfig::Load(const char* file) {
  const std::string path = PathOf(file);
  const std::string section = listName_ + "CameraConfig";
  changeTimeIndex = configini::Clamp(configini::ReadInt(path, section.c_str(), "CameraChangeTime", 0), 0,
                                     kChangeTimeCount - 1, "CameraConfig:CameraChangeTime");
  const int count = configini::Clamp(configini::ReadInt(path, section.c_str(), "CameraCount", 0), 0,
                                     kMaxEntries, "CameraConfig:CameraCount");
  Clear();
  if (count == 0) return 0;
  for (int i = 0; i < count; ++i) {
    char name[kTextSize + 16];
    snprintf(name, sizeof name, "%sCamera%d", listName_.c_str(), i);
    const std::string ai = configini::ReadText(path, name, "ai");
    const std::string param = configini::ReadText(path, name, "aiParam");
    AddCamera(ai.c_str(), param.c_str());
  }
  return 1;
}

bool X2CameraConfig::Save(const char* file) const {
  const std::string path = PathOf(file);
  const std::string section = listName_ + "CameraConfig";
  bool ok = configini::WriteInt(path, section.c_str(), "CameraChangeTime", changeTimeIndex);
  ok &= configini::WriteInt(path, section.c_str(), "CameraCount", Count());
  for (int i = 0; i < Count(); ++i) {
    char name[kTextSize + 16];
    snprintf(name, sizeof name, "%sCamera%d", listName_.c_str(), i);
    ok &= configini::WriteText(path, name, "ai", Entry(i)->AI());
    ok &= configini::WriteText(path, name, "aiParam", Entry(i)->Param());
  }
  return ok;
}

int X2CameraConfig::AddCamera(const char* ai, const char* aiParam) {
  if (Count() >= kMaxEntries) return -1;
  X2ConfigEntry* e = Append();
  e->SetAI(ai);
  e->SetParam(aiParam);
  return Count() - 1;
}
