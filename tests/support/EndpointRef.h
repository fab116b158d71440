#ifndef ENDPOINT_REF_H
#define ENDPOINT_REF_H

#include <memory>

#include <MidiEndpoint.h>

// Owns one reference to an endpoint and drops it with Release().
struct EndpointReleaser {
	void operator()(BMidiEndpoint* endpoint) const { endpoint->Release(); }
};

template<typename T>
using EndpointRef = std::unique_ptr<T, EndpointReleaser>;

#endif
