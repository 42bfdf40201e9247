// placeholder replaced below
#include <benchmark/benchmark.h>
