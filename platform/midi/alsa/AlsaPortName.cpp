#include "AlsaPortName.h"

#include <cctype>

namespace {

std::string
trimmed(const std::string& text)
{
	size_t first = 0;
	size_t end = text.size();
	while (first < end && isspace(static_cast<unsigned char>(text[first])))
		first++;
	while (end > first && isspace(static_cast<unsigned char>(text[end - 1])))
		end--;
	return text.substr(first, end - first);
}


// True for "(12345)" or "(12345:0)" at the end of the text, whose start is
// then *start.
bool
ends_in_run_number(const std::string& text, size_t* start)
{
	if (text.size() < 3 || text.back() != ')')
		return false;
	size_t open = text.rfind('(');
	if (open == std::string::npos || open + 2 == text.size())
		return false;
	bool digit = false;
	for (size_t i = open + 1; i + 1 < text.size(); i++) {
		char c = text[i];
		if (isdigit(static_cast<unsigned char>(c)))
			digit = true;
		else if (c != ':')
			return false;
	}
	*start = open;
	return digit;
}

}


std::string
alsa_name::clean(const std::string& name)
{
	std::string text = trimmed(name);
	size_t start;
	if (!ends_in_run_number(text, &start))
		return text;
	std::string rest = trimmed(text.substr(0, start));
	return rest.empty() ? text : rest;
}


std::string
alsa_name::compose(const std::string& clientName, const std::string& portName)
{
	return clean(clientName) + ":" + clean(portName);
}


std::string
AlsaNameBook::Claim(const std::string& name)
{
	std::string claimed = name;
	for (int suffix = 2; fTaken.count(claimed) != 0; suffix++)
		claimed = name + " " + std::to_string(suffix);
	fTaken.insert(claimed);
	return claimed;
}


void
AlsaNameBook::Release(const std::string& claimed)
{
	fTaken.erase(claimed);
}
