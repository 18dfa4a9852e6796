// The reading core per entry: the entry rules, then the reading for an
// accepted entry, as the main window runs them on Find Object.
#include "core/entry_rules.h"
#include "core/reading.h"

#include <benchmark/benchmark.h>

#include <QString>

#include <random>
#include <vector>

namespace {

// Mostly typical nine-digit entries, with the refused kinds mixed in.
std::vector<QString> sampleEntries()
{
    std::mt19937 random(20240601u);
    std::uniform_int_distribution<int> digit(0, 9);
    std::vector<QString> entries;
    for (int i = 0; i < 1000; ++i) {
        QString entry;
        for (int d = 0; d < 9; ++d)
            entry.append(QChar(u'0' + digit(random)));
        entries.push_back(entry);
    }
    entries.push_back(QString());
    entries.push_back(QStringLiteral("000012345"));
    entries.push_back(QStringLiteral("12345"));
    entries.push_back(QStringLiteral("777777777"));
    entries.push_back(QStringLiteral("12345678x"));
    return entries;
}

void entryRules(benchmark::State &state)
{
    const std::vector<QString> entries = sampleEntries();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quendril::checkEntry(entries[next]));
        next = next + 1 == entries.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void reading(benchmark::State &state)
{
    const std::vector<QString> entries = sampleEntries();
    quendril::ReadingState readingState;
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quendril::computeReading(entries[next], readingState));
        next = next + 1 == entries.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

// One iteration is one entry: checked, and read when accepted.
void entryRulesAndReading(benchmark::State &state)
{
    const std::vector<QString> entries = sampleEntries();
    quendril::ReadingState readingState;
    std::size_t next = 0;
    for (auto _ : state) {
        if (quendril::checkEntry(entries[next]) == quendril::EntryVerdict::Accepted)
            benchmark::DoNotOptimize(quendril::computeReading(entries[next], readingState));
        next = next + 1 == entries.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK(entryRules);
BENCHMARK(reading);
BENCHMARK(entryRulesAndReading);

BENCHMARK_MAIN();
