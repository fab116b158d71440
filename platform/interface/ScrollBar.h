#ifndef _SCROLL_BAR_H
#define _SCROLL_BAR_H

#include <View.h>

#define B_V_SCROLL_BAR_WIDTH 14.0f
#define B_H_SCROLL_BAR_HEIGHT 14.0f

// A scroll bar that scrolls its target view: a new value scrolls the target
// to it (ValueChanged()). Shown as a native scroll bar; range, proportion
// and steps set from code move nothing.
class BScrollBar : public BView {
public:
	BScrollBar(BRect frame, const char* name, BView* target, float min,
		float max, orientation direction);
	virtual ~BScrollBar();

	virtual void SetValue(float value);
	float Value() const;
	// Scrolls the target; called for every new value.
	virtual void ValueChanged(float newValue);
	void SetProportion(float ratio);
	float Proportion() const;
	void SetRange(float min, float max);
	void GetRange(float* min, float* max) const;
	void SetSteps(float smallStep, float largeStep);
	void GetSteps(float* smallStep, float* largeStep) const;
	void SetTarget(BView* target);
	BView* Target() const;
	orientation Orientation() const;

private:
	BView* fTarget;
	float fValue;
	float fMin;
	float fMax;
	float fProportion;
	float fSmallStep;
	float fLargeStep;
	orientation fOrientation;
};

#endif
