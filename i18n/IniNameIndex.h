#ifndef INI_NAME_INDEX_H
#define INI_NAME_INDEX_H

#include <algorithm>
#include <cstddef>
#include <string>
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
template<typename Item>
class TIniNameIndex {
public:
	// Every item of that name in list order, or null when there is none.
	const std::vector<Item>* Find(std::string_view name) const
	{
		auto found = fItems.find(name);
		return found == fItems.end() ? nullptr : &found->second;
	}

	const Item* First(std::string_view name) const
	{
		const std::vector<Item>* items = Find(name);
		return items == nullptr ? nullptr : &items->front();
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
		auto found = fItems.find(name);
		if (found == fItems.end()) {
			fItems.emplace(std::string(name), std::vector<Item>{item});
			return;
		}
		std::vector<Item>& items = found->second;
		items.insert(items.begin() + std::min(rank, items.size()), item);
	}

	void Remove(std::string_view name, const Item& item)
	{
		auto found = fItems.find(name);
		if (found == fItems.end())
			return;
		std::vector<Item>& items = found->second;
		auto position = std::find(items.begin(), items.end(), item);
		if (position != items.end())
			items.erase(position);
		if (items.empty())
			fItems.erase(found);
	}

	void Clear() { fItems.clear(); }

private:
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

	std::unordered_map<std::string, std::vector<Item>, FoldedHash, FoldedEqual>
		fItems;
};

#endif
