#pragma once

namespace zorvane {

class SettingsStore;

// What a sheet to be cut from plain paper gets beyond its tickets: marks
// outside the grid that line the trimmer up on every cut, and the picture
// run past the cut line, so a cut that misses a little shows no white.
// Both are off unless the user turns them on.
struct CutGuides
{
    bool cutMarks = false;
    int bleed = 0; // tenths of a millimetre

    friend bool operator==(const CutGuides&, const CutGuides&) = default;
};

// The bleed the user can choose, in tenths of a millimetre.
inline constexpr int maxBleed = 300;

// Read with their defaults when nothing is stored; a stored bleed outside
// 0..maxBleed (a hand-edited file) is taken as the nearest end.
CutGuides loadCutGuides(const SettingsStore& store);
// Each writes its own key only, and only when the value changes, through
// the store's checked write; the store is read afresh first.
void saveCutMarks(SettingsStore& store, bool on);
void saveBleed(SettingsStore& store, int tenths);

} // namespace zorvane
