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

// Runs perEntry on the sample entries in turn; one iteration is one entry.
template <typename PerEntry> void overEntries(benchmark::State &state, PerEntry perEntry)
{
    const std::vector<QString> entries = sampleEntries();
    std::size_t next = 0;
    for (auto _ : state) {
        perEntry(entries[next]);
        next = next + 1 == entries.size() ? 0 : next + 1;
    }
    state.SetItemsProcessed(state.iterations());
}

void entryRules(benchmark::State &state)
{
    overEntries(state, [](const QString &entry) { benchmark::DoNotOptimize(quendril::core::checkEntry(entry)); });
}

void reading(benchmark::State &state)
{
    quendril::core::ReadingState readingState;
    overEntries(state,
        [&](const QString &entry) { benchmark::DoNotOptimize(quendril::core::computeReading(entry, readingState)); });
}

// Checked, and read when accepted, as Find Object does.
void entryRulesAndReading(benchmark::State &state)
{
    quendril::core::ReadingState readingState;
    overEntries(state, [&](const QString &entry) {
        if (quendril::core::checkEntry(entry) == quendril::core::EntryVerdict::Accepted)
            benchmark::DoNotOptimize(quendril::core::computeReading(entry, readingState));
    });
}

} // namespace

BENCHMARK(entryRules);
BENCHMARK(reading);
BENCHMARK(entryRulesAndReading);

BENCHMARK_MAIN();
