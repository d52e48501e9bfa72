#pragma once
// The camera's own course when no camera AI moves its position: it travels
// with the flocks, one flock at a time, heading for one of that flock's
// fish (so a view along its travel looks at it) and keeping a viewing
// distance from it, smoothly (bounded speed, acceleration and turn, and
// never quite stopping), in the water between the sea floor and the waves
// and away from solid shapes. Each flock after the first is approached
// from further out, from another side each time: the camera first swims
// out to a point that distance from the fish, then comes in with the flock
// ahead. A flock's last listed fish that is not hidden is the one followed
// (with a formation flock: the first fish of its last row, so the
// formation lies ahead); it is chosen when the flock is taken and checked,
// not searched for, each step.
#include <d3dx9math.h>

class C3Object;

class FlockFollow {
 public:
  // What the course reads of the scene.
  class Scene {
   public:
    virtual ~Scene() = default;
    virtual int FlockCount() const = 0;
    virtual int FlockSize(int flock) const = 0;
    // Null for a member that is not there.
    virtual const C3Object* Member(int flock, int member) const = 0;
    // Sea-floor height and the highest water (the waves' ceiling) at (x, z).
    virtual float FloorAt(float x, float z) const = 0;
    virtual float CeilingAt(float x, float z) const = 0;
    // Push out of solid shapes at p; zero where there are none.
    virtual D3DXVECTOR3 PushAt(const D3DXVECTOR3& p) const = 0;
  };

  // Scene units and seconds of the scene's clock.
  static constexpr float kViewDistance = 10.0f;
  static constexpr float kApproachDistance = 36.0f;
  static constexpr float kMaxSpeed = 24.0f;     // faster than a flock's fast wander
  static constexpr float kMaxAcceleration = 8.0f;
  static constexpr float kMaxTurn = 1.6f;       // radians a second
  static constexpr float kFloorMargin = 2.0f;
  static constexpr float kCeilingMargin = 1.5f;

  // Takes the next flock in turn (after the current one) that has a fish to
  // follow; false, and no fish followed, when no flock has one.
  bool NextFlock(const Scene& scene);
  // Puts the camera at p, at rest.
  void Place(const D3DXVECTOR3& p);
  // dt seconds of travel after the followed fish (dt is cut to 1 s, taken
  // in steps of at most 0.1 s); without a fish the camera stays where it
  // is. A followed fish that left its flock or was hidden is replaced by
  // another of the same flock, else of the next flock. Returns the position.
  const D3DXVECTOR3& Step(const Scene& scene, float dt);

  bool HasFish() const { return fish_ != nullptr; }
  // Swimming out to where it approaches the flock from.
  bool SwimmingOut() const { return swimmingOut_; }
  const C3Object* Fish() const { return fish_; }
  int Flock() const { return flock_; }
  const D3DXVECTOR3& Position() const { return position_; }
  const D3DXVECTOR3& Velocity() const { return velocity_; }

 private:
  // The last listed fish of `flock` that is not hidden; false when none.
  bool TakeFish(const Scene& scene, int flock);
  bool FishStillThere(const Scene& scene) const;
  // Where the camera approaches the new flock from, when it is nearer.
  void PlanApproach(const Scene& scene);
  void SubStep(const Scene& scene, const D3DXVECTOR3& fish, float h);

  int flock_ = -1;
  int member_ = -1;
  const C3Object* fish_ = nullptr;
  D3DXVECTOR3 position_{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 velocity_{0.0f, 0.0f, 0.0f};
  // The followed fish: where it was last step and its smoothed velocity.
  D3DXVECTOR3 fishLast_{0.0f, 0.0f, 0.0f};
  D3DXVECTOR3 fishVelocity_{0.0f, 0.0f, 0.0f};
  bool fishNew_ = true;
  int approaches_ = 0;
  bool swimmingOut_ = false;
  D3DXVECTOR3 approachFrom_{0.0f, 0.0f, 0.0f};
  float outTime_ = 0.0f;
};
