#include <algorithm>

#include <gtest/gtest.h>

#include <MimeType.h>

#include <GlobalSettings.h>
#include <VantuView.h>

#include "AppRig.h"

namespace {

typedef AppTest StartQuitTest;


bool
playlist_type_installed()
{
	return BMimeType(TVantuApp::kPlayListMimeType).IsInstalled();
}

}	// namespace


TEST_F(StartQuitTest, FirstRunShowsTheDefaultFrameAndTheStateIsSavedAfterTheWindowsClosed)
{
	const TExitState defaults;
	BRect shown;
	float maxWidth = 0;
	BRect moved;
	int32 songIndex = -1;
	int32 playMode = -1;
	gExitState.curSongIdx = 2;
	gExitState.playMode = 3;
	Start();
	RunSteps({
		Do([&]() {
			fMainWindow->Lock();
			shown = fMainWindow->Frame();
			float minWidth, minHeight, maxHeight;
			fMainWindow->GetSizeLimits(&minWidth, &maxWidth, &minHeight, &maxHeight);
			fMainWindow->MoveTo(60, 80);
			moved = fMainWindow->Frame();
			fMainWindow->Unlock();
			songIndex = fMainWindow->PlayerView()->CurSongIdx();
			playMode = fMainWindow->PlayerView()->PlayMode();
			// What the teardown must write over.
			gExitState.curSongIdx = -7;
			gExitState.playMode = -7;
			gExitState.mainWinFrame = BRect(0, 0, 1, 1);
		}),
	});
	EXPECT_EQ(defaults.mainWinFrame.LeftTop(), shown.LeftTop());
	// No wider than the player's controls reach.
	EXPECT_EQ(std::min(defaults.mainWinFrame.Width(), maxWidth), shown.Width());
	EXPECT_EQ(defaults.expandedHeight, shown.Height());
	EXPECT_EQ(moved, gExitState.mainWinFrame);
	EXPECT_EQ(songIndex, gExitState.curSongIdx);
	EXPECT_EQ(3, playMode);
	EXPECT_EQ(playMode, gExitState.playMode);

	// As main() ends, and as the next start begins.
	ASSERT_TRUE(save_exit_state());
	ASSERT_TRUE(save_pref(true));
	gExitState = TExitState();
	ASSERT_TRUE(load_global());
	EXPECT_EQ(moved, gExitState.mainWinFrame);
	EXPECT_EQ(gAppVer, gExitState.lastVersion);

	BRect restored;
	Start();
	RunSteps({
		Do([&]() {
			fMainWindow->Lock();
			restored = fMainWindow->Frame();
			fMainWindow->Unlock();
		}),
	});
	EXPECT_EQ(moved, restored);
}


TEST_F(StartQuitTest, PlaylistTypeIsRegisteredOnTheFirstRunAndAfterAVersionChangeOnly)
{
	const struct {
		const char* lastVersion;
		bool registered;
	} cases[] = {
		{"", true},
		{gAppVer, false},
		{"Ver 5.33", true},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(test.lastVersion);
		BMimeType(TVantuApp::kPlayListMimeType).Delete();
		ASSERT_FALSE(playlist_type_installed());
		gExitState.lastVersion = test.lastVersion;
		Start();
		RunSteps({});
		EXPECT_EQ(test.registered, playlist_type_installed());
	}

	BMimeType type(TVantuApp::kPlayListMimeType);
	BMessage extensions;
	ASSERT_EQ(B_OK, type.GetFileExtensions(&extensions));
	EXPECT_STREQ("lml", extensions.FindString("extensions", 0));
	EXPECT_STREQ("LML", extensions.FindString("extensions", 1));
	char text[B_MIME_TYPE_LENGTH];
	ASSERT_EQ(B_OK, type.GetShortDescription(text));
	EXPECT_STREQ("Vantu MIDI Playlist", text);
	ASSERT_EQ(B_OK, type.GetLongDescription(text));
	EXPECT_STREQ("Vantu MIDI Playlist", text);
	ASSERT_EQ(B_OK, type.GetPreferredApp(text));
	EXPECT_STREQ(gAppSignature, text);
}


TEST_F(StartQuitTest, DialogRequestsAndStatusTextsReachTheirWindows)
{
	Start();
	RunSteps({
		Do([&]() {
			fApp->PostMessage('sssr');
			fApp->PostMessage('nloc');
			// No dialog is open yet: nothing to pass these on to.
			fApp->PostMessage('_prf');
			fApp->PostMessage('_dcs');
			fApp->PostMessage('_dcc');
		}),
		Settle(),
		DrainMainWindow(),
		Do([&]() {
			EXPECT_EQ(1, WindowCount('sssr'));
			EXPECT_EQ(1, WindowCount('nloc'));
			EXPECT_EQ(0, WindowCount('_prf'));
			EXPECT_EQ(0, WindowCount('_dcs'));
			EXPECT_EQ(0, WindowCount('_dcc'));
		}),
	});
}
