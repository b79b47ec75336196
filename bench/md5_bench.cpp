// Our MD5 next to OpenSSL's on the same buffer.
#include "core/md5.h"

#include <benchmark/benchmark.h>
#include <openssl/md5.h>
#include <vector>

namespace {

std::vector<uint8_t> Buffer(std::size_t n)
{
    std::vector<uint8_t> b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<uint8_t>(i * 131 + 7);
    return b;
}

void BM_Md5Ours(benchmark::State& state)
{
    const auto buf = Buffer(static_cast<std::size_t>(state.range(0)));
    uint8_t digest[16];
    for (auto _ : state) {
        core::Md5 md5;
        md5.Update(buf.data(), buf.size());
        md5.Final(digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Md5Ours)->Arg(64)->Arg(4096)->Arg(1 << 20);

void BM_Md5OpenSsl(benchmark::State& state)
{
    const auto buf = Buffer(static_cast<std::size_t>(state.range(0)));
    uint8_t digest[16];
    for (auto _ : state) {
        MD5(buf.data(), buf.size(), digest);
        benchmark::DoNotOptimize(digest);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Md5OpenSsl)->Arg(64)->Arg(4096)->Arg(1 << 20);

} // namespace

BENCHMARK_MAIN();
