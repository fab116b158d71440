#include <MimeType.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <AtomicFile.h>
#include <Directory.h>
#include <Entry.h>
#include <File.h>
#include <Message.h>
#include <Path.h>

#include "StoragePrivate.h"

extern char** environ;

namespace {

const char* const kTypeItem = "type";
const char* const kShortDescriptionItem = "short_description";
const char* const kLongDescriptionItem = "long_description";
const char* const kPreferredAppItem = "preferred_app";
const char* const kExtensionsItem = "extensions";
const char* const kExtensionsField = "extensions";

// Types this system must recognise without any registration; a type
// installed for the same extension takes precedence.
const struct {
	const char* extension;
	const char* type;
} kBuiltInTypes[] = {
	{"htm", "text/html"},
	{"html", "text/html"},
	{"jpeg", "image/jpeg"},
	{"jpg", "image/jpeg"},
	{"kar", "audio/x-midi"},
	{"mid", "audio/x-midi"},
	{"midi", "audio/x-midi"},
	{"png", "image/png"},
	{"smf", "audio/x-midi"},
	{"txt", "text/plain"},
};


std::string lower_case(std::string text)
{
	for (char& c : text)
		c = tolower((unsigned char)c);
	return text;
}


std::string data_directory()
{
	return BPrivate::xdg_directory("XDG_DATA_HOME", ".local/share");
}


std::string store_directory()
{
	std::string data = data_directory();
	return data.empty() ? data : BPrivate::join_path(data, "vantumidi/mime");
}


status_t read_file(const std::string& path, std::string* text)
{
	BFile file(path.c_str(), B_READ_ONLY);
	off_t size;
	status_t status = file.GetSize(&size);
	if (status != B_OK)
		return status;
	text->resize(size);
	ssize_t read = file.ReadAt(0, text->data(), text->size());
	if (read < 0)
		return read;
	text->resize(read);
	return B_OK;
}


std::string read_text(const std::string& path)
{
	std::string text;
	return read_file(path, &text) == B_OK ? text : std::string();
}


std::vector<std::string> split_lines(const std::string& text)
{
	std::vector<std::string> lines;
	size_t start = 0;
	while (start < text.size()) {
		size_t end = text.find('\n', start);
		if (end == std::string::npos)
			end = text.size();
		if (end > start)
			lines.push_back(text.substr(start, end - start));
		start = end + 1;
	}
	return lines;
}


std::string xml_escaped(const std::string& text)
{
	std::string escaped;
	for (char c : text) {
		switch (c) {
			case '&': escaped += "&amp;"; break;
			case '<': escaped += "&lt;"; break;
			case '>': escaped += "&gt;"; break;
			case '"': escaped += "&quot;"; break;
			default: escaped += c;
		}
	}
	return escaped;
}


std::string package_path(const std::string& type)
{
	std::string name = type;
	for (char& c : name) {
		if (c == '/')
			c = '-';
	}
	return BPrivate::join_path(data_directory(), "mime/packages/" + name
		+ ".xml");
}


// Refreshes the desktop's MIME database; its absence is not an error.
void run_mime_database_update()
{
	std::string database = BPrivate::join_path(data_directory(), "mime");
	posix_spawn_file_actions_t actions;
	posix_spawn_file_actions_init(&actions);
	posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null",
		O_WRONLY, 0);
	posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
	char program[] = "update-mime-database";
	char* arguments[] = {program, database.data(), nullptr};
	pid_t child;
	if (posix_spawnp(&child, program, &actions, nullptr, arguments,
			environ) == 0) {
		while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
		}
	}
	posix_spawn_file_actions_destroy(&actions);
}

} // namespace


BMimeType::BMimeType()
	:
	fStatus(B_NO_INIT)
{
}


BMimeType::BMimeType(const char* mimeType)
	:
	fStatus(B_NO_INIT)
{
	SetTo(mimeType);
}


BMimeType::~BMimeType()
{
}


status_t
BMimeType::SetTo(const char* mimeType)
{
	if (!IsValid(mimeType)) {
		Unset();
		return fStatus = B_BAD_VALUE;
	}
	fType = mimeType;
	return fStatus = B_OK;
}


void
BMimeType::Unset()
{
	fType.clear();
	fStatus = B_NO_INIT;
}


status_t
BMimeType::InitCheck() const
{
	return fStatus;
}


const char*
BMimeType::Type() const
{
	return fStatus == B_OK ? fType.c_str() : nullptr;
}


bool
BMimeType::IsValid() const
{
	return fStatus == B_OK;
}


bool
BMimeType::IsSupertypeOnly() const
{
	return fStatus == B_OK && fType.find('/') == std::string::npos;
}


bool
BMimeType::IsInstalled() const
{
	std::string type;
	return _Read(kTypeItem, &type) == B_OK;
}


status_t
BMimeType::Install()
{
	if (fStatus != B_OK)
		return fStatus;
	if (IsInstalled())
		return B_FILE_EXISTS;
	status_t status = _EnsureInstalled();
	if (status == B_OK)
		status = _UpdatePackage();
	return status;
}


status_t
BMimeType::Delete()
{
	if (fStatus != B_OK)
		return fStatus;
	if (!IsInstalled())
		return B_ENTRY_NOT_FOUND;
	std::string store = _StorePath();
	BDirectory folder(store.c_str());
	BEntry entry;
	while (folder.GetNextEntry(&entry) == B_OK)
		entry.Remove();
	if (rmdir(store.c_str()) != 0)
		return status_from_errno(errno);
	if (!IsSupertypeOnly()) {
		unlink(package_path(fType).c_str());
		run_mime_database_update();
	}
	return B_OK;
}


status_t
BMimeType::GetFileExtensions(BMessage* extensions) const
{
	if (extensions == nullptr)
		return B_BAD_VALUE;
	std::string list;
	status_t status = _Read(kExtensionsItem, &list);
	if (status != B_OK)
		return status;
	extensions->RemoveName(kExtensionsField);
	for (const std::string& extension : split_lines(list))
		extensions->AddString(kExtensionsField, extension.c_str());
	return B_OK;
}


status_t
BMimeType::SetFileExtensions(const BMessage* extensions)
{
	std::string list;
	const char* extension;
	for (int32 i = 0; extensions != nullptr
			&& extensions->FindString(kExtensionsField, i, &extension) == B_OK;
			i++) {
		while (extension[0] == '.')
			extension++;
		if (strchr(extension, '/') != nullptr
			|| strchr(extension, '\n') != nullptr) {
			return B_BAD_VALUE;
		}
		if (extension[0] != '\0')
			list += std::string(extension) + "\n";
	}
	return _Write(kExtensionsItem, list.data(), list.size());
}


status_t
BMimeType::GetShortDescription(char* description) const
{
	return _ReadString(kShortDescriptionItem, description);
}


status_t
BMimeType::SetShortDescription(const char* description)
{
	return _WriteString(kShortDescriptionItem, description);
}


status_t
BMimeType::GetLongDescription(char* description) const
{
	return _ReadString(kLongDescriptionItem, description);
}


status_t
BMimeType::SetLongDescription(const char* description)
{
	return _WriteString(kLongDescriptionItem, description);
}


status_t
BMimeType::GetPreferredApp(char* signature, app_verb) const
{
	return _ReadString(kPreferredAppItem, signature);
}


status_t
BMimeType::SetPreferredApp(const char* signature, app_verb)
{
	if (signature != nullptr && !IsValid(signature))
		return B_BAD_VALUE;
	return _WriteString(kPreferredAppItem, signature);
}


status_t
BMimeType::GetIconData(void* buffer, size_t* size, icon_size which) const
{
	if (size == nullptr || (buffer == nullptr && *size > 0))
		return B_BAD_VALUE;
	std::string data;
	status_t status = _Read(which == B_LARGE_ICON ? "icon_large" : "icon_mini",
		&data);
	if (status != B_OK)
		return status;
	size_t capacity = *size;
	*size = data.size();
	if (capacity < data.size())
		return B_BAD_VALUE;
	memcpy(buffer, data.data(), data.size());
	return B_OK;
}


status_t
BMimeType::SetIconData(const void* data, size_t size, icon_size which)
{
	if (which != B_LARGE_ICON && which != B_MINI_ICON)
		return B_BAD_VALUE;
	return _Write(which == B_LARGE_ICON ? "icon_large" : "icon_mini",
		data, data == nullptr ? 0 : size);
}


bool
BMimeType::IsValid(const char* mimeType)
{
	if (mimeType == nullptr || mimeType[0] == '\0' || mimeType[0] == '/')
		return false;
	size_t length = strlen(mimeType);
	if (length >= B_MIME_TYPE_LENGTH)
		return false;
	int slashes = 0;
	for (size_t i = 0; i < length; i++) {
		unsigned char c = mimeType[i];
		if (c == '/')
			slashes++;
		else if (c <= ' ' || c >= 127 || strchr("<>@,;:\"()[]?=\\", c) != nullptr)
			return false;
	}
	return slashes == 0 || (slashes == 1 && mimeType[length - 1] != '/');
}


bool
BMimeType::operator==(const BMimeType& type) const
{
	return *this == type.Type();
}


bool
BMimeType::operator==(const char* type) const
{
	if (fStatus != B_OK || type == nullptr)
		return fStatus != B_OK && type == nullptr;
	return strcasecmp(fType.c_str(), type) == 0;
}


std::string
BMimeType::_StorePath() const
{
	std::string store = store_directory();
	return store.empty() ? store : BPrivate::join_path(store, lower_case(fType));
}


status_t
BMimeType::_Read(const char* item, std::string* value) const
{
	if (fStatus != B_OK)
		return fStatus;
	std::string store = _StorePath();
	if (store.empty())
		return B_ENTRY_NOT_FOUND;
	return read_file(BPrivate::join_path(store, item), value);
}


status_t
BMimeType::_ReadString(const char* item, char* buffer) const
{
	if (buffer == nullptr)
		return B_BAD_VALUE;
	std::string value;
	status_t status = _Read(item, &value);
	if (status != B_OK)
		return status;
	if (value.size() >= B_MIME_TYPE_LENGTH)
		return B_BAD_DATA;
	memcpy(buffer, value.c_str(), value.size() + 1);
	return B_OK;
}


status_t
BMimeType::_Write(const char* item, const void* data, size_t size)
{
	bool wasInstalled = IsInstalled();
	status_t status = _EnsureInstalled();
	if (status != B_OK)
		return status;
	std::string path = BPrivate::join_path(_StorePath(), item);
	if (data == nullptr) {
		if (unlink(path.c_str()) != 0 && errno != ENOENT)
			return status_from_errno(errno);
	} else
		status = BAtomicFile::Replace(path.c_str(), data, size);
	// The package names the type, its description and its extensions.
	bool inPackage = strcmp(item, kExtensionsItem) == 0
		|| strcmp(item, kShortDescriptionItem) == 0
		|| strcmp(item, kLongDescriptionItem) == 0;
	if (status == B_OK && (!wasInstalled || inPackage))
		status = _UpdatePackage();
	return status;
}


status_t
BMimeType::_WriteString(const char* item, const char* value)
{
	if (value != nullptr && strlen(value) >= B_MIME_TYPE_LENGTH)
		return B_BAD_VALUE;
	return _Write(item, value, value == nullptr ? 0 : strlen(value));
}


status_t
BMimeType::_EnsureInstalled()
{
	if (fStatus != B_OK)
		return fStatus;
	if (IsInstalled())
		return B_OK;
	std::string store = _StorePath();
	if (store.empty())
		return B_ENTRY_NOT_FOUND;
	status_t status = create_directory(store.c_str(), 0777);
	if (status == B_OK) {
		status = BAtomicFile::Replace(BPrivate::join_path(store, kTypeItem)
			.c_str(), fType.data(), fType.size());
	}
	return status;
}


status_t
BMimeType::_UpdatePackage() const
{
	if (IsSupertypeOnly())
		return B_OK;
	std::string comment;
	if (_Read(kLongDescriptionItem, &comment) != B_OK || comment.empty())
		_Read(kShortDescriptionItem, &comment);
	std::string extensions;
	_Read(kExtensionsItem, &extensions);

	std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
		"<mime-info xmlns=\"http://www.freedesktop.org/standards/"
		"shared-mime-info\">\n"
		"  <mime-type type=\"" + xml_escaped(fType) + "\">\n";
	if (!comment.empty())
		xml += "    <comment>" + xml_escaped(comment) + "</comment>\n";
	for (const std::string& extension : split_lines(extensions))
		xml += "    <glob pattern=\"*." + xml_escaped(extension) + "\"/>\n";
	xml += "  </mime-type>\n</mime-info>\n";

	std::string path = package_path(fType);
	status_t status = create_directory(path.substr(0, path.rfind('/')).c_str(),
		0777);
	if (status == B_OK)
		status = BAtomicFile::Replace(path.c_str(), xml.data(), xml.size());
	if (status == B_OK)
		run_mime_database_update();
	return status;
}


namespace BPrivate {

std::string mime_type_for_file_name(const char* name)
{
	const char* dot = name != nullptr ? strrchr(name, '.') : nullptr;
	if (dot == nullptr || dot[1] == '\0' || strchr(dot, '/') != nullptr)
		return std::string();
	std::string extension = lower_case(dot + 1);

	std::string store = store_directory();
	BDirectory supertypes(store.c_str());
	BEntry supertype;
	while (supertypes.GetNextEntry(&supertype) == B_OK) {
		BDirectory subtypes(&supertype);
		BEntry subtype;
		while (subtypes.GetNextEntry(&subtype) == B_OK) {
			BPath path(&subtype);
			std::string folder = path.Path() != nullptr ? path.Path() : "";
			for (const std::string& known : split_lines(read_text(
					join_path(folder, kExtensionsItem)))) {
				if (lower_case(known) == extension)
					return read_text(join_path(folder, kTypeItem));
			}
		}
	}

	for (const auto& entry : kBuiltInTypes) {
		if (extension == entry.extension)
			return entry.type;
	}
	return std::string();
}

} // namespace BPrivate
