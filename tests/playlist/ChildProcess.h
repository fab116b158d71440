#ifndef CHILD_PROCESS_H
#define CHILD_PROCESS_H

#include <cerrno>
#include <functional>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

// Runs `body` in a child process, which may drop privileges, lower its
// limits or mount file systems of its own without touching the test
// process. The child's answer comes back through a pipe: empty for
// success, "skip: …" when the machine does not allow the setting, else what
// went wrong.
inline std::string
run_in_child(const std::function<std::string()>& body)
{
	int channel[2];
	if (pipe(channel) != 0)
		return "no pipe";
	const pid_t child = fork();
	if (child == 0) {
		close(channel[0]);
		const std::string answer = body();
		ssize_t ignored = write(channel[1], answer.data(), answer.size());
		(void)ignored;
		_exit(0);
	}
	close(channel[1]);
	std::string answer;
	char buffer[512];
	ssize_t count;
	while ((count = read(channel[0], buffer, sizeof(buffer))) > 0
		|| (count < 0 && errno == EINTR)) {
		if (count > 0)
			answer.append(buffer, count);
	}
	close(channel[0]);
	int status = 0;
	if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)
		|| WEXITSTATUS(status) != 0) {
		return "the child process failed: " + answer;
	}
	return answer;
}

inline bool
is_skip(const std::string& answer)
{
	return answer.rfind("skip:", 0) == 0;
}

#endif
