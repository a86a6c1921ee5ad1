// The reading beside one plain pass over the same text: the ratio of the two shows the reading stays
// linear and cheap. Run with --benchmark_counters_tabular=true.
#include "reading/Compatibility.h"

#include <benchmark/benchmark.h>

#include <QString>

namespace {

enum Kind
{
    Distinct,
    Repeated,
};

// Two names whose combined text ("a b") is exactly `length` characters.
std::pair<QString, QString> names(int length, Kind kind)
{
    QString text;
    text.reserve(length);
    for (int i = 0; text.size() < length; ++i) {
        // All-distinct codes skip the space so that no character repeats.
        const char16_t c =
            kind == Distinct ? static_cast<char16_t>(0x100 + i) : static_cast<char16_t>(u'A' + i % 26);
        text.append(QChar(c));
    }
    const int first = (length - 1) / 2;
    return {text.left(first), text.mid(first, length - 1 - first)};
}

void BM_Reading(benchmark::State& state)
{
    const auto [a, b] = names(static_cast<int>(state.range(0)), static_cast<Kind>(state.range(1)));
    for (auto _ : state)
        benchmark::DoNotOptimize(compatibilityLevel(a, b));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The lower bound: touch every character once and keep a running sum.
void BM_PlainPass(benchmark::State& state)
{
    const auto [a, b] = names(static_cast<int>(state.range(0)), static_cast<Kind>(state.range(1)));
    for (auto _ : state) {
        unsigned sum = u' ';
        for (const QChar c : a)
            sum += c.unicode();
        for (const QChar c : b)
            sum += c.unicode();
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void sizes(benchmark::internal::Benchmark* b)
{
    for (int kind : {Distinct, Repeated})
        for (int length : {10, 1000, 32766})
            b->Args({length, kind});
}

} // namespace

BENCHMARK(BM_Reading)->Apply(sizes);
BENCHMARK(BM_PlainPass)->Apply(sizes);
BENCHMARK_MAIN();
