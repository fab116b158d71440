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
alsa_check_at(int result, const char* call, const char* file, int line)
{
	if (result >= 0)
		return B_OK;

	std::string failure = std::string(call) + ": " + snd_strerror(result)
		+ " (" + file_name(file) + ":"
		+ std::to_string(line) + ")";
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
