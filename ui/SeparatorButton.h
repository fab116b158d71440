#ifndef SEPARATOR_BUTTON_H
#define SEPARATOR_BUTTON_H

#include "ToolButton.h"

// The gap between two groups of a tool bar: an 8-pixel wide groove with no
// image, no message and no tool tip. It bounds a radio group.
class TSeparatorButton : public TToolButton {
public:
	explicit TSeparatorButton(float height);

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
};

#endif
