#pragma once
// What the scene did over each second of scene time, for the debug log: fish
// moves made under an AI, fish moves made with a morph animation (drawn
// swimming when near), coral pieces drawn and the colonies the coral server
// keeps. A scene that has lost its AIs, its animation or its coral (after
// the device objects were made again, say) shows it here as zeros.
class SceneActivity {
 public:
  void FishMoved(bool underAI, bool morphing) {
    steered_ += underAI ? 1 : 0;
    morphing_ += morphing ? 1 : 0;
  }
  void CoralDrawn() { ++coralDrawn_; }
  void SetCoralColonies(int count) { colonies_ = count; }
  // Logs the counts once a second of scene time has passed since the last
  // line, then counts again from zero.
  void Report(float now);

 private:
  int steered_ = 0;
  int morphing_ = 0;
  int coralDrawn_ = 0;
  int colonies_ = 0;
  float next_ = 0.0f;
};
