#include <NodeInfo.h>

#include <cstring>

#include "StoragePrivate.h"

namespace {

const char* const kDirectoryType = "application/x-vnd.Be-directory";

} // namespace


BNodeInfo::BNodeInfo()
	:
	fNode(nullptr),
	fStatus(B_NO_INIT)
{
}


BNodeInfo::BNodeInfo(BNode* node)
	:
	BNodeInfo()
{
	SetTo(node);
}


BNodeInfo::~BNodeInfo()
{
}


status_t
BNodeInfo::SetTo(BNode* node)
{
	fNode = nullptr;
	if (node == nullptr)
		return fStatus = B_BAD_VALUE;
	if (node->InitCheck() != B_OK)
		return fStatus = node->InitCheck();
	fNode = node;
	return fStatus = B_OK;
}


status_t
BNodeInfo::InitCheck() const
{
	return fStatus;
}


status_t
BNodeInfo::GetType(char* type) const
{
	if (type == nullptr)
		return B_BAD_VALUE;
	if (fStatus != B_OK)
		return fStatus;
	char stored[B_MIME_TYPE_LENGTH];
	ssize_t length = fNode->ReadAttr(BPrivate::kTypeAttribute, BPrivate::kMimeStringType, 0,
		stored, sizeof(stored));
	if (length > 0 && memchr(stored, '\0', length) != nullptr
		&& BMimeType::IsValid(stored)) {
		strcpy(type, stored);
		return B_OK;
	}

	struct stat st;
	std::string guess;
	if (fNode->GetStat(&st) == B_OK && S_ISDIR(st.st_mode))
		guess = kDirectoryType;
	else {
		const std::string& path = fNode->fPath;
		guess = BPrivate::mime_type_for_file_name(
			path.c_str() + path.rfind('/') + 1);
	}
	if (guess.empty() || guess.size() >= B_MIME_TYPE_LENGTH)
		return B_ENTRY_NOT_FOUND;
	strcpy(type, guess.c_str());
	return B_OK;
}


status_t
BNodeInfo::SetType(const char* type)
{
	if (fStatus != B_OK)
		return fStatus;
	if (type == nullptr) {
		status_t status = fNode->RemoveAttr(BPrivate::kTypeAttribute);
		return status == B_ENTRY_NOT_FOUND ? B_OK : status;
	}
	if (!BMimeType::IsValid(type))
		return B_BAD_VALUE;
	ssize_t written = fNode->WriteAttr(BPrivate::kTypeAttribute, BPrivate::kMimeStringType, 0,
		type, strlen(type) + 1);
	if (written < 0)
		return written;
	return B_OK;
}
