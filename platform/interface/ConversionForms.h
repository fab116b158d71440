#ifndef _CONVERSION_FORMS_H
#define _CONVERSION_FORMS_H

// Views and windows convert points in place; the other forms of each
// conversion follow from that one: the rectangle forms convert both corners,
// the value forms convert a copy.
#define B_DEFINE_CONVERSION_FORMS(Class, name) \
	BPoint Class::name(BPoint point) const \
	{ \
		name(&point); \
		return point; \
	} \
	void Class::name(BRect* rect) const \
	{ \
		BPoint leftTop = rect->LeftTop(); \
		BPoint rightBottom = rect->RightBottom(); \
		name(&leftTop); \
		name(&rightBottom); \
		*rect = BRect(leftTop, rightBottom); \
	} \
	BRect Class::name(BRect rect) const \
	{ \
		name(&rect); \
		return rect; \
	}

#endif
