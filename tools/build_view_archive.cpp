// Turns the readable source of a view layout into the flattened view
// archive that BView's archive constructors and instantiate_object() read:
// one BMessage per view with the fields the interface kit's Archive()
// methods write, the children nested under "_views".
//
// Usage: build_view_archive <source> <output>
//
// The source, UTF-8, one view per line:
//
//   <Class> <name> <left>,<top>,<right>,<bottom> [<attribute>=<value> ...] [{]
//
// - <Class> is one of BView, BBox, BButton, BCheckBox, BRadioButton,
//   BTextControl, BStringView, BMenuField, BTabView.
// - <name> is a word or a "quoted text"; "-" (unquoted) leaves the view
//   without a name.
// - The frame is the view's inclusive rectangle in its parent, in pixels,
//   written without blanks.
// - A line ending in "{" opens the view: the views on the following lines
//   are its children, up to a line holding only "}". Only BView, BBox and
//   BTabView hold children; views nest at most 32 deep. The source holds
//   exactly one root view.
// - Each child of a BTabView is the view of one tab, in tab order; its
//   attribute tab=<text> is the tab's label.
// - Values are words or "quoted texts" (escapes: \" and \\). Attributes,
//   each at most once per view:
//     every view     resize=<left|top|right|bottom|left_right|top_bottom|
//                            h_center|v_center|all|none, joined by '|'>
//                    (default left|top)
//                    flags=<will_draw|navigable|navigable_jump|frame_events|
//                           full_update_on_resize|pulse_needed|
//                           subpixel_precise|draw_on_children|
//                           input_method_aware|none, joined by '|'>
//                    (default: what the class's constructor takes)
//                    hidden=true|false   font_size=<pixels>
//                    tab=<text> (only as a child of a BTabView)
//     BBox           label=<text>   style=plain|fancy|none
//     BButton, BCheckBox, BRadioButton
//                    label=<text>   value=<whole number>   disabled=true|false
//     BTextControl   label=<text>   text=<text>   divider=<pixels>
//                    disabled=true|false
//     BStringView    text=<text>    align=left|right|center
//     BMenuField     label=<text>   divider=<pixels>   disabled=true|false
//                    menu=<name of its pop-up menu>
// - "#" starts a comment to the end of the line (outside quoted texts);
//   blank lines are ignored.
//
// Example:
//
//   BView - 0,0,199,99 resize=all {
//       BBox Options 10,10,189,60 label="Options" {
//           BCheckBox Loud 10,20,100,38 label="Loud"
//       }
//       BButton OK 110,65,189,89 label="OK"   # the default button
//   }
//
// A refused source is reported as "<source>:<line>: <reason>" and no
// output is written.

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include <File.h>
#include <Message.h>

#include "ViewArchiveSource.h"

int
main(int argc, char** argv)
{
	if (argc != 3) {
		fprintf(stderr, "usage: build_view_archive <source> <output>\n");
		return 2;
	}
	std::ifstream input(argv[1], std::ios::binary);
	if (!input) {
		fprintf(stderr, "build_view_archive: cannot read %s\n", argv[1]);
		return 1;
	}
	const std::string text((std::istreambuf_iterator<char>(input)),
		std::istreambuf_iterator<char>());

	BMessage archive;
	TViewArchiveError error;
	if (!parse_view_archive_source(text, &archive, &error)) {
		fprintf(stderr, "%s:%d: %s\n", argv[1], (int)error.line, error.message.c_str());
		return 1;
	}
	BFile output(argv[2], B_WRITE_ONLY | B_CREATE_FILE | B_ERASE_FILE);
	if (output.InitCheck() != B_OK || archive.Flatten(&output) != B_OK) {
		fprintf(stderr, "build_view_archive: cannot write %s\n", argv[2]);
		remove(argv[2]);
		return 1;
	}
	return 0;
}
