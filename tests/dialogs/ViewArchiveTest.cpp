#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <typeinfo>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <Application.h>
#include <Box.h>
#include <Button.h>
#include <CheckBox.h>
#include <Menu.h>
#include <MenuField.h>
#include <PopUpMenu.h>
#include <RadioButton.h>
#include <Resources.h>
#include <StringView.h>
#include <TextControl.h>
#include <View.h>

#include "GuiTest.h"
#include "TempFolder.h"
#include "ViewArchiveSource.h"

namespace {

// One line per view, children indented, with everything the builder can set.
void
describe(BView* view, int depth, std::ostringstream* out)
{
	BRect frame = view->Frame();
	*out << std::string(depth * 2, ' ') << typeid(*view).name() << " '"
		<< (view->Name() != NULL ? view->Name() : "(none)") << "' " << frame.left << ','
		<< frame.top << ',' << frame.right << ',' << frame.bottom << " resize="
		<< view->ResizingMode() << " flags=" << view->Flags() << " hidden="
		<< view->IsHidden();
	BFont font;
	view->GetFont(&font);
	*out << " font=" << font.Size();
	if (BBox* box = dynamic_cast<BBox*>(view))
		*out << " label=" << box->Label() << " style=" << box->Border();
	if (BControl* control = dynamic_cast<BControl*>(view)) {
		*out << " label=" << control->Label() << " value=" << control->Value()
			<< " enabled=" << control->IsEnabled();
	}
	if (BTextControl* entry = dynamic_cast<BTextControl*>(view))
		*out << " text=" << entry->Text() << " divider=" << entry->Divider();
	if (BStringView* string = dynamic_cast<BStringView*>(view))
		*out << " text=" << string->Text() << " align=" << string->Alignment();
	if (BMenuField* field = dynamic_cast<BMenuField*>(view)) {
		*out << " label=" << field->Label() << " divider=" << field->Divider()
			<< " enabled=" << field->IsEnabled() << " menu=" << field->Menu()->Name();
	}
	*out << '\n';
	// A text control's entry and a menu field's menu are its own parts.
	if (dynamic_cast<BControl*>(view) != NULL || dynamic_cast<BMenuField*>(view) != NULL)
		return;
	for (int32 i = 0; i < view->CountChildren(); i++)
		describe(view->ChildAt(i), depth + 1, out);
}


std::string
describe(BView* view)
{
	std::ostringstream out;
	describe(view, 0, &out);
	return out.str();
}


std::unique_ptr<BView>
instantiate(BMessage* archive)
{
	return std::unique_ptr<BView>(dynamic_cast<BView*>(instantiate_object(archive)));
}


// The views of resources/EveryViewKind.view, made in code.
BView*
every_view_kind_in_code()
{
	BView* root = new BView(BRect(0, 0, 399, 299), NULL, B_FOLLOW_ALL,
		B_WILL_DRAW | B_FRAME_EVENTS);
	BBox* box = new BBox(BRect(5, 5, 200, 150), "Box with \"quotes\"",
		B_FOLLOW_LEFT_RIGHT | B_FOLLOW_TOP, B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE_JUMP,
		B_PLAIN_BORDER);
	box->SetLabel("オプション");
	BCheckBox* check = new BCheckBox(BRect(10, 20, 100, 38), "Check", "C - check", NULL);
	check->SetValue(B_CONTROL_ON);
	BRadioButton* radio = new BRadioButton(BRect(10, 40, 100, 58), "Radio", "R - radio", NULL);
	radio->SetEnabled(false);
	BTextControl* entry = new BTextControl(BRect(10, 60, 180, 79), "Entry", "Entry", "42",
		NULL);
	entry->SetDivider(60);
	BStringView* unit = new BStringView(BRect(10, 85, 60, 99), "Unit", "ms");
	unit->SetAlignment(B_ALIGN_RIGHT);
	BView* inner = new BView(BRect(10, 100, 50, 140), "Inner", B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW);
	BButton* deep = new BButton(BRect(0, 0, 30, 20), "Deep", "Deep", NULL,
		B_FOLLOW_LEFT | B_FOLLOW_TOP, B_WILL_DRAW | B_NAVIGABLE);
	deep->Hide();
	inner->AddChild(deep);
	box->AddChild(check);
	box->AddChild(radio);
	box->AddChild(entry);
	box->AddChild(unit);
	box->AddChild(inner);
	root->AddChild(box);
	BMenuField* menu = new BMenuField(BRect(210, 5, 390, 27), "Menu", "Menu",
		new BPopUpMenu("Choices"));
	menu->SetDivider(40);
	root->AddChild(menu);
	BButton* ok = new BButton(BRect(300, 260, 390, 290), "OK", "OK", NULL,
		B_FOLLOW_RIGHT | B_FOLLOW_BOTTOM);
	BFont font;
	ok->GetFont(&font);
	font.SetSize(14);
	ok->SetFont(&font);
	root->AddChild(ok);
	root->AddChild(new BStringView(BRect(5, 260, 100, 275), NULL, NULL));
	return root;
}


class ViewArchiveTest : public GuiTest {};


TEST_F(ViewArchiveTest, ABuiltArchiveMakesTheSameViewsAsCode)
{
	size_t size = 0;
	const void* data = BApplication::AppResources()->LoadResource('ARCV',
		"EveryViewKindRsrc", &size);
	ASSERT_NE(data, nullptr);
	BMessage built;
	ASSERT_EQ(built.Unflatten(static_cast<const char*>(data), size), B_OK);

	std::unique_ptr<BView> inCode(every_view_kind_in_code());
	BMessage archived;
	ASSERT_EQ(inCode->Archive(&archived, true), B_OK);

	std::unique_ptr<BView> fromBuilt = instantiate(&built);
	std::unique_ptr<BView> fromCode = instantiate(&archived);
	ASSERT_NE(fromBuilt, nullptr);
	ASSERT_NE(fromCode, nullptr);
	EXPECT_EQ(describe(fromBuilt.get()), describe(fromCode.get()));
	EXPECT_EQ(describe(fromBuilt.get()), describe(inCode.get()));
}


struct BadSource {
	const char* defect;
	const char* text;
	int32 line;
	const char* reason;
};

const BadSource kBadSources[] = {
	{"unknown class", "# a comment\nBView - 0,0,9,9 {\nBWidget W 0,0,1,1\n}\n", 3,
		"unknown view class 'BWidget'"},
	{"three frame numbers", "BView - 0,0,9\n", 1, "left,top,right,bottom"},
	{"five frame numbers", "BView - 0,0,9,9,9\n", 1, "left,top,right,bottom"},
	{"frame not a number", "BView - 0,0,nine,9\n", 1, "left,top,right,bottom"},
	{"frame not finite", "BView - 0,0,inf,9\n", 1, "left,top,right,bottom"},
	{"frame backwards", "BView - 10,0,5,9\n", 1, "ends before it starts"},
	{"missing frame", "BView -\n", 1, "expected: class name"},
	{"quote not closed", "BView - 0,0,9,9 {\nBBox B 0,0,5,5 label=\"open\n}\n", 2,
		"not closed"},
	{"unknown escape", "BBox B 0,0,5,5 label=\"a\\nb\"\n", 1, "escapes"},
	{"attribute of another class", "BView - 0,0,9,9 {\n\nBStringView S 0,0,5,5 label=x\n}\n",
		3, "BStringView takes no 'label'"},
	{"attribute twice", "BButton B 0,0,5,5 label=a label=b\n", 1, "given twice"},
	{"attribute without value", "BButton B 0,0,5,5 label=\n", 1, "expected attribute=value"},
	{"stray word", "BButton B 0,0,5,5 label\n", 1, "expected attribute=value"},
	{"unknown resizing mode", "BView - 0,0,9,9 resize=left|middle\n", 1,
		"unknown resizing mode 'middle'"},
	{"unknown flag", "BView - 0,0,9,9 flags=will_draw|glow\n", 1, "unknown view flag 'glow'"},
	{"value too large", "BCheckBox C 0,0,5,5 value=99999999999999999999\n", 1,
		"whole number"},
	{"value not a number", "BCheckBox C 0,0,5,5 value=on\n", 1, "whole number"},
	{"not a truth value", "BButton B 0,0,5,5 disabled=yes\n", 1, "true or false"},
	{"negative divider", "BTextControl T 0,0,5,5 divider=-4\n", 1, "pixels"},
	{"unknown style", "BBox B 0,0,5,5 style=wavy\n", 1, "unknown border style"},
	{"close without open", "BView - 0,0,9,9\n}\n", 2, "closes no view"},
	{"close with more", "BView - 0,0,9,9 {\n} x\n", 2, "stands alone"},
	{"never closed", "BView - 0,0,9,9 {\nBBox B 0,0,5,5 {\n}\n", 1, "not closed"},
	{"second root", "BView - 0,0,9,9\nBView - 0,0,9,9\n", 2, "second root"},
	{"children of a control", "BView - 0,0,9,9 {\nBButton B 0,0,5,5 {\n}\n}\n", 2,
		"BButton holds no child views"},
	{"open brace not last", "BView - 0,0,9,9 { label=x\n}\n", 1, "expected attribute=value"},
	{"tab outside a tab view", "BView - 0,0,9,9 {\nBView V 0,0,5,5 tab=x\n}\n", 2,
		"only a view inside a BTabView"},
	{"tab on the root", "BView - 0,0,9,9 tab=x\n", 1, "only a view inside a BTabView"},
	{"nothing at all", "# only a comment\n\n", 2, "holds no view"},
	{"empty", "", 1, "holds no view"},
};


TEST(ViewArchiveSourceTest, BadSourcesAreRefusedWithTheirLine)
{
	for (const BadSource& bad : kBadSources) {
		SCOPED_TRACE(bad.defect);
		BMessage archive;
		archive.AddInt32("left over", 1);
		TViewArchiveError error;
		EXPECT_FALSE(parse_view_archive_source(bad.text, &archive, &error));
		EXPECT_EQ(error.line, bad.line);
		EXPECT_NE(error.message.find(bad.reason), std::string::npos) << error.message;
		EXPECT_TRUE(archive.IsEmpty());
	}
}


TEST(ViewArchiveSourceTest, NestingIsBoundedBelowWhatAMessageHolds)
{
	auto nested = [](int levels) {
		std::string text;
		for (int i = 0; i < levels; i++)
			text += "BView - 0,0,9,9 {\n";
		for (int i = 0; i < levels; i++)
			text += "}\n";
		return text;
	};
	BMessage archive;
	TViewArchiveError error;
	EXPECT_TRUE(parse_view_archive_source(nested(32), &archive, &error)) << error.message;
	EXPECT_FALSE(parse_view_archive_source(nested(33), &archive, &error));
	EXPECT_EQ(error.line, 33);
	EXPECT_NE(error.message.find("deeper than 32"), std::string::npos) << error.message;
}


TEST(ViewArchiveSourceTest, WindowsLineEndsAndCommentsAreAccepted)
{
	BMessage archive;
	TViewArchiveError error;
	ASSERT_TRUE(parse_view_archive_source(
		"# layout\r\nBView Root 0,0,9,9 { # the root\r\n"
		"\tBStringView S 0,0,5,5 text=\"a # b\"\r\n}\r\n", &archive, &error))
		<< error.message;
	BMessage child;
	ASSERT_EQ(archive.FindMessage("_views", &child), B_OK);
	EXPECT_STREQ(child.FindString("_text"), "a # b");
	EXPECT_STREQ(archive.FindString("_name"), "Root");
}



// The builder as the build runs it, its standard error into a file; the
// exit status, or -1 when it did not run to its end.
int
run_builder(const std::string& source, const std::string& output, const std::string& errors)
{
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(),
		O_WRONLY | O_CREAT | O_TRUNC, 0644);
	const char* argv[] = {VIEW_ARCHIVE_BUILDER, source.c_str(), output.c_str(), nullptr};
	pid_t pid = -1;
	const int started = posix_spawn(&pid, VIEW_ARCHIVE_BUILDER, &actions, nullptr,
		const_cast<char* const*>(argv), environ);
	posix_spawn_file_actions_destroy(&actions);
	int status = 0;
	if (started != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
		return -1;
	return WEXITSTATUS(status);
}


// A refused source fails the build with its file and line, and leaves no
// archive behind; a good one gives the archive the reader makes.
TEST(ViewArchiveBuilderTest, ReportsTheLineAndWritesOnlyGoodArchives)
{
	TempFolder folder;
	const std::string bad = folder / "Bad.view";
	const std::string good = folder / "Good.view";
	const std::string archive = folder / "Out.arcv";
	const std::string errors = folder / "errors.txt";
	write_whole_file(bad, "BView - 0,0,9,9 {\n\tBButton OK 0,0,5,5 lable=\"OK\"\n}\n");
	write_whole_file(good, "BView - 0,0,9,9 {\n\tBButton OK 0,0,5,5 label=\"OK\"\n}\n");

	EXPECT_EQ(1, run_builder(bad, archive, errors));
	EXPECT_EQ(bad + ":2: BButton takes no 'lable' (it takes: label, value, disabled, hidden, "
		"resize, flags, font_size, tab)\n", read_whole_file(errors));
	EXPECT_FALSE(std::filesystem::exists(archive));

	ASSERT_EQ(0, run_builder(good, archive, errors));
	EXPECT_EQ("", read_whole_file(errors));
	const std::string flat = read_whole_file(archive);
	BMessage written;
	ASSERT_EQ(B_OK, written.Unflatten(flat.data(), flat.size()));
	BMessage read;
	TViewArchiveError error;
	ASSERT_TRUE(parse_view_archive_source(read_whole_file(good), &read, &error));
	EXPECT_EQ(read.FlattenedSize(), written.FlattenedSize());
	BMessage button;
	ASSERT_EQ(B_OK, written.FindMessage("_views", &button));
	EXPECT_STREQ("OK", button.FindString("_label"));
}

}	// namespace
