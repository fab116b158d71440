#include <gtest/gtest.h>

#include <cstring>

#include <ExecutableResources.h>
#include <Resources.h>

namespace {

// A program loads its built-in texts from a static constructor.
struct EarlyReader {
	EarlyReader()
	{
		text = (const char*)executable_resources()->LoadResource('CSTR', 3000,
			&size);
	}

	const char* text = nullptr;
	size_t size = 0;
};

EarlyReader gEarlyReader;

} // namespace


TEST(ResourcesTest, ReadableBeforeMain)
{
	ASSERT_NE(nullptr, gEarlyReader.text);
	EXPECT_EQ(std::string("Hello from the resources\n\0", 26),
		std::string(gEarlyReader.text, gEarlyReader.size));
}


TEST(ResourcesTest, ById)
{
	BResources* resources = executable_resources();
	ASSERT_NE(nullptr, resources);
	EXPECT_EQ(resources, executable_resources());
	size_t size = 0;
	const uint8* bytes = (const uint8*)resources->LoadResource('RAWT', 7, &size);
	ASSERT_NE(nullptr, bytes);
	ASSERT_EQ(512u, size);
	for (size_t i = 0; i < size; i++)
		ASSERT_EQ(i % 256, bytes[i]) << "at " << i;
	EXPECT_TRUE(resources->HasResource('CSTR', 3000));
	EXPECT_FALSE(resources->HasResource('CSTR', 3001));
	EXPECT_FALSE(resources->HasResource('RAWT', 3000));
	size = 99;
	EXPECT_EQ(nullptr, resources->LoadResource('CSTR', 1, &size));
	EXPECT_EQ(99u, size);
}


TEST(ResourcesTest, ByName)
{
	BResources* resources = executable_resources();
	size_t size = 0;
	EXPECT_NE(nullptr, resources->LoadResource('RAWT', "AllBytes", &size));
	EXPECT_EQ(512u, size);
	EXPECT_NE(nullptr, resources->LoadResource('RAWT', "Empty", &size));
	EXPECT_EQ(0u, size);
	EXPECT_EQ(nullptr, resources->LoadResource('CSTR', "AllBytes", &size));
	EXPECT_EQ(nullptr, resources->LoadResource('RAWT', "allbytes", &size));
	EXPECT_EQ(nullptr, resources->LoadResource('RAWT', (const char*)nullptr, &size));
	EXPECT_TRUE(resources->HasResource('RAWT', "Empty"));
	EXPECT_FALSE(resources->HasResource('CSTR', ""));
}


TEST(ResourcesTest, Enumeration)
{
	BResources* resources = executable_resources();
	type_code type;
	int32 id;
	const char* name;
	size_t size;
	ASSERT_TRUE(resources->GetResourceInfo(1, &type, &id, &name, &size));
	EXPECT_EQ((type_code)'RAWT', type);
	EXPECT_EQ(7, id);
	EXPECT_STREQ("AllBytes", name);
	ASSERT_TRUE(resources->GetResourceInfo(0, &type, &id, &name, &size));
	EXPECT_EQ(nullptr, name);
	EXPECT_FALSE(resources->GetResourceInfo(3, &type, &id, &name, &size));
	EXPECT_FALSE(resources->GetResourceInfo(-1, &type, &id, &name, &size));
}


TEST(ResourcesTest, DefaultObjectHoldsNothing)
{
	BResources empty;
	size_t size;
	EXPECT_EQ(nullptr, empty.LoadResource('CSTR', 3000, &size));
	EXPECT_FALSE(empty.HasResource('RAWT', "AllBytes"));
}
