#include <gtest/gtest.h>

#include <climits>
#include <string>

#include <DataIO.h>
#include <SMFProducer.h>

#include "ProgressLine.h"
#include "SMFBuilder.h"
#include "SongTitle.h"

namespace {

TEST(SongTitleTest, ConvertsTheDetectedCharacterSet)
{
	struct Case {
		std::string raw;
		std::string title;
	} cases[] = {
		{"Plain title", "Plain title"},
		{"\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88", "テスト"},
		// Shift-JIS.
		{"\x83\x65\x83\x58\x83\x67", "テスト"},
		// JIS: the escape sequences select the character sets.
		{"\x1B$B%F%9%H\x1B(B!", "テスト!"},
		// Half-width katakana grow from one byte to three.
		{std::string(40, '\xB1'), [] {
			std::string text;
			for (int i = 0; i < 40; i++)
				text += "ｱ";
			return text;
		}()},
		// A NUL inside a converted title becomes a space.
		{std::string("\x83\x65\0\x83\x67", 5), "テ ト"},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.title, title_to_utf8(test.raw));
}


TEST(SongTitleTest, TheFilesNameStandsInForAMissingTrackName)
{
	smf::Track named;
	named.Name(0, "\x83\x65\x83\x58\x83\x67").End();
	smf::Track unnamed;
	unnamed.NoteOn(0, 0, 60, 100).End();
	struct Case {
		smf::Bytes file;
		const char* title;
	} cases[] = {
		{smf::File({unnamed, named}), "テスト"},
		{smf::File({unnamed}), "song.mid"},
	};
	for (const Case& test : cases) {
		BMemoryIO stream(test.file.data(), test.file.size());
		TSMFProducer song;
		ASSERT_EQ(0, song.SetTo(&stream));
		EXPECT_EQ(test.title, song_title(song, "/music/folder/song.mid"));
	}
}


TEST(TerminalTextTest, NoTitleCanControlTheTerminal)
{
	struct Case {
		std::string text;
		int32 columns;
		std::string shown;
	} cases[] = {
		{"Title", INT_MAX, "Title"},
		{"Bad\x1B]0;owned\x07\r\nline", INT_MAX, "Bad ]0;owned   line"},
		{"DEL\x7F and C1 \xC2\x9B" "31m", INT_MAX, "DEL  and C1  31m"},
		{"broken \xFF\xC3 utf-8", INT_MAX, "broken ?? utf-8"},
		// Overlong and surrogate forms are not UTF-8 either.
		{"\xC0\x9B\xED\xA0\x80", INT_MAX, "?????"},
		{"Longer than ten", 10, "Longer tha"},
		// Wide characters take two columns and are never cut in half.
		{"テスト", 5, "テス"},
		{"テスト", 6, "テスト"},
	};
	for (const Case& test : cases)
		EXPECT_EQ(test.shown, terminal_text(test.text, test.columns));
}


TEST(TerminalTextTest, TheProgressLineFitsTheTerminal)
{
	TProgress progress = {"A rather long song title", 2, 12, 83000000, 37,
		120, 150};
	EXPECT_EQ("A rather long song title  [2/12] 1:23   37%  120 bpm x150%",
		format_progress(progress, 80));
	EXPECT_EQ("A rathe  [2/12] 1:23   37%  120 bpm x150%",
		format_progress(progress, 42));
	// Too narrow for any title: the figures alone, cut.
	EXPECT_EQ("[2/12] 1:23", format_progress(progress, 12));
}

}	// namespace
