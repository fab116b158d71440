#include <ListItem.h>

#include <cmath>

#include <Font.h>
#include <ListView.h>
#include <View.h>

BListItem::BListItem(uint32 outlineLevel, bool expanded)
	:
	fWidth(0),
	fHeight(0),
	fLevel(outlineLevel),
	fSelected(false),
	fEnabled(true),
	fExpanded(expanded),
	fOwner(NULL),
	fRow(-1),
	fFullIndex(-1),
	fSuperitem(NULL)
{
}


BListItem::~BListItem()
{
}


float
BListItem::Height() const
{
	return fHeight;
}


float
BListItem::Width() const
{
	return fWidth;
}


void
BListItem::SetHeight(float height)
{
	fHeight = height;
	if (BListView* owner = _LiveOwner())
		owner->_HeightChanged(this);
}


BListView*
BListItem::_LiveOwner() const
{
	return fOwner != NULL && fOwnerAlive != nullptr && *fOwnerAlive ? fOwner : NULL;
}


void
BListItem::_SetOwner(BListView* owner)
{
	fOwner = owner;
	fOwnerAlive = owner != NULL ? owner->fAlive : nullptr;
}


void
BListItem::SetWidth(float width)
{
	fWidth = width;
}


bool
BListItem::IsSelected() const
{
	return fSelected;
}


void
BListItem::Select()
{
	fSelected = true;
}


void
BListItem::Deselect()
{
	fSelected = false;
}


void
BListItem::SetEnabled(bool enabled)
{
	fEnabled = enabled;
}


bool
BListItem::IsEnabled() const
{
	return fEnabled;
}


bool
BListItem::IsExpanded() const
{
	return fExpanded;
}


void
BListItem::SetExpanded(bool expanded)
{
	fExpanded = expanded;
}


uint32
BListItem::OutlineLevel() const
{
	return fLevel;
}


void
BListItem::SetOutlineLevel(uint32 level)
{
	fLevel = level;
}


void
BListItem::Update(BView* owner, const BFont* font)
{
	font_height height;
	font->GetHeight(&height);
	SetWidth(owner->Bounds().Width());
	SetHeight(std::ceil(height.ascent + height.descent + height.leading));
}
