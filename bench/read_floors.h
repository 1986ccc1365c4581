// What reading a file costs at least, and what the reader's full read costs,
// for the benchmarks that set their figures against them.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

using BenchClock = std::chrono::steady_clock;

double SecondsSince(BenchClock::time_point start);
uint64_t FileSize(const std::string& path);
double Best(const std::vector<double>& times);

// The whole file through one reused 1 MiB buffer: the cheapest way to see
// every byte. *checksum keeps the reads from being left out.
double MeasureChunkedFloor(const std::string& path, uint64_t* checksum);
// The whole file into a fresh buffer of its size: the floor of any reader
// that first takes the file into memory.
double MeasureFreshFloor(const std::string& path, uint64_t* checksum);
// What the importer asks of the reader: counts, then every vertex, then
// every face, with their extra values when extras. Negative when the file
// cannot be read.
double MeasureFullRead(const std::string& path, double* checksum, bool extras = false);

// A field of /proc/self/status in bytes (VmRSS, VmHWM).
uint64_t StatusBytes(const char* field);
// Starts the peak resident size afresh at the current resident size.
void ResetPeakMemory();
