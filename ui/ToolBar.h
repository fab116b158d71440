#ifndef TOOL_BAR_H
#define TOOL_BAR_H

#include <vector>

#include <Messenger.h>
#include <View.h>

class TToolButton;

// A horizontal strip of image buttons, laid out left to right from x = 3,
// y = 3, one pixel apart, and split into groups by separator buttons. The
// bar is as high as its tallest button plus 6 and as wide as its window.
class TToolBar : public BView {
public:
	TToolBar(BRect frame, const char* name, uint32 resizingMode);

	virtual void AttachedToWindow();
	virtual void Draw(BRect updateRect);
	virtual void GetPreferredSize(float* width, float* height);

	// False unless 0 <= index <= CountItems().
	bool AddItem(TToolButton* button, int32 index);
	bool AddItem(TToolButton* button);
	bool AddSeparatorItem();

	TToolButton* ItemAt(int32 index) const;
	int32 CountItems() const;
	int32 IndexOf(const TToolButton* button) const;
	TToolButton* FindItem(const char* name) const;
	// The first button at or after `start` that is on.
	TToolButton* FindPushed(int32 start) const;

	void SetFlat(bool flat);
	bool IsFlat() const { return fFlat; }
	// Buttons show the change at their next redraw.
	virtual void SetEnabled(bool enabled);
	bool IsEnabled() const { return fEnabled; }

	virtual status_t SetTargetForItems(BHandler* target);
	virtual status_t SetTargetForItems(BMessenger messenger);

private:
	void _LayOutFrom(int32 index);

	std::vector<TToolButton*> fItems;
	bool fEnabled;
	float fMaxItemHeight;
	bool fFlat;
};

#endif
