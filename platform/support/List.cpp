#include <List.h>

#include <algorithm>

// The count is the original's allocation block size; reserving it keeps the
// first additions free of reallocations.
BList::BList(int32 count)
{
	if (count > 0)
		fItems.reserve(static_cast<size_t>(count));
}

BList::BList(const BList& other) = default;

BList::~BList() = default;

BList& BList::operator=(const BList& other) = default;

bool BList::AddItem(void* item)
{
	fItems.push_back(item);
	return true;
}

bool BList::AddItem(void* item, int32 index)
{
	if (index < 0 || index > CountItems())
		return false;
	fItems.insert(fItems.begin() + index, item);
	return true;
}

bool BList::RemoveItem(void* item)
{
	int32 index = IndexOf(item);
	if (index < 0)
		return false;
	fItems.erase(fItems.begin() + index);
	return true;
}

void* BList::RemoveItem(int32 index)
{
	if (!_IsValidIndex(index))
		return NULL;
	void* item = fItems[static_cast<size_t>(index)];
	fItems.erase(fItems.begin() + index);
	return item;
}

void BList::MakeEmpty()
{
	fItems.clear();
}

void* BList::ItemAt(int32 index) const
{
	return _IsValidIndex(index) ? fItems[static_cast<size_t>(index)] : NULL;
}

void* BList::FirstItem() const
{
	return fItems.empty() ? NULL : fItems.front();
}

void* BList::LastItem() const
{
	return fItems.empty() ? NULL : fItems.back();
}

bool BList::HasItem(void* item) const
{
	return IndexOf(item) >= 0;
}

int32 BList::IndexOf(void* item) const
{
	auto found = std::find(fItems.begin(), fItems.end(), item);
	return found == fItems.end() ? -1 : static_cast<int32>(found - fItems.begin());
}

int32 BList::CountItems() const
{
	return static_cast<int32>(fItems.size());
}

bool BList::IsEmpty() const
{
	return fItems.empty();
}

bool BList::_IsValidIndex(int32 index) const
{
	return index >= 0 && index < CountItems();
}
