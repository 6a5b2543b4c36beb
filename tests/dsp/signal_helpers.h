// Test signals and measurements for the effect tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsp/effect_processor.h"

namespace qv::test {

constexpr double kPi = 3.14159265358979323846;

// Interleaved sine on every channel.
std::vector<float> Sine(double hz, double rate, double amplitude, size_t frames, int channels);
std::vector<int16_t> Sine16(double hz, double rate, double amplitude, size_t frames, int channels);

// Amplitude of the component at hz in one channel of interleaved samples,
// over a whole number of periods starting at frame `from` (least-squares fit
// of a sine and a cosine).
double AmplitudeAt(const float* samples, size_t frames, int channels, int channel, double hz, double rate,
                   size_t from);
double AmplitudeAt(const int16_t* samples, size_t frames, int channels, int channel, double hz, double rate,
                   size_t from);

double ToDb(double ratio);

// The processor after Init at 44100 with the stream settings given.
EffectProcessor* NewProcessor(int channels);
void DeleteProcessor(EffectProcessor* p);

// Runs the fast processor over the buffer in blocks of `block` frames.
void ProcessInBlocks(EffectProcessor* p, std::vector<float>& samples, size_t block);

// |H(e^jw)| of one section at frequency hz.
double SectionMagnitude(const BiquadSection& s, double hz, double rate);

}  // namespace qv::test
