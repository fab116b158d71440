#include "Charset.h"

#include <bit>

uint32
pelkan::detect_charset(const char* text)
{
	const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
	bool escape = false;
	bool error = false;

	for (size_t i = 0; bytes[i] != 0;) {
		const unsigned char lead = bytes[i];
		if (lead < 0x80) {
			if (lead == 0x1b)
				escape = true;
			i++;
			continue;
		}
		if ((lead & 0xc0) != 0xc0)
			error = true;
		const int announced = std::countl_one(lead) - 1;
		i++;
		for (int k = 0; k < announced; k++, i++) {
			if (bytes[i] == 0) {
				error = true;
				break;
			}
			if ((bytes[i] & 0xc0) != 0x80)
				error = true;
		}
	}

	if (escape)
		return B_JIS_CONVERSION;
	if (error)
		return B_SJIS_CONVERSION;
	return kUTF8Charset;
}
