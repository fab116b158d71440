#include "VantuView.h"

#include <memory>
#include <string>

#include <Font.h>
#include <List.h>
#include <MidiLocalProducer.h>
#include <ScrollView.h>
#include <StringView.h>

#include "AppGlobals.h"
#include "Bitmaps.h"
#include "CompactSlider.h"
#include "CorvanView.h"
#include "MidiFilter.h"
#include "OutputChains.h"
#include "PlayerMessages.h"
#include "SMFProducer.h"
#include "ToolBar.h"
#include "ToolButton.h"
#include "ToolTip.h"

namespace {

// The panel's colours; the indicators' text is the panel's background.
const rgb_color kPanelColor = make_color(203, 255, 0);
const rgb_color kIndicatorOffColor = make_color(150, 200, 0);
const rgb_color kIndicatorHalfOnColor = make_color(100, 133, 0);
const rgb_color kIndicatorOnColor = make_color(0, 0, 0);
const rgb_color kStatBarColor = make_color(216, 216, 216);

const BRect kUnplacedFrame(0, 0, 1, 1);
const BRect kLabelFrame(0, 0, 50, 14);
const BRect kSliderFrame(0, 0, 170, 14);
// A button keeps this size when its image is missing: a 17 × 17 image plus
// its margins.
const BRect kButtonFrame(0, 0, 22, 22);
const float kLabelPitch = 14;
// Beside and below the playlist: its scroll bars, then the status bar.
const float kScrollBarRoom = 14;
const float kStatBarRoom = 14;
const float kIndicatorGap = 5;
const float kGroupGap = 10;
const float kTitleMargin = 5;

const int32 kSysResetCount = 4;
const char* const kSysResetNames[kSysResetCount]
	= {"StrViewSysGM", "StrViewSysGS", "StrViewSys88", "StrViewSysXG"};
const char* const kSysResetTexts[kSysResetCount] = {"GM", "GS", "88", "XG"};

const bigtime_t kTitleTipDelay = 1000000;
const bigtime_t kTitleTipShowTime = 15000000;

struct TButtonSpec {
	const char* name;
	const char* image;
	uint32 what;
	uint32 behavior;
};

const TButtonSpec kButtons[] = {
	{"ButtonPrev", "CtrlButtonPrev", kMsgPrev, TToolButton::kBehaviorPush},
	{"ButtonPlay", "CtrlButtonPlayNormal", kMsgPlay, TToolButton::kBehaviorPush},
	{"ButtonPause", "CtrlButtonPauseNormal", kMsgPause, TToolButton::kBehaviorPush},
	{"ButtonStop", "CtrlButtonStop", kMsgStop, TToolButton::kBehaviorPush},
	{"ButtonNext", "CtrlButtonNext", kMsgNext, TToolButton::kBehaviorPush},
	{"ButtonList", "CtrlButtonList", kMsgListButton, TToolButton::kBehaviorToggle},
};


BStringView*
new_indicator(const char* name, const char* text)
{
	return new BStringView(kUnplacedFrame, name, text);
}


BStringView*
new_label(const char* name)
{
	return new BStringView(kLabelFrame, name, "");
}


TCompactSlider*
new_slider(const char* name, uint32 released, uint32 dragged, int32 minValue,
	int32 maxValue)
{
	TCompactSlider* slider = new TCompactSlider(kSliderFrame, name, "",
		new BMessage(released), minValue, maxValue);
	slider->SetModificationMessage(new BMessage(dragged));
	return slider;
}


void
set_indicator_colors(BStringView* view, rgb_color background)
{
	if (view == NULL)
		return;
	view->SetViewColor(background);
	view->SetLowColor(background);
	view->SetHighColor(kPanelColor);
	view->Invalidate();
}


void
set_label(BStringView* label, const std::string& text)
{
	if (label != NULL)
		label->SetText(text.c_str());
}

}


void
TVantuView::_BuildControls()
{
	SetViewColor(kPanelColor);
	SetLowColor(kPanelColor);

	fTitleView = new BStringView(kUnplacedFrame, "StrViewTitle", "");
	AddChild(fTitleView);
	fPortViews[0] = new_indicator("StrViewPort", "A");
	fPortViews[1] = new_indicator("StrViewPort", "B");
	for (BStringView* port : fPortViews)
		AddChild(port);
	for (int32 i = 0; i < kSysResetCount; i++) {
		fSysResetViews[i] = new_indicator(kSysResetNames[i], "");
		AddChild(fSysResetViews[i]);
	}

	fCtrlBar = new TToolBar(BRect(0, 28, 1, 29), "ControlBar", B_FOLLOW_LEFT | B_FOLLOW_TOP);
	AddChild(fCtrlBar);
	CreateCtrlBar();

	fVolumeLabel = new_label("StrViewVolume");
	fKeyLabel = new_label("StrViewKey");
	fTempoLabel = new_label("StrViewTempo");
	fPosLabel = new_label("StrViewPos");
	for (BStringView* label : {fVolumeLabel, fKeyLabel, fTempoLabel, fPosLabel})
		AddChild(label);

	// The engine's settings are the sliders' defaults, as the user's reset
	// gesture puts the engine back where it started.
	const TMidiFilter* filter = fChains->Filter(0);
	fVolumeSlider = new_slider("SliderVolume", kMsgVolumeChanged, kMsgVolumeChanged, 0, 200);
	fKeySlider = new_slider("SliderKey", kMsgKeyChanged, kMsgKeyDragged, -12, 12);
	fTempoSlider = new_slider("SliderTempo", kMsgTempoChanged, kMsgTempoDragged, 30, 300);
	fPosSlider = new_slider("SliderPos", kMsgPosChanged, kMsgPosDragged, 0, 100);
	const std::pair<TCompactSlider*, int32> values[]
		= {{fVolumeSlider, filter->Volume()}, {fKeySlider, filter->Key()},
			{fTempoSlider, fSequencer->TempoRate()}};
	for (const auto& [slider, value] : values) {
		slider->SetValue(value);
		slider->SetDefaultValue(value);
	}
	for (TCompactSlider* slider : {fVolumeSlider, fKeySlider, fTempoSlider, fPosSlider})
		AddChild(slider);

	BRect listFrame = Bounds();
	listFrame.top = fCtrlBar->Frame().bottom + 3;
	listFrame.right -= kScrollBarRoom;
	listFrame.bottom -= kScrollBarRoom + kStatBarRoom;
	// A playlist handed in by the test constructor takes the same place.
	if (fPlaylist == NULL)
		fPlaylist = new TCorvanView(listFrame, "ListView", false);
	else {
		fPlaylist->MoveTo(listFrame.LeftTop());
		fPlaylist->ResizeTo(listFrame.Width(), listFrame.Height());
	}
	fPlaylist->SetResizingMode(B_FOLLOW_ALL);
	fScrollView = new BScrollView("ScrlView", fPlaylist, B_FOLLOW_ALL, 0, true, true);
	AddChild(fScrollView);

	const BRect bounds = Bounds();
	const BRect statFrame(bounds.left, bounds.bottom - 13, bounds.right - kScrollBarRoom,
		bounds.bottom);
	fStatBar = new BStringView(statFrame, "StatBar", "", B_FOLLOW_LEFT_RIGHT | B_FOLLOW_BOTTOM);
	fStatBar->Hide();
	AddChild(fStatBar);
	fLastPosShown = -1;
}


void
TVantuView::CreateCtrlBar()
{
	for (const TButtonSpec& spec : kButtons) {
		fCtrlBar->AddItem(new TToolButton(kButtonFrame, spec.name, get_bitmap(spec.image), NULL,
			new BMessage(spec.what), spec.behavior));
	}
}


TToolButton*
TVantuView::CtrlButton(int32 index) const
{
	return fCtrlBar != NULL ? fCtrlBar->ItemAt(index) : NULL;
}


void
TVantuView::LayoutCompos()
{
	fCtrlBar->ResizeToPreferred();
	for (BStringView* port : fPortViews)
		port->ResizeToPreferred();

	const BRect bar = fCtrlBar->Frame();
	const float y = bar.top + (bar.Height() - fPortViews[0]->Bounds().Height()) / 2;
	float x = bar.right + kGroupGap;
	fPortViews[0]->MoveTo(x, y);
	x = fPortViews[0]->Frame().right + kIndicatorGap;
	fPortViews[1]->MoveTo(x, y);

	x = fPortViews[1]->Frame().right + kGroupGap;
	for (int32 i = 0; i < kSysResetCount; i++) {
		BStringView* view = fSysResetViews[i];
		view->SetText(kSysResetTexts[i]);
		view->ResizeToPreferred();
		view->MoveTo(x, y);
		x = view->Frame().right + kIndicatorGap;
	}

	const float labelLeft = fSysResetViews[kSysResetCount - 1]->Frame().right + kGroupGap;
	BStringView* labels[] = {fPosLabel, fTempoLabel, fKeyLabel, fVolumeLabel};
	TCompactSlider* sliders[] = {fPosSlider, fTempoSlider, fKeySlider, fVolumeSlider};
	float top = bar.bottom - kLabelPitch;
	for (int32 i = 0; i < 4; i++) {
		labels[i]->MoveTo(labelLeft, top);
		sliders[i]->MoveTo(labels[i]->Frame().right, top);
		top -= kLabelPitch;
	}

	fTitleView->MoveTo(kTitleMargin, kTitleMargin);
	const float titleHeight = bar.bottom - (bar.Height() + kGroupGap);
	fTitleView->ResizeTo(fVolumeLabel->Frame().left - 15, titleHeight);
	SetFontHeight(fTitleView, titleHeight);

	UpdateVolumeCompo();
	UpdateKeyCompo();
	UpdateTempoCompo();
	UpdatePosCompo();

	fTitleTip = std::make_unique<TToolTip>("TitleTip");
	fTitleTip->SetDelayTime(kTitleTipDelay);
	fTitleTip->SetShowTime(kTitleTipShowTime);
	fTitleTip->SetTarget(fTitleView);
	fTitleTip->SetTip(fSongTitle.c_str());

	fCtrlBar->SetTargetForItems(this);
	for (TCompactSlider* slider : sliders)
		slider->SetTarget(this);
	if (TToolButton* list = CtrlButton(kListButtonIndex))
		list->SetValue(gExitState.listExpanded ? 1 : 0);
	fStatBar->SetViewColor(kStatBarColor);
	fStatBar->SetLowColor(kStatBarColor);
	TurnOffAllSysReset();
	UpdatePortCompos();
	UpdateListExpantion();
}


void
TVantuView::UpdateCtrlBar()
{
	const TTirokaState state = gAppPrivacy.State();
	const std::pair<int32, const char*> images[] = {
		{kPlayButtonIndex, state != TS_Stopped ? "CtrlButtonPlayLit" : "CtrlButtonPlayNormal"},
		{kPauseButtonIndex, state == TS_Paused ? "CtrlButtonPauseLit" : "CtrlButtonPauseNormal"},
	};
	for (const auto& [index, image] : images) {
		TToolButton* button = CtrlButton(index);
		if (button == NULL)
			continue;
		button->SetImage(TToolButton::kImageNormal, get_bitmap(image));
		button->ClearImages();
		button->SetDefaultImages();
	}
}


void
TVantuView::UpdateVolumeCompo()
{
	set_label(fVolumeLabel, "Vol:" + std::to_string(fVolumeSlider->Value()) + "%");
}


void
TVantuView::UpdateKeyCompo()
{
	const int32 key = fKeySlider->Value();
	set_label(fKeyLabel, std::string("Key:") + (key > 0 ? "+" : "") + std::to_string(key));
}


void
TVantuView::UpdateTempoCompo()
{
	set_label(fTempoLabel, "Tem:" + std::to_string(fTempoSlider->Value()) + "%");
}


void
TVantuView::UpdatePosCompo()
{
	const int32 position = fPosSlider->Value();
	if (position == fLastPosShown)
		return;
	fLastPosShown = position;
	set_label(fPosLabel, "Pos:" + std::to_string(position) + "%");
}


void
TVantuView::TurnOnStrView(BStringView* view)
{
	set_indicator_colors(view, kIndicatorOnColor);
}


void
TVantuView::TurnHalfOnStrView(BStringView* view)
{
	set_indicator_colors(view, kIndicatorHalfOnColor);
}


void
TVantuView::TurnOffStrView(BStringView* view)
{
	set_indicator_colors(view, kIndicatorOffColor);
}


void
TVantuView::TurnOffAllSysReset()
{
	for (BStringView* view : fSysResetViews)
		TurnOffStrView(view);
}


BStringView*
TVantuView::SysResetView(int32 mask) const
{
	switch (mask) {
		case 1:
			return fSysResetViews[0];
		case 2:
			return fSysResetViews[1];
		case 4:
			return fSysResetViews[2];
		case 8:
			return fSysResetViews[3];
		default:
			return NULL;
	}
}


void
TVantuView::UpdatePortCompos()
{
	for (int32 port = 0; port < 2; port++) {
		bool connected = false;
		if (const BMidiLocalProducer* producer = Producer(port)) {
			const std::unique_ptr<BList> connections(producer->Connections());
			connected = connections != nullptr && !connections->IsEmpty();
		}
		if (connected)
			TurnOnStrView(fPortViews[port]);
		else
			TurnOffStrView(fPortViews[port]);
	}
}


void
TVantuView::SysResetReceived(BMessage* message)
{
	int32 mask = 0;
	if (message->FindInt32("SysReset", &mask) != B_OK)
		return;
	if (BStringView* view = SysResetView(mask))
		TurnOnStrView(view);
}


void
TVantuView::SetFontHeight(BView* view, float height)
{
	BFont font;
	view->GetFont(&font);
	font_height metrics;
	font.GetHeight(&metrics);
	const float natural = metrics.ascent + metrics.descent;
	if (natural <= 0)
		return;
	font.SetSize(font.Size() * height / natural);
	view->SetFont(&font, B_FONT_ALL);
}
