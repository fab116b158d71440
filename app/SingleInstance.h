#ifndef SINGLE_INSTANCE_H
#define SINGLE_INSTANCE_H

#include <string>
#include <thread>
#include <vector>

#include <Messenger.h>

// One running program per user and display: two would fight over the MIDI
// port names, the exit state and the AI database. The first start listens
// on a Unix socket in the user's runtime folder; a later start hands its
// files over through it and ends.
//
// Claim() and Serve() are called from main(); the handovers are read on a
// thread of this object's own, which only posts messages: the receiving
// handler does the rest on its own looper.
class TSingleInstance {
public:
	enum class TClaim {
		// This process is the first: it listens now.
		kFirst,
		// Another process runs and took the files.
		kHandedOver,
		// Another process runs but did not take them (it hangs or refused).
		kRefused,
		// No socket could be made; the program runs without the check.
		kUnavailable
	};

	// Posted to the target of Serve() for each handover: "path" strings, the
	// absolute paths handed over (none when a start named no files).
	static constexpr uint32 kMsgHandOver = 'hndo';

	// The most a handover may carry; a peer is never trusted beyond it.
	static constexpr uint32 kMaxPaths = 10000;
	static constexpr uint32 kMaxPathLength = 4096;
	static constexpr uint32 kMaxHandOverBytes = 4 * 1024 * 1024;

	// The socket's path for this user and `display` (DISPLAY or
	// WAYLAND_DISPLAY): in $XDG_RUNTIME_DIR, else in a folder of the user's
	// own under /tmp.
	static std::string SocketPath(const std::string& display);
	// The display this process would show its windows on.
	static std::string CurrentDisplay();

	explicit TSingleInstance(std::string socketPath);
	// Stops serving; the first instance removes its socket.
	~TSingleInstance();

	TSingleInstance(const TSingleInstance&) = delete;
	TSingleInstance& operator=(const TSingleInstance&) = delete;

	TClaim Claim(const std::vector<std::string>& paths);
	// Starts reading handovers and posting them to `target`.
	void Serve(const BMessenger& target);
	// Stops reading them; the socket stays until this object goes, so that a
	// start meanwhile does not take this one's settings as its own.
	void StopServing();

private:
	bool _HandOver(int fd, const std::vector<std::string>& paths);
	bool _Listen();
	void _ServeLoop();
	void _ReadHandOver(int fd);

	std::string fSocketPath;
	int fListenFd;
	int fStopFd;
	BMessenger fTarget;
	std::thread fThread;
};

#endif
