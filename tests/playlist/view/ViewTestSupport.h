#ifndef VIEW_TEST_SUPPORT_H
#define VIEW_TEST_SUPPORT_H

#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include <Entry.h>
#include <Looper.h>
#include <Messenger.h>
#include <Message.h>

#include "AppGlobals.h"
#include "CorvanView.h"
#include "PointerProbe.h"
#include "TempFolder.h"

// The built-in language and the program's folder (this test's, with the
// shipped loaders beside it), as the program sets them up before its views.
inline void
set_up_program_records()
{
	gAppPrivacy.AnaExePath("playlist_view_tests");
	gVLT.Load(BUILTIN_LANGUAGE_FILE);
	gPref.autoSortKind = 0;
}


inline entry_ref
ref_for(const std::string& path)
{
	entry_ref ref;
	get_ref_for_path(path.c_str(), &ref);
	return ref;
}


inline void
write_file(const std::string& path, const std::string& content)
{
	std::ofstream(path, std::ios::binary) << content;
}


// A small song file; the view looks at names and types only.
inline std::string
make_song(const TempFolder& folder, const std::string& name)
{
	write_file(folder / name, "MThd");
	return folder / name;
}


inline std::string
make_native_list(const TempFolder& folder, const std::string& name,
	const std::vector<std::string>& entries)
{
	std::string content = "TirokaList$1\n";
	for (const std::string& entry : entries)
		content += entry + "\n";
	write_file(folder / name, content);
	return folder / name;
}


inline BMessage
refs_message(const std::vector<std::string>& paths)
{
	BMessage message(B_SIMPLE_DATA);
	for (const std::string& path : paths) {
		entry_ref ref = ref_for(path);
		message.AddRef("refs", &ref);
	}
	return message;
}


// Keeps what the view reports to its target, on a thread of its own.
class RequestLog : public BLooper {
public:
	static const uint32 kSync = 'Sync';

	RequestLog() : BLooper("RequestLog") { Run(); }

	void MessageReceived(BMessage* message) override
	{
		if (message->what == kSync) {
			message->SendReply(kSync);
			return;
		}
		std::lock_guard<std::mutex> guard(fLock);
		fMessages.push_back(*message);
	}

	// Everything sent to the log before this call has arrived.
	void Sync()
	{
		BMessage reply;
		BMessenger(this).SendMessage(kSync, &reply);
	}

	std::vector<BMessage> Of(uint32 what)
	{
		Sync();
		std::lock_guard<std::mutex> guard(fLock);
		std::vector<BMessage> found;
		for (const BMessage& message : fMessages) {
			if (message.what == what)
				found.push_back(message);
		}
		return found;
	}

	// The status texts, in order.
	std::vector<std::string> StatusTexts()
	{
		std::vector<std::string> texts;
		for (const BMessage& message : Of(kMsgExpStatBarRqtd))
			texts.push_back(message.FindString("StatBarString") != NULL ? message.FindString("StatBarString") : "");
		return texts;
	}

	void Clear()
	{
		Sync();
		std::lock_guard<std::mutex> guard(fLock);
		fMessages.clear();
	}

private:
	std::mutex fLock;
	std::vector<BMessage> fMessages;
};


// The pointer as a test scripts it: each reading takes the next of
// `readings`; then the buttons are up where the last one was.
class ScriptedProbe : public TPointerProbe {
public:
	struct Reading {
		BPoint where;
		uint32 buttons;
	};

	void GetMouse(BPoint* where, uint32* buttons) override
	{
		if (!readings.empty()) {
			fLast = readings.front();
			readings.erase(readings.begin());
		} else
			fLast.buttons = 0;
		*where = fLast.where;
		*buttons = fLast.buttons;
	}

	void Wait() override {}

	std::vector<Reading> readings;

private:
	Reading fLast{BPoint(0, 0), 0};
};


// The view with the user's answers given by the test.
class ScriptedView : public TCorvanView {
public:
	explicit ScriptedView(bool work = false)
		: TCorvanView(BRect(0, 0, 299, 399), "Playlist", work) {}

	// Answers in the order the questions come, then defaultAnswer.
	std::vector<int32> answers;
	int32 defaultAnswer = 0;
	std::vector<std::string> asked;
	ScriptedProbe probe;
	std::vector<BMessage> drags;

protected:
	TPointerProbe& PointerProbe() override { return probe; }
	void StartDrag(BMessage* message, BRect) override { drags.push_back(*message); }

	int32 ShowAlert(const char* text, const char*, const char*, const char*, int32,
		alert_type) override
	{
		asked.push_back(text);
		if (answers.empty())
			return defaultAnswer;
		const int32 answer = answers.front();
		answers.erase(answers.begin());
		return answer;
	}
};


// The labels of the full list, each indented by its level.
inline std::vector<std::string>
labels(const TCorvanView& view)
{
	std::vector<std::string> result;
	for (int32 row = 0; row < view.FullListCountItems(); row++) {
		const BListItem* item = view.FullListItemAt(row);
		result.push_back(std::string(item->OutlineLevel() * 2, ' ')
			+ static_cast<const TVantuSItem*>(item)->Text());
	}
	return result;
}

#endif
