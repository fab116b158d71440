#include "PrefView.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include <Box.h>
#include <Button.h>
#include <CheckBox.h>
#include <Entry.h>
#include <InterfaceDefs.h>
#include <Looper.h>
#include <Menu.h>
#include <MenuField.h>
#include <MenuItem.h>
#include <Path.h>
#include <RadioButton.h>
#include <StringView.h>
#include <TextControl.h>
#include <TextView.h>
#include <Window.h>

#include <Alerts.h>
#include <Application.h>
#include <Files.h>
#include <PlayerMessages.h>
#include <VLT.h>
#include <WidthAdjust.h>
#include <WindowFunctions.h>

#include "AppGlobals.h"
#include "AppMessages.h"
#include "GlobalSettings.h"
#include "LanguageFiles.h"
#include "PKNApp.h"
#include "PKNDlgWin.h"
#include "ToolTip.h"

namespace {

const char kLangFileNameField[] = "LangFileName";
const char kStatBarStringField[] = "StatBarString";

const int32 kResetGM = 1;
const int32 kResetGS = 2;
const int32 kReset88 = 4;
const int32 kResetXG = 8;

const int64 kMicrosecondsPerMillisecond = 1000;
const int64 kMicrosecondsPerSecond = 1000000;

// The entry part of the two number fields.
const float kEntryWidth = 50;
// Between controls on one line, and between the content and the edges of a
// box or of the window.
const float kGap = 10;

const bigtime_t kToolTipDelay = 1000000;
const bigtime_t kToolTipShowTime = 3000000;

const rgb_color kEnabledTextColor = {0, 0, 0, 255};
const rgb_color kDisabledTextColor = {128, 128, 128, 255};


// What the user typed, read as strtol reads it (leading digits; text without
// digits is 0) and brought into minimum … maximum units before it becomes
// microseconds, so that no entry can overflow: a number too long for any
// integer reads as the upper bound.
int64
entry_to_microseconds(const char* text, int64 unit, int64 minimum, int64 maximum)
{
	// strtoll answers the largest or smallest value on overflow, which the
	// clamp then takes to the bound on that side.
	const long long number = std::clamp<long long>(strtoll(text, NULL, 10), minimum / unit,
		maximum / unit);
	return number * unit;
}


void
set_number(BTextControl* control, int64 number)
{
	control->SetText(std::to_string(number).c_str());
}


void
set_value(BControl* control, bool on)
{
	control->SetValue(on ? B_CONTROL_ON : B_CONTROL_OFF);
}


bool
is_on(const BControl* control)
{
	return control->Value() == B_CONTROL_ON;
}


// The frame's right edge in the coordinates of `root`.
float
right_in(const BView* view, const BView* root)
{
	float right = view->Frame().right;
	for (const BView* parent = view->Parent(); parent != NULL && parent != root;
			parent = parent->Parent()) {
		right += parent->Frame().left;
	}
	return right;
}

}	// namespace


TPrefView::TPrefView(BMessage* archive)
	:
	TPKNDlgView(archive),
	fSavedPref(gPref),
	fFoundAll(true),
	fBaseWidth(0),
	fBaseButtonWidth(0),
	fCBoxSendSysResets(NULL)
{
	SetViewColor(ui_color(B_PANEL_BACKGROUND_COLOR));
	fBoxSendSysResets = _Find<BBox>("BoxSendSysResets");
	fCBoxSRGM = _Find<BCheckBox>("CBoxSRGM");
	fCBoxSRGS = _Find<BCheckBox>("CBoxSRGS");
	fCBoxSR88 = _Find<BCheckBox>("CBoxSR88");
	fCBoxSRXG = _Find<BCheckBox>("CBoxSRXG");
	fTxtCtrlSilenceIntervalAfterSysResets
		= _Find<BTextControl>("TxtCtrlSilenceIntervalAfterSysResets");
	fStrViewSilenceIntervalAfterSysResets
		= _Find<BStringView>("StrViewSilenceIntervalAfterSysResets");
	fCBoxSilenceBetweenSongs = _Find<BCheckBox>("CBoxSilenceBetweenSongs");
	fTxtCtrlSilenceIntervalBetweenSongs
		= _Find<BTextControl>("TxtCtrlSilenceIntervalBetweenSongs");
	fStrViewSilenceIntervalBetweenSongs
		= _Find<BStringView>("StrViewSilenceIntervalBetweenSongs");
	fBoxAutoSort = _Find<BBox>("BoxAutoSort");
	fRButtonAutoSortNone = _Find<BRadioButton>("RButtonAutoSortNone");
	fRButtonAutoSortUp = _Find<BRadioButton>("RButtonAutoSortUp");
	fRButtonAutoSortDown = _Find<BRadioButton>("RButtonAutoSortDown");
	fMFieldLanguage = _Find<BMenuField>("MFieldLanguage");
	fButtonCancel = _Find<BButton>("ButtonCancel");
	fButtonOK = _Find<BButton>("ButtonOK");
	if (!fFoundAll)
		return;

	fBaseWidth = Bounds().Width();
	fBaseButtonWidth = fButtonOK->Bounds().Width();
	for (BRadioButton* button : _AutoSortButtons())
		fBaseRadioLefts.push_back(button->Frame().left);

	fCBoxSendSysResets = new BCheckBox(BRect(0, 0, 100, 20), "CBoxSendSysResets", "",
		new BMessage(kMsgSendSysResetsChanged), B_FOLLOW_LEFT | B_FOLLOW_TOP,
		B_WILL_DRAW | B_NAVIGABLE);
	fBoxSendSysResets->SetLabel(fCBoxSendSysResets);

	for (BCheckBox* box : {fCBoxSRGM, fCBoxSRGS, fCBoxSR88, fCBoxSRXG})
		box->SetMessage(new BMessage(kMsgSysResetCombinationChanged));
	fTxtCtrlSilenceIntervalAfterSysResets->SetModificationMessage(
		new BMessage(kMsgSilenceAfterResetsChanged));
	fCBoxSilenceBetweenSongs->SetMessage(new BMessage(kMsgSilenceBetweenSongsChanged));
	fTxtCtrlSilenceIntervalBetweenSongs->SetModificationMessage(
		new BMessage(kMsgSilenceIntervalChanged));
	for (BRadioButton* button : _AutoSortButtons())
		button->SetMessage(new BMessage(kMsgAutoSortChanged));
	_SetMFieldLanguage();
	fButtonCancel->SetMessage(new BMessage(kMsgPrefCancel));
	fButtonOK->SetMessage(new BMessage(kMsgPrefOK));
}


// Here, where the tool tips' class is complete.
TPrefView::~TPrefView() = default;


status_t
TPrefView::InitCheck() const
{
	return fFoundAll ? B_OK : B_NO_INIT;
}


void
TPrefView::AllAttached()
{
	TPKNDlgView::AllAttached();
	if (!fFoundAll)
		return;
	fToolTipSilenceIntervalAfterSysResets
		= std::make_unique<TToolTip>("ToolTipSilenceIntervalAfterSysResets");
	fToolTipSilenceIntervalBetweenSongs
		= std::make_unique<TToolTip>("ToolTipSilenceIntervalBetweenSongs");
	fToolTipSilenceIntervalAfterSysResets->SetTarget(
		fTxtCtrlSilenceIntervalAfterSysResets->TextView());
	fToolTipSilenceIntervalBetweenSongs->SetTarget(
		fTxtCtrlSilenceIntervalBetweenSongs->TextView());
	for (TToolTip* tip : {fToolTipSilenceIntervalAfterSysResets.get(),
			fToolTipSilenceIntervalBetweenSongs.get()}) {
		tip->SetDelayTime(kToolTipDelay);
		tip->SetShowTime(kToolTipShowTime);
	}
	_SetTargetToThis(this);
	fMFieldLanguage->Menu()->SetTargetForItems(this);
	_SetViewProp();
	_SetViewLabel();
	_UpdateCompos();
}


void
TPrefView::MessageReceived(BMessage* message)
{
	if (!fFoundAll) {
		TPKNDlgView::MessageReceived(message);
		return;
	}
	switch (message->what) {
		case kMsgSendSysResetsChanged:
			gPref.sendSysResets = is_on(fCBoxSendSysResets);
			_UpdateSRComposEnabled();
			break;
		case kMsgSysResetCombinationChanged:
			_SysResetCombinationChanged();
			break;
		case kMsgSilenceAfterResetsChanged:
			gPref.silenceAfterResets = entry_to_microseconds(
				fTxtCtrlSilenceIntervalAfterSysResets->Text(), kMicrosecondsPerMillisecond, 0,
				TPref::kMaxSilenceAfterResets);
			break;
		case kMsgSilenceBetweenSongsChanged:
			gPref.silenceBetweenSongs = is_on(fCBoxSilenceBetweenSongs);
			_UpdateSilenceIntervalBetweenSongsComposEnabled();
			break;
		case kMsgSilenceIntervalChanged:
			gPref.silenceBetweenSongsInterval = entry_to_microseconds(
				fTxtCtrlSilenceIntervalBetweenSongs->Text(), kMicrosecondsPerSecond,
				TPref::kMinSilenceBetweenSongs, TPref::kMaxSilenceBetweenSongs);
			break;
		case kMsgAutoSortChanged:
			gPref.autoSortKind = is_on(fRButtonAutoSortUp) ? 1
				: is_on(fRButtonAutoSortDown) ? 2 : 0;
			break;
		case kMsgLanguagePicked:
			_LanguagePicked();
			break;
		case kMsgPrefCancel:
			Revert();
			break;
		case kMsgPrefOK:
			_Confirm();
			break;
		case kMsgLanguageChanged:
			_SetViewLabel();
			break;
		case kMsgNodeLanguageChanged:
			_ReloadLanguageFiles();
			break;
		case kMsgLanguageFileDropped:
			// The dropped language is in force and saved already: a later
			// Cancel keeps it.
			fSavedPref.languageFile = gPref.languageFile;
			fSavedPref.languageChosen = gPref.languageChosen;
			_ReloadLanguageFiles();
			break;
		default:
			TPKNDlgView::MessageReceived(message);
	}
}


void
TPrefView::ShortCutDown(int32 rawChar, int32 key)
{
	if (rawChar == B_ESCAPE && fButtonCancel != NULL)
		pelkan::click_button(fButtonCancel);
	else
		TPKNDlgView::ShortCutDown(rawChar, key);
}


void
TPrefView::Revert()
{
	const TPref edited = gPref;
	if (Window() != NULL && !Window()->IsHidden())
		Window()->Hide();
	gPref = fSavedPref;
	// The other preferences are read where they are used; only the language
	// has to be loaded again.
	if (edited.languageFile != gPref.languageFile
		|| edited.languageChosen != gPref.languageChosen) {
		BMessage changed(kMsgPrefLanguageChanged);
		_NotifyPrefChange(&changed);
	}
	if (fFoundAll)
		_UpdateCompos();
}


template<class Control>
Control*
TPrefView::_Find(const char* name)
{
	Control* control = dynamic_cast<Control*>(FindView(name));
	if (control == NULL)
		fFoundAll = false;
	return control;
}


std::vector<BRadioButton*>
TPrefView::_AutoSortButtons() const
{
	return {fRButtonAutoSortNone, fRButtonAutoSortUp, fRButtonAutoSortDown};
}


void
TPrefView::_SetViewProp()
{
	fTxtCtrlSilenceIntervalAfterSysResets->SetAlignment(B_ALIGN_LEFT, B_ALIGN_RIGHT);
	fTxtCtrlSilenceIntervalBetweenSongs->SetAlignment(B_ALIGN_LEFT, B_ALIGN_RIGHT);
	if (Window() != NULL)
		Window()->SetDefaultButton(fButtonOK);
}


// Each line reads as one sentence: check-box text, number, unit text.
void
TPrefView::_SetViewLabel()
{
	fCBoxSendSysResets->SetLabel(gVLT.Text("CBox_Send_Sys_Resets"));
	pelkan::adjust_cbox_width(fCBoxSendSysResets);

	_LabelNumberLine(fTxtCtrlSilenceIntervalAfterSysResets,
		gVLT.Text("TxtCtrl_Silence_Interval_After_Sys_Resets"),
		fStrViewSilenceIntervalAfterSysResets,
		gVLT.Text("StrView_Silence_Interval_After_Sys_Resets"));
	_SetRangeTip(fToolTipSilenceIntervalAfterSysResets.get(), 0,
		TPref::kMaxSilenceAfterResets / kMicrosecondsPerMillisecond);

	fCBoxSilenceBetweenSongs->SetLabel(gVLT.Text("CBox_Silence_Between_Songs"));
	pelkan::adjust_cbox_width(fCBoxSilenceBetweenSongs);
	const BRect silenceFrame = fCBoxSilenceBetweenSongs->Frame();
	fTxtCtrlSilenceIntervalBetweenSongs->MoveTo(silenceFrame.right, silenceFrame.top);
	_LabelNumberLine(fTxtCtrlSilenceIntervalBetweenSongs, "",
		fStrViewSilenceIntervalBetweenSongs,
		gVLT.Text("StrView_Silence_Interval_Between_Songs"));
	_SetRangeTip(fToolTipSilenceIntervalBetweenSongs.get(),
		TPref::kMinSilenceBetweenSongs / kMicrosecondsPerSecond,
		TPref::kMaxSilenceBetweenSongs / kMicrosecondsPerSecond);

	fBoxAutoSort->SetLabel(gVLT.Text("Box_Auto_Sort"));
	fRButtonAutoSortNone->SetLabel(gVLT.Text("RButton_Auto_Sort_None"));
	fRButtonAutoSortUp->SetLabel(gVLT.Text("RButton_Auto_Sort_Up"));
	fRButtonAutoSortDown->SetLabel(gVLT.Text("RButton_Auto_Sort_Down"));
	for (BRadioButton* button : _AutoSortButtons())
		pelkan::adjust_rbutton_width(button);

	fMFieldLanguage->SetLabel(gVLT.Text("MField_Language"));
	pelkan::adjust_mfield_width(fMFieldLanguage);

	fButtonCancel->SetLabel(gVLT.Text("Button_Cancel"));
	fButtonOK->SetLabel(gVLT.Text("Button_OK"));
	_FitLayout();
}


void
TPrefView::_LabelNumberLine(BTextControl* control, const char* label, BStringView* unit,
	const char* unitText)
{
	control->SetLabel(label);
	pelkan::adjust_txtctrl_width(control);
	control->ResizeTo(control->Divider() + kEntryWidth, control->Bounds().Height());
	// A divider beyond the old width squeezed the entry to nothing, and the
	// resize then grew it past the field's edge, where a right-aligned
	// number is out of sight: placed again, it is exactly the entry width.
	control->SetDivider(control->Divider());
	const BRect frame = control->Frame();
	// Centred on the field rather than at its top, so that the unit stands
	// on the same line as the label and the number.
	unit->MoveTo(frame.right,
		frame.top + std::round((frame.Height() - unit->Frame().Height()) / 2));
	unit->SetText(unitText);
	pelkan::adjust_strview_width(unit);
}


// Longer texts than the layout was drawn for (English, or a language file's)
// must not overlap or be cut: the auto-sort choices move apart, the buttons
// grow leftwards from the right edge, and the window widens as far as the
// widest line needs. The boxes, the language field and the buttons follow
// the window's right edge.
void
TPrefView::_FitLayout()
{
	const std::vector<BRadioButton*> radios = _AutoSortButtons();
	float previousRight = -kGap;
	for (size_t i = 0; i < radios.size(); i++) {
		const float left = std::max(fBaseRadioLefts[i], previousRight + kGap);
		radios[i]->MoveTo(left, radios[i]->Frame().top);
		previousRight = radios[i]->Frame().right;
	}

	float needed = fBaseWidth;
	// Lines inside a box end a gap before its edge, which is a gap before
	// the window's.
	for (BView* view : {(BView*)fCBoxSendSysResets, (BView*)fStrViewSilenceIntervalAfterSysResets,
			(BView*)fCBoxSRXG, (BView*)radios.back()}) {
		needed = std::max(needed, right_in(view, this) + 2 * kGap);
	}
	needed = std::max(needed, right_in(fStrViewSilenceIntervalBetweenSongs, this) + kGap);

	float cancelWidth = 0;
	float okWidth = 0;
	float height = 0;
	fButtonCancel->GetPreferredSize(&cancelWidth, &height);
	fButtonOK->GetPreferredSize(&okWidth, &height);
	cancelWidth = std::max(fBaseButtonWidth, std::ceil(cancelWidth));
	okWidth = std::max(fBaseButtonWidth, std::ceil(okWidth));
	// The two buttons and the gaps around them fit in the window as well.
	needed = std::max(needed, kGap + cancelWidth + 2 * kGap + okWidth + kGap);

	if (Window() != NULL)
		Window()->ResizeTo(needed, Window()->Bounds().Height());
	else
		ResizeTo(needed, Bounds().Height());

	const BRect okFrame = fButtonOK->Frame();
	fButtonOK->ResizeTo(okWidth, okFrame.Height());
	fButtonOK->MoveTo(okFrame.right - okWidth, okFrame.top);
	fButtonCancel->ResizeTo(cancelWidth, fButtonCancel->Bounds().Height());
	fButtonCancel->MoveTo(fButtonOK->Frame().left - 2 * kGap - cancelWidth,
		fButtonCancel->Frame().top);
}


void
TPrefView::_SetRangeTip(TToolTip* tip, int64 minimum, int64 maximum)
{
	if (tip == NULL)
		return;
	const std::string text = std::to_string(minimum) + " " + gVLT.Text("Range_Hyphen") + " "
		+ std::to_string(maximum);
	tip->SetTip(text.c_str());
}


void
TPrefView::_UpdateCompos()
{
	set_value(fCBoxSendSysResets, gPref.sendSysResets);
	set_value(fCBoxSRGM, (gPref.sysResetCombination & kResetGM) != 0);
	set_value(fCBoxSRGS, (gPref.sysResetCombination & kResetGS) != 0);
	set_value(fCBoxSR88, (gPref.sysResetCombination & kReset88) != 0);
	set_value(fCBoxSRXG, (gPref.sysResetCombination & kResetXG) != 0);
	set_number(fTxtCtrlSilenceIntervalAfterSysResets,
		gPref.silenceAfterResets / kMicrosecondsPerMillisecond);
	_UpdateSRComposEnabled();
	set_value(fCBoxSilenceBetweenSongs, gPref.silenceBetweenSongs);
	set_number(fTxtCtrlSilenceIntervalBetweenSongs,
		gPref.silenceBetweenSongsInterval / kMicrosecondsPerSecond);
	_UpdateSilenceIntervalBetweenSongsComposEnabled();
	BRadioButton* sortButton = gPref.autoSortKind == 1 ? fRButtonAutoSortUp
		: gPref.autoSortKind == 2 ? fRButtonAutoSortDown : fRButtonAutoSortNone;
	for (BRadioButton* button : _AutoSortButtons())
		set_value(button, button == sortButton);
	_UpdateMFieldCompo();
}


void
TPrefView::_UpdateSRComposEnabled()
{
	const bool enabled = is_on(fCBoxSendSysResets);
	for (BCheckBox* box : {fCBoxSRGM, fCBoxSRGS, fCBoxSR88, fCBoxSRXG})
		box->SetEnabled(enabled);
	fTxtCtrlSilenceIntervalAfterSysResets->SetEnabled(enabled);
	fStrViewSilenceIntervalAfterSysResets->SetHighColor(
		enabled ? kEnabledTextColor : kDisabledTextColor);
	fStrViewSilenceIntervalAfterSysResets->Invalidate();
}


void
TPrefView::_UpdateSilenceIntervalBetweenSongsComposEnabled()
{
	fTxtCtrlSilenceIntervalBetweenSongs->SetEnabled(is_on(fCBoxSilenceBetweenSongs));
}


void
TPrefView::_SetMFieldLanguage()
{
	BMenu* menu = fMFieldLanguage->Menu();
	while (BMenuItem* item = menu->RemoveItem((int32)0))
		delete item;
	TLanguageFiles languages;
	get_lang_files(&languages);
	for (const auto& [name, path] : languages) {
		BMessage* message = new BMessage(kMsgLanguagePicked);
		message->AddString(kLangFileNameField, path.c_str());
		menu->AddItem(new BMenuItem(name.c_str(), message));
	}
}


void
TPrefView::_ReloadLanguageFiles()
{
	_SetMFieldLanguage();
	fMFieldLanguage->Menu()->SetTargetForItems(this);
	_UpdateMFieldCompo();
}


void
TPrefView::_UpdateMFieldCompo()
{
	BMenu* menu = fMFieldLanguage->Menu();
	bool marked = false;
	for (int32 i = 0; BMenuItem* item = menu->ItemAt(i); i++) {
		const char* path = NULL;
		const bool current = item->Message() != NULL
			&& item->Message()->FindString(kLangFileNameField, &path) == B_OK
			&& gPref.languageFile == path;
		item->SetMarked(current);
		marked = marked || current;
	}
	// Until the user picks a language it follows the desktop's, and the
	// preference names none of the files: the field shows the one in force
	// rather than nothing.
	if (!marked) {
		if (BMenuItem* item = menu->FindItem(gVLT.LanguageName().c_str()))
			item->SetMarked(true);
	}
}


void
TPrefView::_SetTargetToThis(BView* parent)
{
	for (int32 i = 0; BView* child = parent->ChildAt(i); i++) {
		if (BControl* control = dynamic_cast<BControl*>(child))
			control->SetTarget(this);
		_SetTargetToThis(child);
	}
}


void
TPrefView::_SysResetCombinationChanged()
{
	gPref.sysResetCombination = (is_on(fCBoxSRGM) ? kResetGM : 0)
		| (is_on(fCBoxSRGS) ? kResetGS : 0) | (is_on(fCBoxSR88) ? kReset88 : 0)
		| (is_on(fCBoxSRXG) ? kResetXG : 0);
}


void
TPrefView::_LanguagePicked()
{
	BMenuItem* marked = fMFieldLanguage->Menu()->FindMarked();
	const char* path = "";
	if (marked != NULL && marked->Message() != NULL)
		marked->Message()->FindString(kLangFileNameField, &path);
	gPref.languageFile = path;
	gPref.languageChosen = true;
	BMessage changed(kMsgPrefLanguageChanged);
	_NotifyPrefChange(&changed);
}


// Saved first: a preference that did not reach the disk is not confirmed,
// and the window stays open with the edits so that the user can try again
// or cancel.
void
TPrefView::_Confirm()
{
	if (!save_pref(false)) {
		BEntry entry;
		BPath path;
		if (pelkan::get_entry(kPrefsFileName, &entry, pelkan::BaseDir_Settings,
				kSettingsFolderName)) {
			entry.GetPath(&path);
		}
		const std::string text = std::string(gVLT.Text("Err_Cannot_Save_Pref"))
			+ (path.Path() != NULL ? path.Path() : kPrefsFileName);
		pelkan::show_alert(gVLT.Text("Alert_Caption"), text.c_str(),
			gVLT.Text("Button_Understand"), NULL, NULL, 0, B_WARNING_ALERT);
		return;
	}
	if (Window() != NULL)
		Window()->Hide();
	fSavedPref = gPref;
	// An entry out of range shows the value kept the next time the window
	// opens, not what was typed.
	_UpdateCompos();
	BMessage changed(kMsgStatusTextRqtd);
	changed.AddString(kStatBarStringField, gVLT.Text("Stat_Str_Pref_Changed"));
	_NotifyPrefChange(&changed);
}


void
TPrefView::_NotifyPrefChange(BMessage* message)
{
	TPKNDlgWin* window = dynamic_cast<TPKNDlgWin*>(Window());
	BHandler* target = window != NULL ? window->Target() : NULL;
	BLooper* looper = target != NULL ? target->Looper() : be_app;
	if (looper != NULL)
		looper->PostMessage(message, target);
}
