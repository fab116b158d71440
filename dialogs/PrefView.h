#ifndef PREF_VIEW_H
#define PREF_VIEW_H

#include <memory>
#include <vector>

#include "PKNDlgView.h"
#include "Pref.h"

class BBox;
class BButton;
class BCheckBox;
class BMenuField;
class BRadioButton;
class BStringView;
class BTextControl;
class TToolTip;

// Codes of the messages the preferences view's controls send it.
enum {
	kMsgSendSysResetsChanged = 'cssr',
	kMsgSysResetCombinationChanged = 'csrc',
	kMsgSilenceAfterResetsChanged = 'tsar',
	kMsgSilenceBetweenSongsChanged = 'csbs',
	kMsgSilenceIntervalChanged = 'tsbs',
	kMsgAutoSortChanged = 'rasc',
	kMsgLanguagePicked = 'mlnc',
	kMsgPrefCancel = '_cnc',
	kMsgPrefOK = '_ok'
};

// The preferences view. Every change of a control is written into gPref at
// once and so takes effect immediately; OK keeps and saves the changes,
// Cancel puts back the confirmed copy (gPref as it was at construction or
// at the last OK). Built from the view archive of its layout; the labels
// come from the language texts and the widths are fitted to them.
class TPrefView : public TPKNDlgView {
public:
	explicit TPrefView(BMessage* archive);
	virtual ~TPrefView();

	// B_OK when the archive held every control of the layout.
	status_t InitCheck() const;

	virtual void AllAttached();
	virtual void MessageReceived(BMessage* message);
	virtual void ShortCutDown(int32 rawChar, int32 key);

	// What the user last confirmed; gPref holds the edits since.
	const TPref& ConfirmedPref() const { return fSavedPref; }

	// Cancel: back to the confirmed copy, the window hidden.
	void Revert();

private:
	template<class Control> Control* _Find(const char* name);
	std::vector<BRadioButton*> _AutoSortButtons() const;
	void _SetViewProp();
	void _SetViewLabel();
	// The text field labelled and sized to its label and a 50-pixel entry,
	// its unit text right after it.
	void _LabelNumberLine(BTextControl* control, const char* label, BStringView* unit,
		const char* unitText);
	void _FitLayout();
	void _SetRangeTip(TToolTip* tip, int64 minimum, int64 maximum);
	void _UpdateCompos();
	void _UpdateSRComposEnabled();
	void _UpdateSilenceIntervalBetweenSongsComposEnabled();
	void _SetMFieldLanguage();
	void _ReloadLanguageFiles();
	void _UpdateMFieldCompo();
	void _SetTargetToThis(BView* parent);

	void _SysResetCombinationChanged();
	void _LanguagePicked();
	void _Confirm();
	void _NotifyPrefChange(BMessage* message);

	TPref fSavedPref;
	bool fFoundAll;
	// The layout as the archive drew it, from which every language's labels
	// are fitted anew.
	float fBaseWidth;
	float fBaseButtonWidth;
	std::vector<float> fBaseRadioLefts;
	BBox* fBoxSendSysResets;
	BCheckBox* fCBoxSendSysResets;
	BCheckBox* fCBoxSRGM;
	BCheckBox* fCBoxSRGS;
	BCheckBox* fCBoxSR88;
	BCheckBox* fCBoxSRXG;
	BTextControl* fTxtCtrlSilenceIntervalAfterSysResets;
	BStringView* fStrViewSilenceIntervalAfterSysResets;
	BCheckBox* fCBoxSilenceBetweenSongs;
	BTextControl* fTxtCtrlSilenceIntervalBetweenSongs;
	BStringView* fStrViewSilenceIntervalBetweenSongs;
	BBox* fBoxAutoSort;
	BRadioButton* fRButtonAutoSortNone;
	BRadioButton* fRButtonAutoSortUp;
	BRadioButton* fRButtonAutoSortDown;
	BMenuField* fMFieldLanguage;
	BButton* fButtonCancel;
	BButton* fButtonOK;
	std::unique_ptr<TToolTip> fToolTipSilenceIntervalAfterSysResets;
	std::unique_ptr<TToolTip> fToolTipSilenceIntervalBetweenSongs;
};

#endif
