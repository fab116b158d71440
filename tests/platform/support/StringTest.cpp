#include <String.h>

#include <gtest/gtest.h>

namespace {

TEST(StringTest, NullAndEmbeddedNulReadAsCStrings)
{
	BString fromNull(NULL);
	EXPECT_STREQ(fromNull.String(), "");
	EXPECT_EQ(fromNull.Length(), 0);

	BString limited("abc\0def", 7);
	EXPECT_EQ(limited.Length(), 3);
	EXPECT_EQ(BString("abcdef", 2), "ab");
	EXPECT_EQ(BString("abc", -1), "");

	BString text("keep");
	text.SetTo(NULL);
	EXPECT_EQ(text, "");
	text.SetTo("abcdef", 4);
	EXPECT_EQ(text, "abcd");
	text.Append("xy\0z", 4).Append(NULL).Append('\0', 3);
	EXPECT_EQ(text, "abcdxy");
	text.Append('!', 2);
	EXPECT_EQ(text, "abcdxy!!");
	text = 'q';
	EXPECT_EQ(text, "q");
	text.SetTo('-', 3);
	EXPECT_EQ(text, "---");
}

TEST(StringTest, AppendingAndAssigningItselfIsSafe)
{
	BString text("ab");
	text += text;
	EXPECT_EQ(text, "abab");
	text.Append(text, 3);
	EXPECT_EQ(text, "abababa");
	BString& same = text;
	text = same;
	EXPECT_EQ(text, "abababa");
	text.SetTo(text.String() + 5);
	EXPECT_EQ(text, "ba");

	BString moved(std::move(text));
	EXPECT_EQ(moved, "ba");
	BString copy(moved);
	copy += "c";
	EXPECT_EQ(moved, "ba");
	EXPECT_EQ(copy, "bac");
}

TEST(StringTest, ComparisonsFollowByteOrder)
{
	struct Comparison {
		const char* left;
		const char* right;
		int compare;
		int icompare;
	};
	for (const Comparison& c : {
			Comparison{"abc", "abc", 0, 0},
			Comparison{"abc", "abd", -1, -1},
			Comparison{"abc", "ab", 1, 1},
			Comparison{"", NULL, 0, 0},
			Comparison{"a", NULL, 1, 1},
			Comparison{"ABC", "abc", -1, 0},
			Comparison{"Zebra", "apple", -1, 1},
			Comparison{"\xc3\x89", "\xc3\xa9", -1, -1},
			Comparison{"\xe9", "a", 1, 1}}) {
		BString left(c.left);
		EXPECT_EQ(left.Compare(c.right), c.compare) << c.left;
		EXPECT_EQ(left.ICompare(c.right), c.icompare) << c.left;
		EXPECT_EQ(left == c.right, c.compare == 0) << c.left;
		EXPECT_EQ(left < BString(c.right), c.compare < 0) << c.left;
		EXPECT_EQ(c.right != NULL && c.right > left, c.right != NULL && c.compare < 0);
	}
	EXPECT_EQ(BString("abcX").Compare("abcY", 3), 0);
	EXPECT_EQ(BString("ABCx").ICompare("abcY", 3), 0);
	EXPECT_EQ(BString("abc").Compare("xyz", 0), 0);
	EXPECT_TRUE("abc" == BString("abc"));
	EXPECT_TRUE("abc" <= BString("abd"));
	EXPECT_TRUE(BString("b") >= "a");
}

TEST(StringTest, FindFirstReportsOffsetsAndMisses)
{
	BString text("one two one");
	EXPECT_EQ(text.FindFirst("one"), 0);
	EXPECT_EQ(text.FindFirst("one", 1), 8);
	EXPECT_EQ(text.FindFirst(BString("two")), 4);
	EXPECT_EQ(text.FindFirst('o', 3), 6);
	EXPECT_EQ(text.FindFirst("three"), B_ERROR);
	EXPECT_EQ(text.FindFirst("one", 9), B_ERROR);
	EXPECT_EQ(text.FindFirst("one", -1), B_ERROR);
	EXPECT_EQ(text.FindFirst("", 11), 11);
	EXPECT_EQ(text.FindFirst("", 12), B_ERROR);
	EXPECT_EQ(text.FindFirst(static_cast<const char*>(NULL)), B_BAD_VALUE);
	EXPECT_EQ(text.FindFirst('\0'), B_ERROR);
}

TEST(StringTest, TruncateAndIndexStayInside)
{
	BString text("abcdef");
	EXPECT_EQ(text[0], 'a');
	EXPECT_EQ(text[5], 'f');
	EXPECT_EQ(text[6], '\0');
	EXPECT_EQ(text[-1], '\0');

	text.Truncate(10);
	EXPECT_EQ(text, "abcdef");
	text.Truncate(3, false);
	EXPECT_EQ(text, "abc");
	text.Truncate(-4);
	EXPECT_EQ(text, "");
	EXPECT_EQ(text[0], '\0');
}

}	// namespace
