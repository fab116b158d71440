#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include <AppGlobals.h>
#include <ExitState.h>
#include <Message.h>
#include <Pref.h>

// Hand-edited or damaged settings files reach the windows and the player
// only with values they can use.

namespace {

const float kNaN = std::numeric_limits<float>::quiet_NaN();
const float kInfinity = std::numeric_limits<float>::infinity();

}


TEST(SettingsRangeTest, ExitStateValuesOutOfRangeAreBroughtBack)
{
	const BRect defaultFrame = TExitState().mainWinFrame;
	struct {
		const char* name;
		std::function<void(BMessage&)> write;
		std::function<void(const TExitState&)> check;
	} cases[] = {
		{"play mode 9", [](BMessage& m) { m.AddInt32("PlyM", 9); },
			[](const TExitState& s) { EXPECT_EQ(0, s.playMode); }},
		{"play mode -1", [](BMessage& m) { m.AddInt32("PlyM", -1); },
			[](const TExitState& s) { EXPECT_EQ(0, s.playMode); }},
		{"play mode 5", [](BMessage& m) { m.AddInt32("PlyM", 5); },
			[](const TExitState& s) { EXPECT_EQ(5, s.playMode); }},
		{"song -3", [](BMessage& m) { m.AddInt32("CuSI", -3); },
			[](const TExitState& s) { EXPECT_EQ(0, s.curSongIdx); }},
		{"song 70000", [](BMessage& m) { m.AddInt32("CuSI", 70000); },
			[](const TExitState& s) { EXPECT_EQ(70000, s.curSongIdx); }},
		{"height -5", [](BMessage& m) { m.AddFloat("ExWH", -5); },
			[](const TExitState& s) { EXPECT_EQ(50, s.expandedHeight); }},
		{"height 1e9", [](BMessage& m) { m.AddFloat("ExWH", 1e9); },
			[](const TExitState& s) { EXPECT_EQ(16384, s.expandedHeight); }},
		{"height NaN", [](BMessage& m) { m.AddFloat("ExWH", kNaN); },
			[](const TExitState& s) { EXPECT_EQ(200, s.expandedHeight); }},
		{"height 480", [](BMessage& m) { m.AddFloat("ExWH", 480); },
			[](const TExitState& s) { EXPECT_EQ(480, s.expandedHeight); }},
		{"frame inverted", [](BMessage& m) { m.AddRect("_WFr", BRect(300, 20, 10, 400)); },
			[&](const TExitState& s) { EXPECT_EQ(defaultFrame, s.mainWinFrame); }},
		{"frame empty", [](BMessage& m) { m.AddRect("_WFr", BRect(10, 20, 10, 20)); },
			[&](const TExitState& s) { EXPECT_EQ(defaultFrame, s.mainWinFrame); }},
		{"frame huge", [](BMessage& m) { m.AddRect("_WFr", BRect(0, 0, 1e6, 300)); },
			[&](const TExitState& s) { EXPECT_EQ(defaultFrame, s.mainWinFrame); }},
		{"frame far away", [](BMessage& m) { m.AddRect("_WFr", BRect(1e8, 0, 1e8 + 300, 300)); },
			[&](const TExitState& s) { EXPECT_EQ(defaultFrame, s.mainWinFrame); }},
		{"frame infinite", [](BMessage& m) { m.AddRect("_WFr", BRect(0, 0, kInfinity, 300)); },
			[&](const TExitState& s) { EXPECT_EQ(defaultFrame, s.mainWinFrame); }},
		// Off the screen is for the window to mend: it knows the screen.
		{"frame off screen", [](BMessage& m) { m.AddRect("_WFr", BRect(-900, 5000, -600, 5300)); },
			[](const TExitState& s) { EXPECT_EQ(BRect(-900, 5000, -600, 5300), s.mainWinFrame); }},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		BMessage archive;
		c.write(archive);
		TExitState state;
		state.Unarchive(archive);
		c.check(state);
	}
}


TEST(SettingsRangeTest, PreferenceValuesOutOfRangeAreBroughtBack)
{
	struct {
		const char* name;
		std::function<void(BMessage&)> write;
		std::function<void(const TPref&)> check;
	} cases[] = {
		{"sort kind 3", [](BMessage& m) { m.AddInt32("ASKy", 3); },
			[](const TPref& p) { EXPECT_EQ(0, p.autoSortKind); }},
		{"sort kind -1", [](BMessage& m) { m.AddInt32("ASKy", -1); },
			[](const TPref& p) { EXPECT_EQ(0, p.autoSortKind); }},
		{"sort kind 2", [](BMessage& m) { m.AddInt32("ASKy", 2); },
			[](const TPref& p) { EXPECT_EQ(2, p.autoSortKind); }},
		{"reset bits beyond XG", [](BMessage& m) { m.AddInt32("SRCb", 0x1f); },
			[](const TPref& p) { EXPECT_EQ(15, p.sysResetCombination); }},
		{"reset bits negative", [](BMessage& m) { m.AddInt32("SRCb", -8); },
			[](const TPref& p) { EXPECT_EQ(8, p.sysResetCombination); }},
		{"silence after resets -1", [](BMessage& m) { m.AddInt64("SIAR", -1); },
			[](const TPref& p) { EXPECT_EQ(0, p.silenceAfterResets); }},
		{"silence after resets an hour", [](BMessage& m) { m.AddInt64("SIAR", 3600000000LL); },
			[](const TPref& p) { EXPECT_EQ(1000000, p.silenceAfterResets); }},
		{"silence between songs 0", [](BMessage& m) { m.AddInt64("SIBS", 0); },
			[](const TPref& p) { EXPECT_EQ(1000000, p.silenceBetweenSongsInterval); }},
		{"silence between songs a day", [](BMessage& m) { m.AddInt64("SIBS", 86400000000LL); },
			[](const TPref& p) { EXPECT_EQ(5000000, p.silenceBetweenSongsInterval); }},
		{"silence between songs 2 s", [](BMessage& m) { m.AddInt64("SIBS", 2000000); },
			[](const TPref& p) { EXPECT_EQ(2000000, p.silenceBetweenSongsInterval); }},
	};
	for (const auto& c : cases) {
		SCOPED_TRACE(c.name);
		BMessage archive;
		c.write(archive);
		TPref pref;
		pref.Unarchive(archive);
		c.check(pref);
	}
}
