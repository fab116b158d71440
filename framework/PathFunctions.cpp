#include "PathFunctions.h"

#include <cstring>

namespace {

// Position of the extension's '.' inside the file name part, or npos.
std::string::size_type
extension_dot(const std::string& path)
{
	std::string::size_type slash = path.rfind('/');
	std::string::size_type nameStart = slash == std::string::npos ? 0 : slash + 1;
	std::string::size_type dot = path.rfind('.');
	if (dot == std::string::npos || dot < nameStart)
		return std::string::npos;
	return dot;
}

}


std::string
extract_file_path(const std::string& path)
{
	std::string::size_type slash = path.rfind('/');
	return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}


std::string
extract_file_name(const std::string& path)
{
	std::string::size_type slash = path.rfind('/');
	return slash == std::string::npos ? path : path.substr(slash + 1);
}


std::string
extract_file_body(const std::string& path)
{
	std::string name = extract_file_name(path);
	std::string::size_type dot = name.rfind('.');
	return dot == std::string::npos ? name : name.substr(0, dot);
}


std::string
add_ext(const std::string& path, const std::string& ext)
{
	if (extension_dot(path) != std::string::npos)
		return path;
	return path + "." + ext;
}


std::string
reext(const std::string& path, const std::string& ext)
{
	std::string::size_type dot = extension_dot(path);
	if (dot == std::string::npos)
		return path + "." + ext;
	return path.substr(0, dot + 1) + ext;
}


void
reext(const char* source, const char* ext, char* dest)
{
	std::string result = reext(std::string(source), std::string(ext));
	memcpy(dest, result.c_str(), result.size() + 1);
}
