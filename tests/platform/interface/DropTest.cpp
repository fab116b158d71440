#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

#include <AppDefs.h>
#include <Entry.h>
#include <Path.h>

#include "InterfaceTestSupport.h"
#include "RecordingView.h"

using namespace interface_test;

namespace {

// Keeps the drops that reach it.
class DropTarget : public BView {
public:
	DropTarget() : BView(BRect(0, 0, 150, 90), "target", B_FOLLOW_NONE, 0) {}
	void MessageReceived(BMessage* message) override
	{
		if (message->WasDropped())
			drops.push_back(*message);
		else
			BView::MessageReceived(message);
	}
	std::vector<BMessage> drops;
};


TEST(DropTest, DesktopFilesArriveAsSimpleDataAndTravelToTheParent)
{
	char folder[] = "/tmp/vantu-drop-XXXXXX";
	ASSERT_NE(mkdtemp(folder), nullptr);
	const std::string file = std::string(folder) + "/song.mid";
	FILE* handle = fopen(file.c_str(), "w");
	ASSERT_NE(handle, nullptr);
	fclose(handle);

	WindowHolder window(make_window(BRect(100, 100, 299, 199)));
	DropTarget* target = new DropTarget;
	RecordingView* child = new RecordingView(BRect(10, 10, 59, 59), "child");
	window->AddChild(target);
	target->AddChild(child);
	show_and_settle(window.Get());

	QMimeData mime;
	mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file)),
		QUrl("http://example.com/not-a-file")});
	QWidget* widget = BPrivate::view_widget(child);
	// Qt delivers a drop to the widget that accepted the drag's entry.
	QDragEnterEvent enter(QPoint(5, 6), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
	QCoreApplication::sendEvent(widget, &enter);
	EXPECT_TRUE(enter.isAccepted());
	QDropEvent drop(QPointF(5, 6), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
	QCoreApplication::sendEvent(widget, &drop);
	ASSERT_TRUE(pump_until([target] { return !target->drops.empty(); }));

	const BMessage& message = target->drops.front();
	EXPECT_EQ(message.what, (uint32)B_SIMPLE_DATA);
	EXPECT_EQ(child->received, (std::vector<uint32>{B_SIMPLE_DATA}));
	entry_ref ref;
	ASSERT_EQ(message.FindRef("refs", &ref), B_OK);
	EXPECT_STREQ(BPath(&ref).Path(), file.c_str());
	EXPECT_NE(message.FindRef("refs", 1, &ref), B_OK);
	EXPECT_TRUE(message.IsSourceRemote());
	EXPECT_EQ(message.DropPoint(), BPoint(100 + 10 + 5, 100 + 10 + 6));

	// A handler that re-codes and reposts the message keeps the drop.
	BMessage recoded(message);
	recoded.what = 'csor';
	EXPECT_TRUE(recoded.WasDropped());

	remove(file.c_str());
	rmdir(folder);
}

}
