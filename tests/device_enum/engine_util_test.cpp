// The engine's small services: array list, bounded copy, quaternion helpers,
// arcball and the device cursor.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "D3DTestDevice.h"
#include "util/C3Arcball.h"
#include "util/C3ArrayList.h"
#include "util/EngineUtil.h"

namespace {

bool Finite(const D3DXMATRIX& m) {
  for (int i = 0; i < 16; ++i) {
    if (!std::isfinite(m[i])) return false;
  }
  return true;
}

D3DXVECTOR3 Rotate(const D3DXQUATERNION& q, const D3DXVECTOR3& v) {
  D3DXMATRIX m;
  D3DXMatrixRotationQuaternion(&m, &q);
  D3DXVECTOR3 out;
  D3DXVec3TransformNormal(&out, &v, &m);
  return out;
}

float Length(const D3DXQUATERNION& q) {
  return std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
}

LPARAM Point(int x, int y) { return MAKELPARAM(x, y); }

}  // namespace

// ---------------------------------------------------------------------------

TEST(ArrayListTest, ByValueGrowsTo16ThenDoubles) {
  struct Item { int a; short b; char c[6]; };
  C3ArrayList list(C3ArrayList::ByValue, sizeof(Item));
  EXPECT_EQ(list.Capacity(), 0u);
  EXPECT_EQ(list.GetPtr(0), nullptr);
  for (int i = 0; i < 40; ++i) {
    Item item{};
    item.a = i * 7;
    item.b = short(i);
    std::snprintf(item.c, sizeof item.c, "n%d", i);
    ASSERT_EQ(list.Add(&item), S_OK);
    const UINT expected = i < 16 ? 16u : i < 32 ? 32u : 64u;
    EXPECT_EQ(list.Capacity(), expected) << "after item " << i;
  }
  EXPECT_EQ(list.Count(), 40u);
  // Items survived every growth, copied rather than referenced.
  for (int i = 0; i < 40; ++i) {
    const Item* item = list.Get<Item>(i);
    EXPECT_EQ(item->a, i * 7);
    EXPECT_EQ(item->b, i);
  }
  Item probe{};
  std::memcpy(&probe, list.GetPtr(21), sizeof probe);
  EXPECT_TRUE(list.Contains(&probe));
  probe.b = 999;
  EXPECT_FALSE(list.Contains(&probe));
}

TEST(ArrayListTest, ByReferenceStoresPointers) {
  int a = 1, b = 2, c = 3;
  C3ArrayList list(C3ArrayList::ByReference, 123);  // the size is a pointer's
  EXPECT_EQ(list.ElementSize(), sizeof(void*));
  ASSERT_EQ(list.Add(&a), S_OK);
  ASSERT_EQ(list.Add(&b), S_OK);
  EXPECT_EQ(list.GetPtr(0), &a);
  EXPECT_EQ(list.Get<int>(1), &b);
  EXPECT_TRUE(list.Contains(&b));
  int copyOfB = 2;
  EXPECT_FALSE(list.Contains(&copyOfB));  // equality of address, not value
  EXPECT_FALSE(list.Contains(&c));
  ASSERT_EQ(list.Add(nullptr), S_OK);     // a null reference is an item like any other
  EXPECT_TRUE(list.Contains(nullptr));
}

TEST(ArrayListTest, ZeroSizeRefusedAndRemoveAllEmpties) {
  C3ArrayList zero(C3ArrayList::ByValue, 0);
  int v = 5;
  EXPECT_EQ(zero.Add(&v), E_FAIL);
  EXPECT_EQ(zero.Count(), 0u);

  C3ArrayList list(C3ArrayList::ByValue, sizeof(int));
  for (int i = 0; i < 20; ++i) ASSERT_EQ(list.Add(&i), S_OK);
  list.RemoveAll();
  EXPECT_EQ(list.Count(), 0u);
  EXPECT_EQ(list.Capacity(), 0u);
  EXPECT_FALSE(list.Contains(&v));
  ASSERT_EQ(list.Add(&v), S_OK);
  EXPECT_EQ(list.Capacity(), 16u);
  EXPECT_EQ(*list.Get<int>(0), 5);
}

// ---------------------------------------------------------------------------

TEST(SafeStrCopyTest, BoundsAndArguments) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(SafeStrCopy(buffer, "abcdef", 4), S_OK);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'x');  // nothing written past the size

  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(SafeStrCopy(buffer, "abc", 0), E_INVALIDARG);
  EXPECT_EQ(buffer[0], 'x');
  EXPECT_EQ(SafeStrCopy(buffer, "abc", -3), E_INVALIDARG);
  EXPECT_EQ(SafeStrCopy(nullptr, "abc", 4), E_INVALIDARG);
  EXPECT_EQ(SafeStrCopy(buffer, nullptr, 4), E_INVALIDARG);
  EXPECT_EQ(buffer[0], 'x');

  EXPECT_EQ(SafeStrCopy(buffer, "abc", 1), S_OK);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(SafeStrCopy(buffer, "abcdefg", 8), S_OK);
  EXPECT_STREQ(buffer, "abcdefg");
  EXPECT_EQ(SafeStrCopy(buffer, "ab", 8), S_OK);
  EXPECT_STREQ(buffer, "ab");
  // Shift-JIS text is copied byte for byte.
  EXPECT_EQ(SafeStrCopy(buffer, "水槽", 8), S_OK);
  EXPECT_EQ(std::strlen(buffer), 4u);
}

// ---------------------------------------------------------------------------

TEST(QuaternionTest, UnitVectorsGiveDoubleAngle) {
  D3DXVECTOR3 x(1, 0, 0), y(0, 1, 0);
  D3DXQUATERNION q = QuatFromUnitVectors(x, y);
  EXPECT_FLOAT_EQ(q.x, 0.0f);
  EXPECT_FLOAT_EQ(q.y, 0.0f);
  EXPECT_FLOAT_EQ(q.z, 1.0f);
  EXPECT_FLOAT_EQ(q.w, 0.0f);
  // A half turn about z carries x onto -x.
  D3DXVECTOR3 r = Rotate(q, x);
  EXPECT_NEAR(r.x, -1.0f, 1e-5f);
}

TEST(QuaternionTest, BallPointsGiveShortestArc) {
  D3DXVECTOR3 from(0.3f, 0.2f, 0.9f), to(-0.5f, 0.4f, 0.6f);
  D3DXQUATERNION q = QuatFromBallPoints(from, to);
  EXPECT_NEAR(Length(q), 1.0f, 1e-5f);
  D3DXVECTOR3 f, t;
  D3DXVec3Normalize(&f, &from);
  D3DXVec3Normalize(&t, &to);
  // The rotation's axis is perpendicular to both points.
  EXPECT_NEAR(q.x * f.x + q.y * f.y + q.z * f.z, 0.0f, 1e-5f);
  EXPECT_NEAR(q.x * t.x + q.y * t.y + q.z * t.z, 0.0f, 1e-5f);
  // Its angle is the angle between the points.
  float angle = 2.0f * std::acos(std::fmin(1.0f, q.w));
  EXPECT_NEAR(angle, std::acos(D3DXVec3Dot(&f, &t)), 1e-4f);
  D3DXVECTOR3 carried = Rotate(q, f);
  EXPECT_NEAR(carried.x, t.x, 1e-5f);
  EXPECT_NEAR(carried.y, t.y, 1e-5f);
  EXPECT_NEAR(carried.z, t.z, 1e-5f);

  // The same point gives the identity.
  D3DXQUATERNION same = QuatFromBallPoints(from, from);
  EXPECT_NEAR(same.w, 1.0f, 1e-5f);
}

TEST(QuaternionTest, OppositePointsGiveAHalfTurn) {
  const D3DXVECTOR3 points[] = {D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(1, 0, 0),
                                D3DXVECTOR3(0.6f, -0.8f, 0)};
  for (const D3DXVECTOR3& p : points) {
    D3DXQUATERNION q = QuatFromBallPoints(p, -p);
    ASSERT_TRUE(std::isfinite(q.x) && std::isfinite(q.y) && std::isfinite(q.z) &&
                std::isfinite(q.w));
    EXPECT_NEAR(Length(q), 1.0f, 1e-5f);
    EXPECT_NEAR(q.w, 0.0f, 1e-5f);
    D3DXVECTOR3 r = Rotate(q, p);
    EXPECT_NEAR(r.x, -p.x, 1e-5f);
    EXPECT_NEAR(r.y, -p.y, 1e-5f);
    EXPECT_NEAR(r.z, -p.z, 1e-5f);
  }
  // A zero-length point cannot be placed: no rotation rather than NaN.
  D3DXQUATERNION q = QuatFromBallPoints(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1));
  EXPECT_EQ(q.w, 1.0f);
}

// ---------------------------------------------------------------------------

TEST(ArcballTest, ScreenToVector) {
  C3Arcball ball;
  ball.SetWindow(800, 600, 0.2f);
  D3DXVECTOR3 centre = ball.ScreenToVector(400, 300);
  EXPECT_FLOAT_EQ(centre.x, 0.0f);
  EXPECT_FLOAT_EQ(centre.y, 0.0f);
  EXPECT_FLOAT_EQ(centre.z, 1.0f);
  // Inside the ball: sx = (400 - 440) / 80 = -0.5, sy = (330 - 300) / 60 = 0.5.
  D3DXVECTOR3 inside = ball.ScreenToVector(440, 330);
  EXPECT_FLOAT_EQ(inside.x, -0.5f);
  EXPECT_FLOAT_EQ(inside.y, 0.5f);
  EXPECT_NEAR(inside.z, std::sqrt(0.5f), 1e-6f);
  // Outside: a unit vector on the rim.
  D3DXVECTOR3 outside = ball.ScreenToVector(0, 0);
  EXPECT_FLOAT_EQ(outside.z, 0.0f);
  EXPECT_NEAR(D3DXVec3Length(&outside), 1.0f, 1e-6f);
  EXPECT_GT(outside.x, 0.0f);
  EXPECT_LT(outside.y, 0.0f);
  ball.SetMirrored(true);
  D3DXVECTOR3 mirrored = ball.ScreenToVector(440, 330);
  EXPECT_FLOAT_EQ(mirrored.x, 0.5f);
  EXPECT_FLOAT_EQ(mirrored.y, -0.5f);
}

TEST(ArcballTest, NoNaNBeforeTheWindowSizeIsKnown) {
  C3Arcball ball;
  D3DXVECTOR3 v = ball.ScreenToVector(10, 10);
  EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z));
  EXPECT_EQ(ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(5, 5)), 1);
  EXPECT_EQ(ball.OnMouseMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10)), 1);
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_LBUTTON, Point(50, 70));
  ball.OnMouseMessage(nullptr, WM_RBUTTONDOWN, MK_RBUTTON, Point(50, 70));
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_RBUTTON, Point(90, 20));
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_MBUTTON, Point(30, 20));
  EXPECT_TRUE(std::isfinite(ball.GetYaw()));
  EXPECT_TRUE(std::isfinite(ball.GetPitch()));
  EXPECT_TRUE(Finite(*ball.GetRotationMatrix()));
  EXPECT_TRUE(Finite(*ball.GetTranslationMatrix()));
  EXPECT_TRUE(Finite(*ball.GetRotation()));

  // Once the size is known the same messages work normally.
  ball.SetWindow(800, 600, 0.2f);
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(400, 300));
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(480, 300));
  EXPECT_FLOAT_EQ(ball.GetYaw(), 1.0f);
}

TEST(ArcballTest, YawAndPitchFromMoves) {
  C3Arcball ball;
  ball.SetWindow(800, 600, 0.2f);
  // The first move only records where the mouse is.
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(400, 300));
  EXPECT_EQ(ball.GetYaw(), 0.0f);
  EXPECT_EQ(ball.GetPitch(), 0.0f);
  // nx changes by 40 / (800 * 0.2 * 0.5) = 0.5, ny by 15 / (600 * 0.1) = 0.25.
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(440, 315));
  EXPECT_FLOAT_EQ(ball.GetYaw(), 0.5f);
  EXPECT_FLOAT_EQ(ball.GetPitch(), 0.25f);
  // Negative coordinates (a captured mouse left of the window) are signed.
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(-40, 315));
  EXPECT_FLOAT_EQ(ball.GetYaw(), -5.5f);

  // Pitch beyond the top stops just under a quarter turn.
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(-40, 600));
  EXPECT_FLOAT_EQ(ball.GetPitch(), 1.5550884f);
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(-40, 597));
  EXPECT_FLOAT_EQ(ball.GetPitch(), 1.5550884f - 0.05f);
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(-40, -2000));
  EXPECT_FLOAT_EQ(ball.GetPitch(), -1.5550884f);

  // The yaw/pitch matrix: RotationX(pitch) x RotationY(yaw).
  D3DXMATRIX rx, ry, expected;
  D3DXMatrixRotationX(&rx, ball.GetPitch());
  D3DXMatrixRotationY(&ry, ball.GetYaw());
  D3DXMatrixMultiply(&expected, &rx, &ry);
  const D3DXMATRIX* m = ball.GetRotation();
  for (int i = 0; i < 16; ++i) EXPECT_NEAR((*m)[i], expected[i], 1e-6f);

  ball.Reset();
  EXPECT_EQ(ball.GetYaw(), 0.0f);
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, 0, Point(10, 10));
  EXPECT_EQ(ball.GetYaw(), 0.0f);  // last position forgotten by the reset
}

TEST(ArcballTest, LeftDragRotates) {
  C3Arcball ball;
  ball.SetWindow(800, 600, 0.2f);
  EXPECT_EQ(ball.OnMouseMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, Point(400, 300)), 1);
  EXPECT_TRUE(ball.IsDragging());
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_LBUTTON, Point(440, 300));
  const D3DXQUATERNION& q = ball.GetCurrentQuat();
  EXPECT_NEAR(Length(q), 1.0f, 1e-5f);
  EXPECT_LT(q.w, 1.0f);
  // Dragging sideways turns about the vertical axis only.
  EXPECT_NEAR(q.x, 0.0f, 1e-6f);
  EXPECT_NEAR(q.z, 0.0f, 1e-6f);
  D3DXMATRIX fromQuat;
  D3DXMatrixRotationQuaternion(&fromQuat, &q);
  for (int i = 0; i < 16; ++i) EXPECT_NEAR((*ball.GetRotationMatrix())[i], fromQuat[i], 1e-6f);

  // A drag across the whole ball to the opposite rim stays finite.
  ball.OnMouseMessage(nullptr, WM_LBUTTONUP, 0, Point(440, 300));
  EXPECT_FALSE(ball.IsDragging());
  ball.OnMouseMessage(nullptr, WM_LBUTTONDOWN, MK_LBUTTON, Point(0, 300));
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_LBUTTON, Point(800, 300));
  EXPECT_TRUE(Finite(*ball.GetRotationMatrix()));
  EXPECT_NEAR(Length(ball.GetCurrentQuat()), 1.0f, 1e-5f);
  EXPECT_TRUE(Finite(*ball.GetRotationDelta()));

  // A move with the button held but no drag begun starts one, with no delta.
  C3Arcball fresh;
  fresh.SetWindow(800, 600, 0.2f);
  fresh.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_LBUTTON, Point(500, 300));
  EXPECT_TRUE(fresh.IsDragging());
  D3DXMATRIX identity;
  D3DXMatrixIdentity(&identity);
  EXPECT_EQ(std::memcmp(fresh.GetRotationDelta(), &identity, sizeof identity), 0);
}

TEST(ArcballTest, RightAndMiddleButtonsTranslate) {
  C3Arcball ball;
  ball.SetWindow(800, 600, 0.2f);
  ball.SetTranslationRadius(5.0f);
  ball.OnMouseMessage(nullptr, WM_RBUTTONDOWN, MK_RBUTTON, Point(400, 300));
  EXPECT_TRUE(ball.IsRightButtonDown());
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_RBUTTON, Point(410, 290));
  // dy = 10 * 5 / 600; step = (-2 * 5 * (-10) / 800, 2 * dy, 0).
  const D3DXMATRIX* t = ball.GetTranslationMatrix();
  EXPECT_FLOAT_EQ(t->_41, 0.125f);
  EXPECT_FLOAT_EQ(t->_42, 2.0f * 50.0f / 600.0f);
  EXPECT_FLOAT_EQ(t->_43, 0.0f);
  ball.OnMouseMessage(nullptr, WM_RBUTTONUP, 0, Point(410, 290));
  EXPECT_FALSE(ball.IsRightButtonDown());

  ball.OnMouseMessage(nullptr, WM_MBUTTONDOWN, MK_MBUTTON, Point(410, 290));
  EXPECT_TRUE(ball.IsMiddleButtonDown());
  ball.OnMouseMessage(nullptr, WM_MOUSEMOVE, MK_MBUTTON, Point(500, 278));
  EXPECT_FLOAT_EQ(t->_41, 0.125f);  // no sideways step with the middle button
  EXPECT_FLOAT_EQ(t->_43, 5.0f * 12.0f * 5.0f / 600.0f);
  EXPECT_FLOAT_EQ(ball.GetTranslationDelta()->_43, 0.5f);

  EXPECT_EQ(ball.OnMouseMessage(nullptr, WM_KEYDOWN, 'A', 0), 0);
  EXPECT_EQ(ball.OnMouseMessage(nullptr, WM_MOUSEWHEEL, 0, 0), 0);

  ball.Reset();
  EXPECT_EQ(ball.GetTranslationRadius(), 1.0f);
  EXPECT_FALSE(ball.IsMiddleButtonDown());
  EXPECT_EQ(ball.GetTranslationMatrix()->_43, 0.0f);
}

// ---------------------------------------------------------------------------

TEST(DeviceCursorTest, PixelRule) {
  const int w = 16, h = 6;
  std::vector<DWORD> mask(w * h, 0), image(w * h, 0x00123456), out(w * h + 8 * h, 0xDEADBEEF);
  mask[0] = 0x00FFFFFF;      // transparent corner
  mask[w * 5 + 15] = 1;      // any non-zero mask is transparent
  ComposeCursorPixels(mask.data(), image.data(), w, h, FALSE, out.data(), w + 8);
  EXPECT_EQ(out[0], 0u);
  EXPECT_EQ(out[1], 0xFF123456u);
  EXPECT_EQ(out[(w + 8) * 5 + 15], 0u);
  EXPECT_EQ(out[w], 0xDEADBEEFu);  // the pitch padding is untouched

  ComposeCursorPixels(mask.data(), image.data(), w, h, TRUE, out.data(), w + 8);
  // Row 0 word 0xCCC0: columns 0, 1, 4, 5, 8, 9 are marked.
  EXPECT_EQ(out[0], 0xFF808080u);  // even a transparent pixel carries the mark
  EXPECT_EQ(out[1], 0xFF123456u | 0xFF808080u);
  EXPECT_EQ(out[2], 0xFF123456u);
  EXPECT_EQ(out[4], 0xFF123456u | 0xFF808080u);
  EXPECT_EQ(out[10], 0xFF123456u);
  // Row 1 word 0xA2A0: columns 0, 2, 6, 8, 10.
  const DWORD* row1 = out.data() + (w + 8);
  EXPECT_EQ(row1[0], 0xFF123456u | 0xFF808080u);
  EXPECT_EQ(row1[1], 0xFF123456u);
  EXPECT_EQ(row1[10], 0xFF123456u | 0xFF808080u);
  // Nothing below row 4.
  EXPECT_EQ(out[(w + 8) * 5], 0xFF123456u);
}

TEST(DeviceCursorTest, SetsTheCursorOnARealDevice) {
  qvtest::D3DTestDevice dev;
  ASSERT_TRUE(dev.Create(64, 64)) << dev.Error();
  EXPECT_EQ(MakeDeviceCursor(dev.Device(), LoadCursor(nullptr, IDC_ARROW), TRUE), S_OK);

  // A monochrome cursor made here: AND mask and image one above the other.
  BYTE andMask[32 * 4], xorMask[32 * 4];
  std::memset(andMask, 0xFF, sizeof andMask);
  std::memset(xorMask, 0x00, sizeof xorMask);
  for (int y = 8; y < 24; ++y) {
    andMask[y * 4 + 1] = 0x00;
    xorMask[y * 4 + 1] = 0xFF;
  }
  HCURSOR own = CreateCursor(GetModuleHandle(nullptr), 3, 4, 32, 32, andMask, xorMask);
  ASSERT_NE(own, nullptr);
  EXPECT_EQ(MakeDeviceCursor(dev.Device(), own, FALSE), S_OK);
  DestroyCursor(own);

  EXPECT_EQ(MakeDeviceCursor(dev.Device(), nullptr, TRUE), E_FAIL);
  EXPECT_EQ(MakeDeviceCursor(nullptr, LoadCursor(nullptr, IDC_ARROW), TRUE), E_FAIL);
}
