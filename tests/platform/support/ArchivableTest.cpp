#include <Archivable.h>

#include <memory>

#include <gtest/gtest.h>

#include <Message.h>

// Classes as a kit would write them: a constructor from the archive, an
// Instantiate that checks the archive, and a registration.
class TShape : public BArchivable {
public:
	explicit TShape(int32 corners) : fCorners(corners) {}
	explicit TShape(BMessage* from)
		:
		BArchivable(from),
		fCorners(0)
	{
		from->FindInt32("corners", &fCorners);
	}

	status_t Archive(BMessage* into, bool deep = true) const override
	{
		status_t status = BArchivable::Archive(into, deep);
		// The base refuses a null message; said again for GCC's -Wnonnull.
		if (status == B_OK && into != NULL)
			status = into->AddInt32("corners", fCorners);
		return status;
	}

	static BArchivable* Instantiate(BMessage* from)
	{
		return validate_instantiation(from, "TShape") ? new TShape(from) : NULL;
	}

	int32 fCorners;
};

B_REGISTER_ARCHIVABLE_CLASS(TShape);

namespace geometry {

class TSquare : public TShape {
public:
	TSquare() : TShape(4) {}
	explicit TSquare(BMessage* from) : TShape(from) {}

	static BArchivable* Instantiate(BMessage* from)
	{
		return validate_instantiation(from, "geometry::TSquare") ? new TSquare(from) : NULL;
	}
};

}	// namespace geometry

B_REGISTER_ARCHIVABLE_CLASS(geometry::TSquare);

namespace {

template<typename Type>
std::unique_ptr<Type> instantiate_as(BMessage* archive)
{
	std::unique_ptr<BArchivable> object(instantiate_object(archive));
	Type* typed = dynamic_cast<Type*>(object.get());
	if (typed == nullptr)
		return nullptr;
	object.release();
	return std::unique_ptr<Type>(typed);
}

TEST(ArchivableTest, ArchiveNamesTheMostDerivedClass)
{
	BMessage archive;
	ASSERT_EQ(geometry::TSquare().Archive(&archive), B_OK);
	const char* className = NULL;
	ASSERT_EQ(archive.FindString("class", &className), B_OK);
	EXPECT_STREQ(className, "geometry::TSquare");
	type_code type = 0;
	int32 count = 0;
	ASSERT_EQ(archive.GetInfo("class", &type, &count), B_OK);
	EXPECT_EQ(type, static_cast<type_code>(B_STRING_TYPE));
	EXPECT_EQ(count, 1);

	EXPECT_EQ(TShape(3).Archive(NULL), B_BAD_VALUE);
}

TEST(ArchivableTest, InstantiatesTheClassTheArchiveNames)
{
	BMessage archive;
	ASSERT_EQ(TShape(3).Archive(&archive), B_OK);
	std::unique_ptr<TShape> shape = instantiate_as<TShape>(&archive);
	ASSERT_NE(shape, nullptr);
	EXPECT_EQ(shape->fCorners, 3);
	EXPECT_EQ(dynamic_cast<geometry::TSquare*>(shape.get()), nullptr);

	BMessage squareArchive;
	ASSERT_EQ(geometry::TSquare().Archive(&squareArchive), B_OK);
	std::unique_ptr<geometry::TSquare> square = instantiate_as<geometry::TSquare>(&squareArchive);
	ASSERT_NE(square, nullptr);
	EXPECT_EQ(square->fCorners, 4);
}

TEST(ArchivableTest, UnknownOrMissingClassesInstantiateNothing)
{
	BMessage unknown;
	unknown.AddString("class", "TNeverRegistered");
	BMessage noClass;
	noClass.AddInt32("corners", 3);
	BMessage wrongType;
	wrongType.AddInt32("class", 5);
	for (BMessage* archive : {&unknown, &noClass, &wrongType, static_cast<BMessage*>(NULL)})
		EXPECT_EQ(instantiate_object(archive), nullptr);
	EXPECT_EQ(find_instantiation_func("TNeverRegistered"), nullptr);
	EXPECT_EQ(find_instantiation_func(NULL), nullptr);
	EXPECT_EQ(find_instantiation_func("TShape"), &TShape::Instantiate);
	EXPECT_EQ(BArchivable::Instantiate(&unknown), nullptr);
}

// An Instantiate function refuses an archive of another class even when
// called directly.
TEST(ArchivableTest, ValidationLooksAtEveryClassEntry)
{
	BMessage archive;
	archive.AddString("class", "TLabel");
	archive.AddString("class", "TShape");
	EXPECT_TRUE(validate_instantiation(&archive, "TLabel"));
	EXPECT_TRUE(validate_instantiation(&archive, "TShape"));
	EXPECT_FALSE(validate_instantiation(&archive, "TSha"));
	EXPECT_FALSE(validate_instantiation(&archive, NULL));
	EXPECT_FALSE(validate_instantiation(NULL, "TShape"));

	BMessage other;
	other.AddString("class", "TLabel");
	EXPECT_EQ(geometry::TSquare::Instantiate(&other), nullptr);
}

}	// namespace
