#ifndef _DATA_IO_H
#define _DATA_IO_H

#include <vector>

#include <SupportDefs.h>

// A stream of bytes. Read and Write return the number of bytes moved (a
// short count at the end of the data) or a negative status.
class BDataIO {
public:
	BDataIO();
	virtual ~BDataIO();

	virtual ssize_t Read(void* buffer, size_t size) = 0;
	virtual ssize_t Write(const void* buffer, size_t size) = 0;

private:
	BDataIO(const BDataIO&) = delete;
	BDataIO& operator=(const BDataIO&) = delete;
};

// A stream with a position. Read and Write work at the position through
// ReadAt and WriteAt and move it by the count transferred.
class BPositionIO : public BDataIO {
public:
	BPositionIO();
	~BPositionIO() override;

	ssize_t Read(void* buffer, size_t size) override;
	ssize_t Write(const void* buffer, size_t size) override;

	virtual ssize_t ReadAt(off_t position, void* buffer, size_t size) = 0;
	virtual ssize_t WriteAt(off_t position, const void* buffer, size_t size) = 0;

	// Returns the new position or a negative status.
	virtual off_t Seek(off_t position, uint32 seekMode) = 0;
	virtual off_t Position() const = 0;

	virtual status_t SetSize(off_t size);
	virtual status_t GetSize(off_t* size) const;
};

// A stream over memory the caller owns. The writable form never grows past
// the buffer it was given; the read-only form refuses every write.
class BMemoryIO : public BPositionIO {
public:
	BMemoryIO(void* data, size_t length);
	BMemoryIO(const void* data, size_t length);
	~BMemoryIO() override;

	ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
	ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;

	off_t Seek(off_t position, uint32 seekMode) override;
	off_t Position() const override;

	// Only within the buffer's capacity.
	status_t SetSize(off_t size) override;
	status_t GetSize(off_t* size) const override;

private:
	char* fWritableData;
	const char* fData;
	size_t fLength;
	size_t fBufferSize;
	off_t fPosition;
};

// A stream over memory it allocates and grows as it is written; a write past
// the end fills the gap with zero bytes.
class BMallocIO : public BPositionIO {
public:
	BMallocIO();
	~BMallocIO() override;

	ssize_t ReadAt(off_t position, void* buffer, size_t size) override;
	ssize_t WriteAt(off_t position, const void* buffer, size_t size) override;

	off_t Seek(off_t position, uint32 seekMode) override;
	off_t Position() const override;

	status_t SetSize(off_t size) override;
	status_t GetSize(off_t* size) const override;

	// The storage grows in multiples of the block size (256 by default).
	void SetBlockSize(size_t blockSize);

	// Valid until the next write or SetSize; NULL while the stream is empty.
	const void* Buffer() const;
	size_t BufferLength() const;

private:
	status_t _Resize(size_t length);

	std::vector<char> fData;
	size_t fBlockSize;
	off_t fPosition;
};

#endif
