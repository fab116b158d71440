#include <cstring>

#include <InterfaceKit.h>
#include <Window.h>

#include "GalleryApp.h"


int
main(int argc, char** argv)
{
	const char* screenshot = NULL;
	for (int i = 1; i < argc; i++) {
		if (strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc)
			screenshot = argv[++i];
	}
	BPrivate::init_interface_kit(argc, argv);
	int status = 0;
	{
		GalleryApp app(screenshot);
		app.Run();
		status = app.Status();
		for (int32 i = app.CountWindows() - 1; i >= 0; i--) {
			BWindow* window = app.WindowAt(i);
			if (window->Lock())
				window->Quit();
		}
	}
	BPrivate::shutdown_interface_kit();
	return status;
}
