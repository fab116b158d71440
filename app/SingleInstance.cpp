#include "SingleInstance.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <Message.h>

namespace {

const char kMagic[4] = {'V', 'M', 'H', 'O'};
const char kAccepted = 'K';
// A peer that stops in the middle of a handover is given up after this.
const int kPeerTimeoutSeconds = 5;
// A first instance that is still starting takes the handover once its window
// is up; one that does not answer by then hangs.
const int kAnswerTimeoutSeconds = 30;


class TFd {
public:
	explicit TFd(int fd = -1) : fFd(fd) {}
	~TFd() { Reset(); }
	TFd(const TFd&) = delete;
	TFd& operator=(const TFd&) = delete;
	int Get() const { return fFd; }
	int Release() { return std::exchange(fFd, -1); }
	void Reset(int fd = -1)
	{
		if (fFd >= 0)
			close(fFd);
		fFd = fd;
	}

private:
	int fFd;
};


bool
write_all(int fd, const void* data, size_t size)
{
	const char* bytes = static_cast<const char*>(data);
	while (size > 0) {
		const ssize_t written = send(fd, bytes, size, MSG_NOSIGNAL);
		if (written < 0 && errno == EINTR)
			continue;
		if (written <= 0)
			return false;
		bytes += written;
		size -= written;
	}
	return true;
}


bool
read_all(int fd, void* data, size_t size)
{
	char* bytes = static_cast<char*>(data);
	while (size > 0) {
		const ssize_t got = read(fd, bytes, size);
		if (got < 0 && errno == EINTR)
			continue;
		if (got <= 0)
			return false;
		bytes += got;
		size -= got;
	}
	return true;
}


bool
read_uint32(int fd, uint32_t* value)
{
	return read_all(fd, value, sizeof(*value));
}


void
set_timeouts(int fd, int receiveSeconds)
{
	timeval receive = {receiveSeconds, 0};
	timeval send = {kPeerTimeoutSeconds, 0};
	setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &receive, sizeof(receive));
	setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &send, sizeof(send));
}


bool
fill_address(const std::string& path, sockaddr_un* address)
{
	memset(address, 0, sizeof(*address));
	address->sun_family = AF_UNIX;
	if (path.size() >= sizeof(address->sun_path))
		return false;
	memcpy(address->sun_path, path.c_str(), path.size() + 1);
	return true;
}


// The fallback folder under /tmp is shared with every user: it counts only
// when it is a real folder of ours that nobody else may enter.
bool
private_folder(const std::string& folder)
{
	if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
		return false;
	struct stat info;
	return lstat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode)
		&& info.st_uid == getuid() && (info.st_mode & 077) == 0;
}


std::string
file_name_part(std::string text)
{
	for (char& c : text) {
		if (c == '/')
			c = '_';
	}
	return text.empty() ? "none" : text;
}

}


std::string
TSingleInstance::CurrentDisplay()
{
	// Qt prefers Wayland when both are there, and so do the windows.
	for (const char* variable : {"WAYLAND_DISPLAY", "DISPLAY"}) {
		const char* value = getenv(variable);
		if (value != nullptr && value[0] != '\0')
			return value;
	}
	return "";
}


std::string
TSingleInstance::SocketPath(const std::string& display)
{
	const char* runtime = getenv("XDG_RUNTIME_DIR");
	std::string folder;
	if (runtime != nullptr && runtime[0] == '/')
		folder = runtime;
	else
		folder = "/tmp/VantuMIDI-" + std::to_string(getuid());
	return folder + "/VantuMIDI-" + file_name_part(display) + ".socket";
}


TSingleInstance::TSingleInstance(std::string socketPath)
	:
	fSocketPath(std::move(socketPath)),
	fListenFd(-1),
	fStopFd(-1)
{
}


TSingleInstance::~TSingleInstance()
{
	StopServing();
	if (fListenFd >= 0) {
		close(fListenFd);
		unlink(fSocketPath.c_str());
	}
}


TSingleInstance::TClaim
TSingleInstance::Claim(const std::vector<std::string>& paths)
{
	sockaddr_un address;
	if (!private_folder(fSocketPath.substr(0, fSocketPath.rfind('/')))
		|| !fill_address(fSocketPath, &address)) {
		return TClaim::kUnavailable;
	}

	// Two starts at the same moment: the lock lets one of them look and
	// listen before the other looks.
	const std::string lockPath = fSocketPath + ".lock";
	TFd lock(open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
	if (lock.Get() < 0 || flock(lock.Get(), LOCK_EX) != 0)
		return TClaim::kUnavailable;

	TFd peer(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
	if (peer.Get() < 0)
		return TClaim::kUnavailable;
	set_timeouts(peer.Get(), kAnswerTimeoutSeconds);
	if (connect(peer.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0)
		return _HandOver(peer.Get(), paths) ? TClaim::kHandedOver : TClaim::kRefused;
	peer.Reset();

	// Nobody listens: a socket left by a program that ended without
	// cleaning up is replaced.
	unlink(fSocketPath.c_str());
	return _Listen() ? TClaim::kFirst : TClaim::kUnavailable;
}


bool
TSingleInstance::_HandOver(int fd, const std::vector<std::string>& paths)
{
	std::string data(kMagic, sizeof(kMagic));
	const auto append = [&data](uint32_t value) {
		data.append(reinterpret_cast<const char*>(&value), sizeof(value));
	};
	uint32_t count = 0;
	std::string entries;
	for (const std::string& path : paths) {
		if (count == kMaxPaths || path.empty() || path.size() > kMaxPathLength
			|| data.size() + entries.size() + path.size() + 8 > kMaxHandOverBytes) {
			continue;
		}
		const uint32_t length = path.size();
		entries.append(reinterpret_cast<const char*>(&length), sizeof(length));
		entries += path;
		count++;
	}
	append(count);
	data += entries;
	char answer = 0;
	return write_all(fd, data.data(), data.size()) && read_all(fd, &answer, 1)
		&& answer == kAccepted;
}


bool
TSingleInstance::_Listen()
{
	sockaddr_un address;
	fill_address(fSocketPath, &address);
	TFd listener(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
	if (listener.Get() < 0)
		return false;
	// Only this user may connect, whatever the folder allows.
	const mode_t previous = umask(077);
	const bool bound
		= bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
	umask(previous);
	if (!bound || listen(listener.Get(), 16) != 0)
		return false;
	fListenFd = listener.Release();
	return true;
}


void
TSingleInstance::Serve(const BMessenger& target)
{
	if (fListenFd < 0 || fThread.joinable())
		return;
	fStopFd = eventfd(0, EFD_CLOEXEC);
	if (fStopFd < 0)
		return;
	fTarget = target;
	fThread = std::thread(&TSingleInstance::_ServeLoop, this);
}


void
TSingleInstance::StopServing()
{
	if (fThread.joinable()) {
		// One write never fills an eventfd's counter, so it cannot fail.
		const uint64_t one = 1;
		[[maybe_unused]] const ssize_t woken = write(fStopFd, &one, sizeof(one));
		fThread.join();
	}
	if (fStopFd >= 0) {
		close(fStopFd);
		fStopFd = -1;
	}
}


void
TSingleInstance::_ServeLoop()
{
	for (;;) {
		pollfd fds[2] = {{fListenFd, POLLIN, 0}, {fStopFd, POLLIN, 0}};
		if (poll(fds, 2, -1) < 0) {
			if (errno == EINTR)
				continue;
			return;
		}
		if (fds[1].revents != 0)
			return;
		if ((fds[0].revents & POLLIN) == 0)
			continue;
		TFd peer(accept4(fListenFd, nullptr, nullptr, SOCK_CLOEXEC));
		if (peer.Get() < 0)
			continue;
		ucred credentials;
		socklen_t size = sizeof(credentials);
		if (getsockopt(peer.Get(), SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0
			|| credentials.uid != getuid()) {
			continue;
		}
		set_timeouts(peer.Get(), kPeerTimeoutSeconds);
		_ReadHandOver(peer.Get());
	}
}


// A peer is never trusted: every length is checked before it is used, and
// a handover that breaks a rule is dropped whole.
void
TSingleInstance::_ReadHandOver(int fd)
{
	char magic[sizeof(kMagic)];
	uint32_t count;
	if (!read_all(fd, magic, sizeof(magic)) || memcmp(magic, kMagic, sizeof(kMagic)) != 0
		|| !read_uint32(fd, &count) || count > kMaxPaths) {
		return;
	}
	BMessage handOver(kMsgHandOver);
	size_t total = sizeof(magic) + sizeof(count);
	std::string path;
	for (uint32_t i = 0; i < count; i++) {
		uint32_t length;
		if (!read_uint32(fd, &length) || length == 0 || length > kMaxPathLength)
			return;
		total += sizeof(length) + length;
		if (total > kMaxHandOverBytes)
			return;
		path.resize(length);
		if (!read_all(fd, path.data(), length) || path[0] != '/'
			|| path.find('\0') != std::string::npos) {
			return;
		}
		handOver.AddString("path", path.c_str());
	}
	if (fTarget.SendMessage(&handOver) == B_OK)
		write_all(fd, &kAccepted, 1);
}
