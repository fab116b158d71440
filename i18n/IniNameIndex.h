#ifndef INI_NAME_INDEX_H
#define INI_NAME_INDEX_H

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

// Folds ASCII letters only, whatever locale the process runs in: the bytes of
// UTF-8 names never change.
inline char
ini_ascii_lower(char c)
{
	return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}


// Section names and keys compare without regard to ASCII letter case.
inline bool
ini_names_equal(std::string_view a, std::string_view b)
{
	return a.size() == b.size()
		&& std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
			return ini_ascii_lower(x) == ini_ascii_lower(y);
		});
}


// Finds the items of an INI text (sections, pairs) by name, ASCII letter case
// ignored, in constant time. A text may hold several items of one name;
// they are kept in the order they stand in their list, so that a lookup
// finds the first, as a scan of the list would.
//
// The index keeps no copies of the names: a name given with an item must
// stay where it is, unchanged, while the item is in the index (a section's
// name, a pair's key).
template<typename Item>
class TIniNameIndex {
public:
	const Item* First(std::string_view name) const
	{
		auto found = fGroups.find(name);
		return found == fGroups.end() ? nullptr : &found->second.first;
	}

	// The first item of that name for which `accept` answers true.
	template<typename Predicate>
	const Item* FirstAccepted(std::string_view name, Predicate accept) const
	{
		auto found = fGroups.find(name);
		if (found == fGroups.end())
			return nullptr;
		const Group& group = found->second;
		if (accept(group.first))
			return &group.first;
		for (const Named& other : group.more) {
			if (accept(other.item))
				return &other.item;
		}
		return nullptr;
	}

	// `item` stands after every other item of that name.
	void Append(std::string_view name, const Item& item)
	{
		Insert(name, item, static_cast<size_t>(-1));
	}

	// `item` stands after `rank` items of that name (after all of them when
	// there are fewer).
	void Insert(std::string_view name, const Item& item, size_t rank)
	{
		// One probe of the table: a name met before leaves it unchanged.
		auto [found, added] = fGroups.emplace(name, Group{item, {}});
		if (added)
			return;
		Group& group = found->second;
		if (rank > 0) {
			group.more.insert(group.more.begin()
				+ std::min(rank - 1, group.more.size()), Named{name, item});
			return;
		}
		group.more.insert(group.more.begin(), Named{found->first, group.first});
		group.first = item;
		_Rename(found, name);
	}

	// Removes `item`, filed under that name (in any letter case).
	void Remove(std::string_view name, const Item& item)
	{
		auto found = fGroups.find(name);
		if (found == fGroups.end())
			return;
		Group& group = found->second;
		if (!(group.first == item)) {
			auto other = std::find_if(group.more.begin(), group.more.end(),
				[&item](const Named& named) { return named.item == item; });
			if (other != group.more.end())
				group.more.erase(other);
			return;
		}
		if (group.more.empty()) {
			fGroups.erase(found);
			return;
		}
		const Named next = group.more.front();
		group.more.erase(group.more.begin());
		group.first = next.item;
		_Rename(found, next.name);
	}

	void Clear() { fGroups.clear(); }

private:
	struct Named {
		std::string_view name;
		Item item;
	};

	// The items of one name. The first, the one lookups find, needs no list
	// of its own, so a name that occurs once costs no allocation.
	struct Group {
		Item first;
		std::vector<Named> more;
	};

	struct FoldedHash {
		using is_transparent = void;
		size_t operator()(std::string_view name) const
		{
			// FNV-1a over the folded bytes.
			size_t hash = 14695981039346656037ull;
			for (char c : name) {
				hash ^= static_cast<unsigned char>(ini_ascii_lower(c));
				hash *= 1099511628211ull;
			}
			return hash;
		}
	};

	struct FoldedEqual {
		using is_transparent = void;
		bool operator()(std::string_view a, std::string_view b) const
		{
			return ini_names_equal(a, b);
		}
	};

	typedef std::unordered_map<std::string_view, Group, FoldedHash,
		FoldedEqual> GroupMap;

	// The group is filed under the name of its first item, which lives as
	// long as that item.
	void _Rename(typename GroupMap::iterator group, std::string_view name)
	{
		auto node = fGroups.extract(group);
		node.key() = name;
		fGroups.insert(std::move(node));
	}

	GroupMap fGroups;
};

#endif
