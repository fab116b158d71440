#include <gtest/gtest.h>

#include <FileUrl.h>

TEST(FileUrlTest, EveryByteThatIsNoPlainPathCharacterIsEncoded)
{
	const struct {
		const char* path;
		const char* url;
	} cases[] = {
		{"/usr/lib/vantumidi/README.md", "file:///usr/lib/vantumidi/README.md"},
		{"/home/a b/#1%/x?y", "file:///home/a%20b/%231%25/x%3Fy"},
		{"/音楽/ok~-_.md", "file:///%E9%9F%B3%E6%A5%BD/ok~-_.md"},
	};
	for (const auto& c : cases)
		EXPECT_EQ(c.url, file_url(c.path)) << c.path;
}
