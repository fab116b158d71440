#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <Message.h>

namespace {

// A settings-like message: 100 fields of mixed types.
BMessage
hundred_fields()
{
	BMessage message;
	for (int32 i = 0; i < 100; i++) {
		std::string name = "field " + std::to_string(i);
		switch (i % 5) {
			case 0:
				message.AddInt32(name.c_str(), i);
				break;
			case 1:
				message.AddString(name.c_str(), "a value of some length");
				break;
			case 2:
				message.AddRect(name.c_str(), BRect(0, 0, i, i));
				break;
			case 3:
				message.AddBool(name.c_str(), true);
				break;
			case 4:
				message.AddInt64(name.c_str(), (int64)i << 40);
				break;
		}
	}
	return message;
}


void
BM_FlattenUnflatten100Fields(benchmark::State& state)
{
	BMessage message = hundred_fields();
	std::vector<char> buffer;
	for (auto _ : state) {
		buffer.resize(message.FlattenedSize());
		message.Flatten(buffer.data(), buffer.size());
		BMessage copy;
		copy.Unflatten(buffer.data(), buffer.size());
		benchmark::DoNotOptimize(copy);
	}
	state.counters["bytes"] = (double)buffer.size();
}

BENCHMARK(BM_FlattenUnflatten100Fields);

}
