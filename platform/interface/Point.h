#ifndef _POINT_H
#define _POINT_H

#include <SupportDefs.h>

// A point in a Be coordinate space (y grows downwards).
class BPoint {
public:
	float x;
	float y;

	constexpr BPoint() : x(0), y(0) {}
	constexpr BPoint(float x, float y) : x(x), y(y) {}

	void Set(float newX, float newY)
	{
		x = newX;
		y = newY;
	}

	constexpr BPoint operator+(const BPoint& other) const
	{
		return BPoint(x + other.x, y + other.y);
	}
	constexpr BPoint operator-(const BPoint& other) const
	{
		return BPoint(x - other.x, y - other.y);
	}
	constexpr BPoint operator-() const { return BPoint(-x, -y); }

	BPoint& operator+=(const BPoint& other)
	{
		x += other.x;
		y += other.y;
		return *this;
	}
	BPoint& operator-=(const BPoint& other)
	{
		x -= other.x;
		y -= other.y;
		return *this;
	}

	constexpr bool operator==(const BPoint& other) const
	{
		return x == other.x && y == other.y;
	}
	constexpr bool operator!=(const BPoint& other) const { return !(*this == other); }
};

inline constexpr BPoint B_ORIGIN(0, 0);

#endif
