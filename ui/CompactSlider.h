#ifndef COMPACT_SLIDER_H
#define COMPACT_SLIDER_H

#include <Slider.h>

// A small horizontal slider without texts: a 6-pixel bar of nested green
// and yellow bands and a block thumb. A click of the secondary button puts
// it back to its default value.
class TCompactSlider : public BSlider {
public:
	TCompactSlider(BRect frame, const char* name, const char* label, BMessage* message,
		int32 minValue, int32 maxValue);

	virtual void MouseDown(BPoint where);
	virtual void GetPreferredSize(float* width, float* height);
	virtual void DrawBar();
	virtual void DrawThumb();
	virtual void DrawText();
	virtual BRect BarFrame() const;

	void SetDefaultValue(int32 value);
	bool HasDefaultValue() const { return fHasDefault; }
	int32 DefaultValue() const { return fDefaultValue; }

	// Sets the default value and sends the message, as if the user had
	// moved the thumb there; nothing without a default value.
	void MouseDownRight(BPoint where);

private:
	bool fHasDefault;
	int32 fDefaultValue;
};

#endif
