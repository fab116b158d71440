#include "ViewArchive.h"

#include <Application.h>
#include <Message.h>
#include <Resources.h>


bool
load_view_archive(const char* name, BMessage* archive)
{
	size_t size = 0;
	const void* data = BApplication::AppResources()->LoadResource('ARCV', name, &size);
	return data != NULL && archive->Unflatten(static_cast<const char*>(data), size) == B_OK;
}
