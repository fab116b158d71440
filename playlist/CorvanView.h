#ifndef CORVAN_VIEW_H
#define CORVAN_VIEW_H

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <Alert.h>
#include <Messenger.h>
#include <OutlineListView.h>
#include <String.h>

#include "ContainerLoaderRegistry.h"
#include "SongSource.h"
#include "VantuSItem.h"

class BPopUpMenu;
class TPointerProbe;
class TToolTip;

// Request codes between the playlist and the player view that owns it.
enum {
	kMsgChangeSongRqtd = 'chsr',
	kMsgCurSongIdxChanged = 'csic',
	kMsgExpStatBarRqtd = 'sssr',
	kMsgUpdateWinTitleRqtd = 'uwtr',
	kMsgChangeSongOrderRqtd = 'csor',
	kMsgOpenDocument = 'podc',
	kMsgSavePanelRqtd = 'sspr',
	kMsgSavePanelTitleChanged = 'cstr',
	kMsgContainerLoaderDropped = 'cldd',
	kMsgNodeLoaderChanged = 'nloc',
	kMsgLanguageChanged = '_lgc',
	kMsgPopupAddNewList = 'panl',
	kMsgPopupDeleteFile = 'pdlf',
	kMsgPopupDeselect = 'pdsl',
	kMsgPopupSort = 'psrt',
	kMsgPopupSaveList = 'psvl',
	kMsgPopupSaveListAs = 'psla'
};

// The playlist: an outline list of TVantuSItem rows whose top row is always
// a list; containers hold songs and further containers. It resolves what it
// is given (songs, lists, folders) through its loaders, numbers the songs
// for the player and reports to its target, the player view, by messages.
//
// Runs on its window's thread only. Full-list rows count every row, shown or
// inside a collapsed list; mouse and drop positions count the rows on
// screen and are mapped to full-list rows first.
//
// Adding resolves a whole entry, nested lists included, before its rows
// enter the list in one batch; every edit computes the new row order in one
// pass and hands it to _Relayout; rows leave through _DeleteRows. The song
// table is rebuilt once after a change, when it is next asked.
class TCorvanView : public BOutlineListView, public TSongSource {
public:
	// A work view is a hidden helper: no start list, one native list as root;
	// a visible view starts with one new empty list.
	TCorvanView(BRect frame, const char* name, bool work);
	virtual ~TCorvanView();

	virtual void AttachedToWindow();
	virtual void DetachedFromWindow();
	virtual void MouseMoved(BPoint where, uint32 transit, const BMessage* dragMessage);
	virtual void MessageReceived(BMessage* message);
	virtual void MouseDown(BPoint where);
	// Keys are swallowed: the list has no keyboard navigation.
	virtual void KeyDown(const char* bytes, int32 numBytes);

	// Where requests go; by default the parent of this view's parent, or the
	// window when there is none.
	void SetTarget(const BMessenger& target);

	// Adding. The results tell whether the parent list gained content.
	void AddListFolderFileToTopLevel(BMessage* message);
	bool AddListFolderFile(const entry_ref& ref, TVantuSItem* parent, int32 magic);
	void AddMidiFile(const entry_ref& ref, TVantuSItem* parent, int32 magic);
	bool AddContainer(const entry_ref& ref, TSupportFmt kind,
		const std::list<std::string>& entries, TVantuSItem* parent, int32 magic);
	TVantuSItem* AddNewList(TVantuSItem* parent);
	// Every row goes; a visible view starts again with a new empty list.
	void ClearList();
	bool DupliCheck(const entry_ref& ref);
	bool IsMidiFile(const entry_ref& ref) const;

	// Loaders.
	TContainerLoader* FindContainerLoader(const entry_ref& ref, TSupportFmt* kind) const;
	void NodeLoaderChanged();

	// Songs, numbered in full-list order.
	virtual int32 Songs() const;
	virtual std::string SongLeafName(int32 index) const;
	virtual uint64 SongsRevision() const;
	TVantuSItem* Song(int32 index) const;
	// -1 for a container or a row out of range.
	int32 SongIdx(int32 fullRow) const;
	int32 SelectedSongIdx(int32 n) const;
	int32 FirstSelection() const;
	int32 LastSelection() const;
	int32 CountSelections() const;
	void ScrollToSong(int32 index);
	// The song marked current, -1 when none.
	int32 CurrentSongIdx() const;

	TVantuSItem* TopList() const;
	TVantuSItem* FindList(int32 id) const;
	TVantuSItem* ParentOf(const TVantuSItem* item) const;
	// Distance between the tops of two rows: every row is as high as the font.
	float RowPitch() const;
	// The tip of the row at `where`: a list's full path, else empty.
	std::string ToolTipAt(BPoint where) const;

	// Selection and editing.
	void ChangeSelection(int32 fullRow);
	virtual void MouseClickLeftDouble(BPoint where, int32 fullRow);
	virtual void MouseDragLeft(BPoint where, int32 fullRow);
	void OpenPopup(BPoint where);
	// The pop-up for the current selection; NULL when nothing is selected.
	BPopUpMenu* NewPopup();
	void ChangeSongOrderRqtd(BMessage* message);
	void PopupAddNewListClicked();
	void PopupDeleteFileClicked(BMessage* message);
	void PopupSortClicked(BMessage* message);

	// Saving.
	bool AskSaveList(BMessage* request);
	bool AskSaveSelectedList(const BMessage& next, BHandler* target);
	bool SaveList(BMessage* request);
	bool SaveListAs(BMessage* request);
	void SaveRequested(BMessage* request);
	bool OverwriteList(int32 id, const entry_ref& target);
	// What the list's file holds when it is saved: the paths of its direct
	// children, in order.
	std::vector<std::string> ListEntries(const TVantuSItem* list) const;
	std::string SavePanelTitle(int32 id) const;
	void PopupSaveListClicked(BMessage* message);
	void PopupSaveListAsClicked(BMessage* message);
	void LanguageChanged();

	void SendChangeSongRqtd(int32 index, bool play);
	void SendCurSongIdxChanged();
	void SendExpStatBarRqtd(const BString& text);
	void SendUpdateWinTitleRqtd();

	// Rows being added, before they enter the list.
	struct TPendingRow {
		TVantuSItem* item;
		std::vector<TPendingRow> children;
	};
	// An entry to add: its reference, whether it is there and what it is,
	// and the name a report shows for it.
	struct TEntryInfo {
		entry_ref ref;
		bool exists = false;
		bool folder = false;
		std::string shown;
	};

protected:
	// Seams of the user's answers: the framework's modal alert, the pointer
	// while a press is followed, and the drag the platform runs.
	virtual int32 ShowAlert(const char* text, const char* button0, const char* button1,
		const char* button2, int32 escapeIndex, alert_type type);
	virtual TPointerProbe& PointerProbe();
	virtual void StartDrag(BMessage* message, BRect dragRect);

private:
	// A row and the outline level it has, or is to have.
	struct TRowPlace {
		TVantuSItem* item;
		uint32 level;
	};

	// Reports of the adds inside it are coalesced into one status text.
	class TAddScope {
	public:
		explicit TAddScope(TCorvanView* view);
		~TAddScope();

	private:
		TCorvanView* fView;
	};

	// The scroll offset that shows the last row at the bottom, 0 when
	// every row fits.
	float _LastRowTop() const;
	std::vector<TRowPlace> _Layout() const;
	// For each row, the row after its subtree.
	static std::vector<int32> _SubtreeEnds(const std::vector<TRowPlace>& rows);
	// For each row, its parent row (a top-level row its own).
	static std::vector<int32> _Parents(const std::vector<TRowPlace>& rows);
	// Makes the full list `rows`, touching only the part that differs from
	// the list as it stands.
	void _Relayout(const std::vector<TRowPlace>& rows);
	// Deletes rows that have left the list, counting songs and lists out.
	void _DeleteRows(const std::vector<TVantuSItem*>& rows);
	void _StructureChanged();
	void _UpdateSongTable() const;
	void _MarkModified(TVantuSItem* list);
	void _EnsureTopList();
	std::vector<int32> _SelectedRows() const;
	int32 _FullRowAt(BPoint where) const;

	bool _Resolve(const TEntryInfo& info, TPendingRow& parent, bool parentInView,
		int32 magic);
	void _AddSong(const entry_ref& ref, TPendingRow& parent, int32 magic);
	bool _LoadContainer(const entry_ref& ref, TSupportFmt kind,
		const std::list<std::string>& entries, TPendingRow& parent, bool parentInView,
		int32 magic);
	void _SortPending(TPendingRow& row) const;
	// Inserts the holder's rows under its item (at the top level when NULL).
	void _Commit(TPendingRow& holder);
	void _Report(const std::string& name, const char* key);
	std::string _CanonicalPath(const entry_ref& ref) const;
	void _RememberListPath(const TVantuSItem* list);
	void _ForgetListPath(const TVantuSItem* list);

	void _SortContainers(int (*compare)(const BListItem*, const BListItem*));
	bool _AskSaveLists(const std::vector<int32>& lists, const BMessage& next,
		BHandler* target);
	void _Fail(const std::string& text);
	void _PostNext(const BMessage* request);

	bool fWork;
	int32 fNextListID;
	int32 fNextNewListNum;
	int32 fSongs;
	int32 fSavePanelListID;
	// Full-list row of the last click.
	int32 fAnchor;
	TContainerLoaderList fLoaders;
	BMessenger fTarget;
	bool fTargetSet;
	std::unique_ptr<TPointerProbe> fProbe;
	std::unique_ptr<TToolTip> fToolTip;

	// The canonical paths of the lists in the view, for duplicate checks.
	std::unordered_map<const TVantuSItem*, std::string> fListPathOf;
	std::unordered_map<std::string, int32> fListPathCounts;

	int32 fAddDepth;
	int32 fReportCount;
	std::string fFirstReport;

	// Song number to full-list row and back, rebuilt after a change.
	mutable bool fTableValid;
	mutable std::vector<int32> fSongRows;
	mutable std::vector<int32> fRowSongs;
	uint64 fRevision;
};

#endif
