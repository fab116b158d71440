#include "HeardEvents.h"
#include "PlayerRig.h"

#include <CompactSlider.h>

namespace {

// Port A feeds "Device A"; one song plays from the start of each test.
class PlaybackSlidersTest : public RigTest {
protected:
	void Start(const std::vector<Note>& notes, uint32 length)
	{
		fDevice = AddDevice("Device A");
		gExitState.connectedOutputs[0] = {"Device A"};
		Open({MakeSong("song.mid", notes, length)});
		fDevice->Clear();
		fStart = Now();
		Post(kMsgPlay);
	}

	std::vector<Heard> Take()
	{
		std::vector<Heard> heard = heard_since(fDevice, fStart);
		fDevice->Clear();
		return heard;
	}

	BMidiRecordingConsumer* fDevice = NULL;
	bigtime_t fStart = 0;
};

}	// namespace


// The notes that sound end with the key they began with, at once; the new
// key applies from the next note. Dragging only shows the value.
TEST_F(PlaybackSlidersTest, KeyChangeWhileNotesSound)
{
	Run([&]() {
		Start({{0, 1000, 60}, {500, 1000, 64}}, 1200);
		Advance(100000);
		Slide("SliderKey", 2, kMsgKeyDragged);
		EXPECT_EQ("Key:+2", ViewText("StrViewKey"));
		EXPECT_EQ((std::vector<Heard>{{0, {0x90, 60, 100}}}), Take());

		Slide("SliderKey", 2, kMsgKeyChanged);
		EXPECT_EQ((std::vector<Heard>{{100000, {0x80, 60, 64}}}), Take());
		Advance(1000000);
		EXPECT_EQ((std::vector<Heard>{
			{500000, {0x90, 66, 100}},
			{1000000, {0x80, 66, 0}},
		}), Take()) << "the song's own end of the silenced note is not sent again";
	});
}


TEST_F(PlaybackSlidersTest, VolumeActsWhileDraggedTempoAndPositionWhenReleased)
{
	Run([&]() {
		Start({{0, 100, 60}, {1000, 1100, 62}, {2000, 2100, 64}, {3000, 3100, 65}},
			10000);
		Advance(500000);
		Slide("SliderVolume", 50, kMsgVolumeChanged);
		EXPECT_EQ("Vol:50%", ViewText("StrViewVolume"));
		Slide("SliderTempo", 200, kMsgTempoDragged);
		EXPECT_EQ("Tem:200%", ViewText("StrViewTempo"));
		Advance(550000);
		EXPECT_EQ((std::vector<Heard>{
			{0, {0x90, 60, 100}},
			{100000, {0x80, 60, 0}},
			{1000000, {0x90, 62, 50}},
		}), Take()) << "the volume at once, the tempo not while dragged";

		// Twice the tempo from 1.05 s: the gap that runs keeps its end, the
		// next one (900 ticks) takes 450 ms.
		Slide("SliderTempo", 200, kMsgTempoChanged);
		Advance(500000);
		EXPECT_EQ((std::vector<Heard>{
			{1100000, {0x80, 62, 0}},
			{1550000, {0x90, 64, 50}},
		}), Take());
	});
}


TEST_F(PlaybackSlidersTest, PositionDraggedIsNotOverwrittenAndReleasedSeeks)
{
	Run([&]() {
		Start({{0, 100, 60}, {1200, 1300, 61}, {5000, 5100, 62}}, 10000);
		TCompactSlider* slider = dynamic_cast<TCompactSlider*>(fView->FindView("SliderPos"));
		ASSERT_NE(nullptr, slider);
		Advance(1000000);
		EXPECT_EQ(12, slider->Value())
			<< "each second the runner shows the position the song waits for";

		fView->pressedInside = true;
		Slide("SliderPos", 45, kMsgPosDragged);
		EXPECT_EQ("Pos:45%", ViewText("StrViewPos"));
		Advance(1000000);
		EXPECT_EQ(45, slider->Value()) << "the drag wins over the update";

		fView->pressedInside = false;
		Slide("SliderPos", 49, kMsgPosChanged);
		Take();
		Advance(150000);
		EXPECT_EQ((std::vector<Heard>{{2100000, {0x90, 62, 100}}}), Take())
			<< "from tick 4900 the note at 5000 follows 100 ms later";
	});
}
