#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <DataIO.h>
#include <Entry.h>
#include <MidiLocalProducer.h>

#include "AllocationCounter.h"
#include "SMFBuilder.h"
#include "SMFProducer.h"
#include "SMFTrack.h"

namespace {

smf::Track
ShortTrack(uint32 endTick = 480)
{
	smf::Track track;
	track.NoteOn(0, 0, 60, 100).NoteOff(endTick, 0, 60).End();
	return track;
}


status_t
Load(TSMFProducer& song, const smf::Bytes& bytes)
{
	BMemoryIO stream(bytes.data(), bytes.size());
	return song.SetTo(&stream);
}


// What loading a file of `size` bytes may allocate: a copy of the track
// bodies, an index entry of a few bytes for each event (of at least two
// bytes) and an object for each track (of at least twelve bytes).
size_t
justified_allocation(size_t size)
{
	return 16 * size + 1024;
}


// A track whose events mostly lean on running status, as in busy files.
smf::Track
DenseTrack(int events)
{
	smf::Track track;
	track.NoteOn(0, 0, 60, 90);
	for (int i = 1; i < events; i++)
		track.Event(i % 4 == 0, {uint8_t(36 + i % 48), uint8_t(i % 2 ? 0 : 90)});
	track.End();
	return track;
}

}	// namespace


TEST(SMFProducerTest, LoadCases)
{
	struct Case {
		const char* name;
		smf::Bytes bytes;
		status_t status;
		int32 tracks;
		uint32 length;
		const char* title;
	};
	const smf::Bytes notMTrk = ShortTrack().Chunk(-1, "MTrX");
	const Case cases[] = {
		{"format 0 claiming three tracks reads one",
			smf::Concat({smf::Header(0, 3, 480), ShortTrack(480).Chunk(), notMTrk,
				notMTrk}), 0, 1, 480, NULL},
		{"format 1 without tracks", smf::Header(1, 0, 96), 0, 0, 0, NULL},
		{"header length 10 skips four bytes",
			smf::Concat({smf::Header(1, 1, 96, 10), ShortTrack(96).Chunk()}),
			0, 1, 96, NULL},
		{"song length is the longest track", smf::File({ShortTrack(1920),
			ShortTrack(3840)}), 0, 2, 3840, NULL},
		{"not a MIDI file", smf::Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 1, 0,
			0, 0, 96}, -1, 0, 0, NULL},
		{"empty stream", smf::Bytes{}, -1, 0, 0, NULL},
		{"format 2", smf::Concat({smf::Header(2, 1, 96), ShortTrack().Chunk()}),
			-1, 0, 0, NULL},
		{"SMPTE division", smf::Concat({smf::Header(1, 1, 0xE728),
			ShortTrack().Chunk()}), -1, 0, 0, NULL},
		{"division 0", smf::Concat({smf::Header(1, 1, 0),
			ShortTrack().Chunk()}), -1, 0, 0, NULL},
		{"unknown chunk keeps the tracks before it",
			smf::Concat({smf::Header(1, 2, 96), ShortTrack().Chunk(), notMTrk}),
			-1, 1, 0, NULL},
		{"fewer chunks than claimed",
			smf::Concat({smf::Header(1, 2, 96), ShortTrack().Chunk()}), -1, 1, 0,
			NULL},
		{"no End of Track", smf::File({smf::Track().NoteOn(0, 0, 60, 1)}), -1, 0,
			0, NULL},
		{"body shorter than End of Track",
			smf::File({smf::Track().Raw({0xFF, 0x2F})}), -1, 0, 0, NULL},
		{"chunk length past the stream", smf::Concat({smf::Header(1, 1, 96),
			ShortTrack().Chunk(0xFFFFFFF0)}), -1, 0, 0, NULL},
		{"chunk length one past the stream", smf::Concat({smf::Header(1, 1, 96),
			ShortTrack().Chunk(ShortTrack().Body().size() + 1)}), -1, 0, 0, NULL},
		{"title from the first non-empty first name", smf::File({
			smf::Track().Name(0, "").Name(10, "Later").End(),
			smf::Track().End(),
			smf::Track().NoteOn(0, 0, 60, 1).Name(5, "Piano").End(5)}),
			0, 3, 10, "Piano"},
		{"title kept as stored", smf::File({smf::Track().Name(0,
			"\x83\x73\x83\x41\x83\x6d").End()}), 0, 1, 0, "\x83\x73\x83\x41\x83\x6d"},
		{"40 bytes claiming a 4 GiB track", smf::Concat({smf::Header(1, 1, 96),
			smf::Track().Raw(smf::Bytes(18, 0)).Chunk(0xFFFFFFFF)}), -1, 0, 0, NULL},
		{"a good track, then one claiming 4 GiB", smf::Concat({
			smf::Header(1, 2, 96), ShortTrack().Chunk(),
			ShortTrack().Chunk(0xFFFFFFFF)}), -1, 1, 0, NULL},
		{"65535 tracks claimed, one there", smf::Concat({
			smf::Header(1, 65535, 96), ShortTrack().Chunk()}), -1, 1, 0, NULL},
		{"dense events", smf::File({DenseTrack(20000), DenseTrack(100)}),
			0, 2, 4999, NULL},
	};
	for (const Case& test : cases) {
		SCOPED_TRACE(test.name);
		TSMFProducer song;
		status_t status;
		size_t allocated;
		{
			AllocationCounter counter;
			status = Load(song, test.bytes);
			allocated = counter.Bytes();
		}
		EXPECT_EQ(test.status, status);
		// Never more than the file's size justifies, whatever its header
		// and chunks claim.
		EXPECT_LE(allocated, justified_allocation(test.bytes.size()));
		EXPECT_EQ(test.tracks, song.CountTracks());
		if (test.status == 0) {
			EXPECT_EQ(test.length, song.CountTicks());
		}
		std::string title = "untouched";
		if (test.title != NULL) {
			EXPECT_EQ(0, song.GetTitle(&title));
			EXPECT_EQ(test.title, title);
		} else {
			EXPECT_EQ(-1, song.GetTitle(&title));
			EXPECT_EQ("untouched", title);
		}
	}
}


TEST(SMFProducerTest, EveryLoadStartsFromEmpty)
{
	TSMFProducer song;
	ASSERT_EQ(0, Load(song, smf::File({ShortTrack(1920), ShortTrack(3840)})));
	ASSERT_EQ(-1, Load(song, smf::Header(2, 0, 96)));
	EXPECT_EQ(0, song.CountTracks());
	EXPECT_EQ(0u, song.CountTicks());

	// A Set Tempo played earlier does not outlive the song.
	ASSERT_EQ(0, Load(song, smf::File({ShortTrack()})));
	EXPECT_EQ(500000u, song.Tempo());
	song.Unset();
	EXPECT_EQ(0, song.CountTracks());
}


TEST(SMFProducerTest, LoadsFromAFileAndPassesOpenErrorsThrough)
{
	char folder[] = "/tmp/smfproducer-XXXXXX";
	ASSERT_NE(nullptr, mkdtemp(folder));
	std::string path = std::string(folder) + "/song.mid";
	smf::Bytes bytes = smf::File({ShortTrack(960)});
	std::ofstream(path, std::ios::binary).write(
		reinterpret_cast<const char*>(bytes.data()), bytes.size());

	TSMFProducer song;
	entry_ref ref;
	ASSERT_EQ(B_OK, BEntry(path.c_str()).GetRef(&ref));
	EXPECT_EQ(0, song.SetTo(&ref));
	EXPECT_EQ(960u, song.CountTicks());

	entry_ref missing;
	ASSERT_EQ(B_OK, BEntry((std::string(folder) + "/gone.mid").c_str())
		.GetRef(&missing));
	EXPECT_EQ(B_ENTRY_NOT_FOUND, song.SetTo(&missing));
	EXPECT_EQ(1, song.CountTracks());

	unlink(path.c_str());
	rmdir(folder);
}


TEST(SMFProducerTest, EndpointsAreNamedByIndex)
{
	TSMFProducer song;
	ASSERT_NE(nullptr, song.Producer(0));
	EXPECT_STREQ("SMFProducer_0", song.Producer(0)->Name());
	EXPECT_STREQ("SMFProducer_1", song.Producer(1)->Name());
	EXPECT_EQ(nullptr, song.Producer(2));
	EXPECT_FALSE(song.Producer(0)->IsRegistered());
}
