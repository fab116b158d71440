#ifndef _STRING_ITEM_H
#define _STRING_ITEM_H

#include <string>

#include <ListItem.h>

// A list row that shows one line of text.
class BStringItem : public BListItem {
public:
	BStringItem(const char* text, uint32 outlineLevel = 0,
		bool expanded = true);
	virtual ~BStringItem();

	virtual void DrawItem(BView* owner, BRect frame, bool complete = false);
	virtual void SetText(const char* text);
	const char* Text() const;
	virtual void Update(BView* owner, const BFont* font);

	// Distance from the row's top to the text's base line.
	float BaselineOffset() const;

private:
	std::string fText;
	float fBaselineOffset;
};

#endif
