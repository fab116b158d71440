#include <gtest/gtest.h>

#include <Message.h>

#include <Pref.h>

// The record of whether the user picked the language: kept through a save,
// and a preferences file from before it existed still loads, following the
// locale.
TEST(LanguageChoiceTest, PickedLanguageIsKeptAndOlderFilesFollowTheLocale)
{
	TPref picked;
	picked.languageChosen = true;
	picked.languageFile = "/somewhere/German.vlt";
	BMessage archive;
	ASSERT_TRUE(picked.Archive(&archive));

	TPref reread;
	ASSERT_TRUE(reread.Unarchive(archive));
	EXPECT_TRUE(reread.languageChosen);
	EXPECT_EQ("/somewhere/German.vlt", reread.languageFile);

	ASSERT_EQ(B_OK, archive.RemoveName("VLTC"));
	TPref older;
	EXPECT_TRUE(older.Unarchive(archive));
	EXPECT_FALSE(older.languageChosen);
	EXPECT_EQ("/somewhere/German.vlt", older.languageFile);
}
