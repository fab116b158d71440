#include "ToolBar.h"

#include <cstring>

#include <Window.h>

#include "SeparatorButton.h"
#include "ToolButton.h"
#include "ToolColors.h"

namespace {

const float kItemMargin = 3.0f;

}


TToolBar::TToolBar(BRect frame, const char* name, uint32 resizingMode)
	:
	BView(frame, name, resizingMode, B_WILL_DRAW),
	fEnabled(true),
	fMaxItemHeight(0),
	fFlat(false)
{
	SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
}


void
TToolBar::AttachedToWindow()
{
	ResizeTo(Window()->Bounds().Width(), Bounds().Height());
}


void
TToolBar::Draw(BRect /*updateRect*/)
{
	const BRect bounds = Bounds();
	stroke_raised_frame(this, bounds);
}


void
TToolBar::GetPreferredSize(float* width, float* height)
{
	if (width != NULL)
		*width = fItems.empty() ? kItemMargin : fItems.back()->Frame().right + kItemMargin;
	if (height != NULL)
		*height = fMaxItemHeight + 2 * kItemMargin;
}


bool
TToolBar::AddItem(TToolButton* button, int32 index)
{
	if (button == NULL || index < 0 || index > CountItems())
		return false;
	const float bottom = button->Bounds().bottom;
	if (bottom >= fMaxItemHeight) {
		fMaxItemHeight = bottom;
		ResizeTo(Bounds().Width(), fMaxItemHeight + 2 * kItemMargin);
	}
	fItems.insert(fItems.begin() + index, button);
	AddChild(button);
	button->SetBar(this);
	_LayOutFrom(index);
	return true;
}


bool
TToolBar::AddItem(TToolButton* button)
{
	return AddItem(button, CountItems());
}


bool
TToolBar::AddSeparatorItem()
{
	return AddItem(new TSeparatorButton(fMaxItemHeight));
}


TToolButton*
TToolBar::ItemAt(int32 index) const
{
	if (index < 0 || index >= CountItems())
		return NULL;
	return fItems[index];
}


int32
TToolBar::CountItems() const
{
	return (int32)fItems.size();
}


int32
TToolBar::IndexOf(const TToolButton* button) const
{
	for (int32 i = 0; i < CountItems(); i++) {
		if (fItems[i] == button)
			return i;
	}
	return -1;
}


TToolButton*
TToolBar::FindItem(const char* name) const
{
	if (name == NULL)
		return NULL;
	for (TToolButton* button : fItems) {
		if (button->Name() != NULL && strcmp(button->Name(), name) == 0)
			return button;
	}
	return NULL;
}


TToolButton*
TToolBar::FindPushed(int32 start) const
{
	for (int32 i = start < 0 ? 0 : start; i < CountItems(); i++) {
		if (fItems[i]->Value() == 1)
			return fItems[i];
	}
	return NULL;
}


void
TToolBar::SetFlat(bool flat)
{
	fFlat = flat;
	for (TToolButton* button : fItems)
		button->Invalidate();
}


void
TToolBar::SetEnabled(bool enabled)
{
	fEnabled = enabled;
}


status_t
TToolBar::SetTargetForItems(BHandler* target)
{
	return SetTargetForItems(BMessenger(target));
}


status_t
TToolBar::SetTargetForItems(BMessenger messenger)
{
	for (TToolButton* button : fItems)
		button->SetTarget(messenger);
	return B_OK;
}


void
TToolBar::_LayOutFrom(int32 index)
{
	float left = index == 0 ? kItemMargin : fItems[index - 1]->Frame().right + 1;
	for (int32 i = index; i < CountItems(); i++) {
		fItems[i]->MoveTo(left, kItemMargin);
		left = fItems[i]->Frame().right + 1;
	}
}
