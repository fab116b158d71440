#include <string>

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>

#include <ScrollBar.h>
#include <ScrollView.h>
#include <TextView.h>
#include <ViewQt.h>
#include <Window.h>

#include "ControlsTestSupport.h"

namespace {

class TextViewTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		controls_test::init_gui();
		fWindow = new BWindow(BRect(50, 50, 349, 249), "info", B_TITLED_WINDOW, 0);
		fText = new BTextView(BRect(0, 0, 200, 80), "info", BRect(0, 0, 200, 80),
			B_FOLLOW_ALL, B_WILL_DRAW);
		fScroll = new BScrollView("scroll", fText, B_FOLLOW_ALL, 0, true, true,
			B_FANCY_BORDER);
		fWindow->AddChild(fScroll);
		fWindow->Show();
	}

	void TearDown() override
	{
		if (fWindow->Lock())
			fWindow->Quit();
	}

	QPlainTextEdit* Editor() const
	{
		return static_cast<QPlainTextEdit*>(BPrivate::native_widget(fText));
	}

	BWindow* fWindow = nullptr;
	BTextView* fText = nullptr;
	BScrollView* fScroll = nullptr;
};


TEST_F(TextViewTest, ReadOnlyTextSetFromCode)
{
	fWindow->Lock();
	fText->MakeEditable(false);
	fText->SetText("Loader: raw\nVersion 1.0");
	fWindow->Unlock();
	EXPECT_FALSE(fText->IsEditable());
	EXPECT_STREQ("Loader: raw\nVersion 1.0", fText->Text());
	EXPECT_EQ(23, fText->TextLength());
	fWindow->Lock();
	fText->SetText("");
	fWindow->Unlock();
	EXPECT_STREQ("", fText->Text());
}


TEST_F(TextViewTest, SelectionCountsBytes)
{
	fWindow->Lock();
	fText->SetText("日本 text");
	fText->Select(7, 11);
	int32 start;
	int32 end;
	fText->GetSelection(&start, &end);
	fWindow->Unlock();
	EXPECT_EQ(7, start);
	EXPECT_EQ(11, end);
	EXPECT_EQ(QStringLiteral("text"), Editor()->textCursor().selectedText());
}


TEST_F(TextViewTest, TheScrollViewsBarsMoveTheText)
{
	std::string lines;
	for (int i = 0; i < 60; i++)
		lines += "line " + std::to_string(i) + "\n";
	fWindow->Lock();
	fText->SetText(lines.c_str());
	fWindow->Unlock();
	BScrollBar* bar = fScroll->ScrollBar(B_VERTICAL);
	ASSERT_TRUE(controls_test::pump_until([bar]() {
		float min;
		float max;
		bar->GetRange(&min, &max);
		return max > 0;
	}));
	float min;
	float max;
	bar->GetRange(&min, &max);
	EXPECT_EQ(Editor()->verticalScrollBar()->maximum(), int(max));
	fWindow->Lock();
	bar->SetValue(5);
	fWindow->Unlock();
	EXPECT_EQ(5, Editor()->verticalScrollBar()->value());
	EXPECT_EQ(fScroll, fText->Parent());
}

}
