#include <gtest/gtest.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

#include <Screen.h>

#include "InterfaceTestSupport.h"

namespace {

// The usable part of the screen, as an inclusive rectangle.
BRect
usable_frame(const QScreen* screen)
{
	const QRect area = screen->availableGeometry();
	return BRect(area.left(), area.top(), area.left() + area.width() - 1,
		area.top() + area.height() - 1);
}


// Run with two offscreen screens (two-screens.json, listed last is primary):
// the primary one away from the desktop's origin, a second one beside it.
class MainScreenChoice : public ::testing::Test {
protected:
	void SetUp() override
	{
		BPrivate::ensure_interface_kit();
		if (QGuiApplication::screens().size() < 2)
			GTEST_SKIP() << "needs two screens: run as platform_interface_tests_two_screens";
		fPrimary = QGuiApplication::primaryScreen();
		fOther = QGuiApplication::screens()[0] == fPrimary
			? QGuiApplication::screens()[1] : QGuiApplication::screens()[0];
		fPointer = QCursor::pos();
	}

	void TearDown() override
	{
		if (fPrimary != nullptr)
			QCursor::setPos(fPointer);
	}

	QScreen* fPrimary = nullptr;
	QScreen* fOther = nullptr;
	QPoint fPointer;
};


TEST_F(MainScreenChoice, TheMainScreenIsTheOneThePointerIsOn)
{
	struct Case {
		const char* name;
		QPoint pointer;
		QScreen* main;
	} cases[] = {
		{"on the primary screen", fPrimary->geometry().center(), fPrimary},
		{"on the other screen", fOther->geometry().center(), fOther},
		{"on the other screen's corner", fOther->geometry().topLeft(), fOther},
		{"on no screen", QPoint(-50, -50), fPrimary},
	};
	for (const Case& c : cases) {
		QCursor::setPos(c.pointer);
		BScreen screen(B_MAIN_SCREEN_ID);
		EXPECT_EQ(usable_frame(c.main), screen.Frame())
			<< c.name;
		// The other screen comes next, and nothing after it.
		ASSERT_EQ(B_OK, screen.SetToNext()) << c.name;
		QScreen* next = c.main == fPrimary ? fOther : fPrimary;
		EXPECT_EQ(usable_frame(next), screen.Frame())
			<< c.name;
		EXPECT_NE(B_OK, screen.SetToNext()) << c.name;
	}
}

}
