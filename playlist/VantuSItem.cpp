#include "VantuSItem.h"

#include <cstring>

#include <Font.h>
#include <View.h>

#include "AppGlobals.h"

namespace {

const float kTextInset = 3.0f;
const rgb_color kSelectedBackground = make_color(204, 255, 230);
const rgb_color kBackground = make_color(255, 255, 255);
const rgb_color kContainerText = make_color(0, 102, 51);
const rgb_color kCurrentText = make_color(204, 51, 51);
const rgb_color kSongText = make_color(51, 51, 204);

struct KindInfo {
	TSupportFmt kind;
	const char* mark;
	const char* textKey;
};

const KindInfo kKinds[] = {
	{kSupportGeneralList, "[G] ", "List_Kind_General"},
	{kSupportFolder, "[F] ", "List_Kind_Folder"},
	{kSupportRawList, "[R] ", "List_Kind_Raw"},
	{kSupportSemiRawList, "[S] ", "List_Kind_Semi_Raw"},
	{kSupportNative100, "[L] ", NULL},
};


const KindInfo*
find_kind(TSupportFmt kind)
{
	for (const KindInfo& info : kKinds) {
		if (info.kind == kind)
			return &info;
	}
	return NULL;
}


const char*
leaf_name(const BListItem* item)
{
	const char* name = static_cast<const TVantuSItem*>(item)->EntryRef().name;
	return name != NULL ? name : "";
}

}


TVantuSItem::TVantuSItem(const entry_ref& ref, TSupportFmt kind)
	:
	BStringItem(""),
	fCurrent(false),
	fMagicNum(-1),
	fContainer(false),
	fEntryRef(ref),
	fKind(kind)
{
	SetKind(kind);
	UpdateText();
}


TVantuSItem::TVantuSItem(const TVantuSItem& other)
	:
	BStringItem(other.Text(), 0, other.IsExpanded()),
	fCurrent(other.fCurrent),
	fMagicNum(other.fMagicNum),
	fListInfo(other.fListInfo),
	fContainer(other.fContainer),
	fEntryRef(other.fEntryRef),
	fKind(other.fKind)
{
}


void
TVantuSItem::SetKind(TSupportFmt kind)
{
	fKind = kind;
	fContainer = kind != kSupportMidiFile;
}


std::string
TVantuSItem::ExpFName() const
{
	if (fListInfo.unnamed)
		return std::string(gVLT.Text("New_List")) + std::to_string(fListInfo.newListNum);
	return fEntryRef.name != NULL ? fEntryRef.name : "";
}


void
TVantuSItem::UpdateText()
{
	std::string label = kind_mark(fKind);
	label += ExpFName();
	if (fListInfo.modified) {
		label += ' ';
		label += gVLT.Text("Container_Stat_Modified");
	}
	SetText(label.c_str());
}


void
TVantuSItem::DrawItem(BView* owner, BRect frame, bool)
{
	owner->SetLowColor(IsSelected() ? kSelectedBackground : kBackground);
	const rgb_color high = fContainer ? kContainerText
		: fCurrent ? kCurrentText : kSongText;
	owner->SetHighColor(owner->LowColor());
	owner->FillRect(frame);
	owner->SetHighColor(high);
	font_height height;
	owner->GetFontHeight(&height);
	owner->DrawString(Text(), BPoint(frame.left + kTextInset, frame.top + height.ascent));
}


const char*
kind_mark(TSupportFmt kind)
{
	const KindInfo* info = find_kind(kind);
	return info != NULL ? info->mark : "";
}


const char*
kind_text_key(TSupportFmt kind)
{
	const KindInfo* info = find_kind(kind);
	return info != NULL ? info->textKey : NULL;
}


int
compare_func_by_file_name_up(const BListItem* a, const BListItem* b)
{
	return std::strcmp(leaf_name(a), leaf_name(b));
}


int
compare_func_by_file_name_down(const BListItem* a, const BListItem* b)
{
	return -compare_func_by_file_name_up(a, b);
}


int
compare_func_by_magic_num_up(const BListItem* a, const BListItem* b)
{
	const int32 first = static_cast<const TVantuSItem*>(a)->MagicNum();
	const int32 second = static_cast<const TVantuSItem*>(b)->MagicNum();
	return (first > second) - (first < second);
}
