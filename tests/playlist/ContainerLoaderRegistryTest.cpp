#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include <cstring>

#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>

#include <ContainerLoaderRegistry.h>
#include <Message.h>

#include "LoaderTestSupport.h"
#include "ScopedVariable.h"

namespace fs = std::filesystem;

namespace {

class ContainerLoaderRegistryTest : public testing::Test {
protected:
	// The program's folder, as the application records it.
	std::string ExeFolder() const { return fFolder.Path() + "/"; }
	std::string LoaderFolder() const { return fFolder / "Loader"; }
	// The user's, where dropped add-ons go.
	std::string UserLoaderFolder() const { return fFolder / "data/VantuMIDI/Loader"; }

	std::string Install(const char* file, const std::string& name)
	{
		return InstallIn(LoaderFolder(), file, name);
	}

	static std::string InstallIn(const std::string& folder, const char* file,
		const std::string& name)
	{
		fs::create_directories(folder);
		const std::string target = folder + "/" + name;
		fs::copy_file(file, target, fs::copy_options::overwrite_existing);
		return target;
	}

	std::vector<std::string> Names()
	{
		std::vector<std::string> names;
		for (const auto& loader : fLoaders)
			names.push_back(loader->Name());
		return names;
	}

	void Reload()
	{
		unload_container_loader(&fLoaders);
		load_container_loader(&fLoaders, ExeFolder());
	}

	static bool IsMapped(const std::string& file)
	{
		void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_NOLOAD);
		if (handle != nullptr)
			dlclose(handle);
		return handle != nullptr;
	}

	static ino_t Inode(const std::string& file)
	{
		struct stat status {};
		stat(file.c_str(), &status);
		return status.st_ino;
	}

	TempFolder fFolder;
	ScopedVariable fDataHome{"XDG_DATA_HOME", (fFolder / "data").c_str()};
	TContainerLoaderList fLoaders;
};

// A copy of an add-on cut inside its first program header, so that no build
// type leaves it loadable: half the file is not enough, since in an optimised
// build with debug information every loadable segment lies in the first half.
std::string
cut_inside_program_headers(const std::string& whole)
{
	ElfW(Ehdr) header;
	memcpy(&header, whole.data(), sizeof(header));
	return whole.substr(0, header.e_phoff + header.e_phentsize / 2);
}

const char* const kNative = "Container Loader Native 100";
const char* const kRaw = "Container Loader Raw List";
const char* const kFolder = "Container Loader Folder";
const char* const kExample = "Container Loader M3U";

}


TEST_F(ContainerLoaderRegistryTest, MissingOrEmptyFolderGivesTheNativeLoaderAlone)
{
	load_container_loader(&fLoaders, ExeFolder());
	EXPECT_EQ(std::vector<std::string>{kNative}, Names());
	EXPECT_EQ("", fLoaders[0]->Path());

	fs::create_directory(LoaderFolder());
	Reload();
	EXPECT_EQ(std::vector<std::string>{kNative}, Names());
}


TEST_F(ContainerLoaderRegistryTest, RegistersGoodAddOnsInListingOrderAndSkipsTheRest)
{
	Install(RAW_LOADER_FILE, "RawLoader.so");
	Install(FOLDER_LOADER_FILE, "FolderLoader.so");
	Install(EXAMPLE_LOADER_FILE, "ExampleLoader.so");
	const std::vector<std::string> refused = {
		Install(SPEC1_LOADER_FILE, "SpecLoader1.so"),
		Install(SPEC3_LOADER_FILE, "SpecLoader3.so"),
		Install(NO_EXPORT_LOADER_FILE, "NoExport.so"),
		Install(DATA_EXPORT_LOADER_FILE, "DataExport.so"),
	};
	write_whole_file(LoaderFolder() + "/Truncated.so",
		cut_inside_program_headers(read_whole_file(RAW_LOADER_FILE)));
	write_whole_file(LoaderFolder() + "/notes.txt", "not a library\n");
	write_whole_file(LoaderFolder() + "/Empty.so", "");
	fs::create_directory(LoaderFolder() + "/Sub");
	// Links are followed: one to a loader outside the folder counts, a
	// dangling one is passed over without ending the listing.
	const std::string outside = fFolder / "Outside.so";
	fs::copy_file(EXAMPLE_LOADER_FILE, outside);
	fs::create_symlink(outside, LoaderFolder() + "/Linked.so");
	fs::create_symlink(fFolder / "gone.so", LoaderFolder() + "/Dangling.so");

	load_container_loader(&fLoaders, ExeFolder());

	EXPECT_EQ((std::vector<std::string>{kNative, kExample, kFolder, kExample, kRaw}),
		Names());
	ASSERT_EQ(5u, fLoaders.size());
	EXPECT_EQ(LoaderFolder() + "/ExampleLoader.so", fLoaders[1]->Path());
	EXPECT_EQ(outside, fLoaders[3]->Path());
	EXPECT_EQ(LoaderFolder() + "/RawLoader.so", fLoaders[4]->Path());
	for (const std::string& file : refused)
		EXPECT_FALSE(IsMapped(file)) << file;
	EXPECT_TRUE(IsMapped(LoaderFolder() + "/RawLoader.so"));

	unload_container_loader(&fLoaders);
	EXPECT_TRUE(fLoaders.empty());
	// The images of registered add-ons stay: code of theirs may still run.
	EXPECT_TRUE(IsMapped(LoaderFolder() + "/RawLoader.so"));
}


TEST_F(ContainerLoaderRegistryTest, UserFolderIsLoadedAfterTheProgramsOwn)
{
	const std::string dataHome = fFolder / "data";
	ScopedVariable data("XDG_DATA_HOME", dataHome.c_str());
	const std::string userFolder = dataHome + "/VantuMIDI/Loader";
	fs::create_directories(userFolder);
	fs::copy_file(RAW_LOADER_FILE, userFolder + "/A-RawLoader.so");
	Install(FOLDER_LOADER_FILE, "Z-FolderLoader.so");

	load_container_loader(&fLoaders, ExeFolder());

	EXPECT_EQ((std::vector<std::string>{kNative, kFolder, kRaw}), Names());
	ASSERT_EQ(3u, fLoaders.size());
	EXPECT_EQ(userFolder + "/A-RawLoader.so", fLoaders[2]->Path());

	// A relative XDG_DATA_HOME is ignored, as the XDG rules say: the home's
	// own data folder is used.
	ScopedVariable relative("XDG_DATA_HOME", "data");
	ScopedVariable home("HOME", fFolder.Path().c_str());
	fs::create_directories(fFolder / ".local/share/VantuMIDI");
	fs::rename(dataHome + "/VantuMIDI/Loader", fFolder / ".local/share/VantuMIDI/Loader");
	Reload();
	EXPECT_EQ((std::vector<std::string>{kNative, kFolder, kRaw}), Names());
}


TEST_F(ContainerLoaderRegistryTest, FirstLoaderThatClaimsAnEntryWins)
{
	Install(RAW_LOADER_FILE, "RawLoader.so");
	Install(FOLDER_LOADER_FILE, "FolderLoader.so");
	load_container_loader(&fLoaders, ExeFolder());
	write_whole_file(fFolder / "native.lml", "TirokaList$1\n/a.mid\n");
	write_whole_file(fFolder / "raw.txt", "a.mid\n");
	write_whole_file(fFolder / "semi.txt", "Songs\nb.mid\n");
	write_whole_file(fFolder / "plain.txt", "nothing here\n");
	fs::create_directory(fFolder / "songs");

	const struct {
		const char* name;
		const char* loader;
		TSupportFmt kind;
	} cases[] = {
		{"native.lml", kNative, kSupportNative100},
		{"raw.txt", kRaw, kSupportRawList},
		{"semi.txt", kRaw, kSupportSemiRawList},
		{"songs", kFolder, kSupportFolder},
		{"plain.txt", nullptr, kUnwrittenKind},
	};
	for (const auto& test : cases) {
		SCOPED_TRACE(test.name);
		TSupportFmt kind = kUnwrittenKind;
		TContainerLoader* loader = find_container_loader(fLoaders,
			ref_for(fFolder / test.name), &kind);
		if (test.loader == nullptr) {
			EXPECT_EQ(nullptr, loader);
			continue;
		}
		ASSERT_NE(nullptr, loader);
		EXPECT_EQ(test.loader, loader->Name());
		EXPECT_EQ(test.kind, kind);
	}
}


TEST_F(ContainerLoaderRegistryTest, ThrowingAddOnIsLeftOutOrPassedOver)
{
	Install(THROWING_MAKE_LOADER_FILE, "A-ThrowingMake.so");
	Install(THROWING_LOADER_FILE, "B-Throwing.so");
	Install(RAW_LOADER_FILE, "RawLoader.so");
	load_container_loader(&fLoaders, ExeFolder());
	EXPECT_EQ((std::vector<std::string>{kNative, "Throwing Loader", kRaw}), Names());
	EXPECT_FALSE(IsMapped(LoaderFolder() + "/A-ThrowingMake.so"));

	write_whole_file(fFolder / "raw.txt", "a.mid\n");
	TSupportFmt kind = kUnwrittenKind;
	TContainerLoader* loader = find_container_loader(fLoaders,
		ref_for(fFolder / "raw.txt"), &kind);
	ASSERT_NE(nullptr, loader);
	EXPECT_EQ(kRaw, loader->Name());
	EXPECT_EQ(kSupportRawList, kind);
}


TEST_F(ContainerLoaderRegistryTest, TellsLoaderAddOnsFromOtherFiles)
{
	write_whole_file(fFolder / "Truncated.so",
		cut_inside_program_headers(read_whole_file(FOLDER_LOADER_FILE)));
	write_whole_file(fFolder / "notes.txt", "text");
	const struct {
		std::string file;
		bool loader;
	} cases[] = {
		{RAW_LOADER_FILE, true},
		{EXAMPLE_LOADER_FILE, true},
		{SPEC3_LOADER_FILE, true},
		{NO_EXPORT_LOADER_FILE, false},
		{DATA_EXPORT_LOADER_FILE, false},
		{fFolder / "Truncated.so", false},
		{fFolder / "notes.txt", false},
		{fFolder / "missing.so", false},
		{fFolder.Path(), false},
	};
	for (const auto& test : cases)
		EXPECT_EQ(test.loader, is_container_loader(test.file.c_str())) << test.file;
	EXPECT_FALSE(IsMapped(NO_EXPORT_LOADER_FILE));
}


TEST_F(ContainerLoaderRegistryTest, DroppedAddOnJoinsAfterTheFolderChange)
{
	const std::string dropped = fFolder / "RawLoader.so";
	fs::copy_file(RAW_LOADER_FILE, dropped);
	BMessage drop('cldd');
	const entry_ref droppedRef = ref_for(dropped);
	drop.AddRef("refs", &droppedRef);
	load_container_loader(&fLoaders, ExeFolder());

	ASSERT_EQ(B_OK, container_loader_dropped(&drop));
	EXPECT_EQ(std::vector<std::string>{kNative}, Names());
	Reload();
	EXPECT_EQ((std::vector<std::string>{kNative, kRaw}), Names());
	EXPECT_EQ(read_whole_file(RAW_LOADER_FILE),
		read_whole_file(UserLoaderFolder() + "/RawLoader.so"));
	// The program's folder is read-only once installed.
	EXPECT_FALSE(fs::exists(LoaderFolder()));
}


TEST_F(ContainerLoaderRegistryTest, DropUnderALoadedNameWritesANewFile)
{
	const std::string installed = InstallIn(UserLoaderFolder(), RAW_LOADER_FILE,
		"RawLoader.so");
	load_container_loader(&fLoaders, ExeFolder());
	ASSERT_EQ(2u, fLoaders.size());
	const ino_t mappedInode = Inode(installed);

	const std::string dropped = fFolder / "RawLoader.so";
	fs::copy_file(FOLDER_LOADER_FILE, dropped);
	BMessage drop('cldd');
	const entry_ref droppedRef = ref_for(dropped);
	drop.AddRef("refs", &droppedRef);
	ASSERT_EQ(B_OK, container_loader_dropped(&drop));

	EXPECT_NE(mappedInode, Inode(installed));
	EXPECT_EQ(read_whole_file(FOLDER_LOADER_FILE), read_whole_file(installed));
	// The loader of the old image still runs.
	EXPECT_EQ(kRaw, fLoaders[1]->Name());
	TSupportFmt kind;
	EXPECT_FALSE(fLoaders[1]->IsLoadable(ref_for(fFolder.Path()), &kind));
}


TEST_F(ContainerLoaderRegistryTest, DropWithoutRefsFails)
{
	BMessage drop('cldd');
	EXPECT_NE(B_OK, container_loader_dropped(&drop));
	EXPECT_FALSE(fs::exists(UserLoaderFolder()));
}


// The dynamic loader hands back a loaded image by name alone; the new file
// under the old name must still be the one loaded after the folder change.
TEST_F(ContainerLoaderRegistryTest, ReplacedAddOnIsTheOneLoadedAfterTheFolderChange)
{
	InstallIn(UserLoaderFolder(), RAW_LOADER_FILE, "Loader.so");
	load_container_loader(&fLoaders, ExeFolder());
	const std::string dropped = fFolder / "Loader.so";
	fs::copy_file(FOLDER_LOADER_FILE, dropped);
	BMessage drop('cldd');
	const entry_ref droppedRef = ref_for(dropped);
	drop.AddRef("refs", &droppedRef);
	ASSERT_EQ(B_OK, container_loader_dropped(&drop));

	Reload();
	EXPECT_EQ((std::vector<std::string>{kNative, kFolder}), Names());
}
