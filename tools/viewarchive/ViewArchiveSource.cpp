#include "ViewArchiveSource.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <vector>

#include <InterfaceDefs.h>
#include <Message.h>
#include <Rect.h>
#include <View.h>

namespace {

// Deeper than any dialog needs and well inside the 63 levels a message
// holds. Each closed view is copied once into its parent, so the bound also
// keeps the whole read linear.
const size_t kMaxDepth = 32;

enum Attribute : uint32 {
	kLabel = 1 << 0,
	kText = 1 << 1,
	kDivider = 1 << 2,
	kValue = 1 << 3,
	kDisabled = 1 << 4,
	kHidden = 1 << 5,
	kResize = 1 << 6,
	kFlags = 1 << 7,
	kStyle = 1 << 8,
	kAlign = 1 << 9,
	kMenu = 1 << 10,
	kFontSize = 1 << 11,
	kTab = 1 << 12
};

const uint32 kEveryView = kResize | kFlags | kHidden | kFontSize | kTab;
const uint32 kControl = kEveryView | kLabel | kValue | kDisabled;

// Where a view's tab label waits until the view is put into its BTabView.
const char kTabLabelField[] = "_tab_label";

struct NamedValue {
	const char* name;
	uint32 value;
};

const NamedValue kAttributes[] = {
	{"label", kLabel}, {"text", kText}, {"divider", kDivider}, {"value", kValue},
	{"disabled", kDisabled}, {"hidden", kHidden}, {"resize", kResize}, {"flags", kFlags},
	{"style", kStyle}, {"align", kAlign}, {"menu", kMenu}, {"font_size", kFontSize},
	{"tab", kTab}
};

struct ViewClass {
	const char* name;
	// The flags the class's constructor takes by default.
	uint32 flags;
	uint32 attributes;
	bool holdsChildren;
};

const ViewClass kClasses[] = {
	{"BView", B_WILL_DRAW, kEveryView, true},
	{"BBox", B_WILL_DRAW | B_FRAME_EVENTS | B_NAVIGABLE_JUMP,
		kEveryView | kLabel | kStyle, true},
	{"BButton", B_WILL_DRAW | B_NAVIGABLE | B_FULL_UPDATE_ON_RESIZE, kControl, false},
	{"BCheckBox", B_WILL_DRAW | B_NAVIGABLE, kControl, false},
	{"BRadioButton", B_WILL_DRAW | B_NAVIGABLE, kControl, false},
	{"BTextControl", B_WILL_DRAW | B_NAVIGABLE,
		kEveryView | kLabel | kText | kDivider | kDisabled, false},
	{"BStringView", B_WILL_DRAW, kEveryView | kText | kAlign, false},
	{"BMenuField", B_WILL_DRAW | B_NAVIGABLE,
		kEveryView | kLabel | kDivider | kDisabled | kMenu, false},
	{"BTabView", B_FULL_UPDATE_ON_RESIZE | B_WILL_DRAW | B_NAVIGABLE_JUMP | B_FRAME_EVENTS
		| B_NAVIGABLE, kEveryView, true}
};

const NamedValue kResizeNames[] = {
	{"none", B_FOLLOW_NONE}, {"all", B_FOLLOW_ALL}, {"left", B_FOLLOW_LEFT},
	{"right", B_FOLLOW_RIGHT}, {"left_right", B_FOLLOW_LEFT_RIGHT},
	{"h_center", B_FOLLOW_H_CENTER}, {"top", B_FOLLOW_TOP}, {"bottom", B_FOLLOW_BOTTOM},
	{"top_bottom", B_FOLLOW_TOP_BOTTOM}, {"v_center", B_FOLLOW_V_CENTER}
};

const NamedValue kFlagNames[] = {
	{"none", 0}, {"will_draw", B_WILL_DRAW}, {"navigable", B_NAVIGABLE},
	{"navigable_jump", B_NAVIGABLE_JUMP}, {"frame_events", B_FRAME_EVENTS},
	{"full_update_on_resize", B_FULL_UPDATE_ON_RESIZE}, {"pulse_needed", B_PULSE_NEEDED},
	{"subpixel_precise", B_SUBPIXEL_PRECISE}, {"draw_on_children", B_DRAW_ON_CHILDREN},
	{"input_method_aware", B_INPUT_METHOD_AWARE}
};

const NamedValue kStyleNames[] = {
	{"plain", B_PLAIN_BORDER}, {"fancy", B_FANCY_BORDER}, {"none", B_NO_BORDER}
};

const NamedValue kAlignNames[] = {
	{"left", B_ALIGN_LEFT}, {"right", B_ALIGN_RIGHT}, {"center", B_ALIGN_CENTER}
};


template<size_t count>
const NamedValue*
find_named(const NamedValue (&table)[count], std::string_view name)
{
	for (const NamedValue& entry : table) {
		if (name == entry.name)
			return &entry;
	}
	return nullptr;
}


template<size_t count>
std::string
list_names(const NamedValue (&table)[count])
{
	std::string names;
	for (const NamedValue& entry : table) {
		if (!names.empty())
			names += ", ";
		names += entry.name;
	}
	return names;
}


std::string
attribute_names(uint32 attributes)
{
	std::string names;
	for (const NamedValue& entry : kAttributes) {
		if ((entry.value & attributes) == 0)
			continue;
		if (!names.empty())
			names += ", ";
		names += entry.name;
	}
	return names;
}


const ViewClass*
find_class(std::string_view name)
{
	for (const ViewClass& viewClass : kClasses) {
		if (name == viewClass.name)
			return &viewClass;
	}
	return nullptr;
}


std::string
class_names()
{
	std::string names;
	for (const ViewClass& viewClass : kClasses) {
		if (!names.empty())
			names += ", ";
		names += viewClass.name;
	}
	return names;
}


enum class TokenKind { kWord, kString, kEquals, kOpen, kClose };

struct Token {
	TokenKind kind;
	std::string text;
};


// Why a reader answered false.
struct Problem {
	std::string message;

	bool Set(std::string text)
	{
		message = std::move(text);
		return false;
	}
};


bool
is_word_end(char c)
{
	return c == ' ' || c == '\t' || c == '\r' || c == '=' || c == '"' || c == '#'
		|| c == '{' || c == '}';
}


bool
tokenize(std::string_view line, std::vector<Token>* tokens, Problem* problem)
{
	tokens->clear();
	size_t at = 0;
	while (at < line.size()) {
		const char c = line[at];
		if (c == ' ' || c == '\t' || c == '\r') {
			at++;
		} else if (c == '#') {
			break;
		} else if (c == '=' || c == '{' || c == '}') {
			tokens->push_back({c == '=' ? TokenKind::kEquals
				: c == '{' ? TokenKind::kOpen : TokenKind::kClose, std::string(1, c)});
			at++;
		} else if (c == '"') {
			std::string text;
			at++;
			for (;; at++) {
				if (at >= line.size())
					return problem->Set("a quoted text is not closed");
				if (line[at] == '"')
					break;
				if (line[at] == '\\') {
					if (at + 1 >= line.size() || (line[at + 1] != '"' && line[at + 1] != '\\'))
						return problem->Set("in a quoted text only \\\" and \\\\ are escapes");
					at++;
				}
				text += line[at];
			}
			at++;
			tokens->push_back({TokenKind::kString, std::move(text)});
		} else {
			const size_t start = at;
			while (at < line.size() && !is_word_end(line[at]))
				at++;
			tokens->push_back({TokenKind::kWord, std::string(line.substr(start, at - start))});
		}
	}
	return true;
}


bool
parse_number(const std::string& text, double* number)
{
	if (text.empty())
		return false;
	char* end = nullptr;
	errno = 0;
	const double value = strtod(text.c_str(), &end);
	if (*end != '\0' || errno == ERANGE || !std::isfinite(value))
		return false;
	*number = value;
	return true;
}


bool
parse_frame(const std::string& text, BRect* frame, Problem* problem)
{
	double values[4];
	size_t start = 0;
	for (int i = 0; i < 4; i++) {
		const size_t comma = text.find(',', start);
		const bool last = i == 3;
		if (last != (comma == std::string::npos)
			|| !parse_number(text.substr(start, last ? std::string::npos : comma - start),
				&values[i])) {
			return problem->Set("expected the frame as left,top,right,bottom, found '"
				+ text + "'");
		}
		start = comma + 1;
	}
	if (values[2] < values[0] || values[3] < values[1])
		return problem->Set("the frame '" + text + "' ends before it starts");
	*frame = BRect(values[0], values[1], values[2], values[3]);
	return true;
}


// "a|b|c" over one of the name tables.
template<size_t count>
bool
parse_names(const NamedValue (&table)[count], const std::string& text, const char* what,
	uint32* value, Problem* problem)
{
	uint32 result = 0;
	size_t start = 0;
	for (;;) {
		const size_t bar = text.find('|', start);
		const std::string name = text.substr(start,
			bar == std::string::npos ? std::string::npos : bar - start);
		const NamedValue* entry = find_named(table, name);
		if (entry == nullptr) {
			return problem->Set("unknown " + std::string(what) + " '" + name
				+ "' (known: " + list_names(table) + ")");
		}
		result |= entry->value;
		if (bar == std::string::npos)
			break;
		start = bar + 1;
	}
	*value = result;
	return true;
}


bool
parse_bool(const std::string& text, bool* value, Problem* problem)
{
	if (text != "true" && text != "false")
		return problem->Set("expected true or false, found '" + text + "'");
	*value = text == "true";
	return true;
}


// Adds one attribute's field to the view's archive.
bool
add_attribute(uint32 attribute, const std::string& value, BMessage* archive,
	Problem* problem)
{
	double number = 0;
	uint32 named = 0;
	bool flag = false;
	switch (attribute) {
		case kLabel:
			archive->AddString("_label", value.c_str());
			return true;
		case kText:
			archive->AddString("_text", value.c_str());
			return true;
		case kTab:
			archive->AddString(kTabLabelField, value.c_str());
			return true;
		case kMenu: {
			BMessage menu;
			menu.AddString("_name", value.c_str());
			archive->AddMessage("_menu", &menu);
			return true;
		}
		case kDivider:
		case kFontSize:
			if (!parse_number(value, &number) || number < 0)
				return problem->Set("expected a number of pixels, found '" + value + "'");
			archive->AddFloat(attribute == kDivider ? "_divide" : "_font_size", (float)number);
			return true;
		case kValue: {
			char* end = nullptr;
			errno = 0;
			const long parsed = value.empty() ? 0 : strtol(value.c_str(), &end, 10);
			if (value.empty() || *end != '\0' || errno == ERANGE || parsed < INT32_MIN
				|| parsed > INT32_MAX) {
				return problem->Set("expected a whole number, found '" + value + "'");
			}
			archive->AddInt32("_val", (int32)parsed);
			return true;
		}
		case kDisabled:
		case kHidden:
			if (!parse_bool(value, &flag, problem))
				return false;
			archive->AddBool(attribute == kDisabled ? "_disable" : "_hidden", flag);
			return true;
		case kStyle:
			if (!parse_names(kStyleNames, value, "border style", &named, problem))
				return false;
			archive->AddInt32("_style", (int32)named);
			return true;
		case kAlign:
			if (!parse_names(kAlignNames, value, "alignment", &named, problem))
				return false;
			archive->AddInt32("_align", (int32)named);
			return true;
		default:
			return problem->Set("unhandled attribute");
	}
}


bool
is_text(const Token& token)
{
	return token.kind == TokenKind::kWord || token.kind == TokenKind::kString;
}


// One view's line: Class name frame attribute=value... [{]
bool
parse_view(const std::vector<Token>& tokens, BMessage* archive, const ViewClass** viewClass,
	bool* opens, Problem* problem)
{
	*viewClass = find_class(tokens[0].text);
	if (tokens[0].kind != TokenKind::kWord || *viewClass == nullptr) {
		return problem->Set("unknown view class '" + tokens[0].text + "' (known: "
			+ class_names() + ")");
	}
	if (tokens.size() < 3 || !is_text(tokens[1]) || tokens[2].kind != TokenKind::kWord)
		return problem->Set("expected: class name left,top,right,bottom [attribute=value ...] [{]");
	BRect frame;
	if (!parse_frame(tokens[2].text, &frame, problem))
		return false;

	archive->AddString("class", (*viewClass)->name);
	// "-" stands for a view without a name.
	if (tokens[1].kind == TokenKind::kString || tokens[1].text != "-")
		archive->AddString("_name", tokens[1].text.c_str());
	archive->AddRect("_frame", frame);

	uint32 resizingMode = B_FOLLOW_LEFT | B_FOLLOW_TOP;
	uint32 flags = (*viewClass)->flags;
	uint32 seen = 0;
	size_t at = 3;
	*opens = false;
	while (at < tokens.size()) {
		if (tokens[at].kind == TokenKind::kOpen && at + 1 == tokens.size()) {
			*opens = true;
			break;
		}
		if (tokens[at].kind != TokenKind::kWord || at + 2 >= tokens.size()
			|| tokens[at + 1].kind != TokenKind::kEquals || !is_text(tokens[at + 2])) {
			return problem->Set("expected attribute=value or a final '{', found '"
				+ tokens[at].text + "'");
		}
		const std::string& name = tokens[at].text;
		const std::string& value = tokens[at + 2].text;
		const NamedValue* attribute = find_named(kAttributes, name);
		if (attribute == nullptr || (attribute->value & (*viewClass)->attributes) == 0) {
			return problem->Set(std::string((*viewClass)->name) + " takes no '" + name
				+ "' (it takes: " + attribute_names((*viewClass)->attributes) + ")");
		}
		if ((seen & attribute->value) != 0)
			return problem->Set("'" + name + "' is given twice");
		seen |= attribute->value;
		if (attribute->value == kResize) {
			if (!parse_names(kResizeNames, value, "resizing mode", &resizingMode, problem))
				return false;
		} else if (attribute->value == kFlags) {
			if (!parse_names(kFlagNames, value, "view flag", &flags, problem))
				return false;
		} else if (!add_attribute(attribute->value, value, archive, problem)) {
			return false;
		}
		at += 3;
	}
	archive->AddInt32("_resize_mode", (int32)resizingMode);
	archive->AddInt32("_flags", (int32)flags);
	if (*opens && !(*viewClass)->holdsChildren)
		return problem->Set(std::string((*viewClass)->name) + " holds no child views");
	return true;
}


// A view inside a BTabView is the view of one tab: the tab view's archive
// holds each tab ("_l_items", a BTab with the label) and its view
// ("_view_list") side by side, in the same order.
bool
add_tab(BMessage* tabView, BMessage* view, Problem* problem)
{
	BMessage tab;
	tab.AddString("class", "BTab");
	const char* label = nullptr;
	if (view->FindString(kTabLabelField, &label) == B_OK)
		tab.AddString("_label", label);
	view->RemoveName(kTabLabelField);
	if (tabView->AddMessage("_l_items", &tab) != B_OK
		|| tabView->AddMessage("_view_list", view) != B_OK) {
		return problem->Set("the tab cannot be added to its tab view");
	}
	return true;
}


struct OpenView {
	BMessage archive;
	int32 line;
	bool holdsTabs;
};

}	// namespace


bool
parse_view_archive_source(const std::string& text, BMessage* archive,
	TViewArchiveError* error)
{
	archive->MakeEmpty();
	std::vector<OpenView> open;
	BMessage root;
	bool haveRoot = false;
	std::vector<Token> tokens;
	Problem problem;
	int32 number = 0;

	auto refuse = [&](int32 line) {
		error->line = line;
		error->message = problem.message;
		archive->MakeEmpty();
		return false;
	};
	// A finished view goes into the open view around it, or is the root.
	auto finish = [&](BMessage* view) {
		const bool isTab = !open.empty() && open.back().holdsTabs;
		if (!isTab && view->HasString(kTabLabelField))
			return problem.Set("'tab' labels only a view inside a BTabView");
		if (isTab)
			return add_tab(&open.back().archive, view, &problem);
		if (open.empty()) {
			root = *view;
			haveRoot = true;
			return true;
		}
		if (open.back().archive.AddMessage("_views", view) != B_OK)
			return problem.Set("the view cannot be added to its parent");
		return true;
	};

	size_t start = 0;
	while (start < text.size()) {
		size_t end = text.find('\n', start);
		if (end == std::string::npos)
			end = text.size();
		const std::string_view line(text.data() + start, end - start);
		start = end + 1;
		number++;
		if (!tokenize(line, &tokens, &problem))
			return refuse(number);
		if (tokens.empty())
			continue;

		if (tokens[0].kind == TokenKind::kClose) {
			if (tokens.size() != 1) {
				problem.Set("'}' stands alone on its line");
				return refuse(number);
			}
			if (open.empty()) {
				problem.Set("'}' closes no view");
				return refuse(number);
			}
			BMessage closed = open.back().archive;
			open.pop_back();
			if (!finish(&closed))
				return refuse(number);
			continue;
		}

		if (haveRoot && open.empty()) {
			problem.Set("a second root view: the archive holds one view and its children");
			return refuse(number);
		}
		BMessage view;
		const ViewClass* viewClass = nullptr;
		bool opens = false;
		if (!parse_view(tokens, &view, &viewClass, &opens, &problem))
			return refuse(number);
		if (opens) {
			if (open.size() >= kMaxDepth) {
				problem.Set("views nest deeper than " + std::to_string(kMaxDepth) + " levels");
				return refuse(number);
			}
			open.push_back({view, number, std::string_view(viewClass->name) == "BTabView"});
		} else if (!finish(&view)) {
			return refuse(number);
		}
	}
	if (!open.empty()) {
		problem.Set("the view opened here is not closed with '}'");
		return refuse(open.back().line);
	}
	if (!haveRoot) {
		problem.Set("the source holds no view");
		return refuse(number > 0 ? number : 1);
	}
	*archive = root;
	return true;
}
