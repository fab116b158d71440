#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include <Bitmap.h>
#include <MidiLocalConsumer.h>
#include <MidiLocalProducer.h>
#include <MidiRoster.h>
#include <ScrollView.h>

#include "Bitmaps.h"
#include "CompactSlider.h"
#include "LayoutTestPlayer.h"
#include "PlayerMessages.h"
#include "TestPixels.h"
#include "ToolBar.h"
#include "ToolButton.h"

namespace {

typedef PlayerTest LayoutTest;

const Pixel kOff = {0, 200, 150, 255};
const Pixel kHalfOn = {0, 133, 100, 255};
const Pixel kOn = {0, 0, 0, 255};


std::string
frame_text(BRect frame)
{
	char text[96];
	snprintf(text, sizeof(text), "(%g, %g, %g, %g)", frame.left, frame.top, frame.right,
		frame.bottom);
	return text;
}


// The background of an indicator: its top-left pixel lies above the text.
Pixel
background(BView* view)
{
	return grab_pixel(view, 0, 0);
}


// Whether the button shows the program's image of that name.
bool
shows_image(const TToolButton* button, const char* name)
{
	const BBitmap* shown = button->Image(TToolButton::kImageNormal);
	const std::unique_ptr<BBitmap> image(get_bitmap(name));
	return shown != nullptr && image != nullptr && shown->BitsLength() == image->BitsLength()
		&& memcmp(shown->Bits(), image->Bits(), image->BitsLength()) == 0;
}


std::string
pixel_text(const Pixel& pixel)
{
	return "rgb(" + std::to_string(pixel[2]) + ", " + std::to_string(pixel[1]) + ", "
		+ std::to_string(pixel[0]) + ")";
}

}


TEST_F(LayoutTest, ControlsStandWhereTheBandsArithmeticPutsThem)
{
	MakePlayer();
	Run({Do([this]() {
		TToolBar* bar = Child<TToolBar>("ControlBar");
		ASSERT_NE(nullptr, bar);
		EXPECT_EQ("(0, 28, " + std::to_string(int(bar->Frame().right)) + ", 56)",
			frame_text(bar->Frame()));

		const uint32 messages[] = {'prev', 'play', 'puse', 'stop', 'next', 'list'};
		ASSERT_EQ(6, bar->CountItems());
		for (int32 i = 0; i < 6; i++) {
			TToolButton* button = bar->ItemAt(i);
			EXPECT_EQ(messages[i], button->Message()->what) << i;
			const BBitmap* image = button->Image(TToolButton::kImageNormal);
			ASSERT_NE(nullptr, image) << "the program's image of button " << i;
			EXPECT_EQ("(0, 0, 16, 16)", frame_text(image->Bounds()));
		}
		EXPECT_EQ(uint32(TToolButton::kBehaviorToggle), bar->ItemAt(5)->Behavior());

		BView* portA = fPlayer->ChildAt(1);
		BView* portB = fPlayer->ChildAt(2);
		ASSERT_STREQ("StrViewPort", portA->Name());
		ASSERT_STREQ("StrViewPort", portB->Name());
		EXPECT_STREQ("A", static_cast<BStringView*>(portA)->Text());
		EXPECT_STREQ("B", static_cast<BStringView*>(portB)->Text());
		const float y = 28 + (28 - portA->Bounds().Height()) / 2;
		EXPECT_EQ(BPoint(bar->Frame().right + 10, y), portA->Frame().LeftTop());
		EXPECT_EQ(BPoint(portA->Frame().right + 5, y), portB->Frame().LeftTop());

		const char* resets[] = {"StrViewSysGM", "StrViewSysGS", "StrViewSys88", "StrViewSysXG"};
		const char* texts[] = {"GM", "GS", "88", "XG"};
		float x = portB->Frame().right + 10;
		for (int32 i = 0; i < 4; i++) {
			BStringView* view = Child<BStringView>(resets[i]);
			ASSERT_NE(nullptr, view) << resets[i];
			EXPECT_STREQ(texts[i], view->Text());
			EXPECT_EQ(BPoint(x, y), view->Frame().LeftTop()) << resets[i];
			x = view->Frame().right + 5;
		}

		const float labelLeft = Child<BView>("StrViewSysXG")->Frame().right + 10;
		const struct {
			const char* label;
			const char* slider;
			float top;
			int32 minimum;
			int32 maximum;
			uint32 released;
			uint32 dragged;
		} rows[] = {
			{"StrViewVolume", "SliderVolume", 0, 0, 200, 'svlc', 'svlc'},
			{"StrViewKey", "SliderKey", 14, -12, 12, 'skyc', 'skyg'},
			{"StrViewTempo", "SliderTempo", 28, 30, 300, 'stpc', 'stpg'},
			{"StrViewPos", "SliderPos", 42, 0, 100, 'spoc', 'spog'},
		};
		for (const auto& row : rows) {
			SCOPED_TRACE(row.label);
			BView* label = Child<BView>(row.label);
			TCompactSlider* slider = Child<TCompactSlider>(row.slider);
			ASSERT_NE(nullptr, label);
			ASSERT_NE(nullptr, slider);
			EXPECT_EQ(BRect(labelLeft, row.top, labelLeft + 50, row.top + 14), label->Frame());
			EXPECT_EQ(BRect(labelLeft + 50, row.top, labelLeft + 220, row.top + 14),
				slider->Frame());
			int32 minimum, maximum;
			slider->GetLimits(&minimum, &maximum);
			EXPECT_EQ(row.minimum, minimum);
			EXPECT_EQ(row.maximum, maximum);
			EXPECT_EQ(row.released, slider->Message()->what);
			EXPECT_EQ(row.dragged, slider->ModificationMessage()->what);
		}

		BView* title = Child<BView>("StrViewTitle");
		ASSERT_NE(nullptr, title);
		EXPECT_EQ(BRect(5, 5, labelLeft - 10, 23), title->Frame());
		font_height height;
		title->GetFontHeight(&height);
		EXPECT_NEAR(18, height.ascent + height.descent, 1) << "scaled to the title's height";

		const BRect bounds = fPlayer->Bounds();
		BView* scroll = Child<BScrollView>("ScrlView");
		ASSERT_NE(nullptr, scroll);
		EXPECT_EQ(fPlaylist->Parent(), scroll);
		EXPECT_EQ(59, scroll->Frame().top + fPlaylist->Frame().top) << "3 below the control bar";
		EXPECT_EQ(bounds.right - 14, scroll->Frame().left + fPlaylist->Frame().right);
		EXPECT_EQ(bounds.bottom - 28, scroll->Frame().top + fPlaylist->Frame().bottom);
		BView* status = Child<BStringView>("StatBar");
		ASSERT_NE(nullptr, status);
		EXPECT_EQ(BRect(0, bounds.bottom - 13, bounds.right - 14, bounds.bottom),
			status->Frame());
	})});
}


TEST_F(LayoutTest, SlidersStartAtTheEnginesValuesWhichAreTheirDefaults)
{
	MakePlayer();
	Run({Do([this]() {
		const struct {
			const char* slider;
			int32 value;
			const char* label;
			const char* text;
		} rows[] = {
			{"SliderVolume", 100, "StrViewVolume", "Vol:100%"},
			{"SliderKey", 0, "StrViewKey", "Key:0"},
			{"SliderTempo", 100, "StrViewTempo", "Tem:100%"},
		};
		for (const auto& row : rows) {
			SCOPED_TRACE(row.slider);
			TCompactSlider* slider = Child<TCompactSlider>(row.slider);
			EXPECT_EQ(row.value, slider->Value());
			ASSERT_TRUE(slider->HasDefaultValue());
			EXPECT_EQ(row.value, slider->DefaultValue());
			EXPECT_EQ(row.text, Text(row.label));
		}
		EXPECT_FALSE(Child<TCompactSlider>("SliderPos")->HasDefaultValue());
		EXPECT_EQ("Pos:0%", Text("StrViewPos"));
	})});
}


TEST_F(LayoutTest, LabelsShowTheSlidersValues)
{
	MakePlayer();
	const struct {
		const char* slider;
		int32 value;
		uint32 message;
		const char* label;
		const char* text;
	} cases[] = {
		{"SliderKey", 0, 'skyg', "StrViewKey", "Key:0"},
		{"SliderKey", 5, 'skyg', "StrViewKey", "Key:+5"},
		{"SliderKey", 3, 'skyc', "StrViewKey", "Key:+3"},
		{"SliderKey", -2, 'skyg', "StrViewKey", "Key:-2"},
		{"SliderKey", -12, 'skyc', "StrViewKey", "Key:-12"},
		{"SliderVolume", 0, 'svlc', "StrViewVolume", "Vol:0%"},
		{"SliderVolume", 200, 'svlc', "StrViewVolume", "Vol:200%"},
		{"SliderTempo", 30, 'stpg', "StrViewTempo", "Tem:30%"},
		{"SliderTempo", 300, 'stpc', "StrViewTempo", "Tem:300%"},
		{"SliderPos", 37, 'spog', "StrViewPos", "Pos:37%"},
		{"SliderPos", 100, 'spog', "StrViewPos", "Pos:100%"},
	};
	std::vector<Step> steps;
	for (const auto& c : cases) {
		steps.push_back(Do([this, &c]() { Child<TCompactSlider>(c.slider)->SetValue(c.value); }));
		steps.push_back(Post(BMessage(c.message)));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c]() {
			EXPECT_EQ(c.text, Text(c.label)) << c.slider << " at " << c.value;
		}));
	}
	Run(steps);
}


TEST_F(LayoutTest, PositionLabelIsWrittenOnlyWhenThePercentageChanges)
{
	MakePlayer();
	// A label the test has scribbled on shows whether it was written again.
	BStringView* label = nullptr;
	TCompactSlider* slider = nullptr;
	Run({Do([&]() {
			label = Child<BStringView>("StrViewPos");
			slider = Child<TCompactSlider>("SliderPos");
			slider->SetValue(40);
		}), Post(BMessage('spog')), Drain(fWindow), Do([&]() {
			EXPECT_STREQ("Pos:40%", label->Text());
			label->SetText("untouched");
		}), Post(BMessage('spog')), Drain(fWindow), Do([&]() {
			EXPECT_STREQ("untouched", label->Text()) << "the same percentage again";
			slider->SetValue(41);
		}), Post(BMessage('spog')), Drain(fWindow), Do([&]() {
			EXPECT_STREQ("Pos:41%", label->Text());
		})});
}


TEST_F(LayoutTest, ResetIndicatorsShowWhatThePlayerSentAndWhatTheSongSent)
{
	MakePlayer();
	// The player sends GM before the song; the song itself sends a GS Reset.
	gPref.sendSysResets = true;
	gPref.sysResetCombination = 1;
	gPref.silenceAfterResets = 0;
	smf::Track track;
	track.SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
		.NoteOn(0, 0, 60, 100).NoteOff(48000, 0, 60).End();
	const smf::Bytes bytes = smf::File({track});
	write_file(fFolder / "gs.mid", std::string(bytes.begin(), bytes.end()));

	const char* names[] = {"StrViewSysGM", "StrViewSysGS", "StrViewSys88", "StrViewSysXG"};
	auto colours = [this, &names]() {
		std::string text;
		for (const char* name : names)
			text += pixel_text(background(Child<BView>(name))) + " ";
		return text;
	};
	const std::string off = pixel_text(kOff);
	Run({Do([&]() {
			EXPECT_EQ(off + " " + off + " " + off + " " + off + " ", colours());
			BMessage drop = refs_message({fFolder / "gs.mid"});
			fPlaylist->AddListFolderFileToTopLevel(&drop);
		}), Drain(fWindow), Post(BMessage('play')), Until([&]() {
			// The song's reset arrives from the play thread.
			return pixel_text(background(Child<BView>("StrViewSysGS"))) == pixel_text(kOn);
		}), Do([&]() {
			EXPECT_EQ(pixel_text(kHalfOn) + " " + pixel_text(kOn) + " " + off + " " + off + " ",
				colours());
			BStringView* gs = Child<BStringView>("StrViewSysGS");
			EXPECT_EQ(make_color(203, 255, 0), gs->HighColor()) << "the text is the panel's";
		}), Post(BMessage('stop')), Drain(fWindow), Do([&]() {
			fPlayer->ChangeSong(0, false);
			EXPECT_EQ(off + " " + off + " " + off + " " + off + " ", colours())
				<< "off after the song changed";
		})});
}


TEST_F(LayoutTest, ResetReportsTurnOnlyTheirIndicatorOn)
{
	MakePlayer();
	const struct {
		const char* name;
		bool hasField;
		int32 mask;
		int32 lit;
	} cases[] = {
		{"GM", true, 1, 0},
		{"GS", true, 2, 1},
		{"88", true, 4, 2},
		{"XG", true, 8, 3},
		{"two bits at once are no reset", true, 3, -1},
		{"an unknown bit", true, 16, -1},
		{"no field", false, 0, -1},
	};
	const char* names[] = {"StrViewSysGM", "StrViewSysGS", "StrViewSys88", "StrViewSysXG"};
	std::vector<Step> steps;
	for (const auto& c : cases) {
		steps.push_back(Do([this]() {
			for (const char* name : {"StrViewSysGM", "StrViewSysGS", "StrViewSys88",
					"StrViewSysXG"}) {
				BStringView* view = Child<BStringView>(name);
				view->SetViewColor(kOff[2], kOff[1], kOff[0]);
				view->Invalidate();
			}
		}));
		BMessage report('syrr');
		if (c.hasField)
			report.AddInt32("SysReset", c.mask);
		steps.push_back(Post(report));
		steps.push_back(Drain(fWindow));
		steps.push_back(Do([this, &c, &names]() {
			SCOPED_TRACE(c.name);
			for (int32 i = 0; i < 4; i++) {
				EXPECT_EQ(pixel_text(i == c.lit ? kOn : kOff),
					pixel_text(background(Child<BView>(names[i])))) << names[i];
			}
		}));
	}
	Run(steps);
}


TEST_F(LayoutTest, PortIndicatorIsOnWhileItsPortFeedsADevice)
{
	MakePlayer();
	BMidiLocalConsumer* device = new BMidiLocalConsumer("layout test device");
	device->Register();
	BView* portB = nullptr;
	Run({Do([&]() {
			portB = fPlayer->ChildAt(2);
			EXPECT_EQ(pixel_text(kOff), pixel_text(background(portB)));
			EXPECT_EQ(B_OK, fPlayer->ConnectMidiOut(1, device->ID()));
		}), Until([&]() {
			// The roster reports the connection to the player.
			return pixel_text(background(portB)) == pixel_text(kOn);
		}), Do([&]() {
			EXPECT_EQ(pixel_text(kOff), pixel_text(background(fPlayer->ChildAt(1))))
				<< "port A feeds nothing";
			fPlayer->Producer(1)->Disconnect(device);
		}), Until([&]() {
			return pixel_text(background(portB)) == pixel_text(kOff);
		})});
	device->Unregister();
	device->Release();
}


TEST_F(LayoutTest, PlayAndPauseButtonsLightUpWithThePlayersState)
{
	MakePlayer();
	smf::Track track;
	track.NoteOn(0, 0, 60, 100).NoteOff(48000, 0, 60).End();
	const smf::Bytes bytes = smf::File({track});
	write_file(fFolder / "long.mid", std::string(bytes.begin(), bytes.end()));
	auto expect = [this](const char* name, const char* play, const char* pause) {
		SCOPED_TRACE(name);
		TToolBar* bar = Child<TToolBar>("ControlBar");
		EXPECT_TRUE(shows_image(bar->ItemAt(1), play)) << play;
		EXPECT_TRUE(shows_image(bar->ItemAt(2), pause)) << pause;
		EXPECT_NE(nullptr, bar->ItemAt(1)->Image(TToolButton::kImageHover))
			<< "the other looks are made again";
	};
	Run({Do([&]() {
			expect("stopped at start", "CtrlButtonPlayNormal", "CtrlButtonPauseNormal");
			BMessage drop = refs_message({fFolder / "long.mid"});
			fPlaylist->AddListFolderFileToTopLevel(&drop);
		}), Drain(fWindow), Post(BMessage('play')), Drain(fWindow), Do([&]() {
			ASSERT_EQ(TS_Playing, gAppPrivacy.State());
			expect("playing", "CtrlButtonPlayLit", "CtrlButtonPauseNormal");
		}), Post(BMessage('puse')), Drain(fWindow), Do([&]() {
			ASSERT_EQ(TS_Paused, gAppPrivacy.State());
			expect("paused", "CtrlButtonPlayLit", "CtrlButtonPauseLit");
		}), Post(BMessage('stop')), Drain(fWindow), Do([&]() {
			expect("stopped", "CtrlButtonPlayNormal", "CtrlButtonPauseNormal");
		})});
}
