#ifndef _RECT_H
#define _RECT_H

#include <algorithm>
#include <cmath>

#include <Point.h>

// A rectangle whose edges are all inside it: a rect from left 0 to right 9
// covers ten pixels, yet Width() is 9. The default rect is invalid
// (right < left), as on the original platform.
class BRect {
public:
	float left;
	float top;
	float right;
	float bottom;

	constexpr BRect() : left(0), top(0), right(-1), bottom(-1) {}
	constexpr BRect(float left, float top, float right, float bottom)
		: left(left), top(top), right(right), bottom(bottom) {}
	constexpr BRect(BPoint leftTop, BPoint rightBottom)
		: left(leftTop.x), top(leftTop.y), right(rightBottom.x), bottom(rightBottom.y) {}

	void Set(float newLeft, float newTop, float newRight, float newBottom)
	{
		left = newLeft;
		top = newTop;
		right = newRight;
		bottom = newBottom;
	}

	constexpr BPoint LeftTop() const { return BPoint(left, top); }
	constexpr BPoint RightBottom() const { return BPoint(right, bottom); }
	constexpr BPoint LeftBottom() const { return BPoint(left, bottom); }
	constexpr BPoint RightTop() const { return BPoint(right, top); }

	constexpr float Width() const { return right - left; }
	constexpr float Height() const { return bottom - top; }
	int32 IntegerWidth() const { return (int32)std::ceil(right - left); }
	int32 IntegerHeight() const { return (int32)std::ceil(bottom - top); }
	constexpr bool IsValid() const { return left <= right && top <= bottom; }

	void OffsetBy(float dx, float dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
	}
	void OffsetBy(BPoint delta) { OffsetBy(delta.x, delta.y); }
	void OffsetTo(float x, float y) { OffsetBy(x - left, y - top); }
	void OffsetTo(BPoint where) { OffsetTo(where.x, where.y); }

	void InsetBy(float dx, float dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
	}
	void InsetBy(BPoint inset) { InsetBy(inset.x, inset.y); }

	constexpr bool Contains(BPoint point) const
	{
		return point.x >= left && point.x <= right && point.y >= top && point.y <= bottom;
	}
	constexpr bool Contains(const BRect& other) const
	{
		return other.left >= left && other.right <= right && other.top >= top
			&& other.bottom <= bottom;
	}
	constexpr bool Intersects(const BRect& other) const
	{
		return IsValid() && other.IsValid() && other.left <= right && other.right >= left
			&& other.top <= bottom && other.bottom >= top;
	}

	// Intersection; invalid when the two do not overlap.
	BRect operator&(const BRect& other) const
	{
		return BRect(std::max(left, other.left), std::max(top, other.top),
			std::min(right, other.right), std::min(bottom, other.bottom));
	}
	// The smallest rect holding both.
	BRect operator|(const BRect& other) const
	{
		return BRect(std::min(left, other.left), std::min(top, other.top),
			std::max(right, other.right), std::max(bottom, other.bottom));
	}

	constexpr bool operator==(const BRect& other) const
	{
		return left == other.left && top == other.top && right == other.right
			&& bottom == other.bottom;
	}
	constexpr bool operator!=(const BRect& other) const { return !(*this == other); }
};

#endif
