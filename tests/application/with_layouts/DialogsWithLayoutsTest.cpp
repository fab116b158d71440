#include <gtest/gtest.h>

#include <functional>
#include <string>

#include <Autolock.h>
#include <StringView.h>

#include <AboutWin.h>
#include <DrvCvtWin.h>
#include <PrefWin.h>

#include "AppRig.h"

namespace {

typedef AppTest DialogsWithLayoutsTest;


// Each dialog opens 20 pixels below the main window's corner; asked for
// again after the user closed it, the same window comes back where the user
// left it.
TEST_F(DialogsWithLayoutsTest, ASecondRequestBringsTheSameWindowBackWhereItWasLeft)
{
	InstallEnglish();
	Start();
	const struct {
		const char* name;
		uint32 request;
		std::function<BWindow*()> window;
	} cases[] = {
		{"preferences", '_prf', [&]() -> BWindow* { return fApp->PrefWindow(); }},
		{"about", B_ABOUT_REQUESTED, [&]() -> BWindow* { return fApp->AboutWindow(); }},
		{"drive letters", '_dcs', [&]() -> BWindow* { return fApp->DrvCvtWindow(); }},
	};
	std::vector<Step> steps;
	for (const auto& c : cases) {
		auto first = std::make_shared<BWindow*>(nullptr);
		steps.push_back(Do([&]() { fApp->PostMessage(c.request); }));
		steps.push_back([&, first]() {
			*first = c.window();
			return *first != nullptr && !(*first)->IsHidden();
		});
		steps.push_back(Do([&, first]() {
			SCOPED_TRACE(c.name);
			fMainWindow->Lock();
			const BPoint corner = fMainWindow->Frame().LeftTop();
			fMainWindow->Unlock();
			BWindow* window = *first;
			window->Lock();
			EXPECT_EQ(corner + BPoint(0, 20), window->Frame().LeftTop());
			window->MoveTo(BPoint(140, 160));
			window->Unlock();
			// The close box, as the user presses it.
			window->PostMessage(B_QUIT_REQUESTED);
		}));
		steps.push_back([first]() { return (*first)->IsHidden(); });
		steps.push_back(Do([&]() { fApp->PostMessage(c.request); }));
		steps.push_back([first]() { return !(*first)->IsHidden(); });
		steps.push_back(Do([&, first]() {
			SCOPED_TRACE(c.name);
			EXPECT_EQ(*first, c.window());
			EXPECT_EQ(BPoint(140, 160), (*first)->Frame().LeftTop());
		}));
	}
	RunSteps(steps);
	EXPECT_TRUE(fAlerts.empty());
}


// The about window takes the new language's title and author line.
TEST_F(DialogsWithLayoutsTest, TheAboutWindowFollowsTheLanguage)
{
	InstallEnglish();
	gPref.languageChosen = true;
	gPref.languageFile = "";
	Start();
	auto author = [&]() -> std::string {
		TAboutWin* window = fApp->AboutWindow();
		BAutolock locker(window);
		BStringView* line = dynamic_cast<BStringView*>(window->FindView("StrViewCright"));
		return line != nullptr ? line->Text() : "(no author line)";
	};
	RunSteps({
		Do([&]() { fApp->PostMessage(B_ABOUT_REQUESTED); }),
		[&]() { return fApp->AboutWindow() != nullptr; },
		Do([&]() {
			EXPECT_EQ("Programmed by ＰＥＬＫＡＮ", author());
			gPref.languageFile = ProgramFolder("Language") + "/English.vlt";
			fApp->PostMessage('plnc');
		}),
		[&]() { return AppCount('_lgc') == 1; },
		Settle(),
		Do([&]() {
			EXPECT_STREQ("About Vantu MIDI", fApp->AboutWindow()->Title());
			EXPECT_EQ("Programmed by PELKAN", author());
		}),
	});
	EXPECT_TRUE(fAlerts.empty());
}

}	// namespace
