#include <Errors.h>

#include <cerrno>

int32_t status_from_errno(int error)
{
	switch (error) {
		case 0:
			return B_OK;
		case ENOMEM:
			return B_NO_MEMORY;
		case EIO:
			return B_IO_ERROR;
		case EACCES:
			return B_PERMISSION_DENIED;
		case EPERM:
			return B_NOT_ALLOWED;
		case EINVAL:
			return B_BAD_VALUE;
		case ETIMEDOUT:
			return B_TIMED_OUT;
		case EINTR:
			return B_INTERRUPTED;
		case EAGAIN:
			return B_WOULD_BLOCK;
		case ECANCELED:
			return B_CANCELED;
		case EBUSY:
			return B_BUSY;
		case ENOEXEC:
			return B_NOT_AN_EXECUTABLE;
		case EBADF:
			return B_FILE_ERROR;
		case ENOENT:
			return B_ENTRY_NOT_FOUND;
		case EEXIST:
			return B_FILE_EXISTS;
		case ENAMETOOLONG:
			return B_NAME_TOO_LONG;
		case ENOTDIR:
			return B_NOT_A_DIRECTORY;
		case ENOTEMPTY:
			return B_DIRECTORY_NOT_EMPTY;
		case ENOSPC:
			return B_DEVICE_FULL;
		case EROFS:
			return B_READ_ONLY_DEVICE;
		case EISDIR:
			return B_IS_A_DIRECTORY;
		case EMFILE:
			return B_NO_MORE_FDS;
		case EXDEV:
			return B_CROSS_DEVICE_LINK;
		case ELOOP:
			return B_LINK_LIMIT;
		case EPIPE:
			return B_BUSTED_PIPE;
		case EOPNOTSUPP:
			return B_UNSUPPORTED;
	}
	// Linux errno values are small positive numbers, so the POSIX block keeps
	// each one distinct and negative.
	if (error > 0 && error < 0x1000)
		return B_POSIX_ERROR_BASE + error;
	return B_ERROR;
}
