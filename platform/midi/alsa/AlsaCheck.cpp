#include "AlsaCheck.h"

#include <alsa/asoundlib.h>

#include <cstring>
#include <mutex>

#include <Errors.h>

namespace {

std::mutex sFailureLock;
std::string sLastFailure;


const char*
file_name(const char* path)
{
	const char* slash = strrchr(path, '/');
	return slash != NULL ? slash + 1 : path;
}

}


status_t
alsa_check(int result, const char* call, std::source_location where)
{
	if (result >= 0)
		return B_OK;

	std::string failure = std::string(call) + ": " + snd_strerror(result)
		+ " (" + file_name(where.file_name()) + ":"
		+ std::to_string(where.line()) + ")";
	std::lock_guard<std::mutex> lock(sFailureLock);
	sLastFailure = failure;
	return status_from_errno(-result);
}


std::string
alsa_last_failure()
{
	std::lock_guard<std::mutex> lock(sFailureLock);
	return sLastFailure;
}
