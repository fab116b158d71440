#include "FileHandover.h"

#include <AppDefs.h>
#include <Entry.h>

#include "PlayerMessages.h"
#include "SingleInstance.h"
#include "VantuView.h"
#include "VantuWin.h"


BMessage
TFileHandover::Request(const std::vector<std::string>& paths)
{
	BMessage request(TSingleInstance::kMsgHandOver);
	for (const std::string& path : paths)
		request.AddString("path", path.c_str());
	return request;
}


TFileHandover::TFileHandover(TVantuWin* window)
	:
	BHandler("FileHandover"),
	fWindow(window)
{
}


void
TFileHandover::MessageReceived(BMessage* message)
{
	if (message->what != TSingleInstance::kMsgHandOver) {
		BHandler::MessageReceived(message);
		return;
	}
	BMessage refs(B_REFS_RECEIVED);
	const char* path;
	for (int32 i = 0; message->FindString("path", i, &path) == B_OK; i++) {
		entry_ref ref;
		if (get_ref_for_path(path, &ref) == B_OK)
			refs.AddRef("refs", &ref);
	}
	if (refs.HasRef("refs")) {
		refs.AddBool(kPlayAddedField, true);
		fWindow->PostMessage(&refs, fWindow->PlayerView());
	}
	fWindow->Activate();
}
