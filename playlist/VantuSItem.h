#ifndef VANTU_S_ITEM_H
#define VANTU_S_ITEM_H

#include <string>

#include <EntryRef.h>
#include <StringItem.h>

#include "ListInfo.h"
#include "SupportFmt.h"

// One row of the playlist: a song, or a container whose entries hang below
// it as child rows. The row owns nothing but its fields; the playlist view
// owns the rows.
class TVantuSItem : public BStringItem {
public:
	TVantuSItem(const entry_ref& ref, TSupportFmt kind);
	// Copies everything the row shows and knows, the expanded state included;
	// the copy is in no list and not selected.
	TVantuSItem(const TVantuSItem& other);
	TVantuSItem& operator=(const TVantuSItem&) = delete;

	// Recomputes Container(); the label follows only with UpdateText().
	void SetKind(TSupportFmt kind);
	TSupportFmt Kind() const { return fKind; }
	// Every kind but a MIDI file.
	bool Container() const { return fContainer; }

	const entry_ref& EntryRef() const { return fEntryRef; }
	void SetEntryRef(const entry_ref& ref) { fEntryRef = ref; }

	// The song loaded in the player.
	bool Current() const { return fCurrent; }
	void SetCurrent(bool current) { fCurrent = current; }

	// The position at which the row was read from its container, -1 for none.
	int32 MagicNum() const { return fMagicNum; }
	void SetMagicNum(int32 magic) { fMagicNum = magic; }

	TListInfo& ListInfo() { return fListInfo; }
	const TListInfo& ListInfo() const { return fListInfo; }

	// An unnamed list: the "New_List" text and its number; otherwise the
	// entry's leaf name.
	std::string ExpFName() const;
	// Kind mark, display name and, for a modified list, the modified text.
	void UpdateText();

	virtual void DrawItem(BView* owner, BRect frame, bool complete = false);

private:
	bool fCurrent;
	int32 fMagicNum;
	TListInfo fListInfo;
	bool fContainer;
	entry_ref fEntryRef;
	TSupportFmt fKind;
};

// The mark a kind's label starts with, "" for songs and unknown kinds.
const char* kind_mark(TSupportFmt kind);
// The language key of the kind's name in the window title; NULL for songs,
// native lists (the title names the list alone) and unknown kinds.
const char* kind_text_key(TSupportFmt kind);

// Orders for sorting one level of rows under a container.
int compare_func_by_file_name_up(const BListItem* a, const BListItem* b);
int compare_func_by_file_name_down(const BListItem* a, const BListItem* b);
int compare_func_by_magic_num_up(const BListItem* a, const BListItem* b);

#endif
