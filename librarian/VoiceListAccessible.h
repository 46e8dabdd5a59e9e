#pragma once
// What assistive technology (screen readers) reads of a voice list: a list whose items are its
// lines, each named by its voice and selected when highlighted.

namespace librarian {

// Makes the voice lists known to Qt's accessibility support; the first list calls it.
void InstallVoiceListAccessibility();

}  // namespace librarian
