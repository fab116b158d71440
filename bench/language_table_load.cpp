// Loading language tables and looking texts up in INI texts of growing size:
// each should cost time in proportion to the text, so that a hostile or
// generated file of 100,000 entries loads without a visible pause.
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include <DataIO.h>
#include <IniFile.h>
#include <List.h>
#include <VLT.h>

namespace {

// A language file with `count` texts, each with an escape to decode.
std::string
language_text(int64 count)
{
	std::string text = "[ Informations ]\nHeader = VLT File Format 100\n"
		"Language = Generated ( Generated )\n[ Data ]\n";
	for (int64 i = 0; i < count; i++) {
		text += "Generated_Key_" + std::to_string(i) + " = Text number#s"
			+ std::to_string(i) + "#nof a generated table\n";
	}
	return text;
}


// An INI text of `count` sections of one key each.
std::string
sections_text(int64 count)
{
	std::string text;
	for (int64 i = 0; i < count; i++)
		text += "[ Section " + std::to_string(i) + " ]\nkey = " + std::to_string(i) + "\n";
	return text;
}


void
BM_LoadLanguageTable(benchmark::State& state)
{
	const std::string text = language_text(state.range(0));
	for (auto _ : state) {
		BMemoryIO stream(text.data(), text.size());
		TIniFile ini(&stream, TVLT::kMaxLine);
		TVLT table;
		if (table.Load(&ini) != 0
			|| table.TextMap().size() != static_cast<size_t>(state.range(0))) {
			state.SkipWithError("the table did not load");
			break;
		}
		benchmark::DoNotOptimize(table.Text("Generated_Key_0"));
	}
	state.SetItemsProcessed(state.iterations() * state.range(0));
	state.SetBytesProcessed(state.iterations() * static_cast<int64>(text.size()));
}
BENCHMARK(BM_LoadLanguageTable)->RangeMultiplier(10)->Range(1000, 100000)
	->Unit(benchmark::kMillisecond);


// Visits every section by name and reads its key, as a reader of a
// settings text with many sections does.
void
BM_ChangeToEverySection(benchmark::State& state)
{
	const std::string text = sections_text(state.range(0));
	BMemoryIO stream(text.data(), text.size());
	TIniFile ini(&stream, 64);
	BList names;
	ini.EnumSections(&names);
	char value[65];
	for (auto _ : state) {
		for (int32 i = 0; i < names.CountItems(); i++) {
			ini.ChangeSection(static_cast<const char*>(names.ItemAt(i)));
			benchmark::DoNotOptimize(ini.ReadValue("key", value));
		}
	}
	state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ChangeToEverySection)->RangeMultiplier(10)->Range(1000, 100000)
	->Unit(benchmark::kMillisecond);


// Writes `count` new keys into one section, then deletes them again.
void
BM_WriteAndDeleteKeys(benchmark::State& state)
{
	std::vector<std::string> keys;
	for (int64 i = 0; i < state.range(0); i++)
		keys.push_back("key" + std::to_string(i));
	for (auto _ : state) {
		TIniFile ini(64);
		ini.SetTo(static_cast<BPositionIO*>(nullptr), 64);
		for (const std::string& key : keys)
			ini.WriteValue(key.c_str(), "value");
		for (const std::string& key : keys)
			ini.DeleteKey(key.c_str());
	}
	state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WriteAndDeleteKeys)->RangeMultiplier(10)->Range(1000, 100000)
	->Unit(benchmark::kMillisecond);

}
