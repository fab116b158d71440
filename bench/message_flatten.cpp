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


// A message from another program, such as a drop, may hold any number of
// fields; reading it must cost time in proportion to its size.
void
BM_Unflatten100000Fields(benchmark::State& state)
{
	BMessage message;
	for (int32 i = 0; i < 100000; i++)
		message.AddInt32(("field " + std::to_string(i)).c_str(), i);
	std::vector<char> buffer(message.FlattenedSize());
	message.Flatten(buffer.data(), buffer.size());
	for (auto _ : state) {
		BMessage copy;
		if (copy.Unflatten(buffer.data(), buffer.size()) != B_OK)
			state.SkipWithError("the message does not read back");
		benchmark::DoNotOptimize(copy);
	}
	state.counters["bytes"] = (double)buffer.size();
}

BENCHMARK(BM_Unflatten100000Fields)->Unit(benchmark::kMillisecond);

}
