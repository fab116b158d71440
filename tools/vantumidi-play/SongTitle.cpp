#include "SongTitle.h"

#include <algorithm>
#include <vector>

#include <Charset.h>
#include <SMFProducer.h>
#include <UTF8.h>


std::string
title_to_utf8(const std::string& raw)
{
	uint32 charset = pelkan::detect_charset(raw.c_str());
	if (charset == pelkan::kUTF8Charset)
		return raw;

	// Converted in rounds, so no character's expansion can be cut off by
	// the size of the buffer.
	std::string converted;
	std::vector<char> buffer(raw.size() * 3 + 16);
	int32 state = 0;
	size_t done = 0;
	while (done < raw.size()) {
		int32 sourceLength = raw.size() - done;
		int32 destinationLength = buffer.size();
		if (convert_to_utf8(charset, raw.data() + done, &sourceLength,
				buffer.data(), &destinationLength, &state, B_SUBSTITUTE)
					!= B_OK)
			return raw;
		converted.append(buffer.data(), destinationLength);
		if (sourceLength == 0)
			break;
		done += sourceLength;
	}
	std::replace(converted.begin(), converted.end(), '\0', ' ');
	return converted;
}


std::string
song_title(const TSMFProducer& song, const std::string& path)
{
	std::string raw;
	if (song.GetTitle(&raw) == 0)
		return title_to_utf8(raw);
	size_t slash = path.find_last_of('/');
	return slash == std::string::npos ? path : path.substr(slash + 1);
}
