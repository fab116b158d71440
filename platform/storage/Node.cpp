#include <Node.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <Directory.h>
#include <Entry.h>
#include <Path.h>
#include <TypeConstants.h>

#include "StoragePrivate.h"

namespace {

const char* const kXattrPrefix = "user.";
const size_t kXattrPrefixLength = 5;
const char* const kTypeXattr = "user.mime_type";
const size_t kTypeCodeSize = 4;


std::string xattr_name(const char* name)
{
	if (strcmp(name, BPrivate::kTypeAttribute) == 0)
		return kTypeXattr;
	return std::string(kXattrPrefix) + name;
}


// The attribute name for an extended attribute, empty for one outside the
// user namespace (those are not ours to show).
std::string attribute_name(const std::string& xattr)
{
	if (xattr == kTypeXattr)
		return BPrivate::kTypeAttribute;
	if (xattr.compare(0, kXattrPrefixLength, kXattrPrefix) != 0)
		return std::string();
	return xattr.substr(kXattrPrefixLength);
}


// "No attribute" covers file systems without extended attributes.
status_t attr_status(int error)
{
	if (error == ENODATA || error == ENOTSUP)
		return B_ENTRY_NOT_FOUND;
	return status_from_errno(error);
}


// The node's extended attributes, through its descriptor or, for a node
// opened without read access, through its /proc entry.
class XattrAccess {
public:
	XattrAccess(int fd, bool pathOnly)
		:
		fFd(fd)
	{
		if (pathOnly)
			snprintf(fProcPath, sizeof(fProcPath), "/proc/self/fd/%d", fd);
		else
			fProcPath[0] = '\0';
	}

	ssize_t Get(const char* name, void* buffer, size_t size) const
	{
		return fProcPath[0] != '\0' ? getxattr(fProcPath, name, buffer, size)
			: fgetxattr(fFd, name, buffer, size);
	}

	int Set(const char* name, const void* buffer, size_t size) const
	{
		return fProcPath[0] != '\0'
			? setxattr(fProcPath, name, buffer, size, 0)
			: fsetxattr(fFd, name, buffer, size, 0);
	}

	int Remove(const char* name) const
	{
		return fProcPath[0] != '\0' ? removexattr(fProcPath, name)
			: fremovexattr(fFd, name);
	}

	ssize_t List(char* buffer, size_t size) const
	{
		return fProcPath[0] != '\0' ? listxattr(fProcPath, buffer, size)
			: flistxattr(fFd, buffer, size);
	}

private:
	int fFd;
	char fProcPath[32];
};


// Reads a value whose size may change between asking and reading; answers
// 0 or the errno.
template<typename Reader>
int read_sized(Reader read, std::vector<char>* data)
{
	for (;;) {
		ssize_t size = read(nullptr, 0);
		if (size < 0)
			return errno;
		data->resize(size);
		size = read(data->data(), data->size());
		if (size >= 0) {
			data->resize(size);
			return 0;
		}
		if (errno != ERANGE)
			return errno;
	}
}

} // namespace


BNode::BNode()
	:
	fFd(-1),
	fPathOnly(false),
	fStatus(B_NO_INIT),
	fAttrIndex(0),
	fAttrsListed(false)
{
}


BNode::BNode(const entry_ref* ref)
	:
	BNode()
{
	SetTo(ref);
}


BNode::BNode(const BEntry* entry)
	:
	BNode()
{
	SetTo(entry);
}


BNode::BNode(const char* path)
	:
	BNode()
{
	SetTo(path);
}


BNode::BNode(const BDirectory* dir, const char* path)
	:
	BNode()
{
	SetTo(dir, path);
}


BNode::BNode(const BNode& node)
	:
	BNode()
{
	*this = node;
}


BNode::~BNode()
{
	BNode::Unset();
}


status_t
BNode::InitCheck() const
{
	return fStatus;
}


status_t
BNode::SetTo(const entry_ref* ref)
{
	if (ref == nullptr)
		return _Fail(B_BAD_VALUE);
	return _SetToNode(ref->path());
}


status_t
BNode::SetTo(const BEntry* entry)
{
	entry_ref ref;
	status_t status = entry == nullptr ? B_BAD_VALUE : entry->GetRef(&ref);
	if (status != B_OK)
		return _Fail(status);
	return SetTo(&ref);
}


status_t
BNode::SetTo(const char* path)
{
	return _SetToNode(BPrivate::absolute_path(path));
}


status_t
BNode::SetTo(const BDirectory* dir, const char* path)
{
	return _SetToNode(_PathFor(dir, path));
}


void
BNode::Unset()
{
	if (fFd >= 0)
		close(fFd);
	fFd = -1;
	fPathOnly = false;
	fPath.clear();
	fStatus = B_NO_INIT;
	RewindAttrs();
}


status_t
BNode::GetStat(struct stat* st) const
{
	if (st == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	return fstat(fFd, st) == 0 ? B_OK : status_from_errno(errno);
}


status_t
BNode::GetNodeRef(node_ref* ref) const
{
	struct stat st;
	status_t status = ref == nullptr ? B_BAD_VALUE : GetStat(&st);
	if (status != B_OK)
		return status;
	ref->device = st.st_dev;
	ref->node = st.st_ino;
	ref->path = fPath;
	BPrivate::remember_node_path(st.st_dev, st.st_ino, fPath);
	return B_OK;
}


status_t
BNode::Sync()
{
	if (fStatus != B_OK)
		return fStatus;
	return fsync(fFd) == 0 ? B_OK : status_from_errno(errno);
}


ssize_t
BNode::WriteAttr(const char* name, type_code type, off_t offset,
	const void* buffer, size_t length)
{
	if (name == nullptr || name[0] == '\0' || offset < 0
		|| (buffer == nullptr && length > 0)) {
		return B_BAD_VALUE;
	}
	if (fStatus != B_OK)
		return fStatus;

	std::vector<char> data;
	if (offset > 0) {
		type_code oldType;
		if (_ReadAttr(name, &oldType, &data) != B_OK)
			data.clear();
		if (data.size() < (size_t)offset + length)
			data.resize(offset + length);
	}
	if (length > 0) {
		if (offset == 0)
			data.assign((const char*)buffer, (const char*)buffer + length);
		else
			memcpy(data.data() + offset, buffer, length);
	}

	std::string xattr = xattr_name(name);
	std::vector<char> value;
	if (xattr == kTypeXattr)
		value.assign(data.begin(), std::find(data.begin(), data.end(), '\0'));
	else if (type == B_RAW_TYPE && data.size() < kTypeCodeSize) {
		// Bare bytes too short to hold a type code read as raw data, so
		// raw data that short is stored bare: a short value of another
		// program, copied through ReadAttr and WriteAttr, keeps its bytes.
		value = data;
	} else {
		for (int shift = 24; shift >= 0; shift -= 8)
			value.push_back((char)(type >> shift));
		value.insert(value.end(), data.begin(), data.end());
	}
	if (XattrAccess(fFd, fPathOnly).Set(xattr.c_str(), value.data(),
			value.size()) != 0) {
		return errno == ENOTSUP ? B_UNSUPPORTED : status_from_errno(errno);
	}
	return length;
}


ssize_t
BNode::ReadAttr(const char* name, type_code, off_t offset, void* buffer,
	size_t length) const
{
	// The type argument is not checked, as on the original platform.
	if (name == nullptr || offset < 0 || (buffer == nullptr && length > 0))
		return B_BAD_VALUE;
	type_code type;
	std::vector<char> data;
	status_t status = _ReadAttr(name, &type, &data);
	if (status != B_OK)
		return status;
	if ((size_t)offset >= data.size())
		return 0;
	size_t count = std::min(length, data.size() - (size_t)offset);
	memcpy(buffer, data.data() + offset, count);
	return count;
}


status_t
BNode::RemoveAttr(const char* name)
{
	if (name == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	if (XattrAccess(fFd, fPathOnly).Remove(xattr_name(name).c_str()) != 0)
		return attr_status(errno);
	return B_OK;
}


status_t
BNode::GetAttrInfo(const char* name, attr_info* info) const
{
	if (name == nullptr || info == nullptr)
		return B_BAD_VALUE;
	std::vector<char> data;
	status_t status = _ReadAttr(name, &info->type, &data);
	if (status == B_OK)
		info->size = data.size();
	return status;
}


status_t
BNode::GetNextAttrName(char* buffer)
{
	if (buffer == nullptr)
		return B_BAD_VALUE;
	buffer[0] = '\0';
	if (fStatus != B_OK)
		return fStatus;
	if (!fAttrsListed) {
		fAttrsListed = true;
		XattrAccess access(fFd, fPathOnly);
		std::vector<char> list;
		if (read_sized([&](char* to, size_t size) {
				return access.List(to, size); }, &list) == 0) {
			for (size_t start = 0; start < list.size();) {
				std::string xattr(list.data() + start);
				start += xattr.size() + 1;
				std::string attribute = attribute_name(xattr);
				if (!attribute.empty())
					fAttrNames.push_back(attribute);
			}
		}
	}
	if (fAttrIndex >= fAttrNames.size())
		return B_ENTRY_NOT_FOUND;
	snprintf(buffer, B_ATTR_NAME_LENGTH, "%s", fAttrNames[fAttrIndex++].c_str());
	return B_OK;
}


status_t
BNode::RewindAttrs()
{
	fAttrNames.clear();
	fAttrIndex = 0;
	fAttrsListed = false;
	return fStatus == B_NO_INIT ? B_NO_INIT : B_OK;
}


BNode&
BNode::operator=(const BNode& node)
{
	if (this == &node)
		return *this;
	Unset();
	if (node.fStatus != B_OK) {
		fStatus = node.fStatus;
		return *this;
	}
	fFd = fcntl(node.fFd, F_DUPFD_CLOEXEC, 0);
	if (fFd < 0) {
		fStatus = status_from_errno(errno);
		return *this;
	}
	fPathOnly = node.fPathOnly;
	fPath = node.fPath;
	fStatus = B_OK;
	return *this;
}


bool
BNode::operator==(const BNode& node) const
{
	node_ref own;
	node_ref other;
	if (GetNodeRef(&own) != B_OK || node.GetNodeRef(&other) != B_OK)
		return fStatus == B_NO_INIT && node.fStatus == B_NO_INIT;
	return own == other;
}


bool
BNode::operator!=(const BNode& node) const
{
	return !(*this == node);
}


status_t
BNode::_SetTo(const std::string& path, int openFlags)
{
	if (path.empty())
		return _Fail(B_BAD_VALUE);
	Unset();
	// Non-blocking so that a named pipe does not hang the open.
	fFd = open(path.c_str(), openFlags | O_CLOEXEC | O_NONBLOCK, 0666);
	if (fFd < 0)
		return _Fail(status_from_errno(errno));
	fPathOnly = (openFlags & O_PATH) != 0;
	if (!fPathOnly)
		fcntl(fFd, F_SETFL, fcntl(fFd, F_GETFL) & ~O_NONBLOCK);

	entry_ref ref;
	fPath = BPrivate::ref_for_absolute_path_traversed(path, &ref) == B_OK
		? ref.path() : BPrivate::clean_path(path);
	return fStatus = B_OK;
}


status_t
BNode::_SetToNode(const std::string& path)
{
	// A node need not be readable to have its attributes and stat read.
	status_t status = _SetTo(path, O_RDONLY);
	if (status == B_PERMISSION_DENIED)
		status = _SetTo(path, O_PATH);
	return status;
}


status_t
BNode::_ReadAttr(const char* name, type_code* type,
	std::vector<char>* data) const
{
	if (fStatus != B_OK)
		return fStatus;
	std::string xattr = xattr_name(name);
	XattrAccess access(fFd, fPathOnly);
	int error = read_sized([&](char* to, size_t size) {
		return access.Get(xattr.c_str(), to, size); }, data);
	if (error != 0)
		return attr_status(error);
	if (xattr == kTypeXattr) {
		*type = BPrivate::kMimeStringType;
		data->push_back('\0');
	} else if (data->size() < kTypeCodeSize) {
		// Written by another program without our type prefix.
		*type = B_RAW_TYPE;
	} else {
		*type = 0;
		for (size_t i = 0; i < kTypeCodeSize; i++)
			*type = (*type << 8) | (uint8)(*data)[i];
		data->erase(data->begin(), data->begin() + kTypeCodeSize);
	}
	return B_OK;
}


status_t
BNode::_Fail(status_t status)
{
	Unset();
	return fStatus = status;
}


std::string
BNode::_PathFor(const BDirectory* dir, const char* path)
{
	if (path == nullptr || path[0] == '\0')
		return std::string();
	if (path[0] == '/')
		return path;
	if (dir == nullptr || dir->InitCheck() != B_OK)
		return std::string();
	return BPrivate::join_path(static_cast<const BNode*>(dir)->fPath, path);
}
