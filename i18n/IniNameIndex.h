#ifndef INI_NAME_INDEX_H
#define INI_NAME_INDEX_H

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
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


// A hash of the name with its ASCII letters folded, eight bytes at a time:
// names that ini_names_equal calls equal hash alike. Never 0.
inline uint64_t
ini_folded_hash(std::string_view name)
{
	constexpr uint64_t kOnes = 0x0101010101010101ull;
	constexpr uint64_t kHighBits = 0x8080808080808080ull;
	constexpr uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
	uint64_t hash = name.size() * kMultiplier;
	for (size_t at = 0; at < name.size(); at += 8) {
		uint64_t word = 0;
		memcpy(&word, name.data() + at, std::min<size_t>(8, name.size() - at));
		// Sets 0x20 in each byte from 'A' to 'Z'; bytes of 0x80 and above
		// (UTF-8 sequences) stay as they are.
		const uint64_t low = word & ~kHighBits;
		const uint64_t fromA = (low + (0x80 - 'A') * kOnes) & kHighBits;
		const uint64_t pastZ = (low + (0x80 - 'Z' - 1) * kOnes) & kHighBits;
		word |= (fromA & ~pastZ & ~word) >> 2;
		hash = (hash ^ word) * kMultiplier;
		hash ^= hash >> 29;
	}
	return hash | 1;
}


// Finds the items of an INI text (sections, pairs) by name, ASCII letter case
// ignored, in constant time. A text may hold several items of one name;
// they are kept in the order they stand in their list, so that a lookup
// finds the first, as a scan of the list would.
//
// The index keeps no copies of the names: a name given with an item must
// stay where it is, unchanged, while the item is in the index (a section's
// name, a pair's key).
//
// The names live in one open-addressed table (linear probing, at most half
// full) with their hashes, so a lookup or an insert touches one or two
// cache lines of the table and the name it compares, and a text of 100,000
// names costs no allocation per name.
template<typename Item>
class TIniNameIndex {
public:
	TIniNameIndex() : fCount(0), fRepeats(0), fShift(64) {}

	const Item* First(std::string_view name) const
	{
		const Entry* entry = _Find(name, ini_folded_hash(name));
		return entry == nullptr ? nullptr : &entry->first;
	}

	// The first item of that name for which `accept` answers true.
	template<typename Predicate>
	const Item* FirstAccepted(std::string_view name, Predicate accept) const
	{
		const Entry* entry = _Find(name, ini_folded_hash(name));
		if (entry == nullptr)
			return nullptr;
		if (accept(entry->first))
			return &entry->first;
		if (entry->more != nullptr) {
			for (const Named& other : *entry->more) {
				if (accept(other.item))
					return &other.item;
			}
		}
		return nullptr;
	}

	// Whether any name has more than one item.
	bool HasRepeats() const { return fRepeats > 0; }

	// `item` stands after every other item of that name.
	void Append(std::string_view name, const Item& item)
	{
		Insert(name, item, static_cast<size_t>(-1));
	}

	// `item` stands after `rank` items of that name (after all of them when
	// there are fewer).
	void Insert(std::string_view name, const Item& item, size_t rank)
	{
		const uint64_t hash = ini_folded_hash(name);
		Entry* entry = _Find(name, hash);
		if (entry == nullptr) {
			_Add(Entry{name, hash, item, nullptr});
			return;
		}
		fRepeats++;
		if (entry->more == nullptr)
			entry->more = std::make_unique<std::vector<Named>>();
		std::vector<Named>& more = *entry->more;
		if (rank > 0) {
			more.insert(more.begin() + std::min(rank - 1, more.size()),
				Named{name, item});
			return;
		}
		more.insert(more.begin(), Named{entry->name, entry->first});
		entry->name = name;
		entry->first = item;
	}

	// Removes `item`, filed under that name (in any letter case).
	void Remove(std::string_view name, const Item& item)
	{
		Entry* entry = _Find(name, ini_folded_hash(name));
		if (entry == nullptr)
			return;
		const bool alone = entry->more == nullptr || entry->more->empty();
		if (!(entry->first == item)) {
			if (alone)
				return;
			auto other = std::find_if(entry->more->begin(), entry->more->end(),
				[&item](const Named& named) { return named.item == item; });
			if (other != entry->more->end()) {
				entry->more->erase(other);
				fRepeats--;
			}
			return;
		}
		if (alone) {
			_Erase(static_cast<size_t>(entry - fEntries.data()));
			return;
		}
		// The group is filed under the name of its first item, which lives
		// as long as that item.
		entry->name = entry->more->front().name;
		entry->first = entry->more->front().item;
		entry->more->erase(entry->more->begin());
		fRepeats--;
	}

	void Clear()
	{
		fEntries.clear();
		fCount = 0;
		fRepeats = 0;
		fShift = 64;
	}

private:
	struct Named {
		std::string_view name;
		Item item;
	};

	// The items of one name. The first, the one lookups find, needs no list
	// of its own, so a name that occurs once costs no allocation.
	struct Entry {
		std::string_view name;
		// 0 marks a free slot.
		uint64_t hash;
		Item first;
		std::unique_ptr<std::vector<Named>> more;
	};

	static constexpr size_t kMinSlots = 16;

	// The top bits of a multiplicative hash, which depend on every bit of
	// the name's hash.
	size_t _Home(uint64_t hash) const
	{
		return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ull) >> fShift);
	}

	const Entry* _Find(std::string_view name, uint64_t hash) const
	{
		if (fEntries.empty())
			return nullptr;
		const size_t mask = fEntries.size() - 1;
		for (size_t slot = _Home(hash); fEntries[slot].hash != 0;
				slot = (slot + 1) & mask) {
			const Entry& entry = fEntries[slot];
			if (entry.hash == hash && ini_names_equal(entry.name, name))
				return &entry;
		}
		return nullptr;
	}

	Entry* _Find(std::string_view name, uint64_t hash)
	{
		return const_cast<Entry*>(std::as_const(*this)._Find(name, hash));
	}

	void _Add(Entry&& entry)
	{
		if ((fCount + 1) * 2 > fEntries.size())
			_Grow();
		_Place(std::move(entry));
		fCount++;
	}

	void _Place(Entry&& entry)
	{
		const size_t mask = fEntries.size() - 1;
		size_t slot = _Home(entry.hash);
		while (fEntries[slot].hash != 0)
			slot = (slot + 1) & mask;
		fEntries[slot] = std::move(entry);
	}

	void _Grow()
	{
		const size_t slots = std::max(kMinSlots, fEntries.size() * 2);
		std::vector<Entry> old(slots);
		old.swap(fEntries);
		fShift = 64 - static_cast<unsigned>(std::countr_zero(slots));
		for (Entry& entry : old) {
			if (entry.hash != 0)
				_Place(std::move(entry));
		}
	}

	// Frees the slot and moves later entries of its probe run back, so that
	// every entry stays reachable from its home slot without tombstones.
	void _Erase(size_t slot)
	{
		const size_t mask = fEntries.size() - 1;
		size_t hole = slot;
		for (size_t next = (hole + 1) & mask; fEntries[next].hash != 0;
				next = (next + 1) & mask) {
			// The distance from an entry's home to where it stands: it may
			// fill the hole when the hole lies on that way.
			const size_t home = _Home(fEntries[next].hash);
			if (((next - home) & mask) >= ((next - hole) & mask)) {
				fEntries[hole] = std::move(fEntries[next]);
				hole = next;
			}
		}
		fEntries[hole] = Entry{};
		fCount--;
	}

	std::vector<Entry> fEntries;
	size_t fCount;
	// Items beyond the first of their name.
	size_t fRepeats;
	unsigned fShift;
};

#endif
