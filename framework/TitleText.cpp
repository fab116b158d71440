#include "TitleText.h"

#include <algorithm>
#include <vector>

#include <UTF8.h>

#include "Charset.h"
#include "PathFunctions.h"


std::string
pelkan::title_to_utf8(const std::string& raw)
{
	std::string text = raw;
	std::replace(text.begin(), text.end(), '\0', ' ');
	const uint32 charset = detect_charset(text.c_str());
	if (charset == kUTF8Charset)
		return text;

	// Converted in rounds, so no character's expansion can be cut off by
	// the size of the buffer.
	std::string converted;
	std::vector<char> buffer(text.size() * 3 + 16);
	int32 state = 0;
	size_t done = 0;
	while (done < text.size()) {
		int32 sourceLength = text.size() - done;
		int32 destinationLength = buffer.size();
		if (convert_to_utf8(charset, text.data() + done, &sourceLength,
				buffer.data(), &destinationLength, &state, B_SUBSTITUTE)
					!= B_OK)
			return text;
		converted.append(buffer.data(), destinationLength);
		if (sourceLength == 0)
			break;
		done += sourceLength;
	}
	return converted;
}


std::string
pelkan::song_title(const std::string* rawTitle, const std::string& path)
{
	if (rawTitle != NULL)
		return title_to_utf8(*rawTitle);
	return extract_file_name(path);
}
