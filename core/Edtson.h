#pragma once
// The edit buffer: the voice (with its function block) that the editor shows and changes,
// kept as a working image and a compare image, plus the editor's two note-limit values.

#include "core/Nomsyn.h"
#include "core/VoiceFormats.h"

#include <string>

namespace core {

class Edtson : public Nomsyn {
public:
    enum Which { Working = 0, Compare = 1 };

    // Both images start as empty voices.
    Edtson();

    // The image, read and written in place by the editor and the MIDI sender.
    EditImage& Image(int which) { return which == Compare ? compare_ : working_; }
    const EditImage& Image(int which) const { return which == Compare ? compare_ : working_; }

    // The editor's "HI" and "LO" limits; no voice operation changes them.
    Byte HighNoteLimit() const { return highNoteLimit_; }
    Byte LowNoteLimit() const { return lowNoteLimit_; }
    void SetHighNoteLimit(Byte value) { highNoteLimit_ = value; }
    void SetLowNoteLimit(Byte value) { lowNoteLimit_ = value; }

    // Empties both images as at construction.
    void ResetImages();

    // Loads a voice into the working image. With link the compare image receives the same
    // voice; without it the compare image keeps the previous working image. The function
    // record is unpacked only with functions (and when one is given); otherwise the working
    // image's function block stays as it was. Returns the working voice's name.
    std::string TakeVoice(const PackedVoice& voice, const PackedFunction* function,
                          bool withFunctions, bool link);

    // Packs the working voice into a slot: used, unselected, no marker.
    void StoreVoice(VoiceSlot& slot) const;
    // The same into slot 0-31 of a page (other slot numbers are ignored). With functions and
    // a bank's function records given, the working function block is packed into the record
    // of that slot; bytes outside the packed fields keep their values.
    void StoreVoice(VoicePage& page, int slot, bool withFunctions,
                    FunctionBank* bankFunctions = nullptr) const;

    // Copies the compare image over the working image.
    void RecallImage() { working_ = compare_; }

private:
    // The program sets the limits only from the editor's knobs; start with the full keyboard.
    Byte highNoteLimit_ = 127;
    Byte lowNoteLimit_ = 0;
    EditImage working_;
    EditImage compare_;
};

}  // namespace core
