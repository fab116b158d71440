#ifndef MRUF_H
#define MRUF_H

#include <deque>
#include <optional>
#include <string>

#include <Message.h>
#include <PKNArchivable.h>

class BHandler;
class BMenu;

// The most recently used paths, newest first, kept in an archive and shown
// as one menu item each. Every lookup walks at most 20 entries.
//
// Runs on the thread of the window whose menu it fills.
class TMRUF : public pelkan::TArchivable {
public:
	static constexpr int32 kMaxLimit = 20;

	TMRUF();
	~TMRUF() override;

	bool Archive(BMessage* archive) const override;
	// Replaces the list with the archive's paths, oldest first, so that the
	// newest ends in front; duplicates merge and surplus old ones drop.
	bool Unarchive(const BMessage& archive) override;

	void SetShowSC(bool show) { fShowSC = show; }
	// The menu position of the first item.
	void SetTgtBase(int32 base) { fTgtBase = base; }
	// Added to an item's index to choose its leading character and shortcut.
	void SetTriggerBase(int32 base) { fTriggerBase = base; }
	void SetTgtHandler(BHandler* handler) { fTgtHandler = handler; }
	void SetTgtMenu(BMenu* menu) { fTgtMenu = menu; }
	void SetSeparator(const char* separator);
	// Copies the template of every item's message and deletes `message`.
	void SetMessage(BMessage* message);
	// Keeps 1 to 20 entries, dropping the oldest beyond.
	void SetMaxMRUF(int32 count);
	int32 MaxMRUF() const { return fMax; }

	// Puts the path in front; a listed path moves there without growing the
	// list.
	void AddMRUF(const char* path);
	// The removed path, or nothing for an index out of range or an unlisted
	// path.
	std::optional<std::string> RemoveMRUF(int32 index);
	std::optional<std::string> RemoveMRUF(const char* path);
	// Exact byte comparison; -1 when not listed.
	int32 FindMRUF(const char* path) const;
	const char* MRUFAt(int32 index) const;
	int32 CountMRUFs() const { return int32(fPaths.size()); }
	void ClearMRUF() { fPaths.clear(); }
	void DeleteExtraMRUF();

	// Replaces the target menu's items from the target base up to the first
	// separator (or the end) with one item per path; -1 without a menu.
	int32 GenerateMenu();

private:
	static std::string _Label(int32 trigger, const std::string& separator,
		const std::string& path);

	bool fShowSC;
	int32 fTgtBase;
	int32 fTriggerBase;
	int32 fMax;
	std::deque<std::string> fPaths;
	std::string fSeparator;
	BHandler* fTgtHandler;
	BMenu* fTgtMenu;
	BMessage fMessage;
};

#endif
