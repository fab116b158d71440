#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QWidget>

#include <InterfaceDefs.h>
#include <ScrollBar.h>

#include "InterfaceTestSupport.h"

using namespace interface_test;

namespace {

TEST(WindowTest, FrameIsTheContentAreaInScreenCoordinates)
{
	WindowHolder window(make_window(BRect(5, 24, 300, 250)));
	show_and_settle(window.Get());
	EXPECT_EQ(window->Frame(), BRect(5, 24, 300, 250));
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 295, 226));
	QWidget* widget = BPrivate::window_widget(window.Get());
	EXPECT_EQ(widget->geometry(), QRect(5, 24, 296, 227));

	window->MoveTo(40, 50);
	window->ResizeTo(99, 49);
	settle();
	EXPECT_EQ(window->Frame(), BRect(40, 50, 139, 99));
	EXPECT_EQ(widget->geometry(), QRect(40, 50, 100, 50));
}


TEST(WindowTest, SizeLimitsClampTheFrame)
{
	WindowHolder window(make_window(BRect(0, 0, 199, 99)));
	window->SetSizeLimits(50, 150, 20, 60);
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 150, 60));
	window->ResizeTo(10, 10);
	EXPECT_EQ(window->Bounds(), BRect(0, 0, 50, 20));
	float minWidth;
	float maxHeight;
	window->GetSizeLimits(&minWidth, NULL, NULL, &maxHeight);
	EXPECT_EQ(minWidth, 50);
	EXPECT_EQ(maxHeight, 60);
}


TEST(WindowTest, TheBorderedTipWindowDrawsItsBorderOutsideTheContentAndTakesNoFocus)
{
	BPrivate::ensure_interface_kit();
	BWindow* tip = new BWindow(BRect(10, 10, 59, 29), "TTW_tip", B_BORDERED_WINDOW_LOOK,
		B_FLOATING_ALL_WINDOW_FEEL, B_AVOID_FRONT | B_AVOID_FOCUS, B_CURRENT_WORKSPACE);
	WindowHolder holder(tip);
	show_and_settle(tip);
	QWidget* widget = BPrivate::window_widget(tip);
	EXPECT_EQ(widget->geometry(), QRect(9, 9, 52, 22));
	EXPECT_EQ(tip->Frame(), BRect(10, 10, 59, 29));
	EXPECT_TRUE(widget->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
	EXPECT_TRUE(widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
	EXPECT_FALSE(tip->IsActive());
	EXPECT_STREQ(tip->Name(), "TTW_tip");

	tip->SetTitle("shown title");
	EXPECT_STREQ(tip->Title(), "shown title");
	EXPECT_STREQ(tip->Name(), "TTW_tip");
}


// Document windows keep their bottom right corner for the resize knob,
// beside the scroll bars; without one the content's colour showed there as
// an odd square.
TEST(WindowTest, ADocumentWindowHasAResizeKnobInItsCorner)
{
	struct Case {
		const char* what;
		window_look look;
		uint32 flags;
		window_look lookAfter;
		bool knob;
		bool knobAfter;
	};
	const Case cases[] = {
		{"document window", B_DOCUMENT_WINDOW_LOOK, 0, B_DOCUMENT_WINDOW_LOOK, true, true},
		{"titled window", B_TITLED_WINDOW_LOOK, 0, B_TITLED_WINDOW_LOOK, false, false},
		{"document window not resizable", B_DOCUMENT_WINDOW_LOOK, B_NOT_RESIZABLE,
			B_DOCUMENT_WINDOW_LOOK, false, false},
		{"titled window made a document window", B_TITLED_WINDOW_LOOK, 0,
			B_DOCUMENT_WINDOW_LOOK, false, true},
		{"document window made a titled window", B_DOCUMENT_WINDOW_LOOK, 0,
			B_TITLED_WINDOW_LOOK, true, false},
	};
	const rgb_color content = make_color(200, 255, 0);
	const int knob = (int)B_V_SCROLL_BAR_WIDTH;
	// Whether no pixel of the corner's square shows the content's colour.
	auto covered = [&](BWindow* window) {
		settle();
		QWidget* widget = BPrivate::window_widget(window);
		const QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
		for (int y = image.height() - knob; y < image.height(); y++) {
			for (int x = image.width() - knob; x < image.width(); x++) {
				if (pixel(image, x, y) == content)
					return false;
			}
		}
		return true;
	};
	for (const Case& c : cases) {
		SCOPED_TRACE(c.what);
		BPrivate::ensure_interface_kit();
		BWindow* window = new BWindow(BRect(100, 100, 299, 199), "knob", c.look,
			B_NORMAL_WINDOW_FEEL, c.flags, B_CURRENT_WORKSPACE);
		WindowHolder holder(window);
		BView* view = new BView(window->Bounds(), "content", B_FOLLOW_ALL, B_WILL_DRAW);
		view->SetViewColor(content);
		window->AddChild(view);
		show_and_settle(window);
		EXPECT_EQ(c.knob, covered(window));
		window->Lock();
		window->SetLook(c.lookAfter);
		window->ResizeTo(249, 149);
		window->Unlock();
		EXPECT_EQ(c.knobAfter, covered(window)) << "after a new look and size";
	}
}


TEST(WindowTest, HideAndShowNestAndTheFirstShowRunsTheWindow)
{
	WindowHolder window(make_window());
	EXPECT_TRUE(window->IsHidden());
	EXPECT_LT(window->Thread(), 0);
	window->Show();
	EXPECT_EQ(window->Thread(), find_thread(NULL));
	window->Hide();
	window->Hide();
	window->Show();
	EXPECT_TRUE(window->IsHidden());
	window->Show();
	EXPECT_FALSE(window->IsHidden());
	settle();
	EXPECT_TRUE(BPrivate::window_widget(window.Get())->isVisible());
}


TEST(WindowTest, TaskBarLabelIsTheIconNameOfEveryWindow)
{
	WindowHolder first(make_window());
	BPrivate::set_task_bar_label("Song Title");
	WindowHolder second(make_window());
	EXPECT_EQ(BPrivate::task_bar_label(), "Song Title");
	EXPECT_EQ(BPrivate::window_widget(first.Get())->windowIconText(), "Song Title");
	EXPECT_EQ(BPrivate::window_widget(second.Get())->windowIconText(), "Song Title");
	EXPECT_EQ(BPrivate::window_widget(first.Get())->windowTitle(), "Test");
	BPrivate::set_task_bar_label("");
}


TEST(WindowTest, WindowPrioritiesAreRecordedNotApplied)
{
	WindowHolder window(make_window());
	EXPECT_EQ(BPrivate::window_priority(window.Get()), -1);
	BPrivate::record_window_priority(window.Get(), B_DISPLAY_PRIORITY);
	EXPECT_EQ(BPrivate::window_priority(window.Get()), B_DISPLAY_PRIORITY);
}

}

namespace {

class EndView : public BView {
public:
	EndView(std::vector<std::string>* log)
		: BView(BRect(0, 0, 9, 9), "end", B_FOLLOW_NONE, 0), fLog(log) {}
	~EndView() override { fLog->push_back("deleted"); }
	void DetachedFromWindow() override { fLog->push_back("detached"); }
	void MessageReceived(BMessage* message) override
	{
		fLog->push_back(std::string("message ") + (char)message->what);
	}

private:
	std::vector<std::string>* fLog;
};


TEST(WindowLifeTest, MessagesWaitForTheFirstShowAndQuitDetachesThenDeletes)
{
	std::vector<std::string> log;
	BWindow* window = make_window();
	EndView* view = new EndView(&log);
	window->AddChild(view);
	window->PostMessage('a', view);
	settle();
	EXPECT_TRUE(log.empty());

	window->Show();
	ASSERT_TRUE(pump_until([&log] { return !log.empty(); }));
	EXPECT_EQ(log, (std::vector<std::string>{"message a"}));

	// The close box, agreed to by QuitRequested(), ends the window.
	QCloseEvent close;
	QCoreApplication::sendEvent(BPrivate::window_widget(window), &close);
	ASSERT_TRUE(pump_until([&log] { return log.size() == 3; }));
	EXPECT_EQ(log, (std::vector<std::string>{"message a", "detached", "deleted"}));
}

}
