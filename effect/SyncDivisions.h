#pragma once

// Note divisions of the tempo-synchronised LFO period, shortest to longest.
// Lengths are in whole notes; a trailing "T" is the triplet (two thirds) and
// a trailing "D" the dotted form (three halves) of the plain division.

constexpr int kSyncDivisionCount = 31;

// Display texts of the divisions, index 0 ("1/32") to 30 ("32/1").
extern const char* const kSyncDivisionTexts[kSyncDivisionCount];

// Length of division `index` in whole notes, in single precision. Indices
// outside 0 .. 30 are taken as the nearest end of the list.
float SyncDivisionLength(int index);

// The division whose length in samples, at `samplesPerWholeNote`, is nearest
// to `periodSamples`; a period exactly midway between two goes to the longer
// one. Returns -1 for a period below half the shortest division, and 30 when
// none of the first 30 divisions is as long as the period (also whenever
// there is no tempo, so every length is 0).
int NearestSyncDivision(int periodSamples, double samplesPerWholeNote);
