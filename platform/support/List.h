#ifndef _LIST_H
#define _LIST_H

#include <vector>

#include <SupportDefs.h>

// An ordered list of untyped pointers. The list never owns what it points
// to. Out-of-range indices are answered with NULL or false, never a crash.
class BList {
public:
	BList(int32 count = 20);
	BList(const BList& other);
	~BList();

	BList& operator=(const BList& other);

	bool AddItem(void* item);
	// Inserts before `index`; index == CountItems() appends.
	bool AddItem(void* item, int32 index);

	// Removes the first occurrence of `item`.
	bool RemoveItem(void* item);
	// Returns the removed item, NULL for a bad index.
	void* RemoveItem(int32 index);
	void MakeEmpty();

	void* ItemAt(int32 index) const;
	void* FirstItem() const;
	void* LastItem() const;

	bool HasItem(void* item) const;
	// -1 when the item is not in the list.
	int32 IndexOf(void* item) const;
	int32 CountItems() const;
	bool IsEmpty() const;

private:
	bool _IsValidIndex(int32 index) const;

	std::vector<void*> fItems;
};

#endif
